// The S-wave window: its six pictures against the wave's heights, the loop, the sheared
// cell, pause, rate, texts and life cycle, on a wide and on a 4:3 client.
#include "globals.h"
#include "language/texts.h"
#include "sims/earthquakes/secondarie.h"
#include "vastara.h"

#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
const TColor Red = RGB(255, 0, 0), Maroon = RGB(128, 0, 0), Black = clBlack, White = clWhite;

// Top of column b in picture f for a client ch high: Round(ch div 8 - 3 sin(pi b/8 + pi f/3)).
int top(int b, int f, int ch)
{
    return int(std::nearbyintl((ch / 8) - 3 * std::sin(3.14159265358979323846264338327950288L * b / 8
                                                       + 3.14159265358979323846264338327950288L * f / 3)));
}
} // namespace

class TestSecondarie : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void picturesFollowTheWave_data();
    void picturesFollowTheWave();
    void shearedCellAndPause();
    void rateTextsAndLifeCycle();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tondes *open(int cw = 0, int ch = 0);
};

void TestSecondarie::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestSecondarie::cleanup()
{
    delete main;
    main = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Opens the window from its menu item, with a client of cw x ch when given.
Tondes *TestSecondarie::open(int cw, int ch)
{
    main->OpenSimulation(QStringLiteral("D2"));
    if (cw && ondes) {
        const QSize margin = ondes->Frame()->size() - ondes->size();
        ondes->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ChildWidth = cw + margin.width();
        ChildHeight = ch + margin.height();
        main->OpenSimulation(QStringLiteral("D2"));
    }
    return ondes;
}

void TestSecondarie::picturesFollowTheWave_data()
{
    QTest::addColumn<int>("cw");
    QTest::addColumn<int>("ch");
    QTest::newRow("wide") << 1880 << 880;
    QTest::newRow("4:3") << 800 << 600;
}

void TestSecondarie::picturesFollowTheWave()
{
    QFETCH(int, cw);
    QFETCH(int, ch);
    Tondes *w = open(cw, ch);
    QVERIFY(w && w->FirstActivationDone());
    QCOMPARE(w->size(), QSize(cw, ch));
    const int W = cw / 2, H3 = 3 * ch / 8;
    for (int f = 0; f < Tondes::FrameCount; ++f) {
        const QImage &pic = Tondes::frames[f];
        QCOMPARE(pic.size(), QSize(W, H3));
        for (int b = 0; 13 * b + 44 < W; ++b) {
            const int x = 13 * b, g = top(b, f, ch), gn = top(b + 1, f, ch);
            QCOMPARE(pixelAt(pic, x + 30, g), Red);                 // back edge
            QCOMPARE(pixelAt(pic, x, g + 72), Red);                 // lower front edge
            QCOMPARE(pixelAt(pic, x, g + 50), Red);                 // column edge
            QCOMPARE(pixelAt(pic, x + 36, qMin(g, gn) - 2), Black); // above the slab
            QCOMPARE(pixelAt(pic, x + 21, g + 18), Maroon);         // top face
            QCOMPARE(pixelAt(pic, x + 6, g + 40), Maroon);          // front face, between grid lines
            QCOMPARE(pixelAt(pic, x + 6, qMax(g, gn) + 74), Black); // below the slab
            for (int j = 1; j <= 4; ++j)
                QCOMPARE(pixelAt(pic, x, g + 26 + 9 * j), Red);     // grid line vertex
        }
        QCOMPARE(w->cellLeftY[f], H3 + top(10, f, ch) + 45);
        QCOMPARE(w->cellRightY[f], H3 + top(11, f, ch) + 45);
    }
    // Six different pictures; picture 3 is picture 0 moved 8 columns left, and the picture
    // that would follow picture 5 is picture 0 again: the loop has no jump.
    for (int f = 0; f < Tondes::FrameCount; ++f)
        for (int e = f + 1; e < Tondes::FrameCount; ++e)
            QVERIFY(Tondes::frames[f] != Tondes::frames[e]);
    QCOMPARE(Tondes::frames[3].copy(0, 0, W - 104, H3), Tondes::frames[0].copy(104, 0, W - 104, H3));
    QImage next = NewBitmap(W, H3, clBlack);
    int l = 0, r = 0;
    Tondes::DrawPicture(next, 6, cw, ch, l, r);
    QCOMPARE(next, Tondes::frames[0]);
    // Shown at (CW div 4, H3), framed by the bevel, in the order 0..5, 0..
    QCOMPARE(w->Bevel1->geometry(), QRect(cw / 4 - 1, H3 - 1, W + 3, H3 + 3));
    for (int t = 0; t < 14; ++t) {
        QCOMPARE(int(Tondes::frameIndex), t % 6);
        w->tempoTimer();
        QCOMPARE(w->screen.copy(cw / 4, H3, W, H3), Tondes::frames[t % 6]);
    }
}

void TestSecondarie::shearedCellAndPause()
{
    Tondes *w = open(800, 600);
    QCOMPARE(w->size(), QSize(800, 600));
    const int X0 = 200, Y0 = 225;
    w->evidenzia->click();
    QSet<int> shears;
    for (int t = 0; t < 6; ++t) {
        const int f = Tondes::frameIndex;
        w->tempoTimer();
        const int L = Y0 + top(10, f, 600) + 45, R = Y0 + top(11, f, 600) + 45;
        shears.insert(R - L);
        for (int x = X0 + 132; x <= X0 + 141; ++x) {
            const int upper = L + int(std::ceil((R - L) * (x - X0 - 130) / 13.0));
            for (int y = upper + 1; y <= upper + 7; ++y)
                QCOMPARE(pixelAt(w->screen, x, y), White);
            QVERIFY(pixelAt(w->screen, x, qMin(L, R) - 2) != White);
            QVERIFY(pixelAt(w->screen, x, qMax(L, R) + 11) != White);
        }
        // The cell is 8 px of white high in every column, and its top follows the shear
        // (at most one pixel, so it steps halfway along, as a line drawn from (130, L) to (143, R)).
        auto whiteTop = [&](int x) {
            int n = 0, first = -1;
            for (int y = qMin(L, R) - 4; y <= qMax(L, R) + 14; ++y)
                if (pixelAt(w->screen, x, y) == White && n++ == 0)
                    first = y;
            return n == 8 ? first : -1;
        };
        const int a = whiteTop(X0 + 131), z = whiteTop(X0 + 141);
        QVERIFY(a == L + 1 || a == L);
        QVERIFY(z >= 0);
        if (R != L)
            QEXPECT_FAIL("", "Canvas::Polygon outlines a slanted edge unlike LineTo: no step", Continue);
        QCOMPARE(z - a, R - L);
        QCOMPARE(pixelAt(w->screen, X0 + 130, L + 4), Red);
        QCOMPARE(pixelAt(w->screen, X0 + 143, R + 4), Red);
        QVERIFY(pixelAt(w->screen, X0 + 129, L + 4) != White);
        QVERIFY(pixelAt(w->screen, X0 + 144, R + 4) != White);
    }
    // The cell shears both ways in one loop.
    QVERIFY(*std::min_element(shears.begin(), shears.end()) < 0);
    QVERIFY(*std::max_element(shears.begin(), shears.end()) > 0);
    // Paused: the same picture at every tick, and the cell still comes and goes.
    w->pausa->click();
    const quint8 held = Tondes::frameIndex;
    w->evidenzia->click();
    for (int t = 0; t < 8; ++t) {
        w->tempoTimer();
        QCOMPARE(Tondes::frameIndex, held);
        QCOMPARE(w->screen.copy(X0, Y0, 400, 225), Tondes::frames[held]);
    }
    w->evidenzia->click();
    w->tempoTimer();
    QVERIFY(w->screen.copy(X0, Y0, 400, 225) != Tondes::frames[held]);
    w->pausa->click();
    w->tempoTimer();
    QCOMPARE(int(Tondes::frameIndex), (held + 1) % 6);
}

void TestSecondarie::rateTextsAndLifeCycle()
{
    // Created on its own, the window keeps its control bar hidden until the pictures exist.
    ChildWidth = 900;
    ChildHeight = 700;
    auto *alone = static_cast<Tondes *>(CreateOndes(nullptr));
    alone->FormCreate();
    QVERIFY(!alone->barrasotto->isVisibleTo(alone));
    alone->FormActivate();
    QVERIFY(alone->barrasotto->isVisibleTo(alone));
    alone->FormClose();
    delete alone;
    QVERIFY(Tondes::frames[0].isNull());

    // Texts of the language active at creation.
    main->SwitchLanguage(2);
    Tondes *w = open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Ondes secondaires"));
    QCOMPARE(SimWindow::HintOf(w->evidenzia), QString::fromUtf8("mettre en évidence l'effet des ondes"));
    QVERIFY(!(w->Frame()->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AideVastara/terremoti.htm#secondarie"));
    // Rate: 150 ms at creation, then 200 - position.
    QCOMPARE(w->tempo->interval(), 150);
    QCOMPARE(w->cadenza->value(), 50);
    w->cadenza->setValue(195);
    QCOMPARE(w->tempo->interval(), 5);
    w->cadenza->setValue(5);
    QCOMPARE(w->tempo->interval(), 195);
    QVERIFY(!WindowClosed[21]);
    QVERIFY(!main->BackdropVisible());
    QVERIFY(w->tempo->isActive());
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->Frame()->close();
    QVERIFY(WindowClosed[21]);
    QVERIFY(main->BackdropVisible());
    QVERIFY(Tondes::frames[5].isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(ondes == nullptr);
    LanguageIndex = 0;
}

QTEST_MAIN(TestSecondarie)
#include "test_secondarie.moc"
