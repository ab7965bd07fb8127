// The expanding universe: the sphere's size at given ticks for both kinds, the ends of the
// runs (which stay ended), pause, the bar metrics it leaves to later windows, the life cycle.
#include "globals.h"
#include "language/texts.h"
#include "sims/mechanics/espansione.h"
#include "vastara.h"

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

class TestEspansione : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sphereAndRuns_data();
    void sphereAndRuns();
    void finishedRunStaysFinished();
    void pauseAndBarMetrics();
    void lifeCycleAndEnglish();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tespanduni *openAt(QSize client);
};

void TestEspansione::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestEspansione::cleanup()
{
    delete main;
    main = nullptr;
    LanguageIndex = 0;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Tespanduni *TestEspansione::openAt(QSize client)
{
    ChildWidth = client.width() + 8;
    ChildHeight = client.height() + 28;
    main->OpenSimulation(QStringLiteral("H5"));
    const QSize off = espanduni->size() - client;
    if (!off.isNull()) {
        espanduni->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ChildWidth -= off.width();
        ChildHeight -= off.height();
        main->OpenSimulation(QStringLiteral("H5"));
    }
    return espanduni;
}

void TestEspansione::sphereAndRuns_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("wide") << QSize(1880, 880);
    QTest::newRow("4:3") << QSize(1000, 750);
}

void TestEspansione::sphereAndRuns()
{
    QFETCH(QSize, client);
    Tespanduni *w = openAt(client);
    QVERIFY(w && w->FirstActivationDone());
    const int W = client.width(), H = client.height(), c = H / 2;
    QCOMPARE(w->ClientWidth(), W);
    QCOMPARE(w->picture.size(), QSize(H, H));
    const QPoint origin(W / 2 - H / 2, 0);
    // The window opens on an open universe growing from a point.
    QCOMPARE(w->t, 0);
    for (int tick = 0; tick < 399; ++tick) {
        const int t = w->t;
        w->tempoTimer();
        QCOMPARE(w->t, t + 1);
        if (t % 60 != 50 || t < 50)
            continue;
        // The sphere drawn with this tick's t: black just inside its edge (clear of the
        // galaxies, which stay within 0.96 of its radius), silver just outside.
        const int R = int(std::nearbyint(H / 280.0 * t));
        const QImage &p = w->picture;
        for (QPoint in : {QPoint(c + R - 2, c), QPoint(c - R + 2, c), QPoint(c, c + R - 2), QPoint(c, c - R + 2)})
            if (p.rect().contains(in))
                QCOMPARE(pixelAt(p, in.x(), in.y()), clBlack);
        for (QPoint out : {QPoint(c + R + 1, c), QPoint(c - R - 1, c)})
            if (p.rect().contains(out))
                QCOMPARE(pixelAt(p, out.x(), out.y()), clSilver);
        // The pole galaxy of the first meridian, white, over the sphere.
        const int pole = c - int(std::nearbyint(0.892 * H / 300.0 * t));
        if (pole >= 3) {
            int white = 0;
            for (int y = pole - 3; y < pole + 3; ++y)
                for (int x = c - 3; x < c + 3; ++x)
                    white += pixelAt(p, x, y) == clWhite;
            QVERIFY(white >= 16);
        }
        // Shown in the middle of the window.
        QCOMPARE(w->screen.copy(QRect(origin, QSize(H, H))), p);
    }
    QCOMPARE(w->t, Tespanduni::OpenEnd);
    QVERIFY(!w->tempo->isActive());

    // The closed universe: 1 ... 124 ... 0, and there it stops.
    w->tipo->setCurrentIndex(1);
    QCOMPARE(w->kind, 0);
    w->aggiorna->click();
    QCOMPARE(w->t, 1);
    QVERIFY(w->tempo->isActive());
    int ticks = 0, largest = 0;
    while (w->tempo->isActive() && ticks < 1000) {
        w->tempoTimer();
        ++ticks;
        largest = qMax(largest, w->t);
        QVERIFY(w->t >= 0);
    }
    QCOMPARE(ticks, 123 + 124);
    QCOMPARE(largest, Tespanduni::ClosedTop);
    QCOMPARE(w->t, 0);
}

void TestEspansione::finishedRunStaysFinished()
{
    Tespanduni *w = openAt(QSize(1000, 750));
    w->tipo->setCurrentIndex(1);
    w->aggiorna->click();
    while (w->tempo->isActive())
        w->tempoTimer();
    QCOMPARE(w->t, 0);
    const QImage last = w->picture;
    // Another window comes and goes: the collapsed universe stays collapsed.
    main->OpenSimulation(QStringLiteral("D1"));
    QVERIFY(main->ActiveSim() != w);
    main->Workspace()->setActiveSubWindow(w->Frame());
    QCOMPARE(main->ActiveSim(), w);
    QVERIFY(!w->tempo->isActive());
    w->tempoTimer();
    QCOMPARE(w->t, 0);
    QCOMPARE(w->picture, last);
    // The same for an open run at its largest size.
    w->tipo->setCurrentIndex(0);
    w->aggiorna->click();
    while (w->tempo->isActive())
        w->tempoTimer();
    QCOMPARE(w->t, Tespanduni::OpenEnd);
    main->Workspace()->activateNextSubWindow();
    QVERIFY(main->ActiveSim() != w);
    main->Workspace()->setActiveSubWindow(w->Frame());
    QVERIFY(!w->tempo->isActive());
    w->tempoTimer();
    QCOMPARE(w->t, Tespanduni::OpenEnd);
}

void TestEspansione::pauseAndBarMetrics()
{
    const int before = BarHeight;
    Tespanduni *w = openAt(QSize(1000, 750));
    const int line = QFontMetrics(w->font()).height();
    QCOMPARE(BarHeight, line);
    QVERIFY(line < before);
    QCOMPARE(w->sotto->height(), line);
    // Pause: t stands still, the picture is still shown.
    for (int i = 0; i < 30; ++i)
        w->tempoTimer();
    w->pausa->click();
    const int t = w->t;
    w->screen.fill(Qt::red);
    w->tempoTimer();
    QCOMPARE(w->t, t);
    QCOMPARE(w->screen.copy(QRect(w->PictureOrigin(), w->picture.size())), w->picture);
    w->pausa->click();
    w->tempoTimer();
    QCOMPARE(w->t, t + 1);

    // A window opened after it takes the new bottom-bar height, but its top bar still holds
    // its icons whole.
    main->OpenSimulation(QStringLiteral("D1"));
    SimWindow *d = main->ActiveSim();
    QVERIFY(d && d != w);
    main->show();
    QCoreApplication::processEvents();
    QCOMPARE(d->metrics.barHeight, line);
    QVERIFY(d->barrasotto->height() >= MinimumBarHeight);
    int buttons = 0;
    for (QToolButton *b : d->barrasotto->findChildren<QToolButton *>()) {
        if (!b->isVisibleTo(d))
            continue;
        const QRect r(b->mapTo(d->barrasotto, QPoint(0, 0)), b->size());
        QVERIFY(r.top() >= 0 && r.bottom() < d->barrasotto->height());
        QVERIFY(r.height() >= b->iconSize().height() && b->iconSize().height() >= 16);
        ++buttons;
    }
    QVERIFY2(buttons >= 2, "the icons of the bar are shown");
}

void TestEspansione::lifeCycleAndEnglish()
{
    LanguageIndex = 1;
    Tespanduni *w = openAt(QSize(1000, 750));
    QCOMPARE(w->windowTitle(), QStringLiteral("Universe expansion"));
    QCOMPARE(w->tipo->itemText(0), QStringLiteral("open"));
    QCOMPARE(w->tipo->itemText(1), QStringLiteral("closed"));
    QCOMPARE(SimWindow::HintOf(w->tipo), QStringLiteral("universe"));
    QCOMPARE(SimWindow::HintOf(w->aggiorna), QStringLiteral("new"));
    QCOMPARE(w->velo->objectName(), QStringLiteral("velo"));
    QCOMPARE(w->tempo->objectName(), QStringLiteral("cadenza"));
    QVERIFY(!WindowClosed[28]);
    QVERIFY(w->barrasotto->isVisibleTo(w));
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->velo->value(), 100);
    QCOMPARE(w->tempo->interval(), 100);
    w->velo->setValue(150);
    QCOMPARE(w->tempo->interval(), 50);
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("HelpVastara/meccanica.htm#espansione"));
    w->Frame()->close();
    QVERIFY(WindowClosed[28]);
    QVERIFY(main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(espanduni == nullptr);
}

QTEST_MAIN(TestEspansione)
#include "test_espansione.moc"
