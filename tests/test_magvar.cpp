// The magnetic-bottle window: field lines, the spiralling charge for each field and speed,
// trace, pause, controls and life cycle.
#include "globals.h"
#include "language/texts.h"
#include "sims/misc/magvar.h"
#include "vastara.h"

#include <QMdiSubWindow>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
using LD = long double;
const QRgb Grey = qRgb(128, 128, 128), White = qRgb(255, 255, 255), Black = qRgb(0, 0, 0);
int rnd(LD x) { return int(std::nearbyintl(x)); }

// The particle's place from the closed-form motion, for a picture of a W x H client.
QPoint expected(int W, int H, int B, int V, int t)
{
    // z and r are kept as 32-bit reals between ticks.
    const float z = float(400 * std::cos(t * 3.14159265358979323846264338327950288L / 600));
    const LD u = LD(z) / 500;
    const float r = float(LD(H) * V / (30.0L * B) + (LD(H) * V / (20.0L * B)) * std::exp(-u * u));
    const LD a = t * 3.14159265358979323846264338327950288L / 60;
    return QPoint(W / 2 + rnd((W / 4.0L) * (LD(z) / 500) + (LD(r) / 2) * std::cos(a)), H / 4 - rnd(r * std::sin(a)));
}
// The rows of the field lines where they cross the middle of the bottle (u = 0).
QList<int> middleRows(int H, int B)
{
    QList<int> rows;
    for (int i = -3 * B; i <= 3 * B; ++i)
        rows << H / 4 - rnd(i * (H / (40.0L * B) + H / (30.0L * B)));
    return rows;
}
} // namespace

class TestMagvar : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fieldLinesAndChargeForEachSetting();
    void traceSurvivesAndPauseFreezes();
    void controlsAndLifeCycle();
    void englishTexts();
    void wideAndNarrowClients();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tbotmagne *open();
    void checkSetting(Tbotmagne *w, int B, int V);
};

void TestMagvar::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestMagvar::cleanup()
{
    delete main;
    main = nullptr;
    LanguageIndex = 0;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Tbotmagne *TestMagvar::open()
{
    main->OpenSimulation(QStringLiteral("I1"));
    return botmagne;
}

void TestMagvar::checkSetting(Tbotmagne *w, int B, int V)
{
    const int W = w->ClientWidth(), H = w->ClientHeight();
    QCOMPARE(w->picture.size(), QSize(W, H / 2));
    // Across the middle: 6B + 1 grey lines exactly at their rows, black between them.
    const QList<int> rows = middleRows(H, B);
    for (int y = 0; y < H / 2; ++y)
        QCOMPARE(w->picture.pixel(W / 2, y), rows.contains(y) ? Grey : Black);
    // Near the ends the lines close in: the outermost line at u = 1.2.
    const int x = W / 2 + rnd(W / 4.0L * 1.2L);
    QVERIFY(colourNear(w->picture, x, H / 4 - rnd(3 * B * (H / (40.0L * B) + H / (30.0L * B) * std::exp(-1.44L))), clGray));
    // The charge starts at the left mirror point and follows the closed form tick by tick.
    QCOMPARE(w->t, 600);
    QCOMPARE(QPoint(w->X, w->Y), expected(W, H, B, V, 600));
    int reachMiddle = 0, reachEnd = 0;
    for (int k = 0; k < 1200; ++k) {
        const int t = w->t;
        w->cadenzaTimer();
        QCOMPARE(QPoint(w->X, w->Y), expected(W, H, B, V, t));
        QCOMPARE(w->screen.pixel(w->X, w->PictureTop() + w->Y), White);
        QCOMPARE(w->screen.pixel(w->X + 2, w->PictureTop() + w->Y), w->picture.pixel(w->X + 2, w->Y));
        // Turn of 120 ticks round the axis: the height above the axis a quarter turn in.
        if (t % 120 == 30) {
            if (t == 870 || t == 990) // the turns round the middle
                reachMiddle = qMax(reachMiddle, H / 4 - w->Y);
            if (t == 30 || t == 1110) // the turns at the right mirror point
                reachEnd = qMax(reachEnd, H / 4 - w->Y);
        }
    }
    // Radius H V / 12 B in the middle, about 0.06 H V / B at the mirror points.
    QVERIFY(qAbs(reachMiddle - LD(H) * V / (12 * B)) <= 0.02L * H * V / B);
    QVERIFY(qAbs(reachEnd - 0.06L * H * V / B) <= 0.01L * H * V / B);
    QCOMPARE(w->t, 600);
}

void TestMagvar::fieldLinesAndChargeForEachSetting()
{
    Tbotmagne *w = open();
    QVERIFY(w && w->FirstActivationDone());
    for (int B : {1, 2})
        for (int V : {1, 2}) {
            w->pintensi->setValue(B);
            w->pveloci->setValue(V);
            if (w->aggiorna->isEnabled())
                w->aggiorna->click();
            QCOMPARE(int(w->B), B);
            QCOMPARE(int(w->V), V);
            checkSetting(w, B, V);
        }
}

void TestMagvar::traceSurvivesAndPauseFreezes()
{
    Tbotmagne *w = open();
    // Without the trace a whole swing leaves the field lines untouched.
    QImage start = w->picture;
    const QRect first = w->ParticleRect();
    for (int k = 0; k < 1200; ++k)
        w->cadenzaTimer();
    QImage after = w->picture;
    QPainter(&after).fillRect(w->ParticleRect(), Qt::black);
    QPainter(&start).fillRect(first.united(w->ParticleRect()), Qt::black);
    QPainter(&after).fillRect(first, Qt::black);
    QCOMPARE(after, start);
    // With it, a dot is left at the previous place every fourth tick, and each survives.
    w->traccia->setChecked(true);
    QList<QPoint> dots;
    for (int k = 0; k < 600; ++k) {
        if (w->t % 4 == 0)
            dots << QPoint(w->X, w->Y);
        w->cadenzaTimer();
    }
    QCOMPARE(dots.size(), 150);
    for (const QPoint &d : dots)
        QCOMPARE(w->picture.pixel(d), White);
    // Paused: the charge stands still, the picture is still shown.
    w->pausa->setChecked(true);
    const int t = w->t;
    const QImage held = w->picture;
    w->screen.fill(Qt::red);
    w->cadenzaTimer();
    QCOMPARE(w->t, t);
    QCOMPARE(w->picture, held);
    QCOMPARE(w->screen.copy(0, w->PictureTop(), held.width(), held.height()), held);
    w->pausa->setChecked(false);
    w->cadenzaTimer();
    QCOMPARE(w->t, t + 1);
}

void TestMagvar::controlsAndLifeCycle()
{
    Tbotmagne *w = open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Moto di una carica in campo magnetico non uniforme (bottiglia magnetica)"));
    QCOMPARE(SimWindow::HintOf(w->traccia), QStringLiteral("traiettoria"));
    QCOMPARE(SimWindow::HintOf(w->aggiorna), QStringLiteral("nuovo"));
    QCOMPARE(SimWindow::HintOf(w->pintensi), QString::fromUtf8("intensità del campo"));
    QCOMPARE(SimWindow::HintOf(w->pveloci), QString::fromUtf8("velocità della carica"));
    QCOMPARE(w->tempo->objectName(), QStringLiteral("cadenza"));
    QCOMPARE(w->velo->objectName(), QStringLiteral("velo"));
    QVERIFY(!WindowClosed[12]);
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->tempo->interval(), 80);
    QCOMPARE(w->velo->value(), 120);
    w->velo->setValue(150);
    QCOMPARE(w->tempo->interval(), 50);
    QVERIFY(!w->aggiorna->isEnabled());
    // A spin edit change waits for `aggiorna`.
    for (int k = 0; k < 10; ++k)
        w->cadenzaTimer();
    w->pveloci->setValue(2);
    QVERIFY(w->aggiorna->isEnabled());
    QCOMPARE(int(w->V), 1);
    // Reactivation only restarts the timer.
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->t, 610);
    QCOMPARE(int(w->V), 1);
    w->aggiorna->click();
    QCOMPARE(int(w->V), 2);
    QCOMPARE(w->t, 600);
    QVERIFY(!w->aggiorna->isEnabled());
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/varie.htm#bottiglia"));
    w->Frame()->close();
    QVERIFY(WindowClosed[12]);
    QVERIFY(main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(botmagne == nullptr);
}

void TestMagvar::englishTexts()
{
    LanguageIndex = 1;
    Tbotmagne *w = open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Motion of a point charge in non-uniform magnetic field (magnetic bottle)"));
    QCOMPARE(SimWindow::HintOf(w->traccia), QStringLiteral("trajectory"));
    QCOMPARE(SimWindow::HintOf(w->pintensi), QStringLiteral("magnitude of field"));
    QCOMPARE(SimWindow::HintOf(w->pveloci), QStringLiteral("charge velocity"));
}

void TestMagvar::wideAndNarrowClients()
{
    for (QSize client : {QSize(1880, 880), QSize(1024, 768)}) {
        Tbotmagne *w = open();
        // Give the client the size wanted, then open again at that size.
        const QSize frame = w->Frame()->size() - w->size() + client;
        w->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ChildWidth = frame.width();
        ChildHeight = frame.height();
        w = open();
        QCOMPARE(w->size(), client);
        const int H = client.height();
        // The bottle lies between the bars, whole.
        QCOMPARE(w->PictureTop(), H / 4);
        QVERIFY(w->PictureTop() > w->ControlBarHeight());
        QVERIFY(w->PictureTop() + H / 2 <= H - w->metrics.barHeight);
        checkSetting(w, 1, 1);
        w->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QTEST_MAIN(TestMagvar)
#include "test_magvar.moc"
