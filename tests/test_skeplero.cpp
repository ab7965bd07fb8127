// Kepler's second law: the orbit and its lap, the fan of the last 40 steps and its equal
// areas on a wide and a 4:3 client, pause, texts and life cycle.
#include "sims/solar/skeplero.h"
#include "vastara.h"

#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Yellow = qRgb(255, 255, 0);

// The states before each step of the motion as the window must integrate it.
QVector<QPointF> orbit(int steps)
{
    QVector<QPointF> s;
    float x = -74, y = 0, vx = 0, vy = 12;
    for (int i = 0; i <= steps; ++i) {
        s.append(QPointF(x, y));
        const float r2 = float((long double)x * x + (long double)y * y);
        const float r3 = float(sqrtl((long double)r2 * r2 * r2));
        vx = float(vx - 2100.0L * x / r3), vy = float(vy + 2100.0L * y / r3);
        x = float(x + 0.3L * vx), y = float(y - 0.3L * vy);
    }
    return s;
}

double distToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double t = qBound(0.0, QPointF::dotProduct(p - a, d) / QPointF::dotProduct(d, d), 1.0);
    const QPointF q = a + t * d - p;
    return std::hypot(q.x(), q.y());
}
} // namespace

class TestSkeplero : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
        main->FinishStartScreen();
    }
    void cleanup()
    {
        delete main;
        ModalRunner = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void orbitLapAndEqualAreas();
    void fanOfTheLastFortySteps_data();
    void fanOfTheLastFortySteps();
    void lifeCycleAndTexts();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    // Opens the window with a client of cw x ch (the frame's size found by a first opening).
    Tkdue *open(int cw, int ch)
    {
        main->OpenSimulation(QStringLiteral("G2"));
        const QSize frame = kdue->Frame()->size() - kdue->size();
        kdue->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ChildWidth = cw + frame.width(), ChildHeight = ch + frame.height();
        main->OpenSimulation(QStringLiteral("G2"));
        return kdue && kdue->size() == QSize(cw, ch) ? kdue : nullptr;
    }
};

void TestSkeplero::orbitLapAndEqualAreas()
{
    const QVector<QPointF> s = orbit(1500);
    Tkdue::Body p = Tkdue::Start;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    int lap = 0;
    for (int i = 1; i <= 1500; ++i) {
        Tkdue::Step(p);
        QCOMPARE(QPointF(p.x, p.y), s[i]);
        minX = qMin(minX, s[i].x()), maxX = qMax(maxX, s[i].x());
        minY = qMin(minY, s[i].y()), maxY = qMax(maxY, s[i].y());
        if (!lap && s[i - 1].y() > 0 && s[i].y() <= 0 && s[i].x() < 0)
            lap = i;
    }
    // x from -74 to about 236, y from about -129 to 136, a lap in about 483 steps.
    QVERIFY(minX > -74.1 && qAbs(maxX - 236) < 0.5 && qAbs(minY + 129) < 0.5 && qAbs(maxY - 136) < 0.5);
    QVERIFY2(lap >= 482 && lap <= 485, qPrintable(QString::number(lap)));
    // Seen from the attracting centre every 40 steps sweep the same 5328 px², lap after lap.
    for (int i = 0; i + 40 <= 1500; i += 7) {
        double a = 0;
        for (int k = i; k < i + 40; ++k)
            a += 0.5 * (s[k].x() * s[k + 1].y() - s[k].y() * s[k + 1].x());
        QVERIFY(qAbs(qAbs(a) - 5328) < 5);
    }
}

void TestSkeplero::fanOfTheLastFortySteps_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("wide") << QSize(1880, 880);
    QTest::newRow("4:3") << QSize(1024, 768);
}

void TestSkeplero::fanOfTheLastFortySteps()
{
    QFETCH(QSize, client);
    const int cw = client.width(), ch = client.height();
    Tkdue *w = open(cw, ch);
    QVERIFY(w);
    QCOMPARE(w->picture.size(), QSize(cw, 3 * ch / 4));
    // The Sun on the attracting centre; the orbit's outline round it.
    const QPoint S(cw / 2 - 80, 3 * ch / 8);
    QCOMPARE(w->picture.pixel(cw / 2 - 159, S.y() - 4), White);
    QCOMPARE(w->picture.pixel(cw / 2 - 1, S.y() - 140), White);
    QCOMPARE(w->picture.pixel(cw / 2 - 1, S.y() + 132), White);
    const QImage start = w->picture.copy();
    const QVector<QPointF> s = orbit(800);
    const auto tip = [&](int j) { return QPointF(S.x() + std::nearbyint(s[j].x()), S.y() - std::nearbyint(s[j].y())); };
    const auto farFrom = [&](QPointF q, int from, int to) {
        for (int m = qMax(0, from); m <= to; ++m)
            if (distToSegment(q, S, tip(m)) < 2.5)
                return false;
        return true;
    };
    QVector<int> counts;
    int T = 0;
    // Near the far end of the orbit, past the near end, a lap later near the far end.
    for (const int until : {41, 262, 500, 742}) {
        for (; T < until; ++T)
            w->tempoTimer();
        QCOMPARE(QPointF(w->planet.x, w->planet.y), s[T]);
        QCOMPARE(QPointF(w->follower.x, w->follower.y), s[qMax(0, T - 41)]);
        // The last 41 lines yellow where no later black line passes, older ones black away
        // from the yellow ones.
        int yellowSeen = 0, blackSeen = 0;
        for (int j = qMax(0, T - 62); j < T; ++j)
            for (const double f : {0.3, 0.5, 0.7, 0.9, 0.97}) {
                const QPoint q = (QPointF(S) + f * (tip(j) - QPointF(S))).toPoint();
                if (j >= T - 41 && farFrom(q, T - 82, T - 42)) {
                    QCOMPARE(w->picture.pixel(q), Yellow);
                    ++yellowSeen;
                } else if (j < T - 41 && farFrom(q, T - 41, T - 1)) {
                    QCOMPARE(w->picture.pixel(q), Black);
                    ++blackSeen;
                }
            }
        QVERIFY(yellowSeen > 20 && (T < 60 || blackSeen > 10));
        QCOMPARE(w->picture.pixel(S + QPoint(1, 1)), Yellow);
        QCOMPARE(w->screen.copy(QRect(QPoint(0, ch / 8), w->picture.size())), w->picture);
        int yellow = 0;
        for (int y = 0; y < w->picture.height(); ++y)
            for (int x = 0; x < cw; ++x)
                yellow += w->picture.pixel(x, y) == Yellow;
        if (T > 41)
            counts.append(yellow);
    }
    // The yellow fan: the 5328 px² of 40 steps plus the lines' width along its edges, the
    // same near the Sun and far from it.
    for (const int c : counts)
        QVERIFY2(c > 5328 && c < 5328 * 1.06, qPrintable(QString::number(c)));
    const auto [lo, hi] = std::minmax_element(counts.begin(), counts.end());
    QVERIFY(*hi - *lo < 5328 / 25);
    // A lap and a half later the outline is whole, also where the planet ran close to it.
    for (int y = 0; y < start.height(); ++y)
        for (int x = 0; x < cw; ++x)
            QCOMPARE(w->picture.pixel(x, y) == White, start.pixel(x, y) == White);
    // The orbit clear of the control bar and the bottom panel.
    for (int j = 0; j < 500; ++j)
        QVERIFY(tip(j).y() + ch / 8 > w->ControlBarHeight() + 2 && tip(j).y() + ch / 8 < w->sotto->y() - 2);
    // Paused: nothing moves or is drawn.
    w->pausa->setChecked(true);
    w->tempoTimer();
    QCOMPARE(w->n, T);
    QCOMPARE(QPointF(w->planet.x, w->planet.y), s[T]);
}

void TestSkeplero::lifeCycleAndTexts()
{
    Tkdue *k = open(1880, 880);
    QVERIFY(k && !WindowClosed[23] && !main->BackdropVisible());
    QCOMPARE(k->windowTitle(), QStringLiteral("Seconda legge di Keplero"));
    QCOMPARE(SimWindow::HintOf(k->cadenza), QString::fromUtf8("velocità di esecuzione"));
    QVERIFY(k->barrasotto->isVisibleTo(k) && k->tempo->isActive());
    QCOMPARE(k->tempo->interval(), 80);
    QCOMPARE(k->cadenza->value(), 120);
    QCOMPARE(k->sotto->geometry(), QRect(0, 880 - BarHeight, 1880, BarHeight));
    main->OpenSimulation(QStringLiteral("G2"));
    QCOMPARE(main->Simulations().size(), 1);
    k->cadenza->setValue(150);
    QCOMPARE(k->tempo->interval(), 50);
    // Deactivation only pauses the motion.
    k->tempoTimer();
    k->FormDeactivate();
    QVERIFY(!k->tempo->isActive());
    k->FormActivate();
    QVERIFY(k->tempo->isActive());
    QCOMPARE(k->n, 1);
    k->Frame()->close();
    QVERIFY(k->picture.isNull() && WindowClosed[23] && main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(kdue == nullptr);
    // In English, from the beginning again.
    main->SwitchLanguage(1);
    k = open(1880, 880);
    QCOMPARE(k->n, 0);
    QCOMPARE(k->windowTitle(), QStringLiteral("Kepler's second law"));
    QCOMPARE(SimWindow::HintOf(k->pausa), QStringLiteral("pause"));
    QCOMPARE(SimWindow::HintOf(k->guida), QStringLiteral("help"));
    HelpCapture help;
    k->guida->click();
    QCOMPARE(help.target, QStringLiteral("HelpVastara/sistema.htm#seconda"));
}

QTEST_MAIN(TestSkeplero)
#include "test_skeplero.moc"
