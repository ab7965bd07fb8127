#include "pkeplero.h"

#include "globals.h"
#include "language/texts.h"

#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tkuno *kuno = nullptr;

SimWindow *CreateKuno(QWidget *owner)
{
    kuno = new Tkuno(owner);
    return kuno;
}

static const SimRegistration registration("G1", CreateKuno);

// Strength of the pull and length of a step.
static constexpr Extended Pull = 1400.0L;
static constexpr Extended StepLength = 0.335L;

static ViewSwitch *NewViewSwitch(SimWindow *w)
{
    return new ViewSwitch(w, "Timer1", {});
}

Tkuno::Tkuno(QWidget *owner)
    : SimWindow(owner, 17, 18, QStringLiteral("Vastara/sistema.htm#prima")), view(NewViewSwitch(this)),
      viewMode(view->mode), toViewB(view->toSecond), k(view->progress)
{
    setObjectName(QStringLiteral("kuno"));
    view->end = [this] { return StripeWidth(); };
    Color = clBlack;
    QPalette bar = barrasotto->palette();
    bar.setColor(QPalette::Window, toQColor(clSilver));
    barrasotto->setPalette(bar);
    QToolBar *bar1 = AddToolBar();
    AddPausa(bar1, 21);
    QToolBar *bar2 = AddToolBar();
    AddCadenza(bar2, 120);
    QToolBar *bar3 = AddToolBar();
    prono = AddSpeedButton(bar3, QStringLiteral("viewpoint"), 6);
    prono->setObjectName(QStringLiteral("prono"));
    connect(prono, &QToolButton::clicked, this, [this] { pronoClick(); });
    AddGuida(bar3);
    AddSotto(clSilver);
    // The change goes towards the view `prono` names, B when it is down.
    view->AddButton(prono);
    Timer1 = view->timer;
}

Tkuno::~Tkuno()
{
    if (kuno == this)
        kuno = nullptr;
}

void Tkuno::FormCreate()
{
    SimWindow::FormCreate();
    // The views keep the layout of the size the window has now.
    layoutWidth = ClientWidth();
    u = quint8(Div(ClientWidth(), 70));
    h8 = Div(ClientHeight(), 8);
    cadenza->setValue(120);
    tempo->setInterval(80);
    const int w = Div(ClientWidth(), 2), h = Div(3 * ClientHeight(), 4);
    underA.Resize(3 * u, 3 * u);
    underB.Resize(3 * u, 3 * u);
    viewA = NewBitmap(w, h, clBlack);
    viewB = NewBitmap(w, h, clBlack);
    composite = NewBitmap(w, h, clBlack);
    planet = Start;
    viewMode = ShowingA;
    toViewB = false;
    k = 0;
}

void Tkuno::FormClose()
{
    view->Cancel();
    SimWindow::FormClose();
}

void Tkuno::FreeBitmaps()
{
    viewA = viewB = composite = QImage();
    underA.Clear();
    underB.Clear();
}

void Tkuno::Step(Planet &p)
{
    const Real r2 = Real(Extended(p.x) * p.x + Extended(p.y) * p.y);
    const Real r3 = Real(std::sqrt(Extended(r2) * r2 * r2));
    p.vx = Real(p.vx - Pull * p.x / r3);
    p.vy = Real(p.vy - Pull * p.y / r3);
    p.x = Real(p.x + StepLength * p.vx);
    p.y = Real(p.y + StepLength * p.vy);
}

QPointF Tkuno::Centre() const
{
    return QPointF(3.0 * layoutWidth / 20.0, 3.0 * h8);
}

QPointF Tkuno::SunCentre() const
{
    // The Sun is what attracts: it stands on the centre, at a focus of every lap.
    return Centre();
}

QPointF Tkuno::PlanetPoint(bool oblique) const
{
    const QPointF c = Centre();
    return QPointF(c.x() + planet.x, c.y() + (oblique ? Extended(planet.y) / 3 : Extended(planet.y)));
}

QPoint Tkuno::ViewOrigin() const
{
    return QPoint(Div(ClientWidth(), 4), h8);
}

QRect Tkuno::PlanetRect(bool oblique) const
{
    const QPointF p = PlanetPoint(oblique);
    const Extended half = 1.5L * u;
    return Rect(Round(p.x() - half), Round(p.y() - half), Round(p.x() + half), Round(p.y() + half));
}

void Tkuno::BuildView(QImage &view, SavedRect &under, bool oblique)
{
    planet = Start;
    bool lapEnd = false;
    Canvas c(&view);
    c.brush.Color = clBlack;
    c.FillRect(0, 0, view.width(), view.height());
    // The Sun on the attracting centre, never flattened.
    const QPointF s = SunCentre();
    c.pen.Color = clYellow;
    c.brush.Color = clYellow;
    c.Ellipse(Round(s.x() - u), Round(s.y() - u), Round(s.x() + u), Round(s.y() + u));
    // One lap, a white dot a step, until the planet crosses the axis again on the left.
    c.pen.Color = clWhite;
    int steps = 0;
    for (;;) {
        const QPointF p = PlanetPoint(oblique);
        c.SetPixel(Round(p.x()), Round(p.y()), c.pen.Color);
        Step(planet);
        ++steps;
        if (planet.y < 0 && planet.x > 0)
            lapEnd = true;
        if (planet.x >= -64 && planet.y > 0 && lapEnd)
            break;
    }
    lapSteps = steps;
    c.flush();
    // The planet starts where the lap ended: keep the background it will cover.
    under.Save(view, PlanetRect(oblique));
}

void Tkuno::Prepare()
{
    k = 0;
    viewMode = ShowingA;
    BuildView(viewA, underA, false);
    BuildView(viewB, underB, true);
}

void Tkuno::MovePlanet(QImage &view, SavedRect &under, bool oblique)
{
    Canvas c(&view);
    // Put back what the planet covered, keep what it is about to cover, then draw it.
    under.Restore(c);
    under.Save(view, PlanetRect(oblique));
    const QPointF p = PlanetPoint(oblique);
    c.brush.Color = clBlack;
    c.pen.Color = clWhite;
    c.Ellipse(Round(p.x() - u), Round(p.y() - u), Round(p.x() + u), Round(p.y() + u));
}

void Tkuno::tempoTimer()
{
    if (viewA.isNull())
        return;
    const bool paused = pausa->isChecked();
    if (!paused) {
        if (viewMode == ShowingA || viewMode == Switching)
            MovePlanet(viewA, underA, false);
        if (viewMode == Switching || viewMode == ShowingB)
            MovePlanet(viewB, underB, true);
        Step(planet);
    }
    const QPoint o = ViewOrigin();
    if (viewMode == ShowingA) {
        canvas.Draw(o.x(), o.y(), viewA);
    } else if (viewMode == ShowingB) {
        canvas.Draw(o.x(), o.y(), viewB);
    } else {
        const int w = StripeWidth();
        if (w > k) {
            // The old view with 21 stripes of the new one, one pixel wider each tick.
            {
                Canvas c(&composite);
                c.Draw(0, 0, toViewB ? viewA : viewB);
            }
            ViewSwitch::CopyStrips(composite, toViewB ? viewB : viewA, 21, w, k);
        } else {
            view->Finish(-1);
        }
        canvas.Draw(o.x(), o.y(), composite);
        view->Advance(paused);
    }
}

void Tkuno::pronoClick()
{
    view->Request();
}

void Tkuno::Timer1Timer()
{
    view->TimerFired();
}
