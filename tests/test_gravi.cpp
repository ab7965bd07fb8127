// The free-fall window: the start scene and the fall and the eastward deviation at each height,
// the trail, what restarts the scene and what does not, the height guard, pause, texts,
// life cycle and help.
#include "globals.h"
#include "language/texts.h"
#include "sims/rotation/gravi.h"
#include "vastara.h"

#include <QMdiSubWindow>
#include <QShowEvent>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
int R(long double x) { return int(std::nearbyintl(x)); }

struct Scene {
    int W, H, k;
    QPoint P(long double r, long double deg) const
    {
        const long double a = deg * M_PIl / 180;
        return QPoint(W / 2 + R(r * std::cos(a)), 6 * H - R(r * std::sin(a)));
    }
    long double R0() const { return 5.122L * H; }
    long double R1() const { return (5.122L + 0.25L * k) * H; }
    QPoint top(float th) const { return P(R1(), th); }
    QPoint foot(float th) const { return P(R0(), th); }
    int ballY(float th) const
    {
        const long double q = (89 + 2 * k - (long double)th) / (3 * k);
        return 6 * H - R((R1() - 0.25L * k * H * q * q) * std::sin(th * M_PIl / 180));
    }
    // The angles of the frames drawn while falling, in single precision, and the landing one.
    QList<float> fall(float *landing) const
    {
        QList<float> angles;
        float th = float(89 + 2 * k);
        while ((long double)th > (89 - k) - 0.05L) {
            angles.append(th);
            th = float(th - 0.03L * k);
        }
        *landing = float(th + 0.03L * k);
        return angles;
    }
};

bool hasColour(const QImage &img, TColor c)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (pixelAt(img, x, y) == c)
                return true;
    return false;
}
} // namespace

class TestGravi : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fallAndEastwardDeviation_data();
    void fallAndEastwardDeviation();
    void restartsOnlyWhenShownOrNew();
    void heightPauseTextsAndHelp();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tcaduta *openAt(QSize client);
};

void TestGravi::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestGravi::cleanup()
{
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    LanguageIndex = 0;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Tcaduta *TestGravi::openAt(QSize client)
{
    main->OpenSimulation(QStringLiteral("E4"));
    const QSize frame = caduta->Frame()->size() - caduta->size();
    caduta->Frame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ChildWidth = client.width() + frame.width();
    ChildHeight = client.height() + frame.height();
    main->OpenSimulation(QStringLiteral("E4"));
    return caduta && caduta->size() == client ? caduta : nullptr;
}

void TestGravi::fallAndEastwardDeviation_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("4:3") << QSize(800, 600);
    QTest::newRow("wide") << QSize(1880, 880);
}

void TestGravi::fallAndEastwardDeviation()
{
    QFETCH(QSize, client);
    Tcaduta *w = openAt(client);
    QVERIFY(w);
    {
        // The start scene: grid, ground, plumb mark and tower of height 1.
        const Scene s0{client.width(), client.height(), 1};
        const QImage &img = w->screen;
        for (int i = 1; i <= 20; ++i) {
            const int x = s0.W / 20 * i;
            if (x >= s0.W)
                continue;
            QCOMPARE(pixelAt(img, x, 5), clGray);
            QCOMPARE(pixelAt(img, x, 17 * s0.H / 20), clBlack); // the end pixel is left out
        }
        QCOMPARE(pixelAt(img, s0.W / 2, s0.H * 6 - R(5.12L * s0.H)), clGray); // ground at 90 degrees
        // The ground spans the picture: it meets both side edges where the Earth's circle
        // crosses them.
        const long double half = s0.W / 2.0L, ground = 5.12L * s0.H;
        const int edgeY = R(6 * s0.H - std::sqrt(ground * ground - half * half));
        QVERIFY(edgeY > 17 * s0.H / 20 && edgeY < s0.H);
        QVERIFY(colourNear(img, 0, edgeY, clGray));
        QVERIFY(colourNear(img, s0.W - 1, edgeY, clGray));
        // Plumb mark under the foot, tower up to the top, both inside the picture under the bar.
        const QPoint foot = s0.foot(91), top = s0.top(91);
        QCOMPARE(pixelAt(img, foot.x(), foot.y() + 10), clWhite);
        QCOMPARE(pixelAt(img, foot.x(), foot.y() + 20), clBlack);
        QVERIFY(colourNear(img, (foot.x() + top.x()) / 2, (foot.y() + top.y()) / 2, clWhite));
        QVERIFY(top.y() > w->ControlBarHeight() && foot.y() + 20 < s0.H && top.x() > 0 && top.x() < s0.W);
        QCOMPARE(w->earthAngle, 91.0f);
        QCOMPARE(w->tickCount, 0);
        QVERIFY(!w->tempo->isActive());
    }
    for (int k = 1; k <= 3; ++k) {
        const Scene s{client.width(), client.height(), k};
        w->altez->setValue(k);
        w->disegna->click();
        QCOMPARE(int(w->towerHeight), k);
        QVERIFY(s.top(89 + 2 * k).y() > w->ControlBarHeight()); // the tallest tower stays under the bar
        const bool trail = k == 2;
        if (w->wantTrail != trail)
            w->traiet->click();
        w->via->click();
        QVERIFY(w->tempo->isActive() && !w->via->isEnabled());
        float landing = 0;
        const QList<float> angles = s.fall(&landing);
        QCOMPARE(angles.size(), k == 1 ? 102 : 101);
        for (int t = 0; t < angles.size(); ++t) {
            QCOMPARE(w->earthAngle, angles[t]);
            w->tempoTimer();
            const QPoint T = s.top(angles[t]);
            // The falling ball and the one on the top (the tower may cross the ball's centre).
            QVERIFY(colourNear(w->screen, T.x() + 5, s.ballY(angles[t]), clYellow));
            QVERIFY(colourNear(w->screen, T.x() + 5, T.y(), clYellow));
        }
        QVERIFY(w->tempo->isActive());
        w->tempoTimer();
        QVERIFY(!w->tempo->isActive() && w->disegna->isEnabled() && !w->via->isEnabled());
        QCOMPARE(w->earthAngle, landing);
        // The plumb line drops from the landed ball, east of the foot by about h cos(theta).
        const QPoint T = s.top(landing), F = s.foot(landing);
        const int by = s.ballY(landing);
        QCOMPARE(pixelAt(w->screen, T.x() + 5, by + 10), clWhite);
        QVERIFY(colourNear(w->screen, F.x(), F.y() - 2, clWhite));
        const int east = T.x() - F.x();
        const long double expected = 0.25L * k * s.H * std::cos(landing * M_PIl / 180);
        QVERIFY2(east > 0 && std::fabs(east - expected) <= 1, qPrintable(QString::number(east)));
        // Trail: every (8 div k)-th ball stays on the background; none without the option.
        const int every = 8 / k;
        if (trail) {
            for (int t : {0, 96})
                QCOMPARE(pixelAt(w->trailLayer, s.top(angles[t]).x() + 5, s.ballY(angles[t])), clYellow);
            QVERIFY(pixelAt(w->trailLayer, s.top(angles[98]).x() + 5, s.ballY(angles[98])) != clYellow);
            QCOMPARE(96 % every, 0);
        } else {
            QVERIFY(!hasColour(w->trailLayer, clYellow));
        }
    }
}

void TestGravi::restartsOnlyWhenShownOrNew()
{
    Tcaduta *w = openAt(QSize(1880, 880));
    QVERIFY(w);
    w->traiet->click();
    w->via->click();
    QVERIFY(w->tempo->isActive());
    // Ticked by hand: the window's own timer must not tick in between.
    w->tempo->stop();
    for (int t = 0; t < 30; ++t)
        w->tempoTimer();
    // The repaint after each tick does not restart the fall.
    w->repaint();
    QCoreApplication::processEvents();
    QCOMPARE(w->tickCount, 30);
    // Another window active: the fall goes on. (The timer runs again from here on, and
    // nothing below lets it fire.)
    w->tempo->start();
    w->FormDeactivate();
    QVERIFY(w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    // Shown again: from the top, trail cleared, the timer left running.
    QVERIFY(hasColour(w->trailLayer, clYellow));
    QShowEvent shown;
    QCoreApplication::sendEvent(w, &shown);
    QCOMPARE(w->tickCount, 0);
    QCOMPARE(w->earthAngle, 91.0f);
    QVERIFY(!hasColour(w->trailLayer, clYellow));
    QVERIFY(w->tempo->isActive());
    // New: the timer stops and the drop button comes back.
    w->disegna->click();
    QVERIFY(!w->tempo->isActive() && w->via->isEnabled() && !w->disegna->isEnabled());
}

void TestGravi::heightPauseTextsAndHelp()
{
    Tcaduta *w = openAt(QSize(800, 600));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Spostamento dalla verticale"));
    QCOMPARE(SimWindow::HintOf(w->altez), QStringLiteral("altezza"));
    QCOMPARE(SimWindow::HintOf(w->disegna), QStringLiteral("nuovo"));
    QCOMPARE(SimWindow::HintOf(w->via), QStringLiteral("avvio"));
    QVERIFY(!WindowClosed[10] && w->barrasotto->isVisibleTo(w));
    QCOMPARE(w->tempo->interval(), 90);
    w->cadenza->setValue(20);
    QCOMPARE(w->tempo->interval(), 180);
    // A new height does nothing until `disegna`.
    const QImage before = w->screen.copy();
    w->disegna->setEnabled(false);
    w->altez->setValue(3);
    QVERIFY(w->disegna->isEnabled());
    QCOMPARE(int(w->towerHeight), 1);
    QCOMPARE(w->screen, before);
    // The height stays within 1..3 whatever the spin edit holds.
    w->altez->setRange(0, 20);
    w->altez->setValue(0);
    w->disegna->click();
    QCOMPARE(int(w->towerHeight), 1);
    w->altez->setValue(20);
    w->disegna->click();
    QCOMPARE(int(w->towerHeight), 3);
    w->traiet->click();
    w->via->click();
    for (int t = 0; t < 5; ++t)
        w->tempoTimer();
    // Pause: the same frame again, nothing moves.
    w->pausa->setChecked(true);
    const float angle = w->earthAngle;
    const QImage held = w->screen.copy();
    for (int t = 0; t < 3; ++t)
        w->tempoTimer();
    QCOMPARE(w->earthAngle, angle);
    QCOMPARE(w->screen, held);
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/moti.htm#caduta"));
    QVERIFY(QFileInfo::exists(help.source.toLocalFile()));
    w->Frame()->close();
    QVERIFY(WindowClosed[10]);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!caduta);
    LanguageIndex = 2;
    main->OpenSimulation(QStringLiteral("E4"));
    QCOMPARE(caduta->windowTitle(), QStringLiteral("Eloignement de la vertical"));
    QCOMPARE(SimWindow::HintOf(caduta->altez), QStringLiteral("hauteur"));
}

QTEST_MAIN(TestGravi)
#include "test_gravi.moc"
