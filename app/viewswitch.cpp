#include "viewswitch.h"

#include "canvas.h"
#include "simwindow.h"

#include <QAbstractButton>
#include <QTimer>

ViewSwitch::ViewSwitch(SimWindow *window, const char *timerName, std::initializer_list<QAbstractButton *> views)
    : QObject(window)
{
    for (QAbstractButton *b : views)
        buttons.append(b);
    timer = new QTimer(window);
    timer->setObjectName(QString::fromLatin1(timerName));
    timer->setSingleShot(true);
    timer->setInterval(1);
    connect(timer, &QTimer::timeout, this, [this, window] {
        TimerFired();
        window->Refresh();
    });
}

void ViewSwitch::Request()
{
    if (Running())
        return;
    EnableButtons(false);
    timer->start();
}

void ViewSwitch::TimerFired()
{
    timer->stop();
    if (Running())
        return;
    bool second = !buttons.isEmpty() && buttons.first() && buttons.first()->isChecked();
    if (decide && !decide(second)) {
        EnableButtons(true);
        return;
    }
    Start(second);
}

void ViewSwitch::Start(bool second)
{
    toSecond = second;
    mode = Switching;
    advancing = true;
    EnableButtons(false);
}

void ViewSwitch::Finish(int restart)
{
    mode = toSecond ? ShowingSecond : ShowingFirst;
    progress = restart;
    EnableButtons(true);
}

void ViewSwitch::Cancel()
{
    timer->stop();
}

void ViewSwitch::EnableButtons(bool on)
{
    for (const QPointer<QAbstractButton> &b : std::as_const(buttons))
        if (b)
            b->setEnabled(on);
}

void ViewSwitch::CopyStrips(QImage &dest, const QImage &src, int count, int pitch, int width)
{
    if (width <= 0)
        return;
    Canvas c(&dest);
    const QRect bounds = dest.rect().intersected(src.rect());
    for (int i = 0; i < count; ++i) {
        const QRect strip = Rect(pitch * i, 0, pitch * i + width, bounds.height()).intersected(bounds);
        if (!strip.isEmpty())
            c.CopyRect(strip, src, strip);
    }
}
