// The precession window: the axis ends on their cone and the nutation's wobble, the disc and
// the equator, `moto`, the strip change of `evid`, texts, life cycle, wide and 4:3 clients.
#include "globals.h"
#include "language/texts.h"
#include "sims/mechanics/preces.h"
#include "vastara.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
using LD = long double;
int rnd(LD x) { return int(std::nearbyintl(x)); }

// The scene's geometry for a scene W wide on a client H high, and its points at step k
// (horizontal offsets laid off leftwards).
struct Model {
    int W, H, N = 20, n = 0;
    int cx() const { return W / 4; }
    int cy() const { return H / 2; }
    int R() const { return W / 8; }
    int a() const { return H / 20; }
    int b() const { return H / 40; }
    float D() const { return float(W / 8.0L - std::sqrt(W * W / 64.0L - H * H / 1600.0L)); }
    LD A(int m) const { return 1 + 0.3L * n * std::sin(m * M_PIl / 5); }
    LD theta(int m) const { return m * M_PIl / N + M_PIl / 8; }
    QPoint north(int k) const { return {cx() - rnd(a() * std::cos(theta(k))), cy() - cx() - rnd(A(k) * b() * std::sin(theta(k)))}; }
    QPoint south(int k) const
    {
        return {cx() - rnd(a() * std::cos(M_PIl + theta(k)) - std::fabs(D() * std::cos(k * M_PIl / N))),
                cy() + cx() - rnd(A(k) * b() * std::sin(M_PIl + theta(k)))};
    }
    QPoint dot(int j, bool upper) const { return {cx() - rnd(a() * std::cos(theta(j))), cy() + (upper ? -cx() : cx()) - rnd(A(j) * b() * std::sin(theta(j)))}; }
    QPoint eq(int j, int k) const
    {
        const LD phi = j * M_PIl / N, psi = (k + j) * M_PIl / N + M_PIl / 8, c = std::cos(phi);
        const LD sgn = c < 0 ? -1 : 1;
        return {cx() - rnd(R() * c - sgn * std::fabs(D() * std::cos(psi))), cy() + rnd(A(k) * b() * std::cos(psi) + a() * std::sin(phi))};
    }
};

bool whiteNear(const QImage &img, QPoint p) { return colourNear(img, p.x(), p.y(), clWhite); }
} // namespace

class TestPreces : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void axisOnItsConeAndNutation();
    void discAndEquator();
    void earthSpinsWestToEastAndPrecessesBackwards();
    void evidStripChange();
    void textsAndLifeCycle();
    void wideAndNarrowClients();
    void onlyWhatMovesIsShownAnew();

private:
    Tprecter *make(int width, int height);
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tprecter *w = nullptr;
};

void TestPreces::cleanup()
{
    delete w;
    w = nullptr;
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    LanguageIndex = 0;
}

Tprecter *TestPreces::make(int width, int height)
{
    delete w;
    if (!main) {
        // The bar metrics come from the main window's start-up.
        main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
        main->FinishStartScreen();
    }
    ChildWidth = width;
    ChildHeight = height;
    w = static_cast<Tprecter *>(CreatePrecter(nullptr));
    w->FormCreate();
    w->FormActivate();
    return w;
}

void TestPreces::axisOnItsConeAndNutation()
{
    make(1024, 768);
    Model m{1024, 768};
    QCOMPARE(QList<int>({w->cx, w->cy, w->R, w->a, w->b}), QList<int>({256, 384, 128, 38, 19}));
    for (int motion : {0, 1}) {
        w->moto->setCurrentIndex(motion);
        m.N = motion ? 30 : 20;
        m.n = motion;
        w->K = 0;
        QList<QImage> seen;
        // One turn of the cone takes 2N - 1 ticks: K runs over 0 .. 2N - 2.
        for (int t = 0; t < 2 * (2 * m.N - 1) + 3; ++t) {
            const int k = t % (2 * m.N - 1);
            QCOMPARE(int(w->K), k);
            w->cadenzaTimer();
            const QImage &pic = w->bitmapA;
            // The axis ends: the north end is the path's dot of step k, the white axis
            // leaves it out; the south end likewise, under the disc.
            const QPoint nE = m.north(k), sE = m.south(k);
            QCOMPARE(pixelAt(pic, nE.x(), nE.y()), clGray);
            QVERIFY(whiteNear(pic, nE + QPoint(0, 1)));
            for (int y = 0; y < nE.y(); ++y)
                QVERIFY(pixelAt(pic, nE.x(), y) != clWhite);
            QVERIFY(whiteNear(pic, sE - QPoint(0, 1)));
            QVERIFY(!colourNear(pic, sE.x(), sE.y() + 2, clWhite));
            // Both paths: grey exactly at their 2N + 1 dots (wobbling by 0.3 b with nutation);
            // nothing covers the lower one.
            QSet<int> dots;
            for (int j = 0; j <= 2 * m.N; ++j)
                for (bool up : {true, false})
                    dots.insert(m.dot(j, up).y() * 10000 + m.dot(j, up).x());
            for (int j = 0; j <= 2 * m.N; ++j)
                QCOMPARE(pixelAt(pic, m.dot(j, false).x(), m.dot(j, false).y()), clGray);
            for (int y = 0; y < 768; ++y)
                for (int x = 0; x < 512; ++x)
                    if (pixelAt(pic, x, y) == clGray)
                        QVERIFY(dots.contains(y * 10000 + x));
            seen.append(pic.copy());
        }
        const int P = 2 * m.N - 1;
        QCOMPARE(seen[P], seen[0]);
        QCOMPARE(seen[P + 5], seen[5]);
        QVERIFY(seen[1] != seen[0]);
        // The wobble: with nutation the north end rises and falls by up to 0.3 b over 10 steps.
        int spread = 0;
        for (int k = 0; k < P; ++k)
            spread = qMax(spread, qAbs(m.north(k).y() - Model{1024, 768, m.N, 0}.north(k).y()));
        QCOMPARE(spread > 3, motion == 1);
    }
    // Back to precession while K is beyond its range: it wraps at the next tick.
    w->K = 50;
    w->moto->setCurrentIndex(0);
    w->cadenzaTimer();
    QCOMPARE(int(w->K), 51 % 39);
}

void TestPreces::discAndEquator()
{
    make(1024, 768);
    Model m{1024, 768};
    for (int t = 0; t < 7; ++t)
        w->cadenzaTimer();
    const int k = 6;
    const QPoint c(m.cx(), m.cy());
    auto inside = [&](int j) { const QPoint e = m.eq(j % 40, k); return c + (e - c) * 0.6; };
    // Blue from point K round to K + N, navy on the other side; the two meet on the diameter.
    for (int j : {k + 5, k + 10, k + 15})
        QCOMPARE(pixelAt(w->bitmapA, inside(j).x(), inside(j).y()), clBlue);
    for (int j : {k + 25, k + 30, k + 35})
        QCOMPARE(pixelAt(w->bitmapA, inside(j).x(), inside(j).y()), clNavy);
    QVERIFY(colourNear(w->bitmapA, m.cx(), m.cy() - m.R() - 1, clBlue));
    // View B: the equator's near half solid blue through its points, the marked point's red
    // path, and the white disc on the point of step K (drawn before K moved on).
    w->view->Start(true);
    w->cadenzaTimer();
    const QImage &B = w->bitmapB;
    for (int j = 1; j < 19; ++j) {
        const TColor e = pixelAt(B, m.eq(j, 7).x(), m.eq(j, 7).y());
        QVERIFY(e == clBlue || e == clRed || (j == 7 && e == clWhite));
    }
    const QPoint mk = m.eq(7, 7);
    QCOMPARE(pixelAt(B, mk.x(), mk.y()), clWhite);
    for (int j = 0; j <= 40; ++j) {
        const QPoint p = m.eq(j, j);
        if ((p - mk).manhattanLength() > 6)
            QVERIFY(colourNear(B, p.x(), p.y(), clRed));
    }
}

void TestPreces::earthSpinsWestToEastAndPrecessesBackwards()
{
    // Seen from above the north pole (far side up) the Earth turns anticlockwise, its near
    // side moving left to right; the axis precesses the other way. Summed over a turn, the
    // cross products of successive places give each sense.
    for (QSize client : {QSize(1880, 880), QSize(1024, 768)}) {
        make(client.width(), client.height());
        QTest::mouseClick(w->moto, Qt::LeftButton);
        QTest::keyClick(w->moto->view(), Qt::Key_Down);
        QTest::keyClick(w->moto->view(), Qt::Key_Return);
        QCOMPARE(int(w->N), 30);
        const QPoint globe(w->cx, w->cy), cone(w->cx, w->cy - w->L());
        auto turn = [](QPoint u, QPoint v) { return double(u.x()) * -v.y() + double(u.y()) * v.x(); };
        double spin = 0, precession = 0, nearSide = 0;
        for (int m = 0; m < 2 * w->N; ++m) {
            const QPoint p = w->MarkedPoint(m) - globe, q = w->MarkedPoint(m + 1) - globe;
            spin += turn(p, q);
            nearSide += p.y() > 0 && q.y() > 0 ? q.x() - p.x() : 0;
            precession += turn(w->NorthEnd(m) - cone, w->NorthEnd(m + 1) - cone);
        }
        QVERIFY(spin > 0 && nearSide > 0 && precession < 0);
    }
}

void TestPreces::evidStripChange()
{
    make(1024, 768);
    const int W = 1024;
    const QPoint o(256, 0);
    auto shown = [&] { return w->screen.copy(QRect(o, w->bitmapA.size())); };
    w->evid->click();
    QVERIFY(w->Timer1->isActive() && !w->evid->isEnabled());
    w->Timer1Timer();
    QCOMPARE(w->DisplayMode(), 1);
    QCOMPARE(w->ViewFlag(), 0);
    // Towards B: a strip of B growing 2 px a tick leftwards from 3W/8, over view A.
    for (int t = 0; t < 60; ++t)
        w->cadenzaTimer();
    QCOMPARE(w->s, 120);
    QImage pic = shown();
    QCOMPARE(pic, w->bitmapA);
    for (int x = 0; x < 512; ++x)
        for (int y = 0; y < 768; y += 3)
            if (x >= 3 * W / 8 - 118 && x < 3 * W / 8)
                QCOMPARE(pic.pixel(x, y), w->bitmapB.pixel(x, y));
    QVERIFY(pic.copy(0, 0, 3 * W / 8 - 118, 768) != w->bitmapB.copy(0, 0, 3 * W / 8 - 118, 768));
    // Pause freezes the strip and the step.
    w->pausa->setChecked(true);
    const int K = w->K;
    w->cadenzaTimer();
    const QImage held = shown();
    w->cadenzaTimer();
    QVERIFY(w->s == 120 && w->K == K && shown() == held);
    w->pausa->setChecked(false);
    // The strip covers W/4 in 128 ticks; the next one ends the change, then B is shown.
    for (int t = 60; t < 128; ++t)
        w->cadenzaTimer();
    QCOMPARE(w->DisplayMode(), 1);
    w->cadenzaTimer();
    QVERIFY(w->DisplayMode() == 2 && w->s == 0 && w->evid->isEnabled());
    w->cadenzaTimer();
    QCOMPARE(shown(), w->bitmapB);
    // Back to A: the strip grows rightwards from W/8 and reaches the globe's right edge.
    w->evid->click();
    w->Timer1Timer();
    QCOMPARE(w->ViewFlag(), 1);
    for (int t = 0; t < 128; ++t)
        w->cadenzaTimer();
    pic = shown();
    QCOMPARE(pic, w->bitmapB);
    QCOMPARE(pic.copy(W / 8, 0, 254, 768), w->bitmapA.copy(W / 8, 0, 254, 768));
    w->cadenzaTimer();
    QVERIFY(w->DisplayMode() == 0 && w->evid->isEnabled());
    w->cadenzaTimer();
    QCOMPARE(shown(), w->bitmapA);
}

void TestPreces::textsAndLifeCycle()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
    main->OpenSimulation(QStringLiteral("H3"));
    Tprecter *p = precter;
    QVERIFY(p && !WindowClosed[18] && !main->BackdropVisible() && p->barrasotto->isVisibleTo(p));
    QCOMPARE(p->windowTitle(), QStringLiteral("Precessione e nutazione"));
    QCOMPARE(SimWindow::HintOf(p->evid), QStringLiteral("evidenzia moto"));
    QCOMPARE(p->moto->itemText(1), QStringLiteral("precessione e nutazione"));
    QVERIFY(p->moto->width() >= QFontMetrics(p->moto->font()).horizontalAdvance(p->moto->itemText(1)) + 7);
    // The timer `cadenza` ticks at 5 ms until `velo` is moved.
    QCOMPARE(p->tempo->objectName(), QStringLiteral("cadenza"));
    QCOMPARE(p->cadenza->objectName(), QStringLiteral("velo"));
    QVERIFY(p->tempo->isActive() && p->tempo->interval() == 5 && p->cadenza->value() == 90);
    p->cadenza->setValue(150);
    QCOMPARE(p->tempo->interval(), 50);
    p->FormDeactivate();
    QVERIFY(!p->tempo->isActive());
    p->FormActivate();
    QVERIFY(p->tempo->isActive());
    HelpCapture help;
    p->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/meccanica.htm#precessione"));
    QVERIFY(QFileInfo::exists(help.source.toLocalFile()));
    p->Frame()->close();
    QVERIFY(WindowClosed[18] && main->BackdropVisible() && p->bitmapA.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(precter == nullptr);

    LanguageIndex = 1;
    make(1024, 768);
    QCOMPARE(w->windowTitle(), QStringLiteral("Precession and nutation"));
    QCOMPARE(SimWindow::HintOf(w->evid), QStringLiteral("enhance motion"));
    QCOMPARE(w->moto->itemText(0), QStringLiteral("precession"));
    QCOMPARE(w->moto->itemText(1), QStringLiteral("precession and nutation"));
}

void TestPreces::wideAndNarrowClients()
{
    // 4:3: the bitmaps at (W/4, 0) on black, exactly the scene of the whole client.
    make(800, 600);
    QVERIFY(w->sceneWidth == 800 && w->sceneLeft == 0 && w->PictureOrigin() == QPoint(200, 0));
    QCOMPARE(w->bitmapA.size(), QSize(400, 600));
    w->cadenzaTimer();
    QImage expected = NewBitmap(800, 600, clBlack);
    QPainter(&expected).drawImage(200, 0, w->bitmapA);
    QCOMPARE(w->screen.convertToFormat(QImage::Format_RGB32), expected);

    // Wide: the scene narrows until the axis ends stay between the bars, centred.
    make(1880, 880);
    const int Ws = w->sceneWidth;
    QVERIFY(Ws < 1880 && w->sceneLeft == (1880 - Ws) / 2 && w->cx == Ws / 4 && w->bitmapA.width() == Ws / 2);
    const int top = w->barrasotto->height(), bottom = 880 - w->sotto->height();
    int slack = 1000;
    for (int motion : {0, 1}) {
        const Model m{Ws, 880, motion ? 30 : 20, motion};
        for (int k = 0; k <= 2 * m.N; ++k) {
            const int high = std::min(m.north(k).y(), m.dot(k, true).y());
            const int low = std::max(m.south(k).y(), m.dot(k, false).y());
            QVERIFY(high >= top && low < bottom);
            slack = std::min({slack, high - top, bottom - 1 - low});
        }
    }
    // ... and no narrower than it needs: one pixel more of axis would leave the picture.
    QCOMPARE(Ws % 4, 3);
    QCOMPARE(slack, 0);
    w->moto->setCurrentIndex(1);
    for (int t = 0; t < 60; ++t) {
        w->cadenzaTimer();
        const QPoint nE = Model{Ws, 880, 30, 1}.north(t % 59) + w->PictureOrigin();
        QCOMPARE(pixelAt(w->screen, nE.x(), nE.y()), clGray);
    }
}

void TestPreces::onlyWhatMovesIsShownAnew()
{
    // Each picture equals the one drawn whole for the same step, in both views and motions,
    // at wide and 4:3 clients; a steady tick shows far less than the band anew.
    for (QSize client : {QSize(1880, 880), QSize(800, 600)}) {
        make(client.width(), client.height());
        std::unique_ptr<Tprecter> whole(static_cast<Tprecter *>(CreatePrecter(nullptr)));
        whole->FormCreate();
        const int band = w->Band().width() * w->Band().height();
        for (int round = 0; round < 4; ++round) {
            if (round == 2)
                for (Tprecter *p : {w, whole.get()})
                    p->view->Start(true);
            for (Tprecter *p : {w, whole.get()})
                p->moto->setCurrentIndex(round % 2);
            // The first picture of a motion, or after a change of view, is drawn whole.
            for (int t = 0, steady = 0; t < 140; ++t) {
                steady = w->DisplayMode() == 1 ? 0 : steady + 1;
                whole->K = w->K;
                whole->ShowWhole();
                w->cadenzaTimer();
                whole->cadenzaTimer();
                QCOMPARE(w->screen, whole->screen);
                int shown = 0;
                for (const QRect &r : w->Shown())
                    shown += r.width() * r.height();
                QCOMPARE(shown < band / 2, t > 0 && steady > 1);
            }
        }
    }
}

QTEST_MAIN(TestPreces)
#include "test_preces.moc"
