#include "skeplero.h"

#include "globals.h"

#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tkdue *kdue = nullptr;

SimWindow *CreateKdue(QWidget *owner)
{
    kdue = new Tkdue(owner);
    return kdue;
}

static const SimRegistration registration("G2", CreateKdue);

// Strength of the pull and length of a step.
static constexpr Extended Pull = 2100.0L;
static constexpr Extended StepLength = 0.3L;

Tkdue::Tkdue(QWidget *owner)
    : SimWindow(owner, 23, 19, QStringLiteral("Vastara/sistema.htm#seconda"))
{
    setObjectName(QStringLiteral("kdue"));
    Color = clBlack;
    QPalette bar = barrasotto->palette();
    bar.setColor(QPalette::Window, toQColor(clSilver));
    barrasotto->setPalette(bar);
    AddPausa(AddToolBar(), 21);
    AddCadenza(AddToolBar(), 120);
    AddGuida(AddToolBar());
    AddSotto(clSilver);
}

Tkdue::~Tkdue()
{
    if (kdue == this)
        kdue = nullptr;
}

void Tkdue::FormCreate()
{
    SimWindow::FormCreate();
    cadenza->setValue(120);
    tempo->setInterval(80);
    const int cw = ClientWidth(), ch = ClientHeight();
    const int midY = Div(3 * ch, 8);
    pictureTop = Div(ch, 8);
    // The Sun stands on the attracting centre, the focus of the orbit: the areas swept
    // from there are the equal ones.
    sun = QPoint(Div(cw, 2) - 80, midY);
    orbitBox = Rect(Div(cw, 2) - 159, midY - 140, Div(cw, 2) + 158, midY + 133);
    picture = NewBitmap(cw, Div(3 * ch, 4), clBlack);
    {
        Canvas c(&picture);
        c.brush.Color = clBlack;
        DrawOrbit(c);
    }
    planet = follower = Start;
    n = 0;
}

void Tkdue::DrawOrbit(Canvas &c) const
{
    // The orbit's outline, a thin white ellipse.
    c.pen.Color = clWhite;
    c.pen.Width = 1;
    c.Ellipse(orbitBox.left(), orbitBox.top(), orbitBox.right() + 1, orbitBox.bottom() + 1);
}

void Tkdue::FreeBitmaps()
{
    picture = QImage();
}

void Tkdue::Step(Body &b)
{
    const Real r2 = Real(Extended(b.x) * b.x + Extended(b.y) * b.y);
    const Real r3 = Real(std::sqrt(Extended(r2) * r2 * r2));
    b.vx = Real(b.vx - Pull * b.x / r3);
    b.vy = Real(b.vy + Pull * b.y / r3);
    b.x = Real(b.x + StepLength * b.vx);
    b.y = Real(b.y - StepLength * b.vy);
}

QPoint Tkdue::At(const Body &b) const
{
    return QPoint(sun.x() + Round(b.x), sun.y() - Round(b.y));
}

void Tkdue::tempoTimer()
{
    if (picture.isNull())
        return;
    if (!pausa->isChecked()) {
        Canvas c(&picture);
        c.pen.Width = 3;
        // The planet's line, then the follower's, 41 steps older, blacked out.
        c.pen.Color = clYellow;
        const QPoint p = At(planet);
        c.Line(sun.x(), sun.y(), p.x(), p.y());
        Step(planet);
        if (n > Lag - 1) {
            c.pen.Color = clBlack;
            const QPoint f = At(follower);
            c.Line(sun.x(), sun.y(), f.x(), f.y());
            Step(follower);
        }
        // The planet runs within a pixel or two of the outline on part of the way, and the
        // ends of the blacked-out lines would eat it away: the outline is drawn again.
        c.brush.Style = BrushStyle::Clear;
        DrawOrbit(c);
        // The Sun, a dot as wide as the lines.
        c.brush.Style = BrushStyle::Solid;
        c.brush.Color = clYellow;
        c.FillRect(sun.x() - 1, sun.y() - 1, sun.x() + 2, sun.y() + 2);
        ++n;
    }
    canvas.Draw(0, pictureTop, picture);
}
