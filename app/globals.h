#pragma once
// State shared by the main window and every simulation window.
#include <QString>
#include <functional>

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
