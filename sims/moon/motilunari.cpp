#include "motilunari.h"

#include "globals.h"
#include "language/texts.h"

#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tmotlun *motlun = nullptr;

SimWindow *CreateMotlun(QWidget *owner)
{
    motlun = new Tmotlun(owner);
    return motlun;
}

static const SimRegistration registration("F1", CreateMotlun);

// Tilt of the Moon's orbit in the oblique view: 10 degrees.
static const Extended Tilt = 0.17453292L;

Tmotlun::Tmotlun(QWidget *owner)
    : SimWindow(owner, 14, 15, QStringLiteral("Vastara/luna.htm#moti"))
{
    setObjectName(QStringLiteral("motlun"));
    Color = clBlack;

    QToolBar *bar1 = AddToolBar();
    AddPausa(bar1, 21);
    QToolBar *bar2 = AddToolBar();
    AddCadenza(bar2, 90);
    QToolBar *bar3 = AddToolBar();
    vistauno = AddSpeedButton(bar3, QStringLiteral("viewpoint"), 6, true, "vistauno");
    traiet = AddSpeedButton(bar3, QStringLiteral("orbits"), 7, true, "traiet");
    AddGuida(bar3);
    connect(vistauno, &QToolButton::clicked, this, [this] { vistaunoClick(); });
    connect(traiet, &QToolButton::clicked, this, [this] { traietClick(); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

Tmotlun::~Tmotlun()
{
    for (Canvas &c : lc)
        c.setTarget(nullptr);
    if (motlun == this)
        motlun = nullptr;
}

void Tmotlun::FormCreate()
{
    SimWindow::FormCreate();
    const int W = ClientWidth(), H = ClientHeight();
    tempo->setInterval(90);
    tempo->stop();
    orbitChanged = false;
    showOrbit = false;
    tick = 0;
    for (int i = 0; i < 4; ++i) {
        lc[i].setTarget(nullptr);
        layers[i] = NewBitmap(qMax(H, 1), qMax(H, 1), clBlack);
        lc[i].setTarget(&layers[i]);
        lc[i].brush.Color = clBlack;
        lc[i].pen.Color = clWhite;
        patches[i].Resize(Div(W, 10), Div(W, 10));
    }
}

void Tmotlun::FormActivate()
{
    // Every activation starts the motion again from its beginning; the trails stay.
    tick = 0;
    SimWindow::FormActivate();
}

QPoint Tmotlun::EarthAt(int t, bool oblique) const
{
    const int H = ClientHeight();
    const Extended a = t * Pi / 170;
    const Extended b = oblique ? 5.0L * H / (14.0L * squash) : 5.0L * H / 14.0L;
    return QPoint(Div(H, 2) + Round(5.0L * H / 12.0L * std::cos(a)), Div(H, 2) - Round(b * std::sin(a)));
}

QPoint Tmotlun::MoonAt(QPoint e, Extended theta) const
{
    const Extended r = 3.0L * earthRadius;
    return QPoint(e.x() + Round(r * std::cos(theta)), e.y() + Round(-r * std::sin(theta)));
}

QPoint Tmotlun::ObliqueMoonAt(QPoint e, Extended theta) const
{
    const Extended u = 3.0L * earthRadius * std::cos(theta);
    const Extended v = (-3.0L * earthRadius / squash) * std::sin(theta);
    return QPoint(e.x() + Round(u * std::cos(Tilt) + v * std::sin(Tilt)),
                  e.y() - Round(u * std::sin(Tilt) - v * std::cos(Tilt)));
}

QRect Tmotlun::SystemSquare(QPoint e) const
{
    const int s = systemRadius;
    return Rect(e.x() - s, e.y() - s, e.x() + s, e.y() + s);
}

void Tmotlun::DrawSun(Canvas &c)
{
    const int H = ClientHeight();
    const int x = Div(19 * H, 48), y = Div(H, 2), r = Div(H, 30);
    c.pen.Color = clYellow;
    c.brush.Color = clYellow;
    c.Ellipse(x - r, y - r, x + r, y + r);
    c.brush.Color = clBlack;
    c.pen.Color = clWhite;
}

void Tmotlun::DrawBackground(Canvas &c, bool oblique)
{
    const int H = ClientHeight();
    c.brush.Color = clBlack;
    c.FillRect(0, 0, H, H);
    DrawSun(c);
    const Extended b = oblique ? 5.0L * H / (14.0L * squash) : 5.0L * H / 14.0L;
    c.pen.Color = clYellow;
    for (int i = 0; i <= 600; ++i) {
        const Extended a = i * Pi / 300;
        const int x = Div(H, 2) + Round(5.0L * H / 12.0L * std::cos(a));
        const int y = Div(H, 2) - Round(b * std::sin(a));
        c.Line(x, y, x + 1, y);
    }
    c.pen.Color = clWhite;
}

int Tmotlun::LoopFreeWidth(int H)
{
    // The Moon goes round the Earth at 3m pi/16 pixels a tick (m = width div 120); the Earth
    // is slowest at the ends of its orbit's long axis, (5H/14) pi/170 pixels a tick. Kept
    // below that, the Moon's path round the Sun never runs backwards: 357 m < 4H.
    const int m = qMax(0, Div(4 * H - 1, 357));
    return 120 * m + 119;
}

void Tmotlun::Prepare()
{
    const int W = ClientWidth();
    shownView = 0;
    squash = 4.0f;
    systemRadius = Div(W, 20);
    // The Earth and the Moon's orbit are sized from the scene width: on a wide client the
    // Moon would outrun the Earth and its trail would loop at every new moon.
    earthRadius = Div(SceneWidth(LoopFreeWidth(ClientHeight())), 120);
    for (int i = 0; i < 4; ++i)
        DrawBackground(lc[i], i >= ObliqueFrame);
    // The Earth starts at the right-hand end of its orbit (angle 2 pi).
    earth = EarthAt(0, false);
    obliqueEarth = EarthAt(0, true);
    for (int i = 0; i < 4; ++i) {
        lc[i].flush();
        patches[i].Save(layers[i], SystemSquare(i >= ObliqueFrame ? obliqueEarth : earth));
    }
}

void Tmotlun::Disc(Canvas &c, QPoint at, int half, TColor colour)
{
    c.pen.Color = colour;
    c.brush.Color = colour;
    c.Ellipse(at.x() - half, at.y() - half, at.x() + half, at.y() + half);
    c.brush.Color = clBlack;
    c.pen.Color = clWhite;
}

// Restores the view's frame and trail layer round the old Earth, leaves the Moon's point on
// the trail layer, keeps what lies under the new Earth, then shows or clears the trail.
void Tmotlun::StepView(int frame, QPoint e, QPoint m, bool clearFrame)
{
    const int trail = frame + 1;
    Canvas &f = lc[frame];
    Canvas &tr = lc[trail];
    patches[frame].Restore(f);
    patches[trail].Restore(tr);
    tr.SetPixel(m.x(), m.y(), clLime);
    f.flush();
    tr.flush();
    patches[frame].Save(layers[frame], SystemSquare(e));
    patches[trail].Save(layers[trail], SystemSquare(e));
    if (showOrbit) {
        f.Draw(0, 0, layers[trail]);
    } else if (clearFrame) {
        const int H = ClientHeight();
        f.brush.Color = clBlack;
        f.FillRect(0, 0, H, H);
        DrawSun(f);
        f.flush();
        // What lies under the Earth now is the cleared frame with the Sun: keeping it (not a
        // black square) stops the Earth from cutting a notch in the Sun when it moves on.
        patches[frame].Save(layers[frame], SystemSquare(e));
    }
}

void Tmotlun::tempoTimer()
{
    if (layers[TopFrame].isNull())
        return;
    if (!pausa->isChecked()) {
        const int t = tick;
        const int m = earthRadius;
        const int moonHalf = Div(2 * m, 4);
        const Extended theta = t * Pi / 16;

        // The trail leaves both frames in the same tick, whichever view is shown.
        bool clearFrames = false;
        if (showOrbit) {
            orbitChanged = true;
        } else if (orbitChanged) {
            orbitChanged = false;
            clearFrames = true;
        }

        // From above.
        earth = EarthAt(t, false);
        moon = MoonAt(earth, theta);
        StepView(TopFrame, earth, moon, clearFrames);
        Canvas &top = lc[TopFrame];
        Disc(top, moon, moonHalf, clRed);
        Disc(top, earth, m, clAqua);
        if (showOrbit) {
            top.pen.Color = clYellow;
            top.brush.Style = BrushStyle::Clear;
            top.Ellipse(earth.x() - 3 * m, earth.y() - 3 * m, earth.x() + 3 * m, earth.y() + 3 * m);
            top.brush.Style = BrushStyle::Solid;
            top.pen.Color = clWhite;
        }

        // Oblique. The Moon's tilted orbit is dotted along the Moon's own path: its far half
        // (angles 0 to pi, above the Earth) goes behind the Earth, the near half in front.
        obliqueEarth = EarthAt(t, true);
        obliqueMoon = ObliqueMoonAt(obliqueEarth, theta);
        StepView(ObliqueFrame, obliqueEarth, obliqueMoon, clearFrames);
        Canvas &ob = lc[ObliqueFrame];
        auto orbitDots = [&](int from, int to) {
            for (int i = from; i <= to; ++i) {
                const QPoint p = ObliqueMoonAt(obliqueEarth, i * Pi / 20);
                ob.SetPixel(p.x(), p.y(), clYellow);
            }
        };
        if (showOrbit)
            orbitDots(0, 20);
        if (t % 32 < 16) {
            Disc(ob, obliqueMoon, moonHalf, clRed);
            Disc(ob, obliqueEarth, m, clAqua);
        } else {
            Disc(ob, obliqueEarth, m, clAqua);
            Disc(ob, obliqueMoon, moonHalf, clRed);
        }
        Disc(lc[ObliqueTrail], obliqueEarth, m, clAqua);
        if (showOrbit)
            orbitDots(20, 40);

        tick = t + 1;
    }
    const int shown = shownView == 0 ? TopFrame : ObliqueFrame;
    lc[shown].flush();
    canvas.Draw(PictureLeft(), 0, layers[shown]);
}

void Tmotlun::traietClick()
{
    orbitChanged = true;
    showOrbit = !showOrbit;
}

void Tmotlun::vistaunoClick()
{
    Timer1->start();
}

void Tmotlun::Timer1Timer()
{
    Timer1->stop();
    shownView = (shownView + 1) % 2;
}

void Tmotlun::FreeBitmaps()
{
    Timer1->stop();
    for (int i = 0; i < 4; ++i) {
        lc[i].setTarget(nullptr);
        layers[i] = QImage();
        patches[i].Clear();
    }
}
