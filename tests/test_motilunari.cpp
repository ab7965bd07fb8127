// The lunar-motions window: the Earth and the Moon in both views, the trail, the view switch,
// pause, rate and life cycle, at a wide and a 4:3 client.
#include "globals.h"
#include "sims/moon/motilunari.h"
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
int rnd(long double x) { return int(std::nearbyint(double(x))); }

// The Earth at tick t in a picture H high (squash 1 from above, 4 oblique).
QPoint earthAt(int H, int t, double squash)
{
    const long double a = t * M_PI / 170;
    return QPoint(H / 2 + rnd(5.0L * H / 12 * std::cos(a)), H / 2 - rnd(5.0L * H / (14 * squash) * std::sin(a)));
}
QPoint moonTop(QPoint e, int m, int t)
{
    const long double th = t * M_PI / 16;
    return e + QPoint(rnd(3.0L * m * std::cos(th)), rnd(-3.0L * m * std::sin(th)));
}
QPoint moonOblique(QPoint e, int m, int t)
{
    const long double th = t * M_PI / 16, tau = 10 * M_PI / 180;
    const long double u = 3.0L * m * std::cos(th), v = -3.0L * m / 4 * std::sin(th);
    return QPoint(e.x() + rnd(u * std::cos(tau) + v * std::sin(tau)), e.y() - rnd(u * std::sin(tau) - v * std::cos(tau)));
}
} // namespace

class TestMotilunari : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void bothViewsFollowTheOrbits_data();
    void bothViewsFollowTheOrbits();
    void trailAndOrbitLeaveTheSunWhole();
    void viewSwitchAndPause();
    void lifeCycleAndTexts();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tmotlun *open(int clientW = 0, int clientH = 0);
};

void TestMotilunari::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestMotilunari::cleanup()
{
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Tmotlun *TestMotilunari::open(int clientW, int clientH)
{
    if (clientW) {
        // Measure the frame's border once, then open at the client size asked for.
        main->OpenSimulation(QStringLiteral("F1"));
        const int dw = ChildWidth - motlun->ClientWidth(), dh = ChildHeight - motlun->ClientHeight();
        motlun->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ChildWidth = clientW + dw;
        ChildHeight = clientH + dh;
    }
    main->OpenSimulation(QStringLiteral("F1"));
    return motlun;
}

void TestMotilunari::bothViewsFollowTheOrbits_data()
{
    QTest::addColumn<int>("cw");
    QTest::addColumn<int>("ch");
    QTest::newRow("wide 1880x880") << 1880 << 880;
    QTest::newRow("4:3 1173x880") << 1173 << 880;
}

void TestMotilunari::bothViewsFollowTheOrbits()
{
    QFETCH(int, cw);
    QFETCH(int, ch);
    Tmotlun *w = open(cw, ch);
    QVERIFY(w);
    QCOMPARE(w->ClientWidth(), cw);
    QCOMPARE(w->ClientHeight(), ch);
    const int H = ch, m = w->earthRadius, left = (cw - H) / 2;
    // A 4:3 client keeps its sizes; the Moon goes round the Earth slower than the Earth at the
    // slow ends of its orbit's long axis, so the Moon's path round the Sun never loops back.
    if (cw * 3 <= ch * 4)
        QCOMPARE(m, cw / 120);
    const long double moonSpeed = 3.0L * m * M_PI / 16, earthSlowest = 5.0L * H / 14 * M_PI / 170; // px a tick
    QVERIFY2(m > 0 && moonSpeed < earthSlowest, qPrintable(QStringLiteral("Moon %1, Earth %2").arg(double(moonSpeed)).arg(double(earthSlowest))));
    // Backgrounds: the Sun and the Earth's orbit dots in both views.
    const QImage &top = w->layers[Tmotlun::TopFrame], &ob = w->layers[Tmotlun::ObliqueFrame];
    QCOMPARE(pixelAt(top, 19 * H / 48, H / 2), clYellow);
    QCOMPARE(pixelAt(ob, 19 * H / 48 + H / 30 - 2, H / 2), clYellow);
    QCOMPARE(pixelAt(top, 19 * H / 48 + H / 30 + 1, H / 2), clBlack);
    for (int i : {150, 300, 450}) { // orbit dots at angle i pi / 300
        const long double a = i * M_PI / 300;
        const int x = H / 2 + rnd(5.0L * H / 12 * std::cos(a));
        QCOMPARE(pixelAt(top, x, H / 2 - rnd(5.0L * H / 14 * std::sin(a))), clYellow);
        QCOMPARE(pixelAt(ob, x, H / 2 - rnd(5.0L * H / 56 * std::sin(a))), clYellow);
    }
    // Ticks 0..t: the Earth (aqua) and the Moon (red) where the formulas put them, the Moon's
    // points on both trail layers, the shown picture at ((W - H) div 2, 0).
    for (int t = 0; t <= 120; ++t) {
        w->tempoTimer();
        const QPoint e = earthAt(H, t, 1), e2 = earthAt(H, t, 4);
        const QPoint mt = moonTop(e, m, t), mo = moonOblique(e2, m, t);
        QCOMPARE(w->tick, t + 1);
        QCOMPARE(pixelAt(top, e.x(), e.y()), clAqua);
        QCOMPARE(pixelAt(top, mt.x(), mt.y()), clRed);
        QCOMPARE(pixelAt(w->layers[Tmotlun::TopTrail], mt.x(), mt.y()), clLime);
        if ((mo - e2).manhattanLength() > 2 * m) // (the trail layer also gets the Earth)
            QCOMPARE(pixelAt(w->layers[Tmotlun::ObliqueTrail], mo.x(), mo.y()), clLime);
        if (t % 32 < 16 || (mo - e2).manhattanLength() > 2 * m)
            QCOMPARE(pixelAt(ob, e2.x(), e2.y()), clAqua);
        QCOMPARE(pixelAt(w->screen, left + e.x(), e.y()), clAqua);
        // The Moon behind the Earth (first half of its month) is covered by it, in front it covers it.
        if (t % 32 == 8)
            QCOMPARE(pixelAt(ob, mo.x(), mo.y()), clAqua);
        if (t % 32 == 24)
            QCOMPARE(pixelAt(ob, mo.x(), mo.y()), clRed);
        if (t % 32 == 0)
            QCOMPARE(pixelAt(ob, mo.x(), mo.y()), clRed);
    }
    // The old places are restored: where the Earth was at tick 0 the picture is black again.
    const QPoint e0 = earthAt(H, 0, 1);
    QCOMPARE(pixelAt(top, e0.x() - m / 2, e0.y() - m / 2), clBlack);
}

void TestMotilunari::trailAndOrbitLeaveTheSunWhole()
{
    Tmotlun *w = open(1880, 880);
    const int H = 880, m = w->earthRadius;
    const QImage &ob = w->layers[Tmotlun::ObliqueFrame], &top = w->layers[Tmotlun::TopFrame];
    for (int t = 0; t < 86; ++t)
        w->tempoTimer();
    const QPoint trailPoint = moonTop(earthAt(H, 40, 1), m, 40);
    QCOMPARE(pixelAt(top, trailPoint.x(), trailPoint.y()), clBlack);
    // `traiet` down: the trail shows in the frame and the Moon's orbit circles the Earth.
    w->traiet->click();
    QVERIFY(w->showOrbit);
    w->tempoTimer(); // t = 86: the Earth's square covers part of the Sun in the oblique view
    const QPoint e = earthAt(H, 86, 1);
    QCOMPARE(pixelAt(top, trailPoint.x(), trailPoint.y()), clLime);
    QCOMPARE(pixelAt(top, e.x() - 3 * m, e.y()), clYellow);
    const QPoint e2 = earthAt(H, 86, 4);
    QVERIFY(std::abs(e2.x() - 19 * H / 48) < 1880 / 20 && H / 2 - e2.y() < 1880 / 20 + H / 30);
    // Up again: the trail leaves both frames at the next tick (the trail layers keep it).
    w->traiet->click();
    w->tempoTimer();
    QCOMPARE(pixelAt(top, trailPoint.x(), trailPoint.y()), clBlack);
    QCOMPARE(pixelAt(w->layers[Tmotlun::TopTrail], trailPoint.x(), trailPoint.y()), clLime);
    const QPoint obTrail = moonOblique(earthAt(H, 40, 4), m, 40);
    QCOMPARE(pixelAt(ob, obTrail.x(), obTrail.y()), clBlack);
    // Once the Earth has moved on, the Sun is a whole yellow disc again in both views.
    for (int t = 0; t < 60; ++t)
        w->tempoTimer();
    const int sx = 19 * H / 48, sy = H / 2, r = H / 30;
    int holes = 0;
    for (int y = sy - r + 2; y < sy + r - 2; ++y)
        for (int x = sx - r + 2; x < sx + r - 2; ++x)
            if ((x - sx) * (x - sx) + (y - sy) * (y - sy) < (r - 2) * (r - 2))
                holes += (pixelAt(ob, x, y) != clYellow) + (pixelAt(top, x, y) != clYellow);
    QCOMPARE(holes, 0);
}

void TestMotilunari::viewSwitchAndPause()
{
    Tmotlun *w = open();
    const int left = (w->ClientWidth() - w->ClientHeight()) / 2;
    w->tempoTimer();
    QCOMPARE(w->screen.copy(left, 0, w->ClientHeight(), w->ClientHeight()), w->layers[Tmotlun::TopFrame]);
    // The switch waits for Timer1 (1 ms, one shot).
    w->vistauno->click();
    QVERIFY(w->Timer1->isActive());
    QCOMPARE(w->Timer1->interval(), 1);
    QCOMPARE(w->shownView, 0);
    w->Timer1Timer();
    QVERIFY(!w->Timer1->isActive());
    QCOMPARE(w->shownView, 1);
    w->tempoTimer();
    QCOMPARE(w->screen.copy(left, 0, w->ClientHeight(), w->ClientHeight()), w->layers[Tmotlun::ObliqueFrame]);
    // Paused: nothing moves, the picture is only copied again.
    w->pausa->setChecked(true);
    const QImage before = w->screen;
    const QImage frameBefore = w->layers[Tmotlun::TopFrame];
    const int t = w->tick;
    w->tempoTimer();
    QCOMPARE(w->tick, t);
    QCOMPARE(w->screen, before);
    QCOMPARE(w->layers[Tmotlun::TopFrame], frameBefore);
    w->pausa->setChecked(false);
    w->tempoTimer();
    QCOMPARE(w->tick, t + 1);
}

void TestMotilunari::lifeCycleAndTexts()
{
    Tmotlun *w = open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Moti lunari"));
    QCOMPARE(SimWindow::HintOf(w->vistauno), QStringLiteral("punto di vista"));
    QCOMPARE(SimWindow::HintOf(w->traiet), QStringLiteral("traiettoria"));
    QVERIFY(!WindowClosed[14]);
    QVERIFY(w->barrasotto->isVisibleTo(w));
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->tempo->interval(), 90);
    QCOMPARE(w->cadenza->value(), 90);
    w->cadenza->setValue(150);
    QCOMPARE(w->tempo->interval(), 50);
    // Every activation starts again from t = 0, the trail stays.
    for (int i = 0; i < 30; ++i)
        w->tempoTimer();
    const QImage trail = w->layers[Tmotlun::TopTrail];
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->tick, 0);
    QCOMPARE(w->layers[Tmotlun::TopTrail], trail);
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/luna.htm#moti"));
    w->Frame()->close();
    QVERIFY(WindowClosed[14]);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(motlun == nullptr);
    // In English.
    main->SwitchLanguage(1);
    w = open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Lunar motions"));
    QCOMPARE(SimWindow::HintOf(w->vistauno), QStringLiteral("point of view"));
    QCOMPARE(SimWindow::HintOf(w->traiet), QStringLiteral("trajectory"));
}

QTEST_MAIN(TestMotilunari)
#include "test_motilunari.moc"
