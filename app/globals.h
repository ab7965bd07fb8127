#pragma once
// State shared by the main window and every simulation window.
#include <QString>
#include <functional>
#include <optional>

class TVastaras;
class QDialog;

constexpr int SlotCount = 31;

extern TVastaras *Vastaras;
// One slot per simulation window (1..31), true while that window does not exist.
extern bool WindowClosed[SlotCount + 1];
extern bool HintsOn;
extern int ChildWidth, ChildHeight;
extern int BarHeight, ControlHeight, ControlTop;
extern QString HelpTarget;
extern int SplashTicks;

// Puts every shared value back to its start-of-program state (used when the main window
// is created).
void resetGlobals();

// Runs a dialog modally and returns its result. Tests replace the runner so that a modal
// window can be inspected without an event loop waiting for a user.
extern std::function<int(QDialog *)> ModalRunner;
int ShowModal(QDialog *dialog);

// The system beep. Every beep of the program goes through here and is counted.
extern int BeepCount;
void SystemBeep();

// The folder that holds the program file, with its trailing "/".
QString ProgramFolder();

// The program's pseudo-random generator, shared by every window: a 32-bit linear
// congruential generator whose seed starts at 0 when the program starts. Random(n) gives
// the next value in 0 .. n-1 (0 for n <= 0); Randomize seeds it from the clock.
extern quint32 RandSeed;
int Random(int n);
void Randomize();
// Tests and demonstrations may fix the seed that Randomize sets; nullopt goes back to the
// clock.
void FixRandomizeSeed(std::optional<quint32> seed);

// The size of the screen the program runs on.
int ScreenWidth();
int ScreenHeight();
