// The Ferrel's-law window: the bodies and their dots in the fixed and the rotating frame,
// flat and oblique, the buttons, pause and the life cycle.
#include "globals.h"
#include "language/texts.h"
#include "sims/rotation/coriolis.h"
#include "vastara.h"

#include "simtest.h"

#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <cmath>

namespace {
const QRgb White = qRgb(255, 255, 255), Red = qRgb(255, 0, 0), Black = qRgb(0, 0, 0);

int rnd(long double x)
{
    return int(std::nearbyintl(x));
}

// A run as the test expects it: client height H, sense s, tilt t, outward or not.
struct Run {
    int W, H, s, t;
    bool out;
    long double q() const { return H / 4.0L; }
    float L() const { return float(H / 40.0L); }
    long double beta(int j) const { return 2 * j * M_PIl / 3 + (out ? 0.2f : 1.88f); }
    bool shown(int b, int tick) const { return out ? tick >= 10 * b : tick >= 10 * (9 - b); }
    // Centre pixel of a 7 x 7 dot whose corner is [v - 4] from a point.
    QPoint dot(long double x, long double y) const { return QPoint(rnd(q() + rnd(x - 4)) + 3, rnd(q() + rnd(y - 4)) + 3); }
    // White dot b of body j in the picture, and its shadow on the base.
    QPoint white(int j, int b) const
    {
        const float x = float(b * L() * std::sin(beta(j)));
        const float y = float(-(H / 20.0L) * t + b * L() * s * std::cos(beta(j)) / (1 + t));
        return dot(x, y);
    }
    QPoint shadow(int j, int b) const { return white(j, b) + QPoint(0, H / 20 * t); }
    // Red dot b of body j carried round by the disc to time c.
    QPoint carried(int j, int b, long double c) const
    {
        const long double phi = 0.2L * (c - (out ? b - 1 : 10 - b)) + 2 * j * M_PIl / 3;
        return dot(float(b * L() * std::sin(phi)), float(b * L() * s * std::cos(phi) / (1 + t)));
    }
    // The moving body j at a tick, on the window (white) and its shadow (red).
    QPoint body(int j, int tick, bool lifted = true) const
    {
        const long double rho = ((out ? 1 : -1) * tick / 10.0L + (out ? 0 : 9)) * L();
        const float lx = float(rho * std::sin(beta(j))), ly = float(rho * s * std::cos(beta(j)) / (1 + t));
        return QPoint(W / 2 + rnd(lx - 4) + 3, H / 2 + rnd(ly - (lifted ? H / 20.0L * t : 0) - 4) + 3);
    }
};

// Red pixels of the 7 x 7 dot centred at c (a whole dot has about twenty).
int redAround(const QImage &img, QPoint c)
{
    int n = 0;
    for (int y = c.y() - 3; y <= c.y() + 3; ++y)
        for (int x = c.x() - 3; x <= c.x() + 3; ++x)
            n += img.rect().contains(x, y) && img.pixel(x, y) == Red;
    return n;
}

int count(const QImage &img, TColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += pixelAt(img, x, y) == c;
    return n;
}
} // namespace

class TestCoriolis : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { resetLanguageTables(); }
    void cleanup();
    void lifeCycleFromTheMenu();
    void outwardFixedFlatOnAWideClient();
    void rotatingFrameAndOptions();
    void inwardObliqueClockwise();
    void english();

private:
    TFerre *make(int w, int h, int language = 0);
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    TFerre *direct = nullptr;
};

void TestCoriolis::cleanup()
{
    delete direct;
    direct = nullptr;
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    LanguageIndex = 0;
}

TFerre *TestCoriolis::make(int w, int h, int language)
{
    LanguageIndex = quint8(language);
    ChildWidth = w;
    ChildHeight = h;
    direct = static_cast<TFerre *>(CreateFerre(nullptr));
    direct->FormCreate();
    direct->FormShow();
    direct->FormActivate();
    return direct;
}

void TestCoriolis::lifeCycleFromTheMenu()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
    main->OpenSimulation(QStringLiteral("E2"));
    TFerre *w = Ferre;
    QVERIFY(w);
    QVERIFY(!WindowClosed[8]);
    QVERIFY(!main->BackdropVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Forza di Coriolis"));
    QCOMPARE(SimWindow::HintOf(w->disegna), QStringLiteral("avvio"));
    QCOMPARE(SimWindow::HintOf(w->prospno), QStringLiteral("punto di vista"));
    QVERIFY(w->antiorario->isChecked() && w->esterno->isChecked() && w->fis->isChecked() && !w->prospno->isChecked());
    QCOMPARE(w->unitLength, float(w->ClientHeight() / 40.0L));
    QCOMPARE(w->picture.size(), QSize(w->ClientWidth() / 2, w->ClientWidth() / 2));
    // Idle until a run starts: activation does not start the timer.
    QVERIFY(w->barrasotto->isVisibleTo(w) && !w->tempo->isActive());
    QCOMPARE(w->tempo->interval(), 90);
    w->cadenza->setValue(150);
    QCOMPARE(w->tempo->interval(), 50);
    w->disegna->click();
    QVERIFY(w->running && w->tempo->isActive() && !w->disegna->isEnabled());
    w->disegna->click(); // disabled during a run
    w->tempoTimer();
    QCOMPARE(w->runTicks, 1);
    // Deactivation pauses the run, activation resumes it.
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    // A run is 91 ticks; then the timer stops and stays stopped across activations.
    for (int k = 1; k < 91; ++k) {
        QVERIFY(w->running);
        w->tempoTimer();
    }
    QVERIFY(!w->running && !w->tempo->isActive() && w->disegna->isEnabled());
    w->FormDeactivate();
    w->FormActivate();
    QVERIFY(!w->tempo->isActive());
    {
        HelpCapture help;
        w->guida->click();
        QCOMPARE(help.target, QStringLiteral("AiutoVastara/moti.htm#coriolis"));
        QVERIFY(QFileInfo::exists(help.source.toLocalFile()));
    }
    w->Frame()->close();
    QVERIFY(WindowClosed[8]);
    QVERIFY(main->BackdropVisible());
    QVERIFY(w->picture.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(Ferre == nullptr);
}

void TestCoriolis::outwardFixedFlatOnAWideClient()
{
    TFerre *w = make(1880, 880);
    const Run r{1880, 880, 1, 0, true};
    QCOMPARE(w->PictureOrigin(), QPoint(720, 220));
    w->disegna->click();
    for (int k = 0; k <= 90; ++k) {
        w->tempoTimer();
        // Dot b shows from tick 10 b on, dot 9 on the last tick.
        for (int j = 0; j < 3; ++j) {
            for (int b = 1; b <= 9; ++b)
                QCOMPARE(w->picture.pixel(r.white(j, b)) == White, r.shown(b, k));
            if (k >= 30)
                QCOMPARE(w->screen.pixel(r.body(j, k)), White);
        }
    }
    QVERIFY(!w->running);
    // Seen from above in the fixed frame: no shadows, no base rim, the radii stand still.
    QCOMPARE(count(w->picture, clRed), 0);
    QCOMPARE(count(w->picture, clSilver), 0);
    // The disc is centred on the window and stays inside it.
    for (QPoint p : {QPoint(720, 440), QPoint(1159, 440), QPoint(940, 220), QPoint(940, 659)})
        QVERIFY(colourNear(w->screen, p.x(), p.y(), clAqua));
    QCOMPARE(w->screen.pixel(716, 440), Black);
    QVERIFY(colourNear(w->screen, 940 - 150, 440 - 20, clNavy));
}

void TestCoriolis::rotatingFrameAndOptions()
{
    TFerre *w = make(800, 600);
    const Run a{800, 600, 1, 0, true};
    w->mobil->click();
    w->disegna->click();
    for (int k = 0; k < 40; ++k)
        w->tempoTimer();
    // Pause: the time stands still and so does the picture.
    w->pausa->setChecked(true);
    const QImage held = w->screen;
    for (int k = 0; k < 5; ++k)
        w->tempoTimer();
    QCOMPARE(w->runTicks, 40);
    QCOMPARE(w->screen, held);
    w->pausa->setChecked(false);
    // Options chosen during a run wait for the next start.
    w->orario->click();
    w->interno->click();
    w->prospno->click();
    QVERIFY(!w->anticlockwise && !w->outward && !w->flatView && w->rotatingView);
    for (int k = 40; k <= 90; ++k) {
        QCOMPARE(w->sense, qint8(1));
        w->tempoTimer();
        QCOMPARE(w->screen.pixel(a.body(0, k)), White);
    }
    // The last tick shows the trail as the tick before left it: the places passed, carried
    // round by the disc, and the disc's radii turned by 0.2 rad per unit of time.
    for (int j = 0; j < 3; ++j) {
        for (int b = 1; b <= 6; ++b)
            QVERIFY(redAround(w->picture, a.carried(j, b, 8.9L)) >= 12);
        const long double th = -0.2L * 9 + 2 * j * M_PIl / 3;
        QVERIFY(colourNear(w->picture, rnd(150 + 142 * std::cos(th)), rnd(150 + 142 * std::sin(th)), clSilver));
    }

    // The next run: inward, clockwise, oblique, rotating. Its first tick must not show the
    // previous run's trail: dot 9 shows where the tick before the start leaves it.
    const Run b{800, 600, -1, 1, false};
    w->disegna->click();
    QCOMPARE(w->sense, qint8(-1));
    QCOMPARE(int(w->tilt), 1);
    w->tempoTimer();
    for (int j = 0; j < 3; ++j) {
        QCOMPARE(w->picture.pixel(b.white(j, 9)), White);
        QVERIFY(redAround(w->picture, b.carried(j, 9, -0.1L)) >= 12);
        QCOMPARE(redAround(w->picture, a.carried(j, 9, 8.9L)), 0);
    }
    QVERIFY(count(w->picture, clRed) <= 3 * 25);
    for (int k = 1; k <= 60; ++k)
        w->tempoTimer();
    for (int j = 0; j < 3; ++j)
        for (int d = 6; d <= 9; ++d)
            QVERIFY(redAround(w->picture, b.carried(j, d, 5.9L)) >= 12);
}

void TestCoriolis::inwardObliqueClockwise()
{
    TFerre *w = make(1880, 880);
    const Run r{1880, 880, -1, 1, false};
    w->orario->click();
    w->interno->click();
    w->prospno->click();
    w->disegna->click();
    for (int k = 0; k <= 90; ++k) {
        w->tempoTimer();
        for (int j = 0; j < 3; ++j) {
            // Inward: dot 9 at the rim from the first tick, dot 1 from tick 80.
            for (int b = 1; b <= 9; ++b) {
                QCOMPARE(w->picture.pixel(r.white(j, b)) == White, r.shown(b, k));
                if (r.shown(b, k))
                    QVERIFY(redAround(w->picture, r.shadow(j, b)) >= 12);
            }
            if (k <= 60) {
                QCOMPARE(w->screen.pixel(r.body(j, k)), White);
                QVERIFY(redAround(w->screen, r.body(j, k, false)) >= 12);
            }
        }
    }
    // The base rim, below and left of the raised top face.
    QVERIFY(colourNear(w->picture, 0, 110 + 221 / 2, clSilver));
    QVERIFY(!colourNear(w->picture, 0, 176, clSilver));
    QVERIFY(colourNear(w->picture, 0, 176, clAqua));
    // Back to the first options: one button of each pair down, a second click keeps it down.
    for (QToolButton *t : {w->antiorario, w->esterno, w->fis, w->fis, w->prospno})
        t->click();
    QVERIFY(w->anticlockwise && w->outward && !w->rotatingView && w->flatView);
    QVERIFY(w->fis->isChecked() && !w->mobil->isChecked() && !w->orario->isChecked() && !w->interno->isChecked());
}

void TestCoriolis::english()
{
    TFerre *w = make(800, 600, 1);
    QCOMPARE(w->windowTitle(), QStringLiteral("Force of Coriolis"));
    QCOMPARE(SimWindow::HintOf(w->antiorario), QStringLiteral("anticlockwise"));
    QCOMPARE(SimWindow::HintOf(w->esterno), QStringLiteral("toward outside"));
    QCOMPARE(SimWindow::HintOf(w->fis), QStringLiteral("fixed reference"));
    QCOMPARE(SimWindow::HintOf(w->disegna), QStringLiteral("start"));
}

QTEST_MAIN(TestCoriolis)
#include "test_coriolis.moc"
