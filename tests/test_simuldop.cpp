// Doppler simulation: the tables of front ages, the eight pre-drawn frames checked against
// the circles of the fronts, the sliding window that keeps each front centred where it was
// emitted, the controls and the life cycle, and the bar metrics handed on to later windows.
#include "globals.h"
#include "language/texts.h"
#include "simwindow.h"
#include "sims/misc/simuldop.h"
#include "vastara.h"

#include <QApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {

// A one-pixel circle outline drawn in the box (x1, y1)-(x2, y2), right and bottom edges
// excluded: its pixels lie within about a pixel of the circle through the centres of the
// outermost pixels of the box.
struct Ring {
    double cx, cy, r;
    TColor colour;
};

Ring ringInBox(int x1, int y1, int x2, int y2, TColor colour)
{
    return {(x1 + x2 - 1) / 2.0, (y1 + y2 - 1) / 2.0, (x2 - x1 - 1) / 2.0, colour};
}


// Samples every ring of `drawn` and of `absent` inside `area`, away from the other drawn
// rings and from the source: a drawn ring must show its colour there, an absent one black.
void checkRings(const QImage &img, const QRect &area, const QVector<Ring> &drawn, const QVector<Ring> &absent,
                QPointF source, int &seen, int &empty)
{
    auto sample = [&](const Ring &ring, bool isDrawn) {
        const int samples = 48;
        for (int s = 0; s < samples; ++s) {
            const double a = 2 * M_PI * (s + 0.5) / samples;
            const double px = ring.cx + ring.r * std::cos(a), py = ring.cy - ring.r * std::sin(a);
            const int x = int(std::lround(px)), y = int(std::lround(py));
            if (!area.adjusted(1, 1, -1, -1).contains(x, y))
                continue;
            if (std::hypot(px - source.x(), py - source.y()) < 6)
                continue;
            bool clear = true;
            for (const Ring &other : drawn) {
                if (&other == &ring)
                    continue;
                if (std::abs(std::hypot(px - other.cx, py - other.cy) - other.r) < 3) {
                    clear = false;
                    break;
                }
            }
            if (!clear)
                continue;
            if (isDrawn) {
                if (!colourNear(img, x, y, ring.colour))
                    QFAIL(qPrintable(QStringLiteral("front of radius %1 missing at (%2, %3)").arg(ring.r).arg(x).arg(y)));
                ++seen;
            } else {
                if (pixelAt(img, x, y) != clBlack)
                    QFAIL(qPrintable(QStringLiteral("stray front of radius %1 at (%2, %3)").arg(ring.r).arg(x).arg(y)));
                ++empty;
            }
        }
    };
    for (const Ring &ring : drawn)
        sample(ring, true);
    for (const Ring &ring : absent)
        sample(ring, false);
}

// The fronts on frame f for source speed i and width W: a front of age j is a circle of
// radius 5j round the place the source had j ticks ago; blue when j = f (mod 8), aqua when
// j = f + 4 (mod 8); ages up to `oldest` are drawn.
void frontsOfFrame(int f, int i, int W, int H, int oldest, QVector<Ring> &drawn, QVector<Ring> &absent)
{
    const int sx = 3 * W / 5, sy = H / 4;
    for (int j = 1; j <= oldest + 8; ++j) {
        TColor colour = clBlack;
        if (j % 8 == f)
            colour = clBlue;
        else if ((j + 4) % 8 == f)
            colour = clAqua;
        const int x1 = sx - i * j - 5 * j, y1 = sy - 5 * j;
        const Ring ring = ringInBox(x1, y1, x1 + 10 * j, y1 + 10 * j, colour);
        if (colour != clBlack && j <= oldest)
            drawn.append(ring);
        else
            absent.append(ring);
    }
}

class Host
{
public:
    Host() : v(dir.filePath(QStringLiteral("Vastara.cfg")), QString()) { v.FinishStartScreen(); }
    Tdopsimul *open()
    {
        v.OpenSimulation(QStringLiteral("I31"));
        return dopsimul;
    }
    QTemporaryDir dir;
    TVastaras v;
};

} // namespace

class TestSimuldop : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        LanguageIndex = 1;
        BeepCount = 0;
    }
    void cleanup() { ModalRunner = nullptr; }

    void creationTablesAndControls();
    void framesShowTheFronts_data();
    void framesShowTheFronts();
    void frontsStayWhereTheyWereEmitted();
    void runWrapsAndPauseHolds();
    void speedChangeAndRedraw();
    void activationHelpAndClose();
    void controlTopIsHandedOnToLaterWindows();
};

void TestSimuldop::creationTablesAndControls()
{
    Host h;
    h.v.SwitchLanguage(0);
    Tdopsimul *w = h.open();
    QVERIFY(w);
    QCOMPARE(h.v.ActiveSim(), w);
    QVERIFY(!WindowClosed[22]);
    QCOMPARE(w->Frame()->geometry(), QRect(0, 0, ChildWidth, ChildHeight));
    QCOMPARE(w->windowTitle(), QStringLiteral("Doppler"));

    // Controls and their start values.
    QCOMPARE(w->andamento->minimum(), 5);
    QCOMPARE(w->andamento->maximum(), 195);
    QCOMPARE(w->andamento->value(), 99);
    QCOMPARE(w->tempo->interval(), 101);
    QCOMPARE(w->plonda->minimum(), 1);
    QCOMPARE(w->plonda->maximum(), 7);
    QCOMPARE(w->plonda->value(), 1);
    QCOMPARE(int(w->i), 1);
    QCOMPARE(SimWindow::HintOf(w->pausa), QStringLiteral("pausa"));
    QCOMPARE(SimWindow::HintOf(w->andamento), QString::fromUtf8("velocità di esecuzione"));
    QCOMPARE(SimWindow::HintOf(w->plonda), QString::fromUtf8("velocità della sorgente"));
    QCOMPARE(SimWindow::HintOf(w->disegna), QStringLiteral("nuovo"));
    QCOMPARE(SimWindow::HintOf(w->guida), QStringLiteral("guida"));
    QCOMPARE(w->Panel3->text(), QString::fromUtf8("velocità dell'onda = 5"));
    QCOMPARE(w->Panel4->text(), QString::fromUtf8("velocità della sorgente  v = 1"));

    // The bottom bar.
    QCOMPARE(w->sotto->geometry(), QRect(0, w->height() - BarHeight, w->width(), BarHeight));
    for (QWidget *c : {static_cast<QWidget *>(w->Panel3), static_cast<QWidget *>(w->Panel4),
                       static_cast<QWidget *>(w->progressione)}) {
        QCOMPARE(c->height(), ControlHeight);
        QCOMPARE(c->y(), ControlTop);
    }
    QCOMPARE(w->progressione->x(), w->sotto->width() - w->progressione->width() - 5);
    QCOMPARE(w->Bevel1->height(), ControlHeight + 4);
    QCOMPARE(w->Bevel1->y(), ControlTop - 2);
    QVERIFY(w->progressione->isHidden());
    // The frames were drawn with the bar counting up to full.
    QCOMPARE(w->progressione->value(), w->progressione->maximum());

    // Tables of ages, from the creation-time width: for speeds 1 to 4 the front of the
    // oldest age just reaches the right-hand end of the frame, and the back edge of a
    // front of age B just reaches its left-hand end.
    const int W = w->ClientWidth(), H = w->ClientHeight();
    QCOMPARE(w->W, W);
    QCOMPARE(w->H, H);
    const int sx = 3 * W / 5;
    for (int s = 1; s <= 4; ++s) {
        QVERIFY2((5 - s) * w->A[s] <= sx && (5 - s) * (w->A[s] + 1) > sx, qPrintable(QString::number(s)));
        QVERIFY2((5 + s) * w->B[s] <= sx && (5 + s) * (w->B[s] + 1) > sx, qPrintable(QString::number(s)));
        QVERIFY(w->B[s] < w->A[s]);
    }
    QCOMPARE(w->A[5], w->A[3]);
    QCOMPARE(w->A[6], w->A[4]);
    QCOMPARE(w->A[7], w->A[3]);
    QCOMPARE(w->B[5], w->B[3]);
    QCOMPARE(w->B[6], w->B[4]);
    QCOMPARE(w->B[7], w->B[3]);

    // Eight frames of 6W/5 x H/2.
    for (const QImage &frame : w->frames)
        QCOMPARE(frame.size(), QSize(6 * W / 5, H / 2));
    QCOMPARE(w->frameRect, QRect(0, 0, 6 * W / 5, H / 2));

    // A second click on the menu item opens nothing more.
    h.v.OpenSimulation(QStringLiteral("I31"));
    QCOMPARE(h.v.Simulations().size(), 1);
}

void TestSimuldop::framesShowTheFronts_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("frame");
    QTest::newRow("v=1 frame 0") << 1 << 0;
    QTest::newRow("v=1 frame 5") << 1 << 5;
    QTest::newRow("v=3 frame 2") << 3 << 2;
    QTest::newRow("v=4 frame 7") << 4 << 7;
    QTest::newRow("v=5 frame 3") << 5 << 3;
    QTest::newRow("v=6 frame 6") << 6 << 6;
    QTest::newRow("v=7 frame 1") << 7 << 1;
}

void TestSimuldop::framesShowTheFronts()
{
    QFETCH(int, speed);
    QFETCH(int, frame);
    Host h;
    Tdopsimul *w = h.open();
    if (speed != 1) {
        w->plonda->setValue(speed);
        w->disegnaClick();
    }
    QCOMPARE(int(w->i), speed);
    const int W = w->W, H = w->H;
    const QImage &img = w->frames[frame];
    // The oldest age drawn: for speeds from 5 up the table of a slower speed.
    const int oldest = w->A[speed];
    QVector<Ring> drawn, absent;
    frontsOfFrame(frame, speed, W, H, oldest, drawn, absent);
    int seen = 0, empty = 0;
    checkRings(img, img.rect(), drawn, absent, QPointF(3 * W / 5, H / 4), seen, empty);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(seen > 200, qPrintable(QString::number(seen)));
    // At speed 6 the oldest fronts (those of speed 4) fill the cone with lines 4 pixels
    // apart, leaving no room to look for stray ones.
    if (speed != 6)
        QVERIFY2(empty > 200, qPrintable(QString::number(empty)));

    // The source, a small white disc, on every frame; black just beside it ahead of it.
    const int sx = 3 * W / 5, sy = H / 4;
    for (const QImage &f : w->frames) {
        for (QPoint p : {QPoint(sx, sy), QPoint(sx - 1, sy - 1), QPoint(sx - 1, sy), QPoint(sx, sy - 1)})
            QCOMPARE(pixelAt(f, p.x(), p.y()), clWhite);
    }
    // Far ahead of the fronts the frame is black (for speeds from 5 up nothing is ahead).
    if (speed >= 5) {
        for (int x = sx + 6; x < img.width(); x += 7)
            QCOMPARE(pixelAt(img, x, sy), clBlack);
    }
}

void TestSimuldop::frontsStayWhereTheyWereEmitted()
{
    // On the screen each front keeps the centre where the source was when it was sent
    // out, and grows by 5 pixels a tick; the source moves right by its speed. Blue fronts
    // leave the source every 8 ticks from the start of the run, aqua ones 4 ticks later.
    Host h;
    Tdopsimul *w = h.open();
    const int speed = 2;
    w->plonda->setValue(speed);
    w->disegnaClick();
    const int W = w->W, H = w->H;
    QCOMPARE(w->ClientWidth(), W);
    const QRect area = Rect(W / 4, H / 4, W / 4 + W / 2, H / 4 + H / 2);
    // Screen position of the source at tick e of the run.
    auto sourceX = [&](int e) { return W / 4 + 3 * W / 5 - 13 * W / 20 + speed * e; };
    const int sy = H / 4 + H / 4;
    const int oldest = w->A[speed];
    int total = 0;
    int n = 0;
    for (int target : {45, 46, 131, 200}) {
        while (n <= target) {
            w->tempoTimer();
            ++n;
        }
        const int tick = target; // the picture now shown is that of this tick
        QVector<Ring> drawn, absent;
        for (int e = tick - oldest - 8; e <= tick; ++e) {
            const int j = tick - e;
            if (j == 0)
                continue;
            const int m = ((e % 8) + 8) % 8;
            const TColor colour = m == 0 ? clBlue : (m == 4 ? clAqua : clBlack);
            const int x1 = sourceX(e) - 5 * j, y1 = sy - 5 * j;
            const Ring ring = ringInBox(x1, y1, x1 + 10 * j, y1 + 10 * j, colour);
            if (colour != clBlack && j <= oldest)
                drawn.append(ring);
            else
                absent.append(ring);
        }
        int seen = 0, empty = 0;
        w->canvas.flush();
        checkRings(w->screen, area, drawn, absent, QPointF(sourceX(tick), sy), seen, empty);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(seen > 100);
        total += seen;
        // The source itself, once it has come into the picture.
        if (area.contains(sourceX(tick), sy))
            QCOMPARE(pixelAt(w->screen, sourceX(tick), sy), clWhite);
        // Outside the picture the form keeps its background.
        QCOMPARE(w->screen.pixel(area.left() - 1, area.top() + 5), toQRgb(clBackground));
        QCOMPARE(w->screen.pixel(area.right() + 1, area.bottom() - 5), toQRgb(clBackground));
    }
    QVERIFY(total > 400);
    // The source entered from the left: at tick 45 it was still outside the picture, at
    // tick 200 inside.
    QVERIFY(sourceX(45) < area.left());
    QVERIFY(area.contains(sourceX(200), sy));
}

void TestSimuldop::runWrapsAndPauseHolds()
{
    Host h;
    Tdopsimul *w = h.open();
    w->plonda->setValue(7);
    w->disegnaClick();
    const int run = 7 * w->W / (11 * 7);
    QCOMPARE(w->RunLength(), run);
    for (int n = 0; n < run - 1; ++n)
        w->tempoTimer();
    QCOMPARE(w->t, run - 1);
    QCOMPARE(w->f, (run - 1) % 8);
    // The last picture of the run shows the window as far right as it goes.
    w->tempoTimer();
    QCOMPARE(w->sourceRect.left(), 13 * w->W / 20 - 7 * (run - 1));
    QVERIFY(w->sourceRect.left() >= 0);
    QVERIFY(w->sourceRect.right() < w->frames[0].width());
    // The source starts again from the left; the frame cycle goes on.
    QCOMPARE(w->t, 0);
    QCOMPARE(w->f, run % 8);
    w->tempoTimer();
    QCOMPARE(w->sourceRect.left(), 13 * w->W / 20);

    // Paused: the same frame is copied again and nothing advances.
    w->pausa->setChecked(true);
    const int t = w->t, f = w->f;
    w->canvas.brush.Color = clRed;
    w->canvas.FillRect(w->screenRect);
    w->tempoTimer();
    w->tempoTimer();
    QCOMPARE(w->t, t);
    QCOMPARE(w->f, f);
    w->canvas.flush();
    const QImage shown = w->screen.copy(w->screenRect);
    QCOMPARE(shown, w->frames[f].copy(w->sourceRect));
    QCOMPARE(w->sourceRect, Rect(13 * w->W / 20 - 7 * t, 0, 13 * w->W / 20 + w->W / 2 - 7 * t, w->H / 2));
    // Painting the window (which delivers any resize still pending) leaves the picture.
    w->grab();
    QCOMPARE(w->screen.copy(w->screenRect), w->frames[f].copy(w->sourceRect));
    w->pausa->setChecked(false);
    w->tempoTimer();
    QCOMPARE(w->t, t + 1);
    QCOMPARE(w->f, (f + 1) % 8);

    // Made narrower, the window shows the same picture in the middle of its new size and
    // nothing of it where it was.
    const QRect old = w->screenRect;
    w->Frame()->resize(w->Frame()->width() - 200, w->Frame()->height());
    w->grab();
    const int cw = w->ClientWidth(), ch = w->ClientHeight();
    QCOMPARE(cw, w->W - 200);
    w->tempoTimer();
    QCOMPARE(w->screenRect, QRect(cw / 4, ch / 4, w->W / 2, w->H / 2));
    w->canvas.flush();
    QCOMPARE(w->screen.copy(w->screenRect), w->frames[w->f == 0 ? 7 : w->f - 1].copy(w->sourceRect));
    for (int y = old.top(); y <= old.bottom(); y += 37)
        QCOMPARE(w->screen.pixel(old.right(), y), toQRgb(clBackground));
}

void TestSimuldop::speedChangeAndRedraw()
{
    Host h;
    Tdopsimul *w = h.open();
    QVERIFY(!w->disegna->isEnabled());
    for (int n = 0; n < 13; ++n)
        w->tempoTimer();
    QCOMPARE(w->t, 13);

    // Changing the speed only offers a new drawing.
    w->plonda->setValue(3);
    QVERIFY(w->disegna->isEnabled());
    QCOMPARE(int(w->i), 1);
    QCOMPARE(w->t, 13);
    QVERIFY(w->Panel4->text().endsWith(QStringLiteral("v = 1")));
    const QImage before = w->frames[2];

    // The button draws the frames for the new speed and starts the run again.
    QTest::mouseClick(w->disegna, Qt::LeftButton);
    QCOMPARE(int(w->i), 3);
    QCOMPARE(w->t, 0);
    QCOMPARE(w->f, 0);
    QVERIFY(!w->disegna->isEnabled());
    QVERIFY(w->tempo->isActive());
    QVERIFY(w->progressione->isHidden());
    QCOMPARE(w->progressione->maximum(), 2 * (w->A[3] + 1));
    QCOMPARE(w->progressione->value(), w->progressione->maximum());
    QCOMPARE(w->Panel4->text(), QStringLiteral("source speed  v = 3"));
    QVERIFY(w->frames[2] != before);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    // The first tick shows the window at the start of the run.
    w->tempoTimer();
    QCOMPARE(w->sourceRect.left(), 13 * w->W / 20);
    QCOMPARE(w->t, 1);

    // The rate track bar.
    w->andamento->setValue(150);
    QCOMPARE(w->tempo->interval(), 50);
    w->andamento->setValue(5);
    QCOMPARE(w->tempo->interval(), 195);
}

void TestSimuldop::activationHelpAndClose()
{
    Host h;
    Tdopsimul *w = h.open();
    // Activated: the bars are up and the animation runs.
    QVERIFY(!w->barrasotto->isHidden());
    QVERIFY(!w->Panel3->isHidden());
    QVERIFY(!w->Panel4->isHidden());
    QVERIFY(w->tempo->isActive());
    QVERIFY(!h.v.BackdropVisible());

    // Another window takes over: this one stops.
    h.v.OpenSimulation(QStringLiteral("D1"));
    QVERIFY(!w->tempo->isActive());
    QVERIFY(!w->IsActiveChild());
    // A speed chosen, then back to the window: the new drawing is still on offer.
    w->plonda->setValue(2);
    QVERIFY(w->disegna->isEnabled());
    h.v.B1Click();
    if (h.v.ActiveSim() != w)
        h.v.B2Click();
    QCOMPARE(h.v.ActiveSim(), w);
    QVERIFY(w->tempo->isActive());
    QVERIFY(w->disegna->isEnabled());
    w->disegnaClick();
    // ... but not once the frames are drawn for it.
    w->FormDeactivate();
    w->FormActivate();
    QVERIFY(!w->disegna->isEnabled());

    // Help, in the language the window was created in.
    QList<QString> targets;
    ModalRunner = [&](QDialog *) {
        targets << HelpTarget;
        return 0;
    };
    w->guidaClick();
    QCOMPARE(targets, QList<QString>{QStringLiteral("HelpVastara/varie.htm#simulazione")});

    // Closing frees the frames and the slot.
    QPointer<Tdopsimul> guard(w);
    w->Frame()->close();
    QVERIFY(WindowClosed[22]);
    QVERIFY(!w->tempo->isActive());
    for (const QImage &frame : w->frames)
        QVERIFY(frame.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull());
    QCOMPARE(dopsimul, nullptr);
    // The P-wave window is still open: the backdrop stays hidden.
    QVERIFY(!h.v.BackdropVisible());
    h.v.B3Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(h.v.BackdropVisible());
    // The slot is free again.
    QVERIFY(h.open());
}

void TestSimuldop::controlTopIsHandedOnToLaterWindows()
{
    Host h;
    const int controlHeight = ControlHeight;
    // Another window (the expansion of the universe) has made the bars taller since the
    // metrics were worked out: the top of the controls is out of date.
    BarHeight += 12;
    const int stale = ControlTop;
    const int expected = (BarHeight - controlHeight) / 2;
    QVERIFY(expected != stale);
    Tdopsimul *w = h.open();
    QCOMPARE(ControlTop, expected);
    QCOMPARE(w->Panel3->y(), expected);
    QCOMPARE(w->Panel4->y(), expected);
    QCOMPARE(w->sotto->height(), BarHeight);

    // The epicentre window, opened afterwards, places its labels with the new value.
    if (!RegisteredFactory(QStringLiteral("D6")))
        QSKIP("the epicentre window is not part of this build");
    h.v.OpenSimulation(QStringLiteral("D6"));
    SimWindow *epice = h.v.ActiveSim();
    QVERIFY(epice && epice != w);
    auto *t1 = epice->findChild<QLabel *>(QStringLiteral("t1"));
    auto *r3 = epice->findChild<QLabel *>(QStringLiteral("r3"));
    QVERIFY(t1 && r3);
    QCOMPARE(t1->y(), expected);
    QCOMPARE(r3->y(), expected);
    QCOMPARE(t1->height(), controlHeight);
}

QTEST_MAIN(TestSimuldop)
#include "test_simuldop.moc"
