// The Earth-oscillation window: the globe of each mode (disc, equator, meridians, twist),
// the preparation and its progress bar, the mode switch, the ticks with rotation and pause,
// pictures drawn for the creation's height, and the life cycle.
#include "globals.h"
#include "language/texts.h"
#include "sims/earthquakes/oscillazione.h"
#include "vastara.h"

#include <QComboBox>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
constexpr TColor Ocean = RGB(0, 128, 192);
constexpr long double pi = 3.14159265358979323846L;

int rnd(long double x)
{
    return int(std::nearbyintl(x));
}

// The globe of a picture drawn for client height CH.
struct Globe {
    int CH;
    long double cx() const { return 3 * CH / 10.0L; }
    long double cy() const { return 11 * CH / 40.0L; }
    long double r() const { return CH / 4.0L; }
    float u() const { return float(CH / 96.0L); }
    // Swing in pixels at relative amplitude a: 4 px a unit on the globe of the 535-px-wide
    // 4:3 client, as large a part of the radius on any other globe.
    long double swing(long double a) const { return 4 * a * r() / (535 * 3 / 16.0L); }
    // Point of meridian h at latitude l on the undeformed globe.
    QPoint meridian(int h, int l) const
    {
        const long double phi = pi * l / 90;
        return QPoint(rnd(cx() + h * (long double)u() * std::cos(phi)), rnd(cy() - r() * std::sin(phi)));
    }
    // The disc's box for amplitude A with no tilt.
    QRect disc(long double A) const
    {
        const long double s = A * std::sin(-46 * pi / 90);
        return Rect(rnd(cx() - r() + s), rnd(cy() - r() - s), rnd(cx() + r() - s), rnd(cy() + r() + s));
    }
};

bool isWhite(const QImage &g, QPoint p)
{
    return pixelAt(g, p.x(), p.y()) == clWhite;
}

// The disc covers exactly its box on the rows and columns near its centre; at rotation step
// 0 the meridian h = 24 runs just outside its right edge, and the meridians meet at the
// south pole on the row under it.
void checkDisc(const QImage &g, const QRect &box, int j)
{
    const int y = box.center().y() + 2, x = box.center().x() + 14;
    QCOMPARE(pixelAt(g, box.left() - 1, y), clBlack);
    QVERIFY(pixelAt(g, box.left() + 1, y) != clBlack);
    QCOMPARE(pixelAt(g, box.right() + 1, y), j == 0 ? clWhite : clBlack);
    QCOMPARE(pixelAt(g, box.right() + 2, y), clBlack);
    QVERIFY(pixelAt(g, box.right() - 1, y) != clBlack);
    QCOMPARE(pixelAt(g, x, box.top() - 1), clBlack);
    QVERIFY(pixelAt(g, x, box.top() + 1) != clBlack);
    QCOMPARE(pixelAt(g, x, box.bottom() + 2), clBlack);
    QVERIFY(pixelAt(g, x, box.bottom() - 1) != clBlack);
}

// Meridian indices drawn at rotation step j.
QList<int> meridians(int j)
{
    QList<int> hs;
    for (int h = j - 24; h <= 24; h += 6)
        hs << h;
    return hs;
}
} // namespace

class TestOscillazione : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void modeA();
    void modeADeformsForEveryDraw_data();
    void modeADeformsForEveryDraw();
    void modeBAndSwitching();
    void ticksRotationPause();
    void creationHeightAndLongItem();
    void lifeCycle();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Toscilla *openAt(QSize client);
    void undeformed(const QImage &g, int CH, int j);
};

void TestOscillazione::init()
{
    main = new TVastaras(dir.filePath("Vastara.cfg"), "it_IT");
    main->FinishStartScreen();
    RandSeed = 0; // as at program start
}

void TestOscillazione::cleanup()
{
    delete main;
    resetLanguageTables();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Toscilla *TestOscillazione::openAt(QSize client)
{
    ChildWidth = client.width() + 8;
    ChildHeight = client.height() + 28;
    main->OpenSimulation(QStringLiteral("D5"));
    const QSize off = oscilla->size() - client;
    if (!off.isNull()) {
        oscilla->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RandSeed = 0;
        ChildWidth -= off.width();
        ChildHeight -= off.height();
        main->OpenSimulation(QStringLiteral("D5"));
    }
    return oscilla;
}

// The undeformed globe: round disc, equator across it, the meridians of step j.
void TestOscillazione::undeformed(const QImage &g, int CH, int j)
{
    const Globe G{CH};
    checkDisc(g, G.disc(0), j);
    const int ye = 11 * CH / 40;
    for (int x = rnd(G.cx() - 24 * (long double)G.u()); x < rnd(G.cx() + 24 * (long double)G.u()); ++x)
        QVERIFY(isWhite(g, QPoint(x, ye)));
    for (int h : meridians(j))
        for (int l = -45; l < 45; ++l) // up to the north pole, where the line ends
            if (G.meridian(h, l) != G.meridian(h, 45))
                QVERIFY(isWhite(g, G.meridian(h, l)));
    // One crossing of a row per meridian.
    const int y = G.meridian(0, 10).y();
    int runs = 0;
    for (int x = 1; x < g.width(); ++x)
        runs += isWhite(g, QPoint(x, y)) && !isWhite(g, QPoint(x - 1, y));
    QCOMPARE(runs, int(meridians(j).size()));
}

void TestOscillazione::modeA()
{
    Toscilla *w = openAt(QSize(1880, 880));
    const int CH = 880, S = 3 * CH / 5;
    QCOMPARE(w->tiltAngle, 0.0f);
    // The bar counted every step of the preparation and is gone.
    int steps = 0;
    for (int j = 0; j < 6; ++j)
        steps += 5 * (2 * 93 + int(meridians(j).size()));
    QVERIFY(w->Progressione->maximum() == steps && w->Progressione->value() == steps);
    QVERIFY(!w->Progressione->isVisibleTo(w) && w->barrasotto->isVisibleTo(w));
    // Only the mode shown has pictures.
    for (int j = 0; j < 6; ++j)
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(w->Globe(k, j, 1).size(), QSize(S, S));
            QVERIFY(w->Globe(k, j, 2).isNull());
        }
    for (int j = 0; j < 6; ++j)
        undeformed(w->Globe(2, j, 1), CH, j);
    // Amplitude steps: the disc flattened, then elongated; the equator follows its width.
    const Globe G{CH};
    for (int k : {0, 1, 3, 4}) {
        const long double A = G.swing(-0.8L + 0.4L * k);
        const QImage &g = w->Globe(k, 1, 1);
        checkDisc(g, G.disc(A), 1);
        const int xL = rnd(G.cx() - 24 * (long double)G.u() - A), xR = rnd(G.cx() + 24 * (long double)G.u() + A);
        const int ye = 11 * CH / 40;
        QVERIFY(!isWhite(g, QPoint(xL - 1, ye)));
        QVERIFY(!isWhite(g, QPoint(xR, ye)));
        for (int x = xL; x < xR; ++x)
            QVERIFY(isWhite(g, QPoint(x, ye)));
    }
}

void TestOscillazione::modeADeformsForEveryDraw_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("wide") << QSize(1880, 880);
    QTest::newRow("4:3") << QSize(1024, 768);
}

// Whatever tilt the generator draws, the globe's sides move by a visible part of its radius
// (at least 2 %) when it is most flattened and most elongated.
void TestOscillazione::modeADeformsForEveryDraw()
{
    QFETCH(QSize, client);
    Toscilla *w = openAt(client);
    const int row = 11 * client.height() / 40 + 2; // just under the equator
    const long double r = client.height() / 4.0L;
    auto halfWidth = [row](const QImage &g) {
        int left = g.width(), right = -1;
        for (int x = 0; x < g.width(); ++x)
            if (pixelAt(g, x, row) != clBlack)
                left = qMin(left, x), right = x;
        return (right - left + 1) / 2.0L;
    };
    for (int R = 0; R < 8; ++R) {
        quint32 seed = 0;
        while ((RandSeed = seed, Random(8)) != R)
            ++seed;
        RandSeed = seed;
        w->modeReady[1] = false;
        w->disegnaClick();
        const long double round = halfWidth(w->Globe(2, 1, 1));
        QVERIFY(std::fabs(round - r) <= 1);
        for (int k : {0, 4})
            QVERIFY2(std::fabs(halfWidth(w->Globe(k, 1, 1)) - round) >= 0.02L * r, qPrintable(QString::number(R)));
    }
}

void TestOscillazione::modeBAndSwitching()
{
    Toscilla *w = openAt(QSize(1024, 768));
    const int CH = 768;
    QVERIFY(w->disegna->isEnabled());
    w->tipo->setCurrentIndex(1);
    QVERIFY(w->disegna->isEnabled());
    const quint32 seed = RandSeed;
    const int R = Random(8);
    RandSeed = seed;
    int shownWhileRunning = 0, updates = 0;
    connect(w->Progressione, &QProgressBar::valueChanged, w, [&](int value) {
        updates += value > 0;
        shownWhileRunning += value > 0 && w->Progressione->isVisibleTo(w);
    });
    w->disegna->click();
    QVERIFY(!w->disegna->isEnabled() && w->modeShown == 2 && w->modeReady[2]);
    QCOMPARE(w->tiltAngle, static_cast<float>(R * pi / 28));
    // The bar was shown while it moved, and is gone, full.
    QVERIFY(updates > 30 && shownWhileRunning == updates);
    QVERIFY(!w->Progressione->isVisibleTo(w) && w->Progressione->value() == w->Progressione->maximum());
    // At step 2 mode B is the undeformed globe too; elsewhere the hemispheres twist apart.
    const Globe G{CH};
    for (int j = 0; j < 6; ++j) {
        undeformed(w->Globe(2, j, 2), CH, j);
        QCOMPARE(w->Globe(2, j, 2), w->Globe(2, j, 1));
    }
    for (int k : {0, 4})
        for (int l : {22, -22}) {
            const long double phi = pi * l / 90;
            const long double twist = 24.0L * (k - 2) * std::sin(2 * phi);
            const QPoint bent(rnd(G.cx() - 0.2L * twist), G.meridian(0, l).y());
            QVERIFY(isWhite(w->Globe(k, 0, 2), bent));
            QCOMPARE(pixelAt(w->Globe(k, 0, 2), G.meridian(0, l).x(), bent.y()), Ocean);
        }
    // Back to mode A: nothing is drawn again.
    const qint64 key = w->Globe(4, 3, 2).cacheKey();
    const float tilt = w->tiltAngle;
    updates = 0;
    w->tipo->setCurrentIndex(0);
    QVERIFY(w->disegna->isEnabled());
    w->disegna->click();
    QVERIFY(w->modeShown == 1 && updates == 0 && w->tiltAngle == tilt && w->Globe(4, 3, 2).cacheKey() == key);
    // The same mode again: the list touched enables the button, which changes nothing.
    emit w->tipo->activated(0);
    QVERIFY(w->disegna->isEnabled());
    w->disegna->click();
    QVERIFY(w->modeShown == 1 && updates == 0);
}

void TestOscillazione::ticksRotationPause()
{
    Toscilla *w = openAt(QSize(1024, 768));
    const int CW = 1024, CH = 768, S = 3 * CH / 5;
    const QRect place(CW / 2 - 3 * CH / 10, CH / 4, S, S);
    const int steps[16] = {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 2, 2, 1, 1};
    QVERIFY(w->beat == 0 && w->turn == 0);
    for (int n = 1; n <= 40; ++n) {
        if (n == 21)
            w->rotazion->click();
        w->tempoTimer();
        const int turn = n <= 20 ? 0 : (n - 20) % 6;
        QVERIFY(w->beat == (n & 15) && w->turn == turn);
        QCOMPARE(w->screen.copy(place), w->Globe(steps[n & 15], turn, 1));
    }
    w->pausa->setChecked(true);
    const QImage held = w->screen.copy();
    for (int n = 0; n < 5; ++n)
        w->tempoTimer();
    QVERIFY(w->beat == (40 & 15) && w->turn == 20 % 6 && w->screen == held);
}

void TestOscillazione::creationHeightAndLongItem()
{
    // A long item of the fourth language: the list is as wide as it needs.
    const QString longItem(100, QLatin1Char('W'));
    ControlTexts[70][LanguageIndex] = longItem;
    ChildWidth = 1200;
    ChildHeight = 800;
    SimWindow *made = RegisteredFactory(QStringLiteral("D5"))(main);
    auto *w = static_cast<Toscilla *>(made);
    w->FormCreate();
    QVERIFY(!w->barrasotto->isVisibleTo(w));
    QCOMPARE(w->tipo->itemText(0), longItem);
    QVERIFY(w->tipo->width() >= QFontMetrics(w->tipo->font()).horizontalAdvance(longItem) + 7);
    QVERIFY(w->tipo->width() > 255);
    // Resized before the first activation and again before mode B: both modes are drawn
    // for the creation's height and fit their pictures.
    const int CH = w->ClientHeight();
    w->resize(w->width(), CH - 150);
    w->FormActivate();
    QVERIFY(w->barrasotto->isVisibleTo(w));
    w->resize(w->width(), CH + 100);
    w->tipo->setCurrentIndex(1);
    w->disegnaClick();
    for (int m : {1, 2}) {
        QCOMPARE(w->Globe(2, 0, m).size(), QSize(3 * CH / 5, 3 * CH / 5));
        undeformed(w->Globe(2, 0, m), CH, 0);
    }
    w->FormClose();
    delete w;
}

void TestOscillazione::lifeCycle()
{
    Toscilla *w = openAt(QSize(1024, 768));
    QCOMPARE(w->windowTitle(), QStringLiteral("Oscillazioni della Terra"));
    QVERIFY(!WindowClosed[15] && !main->BackdropVisible());
    QVERIFY(w->sotto->isVisibleTo(w) && w->sotto->height() == w->metrics.barHeight);
    QCOMPARE(w->tipo->itemText(1), QStringLiteral("modo B"));
    // Hints off, yet every control shows its own tooltip.
    QVERIFY(!HintsOn);
    for (QWidget *c : std::initializer_list<QWidget *>{w->pausa, w->cadenza, w->rotazion, w->tipo, w->disegna, w->guida})
        QVERIFY(!c->toolTip().isEmpty());
    QCOMPARE(w->rotazion->toolTip(), QStringLiteral("rotazione della Terra"));
    QCOMPARE(w->tempo->interval(), 90);
    QCOMPARE(w->cadenza->value(), 90);
    w->cadenza->setValue(120);
    QCOMPARE(w->tempo->interval(), 80);
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/terremoti.htm#oscillazioni"));
    w->Frame()->close();
    QVERIFY(WindowClosed[15] && main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(oscilla == nullptr);
}

QTEST_MAIN(TestOscillazione)
#include "test_oscillazione.moc"
