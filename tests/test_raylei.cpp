// The Rayleigh-wave window: the rolling block and the highlighted view with its particles
// and their paths (4:3 and wide), the particles' sense of rotation and the shape of their
// paths against a Rayleigh wave in rock, the sweep both ways, pause, period and life cycle.
#include "sims/earthquakes/raylei.h"
#include "vastara.h"
#include "viewswitch.h"

#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
// A Rayleigh wave in a Poisson solid (P speed sqrt 3 times the S speed b, wave speed c with
// c^2 = (2 - 2 / sqrt 3) b^2): at depth q / wavenumber a particle moves U(q) along the travel
// and V(q) upwards. Rows 1 and 2 stand where V has fallen to 11/18 and 4/18 of V(0).
struct Wave {
    float sx, sy;
    int t;
    long double a[3]; // horizontal half-axes of the three rows for vertical ones 18, 11, 4
    static inline const long double r = 2 - 2 / std::sqrt(3.0L), ga = std::sqrt(1 - r / 3), gb = std::sqrt(1 - r);
    static long double U(long double q) { return std::exp(-ga * q) - 2 * ga * gb / (1 + gb * gb) * std::exp(-gb * q); }
    static long double V(long double q) { return -ga * std::exp(-ga * q) + 2 * ga / (1 + gb * gb) * std::exp(-gb * q); }
    Wave(float sx, float sy, int t) : sx(sx), sy(sy), t(t)
    {
        for (int i = 0; i < 3; ++i) {
            long double lo = i ? 1 : 0, hi = i ? 30 : 0; // V falls steadily below q = 1
            for (int n = 0; n < 200 && i; ++n)
                (V((lo + hi) / 2) > (18 - 7 * i) / 18.0L * V(0) ? lo : hi) = (lo + hi) / 2;
            a[i] = 18 * U(lo) / V(0);
        }
    }
    long double phi(int k) const { return 3.14159265358979323846L * (t + k) / 32; }
    QPoint at(long double x, long double y, int i, int k) const
    {
        return QPoint(int(std::nearbyintl(x * sx - a[i] * std::cos(phi(k)) * sy)),
                      int(std::nearbyintl((y + (18 - 7 * i) * std::sin(phi(k))) * sy)));
    }
    QPoint S(int k) const { return at(610 - 6 * k, 85, 0, k); }
    QPoint D(int i, int k) const { return at(570 - 6 * k, 110 + 20 * i, i, k); }
};

// A particle: the middle 4 x 4 of its 6 x 6 box red, but where a silver line crosses it.
bool dotAt(const QImage &img, QPoint p)
{
    int red = 0;
    for (int y = p.y() - 2; y < p.y() + 2; ++y)
        for (int x = p.x() - 2; x < p.x() + 2; ++x) {
            const TColor c = img.rect().contains(x, y) ? pixelAt(img, x, y) : clBlack;
            if (c != clRed && c != clSilver)
                return false;
            red += c == clRed;
        }
    return red >= 9;
}

int maroonIn(const QImage &img, const QRect &r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += pixelAt(img, x, y) == clMaroon;
    return n;
}
} // namespace

class TestRaylei : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        main = new TVastaras(dir.filePath("Vastara.cfg"), "it_IT");
        main->FinishStartScreen();
    }
    void cleanup()
    {
        delete main;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void pictures_data();
    void pictures();
    void particlesRunAsInRock_data() { pictures_data(); }
    void particlesRunAsInRock();
    void sweepBothWays();
    void pauseAndPeriod();
    void lifeCycle();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tonder *openAt(QSize client);
};

Tonder *TestRaylei::openAt(QSize client)
{
    main->OpenSimulation(QStringLiteral("D4"));
    const QSize frame = onder->Frame()->size() - onder->size();
    onder->Frame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ChildWidth = client.width() + frame.width();
    ChildHeight = client.height() + frame.height();
    main->OpenSimulation(QStringLiteral("D4"));
    return onder->size() == client ? onder : nullptr;
}

void TestRaylei::pictures_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("4:3") << QSize(800, 600);
    QTest::newRow("wide") << QSize(1880, 880);
}

void TestRaylei::pictures()
{
    QFETCH(QSize, client);
    Tonder *w = openAt(client);
    QVERIFY(w);
    const int W = client.width() / 2, H3 = 3 * client.height() / 8;
    QCOMPARE(w->normalView.size(), QSize(W, H3));
    auto inside = [&](QPoint p, int m) { return QRect(m, m, W - 2 * m, H3 - 2 * m).contains(p); };
    // Normal view: red lines through the moving points, the block maroon between the
    // deepest two lines, black above the surface and below the block; no particles.
    for (int tick = 0; tick < 3; ++tick) {
        const Wave g(w->scaleX, w->scaleY, w->phase);
        w->tempoTimer();
        const QImage &n = w->normalView;
        for (int k = Tonder::FirstColumn; k < Tonder::LastColumn; ++k) {
            for (QPoint p : {g.S(k), g.D(0, k), g.D(1, k), g.D(2, k)})
                if (inside(p, 0))
                    QCOMPARE(pixelAt(n, p.x(), p.y()), clRed);
            if (g.D(2, k).x() < 0) // held at the left edge
                QVERIFY(colourNear(n, 0, g.D(2, k).y(), clRed));
            if (inside(g.S(k), 5))
                QCOMPARE(pixelAt(n, g.S(k).x(), g.S(k).y() - 4), clBlack);
            if (inside(g.D(2, k), 8)) {
                QCOMPARE(pixelAt(n, g.D(2, k).x(), g.D(2, k).y() + 4), clBlack);
                if (k % 3 == 0)
                    QCOMPARE(pixelAt(n, g.D(2, k).x(), g.D(2, k).y() - 6), clMaroon);
            }
        }
        for (int k = 32; k <= 128; k += 16)
            QVERIFY(!dotAt(n, g.D(0, k)));
        // The block is the column quadrilaterals one by one (surface corner held at x = 0),
        // under the red lines drawn after it.
        QImage body = NewBitmap(W, H3, clBlack);
        Canvas b(&body);
        b.pen.Color = b.brush.Color = clMaroon;
        for (int k = Tonder::FirstColumn; k <= Tonder::LastColumn; ++k) {
            QPoint s = g.S(k);
            s.setX(qMax(s.x(), 0));
            b.Polygon({s, g.D(2, k), g.D(2, k + 1), g.S(k + 1)});
        }
        b.flush();
        for (int y = 0; y < H3; ++y)
            for (int x = 0; x < W; ++x) {
                const TColor c = pixelAt(n, x, y), want = pixelAt(body, x, y);
                if (c == clMaroon || want == clMaroon)
                    QVERIFY2(want == clMaroon && (c == clMaroon || c == clRed), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
    }
    // Highlighted view: no block, particles at the columns multiple of 16, and the paths
    // centred on the particles' orbits (96 s - 6, 110 + 20 i) at any scale: on the row of
    // the centre the outline is a half-axis away on both sides (where no particle covers it).
    w->eviden->click();
    w->sweep->TimerFired();
    while (w->ViewMode() != 2)
        w->tempoTimer();
    QSet<int> paths;
    for (int tick = 0; tick < 8; ++tick) {
        const Wave g(w->scaleX, w->scaleY, w->phase);
        w->tempoTimer();
        const QImage &h = w->highlightView;
        QCOMPARE(maroonIn(h, h.rect()), 0);
        for (int i = 0; i < 3; ++i) {
            for (int k = 32; k <= 128; k += 16)
                if (inside(g.D(i, k), 3))
                    QVERIFY(dotAt(h, g.D(i, k)));
            for (int s = 1; s <= 4; ++s) {
                const double cx = (96 * s - 6) * g.sx - 0.5, a = double(std::abs(g.a[i]) * g.sy);
                const int cy = qRound((110 + 20 * i) * g.sy);
                bool covered = false;
                for (int k = 32; k <= 128; k += 16)
                    for (double end : {cx - a, cx + a})
                        covered |= std::abs(g.D(i, k).x() - 0.5 - end) < 8 && std::abs(g.D(i, k).y() - cy) <= 3;
                if (covered)
                    continue;
                int left = qRound(cx - a) - 4, right = qRound(cx + a) + 4;
                while (left < right && pixelAt(h, left, cy) != clRed)
                    ++left;
                while (right > left && pixelAt(h, right, cy) != clRed)
                    --right;
                QVERIFY(std::abs((left + right) / 2.0 - cx) <= 1.0);
                QVERIFY(std::abs((right - left) / 2.0 - a) <= 1.5);
                paths.insert(s * 3 + i);
            }
        }
        for (int n = 0; n < 7; ++n)
            w->tempoTimer();
    }
    QCOMPARE(paths.size(), 4 * 3);
}

void TestRaylei::particlesRunAsInRock()
{
    QFETCH(QSize, client);
    Tonder *w = openAt(client);
    QVERIFY(w);
    w->tempo->stop();
    QTest::mouseClick(w->eviden, Qt::LeftButton);
    w->sweep->TimerFired();
    while (w->ViewMode() != 2)
        w->tempoTimer();
    // Over a period, the surface particles marked at columns 64 and 48 (a quarter wavelength
    // apart): each the middle of the places where the topmost dot of its column fits.
    QList<QPointF> path[2];
    for (int tick = 0; tick < 64; ++tick) {
        w->tempoTimer();
        for (int c = 0; c < 2; ++c) {
            const int cx = qRound((186 + 96 * c) * w->scaleX);
            QPointF sum;
            int n = 0, first = -1;
            for (int y = 0; y < w->PictureHeight() && (first < 0 || y <= first + 3); ++y)
                for (int x = cx - 30; x <= cx + 30; ++x)
                    if (dotAt(w->highlightView, QPoint(x, y)))
                        first = first < 0 ? y : first, sum += QPointF(x, y), ++n;
            QVERIFY(n > 0);
            path[c] << sum / n;
        }
    }
    // The wave runs from the column whose particle tops its path first to the other.
    int top[2] = {0, 0};
    for (int c = 0; c < 2; ++c)
        for (int t = 1; t < 64; ++t)
            top[c] = path[c][t].y() < path[c][top[c]].y() ? t : top[c];
    const int lag = (top[1] - top[0] + 64) % 64;
    QVERIFY(lag > 8 && lag < 24); // a quarter period, from column 64 to 48: to the right
    // Twice the signed area, positive counter-clockwise as seen (screen y down): retrograde,
    // backwards at the top, for a wave to the right.
    double area = 0, x0 = 1e9, x1 = -1e9, y0 = 1e9, y1 = -1e9;
    for (int t = 0; t < 64; ++t) {
        const QPointF p = path[0][t], q = path[0][(t + 1) % 64];
        area += q.x() * p.y() - p.x() * q.y();
        x0 = qMin(x0, p.x()), x1 = qMax(x1, p.x()), y0 = qMin(y0, p.y()), y1 = qMax(y1, p.y());
    }
    QVERIFY(area > 0);
    // Upright, as wide as tall in the ratio U(0) / V(0) = 0.68.
    QVERIFY(std::abs((x1 - x0) / (y1 - y0) - double(Wave::U(0) / Wave::V(0))) < 0.05);
}

void TestRaylei::sweepBothWays()
{
    Tonder *w = openAt(QSize(1880, 880));
    const int W = w->PictureWidth(), H3 = w->PictureHeight(), CH = 880;
    const QPoint o = w->PictureOrigin();
    auto maroon = [&](int x1, int x2) { return maroonIn(w->screen, QRect(o.x() + x1, o.y(), x2 - x1, H3)); };
    // A quick double click: the first disables the button at once, the second is lost.
    w->eviden->click();
    w->eviden->click();
    QVERIFY(w->eviden->isChecked() && !w->eviden->isEnabled());
    QCOMPARE(w->ViewMode(), 0);
    w->sweep->TimerFired();
    // To the highlighted view: it grows from the right behind a grey line, 2 pixels a tick.
    for (int x = 0; x < W; x += 2) {
        QCOMPARE(w->SweepX(), x);
        w->tempoTimer();
        QCOMPARE(w->ViewMode(), 1);
        if (x > 4 && x < W - 4) {
            QVERIFY(maroon(0, W - x - 3) > 0);
            QCOMPARE(maroon(W - x + 3, W), 0);
            QVERIFY(colourNear(w->screen, o.x() + W - x + 1, o.y() + CH / 5, RGB(128, 128, 128)));
        }
    }
    // The tick that finds the picture crossed draws nothing.
    const QImage before = w->screen.copy();
    w->tempoTimer();
    QCOMPARE(w->screen, before);
    QCOMPARE(w->ViewMode(), 2);
    QCOMPARE(w->SweepX(), 1);
    QVERIFY(w->eviden->isEnabled());
    // Back: the normal view grows from the left behind a red line.
    w->eviden->click();
    w->sweep->TimerFired();
    for (int x = 1; x < W; x += 2) {
        w->tempoTimer();
        if (x > 4 && x < W - 4) {
            QVERIFY(maroon(0, x - 3) > 0);
            QCOMPARE(maroon(x + 3, W), 0);
            QVERIFY(colourNear(w->screen, o.x() + x - 1, o.y() + CH / 5, clRed));
        }
    }
    w->tempoTimer();
    QCOMPARE(w->ViewMode(), 0);
    QVERIFY(w->eviden->isEnabled());
}

void TestRaylei::pauseAndPeriod()
{
    Tonder *w = openAt(QSize(1024, 768));
    QCOMPARE(int(w->phase), 1);
    QImage pictures[65];
    for (int n = 0; n <= 64; ++n)
        w->tempoTimer(), pictures[n] = w->normalView.copy();
    QVERIFY(pictures[64] == pictures[0] && pictures[32] != pictures[0]);
    // Paused: nothing moves, and a sweep asked for waits for the release.
    w->pausa->setChecked(true);
    const QImage held = w->screen.copy();
    w->eviden->click();
    w->sweep->TimerFired();
    for (int n = 0; n < 5; ++n)
        w->tempoTimer();
    QVERIFY(w->phase == 2 && w->SweepX() == 0 && w->screen == held);
    w->pausa->setChecked(false);
    w->tempoTimer();
    QVERIFY(w->phase == 3 && w->SweepX() == 2);
}

void TestRaylei::lifeCycle()
{
    SimWindow *made = RegisteredFactory(QStringLiteral("D4"))(main);
    made->FormCreate();
    QVERIFY(made->barrasotto->isVisibleTo(made)); // before any activation
    delete made;
    main->OpenSimulation(QStringLiteral("D4"));
    Tonder *w = onder;
    QCOMPARE(w->windowTitle(), QStringLiteral("Onde di Rayleigh"));
    QVERIFY(!WindowClosed[20] && !main->BackdropVisible());
    // Hints off: only `eviden` shows its tooltip.
    QCOMPARE(w->eviden->toolTip(), QStringLiteral("evidenzia l'effetto delle onde"));
    QVERIFY(w->cadenza->toolTip().isEmpty());
    QCOMPARE(w->tempo->interval(), 100);
    w->cadenza->setValue(160);
    QCOMPARE(w->tempo->interval(), 40);
    const QPoint o(w->ClientWidth() / 4, 5 * w->ClientHeight() / 16);
    QCOMPARE(w->Bevel1->geometry(), QRect(o.x() - 1, o.y() - 1, w->PictureWidth() + 3, w->PictureHeight() + 3));
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/terremoti.htm#rayleigh"));
    w->Frame()->close();
    QVERIFY(WindowClosed[20] && main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(onder == nullptr);
}

QTEST_MAIN(TestRaylei)
#include "test_raylei.moc"
