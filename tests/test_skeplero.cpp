// Kepler's second law: the integrated orbit and its lap, the fan of the last 40 steps and
// its equal areas, pause, both client shapes, texts and life cycle.
#include "globals.h"
#include "language/texts.h"
#include "sims/solar/skeplero.h"
#include "vastara.h"

#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Yellow = qRgb(255, 255, 0);

// The motion as the window must integrate it: single-precision state, extended arithmetic
// in between, vy kept with the opposite sign of the motion along y.
struct Body {
    float x = -74, y = 0, vx = 0, vy = 12;
    void step()
    {
        const float r2 = float((long double)x * x + (long double)y * y);
        const float r3 = float(sqrtl((long double)r2 * r2 * r2));
        vx = float(vx - 2100.0L * x / r3);
        vy = float(vy + 2100.0L * y / r3);
        x = float(x + 0.3L * vx);
        y = float(y - 0.3L * vy);
    }
};

// The states before each step.
QVector<Body> orbit(int steps)
{
    QVector<Body> s;
    Body b;
    for (int i = 0; i <= steps; ++i) {
        s.append(b);
        b.step();
    }
    return s;
}

// Area swept from the Sun between states i and j (sum of the step triangles).
double swept(const QVector<Body> &s, int i, int j)
{
    double a = 0;
    for (int k = i; k < j; ++k)
        a += 0.5 * (double(s[k].x) * s[k + 1].y - double(s[k].y) * s[k + 1].x);
    return std::fabs(a);
}

double distToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double len2 = QPointF::dotProduct(d, d);
    const double t = len2 > 0 ? qBound(0.0, QPointF::dotProduct(p - a, d) / len2, 1.0) : 0.0;
    const QPointF q = a + t * d - p;
    return std::sqrt(QPointF::dotProduct(q, q));
}

// The layout of a client cw x ch: the Sun on the attracting centre, bodies drawn from it.
struct Layout {
    int cw, ch;
    QPoint sun() const { return QPoint(cw / 2 - 80, 3 * ch / 8); }
    QPoint at(const Body &b) const
    {
        return QPoint(cw / 2 + int(std::nearbyint(b.x - 80.0)), 3 * ch / 8 - int(std::nearbyint(b.y)));
    }
};
} // namespace

class TestSkeplero : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void orbitLapAndEqualAreas();
    void fanOfTheLastFortySteps_data();
    void fanOfTheLastFortySteps();
    void pauseHoldsEverything();
    void lifeCycle();
    void textsInEnglish();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tkdue *open(int cw, int ch);
};

void TestSkeplero::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestSkeplero::cleanup()
{
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Opens the window with a client of cw x ch (the frame's own size found by a first opening).
Tkdue *TestSkeplero::open(int cw, int ch)
{
    main->OpenSimulation(QStringLiteral("G2"));
    const QSize frame = kdue->Frame()->size() - kdue->size();
    kdue->Frame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ChildWidth = cw + frame.width();
    ChildHeight = ch + frame.height();
    main->OpenSimulation(QStringLiteral("G2"));
    return kdue && kdue->size() == QSize(cw, ch) ? kdue : nullptr;
}

void TestSkeplero::orbitLapAndEqualAreas()
{
    // The window's step is the motion above, exactly.
    Tkdue::Body p = Tkdue::Start;
    const QVector<Body> s = orbit(1500);
    for (int i = 1; i <= 1500; ++i) {
        Tkdue::Step(p);
        QCOMPARE(p.x, s[i].x);
        QCOMPARE(p.y, s[i].y);
        QCOMPARE(p.vx, s[i].vx);
        QCOMPARE(p.vy, s[i].vy);
    }
    // Bound between x = -74 and about 236, y about -129 to 136; the first lap back on the
    // axis at the left after about 483 steps.
    float minX = 0, maxX = 0, minY = 0, maxY = 0;
    int lap = 0;
    for (int i = 1; i < 600; ++i) {
        minX = qMin(minX, s[i].x), maxX = qMax(maxX, s[i].x);
        minY = qMin(minY, s[i].y), maxY = qMax(maxY, s[i].y);
        if (!lap && s[i - 1].y > 0 && s[i].y <= 0 && s[i].x < 0)
            lap = i;
    }
    QVERIFY(minX > -74.1f && minX <= -74.0f);
    QVERIFY(qAbs(maxX - 236) < 0.5f);
    QVERIFY(qAbs(minY + 129) < 0.5f && qAbs(maxY - 136) < 0.5f);
    QVERIFY2(lap >= 482 && lap <= 485, qPrintable(QString::number(lap)));
    // Equal areas in equal times, seen from the Sun: every 40 steps sweep the same area,
    // near the Sun and far from it, lap after lap.
    const double first = swept(s, 0, 40);
    QVERIFY(qAbs(first - 5328) < 1);
    for (int i = 0; i + 40 <= 1500; i += 7)
        QVERIFY(qAbs(swept(s, i, i + 40) - first) < 1e-3 * first);
}

void TestSkeplero::fanOfTheLastFortySteps_data()
{
    QTest::addColumn<int>("cw");
    QTest::addColumn<int>("ch");
    QTest::newRow("wide 1880x880") << 1880 << 880;
    QTest::newRow("4:3 1024x768") << 1024 << 768;
}

void TestSkeplero::fanOfTheLastFortySteps()
{
    QFETCH(int, cw);
    QFETCH(int, ch);
    Tkdue *w = open(cw, ch);
    QVERIFY(w);
    QCOMPARE(w->ClientWidth(), cw);
    QCOMPARE(w->ClientHeight(), ch);
    const Layout L{cw, ch};
    const QPoint S = L.sun();
    QCOMPARE(w->picture.size(), QSize(cw, 3 * ch / 4));
    // The orbit's white outline, before anything moves.
    QCOMPARE(w->picture.pixel(cw / 2 - 159, S.y() - 4), White);
    QCOMPARE(w->picture.pixel(cw / 2 - 1, S.y() - 140), White);
    QCOMPARE(w->picture.pixel(cw / 2 - 1, S.y() + 132), White);
    QCOMPARE(w->picture.pixel(S), Black);
    const QImage start = w->picture.copy();

    const QVector<Body> s = orbit(1300);
    const auto seg = [&](int j) { return std::make_pair(QPointF(S), QPointF(L.at(s[j]))); };
    const auto farFrom = [&](QPointF q, int from, int to) {
        for (int m = qMax(0, from); m <= to; ++m)
            if (distToSegment(q, seg(m).first, seg(m).second) < 2.5)
                return false;
        return true;
    };
    QVector<int> counts;
    int T = 0;
    // Ticks ending near the far end of the orbit, past the near end and a lap later near
    // the far end again.
    for (const int until : {41, 45, 262, 500, 742}) {
        for (; T < until; ++T)
            w->tempoTimer();
        QCOMPARE(w->n, T);
        QCOMPARE(w->planet.x, s[T].x);
        QCOMPARE(w->planet.y, s[T].y);
        // The follower starts on the 42nd tick, 41 steps behind.
        const int behind = qMax(0, T - Tkdue::Lag);
        QCOMPARE(w->follower.x, s[behind].x);
        QCOMPARE(w->follower.y, s[behind].y);
        // The lines of the last 41 steps are yellow wherever no later black line passes;
        // older ones are black away from the yellow ones.
        int checkedYellow = 0, checkedBlack = 0;
        for (int j = qMax(0, T - 41); j < T; ++j)
            for (const double f : {0.3, 0.5, 0.7, 0.9, 0.97}) {
                const QPoint q = (QPointF(S) + f * (seg(j).second - seg(j).first)).toPoint();
                if (!farFrom(q, T - 82, T - 42))
                    continue;
                QCOMPARE(w->picture.pixel(q), Yellow);
                ++checkedYellow;
            }
        for (int m = qMax(0, T - 62); m <= T - 42; ++m)
            for (const double f : {0.3, 0.5, 0.7, 0.9, 0.97}) {
                const QPoint q = (QPointF(S) + f * (seg(m).second - seg(m).first)).toPoint();
                if (!farFrom(q, T - 41, T - 1))
                    continue;
                QCOMPARE(w->picture.pixel(q), Black);
                ++checkedBlack;
            }
        QVERIFY(checkedYellow > 20);
        QVERIFY(T < 60 || checkedBlack > 10);
        // The Sun, a yellow dot as wide as the lines.
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                QCOMPARE(w->picture.pixel(S.x() + dx, S.y() + dy), Yellow);
        // Shown whole on the window, an eighth of the height from the top.
        QCOMPARE(w->screen.copy(QRect(QPoint(0, ch / 8), w->picture.size())), w->picture);
        int yellow = 0;
        for (int y = 0; y < w->picture.height(); ++y)
            for (int x = 0; x < cw; ++x)
                yellow += w->picture.pixel(x, y) == Yellow;
        if (T > Tkdue::Lag)
            counts.append(yellow);
    }
    // The yellow fan covers the 5328 px² of 40 steps (plus the lines' width along its
    // edges), the same near the Sun and far from it.
    for (const int c : counts)
        QVERIFY2(c > 5328 && c < 5328 * 1.06, qPrintable(QString::number(c)));
    const auto [lo, hi] = std::minmax_element(counts.begin(), counts.end());
    QVERIFY2(*hi - *lo < 5328 / 25, qPrintable(QStringLiteral("%1 %2").arg(*lo).arg(*hi)));
    // A lap and a half later the outline is whole, where the planet ran close to it too.
    for (int y = 0; y < start.height(); ++y)
        for (int x = 0; x < cw; ++x)
            QCOMPARE(w->picture.pixel(x, y) == White, start.pixel(x, y) == White);

    // The orbit stays inside the picture, clear of the control bar and the bottom panel.
    for (int j = 0; j < 500; ++j) {
        const QPoint p = L.at(s[j]);
        QVERIFY(p.x() >= 2 && p.x() < cw - 2);
        const int screenY = ch / 8 + p.y();
        QVERIFY(screenY > w->ControlBarHeight() + 2 && screenY < w->sotto->geometry().top() - 2);
    }
}

void TestSkeplero::pauseHoldsEverything()
{
    Tkdue *w = open(1880, 880);
    QVERIFY(w);
    for (int t = 0; t < 50; ++t)
        w->tempoTimer();
    w->pausa->setChecked(true);
    const QImage held = w->picture.copy();
    const Tkdue::Body p = w->planet, f = w->follower;
    for (int t = 0; t < 5; ++t) {
        // Paused: nothing moves or is drawn, but the picture is still put on the window.
        w->canvas.brush.Color = clRed;
        w->canvas.FillRect(0, 0, w->ClientWidth(), w->ClientHeight());
        w->tempoTimer();
        QCOMPARE(w->picture, held);
        QCOMPARE(w->n, 50);
        QCOMPARE(w->planet.x, p.x);
        QCOMPARE(w->follower.y, f.y);
        QCOMPARE(w->screen.copy(QRect(QPoint(0, 880 / 8), held.size())), held);
    }
    w->pausa->setChecked(false);
    w->tempoTimer();
    QCOMPARE(w->n, 51);
    QVERIFY(w->picture != held);
}

void TestSkeplero::lifeCycle()
{
    // Created by hand: slot taken, texts and start values, the bar hidden until activated.
    ChildWidth = 900;
    ChildHeight = 640;
    auto *w = qobject_cast<Tkdue *>(CreateKdue(main));
    QCOMPARE(kdue, w);
    w->FormCreate();
    QVERIFY(!WindowClosed[23]);
    QCOMPARE(w->windowTitle(), QStringLiteral("Seconda legge di Keplero"));
    QCOMPARE(SimWindow::HintOf(w->pausa), QStringLiteral("pausa"));
    QCOMPARE(SimWindow::HintOf(w->cadenza), QString::fromUtf8("velocità di esecuzione"));
    QCOMPARE(SimWindow::HintOf(w->guida), QStringLiteral("guida"));
    QVERIFY(!w->barrasotto->isVisibleTo(w));
    QCOMPARE(w->barrasotto->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(w->tempo->interval(), 80);
    QCOMPARE(w->cadenza->minimum(), 5);
    QCOMPARE(w->cadenza->maximum(), 195);
    QCOMPARE(w->cadenza->value(), 120);
    QVERIFY(w->pausa->isCheckable());
    QCOMPARE(w->sotto->geometry(), QRect(0, 640 - BarHeight, 900, BarHeight));
    QCOMPARE(w->sotto->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(w->n, 0);
    delete w;
    QVERIFY(kdue == nullptr);
    QVERIFY(WindowClosed[23]);

    // From the menu: activated at once, bar shown, running; a second click opens nothing.
    Tkdue *k = open(1880, 880);
    QVERIFY(k && !WindowClosed[23]);
    QVERIFY(!main->BackdropVisible());
    QVERIFY(k->barrasotto->isVisibleTo(k));
    QVERIFY(k->tempo->isActive());
    QVERIFY(k->cursor().shape() == Qt::ArrowCursor);
    main->OpenSimulation(QStringLiteral("G2"));
    QCOMPARE(kdue, k);
    QCOMPARE(main->Simulations().size(), 1);
    k->cadenza->setValue(150);
    QCOMPARE(k->tempo->interval(), 50);
    // Deactivation only pauses the motion; it goes on from where it was.
    for (int t = 0; t < 10; ++t)
        k->tempoTimer();
    k->FormDeactivate();
    QVERIFY(!k->tempo->isActive());
    k->FormActivate();
    QVERIFY(k->tempo->isActive());
    QCOMPARE(k->n, 10);
    HelpCapture help;
    k->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/sistema.htm#seconda"));
    QCOMPARE(help.source.fragment(), QStringLiteral("seconda"));
    // Closing frees the picture and the slot, and shows the backdrop again.
    k->Frame()->close();
    QVERIFY(!k->tempo->isActive());
    QVERIFY(k->picture.isNull());
    QVERIFY(WindowClosed[23]);
    QVERIFY(main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(kdue == nullptr);
    // Opened again: the motion starts from the beginning.
    Tkdue *again = open(1880, 880);
    QCOMPARE(again->n, 0);
    QCOMPARE(again->planet.x, -74.0f);
}

void TestSkeplero::textsInEnglish()
{
    main->SwitchLanguage(1);
    Tkdue *w = open(1880, 880);
    QCOMPARE(w->windowTitle(), QStringLiteral("Kepler's second law"));
    QCOMPARE(SimWindow::HintOf(w->pausa), QStringLiteral("pause"));
    QCOMPARE(SimWindow::HintOf(w->cadenza), QStringLiteral("execution speed"));
    QCOMPARE(SimWindow::HintOf(w->guida), QStringLiteral("help"));
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("HelpVastara/sistema.htm#seconda"));
}

QTEST_MAIN(TestSkeplero)
#include "test_skeplero.moc"
