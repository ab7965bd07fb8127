// The Foucault pendulum window: platform, portal frame, pendulum and observers in the fixed
// and the rotating frame, the view buttons, pause, rate and life cycle.
#include "dialogs/brucatore.h"
#include "globals.h"
#include "language/texts.h"
#include "sims/rotation/foucault.h"
#include "vastara.h"

#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Blue = qRgb(0, 0, 255),
           Navy = qRgb(0, 0, 128), Red = qRgb(255, 0, 0), Maroon = qRgb(128, 0, 0),
           Yellow = qRgb(255, 255, 0);

int rnd(long double x)
{
    return int(std::nearbyintl(x));
}

// The scene for a client of W x H, in buffer coordinates (the buffer is shown fifth - 10
// pixels lower on the window).
struct Scene {
    int W, H, fifth;
    Scene(int w, int h) : W(w), H(h), fifth(h / 5) {}

    // Corner i of the platform's hexagon after `step` platform steps.
    QPoint corner(int step, int i) const
    {
        const long double t = step * M_PIl / 179 + 0.2L + i * M_PIl / 3;
        return QPoint(rnd(W / 4.0L * (std::cos(t) + 2)), rnd(H / 8.0L * (6 - std::sin(t)) - fifth));
    }
    // Bob and shadow centres.
    QPoint bob(int phase, int plane) const
    {
        const long double s = std::sin(phase * M_PIl / 16), c = std::cos(phase * M_PIl / 16);
        const long double phi = plane * M_PIl / 300;
        return QPoint(W / 2 + rnd(W / 5.0L * s * std::cos(phi)),
                      rnd(H / 8.0L * (4.76L + 0.85L * s * std::sin(phi) + std::fabs(0.84L * c)) - fifth));
    }
    QPoint shadow(int phase, int plane) const
    {
        const long double s = std::sin(phase * M_PIl / 16);
        const long double phi = plane * M_PIl / 300;
        return QPoint(bob(phase, plane).x(), rnd(H / 8.0L * (6 + 0.85L * s * std::sin(phi)) - fifth));
    }
    // Foot of the observer on the rim.
    QPointF rider(int step) const
    {
        const long double t = step * M_PIl / 179 + 5 * M_PIl / 3;
        return QPointF(double(W / 4.0L * (0.95L * std::cos(t) + 2)), double(H / 8.0L * (6 - 0.95L * std::sin(t)) - fifth));
    }
};

int count(const QImage &img, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == colour;
    return n;
}
} // namespace

class TestFoucault : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void openedFromTheMenu();
    void firstPicture();
    void fixedViewTurnsThePlatform();
    void rotatingViewTurnsThePlaneOfSwing();
    void viewButtonsKeepOneView();
    void bothViewsTogether();
    void pauseFreezesTheScene();
    void resizeKeepsTheBuffer();
    void helpPage();

private:
    Tpendol *make(int w = 800, int h = 600);
    QPoint onScreen(const Tpendol *w, QPoint p) const { return p + QPoint(0, w->fifthHeight - 10); }
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tpendol *direct = nullptr;
};

void TestFoucault::initTestCase()
{
    resetLanguageTables();
}

void TestFoucault::cleanup()
{
    delete direct;
    direct = nullptr;
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    LanguageIndex = 0;
}

// A window of its own (no main window), with a client of w x h, created and activated.
Tpendol *TestFoucault::make(int w, int h)
{
    LanguageIndex = 0;
    ChildWidth = w;
    ChildHeight = h;
    direct = static_cast<Tpendol *>(CreatePendol(nullptr));
    direct->FormCreate();
    direct->FormShow();
    direct->FormActivate();
    return direct;
}

void TestFoucault::openedFromTheMenu()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
    main->OpenSimulation(QStringLiteral("E3"));
    Tpendol *w = pendol;
    QVERIFY(w);
    QVERIFY(!WindowClosed[9]);
    QVERIFY(!main->BackdropVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Pendolo di Foucault"));
    QCOMPARE(SimWindow::HintOf(w->pausa), QStringLiteral("pausa"));
    QCOMPARE(SimWindow::HintOf(w->cadenza), QString::fromUtf8("velocità di esecuzione"));
    QCOMPARE(SimWindow::HintOf(w->fisso), QStringLiteral("sistema fisso"));
    QCOMPARE(SimWindow::HintOf(w->mobile), QStringLiteral("sistema ruotante"));
    QCOMPARE(SimWindow::HintOf(w->guida), QStringLiteral("guida"));
    QVERIFY(w->barrasotto->isVisibleTo(w));
    QVERIFY(w->fisso->isChecked());
    QVERIFY(!w->mobile->isChecked());

    // The buffer and the fixed quantities come from the client size at creation.
    const int W = w->ClientWidth(), H = w->ClientHeight();
    QCOMPARE(w->buffer.size(), QSize(W, H));
    QCOMPARE(w->fifthHeight, H / 5);
    QCOMPARE(w->twentiethWidth, W / 20);
    QCOMPARE(w->twentiethHeight, H / 20);
    QCOMPARE(w->clearRect, QRect(W / 5 - 3, H / 20, 4 * W / 5 + 3 - (W / 5 - 3), H - H / 20));

    // Rate: 90 ms before any change, then 200 - position.
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->tempo->interval(), 90);
    QCOMPARE(w->cadenza->value(), 90);
    QCOMPARE(w->cadenza->minimum(), 5);
    QCOMPARE(w->cadenza->maximum(), 195);
    w->cadenza->setValue(195);
    QCOMPARE(w->tempo->interval(), 5);
    w->cadenza->setValue(5);
    QCOMPARE(w->tempo->interval(), 195);

    // A tick at the full size: the bob hangs at rest over the centre, in white.
    w->tempoTimer();
    const Scene s(W, H);
    QCOMPARE(w->screen.pixel(onScreen(w, s.bob(0, 0))), White);
    QCOMPARE(w->screen.pixel(onScreen(w, s.shadow(0, 0))), Blue);

    // A second click on the menu item opens nothing.
    main->OpenSimulation(QStringLiteral("E3"));
    QCOMPARE(main->Simulations().size(), 1);
    QCOMPARE(pendol, w);

    // Only the active window animates.
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());

    // Closing frees the buffer and the slot; reopening starts again from zero.
    for (int t = 0; t < 5; ++t)
        w->tempoTimer();
    QCOMPARE(w->platformStep, 6);
    w->Frame()->close();
    QVERIFY(WindowClosed[9]);
    QVERIFY(main->BackdropVisible());
    QVERIFY(!w->tempo->isActive());
    QVERIFY(w->buffer.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(pendol == nullptr);
    main->OpenSimulation(QStringLiteral("E3"));
    QVERIFY(pendol);
    QCOMPARE(pendol->platformStep, 0);
    QCOMPARE(int(pendol->swingPhase), 0);
    QCOMPARE(pendol->planeStep, 0);
    QCOMPARE(pendol->tempo->interval(), 90);
}

void TestFoucault::firstPicture()
{
    Tpendol *w = make();
    QVERIFY(w->FirstActivationDone());
    QVERIFY(w->tempo->isActive());
    const Scene s(800, 600);
    QCOMPARE(w->fifthHeight, 120);
    w->tempoTimer();
    const QImage &b = w->buffer;
    // The buffer is copied whole onto the window, 110 pixels down.
    QCOMPARE(w->screen.copy(0, 110, 800, 490), b.copy(0, 0, 800, 490));

    // Pendulum at rest: wire from the suspension point (400, 105) down to the bob at
    // (400, 300); bob white, shadow blue on the platform's centre (400, 330).
    QCOMPARE(s.bob(0, 0), QPoint(400, 300));
    QCOMPARE(s.shadow(0, 0), QPoint(400, 330));
    for (int y = 106; y < 292; y += 20)
        QCOMPARE(b.pixel(400, y), White);
    for (QPoint d : {QPoint(0, 0), QPoint(-6, 0), QPoint(6, 0), QPoint(0, -6), QPoint(0, 6)}) {
        QCOMPARE(b.pixel(QPoint(400, 300) + d), White);
        QCOMPARE(b.pixel(QPoint(400, 330) + d), Blue);
    }
    QCOMPARE(b.pixel(400, 310), Navy); // the platform between bob and shadow

    // Reference ring (fixed view): maroon between the platform and its red rim, crossed by
    // a red line through the centre.
    QCOMPARE(b.pixel(170, 340), Maroon);
    QCOMPARE(b.pixel(630, 320), Maroon);
    QCOMPARE(b.pixel(170, 330), Red);
    QCOMPARE(b.pixel(630, 330), Red);
    QCOMPARE(b.pixel(400, 430), Red);
    QCOMPARE(b.pixel(410, 430), Maroon);
    QCOMPARE(b.pixel(150, 330), Black); // outside the ring
    QCOMPARE(b.pixel(660, 330), Black);

    // Platform: navy inside the hexagon, between two spokes.
    {
        const long double a = 0.2L + M_PIl / 6;
        const QPoint p(rnd(200 * (0.5L * std::cos(a) + 2)), rnd(75 * (6 - 0.5L * std::sin(a)) - 120));
        QCOMPARE(b.pixel(p), Navy);
    }
    // Portal frame: the back post stands on corner 3 and rises 3H div 8 = 225 pixels.
    const QPoint c3 = s.corner(0, 3);
    for (int y = c3.y() - 224; y < c3.y(); y += 16)
        QCOMPARE(b.pixel(c3.x(), y), White);
    QCOMPARE(b.pixel(c3.x(), c3.y() - 230), Black);

    // The white observer stands beside the platform: head and body left of W div 4.
    QCOMPARE(b.pixel(183, 330 - 26), White);
    QCOMPARE(b.pixel(183, 330 - 28), White);
    QCOMPARE(count(b, Yellow), 0);

    // Outside the cleared rectangle the buffer is never drawn on.
    QCOMPARE(b.pixel(5, 5), Black);
    QCOMPARE(b.pixel(795, 595), Black);

    QCOMPARE(w->platformStep, 1);
    QCOMPARE(int(w->swingPhase), 1);
    QCOMPARE(w->planeStep, 0);
}

void TestFoucault::fixedViewTurnsThePlatform()
{
    Tpendol *w = make();
    const Scene s(800, 600);
    // One swing takes 32 ticks; the phase wraps from 31 to 0.
    for (int t = 0; t < 31; ++t)
        w->tempoTimer();
    QCOMPARE(int(w->swingPhase), 31);
    w->tempoTimer();
    QCOMPARE(int(w->swingPhase), 0);
    QCOMPARE(w->platformStep, 32);
    QCOMPARE(w->planeStep, 0);

    // Every swing starts over the centre; the back post has moved with the platform
    // (pi/179 a tick) while the plane of swing has stayed put.
    for (int step : {32, 64, 96, 128}) {
        QCOMPARE(w->platformStep, step);
        w->tempoTimer();
        const QImage &b = w->buffer;
        QCOMPARE(b.pixel(s.bob(0, 0)), White);
        const QPoint c3 = s.corner(step, 3);
        QCOMPARE(b.pixel(c3.x(), c3.y() - 100), White);
        const QPoint before = s.corner(step - 32, 3);
        QVERIFY(qAbs(before.x() - c3.x()) > 3);
        QVERIFY(b.pixel(before.x(), before.y() - 100) != White);
        for (int t = 0; t < 31; ++t)
            w->tempoTimer();
    }
    // Half a swing later the bob is at its farthest, along the same line as at the start.
    while (w->swingPhase != 8)
        w->tempoTimer();
    w->tempoTimer();
    QCOMPARE(s.bob(8, 0), QPoint(560, 237));
    QCOMPARE(w->buffer.pixel(560, 237), White);
    QCOMPARE(w->buffer.pixel(560, 330), Blue);
}

void TestFoucault::rotatingViewTurnsThePlaneOfSwing()
{
    Tpendol *w = make();
    const Scene s(800, 600);
    for (int t = 0; t < 40; ++t)
        w->tempoTimer();
    QCOMPARE(int(w->swingPhase), 8);
    // Switch to the rotating frame: choose it, then release the fixed one.
    w->mobile->click();
    w->Timer2Timer();
    w->fisso->click();
    w->Timer1Timer();
    QVERIFY(w->mobile->isChecked());
    QVERIFY(!w->fisso->isChecked());
    const int frozen = w->platformStep;
    QCOMPARE(frozen, 40);

    for (int t = 0; t < 16; ++t)
        w->tempoTimer();
    while (w->swingPhase != 8)
        w->tempoTimer();
    const int plane = w->planeStep;
    QCOMPARE(plane, 32);
    w->tempoTimer();
    QCOMPARE(w->platformStep, frozen);
    QCOMPARE(w->planeStep, plane + 1);
    const QImage &b = w->buffer;
    // The platform and its corners stand still.
    const QPoint c3 = s.corner(frozen, 3);
    QCOMPARE(b.pixel(c3.x(), c3.y() - 100), White);
    // The plane of swing has turned by pi/300 a tick: bob and shadow off the line y = 330.
    const QPoint bob = s.bob(8, plane), shadow = s.shadow(8, plane);
    QVERIFY(shadow.y() > 331);
    QCOMPARE(b.pixel(bob), White);
    QCOMPARE(b.pixel(shadow), Blue);
    QCOMPARE(bob, QPoint(551, 258));
    QCOMPARE(b.pixel(s.bob(8, 0)), Black); // where the bob swung in the fixed view
    // No reference ring and no white observer, but a yellow observer on the rim.
    QCOMPARE(b.pixel(170, 340), Black);
    QCOMPARE(b.pixel(170, 330), Black);
    QCOMPARE(b.pixel(183, 304), Black);
    const QPointF foot = s.rider(frozen);
    QCOMPARE(b.pixel(rnd(foot.x()), rnd(foot.y() - 18)), Yellow); // head
    QCOMPARE(b.pixel(rnd(foot.x()), rnd(foot.y() - 12)), Yellow); // body
    QVERIFY(count(b, Yellow) > 20);

    // A whole turn of the plane takes 600 ticks; at a quarter turn (150 ticks) the swing
    // runs along the platform's short axis, towards the viewer.
    w->planeStep = 150;
    w->swingPhase = 8;
    w->tempoTimer();
    QCOMPARE(s.bob(8, 150).x(), 400);
    QCOMPARE(w->buffer.pixel(s.bob(8, 150)), White);
    QCOMPARE(w->buffer.pixel(s.shadow(8, 150)), Blue);
    QCOMPARE(s.shadow(8, 150).y(), rnd(75 * 6.85L - 120));
    QCOMPARE(w->platformStep, frozen);

    // Back to the fixed view: the platform takes up from where it stood.
    w->fisso->click();
    w->Timer1Timer();
    w->mobile->click();
    w->Timer2Timer();
    QVERIFY(w->fisso->isChecked());
    QVERIFY(!w->mobile->isChecked());
    const int planeHeld = w->planeStep;
    w->tempoTimer();
    QCOMPARE(w->platformStep, frozen + 1);
    QCOMPARE(w->planeStep, planeHeld);
    QCOMPARE(count(w->buffer, Yellow), 0);
}

void TestFoucault::viewButtonsKeepOneView()
{
    Tpendol *w = make();
    // Releasing `fisso` while `mobile` is up selects `mobile` one timer tick later.
    w->fisso->click();
    QVERIFY(!w->fisso->isChecked());
    QVERIFY(!w->mobile->isChecked());
    QVERIFY(w->Timer1->isActive());
    QCOMPARE(w->Timer1->interval(), 1);
    w->Timer1Timer();
    QVERIFY(!w->Timer1->isActive());
    QVERIFY(w->mobile->isChecked());
    QVERIFY(!w->fisso->isChecked());
    // And the converse.
    w->mobile->click();
    QVERIFY(w->Timer2->isActive());
    QCOMPARE(w->Timer2->interval(), 1);
    QVERIFY(!w->fisso->isChecked());
    w->Timer2Timer();
    QVERIFY(!w->Timer2->isActive());
    QVERIFY(w->fisso->isChecked());
    QVERIFY(!w->mobile->isChecked());
    // Pressing the other button leaves both down; the deferred check changes nothing.
    w->mobile->click();
    w->Timer2Timer();
    QVERIFY(w->fisso->isChecked());
    QVERIFY(w->mobile->isChecked());
    // The real timer does the check by itself.
    w->mobile->click();
    QVERIFY(!w->mobile->isChecked());
    QTRY_VERIFY(!w->Timer2->isActive());
    QVERIFY(w->fisso->isChecked());
    w->fisso->click();
    QTRY_VERIFY(w->mobile->isChecked());
    QVERIFY(!w->Timer1->isActive());
}

void TestFoucault::bothViewsTogether()
{
    Tpendol *w = make();
    w->mobile->click();
    w->Timer2Timer();
    QVERIFY(w->fisso->isChecked() && w->mobile->isChecked());
    for (int t = 0; t < 10; ++t)
        w->tempoTimer();
    // Both counters run, and both observers and the ring are drawn.
    QCOMPARE(w->platformStep, 10);
    QCOMPARE(w->planeStep, 10);
    const QImage &b = w->buffer;
    QCOMPARE(b.pixel(183, 304), White);
    QCOMPARE(b.pixel(170, 340), Maroon);
    // The rider moves with the platform; it is drawn after the platform's counter has
    // advanced for the tick.
    const Scene s(800, 600);
    const QPointF foot = s.rider(10);
    QCOMPARE(b.pixel(rnd(foot.x()), rnd(foot.y() - 18)), Yellow);
}

void TestFoucault::pauseFreezesTheScene()
{
    Tpendol *w = make();
    for (int t = 0; t < 13; ++t)
        w->tempoTimer();
    w->pausa->setChecked(true);
    const QImage held = w->buffer.copy();
    const int step = w->platformStep;
    const quint8 phase = w->swingPhase;
    // The window keeps being refreshed from the buffer, and nothing moves.
    w->canvas.brush.Color = clLime;
    w->canvas.FillRect(300, 200, 500, 400);
    for (int t = 0; t < 20; ++t) {
        w->tempoTimer();
        QCOMPARE(w->buffer, held);
        QCOMPARE(w->platformStep, step);
        QCOMPARE(w->swingPhase, phase);
        QCOMPARE(w->screen.copy(0, 110, 800, 490), held.copy(0, 0, 800, 490));
    }
    QVERIFY(w->tempo->isActive());
    // The view buttons wait too.
    w->mobile->click();
    w->Timer2Timer();
    w->tempoTimer();
    QCOMPARE(w->buffer, held);
    // Released: it goes on from the same phase.
    w->pausa->setChecked(false);
    w->tempoTimer();
    QCOMPARE(w->platformStep, step + 1);
    QCOMPARE(int(w->swingPhase), (phase + 1) % 32);
    const Scene s(800, 600);
    QCOMPARE(w->buffer.pixel(s.bob(phase, 0)), White);
}

void TestFoucault::resizeKeepsTheBuffer()
{
    Tpendol *w = make();
    w->tempoTimer();
    w->resize(700, 500);
    QCOMPARE(w->ClientWidth(), 700);
    w->tempoTimer();
    // Buffer, cleared rectangle and offset keep their creation values...
    QCOMPARE(w->buffer.size(), QSize(800, 600));
    QCOMPARE(w->fifthHeight, 120);
    QCOMPARE(w->clearRect, QRect(157, 30, 486, 570));
    // ...while the drawing follows the new size.
    Scene s(700, 500);
    s.fifth = 120;
    const QPoint bob = s.bob(1, 0);
    QCOMPARE(bob, QPoint(350 + rnd(140 * std::sin(M_PIl / 16)), rnd(62.5L * (4.76L + std::fabs(0.84L * std::cos(M_PIl / 16)))) - 120));
    QCOMPARE(w->buffer.pixel(bob), White);
    QCOMPARE(w->buffer.pixel(s.shadow(1, 0)), Blue);
    QCOMPARE(w->screen.pixel(onScreen(w, bob)), White);
}

void TestFoucault::helpPage()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("en_GB"));
    main->FinishStartScreen();
    main->OpenSimulation(QStringLiteral("E3"));
    QVERIFY(pendol);
    QCOMPARE(pendol->windowTitle(), QStringLiteral("pendulum of Foucault"));
    HelpCapture help;
    pendol->guida->click();
    QCOMPARE(help.target, QStringLiteral("HelpVastara/moti.htm#pendolo"));
    QVERIFY(help.source.toLocalFile().endsWith(QStringLiteral("/HelpVastara/moti.htm")));
    QCOMPARE(help.source.fragment(), QStringLiteral("pendolo"));
}

QTEST_MAIN(TestFoucault)
#include "test_foucault.moc"
