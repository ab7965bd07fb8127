// Kepler's third law window: radii and periods in the panels, planets on their flattened
// orbits, the orbits on request, `nuovo`, pause, wide and 4:3 clients, life cycle.
#include "globals.h"
#include "language/texts.h"
#include "sims/solar/tkeplero.h"
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
const TColor Colour[4] = {clFuchsia, clAqua, clRed, clLime};
const double Ratio[4] = {1, 2, 4, 6};

// The scene as laid out on a client W x H: its width (the widest whose outer planet stays
// inside the picture shown a quarter down and above the counter three quarters down).
struct Scene {
    int W, H, width, left, r1, u2;
    explicit Scene(QSize c) : W(c.width()), H(c.height())
    {
        width = W;
        while (2 * (width / 16) + width / 170 > H / 4 || H / 2 + 2 * (width / 16) + width / 170 > 3 * H / 4)
            --width;
        left = (W - width) / 2;
        r1 = width / 16;
        u2 = width / 170;
    }
    double half(int i) const { return r1 * std::pow(Ratio[i], 1.5); }
    // Planet i at step t, on the window.
    QPoint at(int i, int t) const
    {
        const double th = t * M_PI / half(i), R = Ratio[i] * r1;
        return QPoint(int(std::nearbyint(left + width / 2.0 + R * std::cos(th))),
                      H / 4 + H / 4 - int(std::nearbyint(R / 3 * std::sin(th))));
    }
};
} // namespace

class TestTkeplero : public QObject
{
    Q_OBJECT
private slots:
    void init() { main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT")), main->FinishStartScreen(); }
    void cleanup();
    void radiiAndPeriods_data();
    void radiiAndPeriods();
    void planetsRunTheirOrbits_data();
    void planetsRunTheirOrbits();
    void orbitsNewAndPause();
    void lifeCycleAndLanguage();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tktres *openAt(QSize client);
};

void TestTkeplero::cleanup()
{
    delete main;
    main = nullptr;
    LanguageIndex = 0;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Tktres *TestTkeplero::openAt(QSize client)
{
    return static_cast<Tktres *>(OpenAtClient(main, QStringLiteral("G3"), client));
}

void TestTkeplero::radiiAndPeriods_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("4:3") << QSize(1000, 750);
    QTest::newRow("wide") << QSize(1880, 880);
    QTest::newRow("4K") << QSize(3840, 2160);
}

void TestTkeplero::radiiAndPeriods()
{
    QFETCH(QSize, client);
    Tktres *w = openAt(client);
    QVERIFY(w);
    const Scene s(client);
    QCOMPARE(w->sceneWidth, s.width);
    for (int i = 0; i < 4; ++i) {
        const int R = int(Ratio[i]) * s.r1;
        // The period is R^(3/2) in units where the innermost takes 2 R1 steps.
        const long long period = std::llround(2 * s.r1 * std::pow(R / double(s.r1), 1.5));
        QVERIFY(period > 0);
        QCOMPARE(w->pairPanel[2 * i]->text(), QStringLiteral("R = %1").arg(R));
        QCOMPARE(w->pairPanel[2 * i + 1]->text(), QStringLiteral("T = %1").arg(period, 3));
    }
    if (client.width() == 1000) {
        // A 4:3 client keeps the whole width.
        QCOMPARE(w->sceneWidth, 1000);
        QStringList shown;
        for (QLabel *p : w->pairPanel)
            shown << p->text();
        QCOMPARE(shown, QStringList({"R = 62", "T = 124", "R = 124", "T = 351", "R = 248", "T = 992",
                                     "R = 372", "T = 1822"}));
    }
}

void TestTkeplero::planetsRunTheirOrbits_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("wide") << QSize(1880, 880);
    QTest::newRow("4:3") << QSize(800, 600);
}

void TestTkeplero::planetsRunTheirOrbits()
{
    QFETCH(QSize, client);
    Tktres *w = openAt(client);
    QVERIFY(w);
    const Scene s(client);
    QCOMPARE(w->sceneLeft, s.left);
    QVERIFY(client.width() == 800 ? s.width == 800 : s.width < client.width());
    // Up to the outer planet's highest point, half a lap of the second.
    const int last = int(s.half(3) / 2) + 1;
    for (int t = 0; t <= last; ++t) {
        w->tempoTimer();
        if (t % 37 != 0 && t != last)
            continue;
        QCOMPARE(w->Panel2->text(), QString::number(t));
        for (int i = 0; i < 4; ++i) {
            const QPoint p = s.at(i, t);
            QCOMPARE(pixelAt(w->screen, p.x(), p.y()), Colour[i]);
            // The whole disc is inside the picture and clear of the counter below.
            QVERIFY(p.y() - s.u2 >= client.height() / 4);
            QVERIFY(p.y() + s.u2 <= w->Panel2->y());
            const QPoint q = s.at(i, t - 37);
            if (t > 0 && (q - p).manhattanLength() > 2 * s.u2)
                QCOMPARE(pixelAt(w->screen, q.x(), q.y()), clBlack);
        }
        QVERIFY(w->Panel2->y() == 3 * client.height() / 4);
    }
    // The Sun at the centre.
    QCOMPARE(pixelAt(w->screen, s.left + s.width / 2, client.height() / 2), clYellow);
}

void TestTkeplero::orbitsNewAndPause()
{
    Tktres *w = openAt(QSize(1880, 880));
    QVERIFY(w);
    const Scene s(QSize(1880, 880));
    const double cx = s.left + s.width / 2.0;
    for (int t = 0; t < 50; ++t)
        w->tempoTimer();
    auto orbitShown = [&] {
        for (int i = 0; i < 4; ++i) {
            const int R = int(Ratio[i]) * s.r1;
            if (!colourNear(w->screen, int(std::nearbyint(cx - R)), 440, clGray)
                || !colourNear(w->screen, int(std::nearbyint(cx)), 220 + int(std::nearbyint(220 + R / 3.0)) - 1, clGray))
                return false;
        }
        return true;
    };
    QVERIFY(!orbitShown());
    // Shown on request, keeping the phases: the redraw waits for the one-shot timer.
    w->orbite->click();
    QVERIFY(w->orbite->isChecked() && w->Timer1->isActive());
    w->Timer1Timer();
    QVERIFY(!w->Timer1->isActive());
    w->tempoTimer();
    QVERIFY(orbitShown());
    for (int i = 0; i < 4; ++i)
        QCOMPARE(pixelAt(w->screen, s.at(i, 50).x(), s.at(i, 50).y()), Colour[i]);
    // Hidden during a pause: the planets stay, nothing moves.
    w->pausa->setChecked(true);
    w->orbite->click();
    w->Timer1Timer();
    for (int n = 0; n < 5; ++n)
        w->tempoTimer();
    QVERIFY(!orbitShown());
    QCOMPARE(w->t, 51);
    QCOMPARE(w->Panel2->text(), QStringLiteral("50"));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(pixelAt(w->screen, s.at(i, 50).x(), s.at(i, 50).y()), Colour[i]);
    // `nuovo`: all four together again on the line to the right of the Sun.
    w->pausa->setChecked(false);
    w->nuovo->click();
    QCOMPARE(w->t, 0);
    w->Timer1Timer();
    w->tempoTimer();
    QCOMPARE(w->Panel2->text(), QStringLiteral("0"));
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(s.at(i, 0).y(), 440);
        QCOMPARE(pixelAt(w->screen, s.at(i, 0).x(), 440), Colour[i]);
        QCOMPARE(pixelAt(w->screen, s.at(i, 50).x(), s.at(i, 50).y()), clBlack);
    }
}

void TestTkeplero::lifeCycleAndLanguage()
{
    HintsOn = false;
    Tktres *w = openAt(QSize(1000, 750));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Terza legge di Keplero"));
    QVERIFY(!WindowClosed[25] && !main->BackdropVisible());
    QVERIFY(w->barrasotto->isVisibleTo(w) && w->tempo->isActive());
    // Own tooltips and hand cursors whatever HintsOn says.
    QCOMPARE(w->orbite->toolTip(), QStringLiteral("orbite"));
    QCOMPARE(w->nuovo->toolTip(), QStringLiteral("nuovo"));
    QCOMPARE(w->cadenza->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(w->tempo->interval(), 90);
    QCOMPARE(w->cadenza->value(), 110);
    w->cadenza->setValue(150);
    QCOMPARE(w->tempo->interval(), 50);
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    {
        HelpCapture help;
        w->guida->click();
        QCOMPARE(help.target, QStringLiteral("AiutoVastara/sistema.htm#terza"));
    }
    w->Frame()->close();
    QVERIFY(WindowClosed[25] && main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(ktres == nullptr);
    HintsOn = true;
    // English: its caption and hints.
    main->SwitchLanguage(1);
    main->OpenSimulation(QStringLiteral("G3"));
    QVERIFY(ktres);
    QCOMPARE(ktres->windowTitle(), QStringLiteral("Kepler's third law"));
    QCOMPARE(SimWindow::HintOf(ktres->orbite), QStringLiteral("orbits"));
    QCOMPARE(SimWindow::HintOf(ktres->nuovo), QStringLiteral("new"));
}

QTEST_MAIN(TestTkeplero)
#include "test_tkeplero.moc"
