// The Love-wave window: the slab against the wave's geometry on a wide and on a 4:3 client
// (reaching the right edge on both), the period, pause, the phase kept between windows,
// texts, tooltips and life cycle.
#include "language/texts.h"
#include "sims/earthquakes/love.h"
#include "vastara.h"

#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
const TColor Red = RGB(255, 0, 0), Maroon = RGB(128, 0, 0);

// Column b at depth offset h for phase t: x = 19 (b - 3) - s (d + h), y = y0 + c (d + h);
// the front lines take the column one place right (shift 2 instead of 3) at y0 = 80 or 100.
QPoint at(int b, int h, int t, int shift = 3, int y0 = 80)
{
    const long double pi = 3.14159265358979323846264338327950288L;
    const float d = float(15 * std::sin(pi * b / 10 + pi * t / 20));
    const long double e = d + (long double)h;
    return QPoint(int(std::nearbyintl(19 * (b - shift) - std::sin(2 * pi / 5) * e)),
                  int(std::nearbyintl(y0 + std::cos(2 * pi / 5) * e)));
}

void checkPicture(const QImage &pic, int t)
{
    for (int b = 0; 19 * (b - 3) - 48 < pic.width(); ++b)
        for (QPoint p : {at(b, -35, t), at(b, 35, t), at(b, 35, t, 2, 80), at(b, 35, t, 2, 100)})
            if (pic.rect().contains(p))
                QCOMPARE(pixelAt(pic, p.x(), p.y()), Red);
    for (int x = 0; x < pic.width(); ++x) {
        QCOMPARE(pixelAt(pic, x, 60), clBlack);
        QCOMPARE(pixelAt(pic, x, 130), Red);
        QCOMPARE(pixelAt(pic, x, 131), clBlack);
        // The slab, outlined by its back edge, runs to the right edge.
        QVERIFY(pixelAt(pic, x, 125) == Maroon || pixelAt(pic, x, 125) == Red);
        int back = 0;
        for (int y = 63; y <= 76; ++y)
            back += pixelAt(pic, x, y) == Red;
        QVERIFY(back > 0);
    }
}
} // namespace

class TestLove : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
        main->FinishStartScreen();
    }
    void cleanup()
    {
        delete main;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        LanguageIndex = 0;
    }
    void slabPeriodAndPause();
    void textsHintsAndLifeCycle();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
};

void TestLove::slabPeriodAndPause()
{
    for (auto [cw, ch] : {std::pair(1880, 880), std::pair(800, 600)}) {
        main->OpenSimulation(QStringLiteral("D3"));
        const QSize margin = ondel->Frame()->size() - ondel->size();
        ondel->Frame()->close();
        ChildWidth = cw + margin.width();
        ChildHeight = ch + margin.height();
        main->OpenSimulation(QStringLiteral("D3"));
        Tondel *w = ondel;
        QCOMPARE(w->size(), QSize(cw, ch));
        const QRect shown(cw / 4, 5 * ch / 16, cw / 2, 3 * ch / 8);
        QCOMPARE(w->Bevel1->geometry(), shown.adjusted(-1, -1, 2, 2));
        // 40 different pictures, then the same again.
        QList<QImage> period;
        for (int k = 0; k <= Tondel::Period; ++k) {
            const int t = Tondel::phase;
            w->tempoTimer();
            QCOMPARE(int(Tondel::phase), (t + 1) % Tondel::Period);
            period << w->screen.copy(shown);
            if (k % 7 == 0)
                checkPicture(period.last(), t);
        }
        QCOMPARE(period.last(), period.first());
        for (int k = 1; k < Tondel::Period; ++k)
            QVERIFY(period[k] != period[k - 1] && period[k] != period[0]);
        // Paused: the phase holds and the same picture is shown at every tick.
        w->pausa->click();
        const quint8 held = Tondel::phase;
        for (int k = 0; k < 3; ++k) {
            w->screen.fill(Qt::white);
            w->tempoTimer();
            QCOMPARE(Tondel::phase, held);
            QCOMPARE(w->screen.copy(shown), period.last());
        }
    }
}

void TestLove::textsHintsAndLifeCycle()
{
    main->SwitchLanguage(1);
    main->show();
    QVERIFY(QTest::qWaitForWindowActive(main));
    main->OpenSimulation(QStringLiteral("D3"));
    Tondel *w = ondel;
    QCOMPARE(w->windowTitle(), QStringLiteral("Love's waves"));
    QVERIFY(!(w->Frame()->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
    QVERIFY(w->barrasotto->isVisibleTo(w));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->cadenza));
    // pausa and cadenza always show their tooltips; guida only with HintsOn.
    HintsOn = false;
    w->FormDeactivate();
    w->FormActivate();
    QCOMPARE(w->pausa->toolTip(), QStringLiteral("pause"));
    QCOMPARE(w->cadenza->toolTip(), QStringLiteral("execution speed"));
    QVERIFY(w->guida->toolTip().isEmpty());
    // 100 ms at creation, whatever the track bar says, until it is moved.
    QCOMPARE(w->cadenza->value(), 120);
    QCOMPARE(w->tempo->interval(), 100);
    w->cadenza->setValue(5);
    QCOMPARE(w->tempo->interval(), 195);
    // The phase belongs to the unit: closing and opening again goes on from it.
    for (int k = 0; k < 7; ++k)
        w->tempoTimer();
    const quint8 kept = Tondel::phase;
    QVERIFY(!WindowClosed[11] && !main->BackdropVisible());
    w->Frame()->close();
    QVERIFY(WindowClosed[11] && main->BackdropVisible() && w->picture.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(ondel == nullptr);
    main->OpenSimulation(QStringLiteral("D3"));
    QCOMPARE(Tondel::phase, kept);
    ondel->tempoTimer();
    checkPicture(ondel->picture, kept);
}

QTEST_MAIN(TestLove)
#include "test_love.moc"
