#include "foucault.h"

#include "globals.h"
#include "numeric.h"

#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tpendol *pendol = nullptr;

SimWindow *CreatePendol(QWidget *owner)
{
    pendol = new Tpendol(owner);
    return pendol;
}

static const SimRegistration registration("E3", CreatePendol);

Tpendol::Tpendol(QWidget *owner)
    : SimWindow(owner, 9, 10, QStringLiteral("Vastara/moti.htm#pendolo"))
{
    setObjectName(QStringLiteral("pendol"));
    Color = clBlack;

    QToolBar *bar1 = AddToolBar("ToolBar1");
    AddPausa(bar1, 21);
    QToolBar *bar2 = AddToolBar("ToolBar2");
    AddCadenza(bar2, 90);
    QToolBar *bar3 = AddToolBar("ToolBar3");
    fisso = AddSpeedButton(bar3, QStringLiteral("stand_upright"), 21);
    fisso->setObjectName(QStringLiteral("fisso"));
    fisso->setChecked(true);
    mobile = AddSpeedButton(bar3, QStringLiteral("stand_tilted"), 22);
    mobile->setObjectName(QStringLiteral("mobile"));
    mobile->setChecked(false);
    AddGuida(bar3);
    connect(fisso, &QToolButton::clicked, this, [this] { fissoClick(); });
    connect(mobile, &QToolButton::clicked, this, [this] { mobileClick(); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1);
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
}

Tpendol::~Tpendol()
{
    bc.setTarget(nullptr);
    if (pendol == this)
        pendol = nullptr;
}

void Tpendol::FormCreate()
{
    SimWindow::FormCreate();
    tempo->setInterval(90);
    const int w = ClientWidth(), h = ClientHeight();
    bc.setTarget(nullptr);
    buffer = NewBitmap(w, h, clBlack);
    bc.setTarget(&buffer);
    bc.brush.Color = clBlack;
    bc.pen.Color = clWhite;
    fifthHeight = Div(h, 5);
    twentiethWidth = Div(w, 20);
    twentiethHeight = Div(h, 20);
    clearRect = Rect(Div(w, 5) - 3, Div(h, 20), Div(4 * w, 5) + 3, h);
    platformStep = 0;
    swingPhase = 0;
    planeStep = 0;
}

void Tpendol::fissoClick()
{
    Timer1->start();
}

void Tpendol::mobileClick()
{
    Timer2->start();
}

void Tpendol::Timer1Timer()
{
    Timer1->stop();
    if (!fisso->isChecked())
        mobile->setChecked(true);
}

void Tpendol::Timer2Timer()
{
    Timer2->stop();
    if (!mobile->isChecked())
        fisso->setChecked(true);
}

void Tpendol::DrawStep(int W, int H)
{
    Canvas &c = bc;
    const int fh = fifthHeight;

    c.brush.Color = clBlack;
    c.FillRect(clearRect);

    // The reference ring of the fixed frame, with its cross.
    if (fisso->isChecked()) {
        c.brush.Color = clMaroon;
        c.pen.Color = clRed;
        const int x1 = Div(W, 4) - twentiethWidth - 1;
        const int x2 = Div(3 * W, 4) + twentiethWidth + 1;
        const int y1 = Round(5.0L * H / 8 - fh - twentiethHeight - 1);
        const int y2 = Round(7.0L * H / 8 - fh + twentiethHeight + 1);
        c.Ellipse(x1, y1, x2, y2);
        c.Line(Div(W, 2), y1, Div(W, 2), y2);
        const int yc = Round(3.0L * H / 4 - fh);
        c.Line(x1, yc, x2, yc);
    }

    // The platform: an elliptic floor with a turning hexagon and its spokes.
    c.brush.Color = clNavy;
    c.pen.Color = clBlue;
    c.Ellipse(Div(W, 4) - 1, Round(5.0L * H / 8 - fh - 1), Div(3 * W, 4) + 1, Round(7.0L * H / 8 - fh + 1));
    QPoint p[7];
    for (int i = 0; i <= 6; ++i) {
        const Extended theta = platformStep * Pi / 179 + 0.2L + i * Pi / 3;
        p[i] = QPoint(Round(W / 4.0L * (std::cos(theta) + 2)), Round(H / 8.0L * (6 - std::sin(theta)) - fh));
    }
    c.Polygon(QVector<QPoint>(p, p + 6));
    c.MoveTo(p[0].x(), p[0].y());
    const QPoint centre(Div(W, 2), Div(3 * H, 4) - fh);
    for (int i = 0; i <= 6; ++i) {
        c.MoveTo(centre.x(), centre.y());
        c.LineTo(p[i].x(), p[i].y());
    }

    // The portal frame, from the spoke's end up, across and down to the opposite corner.
    c.pen.Color = clWhite;
    c.brush.Color = clWhite;
    const int rise = Div(3 * H, 8);
    c.LineTo(p[0].x(), p[0].y() - rise);
    c.LineTo(p[3].x(), p[3].y() - rise);
    c.LineTo(p[3].x(), p[3].y());

    // The pendulum: wire, bob and its shadow on the platform.
    const Extended a = swingPhase * Pi / 16;
    const Extended s = std::sin(a), co = std::cos(a);
    const Extended phi = planeStep * Pi / 300;
    const int xb = Div(W, 2) + Round(W / 5.0L * s * std::cos(phi));
    const int yb = Round(H / 8.0L * (4.76L + 0.85L * s * std::sin(phi) + std::fabs(0.84L * co)) - fh);
    const int ys = Round(H / 8.0L * (6 + 0.85L * s * std::sin(phi)) - fh);
    c.pen.Width = 1;
    c.MoveTo(Div(W, 2), rise - fh);
    c.LineTo(xb, yb);
    c.Ellipse(xb - 8, yb - 8, xb + 8, yb + 8);
    c.pen.Color = clBlue;
    c.brush.Color = clBlue;
    c.Ellipse(xb - 8, ys - 8, xb + 8, ys + 8);

    swingPhase = quint8((swingPhase + 1) % 32);

    if (fisso->isChecked()) {
        // The observer standing still beside the platform.
        c.pen.Color = clWhite;
        c.brush.Color = clWhite;
        const int x0 = Div(W, 4);
        const Extended yg = 6.0L * H / 8 - fh;
        auto Y = [yg](int dy) { return Round(yg + dy); };
        c.Ellipse(x0 - 15, Y(-30), x0 - 19, Y(-26));
        c.MoveTo(x0 - 17, Y(-30));
        c.LineTo(x0 - 17, Y(-22));
        c.LineTo(x0 - 16, Y(-10));
        c.LineTo(x0 - 17, Y(-22));
        c.LineTo(x0 - 18, Y(-7));
        c.MoveTo(x0 - 16, Y(-20));
        c.LineTo(x0 - 17, Y(-29));
        c.LineTo(x0 - 18, Y(-18));
        ++platformStep;
    }
    if (mobile->isChecked()) {
        // The observer riding on the platform's rim.
        c.pen.Color = clYellow;
        c.brush.Color = clYellow;
        const Extended th = platformStep * Pi / 179 + 5 * Pi / 3;
        const Extended xo = W / 4.0L * (0.95L * std::cos(th) + 2);
        const Extended yo = H / 8.0L * (6 - 0.95L * std::sin(th)) - fh;
        auto X = [xo](int dx) { return Round(xo + dx); };
        auto Y = [yo](int dy) { return Round(yo + dy); };
        c.Ellipse(X(-2), Y(-20), X(2), Y(-16));
        c.MoveTo(X(0), Y(-16));
        c.LineTo(X(0), Y(-6));
        c.MoveTo(X(-1), Y(0));
        c.LineTo(X(-1), Y(-6));
        c.LineTo(X(1), Y(-6));
        c.LineTo(X(1), Y(0));
        c.MoveTo(X(-1), Y(-10));
        c.LineTo(X(-1), Y(-14));
        c.LineTo(X(1), Y(-14));
        c.LineTo(X(1), Y(-10));
        ++planeStep;
    }
}

void Tpendol::tempoTimer()
{
    if (buffer.isNull())
        return;
    if (!pausa->isChecked())
        DrawStep(ClientWidth(), ClientHeight());
    canvas.Draw(0, fifthHeight - 10, buffer);
}

void Tpendol::FormClose()
{
    Timer1->stop();
    Timer2->stop();
    SimWindow::FormClose();
}

void Tpendol::FreeBitmaps()
{
    bc.setTarget(nullptr);
    buffer = QImage();
}
