// The centrifugal-force window: whirling positions, the cut and the flight along the tangent,
// two bodies, the trail, the start of a run, pause, texts, life cycle and help.
#include "globals.h"
#include "language/texts.h"
#include "sims/rotation/centriguga.h"
#include "vastara.h"

#include <QMdiSubWindow>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
int R(long double x) { return int(std::nearbyintl(x)); }

// Body 1 (or 2) while whirling at angle index `step`, client W x H.
QPoint whirl(int W, int H, int step, int sense, int body)
{
    const long double phi = step * M_PIl / 6 + 0.001L + (body == 2 ? M_PIl : 0);
    const long double r = body == 2 ? H / 4.0L : H / 8.0L;
    return QPoint(W / 2 + R(r * std::cos(phi)), H / 2 - sense * R(r * std::sin(phi)));
}

// A body `n` ticks after the cut, released at `from` with the string at index `last`: it
// keeps its whirling speed, its radius times the twelfth of a turn of a tick.
QPoint fly(QPoint from, int H, int last, int n, int sense, int body)
{
    const long double psi = last * M_PIl / 6 + (body == 2 ? M_PIl : 0);
    const long double v = (body == 2 ? H / 4.0L : H / 8.0L) * M_PIl / 6;
    return from - QPoint(R(v * std::sin(psi) * n), sense * R(v * std::cos(psi) * n));
}

bool outside(QPoint p, int W, int H) { return p.x() > W + 10 || p.x() < -10 || p.y() < -10 || p.y() > H + 10; }
} // namespace

class TestCentriguga : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void whirlCutAndFly_data();
    void whirlCutAndFly();
    void twoBodiesAndTrail();
    void cutBeforeTheFirstTick();
    void pauseTextsLifeCycleAndHelp();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    TCenfuga *openAt(QSize client);
};

void TestCentriguga::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestCentriguga::cleanup()
{
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    LanguageIndex = 0;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TCenfuga *TestCentriguga::openAt(QSize client)
{
    main->OpenSimulation(QStringLiteral("E1"));
    const QSize frame = Cenfuga->Frame()->size() - Cenfuga->size();
    Cenfuga->Frame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ChildWidth = client.width() + frame.width();
    ChildHeight = client.height() + frame.height();
    main->OpenSimulation(QStringLiteral("E1"));
    return Cenfuga && Cenfuga->size() == client ? Cenfuga : nullptr;
}

void TestCentriguga::whirlCutAndFly_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("sense");
    QTest::newRow("4:3 anticlockwise") << QSize(800, 600) << 1;
    QTest::newRow("wide clockwise") << QSize(1880, 880) << -1;
}

void TestCentriguga::whirlCutAndFly()
{
    QFETCH(QSize, client);
    QFETCH(int, sense);
    TCenfuga *w = openAt(client);
    QVERIFY(w);
    const int W = client.width(), H = client.height();
    const QPoint O(W / 2, H / 2);
    QVERIFY(!w->tempo->isActive());
    if (sense < 0)
        w->orario->click();
    QVERIFY(w->antiorario->isChecked() == (sense > 0) && w->orario->isChecked() == (sense < 0));
    w->disegna->click();
    QVERIFY(w->tempo->isActive() && !w->disegna->isEnabled());
    // Twelve positions a turn, each frame alone with its string from the centre.
    for (int t = 0; t < 16; ++t) {
        w->tempoTimer();
        const QPoint p = whirl(W, H, t, sense, 1);
        QCOMPARE(QPoint(w->x1, w->y1), p);
        QVERIFY(client.width() > p.x() + H / 40 && p.y() - H / 40 > w->ControlBarHeight());
        QCOMPARE(pixelAt(w->screen, p.x(), p.y()), clWhite);
        QVERIFY(colourNear(w->screen, (O.x() + p.x()) / 2, (O.y() + p.y()) / 2, clWhite));
        if (t > 0) {
            const QPoint q = whirl(W, H, t - 1, sense, 1);
            QCOMPARE(pixelAt(w->screen, q.x(), q.y()), clBlack);
        }
    }
    // Cut after index 3: the body flies on along the tangent, without a string.
    const QPoint release = whirl(W, H, 15, sense, 1);
    w->sgancia->click();
    int n = 1;
    for (;; ++n) {
        const QPoint p = fly(release, H, 3, n, sense, 1);
        w->tempoTimer();
        QCOMPARE(QPoint(w->x1, w->y1), p);
        if (outside(p, W, H))
            break;
        if (QRect(0, 0, W, H).contains(p))
            QCOMPARE(pixelAt(w->screen, p.x(), p.y()), clWhite);
        QVERIFY(!colourNear(w->screen, (O.x() + release.x()) / 2, (O.y() + release.y()) / 2, clWhite));
    }
    // The tangent at index 3 points left (anticlockwise) or right: the flight ends at an edge.
    QVERIFY(n > 3);
    QVERIFY(w->tempo->isActive());
    w->tempoTimer();
    QVERIFY(!w->tempo->isActive() && w->disegna->isEnabled());
}

void TestCentriguga::twoBodiesAndTrail()
{
    TCenfuga *w = openAt(QSize(1880, 880));
    QVERIFY(w);
    const int W = 1880, H = 880;
    w->ncorpi->setValue(2);
    w->traiet->click();
    QVERIFY(w->keepTrail);
    w->disegna->click();
    for (int t = 0; t < 12; ++t) {
        w->tempoTimer();
        const QPoint b2 = whirl(W, H, t, 1, 2);
        QCOMPARE(QPoint(w->x2, w->y2), b2);
        QVERIFY(colourNear(w->screen, b2.x(), b2.y(), clYellow));
    }
    // The trail keeps a ring of discs (seen beside the radial rods, which are erased each
    // tick), and the erased rods show as black gaps.
    for (int t = 0; t < 12; ++t) {
        const QPoint p = whirl(W, H, t, 1, 1);
        const long double phi = t * M_PIl / 6;
        QCOMPARE(pixelAt(w->screen, p.x() - R(H / 80.0L * std::sin(phi)), p.y() - R(H / 80.0L * std::cos(phi))),
                 clWhite);
    }
    const QPoint first = whirl(W, H, 0, 1, 1);
    QCOMPARE(pixelAt(w->screen, (W / 2 + first.x()) / 2, H / 2), clBlack);
    // Cut: the first flying tick leaves both at the release positions, then they part, each
    // at its whirling speed: the outer one twice as fast.
    const QPoint r1 = whirl(W, H, 11, 1, 1), r2 = whirl(W, H, 11, 1, 2);
    w->sgancia->click();
    w->tempoTimer();
    QCOMPARE(QPoint(w->x1, w->y1), r1);
    QCOMPARE(QPoint(w->x2, w->y2), r2);
    w->tempoTimer();
    QCOMPARE(QPoint(w->x1, w->y1), fly(r1, H, 11, 1, 1, 1));
    QCOMPARE(QPoint(w->x2, w->y2), fly(r2, H, 11, 1, 1, 2));
    QVERIFY(colourNear(w->screen, w->x2, w->y2, clYellow));
    QCOMPARE(pixelAt(w->screen, r1.x(), r1.y()), clWhite); // the trail stays
}

void TestCentriguga::cutBeforeTheFirstTick()
{
    TCenfuga *w = openAt(QSize(800, 600));
    QVERIFY(w);
    const int W = 800, H = 600;
    // Cut while idle: it only marks the string as cut; the next start restores it.
    w->sgancia->click();
    QVERIFY(!w->attached);
    w->disegna->click();
    QVERIFY(w->attached);
    // Cut before any tick: the body flies from where the whirling starts, not from a corner.
    w->sgancia->click();
    w->tempoTimer(); // returns: the attached branch is not a loop
    const QPoint start = whirl(W, H, 0, 1, 1);
    QCOMPARE(QPoint(w->x1, w->y1), fly(start, H, 0, 1, 1, 1));
    QCOMPARE(pixelAt(w->screen, w->x1, w->y1), clWhite);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            QCOMPARE(pixelAt(w->screen, x, y), clBlack);
}

void TestCentriguga::pauseTextsLifeCycleAndHelp()
{
    TCenfuga *w = openAt(QSize(800, 600));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Forza centrifuga"));
    QCOMPARE(SimWindow::HintOf(w->sgancia), QStringLiteral("sgancia"));
    QCOMPARE(SimWindow::HintOf(w->ncorpi), QStringLiteral("pagina grafici"));
    QCOMPARE(SimWindow::HintOf(w->orario), QStringLiteral("orario"));
    QCOMPARE(SimWindow::HintOf(w->traiet), QStringLiteral("traiettoria"));
    QVERIFY(!WindowClosed[3] && w->barrasotto->isVisibleTo(w));
    QCOMPARE(w->tempo->interval(), 90);
    w->cadenza->setValue(150);
    QCOMPARE(w->tempo->interval(), 50);
    // Activation gives the timer back only when it was running.
    w->FormDeactivate();
    w->FormActivate();
    QVERIFY(!w->tempo->isActive());
    w->disegna->click();
    w->tempoTimer();
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    // Pause: nothing moves, the same picture is shown.
    w->pausa->setChecked(true);
    const QImage held = w->screen.copy();
    const int step = w->step;
    for (int t = 0; t < 3; ++t)
        w->tempoTimer();
    QCOMPARE(w->step, step);
    QCOMPARE(w->screen, held);
    w->pausa->setChecked(false);
    w->tempoTimer();
    QCOMPARE(w->step, step + 1);
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/moti.htm#centrifuga"));
    QVERIFY(QFileInfo::exists(help.source.toLocalFile()));
    QCOMPARE(help.source.fragment(), QStringLiteral("centrifuga"));
    w->Frame()->close();
    QVERIFY(WindowClosed[3]);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!Cenfuga);
    // Another language: the texts of the window's creation.
    LanguageIndex = 1;
    main->OpenSimulation(QStringLiteral("E1"));
    QCOMPARE(Cenfuga->windowTitle(), QStringLiteral("Centrifugal force"));
    QCOMPARE(SimWindow::HintOf(Cenfuga->sgancia), QStringLiteral("cut"));
    QCOMPARE(SimWindow::HintOf(Cenfuga->antiorario), QStringLiteral("anticlockwise"));
}

QTEST_MAIN(TestCentriguga)
#include "test_centriguga.moc"
