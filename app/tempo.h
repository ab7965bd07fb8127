#pragma once
// The animation timer of a simulation window. Its interval is the model's step, as the window
// sets it (1 ms, 5 ms, 200 - the rate track bar...). A step shorter than half the screen's
// refresh would wake the program hundreds of times a second for pictures nobody can see, so
// the timer then runs about once per refresh period (the first whole number of steps at least
// that long) and each run takes the steps that fell due since the last, by the clock: the same
// steps a second as the interval names, one wake-up per picture.
//
// Set and read the interval through this class (setInterval, start(ms), interval()): the
// toolkit's own QTimer calls would set the pace rather than the step. start(), stop() and
// isActive() are the toolkit's.
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

class Tempo : public QTimer
{
    Q_OBJECT
public:
    // refreshPeriod: the screen's refresh period in milliseconds, asked for whenever the
    // interval is set.
    Tempo(QObject *parent, std::function<int()> refreshPeriod);

    void setInterval(int msec);
    void start(int msec);
    void start() { QTimer::start(); }
    // The model's step in milliseconds.
    int interval() const { return step; }
    // How often the timer really fires, in milliseconds (the step, or a run of steps).
    int Pace() const { return QTimer::interval(); }
    // The steps due at a firing of the running timer, by the clock since the last one.
    int StepsDue();

    // The steps due after `elapsedNs` nanoseconds, with `carryNs` left over from the last
    // firing (updated). Behind by more than a few firings (the program was busy or stopped),
    // the timer does not race to catch up: it takes one firing's steps.
    static int StepsFor(qint64 elapsedNs, qint64 &carryNs, int step, int pace);

private:
    std::function<int()> refreshPeriod;
    int step = 0;
    qint64 carry = 0;
    QElapsedTimer sinceFired;
};
