// The Earth-planet window: when the loops turn for both planets, the scene on a 4:3 and a
// wide client, the line of sight, pause, restart, life cycle and English texts.
#include "language/texts.h"
#include "sims/solar/tename.h"
#include "vastara.h"

#include <QComboBox>
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
const LD PI = 3.14159265358979323846264338327950288L;
int R(LD v) { return int(std::nearbyintl(v)); }

// The bodies at tick n, for a scene W wide from x = L on a client CH high.
struct Sky {
    int W, L, CH, outer;
    struct At { float x1, y1, x2, y2, x0, y0; };
    At at(int n) const
    {
        const float re = outer ? W / 10 - 1 : W / 10, rp = outer ? W / 8 : W / 20;
        const LD a = 2 * PI * n / 200 + PI / 4, b = 2 * PI * n / (outer ? 376 : 48);
        At p;
        p.x1 = float(L + W / 4.0L + re * std::cos(a));
        p.y1 = float(CH / 2.0L + 0.15L * re + 1.1L * re * std::sin(a));
        p.x2 = float(L + W / 4.0L + rp * std::cos(b));
        p.y2 = float(CH / 2.0L + 0.15L * rp + 1.1L * rp * std::sin(b));
        p.x0 = float(L + 3.0L * W / 4 + LD(p.x2) - p.x1);
        p.y0 = float(21.0L * CH / 40 + LD(p.y2) - p.y1);
        return p;
    }
    // Turn of the planet's direction from the Earth between ticks n and n + 1 (y down:
    // direct motion turns it the way the bodies go, to larger angles).
    LD step(int n) const
    {
        const At p = at(n), q = at(n + 1);
        return std::remainder(std::atan2(LD(q.y2) - q.y1, LD(q.x2) - q.x1) - std::atan2(LD(p.y2) - p.y1, LD(p.x2) - p.x1), 2 * PI);
    }
    int lowest(int ticks) const
    {
        int y = 0;
        for (int n = 0; n < ticks; ++n)
            y = qMax(y, R(at(n).y0) + W / 160);
        return y;
    }
};
} // namespace

class TestTename : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void loopsTurnOnTime_data();
    void loopsTurnOnTime();
    void sceneFitsTheClient();
    void lineOfSightPauseAndRestart();
    void lifeCycleAndEnglish();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Ttema *openAt(QSize client, int language = 0);
};

void TestTename::cleanup()
{
    delete main;
    main = nullptr;
    LanguageIndex = 0;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Ttema *TestTename::openAt(QSize client, int language)
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
    if (language)
        main->SwitchLanguage(language);
    main->OpenSimulation(QStringLiteral("G4"));
    const QSize frame = tema->Frame()->size() - tema->size();
    tema->Frame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ChildWidth = client.width() + frame.width();
    ChildHeight = client.height() + frame.height();
    main->OpenSimulation(QStringLiteral("G4"));
    return tema && tema->size() == client ? tema : nullptr;
}

void TestTename::loopsTurnOnTime_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("synodic");
    QTest::newRow("outer") << 0 << 427;
    QTest::newRow("inner") << 1 << 63;
}

void TestTename::loopsTurnOnTime()
{
    QFETCH(int, item);
    QFETCH(int, synodic);
    Ttema *w = openAt(QSize(1024, 768));
    QVERIFY(w);
    w->pianeta->setCurrentIndex(item);
    w->nuovo->click();
    const Sky sky{1024, 0, 768, item == 0};
    // The ticks at which the apparent motion turns retrograde or direct; a loop a synodic period.
    const int ticks = 2 * synodic + 40;
    QList<int> turns;
    for (int n = 1; n < ticks; ++n)
        if ((sky.step(n - 1) >= 0) != (sky.step(n) >= 0))
            turns.append(n);
    QVERIFY(turns.size() >= 4);
    QVERIFY(qAbs(turns[2] - turns[0] - synodic) <= 1 && qAbs(turns[3] - turns[1] - synodic) <= 1);
    const TColor planet = item == 0 ? clRed : clWhite;
    QList<int> seen;
    LD before = 0, lastStep = 0;
    for (int t = 0; t < ticks; ++t) {
        w->tempoTimer();
        const Sky::At p = sky.at(t);
        QCOMPARE(pixelAt(w->picture, R(p.x0), R(p.y0)), planet);
        QCOMPARE(pixelAt(w->picture, R(p.x2), R(p.y2)), planet);
        QCOMPARE(pixelAt(w->picture, R(p.x1) + 1024 / 160 - 2, R(p.y1)), clAqua);
        // The planet as the window shows it from the Earth fixed in the right view.
        const LD b = std::atan2(LD(w->Y0) - 21 * 768 / 40.0L, LD(w->X0) - 3 * 1024 / 4.0L);
        const LD step = std::remainder(b - before, 2 * PI);
        if (t >= 2 && (lastStep >= 0) != (step >= 0))
            seen.append(t - 1);
        before = b;
        lastStep = step;
    }
    QCOMPARE(seen, turns);
    // The apparent path runs through every earlier position, except under the planet.
    const Sky::At now = sky.at(ticks - 1);
    for (int m = 0; m < ticks - 1; ++m) {
        const Sky::At p = sky.at(m);
        if (qAbs(R(p.x0) - R(now.x0)) > 7 || qAbs(R(p.y0) - R(now.y0)) > 7)
            QCOMPARE(pixelAt(w->picture, R(p.x0), R(p.y0)), clWhite);
    }
}

void TestTename::sceneFitsTheClient()
{
    for (QSize client : {QSize(1024, 768), QSize(1880, 880)}) {
        Ttema *w = openAt(client);
        QVERIFY(w);
        const int CW = client.width(), CH = client.height(), W = w->W, L = w->L;
        const int bottom = w->sotto->y();
        // 4:3: the whole client; wide: narrowed (the full width would take the apparent path
        // under the picture) just enough to keep it above the bottom panel, and centred.
        QCOMPARE(W == CW, CW == 1024);
        QCOMPARE(L, (CW - W) / 2);
        QVERIFY(CW == 1024 || (Sky{CW, 0, CH, 1}.lowest(1000) > CH));
        const int low = (Sky{W, L, CH, 1}).lowest(20000);
        QVERIFY(low <= bottom && (CW == 1024 || low >= bottom - 20));
        const QImage &pic = w->picture;
        const int sx = L + W / 4, sy = CH / 2;
        for (int y : {0, sy, CH - 1}) {
            QCOMPARE(pixelAt(pic, L + W / 2, y), clWhite);
            QCOMPARE(pixelAt(pic, L + W / 2 + 1, y), clWhite);
            QCOMPARE(pixelAt(pic, L + W / 2 + 2, y) | pixelAt(pic, L + W / 2 - 1, y), clBlack);
        }
        for (int j = 1; j <= 90; ++j) {
            const LD t = j * PI / 45, t2 = t + PI / 90;
            const TColor c = j % 2 ? clAqua : clWhite;
            QCOMPARE(pixelAt(pic, sx + R(W / 5.0L * std::cos(t)), sy + R(W / 5.0L * std::sin(t))), c);
            QCOMPARE(pixelAt(pic, sx + R((W / 5.0L + 7) * std::cos(t2)), sy + R((W / 5.0L + 7) * std::sin(t2))), c);
        }
        QCOMPARE(pixelAt(pic, sx + W / 50 - 2, sy), clYellow);
        QCOMPARE(pixelAt(pic, sx + W / 50 + 1, sy), clBlack);
        QCOMPARE(pixelAt(pic, L + 3 * W / 4 + W / 160 - 2, 21 * CH / 40), clAqua);
        for (int y = 0; L > 0 && y < CH; y += 7)
            for (int x : {0, L - 1, L + W, CW - 1})
                QCOMPARE(pixelAt(pic, x, y), clBlack);
        // The inner planet fits the whole width of either client.
        w->pianeta->setCurrentIndex(1);
        w->nuovo->click();
        QCOMPARE(w->W, CW);
        QVERIFY((Sky{CW, 0, CH, 0}).lowest(2000) <= bottom);
        cleanup();
    }
}

void TestTename::lineOfSightPauseAndRestart()
{
    Ttema *w = openAt(QSize(1024, 768));
    QVERIFY(w);
    for (int t = 0; t < 30; ++t)
        w->tempoTimer();
    w->visione->click();
    w->tempoTimer();
    // Dotted, white, from the Earth through the planet out to the star ring; on the window only.
    const Sky::At p = Sky{1024, 0, 768, 1}.at(30);
    const LD dx = LD(p.x2) - p.x1, dy = LD(p.y2) - p.y1, d = std::hypot(dx, dy);
    LD ex = p.x1, ey = p.y1;
    for (int k = 1; std::hypot(ex - (1024 / 4.0L - 7), ey - (768 / 2.0L - 7)) < 1024 / 5.0L + 7; ++k)
        ex = p.x1 + k * dx / d, ey = p.y1 + k * dy / d;
    const QPointF a(R(p.x1), R(p.y1)), u = QPointF(ex - a.x(), ey - a.y()) / double(std::hypot(ex - a.x(), ey - a.y()));
    const qreal length = std::hypot(R(ex) - a.x(), R(ey) - a.y());
    int dots = 0, nearEnd = 0;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x)
            if (w->screen.pixel(x, y) != w->picture.pixel(x, y)) {
                QCOMPARE(pixelAt(w->screen, x, y), clWhite);
                const QPointF q = QPointF(x, y) - a;
                const qreal along = QPointF::dotProduct(q, u);
                QVERIFY(along > -1.5 && along < length + 1.5 && std::abs(u.x() * q.y() - u.y() * q.x()) < 1.5);
                ++dots;
                nearEnd += along > length - 4;
            }
    QVERIFY(dots > length / 5 && dots < length * 0.75 && nearEnd > 0);
    // Paused: the scene stands still under the line; the line goes with the next tick.
    w->pausa->setChecked(true);
    const QImage held = w->picture.copy();
    for (int t = 0; t < 5; ++t)
        w->tempoTimer();
    QCOMPARE(w->n, 31);
    QCOMPARE(w->picture, held);
    QVERIFY(w->screen != held);
    w->visione->click();
    w->tempoTimer();
    QCOMPARE(w->screen, held);
    w->pausa->setChecked(false);
    // Choosing the inner planet changes nothing until `nuovo`, which clears both views.
    w->pianeta->setCurrentIndex(1);
    QVERIFY(w->nuovo->isEnabled());
    w->tempoTimer();
    QCOMPARE(w->n, 32);
    QCOMPARE(pixelAt(w->picture, R(w->X0), R(w->Y0)), clRed);
    w->nuovo->click();
    QVERIFY(!w->nuovo->isEnabled());
    QCOMPARE(w->n, 0);
    QCOMPARE(w->kind, 0);
    int lit = 0;
    for (int y = 0; y < 768; ++y)
        for (int x = 1024 / 2 + 2; x < 1024; ++x)
            lit += pixelAt(w->picture, x, y) != clBlack;
    QVERIFY(lit > 0 && lit <= 12 * 12); // the Earth alone
}

void TestTename::lifeCycleAndEnglish()
{
    Ttema *w = openAt(QSize(800, 600), 1);
    QVERIFY(w);
    QVERIFY(!WindowClosed[24]);
    QVERIFY(w->barrasotto->isVisibleTo(w) && w->Panel10->isVisibleTo(w) && w->tempo->isActive());
    QCOMPARE(w->tempo->interval(), 90);
    QCOMPARE(w->cadenza->value(), 110);
    w->cadenza->setValue(150);
    QCOMPARE(w->tempo->interval(), 50);
    QCOMPARE(w->windowTitle(), QStringLiteral("Relative motion Earth - planet"));
    QCOMPARE(SimWindow::HintOf(w->nuovo), QStringLiteral("new"));
    QCOMPARE(SimWindow::HintOf(w->visione), QStringLiteral("view"));
    const QStringList texts{w->pianeta->itemText(0), w->pianeta->itemText(1), w->Panel2->text(),
                            w->Panel3->text(), w->Panel9->text(), w->Panel10->text()};
    QCOMPARE(texts, (QStringList{"exterior", "interior", "Sun", "Earth", "Mars", "Mercury"}));
    QVERIFY(w->pianeta->width() >= QFontMetrics(w->pianeta->font()).horizontalAdvance("interior")
                                       + w->guida->sizeHint().width() + 7);
    // Deactivated it stops; activated again it goes on where it was.
    w->tempoTimer();
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->n, 1);
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("HelpVastara/sistema.htm#relativo"));
    w->Frame()->close();
    QVERIFY(WindowClosed[24]);
    QVERIFY(w->picture.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(tema == nullptr);
}

QTEST_MAIN(TestTename)
#include "test_tename.moc"
