// The S-wave window: its sixteen pictures against the wave's heights on a wide and on a 4:3
// client, the slab solid between its columns, the loop, the wave's speed against the P
// wave's, the sheared cell, pause, rate, texts and life cycle.
#include "language/texts.h"
#include "sims/earthquakes/secondarie.h"
#include "vastara.h"

#include <QFrame>
#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
const TColor Red = RGB(255, 0, 0), Maroon = RGB(128, 0, 0);

// Top of column b in picture f, client ch high: Round(ch div 8 - 3 sin(pi b / 8 + pi f / 8)).
int top(int b, int f, int ch)
{
    const long double pi = 3.14159265358979323846264338327950288L;
    return int(std::nearbyintl(ch / 8 - 3 * std::sin(pi * b / 8 + pi * f / 8)));
}

// How far the pattern moved between two pictures (px, positive to the right): the shift of
// at most 54 px that matches them best, away from the ends.
int shiftBetween(const QImage &before, const QImage &after)
{
    int best = 0;
    qint64 fewest = -1;
    for (int d = -54; d <= 54; ++d) {
        qint64 differ = 0;
        for (int y = 0; y < after.height(); y += 2) {
            const auto *a = reinterpret_cast<const QRgb *>(after.constScanLine(y));
            const auto *b = reinterpret_cast<const QRgb *>(before.constScanLine(y));
            for (int x = 54; x < after.width() - 54; ++x)
                differ += a[x] != b[x - d];
        }
        if (fewest < 0 || differ < fewest)
            fewest = differ, best = d;
    }
    return best;
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
    void slowerThanPWaves();
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
            // Solid rock between the highest bottom and the lowest top of the slab: no
            // pin-holes between neighbouring columns.
            int holes = 0;
            for (int y = ch / 8 + 4; y <= ch / 8 + 68; ++y)
                for (int x = 0; x < W; ++x)
                    holes += pixelAt(pic, x, y) == clBlack;
            QCOMPARE(holes, 0);
            QCOMPARE(Tondes::cellLeftY[f], H3 + top(10, f, ch) + 45);
            QCOMPARE(Tondes::cellRightY[f], H3 + top(11, f, ch) + 45);
        }
        // Picture 8 is picture 0 moved 8 columns left, and the one after picture 15 would be
        // picture 0 again: no jump.
        QCOMPARE(Tondes::frames[8].copy(0, 0, W - 104, H3), Tondes::frames[0].copy(104, 0, W - 104, H3));
        QImage next = NewBitmap(W, H3, clBlack);
        int l, r;
        Tondes::DrawPicture(next, 16, cw, ch, l, r);
        QCOMPARE(next, Tondes::frames[0]);
        for (int t = 0; t < 34; ++t) {
            QCOMPARE(int(Tondes::frameIndex), t % 16);
            w->tempoTimer();
            QCOMPARE(w->screen.copy(cw / 4, H3, W, H3), Tondes::frames[t % 16]);
        }
    }
}

void TestSecondarie::slowerThanPWaves()
{
    // In rock S waves run about 1 / sqrt 3 = 0.58 times as fast as P waves. At the default
    // rates and the same client, the S pattern must run at 0.5 to 0.65 times the P pattern's
    // speed (its displacement over 38 pictures, two P loops, per second of timer time), each
    // window showing a new picture at least ten times a second.
    if (!RegisteredFactory(QStringLiteral("D1")))
        QSKIP("the P-wave window is not part of this build");
    for (QSize client : {QSize(1880, 880), QSize(1024, 768)}) {
        double speed[2];
        for (int n = 0; n < 2; ++n) {
            SimWindow *w = OpenAtClient(main, n ? QStringLiteral("D2") : QStringLiteral("D1"), client);
            QVERIFY(w);
            w->tempo->stop();
            QVERIFY(w->tempo->interval() <= 100);
            const QRect shown = w->findChild<QFrame *>(QStringLiteral("Bevel1"))->geometry().adjusted(1, 1, -2, -2);
            QImage before, after;
            int moved = 0;
            for (int t = 0; t <= 38; ++t, before = after) {
                w->tempoTimer();
                after = w->screen.copy(shown).convertToFormat(QImage::Format_RGB32);
                const int d = t ? shiftBetween(before, after) : 1;
                QVERIFY(d != 0);
                moved += t ? d : 0;
            }
            speed[n] = std::abs(moved) / (38 * w->tempo->interval() / 1000.0);
            w->Frame()->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QVERIFY2(speed[1] >= 0.5 * speed[0] && speed[1] <= 0.65 * speed[0], qPrintable(QString::number(speed[1] / speed[0])));
    }
}

void TestSecondarie::shearedCellAndPause()
{
    Tondes *w = open(800, 600);
    const int X0 = 200, Y0 = 225;
    const QRect shown(X0, Y0, 400, 225);
    w->evidenzia->click();
    QSet<int> shears;
    for (int t = 0; t < Tondes::FrameCount; ++t) {
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
    QCOMPARE(int(Tondes::frameIndex), (held + 1) % Tondes::FrameCount);
}

void TestSecondarie::textsRateAndLifeCycle()
{
    main->SwitchLanguage(2);
    Tondes *w = open(1000, 700);
    QCOMPARE(w->windowTitle(), QStringLiteral("Ondes secondaires"));
    QCOMPARE(SimWindow::HintOf(w->evidenzia), QString::fromUtf8("mettre en évidence l'effet des ondes"));
    QVERIFY(!(w->Frame()->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
    QCOMPARE(w->cadenza->value(), 100);
    QCOMPARE(w->tempo->interval(), 100);
    QTest::keyClick(w->cadenza, Qt::Key_End);
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
