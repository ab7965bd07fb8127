// The P-wave window: its 19 pictures, planes over the whole slab on a wide and a 4:3 client,
// the highlighted gap, pause, rate and life cycle.
#include "dialogs/brucatore.h"
#include "globals.h"
#include "language/texts.h"
#include "sims/earthquakes/primarie.h"
#include "vastara.h"

#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
const QRgb Red = qRgb(255, 0, 0), Maroon = qRgb(128, 0, 0), Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255);

// Where plane k stands in picture f of a picture w pixels wide.
int planeX(int w, int f, int k)
{
    return int(std::nearbyint(w - 11.0 * k + 5.0 * std::sin(M_PI * (f + k) / 5.0)));
}

QImage region(const QImage &img, QPoint at, QSize size)
{
    return img.copy(QRect(at, size));
}
} // namespace

class TestPrimarie : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void picturesFollowTheWave();
    void loopOfNineteen();
    void ticksShowPicturesAndHighlight();
    void pauseFreezesThePicture();
    void rateAndLifeCycle();
    void helpPage();
    void narrowWindow();
    void planesCoverTheSlab();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tondep *open();
};

void TestPrimarie::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestPrimarie::cleanup()
{
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Tondep *TestPrimarie::open()
{
    main->OpenSimulation(QStringLiteral("D1"));
    return ondep;
}

void TestPrimarie::picturesFollowTheWave()
{
    Tondep *w = open();
    QVERIFY(w);
    QVERIFY(w->FirstActivationDone());
    const int CW = w->ClientWidth(), CH = w->ClientHeight();
    const int W = CW / 2, PH = 3 * CH / 8;
    QCOMPARE(w->PictureWidth(), W);
    QCOMPARE(w->PictureHeight(), PH);
    for (int f = 0; f < Tondep::FrameCount; ++f) {
        const QImage &pic = w->frames[f];
        QCOMPARE(pic.size(), QSize(W, PH));
        // Row 110 of the front face: red exactly where a plane stands, rock elsewhere.
        QSet<int> planes;
        for (int k = 0; planeX(W, f, k) + 40 >= 0; ++k)
            planes.insert(planeX(W, f, k));
        for (int x = 0; x < W; ++x)
            QCOMPARE(pic.pixel(x, 110), planes.contains(x) ? Red : Maroon);
        // Each plane's slanted trace on the top face passes halfway, 20 px right and 14 up.
        for (int k = 0; planeX(W, f, k) + 20 >= 0; ++k) {
            const int x = planeX(W, f, k);
            if (x + 20 < W)
                QCOMPARE(pic.pixel(x + 20, 84), Red);
        }
        QCOMPARE(w->edgeA[f], planeX(W, f, 20));
        QCOMPARE(w->edgeB[f], planeX(W, f, 21));
        // Slab edges and layer lines span the picture; black above and below.
        for (int x : {0, W / 3, W - 1}) {
            QCOMPARE(pic.pixel(x, 70), Red);
            QCOMPARE(pic.pixel(x, 130), Red);
            QCOMPARE(pic.pixel(x, 0), Black);
            QCOMPARE(pic.pixel(x, 68), Black);
            QCOMPARE(pic.pixel(x, 131), Black);
            QCOMPARE(pic.pixel(x, PH - 1), Black);
        }
        for (int y : {98, 106, 114, 122})
            QCOMPARE(pic.pixel(3, y), Red);
        QCOMPARE(pic.pixel(3, 100), Maroon);
        QCOMPARE(pic.pixel(3, 128), Maroon);
        // Row 69 is never drawn: it keeps the colour of the new picture, and so does the row
        // under the rock, except where a plane crosses it.
        for (int x = 0; x < W; ++x)
            QCOMPARE(pic.pixel(x, 69), Black);
        QCOMPARE(pic.pixel(3, 129), Black);
    }
}

void TestPrimarie::loopOfNineteen()
{
    Tondep *w = open();
    // One wavelength is ten planes: pictures f and f + 10 are the same, so picture 18 is
    // picture 8, and the loop of 19 jumps two spacings from picture 18 back to 0.
    for (int f = 0; f + 10 < Tondep::FrameCount; ++f)
        QCOMPARE(w->frames[f], w->frames[f + 10]);
    QVERIFY(w->frames[18] != w->frames[0]);
    QVERIFY(w->frames[1] != w->frames[0]);
    // From one picture to the next the pattern moves 11 px to the right: along row 110,
    // picture f + 1 is picture f shifted by 11 px (away from both ends, where planes enter
    // and leave).
    const int W = w->PictureWidth();
    for (int f = 0; f + 1 < Tondep::FrameCount; ++f)
        for (int x = qMax(11, W - 540); x < W - 16; ++x)
            QCOMPARE(w->frames[f + 1].pixel(x, 110), w->frames[f].pixel(x - 11, 110));
}

void TestPrimarie::ticksShowPicturesAndHighlight()
{
    Tondep *w = open();
    const QPoint o(w->ClientWidth() / 4, 5 * w->ClientHeight() / 16);
    QCOMPARE(w->PictureOrigin(), o);
    const QSize size(w->PictureWidth(), w->PictureHeight());
    for (int t = 0; t < 40; ++t) {
        const int shown = t % Tondep::FrameCount;
        QCOMPARE(int(w->frameIndex), shown);
        w->tempoTimer();
        QCOMPARE(region(w->screen, o, size), w->frames[shown]);
    }
    // The picture area is framed by the bevel, one pixel outside it.
    QCOMPARE(w->Bevel1->geometry(), QRect(o.x() - 1, o.y() - 1, size.width() + 3, size.height() + 3));

    // With `eviden` down the gap between planes 21 and 20 is white from row 106 to 113.
    w->eviden->setChecked(true);
    const int f = w->frameIndex;
    w->tempoTimer();
    const int left = o.x() + qMin(w->edgeA[f], w->edgeB[f]);
    const int right = o.x() + qMax(w->edgeA[f], w->edgeB[f]);
    QVERIFY(right - left >= 1);
    for (int y = o.y() + 106; y < o.y() + 114; ++y)
        for (int x = left; x < right; ++x)
            QCOMPARE(w->screen.pixel(x, y), White);
    QCOMPARE(w->screen.pixel(right, o.y() + 110), Red);        // plane 20 itself stays
    QCOMPARE(w->screen.pixel(left, o.y() + 114), Red);         // bottom edge excluded
    QCOMPARE(w->screen.pixel(left - 1, o.y() + 110), Maroon);
    // The gap widens and narrows as the wave passes.
    QSet<int> widths;
    for (int g = 0; g < Tondep::FrameCount; ++g)
        widths.insert(qAbs(w->edgeA[g] - w->edgeB[g]));
    QVERIFY(widths.size() >= 3);
    QVERIFY(*std::min_element(widths.begin(), widths.end()) < 11);
    QVERIFY(*std::max_element(widths.begin(), widths.end()) > 11);
    // Released: the next picture has no highlight.
    w->eviden->setChecked(false);
    const int g = w->frameIndex;
    w->tempoTimer();
    QCOMPARE(region(w->screen, o, size), w->frames[g]);
}

void TestPrimarie::pauseFreezesThePicture()
{
    Tondep *w = open();
    for (int t = 0; t < 5; ++t)
        w->tempoTimer();
    w->pausa->setChecked(true);
    const quint8 held = w->frameIndex;
    const QPoint o = w->PictureOrigin();
    const QSize size(w->PictureWidth(), w->PictureHeight());
    for (int t = 0; t < 25; ++t) {
        w->tempoTimer();
        QCOMPARE(w->frameIndex, held);
        QCOMPARE(region(w->screen, o, size), w->frames[held]);
    }
    // The highlight can be switched on and off during a pause.
    w->eviden->setChecked(true);
    w->tempoTimer();
    QVERIFY(region(w->screen, o, size) != w->frames[held]);
    w->eviden->setChecked(false);
    w->tempoTimer();
    QCOMPARE(region(w->screen, o, size), w->frames[held]);
    // Released: it goes on from the same picture.
    w->pausa->setChecked(false);
    w->tempoTimer();
    QCOMPARE(region(w->screen, o, size), w->frames[held]);
    QCOMPARE(int(w->frameIndex), (held + 1) % Tondep::FrameCount);
}

void TestPrimarie::rateAndLifeCycle()
{
    Tondep *w = open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Onde primarie"));
    QCOMPARE(SimWindow::HintOf(w->eviden), QStringLiteral("evidenzia l'effetto delle onde"));
    QCOMPARE(SimWindow::HintOf(w->cadenza), QString::fromUtf8("velocità di esecuzione"));
    QVERIFY(!WindowClosed[19]);
    QVERIFY(!main->BackdropVisible());
    QVERIFY(w->barrasotto->isVisibleTo(w));
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->tempo->interval(), 50);
    QCOMPARE(w->cadenza->minimum(), 5);
    QCOMPARE(w->cadenza->maximum(), 195);
    QCOMPARE(w->cadenza->value(), 150);
    QTest::keyClick(w->cadenza, Qt::Key_Home);
    QCOMPARE(w->tempo->interval(), 195);
    QTest::keyClick(w->cadenza, Qt::Key_End);
    QCOMPARE(w->tempo->interval(), 5);
    // Deactivated: the timer stops; reactivated: it runs again without redrawing the pictures.
    w->frames[0].setPixel(0, 0, qRgb(1, 2, 3));
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->frames[0].pixel(0, 0), qRgb(1, 2, 3));
    // The pictures keep their size when the window is resized; the place follows the client.
    const QSize before(w->PictureWidth(), w->PictureHeight());
    w->Frame()->resize(w->Frame()->width() - 200, w->Frame()->height() - 100);
    QCOMPARE(w->frames[3].size(), before);
    QCOMPARE(w->PictureOrigin(), QPoint(w->ClientWidth() / 4, 5 * w->ClientHeight() / 16));
    w->tempoTimer();
    // Closing frees the pictures and the slot and brings the backdrop back.
    w->Frame()->close();
    QVERIFY(WindowClosed[19]);
    QVERIFY(main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(ondep == nullptr);
}

void TestPrimarie::helpPage()
{
    Tondep *w = open();
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/terremoti.htm#primarie"));
    QVERIFY(help.source.toLocalFile().endsWith(QStringLiteral("/AiutoVastara/terremoti.htm")));
    QCOMPARE(help.source.fragment(), QStringLiteral("primarie"));
    QVERIFY(QFileInfo::exists(help.source.toLocalFile()));
}

void TestPrimarie::narrowWindow()
{
    // A small client: only the planes that fall inside the picture are drawn.
    ChildWidth = 800 + 8;
    ChildHeight = 600;
    Tondep *w = open();
    const int W = w->PictureWidth();
    QCOMPARE(W, w->ClientWidth() / 2);
    QVERIFY(W < 550);
    int reds = 0;
    for (int x = 0; x < W; ++x)
        reds += w->frames[0].pixel(x, 110) == Red;
    int inside = 0;
    for (int k = 0; k <= 50; ++k)
        inside += planeX(W, 0, k) >= 0 && planeX(W, 0, k) < W;
    QCOMPARE(reds, inside);
    QVERIFY(inside < 51);
}

void TestPrimarie::planesCoverTheSlab()
{
    // Planes 11 px apart, each moved at most 5 px: nowhere along the front face (row 110) or
    // the top face (row 84) is the rock bare for more than 11 + 2 x 5 px, edges included.
    for (QSize client : {QSize(1880, 880), QSize(1024, 768)}) {
        auto *w = qobject_cast<Tondep *>(OpenAtClient(main, QStringLiteral("D1"), client));
        QVERIFY(w);
        for (int f = 0; f < Tondep::FrameCount; ++f)
            for (int y : {110, 84})
                for (int x = 0, last = -1; x <= w->PictureWidth(); ++x)
                    if (x == w->PictureWidth() || w->frames[f].pixel(x, y) == Red) {
                        QVERIFY2(x - last - 1 <= 21, qPrintable(QStringLiteral("bare at %1, %2").arg(x).arg(y)));
                        last = x;
                    }
        w->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QTEST_MAIN(TestPrimarie)
#include "test_primarie.moc"
