// Kepler's first law: the integrated orbit, the two traced views, the planet moving over
// them, the striped view change, pause, rate and life cycle.
#include "dialogs/brucatore.h"
#include "globals.h"
#include "language/texts.h"
#include "sims/solar/pkeplero.h"
#include "vastara.h"

#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Yellow = qRgb(255, 255, 0);

// The planet's motion as the window must integrate it: single-precision state, extended
// arithmetic in between, velocity first and then the position with the new velocity.
struct Body {
    float x = -64, y = 0, vx = 0, vy = 10;
    void step()
    {
        const float r2 = float((long double)x * x + (long double)y * y);
        const float r3 = float(sqrtl((long double)r2 * r2 * r2));
        vx = float(vx - 1400.0L * x / r3);
        vy = float(vy - 1400.0L * y / r3);
        x = float(x + 0.335L * vx);
        y = float(y + 0.335L * vy);
    }
};

int rnd(double v)
{
    return int(std::nearbyint(v));
}

// Runs the lap the views are traced with; returns the positions before each step.
QVector<Body> tracedLap()
{
    QVector<Body> lap;
    Body b;
    bool crossed = false;
    for (;;) {
        lap.append(b);
        b.step();
        if (b.y < 0 && b.x > 0)
            crossed = true;
        if (b.x >= -64 && b.y > 0 && crossed)
            break;
    }
    lap.append(b); // where the planet starts
    return lap;
}

// Geometry of a window of client width cw and height ch, as laid out at creation.
struct Layout {
    int cw, ch, u, h8;
    double cx() const { return 3.0 * cw / 20.0; }
    double cy() const { return 3.0 * h8; }
    QPoint at(const Body &b, bool oblique) const
    {
        return QPoint(rnd(cx() + b.x), rnd(cy() + (oblique ? (long double)b.y / 3 : b.y)));
    }
    QRect planetRect(const Body &b, bool oblique) const
    {
        const double px = cx() + b.x;
        const double py = cy() + (oblique ? double((long double)b.y / 3) : double(b.y));
        const int l = rnd(px - 1.5 * u), t = rnd(py - 1.5 * u);
        return QRect(l, t, rnd(px + 1.5 * u) - l, rnd(py + 1.5 * u) - t);
    }
};

Layout layoutOf(const Tkuno *w)
{
    return Layout{w->ClientWidth(), w->ClientHeight(), w->ClientWidth() / 70, w->ClientHeight() / 8};
}

// The picture of a view change: columns of `target` in the 21 stripes of width k, `old`
// elsewhere.
QImage striped(const QImage &old, const QImage &target, int w, int k)
{
    QImage out = old.copy();
    for (int x = 0; x < out.width(); ++x) {
        const bool inStripe = x / w <= 20 && x % w < k;
        if (!inStripe)
            continue;
        for (int y = 0; y < out.height(); ++y)
            out.setPixel(x, y, target.pixel(x, y));
    }
    return out;
}

// Equal outside `hole`.
bool sameOutside(const QImage &a, const QImage &b, const QRect &hole)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (!hole.contains(x, y) && a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}
} // namespace

class TestPkeplero : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void orbitOfOneLap();
    void viewsTraceTheLap();
    void planetMovesOverTheOrbit();
    void pauseHoldsThePlanet();
    void viewChangeWithStripes();
    void viewChangeWhilePaused();
    void lifeCycle();
    void textsInEnglish();
    void helpPage();
    void orbitSizeDoesNotFollowTheWindow();
    void sunAtTheFocus();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tkuno *open();
    QImage shown(Tkuno *w, int top = -1);
};

void TestPkeplero::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestPkeplero::cleanup()
{
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Tkuno *TestPkeplero::open()
{
    main->OpenSimulation(QStringLiteral("G1"));
    return kuno;
}

// The part of the window where the views are shown: a quarter of the width from the left,
// an eighth of the height (at creation) from the top.
QImage TestPkeplero::shown(Tkuno *w, int top)
{
    w->canvas.flush();
    if (top < 0)
        top = w->ClientHeight() / 8;
    return w->screen.copy(QRect(QPoint(w->ClientWidth() / 4, top), w->viewA.size()));
}

void TestPkeplero::orbitOfOneLap()
{
    // One lap: 465 steps, from 64 px left of the centre round to the axis on the left again,
    // ending at about (-63.93, 2.49) on the way down.
    Tkuno::Planet p = Tkuno::Start;
    QCOMPARE(p.x, -64.0f);
    QCOMPARE(p.y, 0.0f);
    QCOMPARE(p.vx, 0.0f);
    QCOMPARE(p.vy, 10.0f);
    Body mine;
    bool crossed = false;
    int steps = 0;
    float minX = 0, maxX = 0, maxY = 0, minY = 0;
    for (;;) {
        Tkuno::Step(p);
        mine.step();
        ++steps;
        QCOMPARE(p.x, mine.x);
        QCOMPARE(p.y, mine.y);
        QCOMPARE(p.vx, mine.vx);
        QCOMPARE(p.vy, mine.vy);
        minX = qMin(minX, p.x);
        maxX = qMax(maxX, p.x);
        minY = qMin(minY, p.y);
        maxY = qMax(maxY, p.y);
        if (p.y < 0 && p.x > 0)
            crossed = true;
        if (p.x >= -64 && p.y > 0 && crossed)
            break;
        QVERIFY(steps < 1000);
    }
    QCOMPARE(steps, 465);
    QVERIFY(qAbs(p.x + 63.93f) < 0.01f);
    QVERIFY(qAbs(p.y - 2.49f) < 0.01f);
    QVERIFY(p.vy > 9.9f);
    // Nearest point 64 px to the left, farthest about 209.5 px to the right, about 116 px
    // half-height (the steps are long, so the lap is a little higher above the axis than
    // below it).
    QVERIFY(qAbs(minX + 64) < 0.05f);
    QVERIFY(qAbs(maxX - 209.5f) < 0.1f);
    QVERIFY(qAbs((maxY - minY) / 2 - 116) < 1);
    QVERIFY(maxY > 110 && minY < -117);

    // A plain double-precision integration of the same law stays within a pixel of it.
    double x = -64, y = 0, vx = 0, vy = 10;
    Tkuno::Planet q = Tkuno::Start;
    for (int i = 0; i < 2 * 465; ++i) {
        const double r3 = std::pow(x * x + y * y, 1.5);
        vx -= 1400 * x / r3;
        vy -= 1400 * y / r3;
        x += 0.335 * vx;
        y += 0.335 * vy;
        Tkuno::Step(q);
        QVERIFY2(std::hypot(q.x - x, q.y - y) < 1.0, qPrintable(QString::number(i)));
    }
}

void TestPkeplero::viewsTraceTheLap()
{
    Tkuno *w = open();
    QVERIFY(w);
    QVERIFY(w->FirstActivationDone());
    const Layout L = layoutOf(w);
    QCOMPARE(int(w->u), L.u);
    QCOMPARE(w->h8, L.h8);
    const QSize viewSize(L.cw / 2, 3 * L.ch / 4);
    QCOMPARE(w->viewA.size(), viewSize);
    QCOMPARE(w->viewB.size(), viewSize);
    QCOMPARE(w->composite.size(), viewSize);
    QCOMPARE(w->underA.Patch().size(), QSize(3 * L.u, 3 * L.u));
    QCOMPARE(w->underB.Patch().size(), QSize(3 * L.u, 3 * L.u));
    QCOMPARE(w->lapSteps, 465);
    QCOMPARE(w->viewMode, int(Tkuno::ShowingA));

    const QVector<Body> lap = tracedLap();
    QCOMPARE(lap.size(), 466);
    const QPoint sun(rnd(L.cx()), rnd(L.cy()));
    for (bool oblique : {false, true}) {
        const QImage &view = oblique ? w->viewB : w->viewA;
        // A white dot for every step of the lap, and nothing else but the Sun.
        QSet<QPair<int, int>> dots;
        for (int i = 0; i + 1 < lap.size(); ++i) {
            const QPoint p = L.at(lap[i], oblique);
            dots.insert({p.x(), p.y()});
            QCOMPARE(view.pixel(p), White);
        }
        QVERIFY(dots.size() > 300);
        int white = 0, yellow = 0;
        QRect sunInk;
        for (int y = 0; y < view.height(); ++y)
            for (int x = 0; x < view.width(); ++x) {
                const QRgb c = view.pixel(x, y);
                if (c == White) {
                    ++white;
                    QVERIFY(dots.contains({x, y}));
                } else if (c == Yellow) {
                    ++yellow;
                    sunInk = sunInk.united(QRect(x, y, 1, 1));
                } else {
                    QCOMPARE(c, Black);
                }
            }
        QCOMPARE(white, int(dots.size()));
        // The Sun: a round yellow disc of radius u on the attracting centre, unflattened in
        // both views.
        QVERIFY(qAbs(sunInk.left() - (sun.x() - L.u)) <= 1);
        QVERIFY(qAbs(sunInk.right() - (sun.x() + L.u - 1)) <= 1);
        QVERIFY(qAbs(sunInk.top() - (sun.y() - L.u)) <= 1);
        QVERIFY(qAbs(sunInk.bottom() - (sun.y() + L.u - 1)) <= 1);
        QVERIFY(yellow > 2.8 * L.u * L.u && yellow < 3.5 * L.u * L.u);
        // The traced orbit spans 64 px left to about 209 px right of the centre, and is
        // three times lower in the oblique view.
        int top = view.height(), bottom = 0;
        for (const auto &d : dots) {
            top = qMin(top, d.second);
            bottom = qMax(bottom, d.second);
        }
        const int height = bottom - top;
        if (oblique)
            QVERIFY(height >= 76 && height <= 79);
        else
            QVERIFY(height >= 230 && height <= 234);
        // The background the planet will cover, kept at the lap's end.
        const QRect r = L.planetRect(lap.last(), oblique);
        QCOMPARE(oblique ? w->underB.Rect() : w->underA.Rect(), r);
        QCOMPARE((oblique ? w->underB.Patch() : w->underA.Patch()), view.copy(r));
    }
    // The first tick shows view A.
    w->tempoTimer();
    QCOMPARE(shown(w), w->viewA);
}

void TestPkeplero::planetMovesOverTheOrbit()
{
    Tkuno *w = open();
    const Layout L = layoutOf(w);
    const QImage cleanA = w->viewA.copy(), cleanB = w->viewB.copy();
    Body b = tracedLap().last();
    for (int t = 0; t < 60; ++t) {
        w->tempoTimer();
        // The planet is drawn where it stood before this tick's step, and only there.
        const QRect r = L.planetRect(b, false);
        QCOMPARE(w->underA.Rect(), r);
        QVERIFY(sameOutside(w->viewA, cleanA, r));
        const QPoint p = L.at(b, false);
        QCOMPARE(w->viewA.pixel(p), Black);               // black inside
        QCOMPARE(w->viewA.pixel(rnd(L.cx() + b.x - L.u), p.y()), White); // white rim
        QCOMPARE(w->viewA.pixel(rnd(L.cx() + b.x + L.u) - 1, p.y()), White);
        QCOMPARE(w->viewA.pixel(p.x(), rnd(L.cy() + b.y - L.u)), White);
        // The saved background is what the view had there.
        QCOMPARE(w->underA.Patch(), cleanA.copy(r));
        // View B is left alone while view A is shown.
        QCOMPARE(w->viewB, cleanB);
        QCOMPARE(shown(w), w->viewA);
        b.step();
        QCOMPARE(w->planet.x, b.x);
        QCOMPARE(w->planet.y, b.y);
    }
}

void TestPkeplero::pauseHoldsThePlanet()
{
    Tkuno *w = open();
    for (int t = 0; t < 5; ++t)
        w->tempoTimer();
    w->pausa->setChecked(true);
    const Tkuno::Planet held = w->planet;
    const QImage viewA = w->viewA.copy();
    for (int t = 0; t < 10; ++t) {
        // The picture is still put on the window at every tick.
        w->canvas.brush.Color = clRed;
        w->canvas.FillRect(0, 0, w->ClientWidth(), w->ClientHeight());
        w->tempoTimer();
        QCOMPARE(shown(w), viewA);
        QCOMPARE(w->planet.x, held.x);
        QCOMPARE(w->planet.y, held.y);
        QCOMPARE(w->viewA, viewA);
    }
    w->pausa->setChecked(false);
    w->tempoTimer();
    QVERIFY(w->planet.x != held.x || w->planet.y != held.y);
}

void TestPkeplero::viewChangeWithStripes()
{
    Tkuno *w = open();
    const Layout L = layoutOf(w);
    const int stripe = L.cw / 40;
    QVERIFY(stripe >= 2);
    for (int t = 0; t < 3; ++t)
        w->tempoTimer();
    QImage cleanB = w->viewB.copy();

    // A click starts the change 1 ms later; until it is over the button does nothing.
    QVERIFY(w->prono->isEnabled());
    w->prono->click();
    QVERIFY(w->prono->isChecked());
    QVERIFY(w->Timer1->isActive());
    QCOMPARE(w->Timer1->interval(), 1);
    QCOMPARE(w->viewMode, int(Tkuno::ShowingA));
    w->Timer1Timer();
    QVERIFY(!w->Timer1->isActive());
    QCOMPARE(w->viewMode, int(Tkuno::Switching));
    QVERIFY(!w->prono->isEnabled());
    w->prono->click();
    QVERIFY(w->prono->isChecked());
    QVERIFY(!w->Timer1->isActive());

    // Stripes one pixel wider each tick, the planet moving in both views meanwhile.
    Body b;
    {
        b = tracedLap().last();
        for (int t = 0; t < 3; ++t)
            b.step();
    }
    for (int k = 0; k < stripe; ++k) {
        w->tempoTimer();
        QCOMPARE(w->viewMode, int(Tkuno::Switching));
        QVERIFY(!w->prono->isEnabled());
        QCOMPARE(w->composite, striped(w->viewA, w->viewB, stripe, k));
        QCOMPARE(shown(w), w->composite);
        // Both views carry the planet where it stood before the step.
        QCOMPARE(w->underA.Rect(), L.planetRect(b, false));
        QCOMPARE(w->underB.Rect(), L.planetRect(b, true));
        QVERIFY(sameOutside(w->viewB, cleanB, w->underB.Rect()));
        QCOMPARE(w->viewB.pixel(L.at(b, true)), Black);
        b.step();
    }
    // The last stripes are one column short of closing: the next tick ends the change.
    const QImage last = w->composite.copy();
    w->tempoTimer();
    QCOMPARE(w->viewMode, int(Tkuno::ShowingB));
    QVERIFY(w->prono->isEnabled());
    QCOMPARE(w->composite, last);
    b.step();
    w->tempoTimer();
    QCOMPARE(shown(w), w->viewB);
    b.step();
    // View A is left alone while view B is shown.
    const QImage heldA = w->viewA.copy();
    for (int t = 0; t < 3; ++t) {
        w->tempoTimer();
        QCOMPARE(w->viewA, heldA);
        QCOMPARE(shown(w), w->viewB);
        b.step();
    }
    QCOMPARE(w->planet.x, b.x);

    // Back to view A: stripes of view A over view B.
    w->prono->click();
    QVERIFY(!w->prono->isChecked());
    w->Timer1Timer();
    QCOMPARE(w->viewMode, int(Tkuno::Switching));
    for (int k = 0; k < stripe; ++k) {
        w->tempoTimer();
        QCOMPARE(w->composite, striped(w->viewB, w->viewA, stripe, k));
        QCOMPARE(shown(w), w->composite);
    }
    w->tempoTimer();
    QCOMPARE(w->viewMode, int(Tkuno::ShowingA));
    QVERIFY(w->prono->isEnabled());
    w->tempoTimer();
    QCOMPARE(shown(w), w->viewA);
    QCOMPARE(w->k, 0);
}

void TestPkeplero::viewChangeWhilePaused()
{
    Tkuno *w = open();
    const int stripe = w->ClientWidth() / 40;
    w->tempoTimer();
    w->pausa->setChecked(true);
    w->prono->click();
    w->Timer1Timer();
    const Tkuno::Planet held = w->planet;
    // Paused: the stripes do not grow and the planet does not move, but the picture is shown.
    for (int t = 0; t < 5; ++t) {
        w->tempoTimer();
        QCOMPARE(w->k, 0);
        QCOMPARE(w->composite, w->viewA);
        QCOMPARE(shown(w), w->viewA);
        QCOMPARE(w->planet.x, held.x);
    }
    w->pausa->setChecked(false);
    w->tempoTimer();
    w->tempoTimer();
    QCOMPARE(w->k, 2);
    QCOMPARE(w->composite, striped(w->viewA, w->viewB, stripe, 1));
    // Paused again in the middle: the same stripes every tick.
    w->pausa->setChecked(true);
    for (int t = 0; t < 3; ++t) {
        w->tempoTimer();
        QCOMPARE(w->k, 2);
        QCOMPARE(w->composite, striped(w->viewA, w->viewB, stripe, 2));
    }
    w->pausa->setChecked(false);
    for (int t = 0; t < stripe; ++t)
        w->tempoTimer();
    QCOMPARE(w->viewMode, int(Tkuno::ShowingB));
    QVERIFY(w->prono->isEnabled());
}

void TestPkeplero::lifeCycle()
{
    // Created by hand: the control bar stays hidden until the first activation has drawn
    // the views.
    ChildWidth = 900;
    ChildHeight = 640;
    auto *w = qobject_cast<Tkuno *>(CreateKuno(main));
    QCOMPARE(kuno, w);
    w->FormCreate();
    QVERIFY(!WindowClosed[17]);
    QCOMPARE(w->ClientWidth(), 900);
    QCOMPARE(w->windowTitle(), QStringLiteral("Prima legge di Keplero"));
    QCOMPARE(SimWindow::HintOf(w->pausa), QStringLiteral("pausa"));
    QCOMPARE(SimWindow::HintOf(w->cadenza), QString::fromUtf8("velocità di esecuzione"));
    QCOMPARE(SimWindow::HintOf(w->prono), QStringLiteral("punto di vista"));
    QCOMPARE(SimWindow::HintOf(w->guida), QStringLiteral("guida"));
    QVERIFY(!w->barrasotto->isVisibleTo(w));
    QCOMPARE(w->barrasotto->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(w->tempo->interval(), 80);
    QCOMPARE(w->cadenza->minimum(), 5);
    QCOMPARE(w->cadenza->maximum(), 195);
    QCOMPARE(w->cadenza->value(), 120);
    QVERIFY(w->prono->isCheckable());
    QVERIFY(!w->prono->isChecked());
    QVERIFY(w->pausa->isCheckable());
    // The bottom panel: silver, BarHeight high, along the bottom edge.
    QCOMPARE(w->sotto->geometry(), QRect(0, 640 - BarHeight, 900, BarHeight));
    QCOMPARE(w->sotto->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(w->screen.pixel(450, 320), Black);
    QVERIFY(w->viewA.size() == QSize(450, 480));
    QCOMPARE(w->viewA.pixel(10, 10), Black);
    QCOMPARE(w->lapSteps, 0);
    delete w;
    QVERIFY(kuno == nullptr);
    QVERIFY(WindowClosed[17]);

    // Opened from the menu: activated at once, views drawn, timer running.
    Tkuno *k = open();
    QVERIFY(k);
    QVERIFY(!WindowClosed[17]);
    QVERIFY(!main->BackdropVisible());
    QVERIFY(k->barrasotto->isVisibleTo(k));
    QVERIFY(k->tempo->isActive());
    QCOMPARE(k->lapSteps, 465);
    QVERIFY(k->cursor().shape() == Qt::ArrowCursor);
    QVERIFY(k->prono->cursor().shape() == Qt::ArrowCursor);
    // A second click on the menu item opens nothing more.
    main->OpenSimulation(QStringLiteral("G1"));
    QCOMPARE(kuno, k);
    QCOMPARE(main->Simulations().size(), 1);
    // The rate: 200 - position milliseconds.
    k->cadenza->setValue(150);
    QCOMPARE(k->tempo->interval(), 50);
    k->cadenza->setValue(5);
    QCOMPARE(k->tempo->interval(), 195);
    k->cadenza->setValue(195);
    QCOMPARE(k->tempo->interval(), 5);
    // Deactivated: stopped; activated again: running, the views not drawn again.
    k->viewA.setPixel(0, 0, qRgb(1, 2, 3));
    k->FormDeactivate();
    QVERIFY(!k->tempo->isActive());
    k->FormActivate();
    QVERIFY(k->tempo->isActive());
    QCOMPARE(k->viewA.pixel(0, 0), qRgb(1, 2, 3));
    // Tooltips follow HintsOn at activation.
    QVERIFY(k->prono->toolTip().isEmpty());
    HintsOn = true;
    k->FormDeactivate();
    k->FormActivate();
    QCOMPARE(k->prono->toolTip(), QStringLiteral("punto di vista"));
    // Closing in the middle of a view change stops it and frees everything.
    k->prono->click();
    QVERIFY(k->Timer1->isActive());
    k->Frame()->close();
    QVERIFY(!k->Timer1->isActive());
    QVERIFY(!k->tempo->isActive());
    QVERIFY(k->viewA.isNull() && k->viewB.isNull() && k->composite.isNull());
    QVERIFY(k->underA.IsNull() && k->underB.IsNull());
    QVERIFY(WindowClosed[17]);
    QVERIFY(main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(kuno == nullptr);
    // Opened again: a fresh window, starting from view A.
    Tkuno *again = open();
    QVERIFY(again);
    QCOMPARE(again->viewMode, int(Tkuno::ShowingA));
    QVERIFY(!again->prono->isChecked());
}

void TestPkeplero::textsInEnglish()
{
    main->SwitchLanguage(1);
    Tkuno *w = open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Kepler's first law"));
    QCOMPARE(SimWindow::HintOf(w->prono), QStringLiteral("point of view"));
    QCOMPARE(SimWindow::HintOf(w->pausa), QStringLiteral("pause"));
    QCOMPARE(SimWindow::HintOf(w->guida), QStringLiteral("help"));
    // Switching the language closes the window.
    main->SwitchLanguage(2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(kuno == nullptr);
    QVERIFY(WindowClosed[17]);
    w = open();
    QCOMPARE(w->windowTitle(), QString::fromUtf8("Première loi de Kepler"));
}

void TestPkeplero::helpPage()
{
    Tkuno *w = open();
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/sistema.htm#prima"));
    QVERIFY(help.source.toLocalFile().endsWith(QStringLiteral("/AiutoVastara/sistema.htm")));
    QCOMPARE(help.source.fragment(), QStringLiteral("prima"));
}

void TestPkeplero::orbitSizeDoesNotFollowTheWindow()
{
    // A smaller window: smaller Sun, planet and stripes, the centre moved, the same orbit.
    Tkuno *big = open();
    const Layout B = layoutOf(big);
    QVector<QPoint> bigDots;
    for (const Body &b : tracedLap())
        bigDots.append(B.at(b, false) - QPoint(rnd(B.cx()), rnd(B.cy())));
    big->Frame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    ChildWidth = 720;
    ChildHeight = 560;
    Tkuno *w = open();
    const Layout L = layoutOf(w);
    QVERIFY(L.u < B.u);
    QCOMPARE(int(w->u), L.u);
    QCOMPARE(w->StripeWidth(), L.cw / 40);
    QCOMPARE(w->underA.Patch().size(), QSize(3 * L.u, 3 * L.u));
    const QVector<Body> lap = tracedLap();
    int near = 0;
    for (int i = 0; i + 1 < lap.size(); ++i) {
        const QPoint p = L.at(lap[i], false);
        QCOMPARE(w->viewA.pixel(p), White);
        const QPoint rel = p - QPoint(rnd(L.cx()), rnd(L.cy()));
        // Rounding of a different centre can move a dot by one pixel.
        near += (rel - bigDots[i]).manhattanLength() <= 2;
    }
    QCOMPARE(near, lap.size() - 1);
    // Resizing the window later keeps the views and moves only where they are shown.
    const QSize size = w->viewA.size();
    w->Frame()->resize(w->Frame()->width() - 100, w->Frame()->height() - 60);
    w->tempoTimer();
    QCOMPARE(w->viewA.size(), size);
    QCOMPARE(shown(w, L.h8), w->viewA);
    QCOMPARE(w->sotto->geometry().bottom(), w->ClientHeight() - 1);
}

void TestPkeplero::sunAtTheFocus()
{
    // The Sun at the focus on the perihelion's side (left) of the drawn ellipse, whatever the
    // client: sqrt(a^2 - b^2) from the middle of the major axis, the line through the leftmost
    // and rightmost dots. The long steps turn the lap's axis by about a degree, so the focus
    // read from the drawing lies within 2 px of the true one.
    for (QSize client : {QSize(1880, 880), QSize(1024, 768)}) {
        auto *w = qobject_cast<Tkuno *>(OpenAtClient(main, QStringLiteral("G1"), client));
        QVERIFY(w);
        w->tempo->stop();
        QPolygonF dots;
        QRectF sun;
        for (int y = 0; y < w->viewA.height(); ++y)
            for (int x = 0; x < w->viewA.width(); ++x) {
                if (w->viewA.pixel(x, y) == White)
                    dots << QPointF(x, y);
                else if (w->viewA.pixel(x, y) == Yellow)
                    sun |= QRectF(x, y, 1, 1);
            }
        const QRectF box = dots.boundingRect();
        auto end = [&](double column) { // the middle of the dots in that column
            QPointF sum;
            int n = 0;
            for (QPointF d : dots)
                if (d.x() == column)
                    sum += d, ++n;
            return sum / n;
        };
        const QPointF left = end(box.left()), right = end(box.right());
        const double a = QLineF(left, right).length() / 2, b = box.height() / 2;
        const QPointF focus = (left + right) / 2 + (left - right) / (2 * a) * std::sqrt(a * a - b * b);
        QVERIFY(QLineF(sun.center() - QPointF(0.5, 0.5), focus).length() < 3);
        w->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QTEST_MAIN(TestPkeplero)
#include "test_pkeplero.moc"
