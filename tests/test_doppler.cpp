// The Doppler comparison window: the two strips' wavelengths, the source's limit, the
// signal, pause, the life cycle and texts, on a wide and a 4:3 client.
#include "globals.h"
#include "language/texts.h"
#include "sims/misc/doppler.h"
#include "vastara.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
// The band of a strip around its axis, one column of the picture.
QImage column(const QImage &pic, int x, int axis, int amp)
{
    return pic.copy(x, axis - amp - 2, 1, 2 * amp + 5);
}

// Whether the wave in [from, to) repeats every `lambda` pixels.
bool repeats(const QImage &pic, int from, int to, int axis, int amp, int lambda)
{
    for (int x = from; x + lambda < to; ++x)
        if (column(pic, x, axis, amp) != column(pic, x + lambda, axis, amp))
            return false;
    return true;
}
} // namespace

class TestDoppler : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void wavelengths_data();
    void wavelengths();
    void limitAndSignal();
    void pauseAndLifeCycle();
    void englishAndNarrowClient();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tdop *open();
};

void TestDoppler::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestDoppler::cleanup()
{
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Tdop *TestDoppler::open()
{
    ChildWidth = 1880 + 8;
    ChildHeight = 880 + 28;
    main->OpenSimulation(QStringLiteral("I32"));
    return dop;
}

void TestDoppler::wavelengths_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("wide") << QSize(1880, 880);
    QTest::newRow("4:3") << QSize(1000, 750);
}

void TestDoppler::wavelengths()
{
    QFETCH(QSize, client);
    auto *w = qobject_cast<Tdop *>(OpenAtClient(main, QStringLiteral("I32"), client));
    QVERIFY(w);
    w->tempo->stop();
    const int W = w->ClientWidth(), H = w->ClientHeight();
    const int u = W / 200, v = W / 80, x0 = W / 2, amp = H / 20 + 1;
    QCOMPARE(int(w->u), u);
    QCOMPARE(int(w->v), v);
    QCOMPARE(w->picture.size(), QSize(W, 3 * H / 4));
    // First tick (phase 1): the segment from the rest level, shifted u pixels to the right.
    w->tempoTimer();
    const int up = int(std::nearbyint(5.0 * H / 24));
    QCOMPARE(pixelAt(w->picture, x0 + 2 * u, up), clWhite);
    QCOMPARE(pixelAt(w->screen, x0 + 2 * u, up + H / 8), clWhite);
    // Still sources: both waves repeat every 2uv pixels.
    for (int t = 0; t < 100; ++t)
        w->tempoTimer();
    const int lo = 13 * H / 24, end = 9 * W / 10;
    QVERIFY(repeats(w->picture, x0 + 2 * u, end, 5 * H / 24, amp, 2 * u * v));
    QVERIFY(!repeats(w->picture, x0 + 2 * u, end, 5 * H / 24, amp, 2 * u * v - 1));
    QVERIFY(repeats(w->picture, x0 + 2 * u, end, lo, amp, 2 * u * v));
    // At the classic width of 535 the wave goes 535 div 200 pixels a tick and the source 1:
    // ahead of the approaching source the wave is design / (design - 1) times shorter than
    // the still one, behind the receding one design / (design + 1); the same at any width.
    const int design = 535 / 200;
    const int ahead = 2 * u * v * (design - 1) / design, behind = 2 * u * v * (design + 1) / design;
    w->avvic->click();
    QCOMPARE(w->Panel4->text(), QStringLiteral("Sorgente in avvicinamento"));
    QCOMPARE(w->Panel4->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    for (int t = 0; t < 100; ++t)
        w->tempoTimer();
    QCOMPARE(w->c, 100 * u / 2);
    QVERIFY(repeats(w->picture, x0 + w->c + 2 * u, end, lo, amp, ahead));
    QVERIFY(!repeats(w->picture, x0 + w->c + 2 * u, end, lo, amp, ahead + 1));
    QVERIFY(repeats(w->picture, x0 + 2 * u, end, 5 * H / 24, amp, 2 * u * v));
    w->allon->click();
    QCOMPARE(w->Panel4->text(), QStringLiteral("Sorgente in allontanamento"));
    QCOMPARE(w->Panel4->palette().color(QPalette::WindowText), QColor(0, 255, 255));
    for (int t = 0; t < 200; ++t)
        w->tempoTimer();
    QCOMPARE(w->c, -50 * u);
    QVERIFY(repeats(w->picture, x0 + w->c + 2 * u, end, lo, amp, behind));
    // Behind the lever nothing of the wave is left.
    for (int x = 0; x < x0 + w->c - 8 * v; ++x)
        for (int y = lo - amp; y < lo + amp; ++y)
            QCOMPARE(pixelAt(w->picture, x, y), clBlack);
}

void TestDoppler::limitAndSignal()
{
    Tdop *w = open();
    const int W = w->ClientWidth(), L = 7 * W / 20, u = W / 200;
    w->c = L - u / 2;
    w->avvic->click();
    w->tempoTimer();
    QVERIFY(w->avvic->isChecked());
    w->tempoTimer();
    QCOMPARE(w->c, L + 1);
    QCOMPARE(int(w->s), 0);
    QVERIFY(w->quiete->isChecked() && !w->avvic->isChecked() && !w->allon->isChecked());
    QCOMPARE(w->Panel4->text(), QStringLiteral("Sorgente in quiete"));
    const int H = w->ClientHeight();
    // Further presses the same way take it no farther; the strip keeps its width.
    for (int k = 0; k < 20; ++k) {
        w->avvic->click();
        w->tempoTimer();
    }
    QCOMPARE(w->c, L + 1);
    QVERIFY(w->quiete->isChecked());
    QVERIFY(w->lowerTarget.width() > 0 && w->lowerSource.width() == w->lowerTarget.width());
    // The opposite way brings it back.
    w->allon->click();
    w->tempoTimer();
    QCOMPARE(w->c, int(L + 1 - u / 2.0));
    // The same on the far side.
    w->c = -L;
    w->tempoTimer();
    for (int k = 0; k < 5; ++k) {
        w->allon->click();
        w->tempoTimer();
    }
    QCOMPARE(w->c, -L - 1);

    // The signal: once per period, the phase reversed, and it may go below zero.
    const int v = w->v;
    while (w->p != 2 * v - 1)
        w->tempoTimer();
    QVERIFY(w->nuvole->isEnabled());
    w->nuvole->click();
    QCOMPARE(w->p, 1 - v);
    QVERIFY(!w->nuvole->isEnabled());
    const Real before = w->y1;
    w->tempoTimer();
    QVERIFY(std::abs(w->y1 - H / 20.0 * std::sin((1.0 - v) * M_PI / v)) < 1e-3);
    QVERIFY(w->y1 != before);
    for (int t = 1; t < v - 1; ++t)
        w->tempoTimer();
    QVERIFY(!w->nuvole->isEnabled());
    QCOMPARE(w->p, 0);
    w->tempoTimer();
    QVERIFY(w->nuvole->isEnabled());
}

void TestDoppler::pauseAndLifeCycle()
{
    Tdop *w = open();
    QCOMPARE(w->ClientWidth(), 1880);
    QCOMPARE(w->ClientHeight(), 880);
    QCOMPARE(w->windowTitle(), QStringLiteral("Doppler : confronto tra onde"));
    QCOMPARE(SimWindow::HintOf(w->allon), QStringLiteral("in allontanamento"));
    QCOMPARE(SimWindow::HintOf(w->quiete), QStringLiteral("in quiete"));
    QCOMPARE(SimWindow::HintOf(w->avvic), QStringLiteral("in avvicinamento"));
    QCOMPARE(SimWindow::HintOf(w->nuvole), QStringLiteral("segnale"));
    QVERIFY(!WindowClosed[5]);
    QVERIFY(!main->BackdropVisible());
    QVERIFY(w->quiete->isChecked());
    QCOMPARE(w->cadenza->value(), 110);
    QCOMPARE(w->tempo->interval(), 90);
    QVERIFY(w->tempo->isActive());
    w->cadenza->setValue(150);
    QCOMPARE(w->tempo->interval(), 50);
    // Labels S, O and O' at their places.
    const int W = 1880, H = 880, v = W / 80;
    QCOMPARE(w->Label1->pos(), QPoint(W / 2 - 8 * v, H / 3));
    QCOMPARE(w->Label2->pos(), QPoint(W - 3 * v, H / 3));
    QCOMPARE(w->Label3->pos(), QPoint(W - 3 * v, 2 * H / 3));
    // Pause: nothing moves, the picture is still shown.
    w->avvic->click();
    for (int t = 0; t < 7; ++t)
        w->tempoTimer();
    w->pausa->setChecked(true);
    const QImage held = w->picture;
    const int c = w->c, p = w->p;
    w->screen.fill(Qt::red);
    for (int t = 0; t < 5; ++t)
        w->tempoTimer();
    QCOMPARE(w->picture, held);
    QCOMPARE(w->c, c);
    QCOMPARE(w->p, p);
    QCOMPARE(w->screen.copy(0, H / 8, W, 3 * H / 4), held);
    w->pausa->setChecked(false);
    w->tempoTimer();
    QCOMPARE(w->c, 8 * (W / 200) / 2);
    // Deactivation stops the timer, activation starts it again.
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    {
        HelpCapture help;
        w->guida->click();
        QCOMPARE(help.target, QStringLiteral("AiutoVastara/varie.htm#confronto"));
    }
    w->Frame()->close();
    QVERIFY(WindowClosed[5]);
    QVERIFY(main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(dop == nullptr);
}

void TestDoppler::englishAndNarrowClient()
{
    main->SwitchLanguage(1);
    ChildWidth = 535 + 8;
    ChildHeight = 400 + 30;
    main->OpenSimulation(QStringLiteral("I32"));
    Tdop *w = dop;
    QVERIFY(w);
    QCOMPARE(w->ClientWidth(), 535);
    QCOMPARE(w->windowTitle(), QStringLiteral("Doppler: comparison between waves"));
    QCOMPARE(SimWindow::HintOf(w->avvic), QStringLiteral("approaching"));
    QCOMPARE(w->Panel4->text(), QStringLiteral("Still source"));
    w->allon->click();
    QCOMPARE(w->Panel4->text(), QStringLiteral("Going away source"));
    // The creation size of the classic window: period 12 ticks, wavelength 24 pixels.
    QCOMPARE(int(w->u), 2);
    QCOMPARE(int(w->v), 6);
    w->quiete->click();
    for (int t = 0; t < 120; ++t)
        w->tempoTimer();
    const int H = w->ClientHeight();
    QVERIFY(repeats(w->picture, 535 / 2 + 4, 9 * 535 / 10, 5 * H / 24, H / 20 + 1, 24));
    QVERIFY(repeats(w->picture, 535 / 2 + 4, 9 * 535 / 10, 13 * H / 24, H / 20 + 1, 24));
    QCOMPARE(w->Label2->pos(), QPoint(535 - 18, H / 3));
}

QTEST_MAIN(TestDoppler)
#include "test_doppler.moc"
