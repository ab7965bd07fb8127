// Two-body system: the bodies opposite each other about a fixed centre of mass at every
// ratio, inside the picture on wide and 4:3 clients, the blinds between the views ending on
// any width, the dotted orbits, a restart, pause and the life cycle.
#include "globals.h"
#include "language/texts.h"
#include "sims/mechanics/corpi.h"
#include "vastara.h"

#include <QMdiSubWindow>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
int rnd(long double v)
{
    return int(std::nearbyintl(v));
}

// The scene as it must be for a scene width L starting at `left` on a client of height H.
struct Scene {
    int left, L, H, m;
    long double d() const { return float((long double)L / 7 * (m - 1) / (m + 1)); }
    long double r(int i) const { return float((long double)L / 7 + (i == 0 ? d() : -d())); }
    long double qx() const { return left + L / 2.0L + d(); }
    long double qy() const { return 21.0L * H / 40; }
    // Centre of body i after n ticks' worth of angle.
    QPointF at(int i, int n, bool side) const
    {
        const long double a = (2 - i) * M_PI + n * M_PI / 150;
        const long double ri = r(i);
        return QPointF(float(qx() + ri * cosl(a)), float(qy() - (side ? ri / 9 : ri) * sinl(a)));
    }
    QPoint mark() const { return QPoint(left + L / 2 + rnd(d()), 21 * H / 40); }
};
} // namespace

class TestCorpi : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void bodiesOppositeTheCentreOfMass_data();
    void bodiesOppositeTheCentreOfMass();
    void viewChangeEnds_data();
    void viewChangeEnds();
    void sideViewBodyHidesTheMark();
    void orbitsAndRestart();
    void lifeCycle();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tduec *openAt(QSize client);
};

void TestCorpi::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestCorpi::cleanup()
{
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    LanguageIndex = 0;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Tduec *TestCorpi::openAt(QSize client)
{
    return static_cast<Tduec *>(OpenAtClient(main, QStringLiteral("H2"), client));
}

void TestCorpi::bodiesOppositeTheCentreOfMass_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("4:3") << QSize(800, 600);
    QTest::newRow("wide") << QSize(1880, 880);
}

void TestCorpi::bodiesOppositeTheCentreOfMass()
{
    QFETCH(QSize, client);
    Tduec *w = openAt(client);
    QVERIFY(w);
    const int W = client.width(), H = client.height();
    const int L = w->LayoutWidth(), left = w->SceneOrigin();
    if (W * 3 == H * 4) {
        // 4:3: the scene is the whole client.
        QCOMPARE(L, W);
        QCOMPARE(left, 0);
    } else {
        QVERIFY(L < W);
        QCOMPARE(left, (W - L) / 2);
    }
    const int top = w->ControlBarHeight(), bottom = H - w->metrics.barHeight;
    int lowest = 0;
    for (int m = 1; m <= 9; ++m) {
        w->rappo->setValue(m);
        QCOMPARE(w->nuovo->isEnabled(), m > 1);
        w->nuovo->click();
        QVERIFY(!w->nuovo->isEnabled());
        const Scene sc{left, L, H, m};
        const int S = L / 45, small = S / m;
        QCOMPARE(int(w->S), S);
        QCOMPARE(int(w->small), small);
        QCOMPARE(w->n, m);
        QVERIFY(qAbs(sc.r(0) - m * sc.r(1)) < 1e-3 && qAbs(sc.r(0) + sc.r(1) - 2.0L * L / 7) < 1e-3);
        for (int t = 0; t < 300; t += (m == 1 || m == 9) ? 1 : 7) {
            const int n = m + t;
            while (w->n <= n)
                w->tempoTimer();
            for (int i = 0; i < 2; ++i) {
                const QPointF p = sc.at(i, n, false);
                QCOMPARE(w->x[i], float(p.x()));
                QCOMPARE(w->y[i], float(p.y()));
                // Inside the picture, clear of both bars, at every ratio.
                const int radius = i == 0 ? small : S;
                QVERIFY(p.y() - radius >= top && p.y() + radius <= bottom);
                QVERIFY(p.x() - radius >= 0 && p.x() + radius <= W);
                if (i == 0)
                    lowest = qMax(lowest, rnd(p.y() + radius));
            }
            // The centre of mass lies between them, on their line, r0 : r1 = m.
            const QPointF b0 = sc.at(0, n, false), b1 = sc.at(1, n, false);
            const QPointF mid = (b0 + m * b1) / (m + 1);
            QVERIFY(qAbs(mid.x() - double(sc.qx())) < 1e-3 && qAbs(mid.y() - double(sc.qy())) < 1e-3);
            // The picture: the bodies' centre dots, the red mark where the centre of mass is.
            const QImage &pic = w->plan;
            QCOMPARE(pixelAt(pic, rnd(b1.x()), rnd(b1.y())), clSilver);
            QCOMPARE(pixelAt(pic, rnd(b0.x()), rnd(b0.y())), clTeal);
            const QPoint q = sc.mark();
            for (int dx = -1; dx <= 0; ++dx)
                for (int dy = -1; dy <= 0; ++dy)
                    QCOMPARE(pixelAt(pic, q.x() + dx, q.y() + dy), clRed);
        }
        QCOMPARE(pixelAt(w->screen, 5, H / 2), clBlack);
    }
    // The light body of the largest ratio comes close to the bottom panel: no room wasted.
    if (L < W)
        QVERIFY(lowest >= bottom - 4);
}

void TestCorpi::viewChangeEnds_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("4:3") << QSize(800, 600);
    QTest::newRow("wide") << QSize(1880, 880);
    QTest::newRow("4K") << QSize(3840, 2000);
}

void TestCorpi::viewChangeEnds()
{
    QFETCH(QSize, client);
    Tduec *w = openAt(client);
    QVERIFY(w);
    const int pitch = client.width() / 40;
    w->tempoTimer();
    for (bool toSide : {true, false}) {
        w->vpianta->click();
        QVERIFY(!w->vpianta->isEnabled());
        QVERIFY(w->Timer2->isActive());
        w->Timer2Timer();
        QCOMPARE(w->displayMode, int(Tduec::Transition));
        int ticks = 0;
        while (w->displayMode == Tduec::Transition && ticks < 1000) {
            const int f = w->blindWidth;
            w->tempoTimer();
            ++ticks;
            if (f == pitch / 2 && client.width() < 2000) {
                // 41 blinds of the new view, f pixels wide, over the old one.
                const QImage &next = toSide ? w->side : w->plan, &old = toSide ? w->plan : w->side;
                for (int y = 0; y < client.height(); y += 7)
                    for (int x = 0; x < client.width(); ++x) {
                        const bool blind = x / pitch <= 40 && x % pitch < f;
                        QCOMPARE(w->blend.pixel(x, y), (blind ? next : old).pixel(x, y));
                    }
                QCOMPARE(w->screen.copy(0, 0, client.width(), client.height()), w->blend);
                // Paused, the blinds stay as they are.
                w->pausa->setChecked(true);
                w->tempoTimer();
                const QImage held = w->blend.copy();
                const int n = w->n, held_f = w->blindWidth;
                w->tempoTimer();
                QCOMPARE(w->blindWidth, held_f);
                QCOMPARE(w->blend, held);
                QCOMPARE(w->n, n);
                w->pausa->setChecked(false);
            }
        }
        QCOMPARE(ticks, pitch + 1);
        QCOMPARE(w->displayMode, int(toSide ? Tduec::Side : Tduec::Plan));
        QVERIFY(w->vpianta->isEnabled());
        QCOMPARE(w->blindWidth, 0);
        w->tempoTimer();
        QCOMPARE(w->screen.copy(0, 0, client.width(), client.height()), toSide ? w->side : w->plan);
    }
}

void TestCorpi::sideViewBodyHidesTheMark()
{
    Tduec *w = openAt(QSize(800, 600));
    QVERIFY(w);
    w->vpianta->click();
    w->Timer2Timer();
    for (int t = 0; t < 100 && w->displayMode != Tduec::Side; ++t)
        w->tempoTimer();
    QCOMPARE(w->displayMode, int(Tduec::Side));
    const QPoint q = Scene{0, 800, 600, 1}.mark();
    // Drawn at angle 0, pi/2 and 3pi/2: the mark in the open, then behind body 1 (white), then
    // behind body 0 (aqua, as large as body 1 at ratio 1) as each passes in front.
    for (auto [at, colour] : {std::pair{300, clRed}, std::pair{75, clWhite}, std::pair{225, clAqua}}) {
        while (w->n % 300 != (at + 1) % 300)
            w->tempoTimer();
        QCOMPARE(pixelAt(w->side, q.x(), q.y()), colour);
    }
}

void TestCorpi::orbitsAndRestart()
{
    Tduec *w = openAt(QSize(800, 600));
    QVERIFY(w);
    const auto count = [](const QImage &img, TColor c) {
        int k = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                k += pixelAt(img, x, y) == c;
        return k;
    };
    for (int t = 0; t < 20; ++t)
        w->tempoTimer();
    QCOMPARE(count(w->plan, clTeal), 1); // only the light body's centre
    // Orbits on, while paused: the angle is kept and the bodies stay on the picture.
    w->pausa->setChecked(true);
    const int n = w->n;
    const float x0 = w->x[0], x1 = w->x[1];
    w->orbite->click();
    QVERIFY(w->Timer1->isActive());
    w->Timer1Timer();
    QCOMPARE(w->n, n);
    QCOMPARE(w->x[0], x0);
    QCOMPARE(w->x[1], x1);
    const Scene sc{0, 800, 600, 1};
    for (bool side : {false, true}) {
        const QImage &pic = side ? w->side : w->plan;
        // The bodies where the last tick put them (angle n - 1).
        QCOMPARE(pixelAt(pic, rnd(sc.at(1, n - 1, side).x()), rnd(sc.at(1, n - 1, side).y())), clSilver);
        QCOMPARE(pixelAt(pic, rnd(sc.at(0, n - 1, side).x()), rnd(sc.at(0, n - 1, side).y())), clTeal);
        // The orbit dots (both orbits share one circle at ratio 1; body 1's silver comes last).
        // Every dot clear of the bodies is on the picture.
        const long double r = sc.r(1);
        int dots = 0, clear = 0;
        for (int k = 0; k <= rnd(2 * r); ++k) {
            const long double a = k * M_PI / r + M_PI;
            const QPoint p(rnd(sc.qx() + r * cosl(a)), rnd(sc.qy() + (side ? r / 9 : r) * sinl(a)));
            bool covered = false;
            for (int i = 0; i < 2; ++i)
                covered |= QLineF(p, sc.at(i, n - 1, side)).length() <= w->S + 1;
            if (!covered) {
                ++clear;
                dots += pixelAt(pic, p.x(), p.y()) == clSilver;
            }
        }
        QVERIFY(clear > rnd(2 * r) / 2);
        QCOMPARE(dots, clear);
    }
    w->tempoTimer();
    QCOMPARE(w->n, n);
    w->pausa->setChecked(false);
    w->tempoTimer();
    QCOMPARE(w->n, n + 1);
    QCOMPARE(w->x[0], float(sc.at(0, n, false).x()));
    // Off again: no dots left but the bodies' centres.
    w->orbite->click();
    w->Timer1Timer();
    QCOMPARE(count(w->plan, clSilver), 1);
    QCOMPARE(count(w->plan, clTeal), 1);
    // A new ratio only through `nuovo`, which starts the angle again at the ratio.
    w->rappo->setValue(4);
    QCOMPARE(int(w->m), 1);
    w->nuovo->click();
    QCOMPARE(int(w->m), 4);
    QCOMPARE(w->n, 4);
}

void TestCorpi::lifeCycle()
{
    Tduec *w = openAt(QSize(800, 600));
    QVERIFY(w);
    QVERIFY(!WindowClosed[4]);
    QVERIFY(w->barrasotto->isVisibleTo(w));
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->tempo->interval(), 90);
    QCOMPARE(w->cadenza->value(), 110);
    QCOMPARE(w->windowTitle(), QStringLiteral("Sistema di due corpi"));
    QCOMPARE(SimWindow::HintOf(w->rappo), QStringLiteral("rapporto tra le masse"));
    QCOMPARE(w->rappo->minimum(), 1);
    QCOMPARE(w->rappo->maximum(), 9);
    QCOMPARE(w->sotto->geometry(), QRect(0, 600 - w->metrics.barHeight, 800, w->metrics.barHeight));
    main->OpenSimulation(QStringLiteral("H2"));
    QCOMPARE(main->Simulations().size(), 1);
    w->cadenza->setValue(150);
    QCOMPARE(w->tempo->interval(), 50);
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/meccanica.htm#sistema"));
    w->vpianta->click();
    w->Frame()->close();
    QVERIFY(!w->Timer2->isActive());
    QVERIFY(w->plan.isNull() && w->side.isNull() && w->blend.isNull());
    QVERIFY(WindowClosed[4]);
    QVERIFY(main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(duec == nullptr);

    main->SwitchLanguage(1);
    main->OpenSimulation(QStringLiteral("H2"));
    QVERIFY(duec);
    QCOMPARE(duec->windowTitle(), QStringLiteral("System of two bodies"));
    QCOMPARE(SimWindow::HintOf(duec->rappo), QStringLiteral("ratio between the mass"));
    QCOMPARE(SimWindow::HintOf(duec->orbite), QStringLiteral("orbits"));
}

QTEST_MAIN(TestCorpi)
#include "test_corpi.moc"
