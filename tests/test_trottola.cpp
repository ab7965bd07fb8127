// The spinning top: the disc and its precession in both views, the strip change between
// them, the counters after a long run, layout on wide and 4:3 clients, life cycle, texts.
#include "globals.h"
#include "language/texts.h"
#include "sims/mechanics/trottola.h"
#include "vastara.h"

#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <algorithm>
#include <cmath>

namespace {
const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Blue = qRgb(0, 0, 255),
           Grey = qRgb(128, 128, 128);

int rnd(double v)
{
    return int(std::nearbyint(v));
}

// The scene of width W (the layout) and height H, with the counters of tick t (0 = first).
// The axis leans to the far side at t = 0, then to the left; seen from above, the view
// from above turns the disc's outline so that its short axis points where the axis leans.
struct Scene {
    int W, H;
    double psi(qint64 t) const { return M_PI * double(t % 400) / 200.0; }
    double sigma(qint64 t) const { return M_PI * double(t % 120) / 60.0; }
    QPointF centre(qint64 t, bool above) const
    {
        const double x = W / 5.0 - H / 10.6 * std::sin(psi(t));
        const double y = above ? 3.0 * H / 10 - W / 10.6 * std::cos(psi(t))
                               : 3.0 * H / 10 - W / 5.3 * std::sin(M_PI / 3);
        return {x, y};
    }
    QVector<QPoint> rim(qint64 t, bool above) const
    {
        QVector<QPoint> r(12);
        const QPointF c = centre(t, above);
        const double s = sigma(t), p = psi(t), R = W / 26.6;
        const double lx = c.x() - W / 5.0, ly = 3.0 * H / 10 - c.y(), l = std::hypot(lx, ly);
        for (int b = 0; b < 6; ++b) {
            const double u = s - b * M_PI / 6;
            int X, Y;
            if (above) {
                const double a = R * std::cos(u), d = R * std::cos(M_PI / 4) * std::sin(u);
                X = rnd((a * ly + d * lx) / l);
                Y = rnd((-a * lx + d * ly) / l);
            } else {
                X = rnd(R * std::cos(u));
                Y = -rnd(W / 53.2 * std::sin(s - p - b * M_PI / 6));
            }
            r[b] = QPoint(rnd(c.x() + X), rnd(c.y() - Y));
            r[b + 6] = QPoint(rnd(c.x() - X), rnd(c.y() + Y));
        }
        return r;
    }
    QPoint tip() const { return {W / 5, 3 * H / 10}; }
};

// The top's drawing is the rim and the lines to the tip: all ink of `area` (other than
// `ground`) lies in their bounding box.
bool inkInside(const QImage &pic, const QRect &area, QRgb ground, const QVector<QPoint> &rim, QPoint tip)
{
    QRect box(tip, QSize(1, 1));
    for (const QPoint &p : rim)
        box |= QRect(p, QSize(1, 1));
    box.adjust(-1, -1, 1, 1);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (pic.pixel(x, y) != ground && !box.contains(x, y))
                return false;
    return true;
}
} // namespace

class TestTrottola : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void precessionSeenFromTheSide_data();
    void precessionSeenFromTheSide();
    void precessionSeenFromAbove();
    void precessesWithItsSpinFacingItsLean_data();
    void precessesWithItsSpinFacingItsLean();
    void countersAfterALongRun();
    void viewChange();
    void viewChangeEndsOnWideClients();
    void lifeCycle();
    void otherLanguage();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tspins *openAt(QSize client);
    void runTo(Tspins *w, int tick);
    void toAbove(Tspins *w);
};

void TestTrottola::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestTrottola::cleanup()
{
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Tspins *TestTrottola::openAt(QSize client)
{
    return static_cast<Tspins *>(OpenAtClient(main, QStringLiteral("H4"), client));
}

// Runs ticks until the one that drew the counters of `tick` (0 = the first tick).
void TestTrottola::runTo(Tspins *w, int tick)
{
    while (w->spin != (tick + 1) % 120 || w->precessionHalves != (tick + 1) % 400)
        w->tempoTimer();
}

void TestTrottola::toAbove(Tspins *w)
{
    w->superiore->click();
    w->Timer2Timer();
    while (w->displayMode != 2)
        w->tempoTimer();
}

void TestTrottola::precessionSeenFromTheSide_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("sceneWidth");
    QTest::newRow("wide 1880x880") << QSize(1880, 880) << 1320;
    QTest::newRow("4:3 1024x768") << QSize(1024, 768) << 1024;
}

void TestTrottola::precessionSeenFromTheSide()
{
    QFETCH(QSize, client);
    QFETCH(int, sceneWidth);
    Tspins *w = openAt(client);
    QVERIFY(w);
    QCOMPARE(w->W, sceneWidth);
    const Scene S{sceneWidth, client.height()};
    const int W = S.W, H = S.H;
    QCOMPARE(w->sidePicture.size(), QSize(W, H));
    QCOMPARE(w->topPicture.size(), QSize(2 * W / 5, 3 * H / 5));
    // Shown at (3W/10, H/5) of the scene, the scene centred in the client.
    const QPoint o((client.width() - W) / 2 + 3 * W / 10, H / 5);
    const QRect sky(0, 0, 2 * W / 5, 3 * H / 10 - 2);
    for (int t : {0, 1, 57, 100, 150, 200, 260, 300, 399, 400, 555}) {
        runTo(w, t);
        const QImage &pic = w->sidePicture;
        const QVector<QPoint> rim = S.rim(t, false);
        for (const QPoint &p : rim) {
            QVERIFY(p.y() >= 0); // the disc stays inside the picture
            QCOMPARE(pic.pixel(p), White);
        }
        const QPointF c = S.centre(t, false);
        // Leaning towards the viewer: the disc's upper face over the body, blue; leaning
        // away: its underside, navy, under the body (edge-on at a quarter turn).
        if (std::cos(S.psi(t)) < -0.3)
            QCOMPARE(pic.pixel(rnd(c.x()), rnd(c.y())), Blue);
        else if (std::cos(S.psi(t)) > 0.3)
            QVERIFY(colourNear(pic, rnd(c.x()), rnd(c.y()) - 2, clNavy) || colourNear(pic, rnd(c.x()), rnd(c.y()) + 2, clNavy));
        QVERIFY2(inkInside(pic, sky, Black, rim, S.tip()), qPrintable(QString::number(t)));
        // The table: its lit top edge, the tip on it, and the face below.
        QCOMPARE(pic.pixel(S.tip()), White);
        QCOMPARE(pic.pixel(2 * W / 5 - 2, 3 * H / 10), White);
        QCOMPARE(pic.pixel(2 * W / 5 - 1, 3 * H / 10), qRgb(192, 192, 192));
        QCOMPARE(pic.pixel(5, 7 * H / 20 - 1), qRgb(192, 192, 192));
        w->canvas.flush();
        QCOMPARE(w->screen.copy(QRect(o, QSize(2 * W / 5, 3 * H / 5))), pic.copy(0, 0, 2 * W / 5, 3 * H / 5));
    }
    QCOMPARE(w->screen.pixel(o - QPoint(1, 0)), Black);
}

void TestTrottola::precessionSeenFromAbove()
{
    Tspins *w = openAt(QSize(1024, 768));
    const Scene S{1024, 768};
    toAbove(w);
    const QRect table(1, 3 * S.H / 10 - S.W / 5 + 1, 2 * S.W / 5 - 1, 2 * (S.W / 5) - 1);
    // A quarter turn every 100 ticks: the disc goes round the tip, far side first, then left.
    const double x = S.W / 5.0, y = 3.0 * S.H / 10;
    const QPoint quarter[] = {{rnd(x), rnd(y - S.W / 10.6)}, {rnd(x - S.H / 10.6), rnd(y)},
                              {rnd(x), rnd(y + S.W / 10.6)}, {rnd(x + S.H / 10.6), rnd(y)}};
    for (int t : {400, 500, 600, 700, 733}) {
        runTo(w, t);
        const QImage &pic = w->topPicture;
        const QPointF c = S.centre(t, true);
        if (t % 100 == 0)
            QCOMPARE(QPoint(rnd(c.x()), rnd(c.y())), quarter[(t / 100) % 4]);
        QCOMPARE(pic.pixel(rnd(c.x()), rnd(c.y())), Blue);
        const QVector<QPoint> rim = S.rim(t, true);
        for (const QPoint &p : rim)
            QCOMPARE(pic.pixel(p), White);
        QVERIFY(inkInside(pic, table, Grey, rim, S.tip()));
    }
}

void TestTrottola::precessesWithItsSpinFacingItsLean_data()
{
    precessionSeenFromTheSide_data();
}

void TestTrottola::precessesWithItsSpinFacingItsLean()
{
    // A heavy top precesses in the sense of its spin (its weight's torque turns the angular
    // momentum that way): seen from above both go anticlockwise. Seen from above, the tilted
    // disc is foreshortened along the way it leans: the rim's least spread lies along it.
    QFETCH(QSize, client);
    Tspins *w = openAt(client);
    QVERIFY(w);
    w->tempo->stop();
    QTest::mouseClick(w->superiore, Qt::LeftButton);
    w->Timer2Timer();
    auto angle = [](QPointF p) { return std::atan2(-p.y(), p.x()); };
    auto at = [&](int b) { // rim point b (the tip for b < 0) from the disc centre
        const Tspins::Centre c = w->DiscCentre(true);
        return QPointF(b < 0 ? w->Tip() : w->Rim(true)[b]) - QPointF(c.x, c.y);
    };
    double spin = 0, precession = 0, worst = 0;
    for (int t = 0; t < 400; ++t) {
        double xx = 0, yy = 0, xy = 0;
        for (int b = 0; b < 12; ++b)
            xx += at(b).x() * at(b).x(), yy += at(b).y() * at(b).y(), xy += at(b).x() * at(b).y();
        const QPointF lean = -at(-1); // from the tip to the disc centre
        const double shortAxis = std::atan2(2 * xy, xx - yy) / 2 + M_PI / 2;
        worst = std::max(worst, std::abs(std::remainder(shortAxis - std::atan2(lean.y(), lean.x()), M_PI)));
        const double rim0 = angle(at(0)), lean0 = angle(lean);
        w->tempoTimer();
        spin += std::remainder(angle(at(0)) - rim0, 2 * M_PI);
        precession += std::remainder(angle(-at(-1)) - lean0, 2 * M_PI);
    }
    // Over 400 ticks the spin turns 400/120 times (and once more with the lean), the axis once.
    QVERIFY2(spin > 6 * M_PI && qAbs(precession - 2 * M_PI) < 1e-6, qPrintable(QString::number(precession)));
    QVERIFY2(worst < 3 * M_PI / 180, qPrintable(QString::number(worst * 180 / M_PI)));
}

void TestTrottola::countersAfterALongRun()
{
    // After 10^8 ticks the precession still moves half a count each tick.
    Tspins *w = openAt(QSize(1024, 768));
    const Scene S{1024, 768};
    toAbove(w);
    const qint64 start = 100000000LL + 37;
    w->SetTicks(start);
    QPoint last;
    for (int k = 0; k < 60; ++k) {
        w->tempoTimer();
        const QPointF c = S.centre(start + k, true);
        const QPoint at(rnd(c.x()), rnd(c.y()));
        QCOMPARE(w->topPicture.pixel(at), Blue);
        QVERIFY(colourNear(w->topPicture, S.rim(start + k, true)[0].x(), S.rim(start + k, true)[0].y(), clWhite));
        if (k % 20 == 19)
            QVERIFY(at != last);
        if (k % 20 == 0)
            last = at;
    }
}

void TestTrottola::viewChange()
{
    Tspins *w = openAt(QSize(1024, 768));
    const int pitch = 1024 / 20;
    for (int t = 0; t < 5; ++t)
        w->tempoTimer();
    // The view already shown: nothing happens.
    w->laterale->click();
    QVERIFY(w->Timer1->isActive());
    w->Timer1Timer();
    QCOMPARE(w->displayMode, 0);
    QVERIFY(w->laterale->isEnabled() && w->superiore->isEnabled());

    w->superiore->click();
    QVERIFY(w->Timer2->isActive());
    QCOMPARE(w->Timer2->interval(), 1);
    QVERIFY(!w->laterale->isEnabled() && !w->superiore->isEnabled());
    w->Timer2Timer();
    QCOMPARE(w->displayMode, 1);
    // Nine strips of the view from above widen by a pixel a tick over the side view.
    const QPoint o(3 * 1024 / 10, 768 / 5);
    for (int k = 0; k < pitch; ++k) {
        w->tempoTimer();
        QCOMPARE(w->displayMode, 1);
        QCOMPARE(w->AboveFlag(), 0);
        w->canvas.flush();
        const QImage &side = w->sidePicture, &top = w->topPicture;
        for (int x = 0; x < top.width(); x += 3) {
            const bool strip = x / pitch < 9 && x % pitch < k;
            const int y = 3 * 768 / 10 + 40; // on the table seen from above, below the face
            QCOMPARE(side.pixel(x, y), strip ? top.pixel(x, y) : Black);
            QCOMPARE(w->screen.pixel(o.x() + x, o.y() + y), side.pixel(x, y));
        }
    }
    w->tempoTimer();
    QCOMPARE(w->displayMode, 2);
    QCOMPARE(w->AboveFlag(), 1);
    QCOMPARE(w->stripWidth, 0);
    QVERIFY(w->laterale->isEnabled() && w->superiore->isEnabled());
    w->canvas.flush();
    QCOMPARE(w->screen.copy(QRect(o, w->topPicture.size())), w->topPicture);

    // Paused during the way back: the strips hold.
    w->laterale->click();
    w->Timer1Timer();
    QCOMPARE(w->displayMode, 1);
    w->tempoTimer();
    w->tempoTimer();
    w->pausa->setChecked(true);
    for (int t = 0; t < 5; ++t) {
        w->tempoTimer();
        QCOMPARE(w->stripWidth, 2);
    }
    w->pausa->setChecked(false);
    int ticks = 0;
    while (w->displayMode == 1 && ticks < 1000) {
        w->tempoTimer();
        ++ticks;
    }
    QCOMPARE(ticks, pitch - 1);
    QCOMPARE(w->displayMode, 0);
    QVERIFY(w->laterale->isChecked());
}

void TestTrottola::viewChangeEndsOnWideClients()
{
    // Created by hand at large sizes: the strip width counts past 127.
    for (QSize client : {QSize(1880, 880), QSize(3840, 2160)}) {
        ChildWidth = client.width();
        ChildHeight = client.height();
        auto *w = qobject_cast<Tspins *>(CreateSpins(main));
        w->FormCreate();
        w->FormActivate();
        const int W = std::min(client.width(), 3 * client.height() / 2);
        QCOMPARE(w->W, W);
        w->superiore->click();
        w->Timer2Timer();
        int ticks = 0;
        while (w->displayMode == 1 && ticks < 10000) {
            w->tempoTimer();
            ++ticks;
        }
        QCOMPARE(ticks, W / 20 + 1);
        QCOMPARE(w->displayMode, 2);
        if (client.width() == 1880) {
            // How long a tick takes at this size (reported, not checked).
            for (int view = 0; view < 2; ++view) {
                QVector<qint64> ns;
                QElapsedTimer clock;
                for (int t = 0; t < 400; ++t) {
                    clock.start();
                    w->tempoTimer();
                    ns.append(clock.nsecsElapsed());
                }
                std::sort(ns.begin(), ns.end());
                qInfo("tick median at 1880x880, %s view: %lld us", view ? "side" : "top", ns[200] / 1000);
                w->laterale->click();
                w->Timer1Timer();
                while (w->displayMode == 1)
                    w->tempoTimer();
            }
        }
        delete w;
    }
}

void TestTrottola::lifeCycle()
{
    main->OpenSimulation(QStringLiteral("H4"));
    Tspins *w = spins;
    QVERIFY(w);
    QVERIFY(!WindowClosed[26]);
    QCOMPARE(w->windowTitle(), QStringLiteral("Trottola"));
    QCOMPARE(w->tempo->interval(), 1);
    QCOMPARE(w->velo->value(), 90);
    QVERIFY(w->tempo->isActive());
    QVERIFY(w->laterale->isChecked() && !w->superiore->isChecked());
    QCOMPARE(SimWindow::HintOf(w->laterale), QStringLiteral("vista laterale"));
    QCOMPARE(SimWindow::HintOf(w->superiore), QStringLiteral("vista dall'alto"));
    QCOMPARE(w->sotto->height(), BarHeight);
    // One timeout of the animation timer is one tick.
    const int before = w->precessionHalves;
    QVERIFY(QMetaObject::invokeMethod(w->tempo, "timeout", Qt::DirectConnection));
    QCOMPARE(w->precessionHalves, before + 1);
    w->velo->setValue(150);
    QCOMPARE(w->tempo->interval(), 50);
    // Paused: the counters and the picture hold.
    w->tempoTimer();
    w->pausa->setChecked(true);
    const QImage held = w->sidePicture.copy();
    const int spin = w->spin;
    w->tempoTimer();
    QCOMPARE(w->spin, spin);
    QCOMPARE(w->sidePicture, held);
    w->pausa->setChecked(false);
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    {
        HelpCapture help;
        w->guida->click();
        QCOMPARE(help.target, QStringLiteral("AiutoVastara/meccanica.htm#trottola"));
    }
    main->OpenSimulation(QStringLiteral("H4"));
    QCOMPARE(main->Simulations().size(), 1);
    w->superiore->click();
    w->Frame()->close();
    QVERIFY(!w->Timer2->isActive());
    QVERIFY(w->sidePicture.isNull() && w->topPicture.isNull());
    QVERIFY(WindowClosed[26]);
    QVERIFY(main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(spins == nullptr);
}

void TestTrottola::otherLanguage()
{
    main->SwitchLanguage(1);
    main->OpenSimulation(QStringLiteral("H4"));
    QCOMPARE(spins->windowTitle(), QStringLiteral("Top"));
    QCOMPARE(SimWindow::HintOf(spins->laterale), QStringLiteral("frontal view"));
    QCOMPARE(SimWindow::HintOf(spins->superiore), QStringLiteral("birds-eye view"));
}

QTEST_MAIN(TestTrottola)
#include "test_trottola.moc"
