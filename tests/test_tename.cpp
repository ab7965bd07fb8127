// The Earth-planet window: the loops' timing for both planets, the start picture, the line
// of sight, pause, restart, life cycle, English texts, and the scene on a wide client.
#include "globals.h"
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

// The positions of the window's formulas at tick n, for a scene W wide from x = L.
struct Sky {
    int W, L, CH, kind;
    float Re() const { return kind ? float(W / 10 - 1) : float(W / 10); }
    float Rp() const { return kind ? float(W / 8) : float(W / 20); }
    int Tp() const { return kind ? 376 : 48; }
    struct At { float x1, y1, x2, y2, x0, y0; };
    At at(int n) const
    {
        const LD a = 2 * PI * n / 200 + PI / 4, b = 2 * PI * n / Tp();
        At p;
        p.x1 = float(L + W / 4.0L + Re() * std::cos(a));
        p.y1 = float(CH / 2.0L + 0.15L * Re() + 1.1L * Re() * std::sin(a));
        p.x2 = float(L + W / 4.0L + Rp() * std::cos(b));
        p.y2 = float(CH / 2.0L + 0.15L * Rp() + 1.1L * Rp() * std::sin(b));
        p.x0 = float(L + 3.0L * W / 4 + LD(p.x2) - p.x1);
        p.y0 = float(21.0L * CH / 40 + LD(p.y2) - p.y1);
        return p;
    }
    // Direction of the planet from the Earth (screen angle, y down: direct motion turns it
    // the way the bodies go, to larger angles).
    LD bearing(int n) const { const At p = at(n); return std::atan2(LD(p.y2) - p.y1, LD(p.x2) - p.x1); }
    // Ticks at which the apparent motion turns retrograde (true) or direct again (false).
    QList<QPair<int, bool>> turns(int ticks) const
    {
        QList<QPair<int, bool>> t;
        auto step = [&](int n) { return std::remainder(bearing(n + 1) - bearing(n), 2 * PI); };
        for (int n = 1; n < ticks; ++n)
            if ((step(n - 1) >= 0) != (step(n) >= 0))
                t.append({n, step(n) < 0});
        return t;
    }
};
int R(LD v) { return int(std::nearbyintl(v)); }
} // namespace

class TestTename : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void loopsOfBothPlanets_data();
    void loopsOfBothPlanets();
    void startPicture();
    void lineOfSightAndPause();
    void restartAndLifeCycle();
    void englishTexts();
    void wideClient();

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

void TestTename::loopsOfBothPlanets_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("synodic");
    QTest::newRow("outer") << 0 << 427;
    QTest::newRow("inner") << 1 << 63;
}

void TestTename::loopsOfBothPlanets()
{
    QFETCH(int, item);
    QFETCH(int, synodic);
    Ttema *w = openAt(QSize(1024, 768));
    QVERIFY(w);
    if (item == 1) {
        w->pianeta->setCurrentIndex(1);
        w->nuovo->click();
    }
    const Sky sky{1024, 0, 768, item == 0};
    QCOMPARE(w->W, 1024);
    QCOMPARE(w->L, 0);
    const int ticks = 2 * synodic + 40;
    const auto turns = sky.turns(ticks);
    // Each loop starts and ends once per synodic period.
    QVERIFY(turns.size() >= 4);
    QVERIFY(turns[0].second != turns[1].second);
    QVERIFY(qAbs(turns[2].first - turns[0].first - synodic) <= 1);
    QVERIFY(qAbs(turns[3].first - turns[1].first - synodic) <= 1);
    const TColor planet = item == 0 ? clRed : clWhite;
    const int r = 1024 / 160;
    QList<QPair<int, bool>> seen;
    LD lastBearing = 0, lastStep = 0;
    for (int t = 0; t < ticks; ++t) {
        w->tempoTimer();
        const Sky::At p = sky.at(t);
        // The picture has the bodies where the formulas put them at this tick.
        QCOMPARE(pixelAt(w->picture, R(p.x0), R(p.y0)), planet);
        QCOMPARE(pixelAt(w->picture, R(p.x2), R(p.y2)), planet);
        QCOMPARE(pixelAt(w->picture, R(p.x1), R(p.y1)), clAqua);
        QCOMPARE(pixelAt(w->picture, R(p.x1) + r - 2, R(p.y1)), clAqua);
        // The planet as seen from the Earth fixed in the right view.
        const LD b = std::atan2(LD(w->Y0) - 21 * 768 / 40.0L, LD(w->X0) - 3 * 1024 / 4.0L);
        const LD step = std::remainder(b - lastBearing, 2 * PI);
        if (t >= 2 && (lastStep >= 0) != (step >= 0))
            seen.append({t - 1, step < 0});
        lastBearing = b;
        lastStep = step;
    }
    QCOMPARE(seen, turns);
    // The apparent path runs through every earlier position, except under the planet.
    const Sky::At now = sky.at(ticks - 1);
    for (int m = 0; m < ticks - 1; ++m) {
        const Sky::At p = sky.at(m);
        if (qAbs(R(p.x0) - R(now.x0)) > r + 1 || qAbs(R(p.y0) - R(now.y0)) > r + 1)
            QCOMPARE(pixelAt(w->picture, R(p.x0), R(p.y0)), clWhite);
    }
}

void TestTename::startPicture()
{
    Ttema *w = openAt(QSize(1024, 768));
    QVERIFY(w);
    const int W = 1024, H = 768, sx = W / 4, sy = H / 2;
    const QImage &pic = w->picture;
    for (int y : {0, sy, H - 1}) {
        QCOMPARE(pixelAt(pic, W / 2, y), clWhite);
        QCOMPARE(pixelAt(pic, W / 2 + 1, y), clWhite);
        QCOMPARE(pixelAt(pic, W / 2 - 1, y), clBlack);
        QCOMPARE(pixelAt(pic, W / 2 + 2, y), clBlack);
    }
    for (int j = 1; j <= 90; ++j) {
        const LD t = j * PI / 45, t2 = t + PI / 90;
        const TColor c = j % 2 ? clAqua : clWhite;
        QCOMPARE(pixelAt(pic, sx + R(W / 5.0L * std::cos(t)), sy + R(W / 5.0L * std::sin(t))), c);
        QCOMPARE(pixelAt(pic, sx + R((W / 5.0L + 7) * std::cos(t2)), sy + R((W / 5.0L + 7) * std::sin(t2))), c);
    }
    QCOMPARE(pixelAt(pic, sx, sy), clYellow);
    QCOMPARE(pixelAt(pic, sx + W / 50 - 2, sy), clYellow);
    QCOMPARE(pixelAt(pic, sx + W / 50 + 1, sy), clBlack);
    QCOMPARE(pixelAt(pic, 3 * W / 4, 21 * H / 40), clAqua);
    QCOMPARE(pixelAt(pic, 3 * W / 4 + W / 160 - 2, 21 * H / 40), clAqua);
    QCOMPARE(pixelAt(pic, 3 * W / 4 + W / 160, 21 * H / 40), clBlack);
    // The legends under the picture, in the bodies' colours.
    QCOMPARE(w->Panel2->text(), QStringLiteral("Sole"));
    QCOMPARE(w->Panel10->text(), QStringLiteral("Mercurio"));
    QCOMPARE(w->Panel9->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    for (QLabel *p : {w->Panel2, w->Panel3, w->Panel9, w->Panel10})
        QVERIFY(p->isVisibleTo(w) && w->sotto->rect().contains(p->geometry()));
}

void TestTename::lineOfSightAndPause()
{
    Ttema *w = openAt(QSize(1024, 768));
    QVERIFY(w);
    const Sky sky{1024, 0, 768, 1};
    for (int t = 0; t < 30; ++t)
        w->tempoTimer();
    w->visione->click();
    w->tempoTimer();
    // From the Earth towards the planet, out to the star ring.
    const Sky::At p = sky.at(30);
    const LD dx = LD(p.x2) - p.x1, dy = LD(p.y2) - p.y1, d = std::hypot(dx, dy);
    LD ex = p.x1, ey = p.y1;
    for (int k = 1; std::hypot(ex - (1024 / 4.0L - 7), ey - (768 / 2.0L - 7)) < 1024 / 5.0L + 7; ++k)
        ex = p.x1 + k * dx / d, ey = p.y1 + k * dy / d;
    const QLineF sight(R(p.x1), R(p.y1), R(ex), R(ey));
    int dots = 0, nearEnd = 0;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x)
            if (w->screen.pixel(x, y) != w->picture.pixel(x, y)) {
                QCOMPARE(pixelAt(w->screen, x, y), clWhite);
                const QPointF q(x, y), a = sight.p1(), u = sight.unitVector().p2() - a;
                const qreal along = QPointF::dotProduct(q - a, u);
                QVERIFY(along > -1.5 && along < sight.length() + 1.5);
                QVERIFY(std::abs(u.x() * (q - a).y() - u.y() * (q - a).x()) < 1.5);
                ++dots;
                nearEnd += along > sight.length() - 4;
            }
    QVERIFY(dots > sight.length() / 5 && dots < sight.length() * 0.75);
    QVERIFY(nearEnd > 0);
    // Paused: the scene stands still, the line of sight is still drawn over it.
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
    w->tempoTimer();
    QCOMPARE(w->n, 32);
}

void TestTename::restartAndLifeCycle()
{
    Ttema *w = openAt(QSize(1024, 768));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Moto relativo Terra - pianeta"));
    QVERIFY(!WindowClosed[24]);
    QVERIFY(w->barrasotto->isVisibleTo(w));
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->tempo->interval(), 90);
    QCOMPARE(w->cadenza->value(), 110);
    w->cadenza->setValue(150);
    QCOMPARE(w->tempo->interval(), 50);
    QVERIFY(!w->nuovo->isEnabled());
    QCOMPARE(SimWindow::HintOf(w->pianeta), QStringLiteral("pianeta"));
    for (int t = 0; t < 40; ++t)
        w->tempoTimer();
    // Choosing the inner planet changes nothing until `nuovo`.
    w->pianeta->setCurrentIndex(1);
    QVERIFY(w->nuovo->isEnabled());
    w->tempoTimer();
    QCOMPARE(w->kind, 1);
    QCOMPARE(pixelAt(w->picture, R(w->X0), R(w->Y0)), clRed);
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->n, 41);
    w->nuovo->click();
    QCOMPARE(w->kind, 0);
    QCOMPARE(w->n, 0);
    QVERIFY(!w->nuovo->isEnabled());
    // Both views cleared: the right one holds only the Earth.
    int lit = 0;
    for (int y = 40; y < 700; ++y)
        for (int x = 1024 / 2 + 2; x < 1024; ++x)
            lit += pixelAt(w->picture, x, y) != clBlack;
    QVERIFY(lit > 0 && lit <= 13 * 13);
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/sistema.htm#relativo"));
    w->Frame()->close();
    QVERIFY(WindowClosed[24]);
    QVERIFY(w->picture.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(tema == nullptr);
}

void TestTename::englishTexts()
{
    Ttema *w = openAt(QSize(800, 600), 1);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Relative motion Earth - planet"));
    QCOMPARE(w->pianeta->itemText(0), QStringLiteral("exterior"));
    QCOMPARE(w->pianeta->itemText(1), QStringLiteral("interior"));
    QCOMPARE(SimWindow::HintOf(w->nuovo), QStringLiteral("new"));
    QCOMPARE(SimWindow::HintOf(w->visione), QStringLiteral("view"));
    const QStringList legends{w->Panel2->text(), w->Panel3->text(), w->Panel9->text(), w->Panel10->text()};
    QCOMPARE(legends, (QStringList{"Sun", "Earth", "Mars", "Mercury"}));
    QVERIFY(w->pianeta->width() >= QFontMetrics(w->pianeta->font()).horizontalAdvance("interior")
                                       + w->guida->sizeHint().width() + 7);
    QCOMPARE(w->W, 800);
}

void TestTename::wideClient()
{
    Ttema *w = openAt(QSize(1880, 880));
    QVERIFY(w);
    const int bottom = w->sotto->y(), top = w->barrasotto->height();
    const int W = w->W, L = w->L;
    QVERIFY(W < 1880);
    QCOMPARE(L, (1880 - W) / 2);
    auto lowest = [](const Sky &s, int ticks) {
        int y = 0;
        for (int n = 0; n < ticks; ++n)
            y = qMax(y, R(s.at(n).y0) + s.W / 160);
        return y;
    };
    // Laid out on the whole width, the apparent path would run under the picture.
    QVERIFY(lowest(Sky{1880, 0, 880, 1}, 1000) > 880);
    // Narrowed, it stays above the bottom panel, and not much narrower than that needs.
    const int low = lowest(Sky{W, L, 880, 1}, 20000);
    QVERIFY(low <= bottom);
    QVERIFY(low >= bottom - 20);
    // The scene is centred: black on both sides, the Sun and the divider in their places.
    const Sky sky{W, L, 880, 1};
    for (int t = 0; t < 130; ++t)
        w->tempoTimer();
    QCOMPARE(pixelAt(w->picture, L + W / 4, 440), clYellow);
    QCOMPARE(pixelAt(w->picture, L + W / 2 + 1, 440), clWhite);
    QCOMPARE(pixelAt(w->picture, R(sky.at(129).x0), R(sky.at(129).y0)), clRed);
    for (int y = 0; y < 880; y += 7)
        for (int x : {0, L - 1, L + W, 1879})
            QCOMPARE(pixelAt(w->picture, x, y), clBlack);
    QVERIFY(440 - W / 5 - 9 >= top);
    // The inner planet fits the whole width.
    w->pianeta->setCurrentIndex(1);
    w->nuovo->click();
    QCOMPARE(w->W, 1880);
    QVERIFY(lowest(Sky{1880, 0, 880, 0}, 2000) <= bottom);
}

QTEST_MAIN(TestTename)
#include "test_tename.moc"
