// The tides window: Earth, ocean, Moon and Sun where the geometry puts them, the three arrow
// sets in their directions for twelve Moon positions, captions, legend, pause, life cycle.
#include "globals.h"
#include "language/texts.h"
#include "sims/moon/maree.h"
#include "vastara.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
using LD = long double;
int rnd(LD x) { return int(std::nearbyintl(x)); }
QPoint at(QPoint o, LD r, LD angle) { return QPoint(rnd(o.x() + r * std::cos(angle)), rnd(o.y() - r * std::sin(angle))); }
TColor px(const QImage &img, QPoint p) { return pixelAt(img, p.x(), p.y()); }
// The spokes of the ocean leave gaps near its rim: a spoke passes within two pixels.
bool near2(const QImage &img, QPoint p, TColor c)
{
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (pixelAt(img, p.x() + dx, p.y() + dy) == c)
                return true;
    return false;
}

// The scene of one Moon position, in the coordinates of the picture.
struct Scene {
    int W, H;
    LD alpha;
    QPoint G, E, M;
    Scene(int w, int h, int step) : W(w), H(h), alpha(M_PIl * step / 300)
    {
        G = QPoint(W / 4, H / 2 - H / 5);
        E = QPoint(G.x() - rnd(H / 80.0L * std::cos(alpha)), G.y() + rnd(H / 80.0L * std::sin(alpha)));
        M = QPoint(G.x() + rnd(H / 4.0L * std::cos(alpha)), G.y() - rnd(H / 4.0L * std::sin(alpha)));
    }
};
struct ArrowSpec {
    LD length; // in units of H
    LD surface, direction; // relative to alpha
};
// Each set: length, surface angle and the direction the arrow points in.
const ArrowSpec Centrifugal[4] = {{1 / 20.0L, 0, M_PIl}, {1 / 20.0L, M_PIl, M_PIl}, {1 / 20.0L, M_PIl / 2, M_PIl}, {1 / 20.0L, 3 * M_PIl / 2, M_PIl}};
const ArrowSpec Attraction[4] = {{1 / 15.0L, 0, 0}, {1 / 25.0L, M_PIl, 0}, {1 / 20.0L, M_PIl / 2, -M_PIl / 12}, {1 / 20.0L, -M_PIl / 2, M_PIl / 12}};
// The resultant at each point is the vector sum of the attraction and the centrifugal force.
ArrowSpec sum(const ArrowSpec &c, const ArrowSpec &g)
{
    const LD x = c.length * std::cos(c.direction) + g.length * std::cos(g.direction);
    const LD y = c.length * std::sin(c.direction) + g.length * std::sin(g.direction);
    return {std::hypot(x, y), c.surface, std::atan2(y, x)};
}
const ArrowSpec Resultant[4] = {sum(Centrifugal[0], Attraction[0]), sum(Centrifugal[1], Attraction[1]),
                                sum(Centrifugal[2], Attraction[2]), sum(Centrifugal[3], Attraction[3])};
} // namespace

class TestMaree : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void sceneAndArrows();
    void captionsPauseAndWrap();
    void lifeCycleAndTexts();

private:
    Tmarea *make(int w, int h);
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tmarea *w = nullptr;
};

void TestMaree::cleanup()
{
    delete w;
    w = nullptr;
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    LanguageIndex = 0;
}

Tmarea *TestMaree::make(int width, int height)
{
    delete w;
    ChildWidth = width;
    ChildHeight = height;
    w = static_cast<Tmarea *>(CreateMarea(nullptr));
    w->FormCreate();
    w->FormActivate();
    return w;
}

void TestMaree::sceneAndArrows()
{
    for (QSize size : {QSize(1880, 880), QSize(1024, 768)}) {
        make(size.width(), size.height());
        const int W = size.width(), H = size.height();
        QCOMPARE(w->picture.size(), QSize(W / 2, 3 * H / 5));
        // Half a Sun at the right-hand edge, centred on the window's middle height.
        QCOMPARE(pixelAt(w->screen, W - H / 16, H / 2), clYellow);
        QCOMPARE(pixelAt(w->screen, W - H / 8 + 1, 3 * H / 8 + 1), clBlack);
        for (int k = 0; k < 12; ++k) {
            const int step = 50 * k;
            const Scene sc(W, H, step);
            const LD a = sc.alpha;
            // No arrows: Earth, ocean along and across the Earth-Moon line, Moon lit on the Sun's side.
            Tmarea::moonStep = step;
            w->tempoTimer();
            QCOMPARE(Tmarea::moonStep, step + 1);
            const QImage &p = w->picture;
            QCOMPARE(w->screen.copy(0, H / 5, W / 2, 3 * H / 5), p);
            const LD along = H / 15.0L * (1 + std::fabs(std::cos(a)) / 15);
            const LD across = H / 18.0L * (1 + std::fabs(std::sin(a)) / 15);
            for (LD side : {0.0L, M_PIl}) {
                QVERIFY(near2(p, at(sc.E, (H / 20.0L + along) / 2, a + side), clBlue));
                QCOMPARE(px(p, at(sc.E, along + 3, a + side)), clBlack);
                QVERIFY(near2(p, at(sc.E, (H / 20.0L + across) / 2, a + side + M_PIl / 2), clBlue));
                QCOMPARE(px(p, at(sc.E, across + 3, a + side + M_PIl / 2)), clBlack);
            }
            QCOMPARE(px(p, at(sc.E, H / 40.0L, a + M_PIl / 4)), clNavy);
            QVERIFY(colourNear(p, sc.E.x(), sc.E.y(), clWhite));
            QVERIFY(colourNear(p, sc.G.x(), sc.G.y(), clRed));
            QCOMPARE(pixelAt(p, sc.M.x() + H / 100, sc.M.y()), clWhite);
            QCOMPARE(pixelAt(p, sc.M.x() - H / 100, sc.M.y()), clBlack);
            // Each set alone: every arrow runs from its surface point in its direction.
            struct Set { QToolButton *button; const ArrowSpec *arrows; TColor colour; };
            for (const Set &set : {Set{w->vettoric, Centrifugal, clYellow}, Set{w->vettorig, Attraction, clRed},
                                   Set{w->vettorir, Resultant, clAqua}}) {
                set.button->click();
                Tmarea::moonStep = step;
                w->tempoTimer();
                for (int i = 0; i < 4; ++i) {
                    const ArrowSpec &s = set.arrows[i];
                    const LD L = s.length * H, dir = a + s.direction;
                    const QPoint tail = at(sc.E, H / 17.0L, a + s.surface);
                    for (LD f : {0.2L, 0.5L, 0.9L}) {
                        const QPoint q = at(tail, f * L, dir);
                        QVERIFY2(colourNear(p, q.x(), q.y(), set.colour), qPrintable(QStringLiteral("step %1 arrow %2").arg(step).arg(i)));
                    }
                    const QPoint back = at(tail, 0.6L * L, dir + M_PIl);
                    QVERIFY2(!colourNear(p, back.x(), back.y(), set.colour), qPrintable(QStringLiteral("step %1 arrow %2").arg(step).arg(i)));
                    // The resultant ends where the sum ends (H/60 and H/100 at the near and far points).
                    const QPoint tip = at(tail, L, dir);
                    if (set.arrows == Resultant && i < 2)
                        QVERIFY2(colourNear(p, tip.x(), tip.y(), clAqua) && px(p, at(tail, L + 3, dir)) != clAqua, qPrintable(QStringLiteral("step %1 arrow %2").arg(step).arg(i)));
                }
                set.button->click();
            }
        }
        // All three sets: the resultant lies on top of the others at the Moon-side point.
        for (QToolButton *b : {w->vettorig, w->vettoric, w->vettorir})
            b->click();
        Tmarea::moonStep = 0;
        w->tempoTimer();
        const Scene sc(W, H, 0);
        QCOMPARE(px(w->picture, at(sc.E, H / 17.0L + H / 120.0L, 0)), clAqua);
        QCOMPARE(px(w->picture, at(sc.E, H / 17.0L + H / 20.0L, 0)), clRed);
    }
}

void TestMaree::captionsPauseAndWrap()
{
    make(1024, 768);
    struct Case { int step; int row; };
    for (Case c : {Case{0, 91}, {6, 91}, {7, 0}, {143, 0}, {144, 90}, {156, 90}, {157, 0}, {294, 91}, {306, 91},
                   {444, 90}, {456, 90}, {593, 0}, {599, 91}}) {
        Tmarea::moonStep = c.step;
        w->tempoTimer();
        QCOMPARE(w->testo->text(), c.row ? controlText(c.row) : QString());
    }
    QCOMPARE(Tmarea::moonStep, 0); // 599 goes on to 0
    Tmarea::moonStep = 150;
    w->tempoTimer();
    // Paused: the same picture is shown again every tick, the caption and the Moon stay;
    // the arrows can still be switched, but appear only once the Moon moves on.
    w->pausa->setChecked(true);
    const QImage held = w->picture.copy();
    w->vettorig->click();
    for (int t = 0; t < 5; ++t) {
        w->canvas.brush.Color = clWhite;
        w->canvas.FillRect(0, w->fifthHeight, 10, w->fifthHeight + 10);
        w->tempoTimer();
        QCOMPARE(Tmarea::moonStep, 151);
        QCOMPARE(w->picture, held);
        QCOMPARE(pixelAt(w->screen, 5, w->fifthHeight + 5), clBlack);
        QCOMPARE(w->testo->text(), controlText(90));
    }
    w->pausa->setChecked(false);
    w->tempoTimer();
    QCOMPARE(Tmarea::moonStep, 152);
    QVERIFY(w->picture != held);
}

void TestMaree::lifeCycleAndTexts()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
    // The window centres its panel controls from its own metrics and leaves the shared
    // value alone.
    ControlTop = 77;
    Tmarea::moonStep = 40;
    main->OpenSimulation(QStringLiteral("F3"));
    Tmarea *m = marea;
    QVERIFY(m && !WindowClosed[13] && !main->BackdropVisible());
    QCOMPARE(ControlTop, 77);
    QCOMPARE(m->testo->geometry(), QRect(m->testo->x(), (BarHeight - ControlHeight) / 2, 137, ControlHeight));
    QCOMPARE(m->Label3->y(), (BarHeight - ControlHeight) / 2);
    QCOMPARE(m->sotto->geometry(), QRect(0, m->ClientHeight() - BarHeight, m->ClientWidth(), BarHeight));
    QCOMPARE(m->windowTitle(), QStringLiteral("Maree"));
    QCOMPARE(SimWindow::HintOf(m->vettorig), QStringLiteral("forza d'attrazione"));
    QCOMPARE(SimWindow::HintOf(m->vettoric), QStringLiteral("forza centrifuga"));
    QCOMPARE(SimWindow::HintOf(m->vettorir), QStringLiteral("risultante"));
    QVERIFY(m->barrasotto->isVisibleTo(m) && m->tempo->isActive());
    QCOMPARE(m->tempo->interval(), 90);
    QCOMPARE(m->cadenza->value(), 90);
    m->cadenza->setValue(150);
    QCOMPARE(m->tempo->interval(), 50);
    m->FormDeactivate();
    QVERIFY(!m->tempo->isActive());
    m->FormActivate();
    QVERIFY(m->tempo->isActive());
    // The legend names a set while it is shown and blanks to a space when it is not.
    m->vettorig->click();
    QVERIFY(m->showAttraction && m->vettorig->isChecked());
    QCOMPARE(m->Label1->text(), QStringLiteral(" ------> attrazione"));
    m->vettoric->click();
    QCOMPARE(m->Label2->text(), QStringLiteral(" ------> centrifuga"));
    m->vettorig->click();
    QCOMPARE(m->Label1->text(), QStringLiteral(" "));
    QVERIFY(m->Label1->isVisible() == m->Label2->isVisible());
    HelpCapture help;
    m->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/luna.htm#maree"));
    QVERIFY(QFileInfo::exists(help.source.toLocalFile()));
    m->tempoTimer();
    // Closed and opened again: the Moon goes on from where it was, the arrows start off.
    m->Frame()->close();
    QVERIFY(WindowClosed[13] && main->BackdropVisible() && m->picture.isNull() && m->sunImage.isNull()
            && m->moonImage.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(marea == nullptr);
    QCOMPARE(Tmarea::moonStep, 41);
    main->OpenSimulation(QStringLiteral("F3"));
    QVERIFY(!marea->showAttraction && !marea->showCentrifugal && !marea->vettoric->isChecked());
    marea->tempoTimer();
    QCOMPARE(Tmarea::moonStep, 42);

    LanguageIndex = 1;
    make(1024, 768);
    QCOMPARE(w->windowTitle(), QStringLiteral("Tides"));
    QCOMPARE(SimWindow::HintOf(w->vettorig), QStringLiteral("attraction force"));
    w->vettorir->click();
    QCOMPARE(w->Label3->text(), QStringLiteral(" ------> resultant"));
    Tmarea::moonStep = 300;
    w->tempoTimer();
    QCOMPARE(w->testo->text(), QStringLiteral("SPRING TIDES"));
}

QTEST_MAIN(TestMaree)
#include "test_maree.moc"
