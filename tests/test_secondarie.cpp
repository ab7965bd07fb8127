// The S-wave window: its six pictures against the wave's heights on a wide and on a 4:3
// client, the loop, the sheared cell, pause, rate, texts and life cycle.
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
const TColor Red = RGB(255, 0, 0), Maroon = RGB(128, 0, 0);

// Top of column b in picture f, client ch high: Round(ch div 8 - 3 sin(pi b / 8 + pi f / 3)).
int top(int b, int f, int ch)
{
    const long double pi = 3.14159265358979323846264338327950288L;
    return int(std::nearbyintl(ch / 8 - 3 * std::sin(pi * b / 8 + pi * f / 3)));
}
} // namespace

class TestSecondarie : public QObject
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
    void picturesAndLoop();
    void shearedCellAndPause();
    void textsRateAndLifeCycle();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    // Opens the window from its menu with a client of cw x ch.
    Tondes *open(int cw, int ch)
    {
        main->OpenSimulation(QStringLiteral("D2"));
        const QSize margin = ondes->Frame()->size() - ondes->size();
        ondes->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ChildWidth = cw + margin.width();
        ChildHeight = ch + margin.height();
        main->OpenSimulation(QStringLiteral("D2"));
        return ondes;
    }
};

void TestSecondarie::picturesAndLoop()
{
    for (auto [cw, ch] : {std::pair(1880, 880), std::pair(800, 600)}) {
        Tondes *w = open(cw, ch);
        QCOMPARE(w->size(), QSize(cw, ch));
        const int W = cw / 2, H3 = 3 * ch / 8;
        QCOMPARE(w->Bevel1->geometry(), QRect(cw / 4 - 1, H3 - 1, W + 3, H3 + 3));
        for (int f = 0; f < Tondes::FrameCount; ++f) {
            const QImage &pic = Tondes::frames[f];
            QCOMPARE(pic.size(), QSize(W, H3));
            for (int b = 0; 13 * b + 44 < W; ++b) {
                const int x = 13 * b, g = top(b, f, ch), gn = top(b + 1, f, ch);
                for (QPoint p : {QPoint(x + 30, g), QPoint(x, g + 72), QPoint(x, g + 50), QPoint(x, g + 35)})
                    QCOMPARE(pixelAt(pic, p.x(), p.y()), Red); // back, front and column edges, grid line 1
                for (int j = 2; j <= 4; ++j)
                    QVERIFY(colourNear(pic, x + 6, g + 26 + 9 * j, Red));
                QCOMPARE(pixelAt(pic, x + 36, qMin(g, gn) - 2), clBlack);
                QCOMPARE(pixelAt(pic, x + 21, g + 18), Maroon); // top face
                QCOMPARE(pixelAt(pic, x + 6, g + 40), Maroon);  // front face
                QCOMPARE(pixelAt(pic, x + 6, qMax(g, gn) + 74), clBlack);
            }
            QCOMPARE(Tondes::cellLeftY[f], H3 + top(10, f, ch) + 45);
            QCOMPARE(Tondes::cellRightY[f], H3 + top(11, f, ch) + 45);
        }
        // Picture 3 is picture 0 moved 8 columns left, and the one after picture 5 would be
        // picture 0 again: no jump.
        QCOMPARE(Tondes::frames[3].copy(0, 0, W - 104, H3), Tondes::frames[0].copy(104, 0, W - 104, H3));
        QImage next = NewBitmap(W, H3, clBlack);
        int l, r;
        Tondes::DrawPicture(next, 6, cw, ch, l, r);
        QCOMPARE(next, Tondes::frames[0]);
        for (int t = 0; t < 14; ++t) {
            QCOMPARE(int(Tondes::frameIndex), t % 6);
            w->tempoTimer();
            QCOMPARE(w->screen.copy(cw / 4, H3, W, H3), Tondes::frames[t % 6]);
        }
    }
}

void TestSecondarie::shearedCellAndPause()
{
    Tondes *w = open(800, 600);
    const int X0 = 200, Y0 = 225;
    const QRect shown(X0, Y0, 400, 225);
    w->evidenzia->click();
    QSet<int> shears;
    for (int t = 0; t < 6; ++t) {
        const int f = Tondes::frameIndex;
        w->tempoTimer();
        const int L = Y0 + top(10, f, 600) + 45, R = Y0 + top(11, f, 600) + 45;
        shears.insert(R - L);
        // In each column between the sides, 8 px of white from the top edge down.
        QList<int> tops;
        for (int x = X0 + 131; x <= X0 + 142; ++x) {
            QList<int> white;
            for (int y = qMin(L, R) - 3; y <= qMax(L, R) + 12; ++y)
                if (pixelAt(w->screen, x, y) == clWhite)
                    white << y;
            QCOMPARE(white.size(), 8);
            QCOMPARE(white.last() - white.first(), 7);
            QVERIFY(qAbs(white.first() - 1 - (L + (R - L) * (x - X0 - 130) / 13.0)) <= 1);
            tops << white.first();
        }
        QCOMPARE(pixelAt(w->screen, X0 + 129, L + 4), Maroon);
        QCOMPARE(pixelAt(w->screen, X0 + 144, R + 4), Maroon);
        // A shear of one pixel steps halfway along, as a line from (130, L) to (143, R).
        QCOMPARE(tops.last() - tops.first(), R - L);
    }
    QVERIFY(shears.contains(1) && shears.contains(-1)); // both ways in one loop
    // Paused: the same picture at every tick; the cell still comes and goes.
    w->pausa->click();
    const quint8 held = Tondes::frameIndex;
    w->tempoTimer();
    QCOMPARE(Tondes::frameIndex, held);
    QVERIFY(w->screen.copy(shown) != Tondes::frames[held]);
    w->evidenzia->click();
    for (int t = 0; t < 3; ++t) {
        w->tempoTimer();
        QCOMPARE(Tondes::frameIndex, held);
        QCOMPARE(w->screen.copy(shown), Tondes::frames[held]);
    }
    w->pausa->click();
    w->tempoTimer();
    QCOMPARE(int(Tondes::frameIndex), (held + 1) % 6);
}

void TestSecondarie::textsRateAndLifeCycle()
{
    main->SwitchLanguage(2);
    Tondes *w = open(1000, 700);
    QCOMPARE(w->windowTitle(), QStringLiteral("Ondes secondaires"));
    QCOMPARE(SimWindow::HintOf(w->evidenzia), QString::fromUtf8("mettre en évidence l'effet des ondes"));
    QVERIFY(!(w->Frame()->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
    QCOMPARE(w->cadenza->value(), 50);
    QCOMPARE(w->tempo->interval(), 150);
    w->cadenza->setValue(195);
    QCOMPARE(w->tempo->interval(), 5);
    QVERIFY(!WindowClosed[21] && !main->BackdropVisible() && w->tempo->isActive());
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->Frame()->close();
    QVERIFY(WindowClosed[21] && main->BackdropVisible() && Tondes::frames[5].isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(ondes == nullptr);
}

QTEST_MAIN(TestSecondarie)
#include "test_secondarie.moc"
