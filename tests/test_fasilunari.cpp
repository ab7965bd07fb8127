// The lunar phases window: the Earth and the Moon along one lunar month, their lit halves and
// spokes, the phase captions and snapshots, trails, the visibility lines of a pause, and the
// start / stop / paste buttons through the life cycle.
#include "dialogs/brucatore.h"
#include "globals.h"
#include "language/texts.h"
#include "sims/moon/fasilunari.h"
#include "vastara.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Aqua = qRgb(0, 255, 255),
           Silver = qRgb(192, 192, 192), Gray = qRgb(128, 128, 128), Navy = qRgb(0, 0, 128),
           Maroon = qRgb(128, 0, 0), Yellow = qRgb(255, 255, 0), Red = qRgb(255, 0, 0);

int rnd(long double x)
{
    return int(std::nearbyintl(x));
}

// The month for a client of W x H: u = 542 + runTime.
struct Month {
    int W, H;
    QPoint earth(long double u) const
    {
        const long double a = M_PIl * u / 400;
        return QPoint(W / 2 + rnd(2.0L * H * std::cos(a)), -3 * H / 2 - rnd(2.0L * H * std::sin(a)));
    }
    QPoint moon(long double u) const
    {
        const long double m = M_PIl * u / 40 + M_PIl / 2;
        return earth(u) + QPoint(rnd(W / 14.0L * std::cos(m)), -rnd(W / 14.0L * std::sin(m)));
    }
    static QPoint at(QPoint c, long double r, long double a)
    {
        return c + QPoint(rnd(r * std::cos(a)), -rnd(r * std::sin(a)));
    }
};

// u drawn by the n-th tick of a run (n from 1).
long double uOfTick(int n)
{
    return 542 + (n - 1) / 4.0L;
}

bool near(const QImage &img, QPoint p, QRgb colour)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (img.rect().contains(p + QPoint(dx, dy)) && img.pixel(p + QPoint(dx, dy)) == colour)
                return true;
    return false;
}

// Every pixel of a colour lies inside the rectangle.
bool onlyInside(const QImage &img, QRgb colour, const QRect &r)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == colour && !r.contains(x, y))
                return false;
    return true;
}

int count(const QImage &img, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == colour;
    return n;
}
} // namespace

class TestFasiLunari : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void openedFromTheMenu();
    void iconsAndCaptions();
    void earthAndMoonAlongTheMonth();
    void captionsAndSnapshotsOncePerPhase();
    void trailsAndPastedSnapshots();
    void pauseShowsTheVisibilityStrip();
    void stopWaitsForANewStart();
    void helpPage();

private:
    Tfaslun *make(int w = 800, int h = 480);
    // Runs ticks until the tick that draws runTime t has been done.
    void runTo(Tfaslun *w, double t);
    void checkBodies(Tfaslun *w, long double u);
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tfaslun *direct = nullptr;
};

void TestFasiLunari::initTestCase()
{
    resetLanguageTables();
}

void TestFasiLunari::cleanup()
{
    delete direct;
    direct = nullptr;
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Tfaslun *TestFasiLunari::make(int w, int h)
{
    LanguageIndex = 0;
    ChildWidth = w;
    ChildHeight = h;
    direct = static_cast<Tfaslun *>(CreateFaslun(nullptr));
    direct->FormCreate();
    direct->FormShow();
    direct->FormActivate();
    return direct;
}

void TestFasiLunari::runTo(Tfaslun *w, double t)
{
    while (w->runTime <= t)
        w->tempoTimer();
}

// The Earth and the Moon drawn for u: lit (upper) halves, dark lower halves, spokes.
void TestFasiLunari::checkBodies(Tfaslun *w, long double u)
{
    const Month mo{w->ClientWidth(), w->ClientHeight()};
    const QPoint e = mo.earth(u), m = mo.moon(u);
    QCOMPARE(QPoint(w->earthX, w->earthY), e);
    QCOMPARE(QPoint(w->moonX, w->moonY), m);
    const QImage &pic = w->picture;
    const int R = w->earthRadius;
    // Earth: between its spokes, aqua above the middle, black below.
    const long double spin = 28 * M_PIl * u / 40;
    for (int k = 0; k < 4; ++k) {
        const QPoint p = Month::at(e, R / 2, spin + M_PIl / 4 + k * M_PIl / 2);
        if (!pic.rect().contains(p))
            continue;
        if (p.y() <= e.y() - 2)
            QCOMPARE(pic.pixel(p), Aqua);
        else if (p.y() >= e.y() + 2)
            QCOMPARE(pic.pixel(p), Black);
        // The spoke: navy on the lit half, white on the dark half.
        const QPoint end = Month::at(e, R - 1.5L, spin + k * M_PIl / 2);
        const QPoint mid = Month::at(e, R * 0.6L, spin + k * M_PIl / 2);
        if (!pic.rect().contains(mid))
            continue;
        QVERIFY(near(pic, mid, end.y() <= e.y() ? Navy : White));
    }
    // Moon: silver above, black below, between its spokes.
    const long double mAngle = M_PIl * u / 40 + M_PIl / 2;
    for (int k = 0; k < 4; ++k) {
        const QPoint p = Month::at(m, R / 4, mAngle + M_PIl / 4 + k * M_PIl / 2);
        if (!pic.rect().contains(p))
            continue;
        if (p.y() <= m.y() - 2)
            QCOMPARE(pic.pixel(p), Silver);
        else if (p.y() >= m.y() + 2)
            QCOMPARE(pic.pixel(p), Black);
    }
    // Its spokes: towards and away from the Earth maroon when lit, yellow when dark; along
    // the limb black when lit, white when dark.
    const long double r = w->ClientWidth() / 85.0L;
    for (int k = 0; k < 4; ++k) {
        const long double a = mAngle + (k == 0 ? M_PIl : k == 1 ? 0 : k == 2 ? M_PIl / 2 : -M_PIl / 2);
        const QPoint end = Month::at(m, r, a);
        if (qAbs(end.y() - m.y()) < 4 || !pic.rect().contains(end))
            continue;
        const bool lit = end.y() <= m.y();
        const QRgb colour = k < 2 ? (lit ? Maroon : Yellow) : (lit ? Black : White);
        QVERIFY(near(pic, Month::at(m, r * 0.6L, a), colour));
    }
}

void TestFasiLunari::openedFromTheMenu()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
    main->OpenSimulation(QStringLiteral("F2"));
    Tfaslun *w = faslun;
    QVERIFY(w);
    QVERIFY(!WindowClosed[7]);
    QVERIFY(!main->BackdropVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Fasi lunari"));
    QCOMPARE(w->paus, w->pausa);
    QCOMPARE(SimWindow::HintOf(w->paus), QStringLiteral("pausa"));
    QCOMPARE(SimWindow::HintOf(w->cadenza), QString::fromUtf8("velocità di esecuzione"));
    QCOMPARE(SimWindow::HintOf(w->partenza), QStringLiteral("avvio"));
    QCOMPARE(SimWindow::HintOf(w->fine), QStringLiteral("nuovo"));
    QCOMPARE(SimWindow::HintOf(w->guida), QStringLiteral("guida"));
    QCOMPARE(SimWindow::HintOf(w->traiet), QStringLiteral("traiettoria"));
    QCOMPARE(SimWindow::HintOf(w->fasit), QStringLiteral("evidenzia le fasi"));
    const char *captions[] = {"novilunio", "primo quarto", "plenilunio", "ultimo quarto", "novilunio"};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(w->labels[i]->text(), QString::fromLatin1(captions[i]));
        QVERIFY(w->labels[i]->isHidden());
    }
    QVERIFY(w->barrasotto->isVisibleTo(w));

    // Before any run: only `partenza` and `traiet` act; the first tick shows the black
    // picture and turns the timer off.
    QVERIFY(w->partenza->isEnabled());
    QVERIFY(w->traiet->isEnabled());
    QVERIFY(!w->fine->isEnabled());
    QVERIFY(!w->fasit->isEnabled());
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->tempo->interval(), 90);
    w->tempoTimer();
    QVERIFY(!w->tempo->isActive());
    QVERIFY(!w->fasit->isEnabled());
    QCOMPARE(count(w->screen, Black), w->screen.width() * w->screen.height());

    QCOMPARE(w->cadenza->value(), 90);
    w->cadenza->setValue(195);
    QCOMPARE(w->tempo->interval(), 5);
    w->cadenza->setValue(5);
    QCOMPARE(w->tempo->interval(), 195);

    // Sizes from the client at creation.
    const int W = w->ClientWidth(), H = w->ClientHeight();
    QCOMPARE(w->earthRadius, W / 40);
    QCOMPARE(w->picture.size(), QSize(W, 3 * H / 4));
    QCOMPARE(w->PictureTop(), H / 4);
    for (const SavedRect &shot : w->phaseShots)
        QCOMPARE(shot.Patch().size(), QSize(W / 5, W / 5));

    // A run at the full size: only the active window animates.
    w->partenzaClick();
    QVERIFY(w->tempo->isActive());
    for (int t = 0; t < 10; ++t)
        w->tempoTimer();
    checkBodies(w, uOfTick(10));
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    QCOMPARE(double(w->runTime), 2.5);

    main->OpenSimulation(QStringLiteral("F2"));
    QCOMPARE(main->Simulations().size(), 1);

    w->Frame()->close();
    QVERIFY(WindowClosed[7]);
    QVERIFY(main->BackdropVisible());
    QVERIFY(!w->tempo->isActive());
    QVERIFY(w->picture.isNull());
    QVERIFY(w->earthIcon.isNull() && w->moonIcon.isNull());
    QVERIFY(w->earthPatch.IsNull() && w->moonPatch.IsNull());
    for (const SavedRect &shot : w->phaseShots)
        QVERIFY(shot.IsNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(faslun == nullptr);
}

void TestFasiLunari::iconsAndCaptions()
{
    Tfaslun *w = make();
    QCOMPARE(w->earthRadius, 20);
    // The Earth: aqua day half above, black night half below with a gray rim and middle line.
    const QImage &e = w->earthIcon;
    QCOMPARE(e.size(), QSize(40, 40));
    QCOMPARE(e.pixel(20, 3), Aqua);
    QCOMPARE(e.pixel(5, 15), Aqua);
    QCOMPARE(e.pixel(35, 15), Aqua);
    QCOMPARE(e.pixel(20, 30), Black);
    QCOMPARE(e.pixel(10, 25), Black);
    QCOMPARE(e.pixel(10, 20), Gray);
    QCOMPARE(e.pixel(30, 20), Gray);
    QVERIFY(near(e, QPoint(20, 39), Gray));
    QCOMPARE(e.pixel(0, 0), Black);
    QCOMPARE(e.pixel(39, 0), Black);
    QCOMPARE(e.pixel(0, 39), Black);
    QCOMPARE(count(e, Aqua) > 500, true);
    // The Moon: half the size, silver above, black below, no middle line.
    const QImage &m = w->moonIcon;
    QCOMPARE(m.size(), QSize(20, 20));
    QCOMPARE(m.pixel(10, 3), Silver);
    QCOMPARE(m.pixel(4, 8), Silver);
    QCOMPARE(m.pixel(10, 15), Black);
    QCOMPARE(m.pixel(0, 0), Black);
    QCOMPARE(m.pixel(5, 13), Black);
    QCOMPARE(w->earthPatch.Patch().size(), QSize(48, 48));
    QCOMPARE(w->moonPatch.Patch().size(), QSize(28, 28));
    QCOMPARE(w->picture.size(), QSize(800, 360));

    // Captions: width = text width + 4, centred on the Earth of their phase at every width.
    Canvas measure;
    measure.font = w->labels[0]->font();
    QCOMPARE(w->labels[0]->font().pixelSize(), 12);
    const int tops[] = {160, 240, 280, 240, 160};
    for (int i = 0; i < 5; ++i) {
        const QLabel *l = w->labels[i];
        const int width = measure.TextWidth(l->text()) + 4;
        QCOMPARE(l->width(), width);
        QCOMPARE(l->y(), tops[i]);
        QCOMPARE(l->palette().color(QPalette::WindowText), QColor(White));
    }
    for (QSize client : {QSize(800, 480), QSize(1880, 880), QSize(1024, 768)}) {
        delete direct;
        w = make(client.width(), client.height());
        const Month mo{client.width(), client.height()};
        for (int i = 0; i < 5; ++i) {
            const int earthX = mo.earth(542 + 18 + 20 * i).x(), centre = w->labels[i]->geometry().center().x();
            QVERIFY2(qAbs(centre - earthX) <= 2, qPrintable(QStringLiteral("%1: %2 %3").arg(client.width()).arg(centre).arg(earthX)));
        }
    }
}

void TestFasiLunari::earthAndMoonAlongTheMonth()
{
    Tfaslun *w = make();
    w->partenzaClick();
    QCOMPARE(double(w->runTime), 0.0);
    QVERIFY(w->phasesReady);
    QVERIFY(!w->partenza->isEnabled());
    QVERIFY(w->fine->isEnabled());
    QVERIFY(!w->traiet->isEnabled());
    QVERIFY(!w->fasit->isEnabled());
    QVERIFY(w->tempo->isActive());
    // The start positions are those of u = 542.
    const Month mo{800, 480};
    QCOMPARE(QPoint(w->earthX, w->earthY), mo.earth(542));
    QCOMPARE(QPoint(w->moonX, w->moonY), mo.moon(542));

    w->tempoTimer();
    checkBodies(w, 542);
    QCOMPARE(double(w->runTime), 0.25);
    // The picture is shown a quarter of the client height down.
    QCOMPARE(w->screen.copy(0, 120, 800, 360), w->picture);

    // Phase moments: the Moon straight above the Earth (towards the Sun) at 18, to its left
    // at 38, below at 58 (where the Earth is lowest, at (W div 2, H div 2)), to its right at
    // 78 and above again at 98.
    const int d = rnd(800 / 14.0L);
    runTo(w, 18);
    checkBodies(w, 560);
    QCOMPARE(QPoint(w->moonX, w->moonY), QPoint(w->earthX, w->earthY - d));
    runTo(w, 38);
    checkBodies(w, 580);
    QCOMPARE(QPoint(w->moonX, w->moonY), QPoint(w->earthX - d, w->earthY));
    runTo(w, 58);
    checkBodies(w, 600);
    QCOMPARE(QPoint(w->earthX, w->earthY), QPoint(400, 240));
    QCOMPARE(QPoint(w->moonX, w->moonY), QPoint(400, 240 + d));
    // Full moon: the whole lit half of the Moon faces the Earth.
    QCOMPARE(w->screen.pixel(404, 120 + 240 + d - 4), Silver);
    QCOMPARE(w->screen.pixel(400, 120 + 240 + d - 6), qRgb(128, 0, 0)); // spoke to the Earth
    runTo(w, 78);
    checkBodies(w, 620);
    QCOMPARE(QPoint(w->moonX, w->moonY), QPoint(w->earthX + d, w->earthY));
    runTo(w, 98);
    checkBodies(w, 640);
    QCOMPARE(QPoint(w->moonX, w->moonY), QPoint(w->earthX, w->earthY - d));

    // Without trails, every earlier position has been erased: the Earth's and the Moon's
    // colours appear only in their own squares.
    const QRect earthSquare(w->earthX - 24, w->earthY - 24, 48, 48);
    const QRect moonSquare(w->moonX - 14, w->moonY - 14, 28, 28);
    QVERIFY(onlyInside(w->picture, Aqua, earthSquare));
    QVERIFY(onlyInside(w->picture, Silver, moonSquare));
    QCOMPARE(count(w->picture, Red), 0);

    // The run draws 481 frames, up to runTime 120; the next tick ends it.
    runTo(w, 120);
    QCOMPARE(double(w->runTime), 120.25);
    checkBodies(w, 662);
    QVERIFY(w->tempo->isActive());
    QVERIFY(!w->fasit->isEnabled());
    w->tempoTimer();
    QVERIFY(!w->tempo->isActive());
    QVERIFY(w->fasit->isEnabled());
    QVERIFY(w->traiet->isEnabled());
    QCOMPARE(double(w->runTime), 120.25);
    // `nuovo` clears the captions and gives `avvio` back.
    QVERIFY(w->fine->isEnabled());
    QVERIFY(!w->partenza->isEnabled());
    w->fine->click();
    QVERIFY(w->partenza->isEnabled());
    QVERIFY(!w->fine->isEnabled());
    for (QLabel *l : w->labels)
        QVERIFY(l->isHidden());
}

void TestFasiLunari::captionsAndSnapshotsOncePerPhase()
{
    Tfaslun *w = make();
    const Month mo{800, 480};
    const int moments[] = {18, 38, 58, 78, 98};
    w->partenzaClick();
    int tick = 0;
    while (w->runTime <= 120) {
        w->tempoTimer();
        ++tick;
        const double drawn = (tick - 1) / 4.0;
        for (int i = 0; i < 5; ++i) {
            // A caption appears at its moment and stays.
            QCOMPARE(!w->labels[i]->isHidden(), drawn >= moments[i]);
            if (drawn == moments[i]) {
                const QPoint e = mo.earth(542 + drawn);
                QCOMPARE(QPoint(w->phaseX[i], w->phaseY[i]), e);
                const QImage &shot = w->phaseShots[i].Patch();
                QCOMPARE(shot.copy(0, 0, 160, 160), w->picture.copy(e.x() - 80, e.y() - 80, 160, 160));
                // The snapshot holds the Earth in its middle and the Moon at its phase (at the
                // phase moments both bodies' spokes point along the axes).
                const QPoint m = mo.moon(542 + drawn) - e + QPoint(80, 80);
                QCOMPARE(shot.pixel(86, 74), Aqua);
                QCOMPARE(shot.pixel(86, 86), Black);
                QCOMPARE(shot.pixel(m + QPoint(4, -4)), Silver);
                QCOMPARE(shot.pixel(m + QPoint(-4, 4)), Black);
                QVERIFY(shot.pixel(m + QPoint(0, -4)) != Silver); // a spoke
            }
        }
    }
    QCOMPARE(tick, 481);
    // The snapshots were not taken again after their moment.
    QCOMPARE(QPoint(w->phaseX[4], w->phaseY[4]), mo.earth(640));
    QCOMPARE(QPoint(w->phaseX[0], w->phaseY[0]), mo.earth(560));
}

void TestFasiLunari::trailsAndPastedSnapshots()
{
    Tfaslun *w = make();
    // `traiet` between runs decides whether the next run leaves trails.
    w->traiet->click();
    QVERIFY(w->showOrbits);
    w->partenzaClick();
    // During a run it cannot be changed.
    QVERIFY(!w->traiet->isEnabled());
    w->traiet->click();
    QVERIFY(w->showOrbits);
    const Month mo{800, 480};
    runTo(w, 120);
    w->tempoTimer();
    QVERIFY(w->fasit->isEnabled());
    // A white trail where the Earth passed, a red one where the Moon passed.
    const QPoint e10 = mo.earth(552), m10 = mo.moon(552), m30 = mo.moon(572);
    QCOMPARE(w->picture.pixel(e10), White);
    QCOMPARE(w->picture.pixel(m10), Red);
    QCOMPARE(w->picture.pixel(m30), Red);
    QVERIFY(count(w->picture, Red) > 300);

    const QImage before = w->picture.copy();
    w->fasit->click();
    QVERIFY(!w->fasit->isEnabled());
    QVERIFY(w->tempo->isActive());
    // Each snapshot square is pasted back at its phase (the middle of each square, clear of
    // its neighbours).
    for (int i = 0; i < 5; ++i) {
        const QPoint e = QPoint(w->phaseX[i], w->phaseY[i]);
        QCOMPARE(w->picture.copy(e.x() - 60, e.y() - 60, 120, 120), w->phaseShots[i].Patch().copy(20, 20, 120, 120));
    }
    // Full moon is back below the Earth at (400, 240).
    QCOMPARE(w->picture.pixel(404, 240 + 57 - 4), Silver);
    // The first snapshot holds the trails drawn before it; away from the squares the
    // trails stay as they were.
    QCOMPARE(w->picture.pixel(e10), White);
    const QPoint e4 = mo.earth(546);
    QVERIFY(e4.x() < w->phaseX[0] - 80);
    QCOMPARE(before.pixel(e4), White);
    QCOMPARE(w->picture.pixel(e4), White);
    // The next tick shows the result and gives `fasit` back.
    w->tempoTimer();
    QCOMPARE(w->screen.copy(0, 120, 800, 360), w->picture);
    QVERIFY(w->fasit->isEnabled());
    QVERIFY(!w->tempo->isActive());

    // A new run clears the picture; with `traiet` up again it leaves no trails.
    w->fine->click();
    w->traiet->click();
    QVERIFY(!w->showOrbits);
    w->partenzaClick();
    QVERIFY(!w->fasit->isEnabled());
    for (QLabel *l : w->labels)
        QVERIFY(l->isHidden());
    QCOMPARE(count(w->picture, Black), 800 * 360);
    runTo(w, 40);
    QCOMPARE(count(w->picture, Red), 0);
    QCOMPARE(w->picture.pixel(e10), Black);
}

void TestFasiLunari::pauseShowsTheVisibilityStrip()
{
    Tfaslun *w = make();
    // Paused before any run: nothing but the black picture, and the timer keeps running.
    w->paus->setChecked(true);
    for (int t = 0; t < 3; ++t)
        w->tempoTimer();
    QVERIFY(w->tempo->isActive());
    QCOMPARE(count(w->screen, Black), 800 * 480);
    w->paus->setChecked(false);

    w->partenzaClick();
    runTo(w, 30);
    w->paus->setChecked(true);
    const Real held = w->runTime;
    const QPoint e(w->earthX, w->earthY), m(w->moonX, w->moonY);
    // The two lines join the Earth's and the Moon's limb points on either side of the line
    // between their centres: they are drawn on the window only.
    const long double u = 542 + 30;
    const long double r = 800 / 85.0L;
    w->tempoTimer();
    for (long double a : {M_PIl * u / 40 + M_PIl, M_PIl * u / 40}) {
        const QPoint from = Month::at(e, 18.5L, a), to = Month::at(m, r, a);
        const QPoint mid = (from + to) / 2;
        QVERIFY(near(w->screen, mid + QPoint(0, 120), White));
        QVERIFY(!near(w->picture, mid, White));
    }
    const int whites = count(w->screen, White);
    QVERIFY(whites > count(w->picture, White) + 60);
    // Nothing moves, and the lines are drawn afresh over the copied picture at every tick.
    for (int t = 0; t < 5; ++t) {
        w->canvas.brush.Color = clLime;
        w->canvas.FillRect(0, 120, 800, 480);
        w->tempoTimer();
        QCOMPARE(w->runTime, held);
        QCOMPARE(QPoint(w->earthX, w->earthY), e);
        QCOMPARE(count(w->screen, White), whites);
    }
    // Released: the run goes on and the lines are gone.
    w->paus->setChecked(false);
    w->tempoTimer();
    QCOMPARE(double(w->runTime), double(held) + 0.25);
    QCOMPARE(w->screen.copy(0, 120, 800, 360), w->picture);
}

void TestFasiLunari::stopWaitsForANewStart()
{
    Tfaslun *w = make();
    w->partenzaClick();
    runTo(w, 40);
    QVERIFY(!w->labels[1]->isHidden());
    const Real at = w->runTime;
    const QImage picture = w->picture.copy();
    w->fine->click();
    QVERIFY(!w->fine->isEnabled());
    QVERIFY(w->partenza->isEnabled());
    QVERIFY(w->traiet->isEnabled());
    QVERIFY(!w->fasit->isEnabled());
    QVERIFY(!w->tempo->isActive());
    QCOMPARE(w->runTime, at);
    for (QLabel *l : w->labels)
        QVERIFY(l->isHidden());
    // The stopped run stays stopped when the window is activated again: the buttons say
    // that nothing runs, and nothing does.
    w->FormDeactivate();
    w->FormActivate();
    QVERIFY(!w->tempo->isActive());
    QCOMPARE(w->runTime, at);
    QCOMPARE(w->picture, picture);
    // `avvio` starts again from the beginning.
    w->partenza->click();
    QCOMPARE(double(w->runTime), 0.0);
    QVERIFY(w->tempo->isActive());
    QVERIFY(!w->partenza->isEnabled());
    QVERIFY(w->fine->isEnabled());
    QCOMPARE(count(w->picture, Black), 800 * 360);
    w->tempoTimer();
    checkBodies(w, 542);
    // A run that is not stopped carries on after a deactivation.
    runTo(w, 5);
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
}

void TestFasiLunari::helpPage()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("fr_FR"));
    main->FinishStartScreen();
    main->OpenSimulation(QStringLiteral("F2"));
    QVERIFY(faslun);
    QCOMPARE(faslun->windowTitle(), QStringLiteral("Phases de la Lune"));
    QCOMPARE(faslun->labels[2]->text(), controlText(88));
    HelpCapture help;
    faslun->guida->click();
    QCOMPARE(help.target, QStringLiteral("AideVastara/luna.htm#fasi"));
    QVERIFY(help.source.toLocalFile().endsWith(QStringLiteral("/AideVastara/luna.htm")));
    QCOMPARE(help.source.fragment(), QStringLiteral("fasi"));
}

QTEST_MAIN(TestFasiLunari)
#include "test_fasilunari.moc"
