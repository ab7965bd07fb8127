#include "gravi.h"

#include "globals.h"
#include "language/texts.h"

#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tcaduta *caduta = nullptr;

SimWindow *CreateCaduta(QWidget *owner)
{
    caduta = new Tcaduta(owner);
    return caduta;
}

static const SimRegistration registration("E4", CreateCaduta);

Tcaduta::Tcaduta(QWidget *owner)
    : SimWindow(owner, 10, 11, QStringLiteral("Vastara/moti.htm#caduta"))
{
    setObjectName(QStringLiteral("caduta"));
    Color = clBlack;

    QToolBar *bar1 = AddToolBar("ToolBar1");
    AddPausa(bar1, 21);
    QToolBar *bar2 = AddToolBar("ToolBar2");
    AddCadenza(bar2, 90);
    QToolBar *bar3 = AddToolBar("ToolBar3");
    traiet = AddSpeedButton(bar3, QStringLiteral("figure_trail"), 7, true, "traiet");
    via = AddToolButton(bar3, 2, 3, false, "via");
    disegna = AddToolButton(bar3, 29, 4, false, "disegna");
    altez = new QSpinBox(bar3);
    altez->setObjectName(QStringLiteral("altez"));
    altez->setRange(1, 3);
    altez->setValue(1);
    altez->setMinimumWidth(32);
    altez->setCursor(Qt::ArrowCursor);
    SetHint(altez, controlText(28));
    bar3->addWidget(altez);
    AddGuida(bar3);
    SetActiveControl(altez);

    connect(traiet, &QToolButton::clicked, this, [this] { traietClick(); });
    connect(via, &QToolButton::clicked, this, [this] { viaClick(); });
    connect(disegna, &QToolButton::clicked, this, [this] {
        disegnaClick();
        Refresh();
    });
    connect(altez, &QSpinBox::valueChanged, this, [this] { altezChanged(); });

    // The fall runs from `via` on, whichever window is active: activation starts nothing.
    KeepRunningWhenInactive();
    RememberTimer(tempo, false);
}

Tcaduta::~Tcaduta()
{
    fc.setTarget(nullptr);
    tc.setTarget(nullptr);
    if (caduta == this)
        caduta = nullptr;
}

void Tcaduta::FormCreate()
{
    SimWindow::FormCreate();
    tempo->stop();
    tempo->setInterval(90);
    fc.setTarget(nullptr);
    tc.setTarget(nullptr);
    frame = NewBitmap(ClientWidth(), ClientHeight(), clBlack);
    trailLayer = NewBitmap(ClientWidth(), ClientHeight(), clBlack);
    fc.setTarget(&frame);
    tc.setTarget(&trailLayer);
    tc.pen.Color = clYellow;
    tc.brush.Color = clYellow;
    towerHeight = 1;
    wantTrail = false;
    trailOn = false;
    FormPaint();
}

QPoint Tcaduta::At(Extended r, Extended degrees) const
{
    const Extended a = degrees * Pi / 180;
    const int H = ClientHeight();
    return QPoint(Div(ClientWidth(), 2) + Round(r * std::cos(a)), 6 * H - Round(r * std::sin(a)));
}

void Tcaduta::FormPaint()
{
    if (frame.isNull())
        return;
    const int W = ClientWidth(), H = ClientHeight();
    const int k = towerHeight;
    fc.pen.Color = clBlack;
    fc.pen.Width = 1;
    fc.brush.Color = clBlack;
    fc.Rectangle(0, 0, W, H);
    fc.pen.Color = clGray;
    for (int i = 1; i <= 20; ++i) {
        fc.MoveTo(Div(W, 20) * i, 0);
        fc.LineTo(Div(W, 20) * i, Div(17 * H, 20));
    }
    // The ground, an arc of the Earth from 78 to 100 degrees, carried on by whole degrees
    // to the side edges where a wide picture reaches beyond it.
    const Extended ground = 5.12L * H;
    const Extended edge = std::acos(qMin(Extended(W) / 2 / ground, 1.0L)) * 180 / Pi;
    const int first = qMin(78, int(std::floor(edge)));
    const int last = qMax(100, int(std::ceil(180 - edge)));
    if (first == 78) {
        const Extended a78 = 1.3613568165555772L;
        fc.MoveTo(Div(W, 2) + Round(ground * std::cos(a78)), 6 * H - Round(ground * std::sin(a78)));
    } else {
        const QPoint p = At(ground, first);
        fc.MoveTo(p.x(), p.y());
    }
    for (int d = first + 1; d <= last; ++d) {
        const QPoint p = At(ground, d);
        fc.LineTo(p.x(), p.y());
    }
    const int theta0 = 89 + 2 * k;
    const QPoint foot = At(5.122L * H, theta0);
    const QPoint top = At((5.122L + 0.25L * k) * H, theta0);
    fc.pen.Color = clWhite;
    fc.MoveTo(foot.x(), foot.y());
    fc.LineTo(foot.x(), foot.y() + 20);
    tc.Draw(0, 0, frame);
    fc.pen.Width = 2;
    fc.MoveTo(foot.x(), foot.y());
    fc.LineTo(top.x(), top.y());
    canvas.Draw(0, 0, frame);
    tickCount = 0;
    earthAngle = Real(theta0);
}

void Tcaduta::tempoTimer()
{
    if (frame.isNull())
        return;
    if (!pausa->isChecked()) {
        const int H = ClientHeight();
        const int k = towerHeight;
        const Extended theta = earthAngle;
        const Extended R0 = 5.122L * H;
        const Extended R1 = (5.122L + 0.25L * k) * H;
        const Extended h = 0.25L * k * H;
        // The ball keeps the top's x; its height above the centre falls quadratically.
        auto ballY = [&](Extended th) {
            const Extended q = (89 + 2 * k - th) / (3 * k);
            const Extended r = R1 - h * q * q;
            return 6 * H - Round(r * std::sin(th * Pi / 180));
        };
        if (theta > (89 - k) - 0.05L) {
            fc.pen.Color = clYellow;
            fc.pen.Width = 1;
            fc.brush.Color = clYellow;
            const QPoint foot = At(R0, theta);
            const QPoint T = At(R1, theta);
            const int by = ballY(theta);
            // Every (8 div k)-th tick leaves the two balls behind as a trail.
            const int every = qMax(1, Div(8, k));
            if (trailOn && tickCount % every == 0) {
                tc.Ellipse(T.x() + 2, T.y() - 3, T.x() + 8, T.y() + 3);
                tc.Ellipse(T.x() + 2, by - 3, T.x() + 8, by + 3);
            }
            fc.Draw(0, 0, trailLayer);
            fc.Ellipse(T.x() + 2, T.y() - 3, T.x() + 8, T.y() + 3);
            fc.Ellipse(T.x() + 2, by - 3, T.x() + 8, by + 3);
            fc.pen.Width = 2;
            fc.pen.Color = clWhite;
            fc.MoveTo(foot.x(), foot.y());
            fc.LineTo(T.x(), T.y());
            ++tickCount;
            earthAngle = Real(theta - 0.03L * k);
        } else {
            // Landed: back to the last drawn angle, and a plumb line down from the ball.
            earthAngle = Real(theta + 0.03L * k);
            const Extended th = earthAngle;
            fc.pen.Width = 1;
            fc.pen.Color = clWhite;
            const QPoint T = At(R1, th);
            const int by = ballY(th);
            fc.MoveTo(T.x() + 5, by + 20);
            fc.LineTo(T.x() + 5, by);
            traiet->setEnabled(true);
            tempo->stop();
            disegna->setEnabled(true);
        }
    }
    canvas.Draw(0, 0, frame);
}

void Tcaduta::viaClick()
{
    trailOn = wantTrail;
    tempo->start();
    via->setEnabled(false);
}

void Tcaduta::disegnaClick()
{
    via->setEnabled(true);
    // The height divides the trail's spacing and the fall's steps: keep it within 1..3.
    towerHeight = quint8(qBound(1, altez->value(), 3));
    disegna->setEnabled(false);
    tempo->stop();
    FormPaint();
}

void Tcaduta::altezChanged()
{
    disegna->setEnabled(true);
}

void Tcaduta::showEvent(QShowEvent *e)
{
    SimWindow::showEvent(e);
    FormPaint();
    Refresh();
}

void Tcaduta::resizeEvent(QResizeEvent *e)
{
    SimWindow::resizeEvent(e);
    FormPaint();
}

void Tcaduta::FreeBitmaps()
{
    fc.setTarget(nullptr);
    tc.setTarget(nullptr);
    frame = QImage();
    trailLayer = QImage();
}
