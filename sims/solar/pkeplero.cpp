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

Tkuno::Tkuno(QWidget *owner)
    : SimWindow(owner, 17, 18, QStringLiteral("Vastara/sistema.htm#prima"))
{
    setObjectName(QStringLiteral("kuno"));
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

    sotto = new QWidget(this);
    sotto->setObjectName(QStringLiteral("sotto"));
    sotto->setAutoFillBackground(true);
    QPalette pal = sotto->palette();
    pal.setColor(QPalette::Window, toQColor(clSilver));
    sotto->setPalette(pal);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, [this] {
        Timer1Timer();
        Refresh();
    });
}

Tkuno::~Tkuno()
{
    if (kuno == this)
        kuno = nullptr;
}

void Tkuno::PlaceSotto()
{
    sotto->setGeometry(0, height() - BarHeight, width(), BarHeight);
}

void Tkuno::resizeEvent(QResizeEvent *e)
{
    SimWindow::resizeEvent(e);
    if (sotto)
        PlaceSotto();
}

void Tkuno::FormCreate()
{
    SimWindow::FormCreate();
    PlaceSotto();
    sotto->show();
    // The views keep the layout of the size the window has now.
    layoutWidth = ClientWidth();
    u = quint8(Div(ClientWidth(), 70));
    h8 = Div(ClientHeight(), 8);
    cadenza->setValue(120);
    tempo->setInterval(80);
    const int w = Div(ClientWidth(), 2), h = Div(3 * ClientHeight(), 4);
    saveA = NewBitmap(3 * u, 3 * u, clBlack);
    saveB = NewBitmap(3 * u, 3 * u, clBlack);
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
    Timer1->stop();
    SimWindow::FormClose();
}

void Tkuno::FreeBitmaps()
{
    viewA = viewB = composite = saveA = saveB = QImage();
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
    return QPointF(layoutWidth / 5.0, 3.0 * h8);
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

void Tkuno::BuildView(QImage &view, QImage &save, QRect &rect, bool oblique)
{
    planet = Start;
    bool lapEnd = false;
    Canvas c(&view);
    c.brush.Color = clBlack;
    c.FillRect(0, 0, view.width(), view.height());
    // The Sun, a little to the right of the attracting centre, never flattened.
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
    rect = PlanetRect(oblique);
    Canvas sc(&save);
    sc.CopyRect(Rect(0, 0, 3 * u, 3 * u), view, rect);
}

void Tkuno::Prepare()
{
    k = 0;
    viewMode = ShowingA;
    BuildView(viewA, saveA, planetRectA, false);
    BuildView(viewB, saveB, planetRectB, true);
}

void Tkuno::MovePlanet(QImage &view, QImage &save, QRect &rect, bool oblique)
{
    const QRect saved = Rect(0, 0, 3 * u, 3 * u);
    Canvas c(&view);
    // Put back what the planet covered, keep what it is about to cover, then draw it.
    c.CopyRect(rect, save, saved);
    rect = PlanetRect(oblique);
    {
        Canvas sc(&save);
        c.flush();
        sc.CopyRect(saved, view, rect);
    }
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
            MovePlanet(viewA, saveA, planetRectA, false);
        if (viewMode == Switching || viewMode == ShowingB)
            MovePlanet(viewB, saveB, planetRectB, true);
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
            Canvas c(&composite);
            c.Draw(0, 0, toViewB ? viewA : viewB);
            const QImage &target = toViewB ? viewB : viewA;
            const QRect bounds = composite.rect();
            for (int i = 0; i <= 20; ++i) {
                const QRect stripe = Rect(w * i, 0, w * i + k, ClientHeight()).intersected(bounds);
                if (!stripe.isEmpty())
                    c.CopyRect(stripe, target, stripe);
            }
        } else {
            viewMode = toViewB ? ShowingB : ShowingA;
            k = -1;
            prono->setEnabled(true);
        }
        canvas.Draw(o.x(), o.y(), composite);
        if (!paused)
            ++k;
    }
}

void Tkuno::pronoClick()
{
    Timer1->start();
}

void Tkuno::Timer1Timer()
{
    Timer1->stop();
    viewMode = Switching;
    toViewB = prono->isChecked();
    prono->setEnabled(false);
}
