#pragma once
// A change between the two views of a window, animated over the ticks that follow: the
// view button asks for it, a one-shot timer of 1 ms starts it, the view buttons stay
// disabled until it ends, and each tick copies a growing part of the new view over the old
// one (widening stripes, blinds, a strip or a sweeping line: the window's own drawing).
//
//   mode: ShowingFirst -> Switching -> ShowingSecond -> Switching -> ShowingFirst ...
//
// The button is disabled as soon as it is clicked, so a quick second click cannot start a
// second change before the first has ended.
#include <QAbstractButton>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <initializer_list>

class QTimer;
class SimWindow;

class ViewSwitch : public QObject
{
    Q_OBJECT
public:
    enum Mode { ShowingFirst = 0, Switching = 1, ShowingSecond = 2 };

    // timerName: the window's name for the one-shot timer (e.g. "Timer1"); buttons: the
    // view buttons disabled while a change runs.
    ViewSwitch(SimWindow *window, const char *timerName, std::initializer_list<QAbstractButton *> buttons);

    // Decides, when the timer fires, whether a change starts and towards which view; a
    // window without one always changes to the view the first button's down state names.
    std::function<bool(bool &toSecond)> decide;

    QTimer *timer = nullptr;
    int mode = ShowingFirst;
    bool toSecond = false; // direction of the change under way (or of the last one)
    int progress = 0;      // the window's measure of how far the change has gone
    bool advancing = true; // whether the last tick of the change advanced it (not paused)
    // The progress at which the window's drawing has covered the picture: the tick that finds
    // progress there ends the change. Given by the window, so that a change can be checked to
    // end within its own length.
    std::function<int()> end;

    bool Running() const { return mode == Switching; }
    // Whether the view is drawn this tick: first when showing it or switching, second likewise.
    bool DrawsFirst() const { return mode != ShowingSecond; }
    bool DrawsSecond() const { return mode != ShowingFirst; }

    // Adds a view button (the first one added names the direction: down means the second view).
    void AddButton(QAbstractButton *b) { buttons.append(b); }

    // The view button was clicked.
    void Request();
    // The one-shot timer's work (also called directly by tests).
    void TimerFired();
    // Starts a change at once.
    void Start(bool second);
    // The change has covered the picture: the new view is shown, progress starts again at
    // `restart`, the buttons are enabled.
    void Finish(int restart);
    // Advances the change unless paused.
    void Advance(bool paused, int step = 1)
    {
        lastStep = step;
        advancing = !paused;
        if (!paused)
            progress += step;
    }
    // Whether the change has run past its end: after any tick, a change still under way is
    // less than one step beyond it (the tick that reaches the end finishes the change).
    bool Overran() const { return Running() && end && progress >= end() + lastStep; }
    // Stops a pending request (window closing).
    void Cancel();

    // Copies `count` strips of `src` onto `dest`: strip i from x = pitch * i, `width` wide,
    // over the whole height (clipped to both pictures).
    static void CopyStrips(QImage &dest, const QImage &src, int count, int pitch, int width);

private:
    void EnableButtons(bool on);
    int lastStep = 1;
    QList<QPointer<QAbstractButton>> buttons;
};
