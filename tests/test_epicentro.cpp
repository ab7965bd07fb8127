// Epicentre: the seeded quake, the S-P counts of the stations and their beeps, the wave
// fronts on the simulation page, the travel-time graph and its reveal, the reading that
// finds the distances, the solution, the page switches, and the buttons and timers through
// the whole exercise.
#include "globals.h"
#include "language/texts.h"
#include "simwindow.h"
#include "sims/earthquakes/epicentro.h"
#include "vastara.h"

#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {

struct Ring {
    double cx, cy, r;
};

// A one-pixel outline drawn in the box (x1, y1)-(x2, y2), right and bottom edges excluded,
// lies within about a pixel of the circle through the centres of the box's outer pixels.
Ring ringInBox(int x1, int y1, int x2, int y2)
{
    return {(x1 + x2 - 1) / 2.0, (y1 + y2 - 1) / 2.0, (x2 - x1 - 1) / 2.0};
}

Ring circleAround(QPoint c, int r)
{
    return ringInBox(c.x() - r, c.y() - r, c.x() + r, c.y() + r);
}


int countColour(const QImage &img, TColor colour)
{
    const QRgb wanted = qRgb(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            n += (line[x] | 0xFF000000u) == wanted;
    }
    return n;
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a, ap = p - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 > 0 ? qBound(0.0, QPointF::dotProduct(ap, ab) / len2, 1.0) : 0.0;
    const QPointF q = a + t * ab;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

QString Str(int v, int w)
{
    return QString::number(v).rightJustified(w, QLatin1Char(' '));
}

class Host
{
public:
    explicit Host(quint32 seed = 12345) : v(dir.filePath(QStringLiteral("Vastara.cfg")), QString())
    {
        v.FinishStartScreen();
        FixRandomizeSeed(seed);
    }
    ~Host() { FixRandomizeSeed(std::nullopt); }
    TEpice *open()
    {
        v.OpenSimulation(QStringLiteral("D6"));
        return Epice;
    }
    QTemporaryDir dir;
    TVastaras v;
};

// The exercise is laid out on a width of at most 3/2 of the height, centred: the farthest
// station's S time (4 km a pixel at 4 km/s, 2 s a pixel up) and the S line then stay
// under the time axis of the graph.
struct Layout {
    int L, GW;
    Layout(int CW, int CH) : GW(qMin(CW, 3 * CH / 2)) { L = (CW - GW) / 2; }
    int x(int n, int d) const { return L + n * GW / d; } // n/d of the way across
};

// The stations, from the size of the picture.
std::array<QPoint, 3> stationsOf(int CW, int CH)
{
    const Layout s(CW, CH);
    return {QPoint(s.x(1, 4), CH / 3), QPoint(s.x(1, 2), 4 * CH / 5), QPoint(s.x(5, 6), CH / 2)};
}

int distance(QPoint a, QPoint b)
{
    return int(std::lround(std::hypot(double(a.x() - b.x()), double(a.y() - b.y()))));
}

// Runs the wave phase to its end; returns the number of ticks it took.
int runWaves(TEpice *e)
{
    int ticks = 0;
    while (e->tempo->isActive() && ticks < 10000) {
        e->tempoTimer();
        ++ticks;
    }
    return ticks;
}

int runTimer(QTimer *timer, const std::function<void()> &tick)
{
    int ticks = 0;
    while (timer->isActive() && ticks < 10000) {
        tick();
        ++ticks;
    }
    return ticks;
}

void showGraph(TEpice *e)
{
    e->grafClick();
    e->Timer1Timer();
    runTimer(e->Timer2, [e] { e->Timer2Timer(); });
}

int readGraph(TEpice *e)
{
    e->tracciaClick();
    return runTimer(e->temposec, [e] { e->temposecTimer(); });
}

} // namespace

class TestEpicentro : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        BeepCount = 0;
        HintsOn = false;
    }
    void cleanup() { ModalRunner = nullptr; }

    void creationAndLayout();
    void seededQuake();
    void countsAndBeeps_data();
    void countsAndBeeps();
    void wavePicture();
    void pauseHoldsTheWaves();
    void graphPageAndReveal();
    void graphFitsItsPage_data();
    void graphFitsItsPage();
    void readingAndSolution();
    void readingEdgeDistances();
    void pageSwitching();
    void timersAcrossDeactivation();
    void newExercise();
    void helpAndClose();
};

void TestEpicentro::creationAndLayout()
{
    Host h;
    h.v.SwitchLanguage(0);
    TEpice *e = h.open();
    QVERIFY(e);
    QVERIFY(!WindowClosed[6]);
    QCOMPARE(e->Frame()->geometry(), QRect(0, 0, ChildWidth, ChildHeight));
    QCOMPARE(e->windowTitle(), QStringLiteral("Epicentro"));
    QCOMPARE(SimWindow::HintOf(e->pausa), QStringLiteral("pausa"));
    QCOMPARE(SimWindow::HintOf(e->cadenza), QString::fromUtf8("velocità di esecuzione"));
    QCOMPARE(SimWindow::HintOf(e->guida), QStringLiteral("guida"));
    QCOMPARE(SimWindow::HintOf(e->graf), QStringLiteral("pagina grafici"));
    QCOMPARE(SimWindow::HintOf(e->traccia), QStringLiteral("disegna"));
    QCOMPARE(SimWindow::HintOf(e->pagi), QStringLiteral("pagina simulazione"));
    QCOMPARE(SimWindow::HintOf(e->suono), QStringLiteral("suono"));
    QCOMPARE(SimWindow::HintOf(e->disegna), QStringLiteral("nuovo"));
    QVERIFY(e->suono->isCheckable());
    QVERIFY(e->pausa->isCheckable());

    // Timers and rate.
    QCOMPARE(e->tempo->interval(), 90);
    QCOMPARE(e->cadenza->value(), 90);
    QCOMPARE(e->cadenza->minimum(), 5);
    QCOMPARE(e->cadenza->maximum(), 195);
    QCOMPARE(e->temposec->interval(), 10);
    QCOMPARE(e->Timer1->interval(), 1);

    // Stations and the labels beside them.
    const int CW = e->ClientWidth(), CH = e->ClientHeight();
    QCOMPARE(e->CW, CW);
    QCOMPARE(e->CH, CH);
    const auto st = stationsOf(CW, CH);
    for (int s = 0; s < 3; ++s) {
        QCOMPARE(e->station[s], st[s]);
        QCOMPARE(e->aLabel[s]->pos(), st[s] + QPoint(5, 5));
    }
    QCOMPARE(e->a4->pos(), QPoint(Layout(CW, CH).x(9, 20), CH / 5));
    QCOMPARE(e->simPage.size(), QSize(CW, CH));
    QCOMPARE(e->graphPage.size(), QSize(CW, CH));

    // The bottom bar with its six labels, and the strip above it.
    QCOMPARE(e->sotto->geometry(), QRect(0, e->height() - BarHeight, e->width(), BarHeight));
    QCOMPARE(e->Panel2->geometry(), QRect(0, e->height() - BarHeight - 20, e->width(), 20));
    for (int s = 0; s < 3; ++s) {
        for (QLabel *l : {e->tLabel[s], e->rLabel[s]}) {
            QCOMPARE(l->y(), ControlTop);
            QCOMPARE(l->height(), ControlHeight);
            QVERIFY(l->font().bold());
            QVERIFY(l->isHidden());
        }
    }
    QCOMPARE(e->t1->objectName(), QStringLiteral("t1"));
    QCOMPARE(e->r3->objectName(), QStringLiteral("r3"));
    QCOMPARE(e->t1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(e->r2->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    QCOMPARE(e->t3->palette().color(QPalette::WindowText), QColor(255, 0, 255));

    // The first activation started an exercise: only the waves and the pause are live.
    QVERIFY(e->tempo->isActive());
    QVERIFY(!e->temposec->isActive());
    QVERIFY(e->pausa->isEnabled());
    QVERIFY(!e->graf->isEnabled());
    QVERIFY(!e->traccia->isEnabled());
    QVERIFY(!e->pagi->isEnabled());
    QVERIFY(!e->disegna->isEnabled());
    QVERIFY(e->suono->isEnabled());
    QVERIFY(e->a4->isHidden());
    QVERIFY(!e->barrasotto->isHidden());
}

void TestEpicentro::seededQuake()
{
    Host h(77);
    TEpice *e = h.open();
    const int CW = e->CW, CH = e->CH;
    const QPoint first(e->ex, e->ey);
    // The same seed places the same quake.
    e->disegnaClick();
    QCOMPARE(QPoint(e->ex, e->ey), first);
    // Other seeds: somewhere in the middle three quarters of the picture, not always in
    // the same place; the distances are those of the stations from it.
    QSet<QPair<int, int>> places;
    const auto st = stationsOf(CW, CH);
    for (quint32 seed = 1; seed <= 40; ++seed) {
        FixRandomizeSeed(seed * 7919u);
        e->disegnaClick();
        QVERIFY(e->ex >= Layout(CW, CH).x(1, 8) && e->ex < Layout(CW, CH).x(1, 8) + 3 * Layout(CW, CH).GW / 4);
        QVERIFY(e->ey >= CH / 8 && e->ey < CH / 8 + 3 * CH / 4);
        places.insert({e->ex, e->ey});
        int dmax = 1;
        for (int s = 0; s < 3; ++s) {
            QCOMPARE(e->d[s], distance(st[s], QPoint(e->ex, e->ey)));
            dmax = qMax(dmax, e->d[s]);
        }
        QCOMPARE(e->dmax, dmax);
        QCOMPARE(e->rS, 1);
        QCOMPARE(e->rP, 1);
        QCOMPARE(e->T, 4);
    }
    QVERIFY(places.size() >= 30);
    // Spread over the range, not bunched in a corner.
    int left = 0, top = 0;
    for (const auto &p : places) {
        left += p.first < CW / 2;
        top += p.second < CH / 2;
    }
    QVERIFY(left > 5 && left < int(places.size()) - 5);
    QVERIFY(top > 5 && top < int(places.size()) - 5);
}

void TestEpicentro::countsAndBeeps_data()
{
    QTest::addColumn<QPoint>("offset"); // of the quake from station 1
    QTest::addColumn<int>("count1");
    QTest::addColumn<bool>("sound");
    QTest::newRow("3 px") << QPoint(3, 0) << 0 << true;
    QTest::newRow("4 px") << QPoint(0, 4) << 1 << true;
    QTest::newRow("100 px") << QPoint(60, 80) << 49 << true;
    QTest::newRow("100 px, silent") << QPoint(-80, 60) << 49 << false;
}

void TestEpicentro::countsAndBeeps()
{
    QFETCH(QPoint, offset);
    QFETCH(int, count1);
    QFETCH(bool, sound);
    Host h;
    TEpice *e = h.open();
    e->suono->setChecked(sound);
    const auto st = stationsOf(e->CW, e->CH);
    const QPoint quake = st[0] + offset;
    e->PlaceEpicentre(quake.x(), quake.y());
    std::array<int, 3> d{};
    int dmax = 1;
    for (int s = 0; s < 3; ++s) {
        d[s] = distance(st[s], quake);
        dmax = qMax(dmax, d[s]);
    }
    QCOMPARE(e->dmax, dmax);
    BeepCount = 0;
    // The S front passes the farthest station by 20 pixels after dmax + 19 ticks; the next
    // tick ends the phase.
    const int ticks = runWaves(e);
    QCOMPARE(ticks, dmax + 20);
    QCOMPARE(e->c[0], count1);
    // Every count is the S-P time in seconds: about half the distance in pixels (4 km
    // each, P at 8 km/s and S at 4 km/s).
    for (int s = 1; s < 3; ++s)
        QVERIFY2(std::abs(e->c[s] - d[s] / 2) <= 1, qPrintable(QStringLiteral("%1 %2").arg(e->c[s]).arg(d[s])));
    // With the sound on, a beep for every tick a station lies between the fronts; with it
    // off, one beep when the counting is over.
    if (sound)
        QCOMPARE(BeepCount, e->c[0] + e->c[1] + e->c[2]);
    else
        QCOMPARE(BeepCount, 1);

    for (int s = 0; s < 3; ++s) {
        const QString count = e->c[s] > 0 ? Str(e->c[s], 3) : QString();
        QCOMPARE(e->aLabel[s]->text(), count);
        if (e->c[s] > 0)
            QVERIFY(!e->aLabel[s]->isHidden());
        QCOMPARE(e->tLabel[s]->text(), QStringLiteral(" DT = ") + count);
        QVERIFY(!e->tLabel[s]->isHidden());
        QVERIFY(e->rLabel[s]->isHidden());
    }
    // Waiting for the graph: only `graf` acts now.
    QVERIFY(!e->tempo->isActive());
    QVERIFY(!e->pausa->isEnabled());
    QVERIFY(e->graf->isEnabled());
    QVERIFY(!e->traccia->isEnabled());
    QVERIFY(!e->pagi->isEnabled());
    QVERIFY(!e->disegna->isEnabled());
    // The fronts are wiped: only the stations are left.
    QCOMPARE(countColour(e->simPage, clAqua), 0);
    QCOMPARE(countColour(e->simPage, clWhite), 0);
    QCOMPARE(pixelAt(e->simPage, st[0].x(), st[0].y()), clRed);
    QCOMPARE(pixelAt(e->simPage, st[1].x(), st[1].y()), clLime);
    QCOMPARE(pixelAt(e->simPage, st[2].x(), st[2].y()), clFuchsia);
    e->canvas.flush();
    QCOMPARE(e->screen.copy(0, 0, e->CW, e->CH), e->simPage);
}

void TestEpicentro::wavePicture()
{
    Host h;
    TEpice *e = h.open();
    const int CW = e->CW, CH = e->CH;
    const auto st = stationsOf(CW, CH);
    const QPoint quake(CW / 2 + 37, CH / 2 - 23);
    e->PlaceEpicentre(quake.x(), quake.y());
    for (int n = 0; n < 60; ++n)
        e->tempoTimer();
    QCOMPARE(e->rS, 61);
    QCOMPARE(e->rP, 121);
    e->canvas.flush();
    const QImage &img = e->screen;
    // The P front (cyan) of radius 119 and the S front (white) of radius 60, black inside
    // and between; the older fronts are gone.
    const Ring p = circleAround(quake, 119), s = circleAround(quake, 60);
    int checked = 0;
    for (int k = 0; k < 64; ++k) {
        const double a = 2 * M_PI * (k + 0.5) / 64;
        auto at = [&](const Ring &r, double dr) {
            return QPoint(int(std::lround(r.cx + (r.r + dr) * std::cos(a))), int(std::lround(r.cy - (r.r + dr) * std::sin(a))));
        };
        QVERIFY(colourNear(img, at(p, 0).x(), at(p, 0).y(), clAqua));
        QVERIFY(colourNear(img, at(s, 0).x(), at(s, 0).y(), clWhite));
        for (QPoint q : {at(s, -30), at(s, -4), at(s, 4), at(p, -30), at(p, -4), at(p, 4), at(p, 40)}) {
            QCOMPARE(pixelAt(img, q.x(), q.y()), clBlack);
            ++checked;
        }
    }
    QCOMPARE(checked, 64 * 7);
    // The stations, drawn over everything.
    QCOMPARE(pixelAt(img, st[0].x(), st[0].y()), clRed);
    QCOMPARE(pixelAt(img, st[1].x() + 2, st[1].y()), clLime);
    QCOMPARE(pixelAt(img, st[2].x(), st[2].y() - 3), clFuchsia);
    QCOMPARE(pixelAt(img, st[0].x() + 5, st[0].y()), clBlack);

    // The last cyan circle is rubbed out once the P front has passed the farthest station
    // by 21 to 24 pixels.
    const int dmax = e->dmax;
    while (e->rP < dmax + 21) {
        QVERIFY(e->tempo->isActive());
        e->tempoTimer();
    }
    QVERIFY(countColour(e->simPage, clAqua) > 0);
    QVERIFY(e->rP <= dmax + 22);
    e->tempoTimer();
    QCOMPARE(countColour(e->simPage, clAqua), 0);
    QVERIFY(countColour(e->simPage, clWhite) > 0);
}

void TestEpicentro::pauseHoldsTheWaves()
{
    Host h;
    TEpice *e = h.open();
    for (int n = 0; n < 10; ++n)
        e->tempoTimer();
    e->pausa->setChecked(true);
    const int rS = e->rS, rP = e->rP;
    const auto c = e->c;
    e->canvas.brush.Color = clRed;
    e->canvas.FillRect(0, 0, e->CW, e->CH);
    for (int n = 0; n < 500; ++n)
        e->tempoTimer();
    QCOMPARE(e->rS, rS);
    QCOMPARE(e->rP, rP);
    QCOMPARE(e->c, c);
    QVERIFY(e->tempo->isActive());
    // The picture is still shown at every tick.
    e->canvas.flush();
    QCOMPARE(e->screen.copy(0, 0, e->CW, e->CH), e->simPage);
    e->pausa->setChecked(false);
    e->tempoTimer();
    QCOMPARE(e->rS, rS + 1);
    QCOMPARE(e->rP, rP + 2);
}

void TestEpicentro::graphPageAndReveal()
{
    Host h;
    TEpice *e = h.open();
    const int CW = e->CW, CH = e->CH;
    const auto st = stationsOf(CW, CH);
    runWaves(e);
    e->grafClick();
    QVERIFY(!e->graf->isEnabled());
    for (QLabel *l : e->aLabel)
        QVERIFY(l->isHidden());
    QVERIFY(e->Timer1->isActive());
    e->Timer1Timer();
    QVERIFY(!e->Timer1->isActive());
    QVERIFY(e->Timer2->isActive());

    // The graph: origin at (CW/10, 4CH/5), 4 km per pixel across, 2 s per pixel up.
    const QImage &g = e->graphPage;
    const Layout sc(CW, CH);
    const int X0 = sc.x(1, 10), Y0 = 4 * CH / 5, top = CH / 5, right = sc.x(9, 10);
    QCOMPARE(e->GraphOrigin(), QPoint(X0, Y0));
    for (QPoint p : {QPoint(0, 0), QPoint(CW - 1, 0), QPoint(0, CH - 1), QPoint(CW - 1, CH - 1), QPoint(CW / 3, 0),
                     QPoint(0, CH / 3), QPoint(CW / 3, CH - 1), QPoint(CW - 1, CH / 3)})
        QCOMPARE(pixelAt(g, p.x(), p.y()), clWhite);
    QCOMPARE(pixelAt(g, 1, 1), clBlack);
    // Axes and arrow heads.
    for (int y : {Y0 - 1, (Y0 + top) / 2, top + 7})
        QCOMPARE(pixelAt(g, X0, y), clWhite);
    QCOMPARE(pixelAt(g, X0, top + 3), clWhite);
    QCOMPARE(pixelAt(g, X0 - 5, top + 3), clBlack);
    for (int x : {X0 + 3, (X0 + right) / 2, right - 7})
        QCOMPARE(pixelAt(g, x, Y0), clWhite);
    QCOMPARE(pixelAt(g, right - 2, Y0), clWhite);
    QCOMPARE(pixelAt(g, right - 3, Y0 - 5), clBlack);
    // Ticks: 3 px, 6 px every fifth.
    QCOMPARE(pixelAt(g, X0 + 5, Y0 + 2), clWhite);
    QCOMPARE(pixelAt(g, X0 + 5, Y0 + 3), clBlack);
    QCOMPARE(pixelAt(g, X0 + 7, Y0 + 1), clBlack);
    QCOMPARE(pixelAt(g, X0 + 25, Y0 + 5), clWhite);
    QCOMPARE(pixelAt(g, X0 + 25, Y0 + 6), clBlack);
    QCOMPARE(pixelAt(g, X0 - 2, Y0 - 5), clWhite);
    QCOMPARE(pixelAt(g, X0 - 3, Y0 - 5), clBlack);
    QCOMPARE(pixelAt(g, X0 - 5, Y0 - 25), clWhite);
    QCOMPARE(pixelAt(g, X0 - 6, Y0 - 25), clBlack);
    const int lastDistanceTick = 4 * sc.GW / 25 - 2, lastTimeTick = 3 * CH / 25 - 2;
    QCOMPARE(pixelAt(g, X0 + 5 * lastDistanceTick, Y0 + 1), clWhite);
    if (X0 + 5 * (lastDistanceTick + 1) < right - 6) // else under the arrow head
        QCOMPARE(pixelAt(g, X0 + 5 * (lastDistanceTick + 1), Y0 + 1), clBlack);
    QCOMPARE(pixelAt(g, X0 - 1, Y0 - 5 * lastTimeTick), clWhite);
    QCOMPARE(pixelAt(g, X0 - 1, Y0 - 5 * (lastTimeTick + 1)), clBlack);
    // Labels: "200" under x = X0 + 50 and "100" beside y = Y0 - 50.
    auto inked = [&](QRect box) {
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (pixelAt(g, x, y) == clWhite)
                    return true;
        return false;
    };
    QVERIFY(inked(QRect(X0 + 40, Y0 + 8, 21, 14)));
    QVERIFY(!inked(QRect(X0 + 30, Y0 + 7, 41, 1)));
    QVERIFY(inked(QRect(X0 - 30, Y0 - 56, 20, 12)));
    // Travel-time lines: S (white) through (X0 + 2i, Y0 - i), P (cyan) through (X0 + 4i, Y0 - i).
    const int sEnd = 2 * sc.GW / 5;
    for (int i = 2; i < sEnd; ++i)
        QCOMPARE(pixelAt(g, X0 + 2 * i, Y0 - i), clWhite);
    QCOMPARE(pixelAt(g, X0 + 4 * sc.GW / 5 + 2, Y0 - 2 * sc.GW / 5 - 1), clBlack);
    for (int i = 1; i < sc.GW / 5; ++i)
        QCOMPARE(pixelAt(g, X0 + 4 * i, Y0 - i), clAqua);
    QCOMPARE(pixelAt(g, X0 + 200, Y0 - 75), clBlack);

    // The reveal: a rectangle growing from the centre, 8 px wider and 6 px taller each tick,
    // with a grey frame round it.
    const int cx = CW / 2, cy = CH / 2;
    // Mark the window so that what the reveal leaves alone can be told apart.
    e->canvas.brush.Color = clNavy;
    e->canvas.FillRect(0, 0, CW, CH);
    for (int m = 1; m <= 40; ++m)
        e->Timer2Timer();
    QCOMPARE(e->k, 40);
    e->canvas.flush();
    const QRect shown = Rect(cx - 4 * 39, cy - 3 * 39, cx + 4 * 39, cy + 3 * 39);
    QCOMPARE(e->screen.copy(shown), g.copy(shown));
    QCOMPARE(pixelAt(e->screen, cx - 4 * 40 + 1, cy), RGB(128, 128, 128));
    QCOMPARE(pixelAt(e->screen, cx, cy - 3 * 40 + 1), RGB(128, 128, 128));
    QCOMPARE(pixelAt(e->screen, cx + 4 * 40 - 1, cy), RGB(128, 128, 128));
    // Between the rectangle and its frame, and further out, nothing is copied yet.
    QCOMPARE(pixelAt(e->screen, cx, cy - 3 * 39 - 1), clNavy);
    QCOMPARE(pixelAt(e->screen, cx, cy + 3 * 39 + 1), clNavy);
    QCOMPARE(pixelAt(e->screen, cx - 4 * 39 - 1, cy), clNavy);
    QCOMPARE(pixelAt(e->screen, cx + 4 * 39 + 1, cy), clNavy);
    QVERIFY(!shown.contains(st[0]));
    QCOMPARE(pixelAt(e->screen, st[0].x(), st[0].y()), clNavy);
    QVERIFY(!e->traccia->isEnabled());

    const int rest = runTimer(e->Timer2, [e] { e->Timer2Timer(); });
    QCOMPARE(40 + rest, CW / 8 + 1);
    e->canvas.flush();
    QCOMPARE(e->screen.copy(0, 0, CW, CH), g);
    // First reveal of this exercise: the distance labels come up and the reading can start.
    for (QLabel *l : e->rLabel) {
        QVERIFY(!l->isHidden());
        QVERIFY(l->text().isEmpty());
    }
    QVERIFY(e->traccia->isEnabled());
    QVERIFY(!e->pagi->isEnabled());
    QVERIFY(!e->disegna->isEnabled());
    QVERIFY(!e->graf->isEnabled());
}

void TestEpicentro::graphFitsItsPage_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("wide") << QSize(1880, 880);
    QTest::newRow("4:3") << QSize(1024, 768);
}

// The S line ends under the tip of the time axis, and so does the reading of the farthest
// station a quake can have (station 3, the quake at the top left of its range).
void TestEpicentro::graphFitsItsPage()
{
    QFETCH(QSize, client);
    Host h;
    const QSize child(ChildWidth, ChildHeight);
    auto restore = qScopeGuard([child] { ChildWidth = child.width(), ChildHeight = child.height(); });
    auto *e = static_cast<TEpice *>(OpenAtClient(&h.v, QStringLiteral("D6"), client));
    QVERIFY(e);
    const int CW = client.width(), CH = client.height();
    const Layout sc(CW, CH);
    e->PlaceEpicentre(sc.x(1, 8), CH / 8);
    const int far = distance(stationsOf(CW, CH)[2], QPoint(sc.x(1, 8), CH / 8));
    QCOMPARE(e->dmax, far);
    runWaves(e);
    showGraph(e);
    readGraph(e);
    const QImage &g = e->graphPage;
    const QPoint O(sc.x(1, 10), 4 * CH / 5);
    int tip = 1; // the topmost white pixel of the time axis, under the page's border
    while (tip < O.y() && pixelAt(g, O.x(), tip) != clWhite)
        ++tip;
    // S time: one second a pixel of distance (4 km at 4 km/s), half a pixel up.
    const int sEnd = 2 * sc.GW / 5; // S line's end pixel is left out
    QVERIFY(tip > 1 && O.y() - sEnd >= tip && O.y() - far / 2 > tip && O.x() + 2 * sEnd < CW);
    QCOMPARE(pixelAt(g, O.x() + 2 * (sEnd - 1), O.y() - (sEnd - 1)), clWhite);
    QCOMPARE(pixelAt(g, O.x() + far, O.y() - far / 2), clFuchsia);
}

void TestEpicentro::readingAndSolution()
{
    Host h;
    TEpice *e = h.open();
    const int CW = e->CW, CH = e->CH;
    const auto st = stationsOf(CW, CH);
    const QPoint quake(CW / 2 + 37, CH / 2 - 23);
    e->PlaceEpicentre(quake.x(), quake.y());
    std::array<int, 3> d{};
    for (int s = 0; s < 3; ++s)
        d[s] = distance(st[s], quake);
    const int dmax = *std::max_element(d.begin(), d.end());
    // Distinct, well apart distances keep the marks of the stations apart.
    QVERIFY(std::abs(d[0] - d[1]) > 10 && std::abs(d[1] - d[2]) > 10 && std::abs(d[0] - d[2]) > 10);
    runWaves(e);
    showGraph(e);
    BeepCount = 0;

    e->tracciaClick();
    QVERIFY(!e->a4->isHidden());
    QVERIFY(e->temposec->isActive());
    QVERIFY(!e->traccia->isEnabled());
    const int X0 = Layout(CW, CH).x(1, 10), Y0 = 4 * CH / 5;
    const QImage &g = e->graphPage;
    int ticks = 0;
    const int dmin = *std::min_element(d.begin(), d.end());
    // Read up to a distance short of the nearest station.
    const int x = dmin - 5;
    while (e->T <= x) {
        e->temposecTimer();
        ++ticks;
    }
    // The current distance: a yellow segment between the two lines, the previous one
    // rubbed out, a yellow mark on the time axis at the S time, the S-P time shown.
    QCOMPARE(pixelAt(g, X0 + x, Y0 - (x / 2 + x / 4) / 2), clYellow);
    QCOMPARE(pixelAt(g, X0 + x - 1, Y0 - ((x - 1) / 2 + (x - 1) / 4) / 2), clBlack);
    QCOMPARE(pixelAt(g, X0 + 2, Y0 - x / 2), clYellow);
    QCOMPARE(e->a4->text(), QStringLiteral("DT = ") + Str(x / 2, 3));
    for (QLabel *l : e->rLabel)
        QVERIFY(l->text().isEmpty());
    QCOMPARE(BeepCount, 0);

    // Reaching a station's distance: two beeps (at d and d + 1, sound on or off) and its
    // distance in km.
    while (e->T <= dmin + 1) {
        e->temposecTimer();
        ++ticks;
    }
    const int nearest = int(std::min_element(d.begin(), d.end()) - d.begin());
    QCOMPARE(BeepCount, 2);
    QCOMPARE(e->rLabel[nearest]->text(), QStringLiteral(" d = ") + Str(4 * dmin, 4));

    ticks += runTimer(e->temposec, [e] { e->temposecTimer(); });
    QCOMPARE(ticks, dmax + 1 - 4 + 1);
    QCOMPARE(BeepCount, 6);
    for (int s = 0; s < 3; ++s)
        QCOMPARE(e->rLabel[s]->text(), QStringLiteral(" d = ") + Str(4 * d[s], 4));
    QCOMPARE(e->a4->text(), QStringLiteral("DT = ") + Str((dmax + 1) / 2, 3));

    // Each station: a solid segment between the lines at its distance, dashed lines to
    // the time axis at its S and P times and down to the distance axis.
    for (int s = 0; s < 3; ++s) {
        const TColor colour = TEpice::StationColour[s];
        const int ds = d[s];
        for (int y = Y0 - ds / 2; y < Y0 - ds / 4; ++y) {
            // The dashed lines of the stations marked later cross it.
            bool crossed = false;
            for (int o : d)
                crossed = crossed || (o > ds && (y == Y0 - o / 2 || y == Y0 - o / 4));
            if (!crossed)
                QCOMPARE(pixelAt(g, X0 + ds, y), colour);
        }
        for (int row : {Y0 - ds / 2, Y0 - ds / 4}) {
            int on = 0, off = 0;
            for (int xx = X0 + 8; xx < X0 + ds - 2; ++xx) {
                const TColor c = pixelAt(g, xx, row);
                on += c == colour;
                off += c == clBlack;
            }
            QVERIFY2(on > (ds - 10) / 3 && off > (ds - 10) / 6, qPrintable(QStringLiteral("%1 %2 %3").arg(s).arg(on).arg(off)));
        }
        int on = 0;
        for (int y = Y0 - ds / 4 + 1; y < Y0 - 1; ++y)
            on += pixelAt(g, X0 + ds, y) == colour;
        QVERIFY(on > (ds / 4 - 2) / 3);
    }
    // No reading segment is left between the lines.
    for (int xx = X0 + 5; xx <= X0 + dmax + 2; ++xx)
        for (int y = Y0 - dmax / 2 - 2; y < Y0; ++y)
            QVERIFY(pixelAt(g, xx, y) != clYellow);
    // The marks left on the time axis span the S-P interval of the last distance (the
    // farthest station's: the reading after it rubs nothing out).
    auto stationRow = [&](int row) {
        for (int ds : d)
            if (row == ds / 2 || row == ds / 4)
                return true;
        return false;
    };
    for (int m = 2; m <= dmax / 2 - 1; ++m) {
        if (stationRow(m))
            continue;
        const TColor expected = m <= dmax / 4 ? clBlack : clYellow;
        QCOMPARE(pixelAt(g, X0 + 2, Y0 - m), expected);
    }

    // The solution on the simulation page: circles round the stations with radii of their
    // distances, lines to the quake, and the quake as a white disc.
    QVERIFY(!e->temposec->isActive());
    QVERIFY(e->pagi->isEnabled());
    QVERIFY(e->disegna->isEnabled());
    QVERIFY(!e->traccia->isEnabled());
    QVERIFY(!e->graf->isEnabled());
    e->canvas.flush();
    QCOMPARE(e->screen.copy(0, 0, CW, CH), g);
    const QImage &sim = e->simPage;
    QCOMPARE(pixelAt(sim, quake.x(), quake.y()), clWhite);
    QCOMPARE(pixelAt(sim, quake.x() - 2, quake.y() + 1), clWhite);
    const std::array<Ring, 3> rings{circleAround(st[0], d[0]), Ring{double(st[1].x()), double(st[1].y()), double(d[1])},
                                    Ring{double(st[2].x()), double(st[2].y()), double(d[2])}};
    auto nearOther = [&](QPointF p, int self) {
        if (std::hypot(p.x() - quake.x(), p.y() - quake.y()) < 8)
            return true;
        for (int s = 0; s < 3; ++s) {
            if (std::hypot(p.x() - st[s].x(), p.y() - st[s].y()) < 8)
                return true;
            if (distanceToSegment(p, quake, st[s]) < 3 && s != self)
                return true;
            if (s != self && self < 3 && std::abs(std::hypot(p.x() - rings[s].cx, p.y() - rings[s].cy) - rings[s].r) < 3)
                return true;
        }
        return false;
    };
    int checked = 0;
    for (int s = 0; s < 3; ++s) {
        const TColor colour = TEpice::StationColour[s];
        for (int j = 0; j < 100; ++j) {
            const double a = j * M_PI / 50 + 0.013;
            const QPointF p(rings[s].cx + rings[s].r * std::cos(a), rings[s].cy + rings[s].r * std::sin(a));
            if (!QRectF(1, 1, CW - 2, CH - 2).contains(p) || nearOther(p, s))
                continue;
            QVERIFY2(colourNear(sim, int(std::lround(p.x())), int(std::lround(p.y())), colour),
                     qPrintable(QStringLiteral("station %1 at (%2, %3)").arg(s).arg(p.x()).arg(p.y())));
            ++checked;
        }
        const QPointF mid = (QPointF(quake) + QPointF(st[s])) / 2;
        QVERIFY(colourNear(sim, int(mid.x()), int(mid.y()), colour));
        QCOMPARE(pixelAt(sim, st[s].x(), st[s].y()), colour);
    }
    QVERIFY(checked > 100);
    // Everywhere else the page is black: nothing is left of the fronts.
    int blank = 0;
    for (int y = 3; y < CH - 3; y += 17) {
        for (int xx = 3; xx < CW - 3; xx += 19) {
            const QPointF p(xx, y);
            bool away = !nearOther(p, 3);
            for (int s = 0; s < 3 && away; ++s)
                away = std::abs(std::hypot(p.x() - rings[s].cx, p.y() - rings[s].cy) - rings[s].r) >= 3
                       && distanceToSegment(p, quake, st[s]) >= 3;
            if (!away)
                continue;
            QCOMPARE(pixelAt(sim, xx, y), clBlack);
            ++blank;
        }
    }
    QVERIFY(blank > 1000);
}

void TestEpicentro::readingEdgeDistances()
{
    // A station 3 px from the quake is found once, at the first reading (T = 4); one at
    // 2 px is never marked; two stations at the same distance are marked together and
    // each beeps.
    Host h;
    TEpice *e = h.open();
    const auto st = stationsOf(e->CW, e->CH);
    const int X0 = Layout(e->CW, e->CH).x(1, 10), Y0 = 4 * e->CH / 5;

    e->PlaceEpicentre(st[0].x() + 3, st[0].y());
    QCOMPARE(e->d[0], 3);
    runWaves(e);
    QCOMPARE(e->c[0], 0);
    showGraph(e);
    BeepCount = 0;
    e->tracciaClick();
    e->temposecTimer();
    QCOMPARE(BeepCount, 1);
    QCOMPARE(e->r1->text(), QStringLiteral(" d =   12"));
    QCOMPARE(pixelAt(e->graphPage, X0 + 3, Y0 - 1), clRed);
    runTimer(e->temposec, [e] { e->temposecTimer(); });
    QCOMPARE(BeepCount, 1 + 2 + 2);

    e->disegnaClick();
    e->PlaceEpicentre(st[0].x(), st[0].y() - 2);
    QCOMPARE(e->d[0], 2);
    runWaves(e);
    showGraph(e);
    BeepCount = 0;
    readGraph(e);
    QCOMPARE(BeepCount, 4);
    QVERIFY(e->r1->text().isEmpty());
    QVERIFY(!e->r2->text().isEmpty());

    // A quake as far from station 1 as from station 2.
    QPoint quake;
    for (int dy = -40; dy <= 40 && quake.isNull(); ++dy) {
        for (int dx = -40; dx <= 40; ++dx) {
            const QPoint p = (st[0] + st[1]) / 2 + QPoint(dx, dy);
            const int a = distance(st[0], p), b = distance(st[1], p), c = distance(st[2], p);
            if (a == b && std::abs(c - a) > 5) {
                quake = p;
                break;
            }
        }
    }
    QVERIFY(!quake.isNull());
    e->disegnaClick();
    e->PlaceEpicentre(quake.x(), quake.y());
    QCOMPARE(e->d[0], e->d[1]);
    runWaves(e);
    QCOMPARE(e->c[0], e->c[1]);
    showGraph(e);
    BeepCount = 0;
    e->tracciaClick();
    while (e->T < e->d[0])
        e->temposecTimer();
    QVERIFY(e->r1->text().isEmpty());
    QVERIFY(e->r2->text().isEmpty());
    e->temposecTimer();
    QCOMPARE(BeepCount, 2);
    QCOMPARE(e->r1->text(), QStringLiteral(" d = ") + Str(4 * e->d[0], 4));
    QCOMPARE(e->r2->text(), e->r1->text());
    e->temposecTimer();
    QCOMPARE(BeepCount, 4);
    runTimer(e->temposec, [e] { e->temposecTimer(); });
    QCOMPARE(BeepCount, 6);
}

void TestEpicentro::pageSwitching()
{
    Host h;
    HintsOn = true;
    TEpice *e = h.open();
    const int CW = e->CW, CH = e->CH;
    runWaves(e);
    showGraph(e);
    readGraph(e);
    QCOMPARE(e->pagi->toolTip(), controlText(14));

    // To the simulation page: the frame closes in from the edges.
    e->pagiClick();
    QVERIFY(!e->graphShown);
    QVERIFY(e->a4->isHidden());
    for (QLabel *l : e->aLabel)
        QVERIFY(!l->isHidden());
    QCOMPARE(SimWindow::HintOf(e->pagi), controlText(12));
    QCOMPARE(e->pagi->toolTip(), controlText(12));
    QVERIFY(!e->pagi->isEnabled());
    QVERIFY(!e->disegna->isEnabled());
    QVERIFY(e->Timer3->isActive());
    for (int m = 1; m <= 30; ++m)
        e->Timer3Timer();
    e->canvas.flush();
    // After 30 ticks the strips of step 29 are copied and its frame drawn over their
    // inner edges.
    const int k = 29;
    for (const QRect &strip : {Rect(0, 0, 4 * k, CH), Rect(0, 0, CW, 3 * k), Rect(CW - 4 * k + 1, 0, CW, CH),
                               Rect(0, CH - 3 * k + 1, CW, CH)})
        QCOMPARE(e->screen.copy(strip), e->simPage.copy(strip));
    QCOMPARE(pixelAt(e->screen, CW / 2, 3 * k), RGB(128, 128, 128));
    QCOMPARE(pixelAt(e->screen, 4 * k, CH / 2), RGB(128, 128, 128));
    QCOMPARE(pixelAt(e->screen, CW - 4 * k, CH / 2), RGB(128, 128, 128));
    // The middle still shows the graph.
    const QRect middle = Rect(4 * k + 1, 3 * k + 1, CW - 4 * k, CH - 3 * k);
    QCOMPARE(e->screen.copy(middle), e->graphPage.copy(middle));
    const int rest = runTimer(e->Timer3, [e] { e->Timer3Timer(); });
    int steps = 0;
    while (3 * steps < CH / 2)
        ++steps;
    QCOMPARE(30 + rest, steps);
    e->canvas.flush();
    QCOMPARE(e->screen.copy(0, 0, CW, CH), e->simPage);
    QVERIFY(e->pagi->isEnabled());
    QVERIFY(e->disegna->isEnabled());
    QVERIFY(!e->traccia->isEnabled());

    // Back to the graph page: no reading this time, the page and new exercise stay offered.
    e->pagiClick();
    QVERIFY(e->graphShown);
    for (QLabel *l : e->aLabel)
        QVERIFY(l->isHidden());
    QVERIFY(e->a4->isHidden());
    QCOMPARE(e->pagi->toolTip(), controlText(14));
    QVERIFY(e->Timer2->isActive());
    QVERIFY(!e->pagi->isEnabled());
    runTimer(e->Timer2, [e] { e->Timer2Timer(); });
    e->canvas.flush();
    QCOMPARE(e->screen.copy(0, 0, CW, CH), e->graphPage);
    QVERIFY(e->pagi->isEnabled());
    QVERIFY(e->disegna->isEnabled());
    QVERIFY(!e->traccia->isEnabled());
    QVERIFY(!e->temposec->isActive());
}

void TestEpicentro::timersAcrossDeactivation()
{
    Host h;
    TEpice *e = h.open();
    // Rate: the wave timer, the reading timer and the graph builder follow the track bar.
    e->cadenza->setValue(150);
    QCOMPARE(e->tempo->interval(), 50);
    QCOMPARE(e->temposec->interval(), 50);
    QCOMPARE(e->Timer1->interval(), 50);

    auto away = [&] {
        h.v.OpenSimulation(QStringLiteral("D1"));
        QVERIFY(!e->IsActiveChild());
    };
    auto back = [&] {
        h.v.B1Click();
        if (h.v.ActiveSim() != e)
            h.v.B2Click();
        QCOMPARE(h.v.ActiveSim(), e);
    };
    // Waves running: they stop while another window is active and go on afterwards.
    away();
    QVERIFY(!e->tempo->isActive());
    back();
    QVERIFY(e->tempo->isActive());
    QVERIFY(!e->temposec->isActive());

    // Waves over: they stay over.
    runWaves(e);
    h.v.B1Click();
    QVERIFY(!e->IsActiveChild());
    back();
    QVERIFY(!e->tempo->isActive());

    // Reading: suspended and resumed; the waves stay stopped.
    showGraph(e);
    e->tracciaClick();
    e->temposecTimer();
    h.v.B1Click();
    QVERIFY(!e->temposec->isActive());
    back();
    QVERIFY(e->temposec->isActive());
    QVERIFY(!e->tempo->isActive());
    const int T = e->T;
    e->temposecTimer();
    QCOMPARE(e->T, T + 1);

    // Reading over: it stays over.
    runTimer(e->temposec, [e] { e->temposecTimer(); });
    h.v.B1Click();
    QVERIFY(!e->IsActiveChild());
    back();
    QVERIFY(!e->temposec->isActive());
    QVERIFY(!e->tempo->isActive());
}

void TestEpicentro::newExercise()
{
    Host h;
    TEpice *e = h.open();
    runWaves(e);
    showGraph(e);
    readGraph(e);
    QVERIFY(e->disegna->isEnabled());
    QVERIFY(!e->a4->isHidden());

    FixRandomizeSeed(4242);
    QTest::mouseClick(e->disegna, Qt::LeftButton);
    for (int s = 0; s < 3; ++s) {
        QVERIFY(e->tLabel[s]->isHidden());
        QVERIFY(e->rLabel[s]->isHidden());
        QVERIFY(e->tLabel[s]->text().isEmpty());
        QVERIFY(e->rLabel[s]->text().isEmpty());
        QVERIFY(e->aLabel[s]->text().isEmpty());
        QCOMPARE(e->c[s], 0);
    }
    // The last reading does not stay over the new waves.
    QVERIFY(e->a4->isHidden());
    QVERIFY(!e->disegna->isEnabled());
    QVERIFY(!e->pagi->isEnabled());
    QVERIFY(!e->graf->isEnabled());
    QVERIFY(e->pausa->isEnabled());
    QVERIFY(e->tempo->isActive());
    QVERIFY(e->graphShown);
    QVERIFY(e->firstReveal);
    QCOMPARE(e->rS, 1);
    QCOMPARE(e->rP, 1);
    QCOMPARE(e->T, 4);
    e->canvas.flush();
    // The first tick shows the new simulation page.
    e->tempoTimer();
    e->canvas.flush();
    QCOMPARE(e->screen.copy(0, 0, e->CW, e->CH), e->simPage);
    QCOMPARE(countColour(e->simPage, clYellow), 0);

    // The whole exercise again: the first graph reveal offers the reading again.
    runWaves(e);
    showGraph(e);
    QVERIFY(e->traccia->isEnabled());
    QVERIFY(!e->pagi->isEnabled());
    const int ticks = readGraph(e);
    QCOMPARE(ticks, e->dmax - 2);
}

void TestEpicentro::helpAndClose()
{
    Host h;
    h.v.SwitchLanguage(0);
    TEpice *e = h.open();
    QStringList targets;
    ModalRunner = [&](QDialog *) {
        targets << HelpTarget;
        return 0;
    };
    e->guidaClick();
    QCOMPARE(targets, QStringList{QStringLiteral("AiutoVastara/terremoti.htm#epicentro")});

    // Closed in the middle of a reveal: every timer stops, the pages are freed.
    runWaves(e);
    e->grafClick();
    e->Timer1Timer();
    e->Timer2Timer();
    QVERIFY(e->Timer2->isActive());
    QPointer<TEpice> guard(e);
    e->Frame()->close();
    QVERIFY(WindowClosed[6]);
    for (QTimer *t : {static_cast<QTimer *>(e->tempo), e->temposec, e->Timer1, e->Timer2, e->Timer3})
        QVERIFY(!t->isActive());
    QVERIFY(e->simPage.isNull());
    QVERIFY(e->graphPage.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull());
    QCOMPARE(Epice, nullptr);
    QVERIFY(h.v.BackdropVisible());
}

QTEST_MAIN(TestEpicentro)
#include "test_epicentro.moc"
