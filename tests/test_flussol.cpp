// The irradiation window: the read-out, the patch and its shadow, the sheet at both
// distances, the normal vector, step mode, keys and pause, the hint line, the bar metrics it
// leaves to later windows, the life cycle and a wide client.
#include "globals.h"
#include "language/texts.h"
#include "sims/earthquakes/primarie.h"
#include "sims/solar/flussol.h"
#include "vastara.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>
#include <functional>

namespace {
// The scene of a picture w wide and h high, worked out afresh.
struct Scene {
    int u, cy, r, a, b, x0;
    Scene(int w, int h)
        : u(w / 50), cy(h / 2), r(int(std::nearbyint(w / 30.0))), a(u - w / 100),
          b(h / 10 - int(std::nearbyint(h * 40.0 * (w / 100) / (9.0 * w)))), x0(3 * u)
    {
    }
    int reach() const { return 4 * (b + r); }
};
} // namespace

class TestFlussol : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sceneAndReadout_data();
    void sceneAndReadout();
    void stepModeKeysAndPause();
    void hintLine();
    void metricsForLaterWindows();
    void lifeCycleAndEnglish();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tunflusso *openAt(QSize client);
};

void TestFlussol::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestFlussol::cleanup()
{
    delete main;
    main = nullptr;
    LanguageIndex = 0;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Tunflusso *TestFlussol::openAt(QSize client)
{
    ChildWidth = client.width() + 8;
    ChildHeight = client.height() + 28;
    main->OpenSimulation(QStringLiteral("G6"));
    const QSize off = unflusso->size() - client;
    if (!off.isNull()) {
        unflusso->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ChildWidth -= off.width();
        ChildHeight -= off.height();
        main->OpenSimulation(QStringLiteral("G6"));
    }
    return unflusso;
}

void TestFlussol::sceneAndReadout_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("wide") << QSize(1880, 880);
    QTest::newRow("4:3") << QSize(1000, 750);
}

void TestFlussol::sceneAndReadout()
{
    QFETCH(QSize, client);
    Tunflusso *w = openAt(client);
    const int CW = client.width(), CH = client.height();
    QCOMPARE(w->ClientWidth(), CW);
    const int top = w->ControlBarHeight(), bottom = CH - w->metrics.barHeight;
    auto fits = [&](int width) {
        const Scene s(width, CH);
        return s.cy - s.reach() >= top && s.cy + s.reach() < bottom;
    };
    // 4:3: the client itself; wide: the widest scene whose screen is seen whole, centred.
    if (CW * 3 == CH * 4) {
        QCOMPARE(w->W, CW);
    } else {
        QVERIFY(!fits(CW));
        QVERIFY(w->W < CW && fits(w->W) && !fits(w->W + 1));
    }
    const int W = w->W;
    const Scene s(W, CH);
    const int left = (CW - W) / 2 + 10 * s.u; // client column of the picture's column 0
    QCOMPARE(w->pictureLeft, left);
    const int P = ScreenWidth() / 4;
    QCOMPARE(w->t, 2 * P - 4);
    auto at = [&](int x, int y) { return pixelAt(w->screen, left + x, y); };
    const int x0 = s.x0, cy = s.cy;

    // The grid starts on the screen's highest corner and ends a pixel short of the next.
    w->tempoTimer();
    QCOMPARE(at(x0 + 4 * s.a, cy - s.reach()), clSilver);
    QCOMPARE(at(x0 + 4 * s.a, cy - 4 * (s.b - s.r)), clBlack);
    for (int d : {1, 2}) {
        const int before = w->t;
        w->psuperficie->setValue(d);
        QCOMPARE(w->t, before);
        const int k = 2 / d, xs = (W / 6) * k + 10 * s.u;
        QCOMPARE(w->xs, xs);
        QCOMPARE(w->Panel3->text(), QStringLiteral("d = %1").arg(d));
        // Edge-on (theta = pi): E = 0, the patch is red k * r above the centre, the sheet navy.
        w->t = P;
        w->tempoTimer();
        QCOMPARE(w->Label2->text(), QStringLiteral("0.00"));
        QCOMPARE(at(x0, cy - k * s.r + 1), clRed);
        // (the edge is steep: b / a pixels of it fall on one column)
        QCOMPARE(at(x0, cy - k * s.r - 2 - s.b / s.a), clSilver);
        QCOMPARE(at(xs + 1, cy + s.r / 4), clNavy);
        // Face-on (theta = pi / 2): E = 4 / d^2, the shadow covers the patch, the sheet blue.
        w->t = P / 2;
        w->tempoTimer();
        QCOMPARE(w->Label2->text(), d == 1 ? QStringLiteral("4.00") : QStringLiteral("1.00"));
        QCOMPARE(at(x0, cy - k * s.r + 1), clBlack);
        QCOMPARE(at(xs + 1, cy + s.r / 4), clBlue);
        // At theta = pi / 6 the shadow is k * Round(r / 2) high either side.
        w->t = P / 6;
        w->tempoTimer();
        const int ny = int(std::nearbyint(s.r * std::sin(double(float(P / 6 * M_PI / P)))));
        QCOMPARE(w->ny, ny);
        QCOMPARE(at(x0, cy - k * ny + 1), clBlack);
        QCOMPARE(at(x0, cy - k * ny - 2 - s.b / s.a), clRed);
    }
    // The sheet moved: nothing is left where it stood at d = 1.
    QCOMPARE(at((W / 6) * 2 + 10 * s.u + 1, cy + s.r / 4), clBlack);
    // The normal vector: in front of the sheet at theta = 0, behind it at theta = pi.
    w->psuperficie->setValue(1);
    w->versore->click();
    const int xs = w->xs;
    w->t = 0;
    w->tempoTimer();
    QCOMPARE(at(xs, cy - s.r / 4), clSilver);
    w->t = P;
    w->tempoTimer();
    QCOMPARE(at(xs, cy + s.r / 4), clNavy);
}

void TestFlussol::stepModeKeysAndPause()
{
    Tunflusso *w = openAt(QSize(1000, 750));
    QVERIFY(w->normale->isChecked() && !w->continua->isEnabled() && w->pausa->isEnabled());
    int t = w->t;
    w->tempoTimer();
    QCOMPARE(w->t, t += 2);
    // Step by step: one step per continua or key, none in between.
    w->papasso->click();
    QVERIFY(!w->pausa->isEnabled() && w->continua->isEnabled() && !w->normale->isChecked());
    w->tempoTimer();
    QCOMPARE(w->t, t);
    // continua, a key to the window, a key to a control: the window sees them all.
    for (const std::function<void()> &next : std::initializer_list<std::function<void()>>{
             [w] { w->continua->click(); }, [w] { QTest::keyClick(w, Qt::Key_Return); },
             [w] { QTest::keyClick(w->psuperficie, Qt::Key_A); }}) {
        next();
        w->tempoTimer();
        w->tempoTimer();
        QCOMPARE(w->t, t += 2);
    }
    w->normale->click();
    w->tempoTimer();
    w->tempoTimer();
    QCOMPARE(w->t, t += 4);
    // Paused: neither a key nor a round through the step mode moves it on.
    w->pausa->click();
    w->tempoTimer();
    QTest::keyClick(w, Qt::Key_Space);
    w->tempoTimer();
    w->papasso->click();
    w->normale->click();
    QVERIFY(w->pausa->isChecked() && w->pausa->isEnabled());
    w->tempoTimer();
    QCOMPARE(w->t, t);
    w->pausa->click();
    w->tempoTimer();
    QCOMPARE(w->t, t + 2);
}

void TestFlussol::hintLine()
{
    Tunflusso *w = openAt(QSize(1000, 750));
    const QString key = QStringLiteral("  o premi il tasto");
    QCOMPARE(w->continua->statusTip(), key);
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QVERIFY(!w->Label8->isVisibleTo(w)); // no hint line in the continuous run
    w->papasso->click();
    QVERIFY(w->Label8->isVisibleTo(w));
    QCoreApplication::sendEvent(w->continua, &enter);
    QCOMPARE(w->Label8->text(), key + QStringLiteral("        (Invio)"));
    QVERIFY(w->invio->isVisibleTo(w) && !w->invio->isEnabled());
    // The key's glyph stands 5 px after the hint, in the gap before "(Invio)".
    const int end = w->Label8->x() + w->Label8->fontMetrics().horizontalAdvance(key);
    QVERIFY(qAbs(w->invio->x() - (end + 5)) <= 1);
    QCoreApplication::sendEvent(w->continua, &leave);
    QCOMPARE(w->Label8->text(), QString());
    QVERIFY(!w->invio->isVisibleTo(w));
}

void TestFlussol::metricsForLaterWindows()
{
    BarHeight = 40;
    ControlHeight = 30;
    ControlTop = 5;
    main->OpenSimulation(QStringLiteral("D1"));
    Tunflusso *w = openAt(QSize(1000, 750));
    const int h = QFontMetrics(w->font()).height();
    QVERIFY(BarHeight == 2 * h && ControlHeight == h + 4 && ControlTop == 5);
    QCOMPARE(w->sotto->height(), 2 * h);
    // A window opened before keeps its own; one opened after takes the new ones.
    QCOMPARE(ondep->metrics.barHeight, 40);
    ondep->Frame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    main->OpenSimulation(QStringLiteral("D1"));
    QCOMPARE(ondep->metrics.barHeight, 2 * h);
    QCOMPARE(ondep->metrics.controlHeight, h + 4);
    QCOMPARE(ondep->barrasotto->height(), qMax(2 * h, MinimumBarHeight));
}

void TestFlussol::lifeCycleAndEnglish()
{
    Tunflusso *w = openAt(QSize(1000, 750));
    QCOMPARE(w->windowTitle(), QStringLiteral("Irraggiamento"));
    QVERIFY(w->barrasotto->isVisibleTo(w) && w->Panel3->isVisibleTo(w));
    QCOMPARE(w->tempo->objectName(), QStringLiteral("cadenza"));
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->tempo->interval(), 50);
    w->velo->setValue(20);
    QCOMPARE(w->tempo->interval(), 180);
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    {
        HelpCapture help;
        w->guida->click();
        QCOMPARE(help.target, QStringLiteral("AiutoVastara/sistema.htm#irraggiamento"));
    }
    w->Frame()->close();
    QVERIFY(WindowClosed[27]);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(unflusso == nullptr);

    LanguageIndex = 1;
    w = openAt(QSize(1000, 750));
    QCOMPARE(w->windowTitle(), QStringLiteral("Irradiation"));
    QCOMPARE(SimWindow::HintOf(w->psuperficie), QStringLiteral("distance sheet-source"));
    w->papasso->click();
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(w->continua, &enter);
    QCOMPARE(w->Label8->text(), QStringLiteral("  or press the key         (Enter)"));
}

QTEST_MAIN(TestFlussol)
#include "test_flussol.moc"
