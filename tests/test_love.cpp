// The Love-wave window: the slab against the wave's geometry on a wide and on a 4:3 client
// (reaching the right edge on both), the period, pause, the phase kept between windows,
// texts, tooltips and life cycle.
#include "globals.h"
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
const long double PI = 3.14159265358979323846264338327950288L;

// A point of column b at depth offset h for phase t; `ahead` gives the front lines' vertex
// one column to the right at height y0 (h = 35).
QPoint slabPoint(int b, int h, int t, bool ahead = false, int y0 = 80)
{
    const float d = float(15 * std::sin(PI * b / 10 + PI * t / 20));
    const long double e = d + (long double)h;
    const long double s = std::sin(2 * PI / 5), c = std::cos(2 * PI / 5);
    return QPoint(int(std::nearbyintl(19 * (b - (ahead ? 2 : 3)) - s * e)), int(std::nearbyintl(y0 + c * e)));
}

// Checks a picture drawn at phase t.
void checkPicture(const QImage &pic, int t)
{
    const int W = pic.width();
    for (int b = 0; 19 * (b - 3) - 48 < W; ++b)
        for (QPoint p : {slabPoint(b, -35, t), slabPoint(b, 35, t), slabPoint(b, 35, t, true, 80),
                         slabPoint(b, 35, t, true, 100)})
            if (pic.rect().contains(p))
                QCOMPARE(pixelAt(pic, p.x(), p.y()), Red);
    for (int x = 0; x < W; ++x) {
        QCOMPARE(pixelAt(pic, x, 60), clBlack);
        QCOMPARE(pixelAt(pic, x, 130), Red);
        QCOMPARE(pixelAt(pic, x, 131), clBlack);
        QCOMPARE(pixelAt(pic, x, pic.height() - 1), clBlack);
        // The slab, outlined by its back edge, runs to the right edge.
        const TColor under = pixelAt(pic, x, 125);
        QVERIFY2(under == Maroon || under == Red, qPrintable(QString::number(x)));
        bool back = false;
        for (int y = 63; y <= 76; ++y)
            back = back || pixelAt(pic, x, y) == Red;
        QVERIFY2(back, qPrintable(QString::number(x)));
    }
}
} // namespace

class TestLove : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void slabFollowsTheWave_data();
    void slabFollowsTheWave();
    void textsHintsAndLifeCycle();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tondel *open(int cw = 0, int ch = 0);
};

void TestLove::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestLove::cleanup()
{
    delete main;
    main = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    LanguageIndex = 0;
}

// Opens the window from its menu item, with a client of cw x ch when given.
Tondel *TestLove::open(int cw, int ch)
{
    main->OpenSimulation(QStringLiteral("D3"));
    if (cw && ondel) {
        const QSize margin = ondel->Frame()->size() - ondel->size();
        ondel->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ChildWidth = cw + margin.width();
        ChildHeight = ch + margin.height();
        main->OpenSimulation(QStringLiteral("D3"));
    }
    return ondel;
}

void TestLove::slabFollowsTheWave_data()
{
    QTest::addColumn<int>("cw");
    QTest::addColumn<int>("ch");
    QTest::newRow("wide") << 1880 << 880;
    QTest::newRow("4:3") << 800 << 600;
}

void TestLove::slabFollowsTheWave()
{
    QFETCH(int, cw);
    QFETCH(int, ch);
    Tondel *w = open(cw, ch);
    QVERIFY(w);
    QCOMPARE(w->size(), QSize(cw, ch));
    const int W = cw / 2, H3 = 3 * ch / 8;
    const QRect shown(cw / 4, 5 * ch / 16, W, H3);
    QCOMPARE(w->Bevel1->geometry(), shown.adjusted(-1, -1, 2, 2));
    // One period of 40 different pictures, then the same again.
    QSet<QByteArray> seen;
    QByteArray first;
    for (int k = 0; k <= Tondel::Period; ++k) {
        const int t = Tondel::phase;
        w->tempoTimer();
        QCOMPARE(int(Tondel::phase), (t + 1) % Tondel::Period);
        const QImage pic = w->screen.copy(shown);
        QCOMPARE(pic, w->picture);
        if (k % 7 == 0)
            checkPicture(pic, t);
        const QByteArray bytes(reinterpret_cast<const char *>(pic.constBits()), pic.sizeInBytes());
        if (k == 0)
            first = bytes;
        else if (k == Tondel::Period)
            QCOMPARE(bytes, first);
        else
            seen.insert(bytes);
    }
    QCOMPARE(seen.size(), Tondel::Period - 1);
    QVERIFY(!seen.contains(first));
    // Paused: the phase holds and the same picture is shown at every tick.
    w->pausa->click();
    const quint8 held = Tondel::phase;
    const QImage last = w->picture;
    for (int k = 0; k < 5; ++k) {
        w->screen.fill(Qt::white);
        w->tempoTimer();
        QCOMPARE(Tondel::phase, held);
        QCOMPARE(w->screen.copy(shown), last);
    }
    w->pausa->click();
    w->tempoTimer();
    checkPicture(w->picture, held);
}

void TestLove::textsHintsAndLifeCycle()
{
    main->SwitchLanguage(1);
    main->show();
    QVERIFY(QTest::qWaitForWindowActive(main));
    Tondel *w = open();
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
    HintsOn = true;
    w->FormDeactivate();
    w->FormActivate();
    QCOMPARE(w->guida->toolTip(), QStringLiteral("help"));
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("HelpVastara/terremoti.htm#love"));
    // 100 ms at creation, whatever the track bar says, until it is moved.
    QCOMPARE(w->cadenza->value(), 120);
    QCOMPARE(w->tempo->interval(), 100);
    w->cadenza->setValue(195);
    QCOMPARE(w->tempo->interval(), 5);
    w->cadenza->setValue(5);
    QCOMPARE(w->tempo->interval(), 195);
    QVERIFY(w->tempo->isActive());
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    // The phase belongs to the unit: closing and opening again goes on from it.
    for (int k = 0; k < 7; ++k)
        w->tempoTimer();
    const quint8 kept = Tondel::phase;
    QVERIFY(!WindowClosed[11]);
    QVERIFY(!main->BackdropVisible());
    w->Frame()->close();
    QVERIFY(WindowClosed[11]);
    QVERIFY(main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(ondel == nullptr);
    w = open();
    QCOMPARE(Tondel::phase, kept);
    w->tempoTimer();
    checkPicture(w->picture, kept);
}

QTEST_MAIN(TestLove)
#include "test_love.moc"
