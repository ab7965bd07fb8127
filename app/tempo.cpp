#include "tempo.h"

Tempo::Tempo(QObject *parent, std::function<int()> refreshPeriod) : QTimer(parent), refreshPeriod(std::move(refreshPeriod))
{
}

void Tempo::setInterval(int msec)
{
    step = qMax(msec, 0);
    const int refresh = refreshPeriod ? refreshPeriod() : 16;
    // Steps of at least half a refresh keep their own timer; shorter ones are gathered into
    // runs of at least a refresh, so that each run's picture is shown as soon as it is drawn.
    const int pace = step > 0 && 2 * step <= refresh ? (refresh + step - 1) / step * step : step;
    carry = 0;
    sinceFired.invalidate();
    QTimer::setInterval(pace);
}

void Tempo::start(int msec)
{
    setInterval(msec);
    QTimer::start();
}

int Tempo::StepsDue()
{
    const int pace = Pace();
    // A step of its own timer: one step, no clock to keep (a new interval starts it afresh).
    if (step <= 0 || pace == step)
        return 1;
    const qint64 elapsed = sinceFired.isValid() ? sinceFired.nsecsElapsed() : qint64(pace) * 1000000;
    sinceFired.start();
    return StepsFor(elapsed, carry, step, pace);
}

int Tempo::StepsFor(qint64 elapsedNs, qint64 &carryNs, int step, int pace)
{
    const qint64 stepNs = qint64(qMax(step, 1)) * 1000000, paceNs = qint64(qMax(pace, 1)) * 1000000;
    if (elapsedNs < 0 || elapsedNs > 4 * paceNs) {
        elapsedNs = paceNs;
        carryNs = 0;
    }
    const qint64 due = elapsedNs + carryNs;
    carryNs = due % stepNs;
    return int(due / stepNs);
}
