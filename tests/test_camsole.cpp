// The apparent path of the Sun: the Sun's place through the year at three latitudes, the
// sky picture, the latitude texts, the traces, the two half-years and the life cycle.
#include "globals.h"
#include "language/texts.h"
#include "sims/solar/camsole.h"
#include "vastara.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
const double Turn = 6 * M_PI / 180; // of the drawn east-west line

// The Sun of day v at step h (noon at 40) seen from latitude lat (degrees), on the window:
// its north, east and upward parts on a sphere of radius R, drawn as the horizon and its
// lines are: north across, up upright, east along the east-west line (turned 6 degrees,
// shortened as the horizon's depth R/14 : R/5).
QPoint sunAt(const Tcammin *w, double lat, int v, int h)
{
    const double f = lat * M_PI / 180, d = (8 * v - 24) * M_PI / 180, t = (h - 40) * M_PI / 40;
    const double up = std::sin(f) * std::sin(d) + std::cos(f) * std::cos(d) * std::cos(t);
    const double north = std::cos(f) * std::sin(d) - std::sin(f) * std::cos(d) * std::cos(t);
    const double east = -std::cos(d) * std::sin(t);
    const double R = w->SW / 5.0, Rd = w->SW / 14.0;
    const int cx = w->SL + w->SW / 2, oy = 3 * w->CH / 8;
    return QPoint(cx + int(std::lround(R * north - R * std::sin(Turn) * east)),
                  w->CH / 8 + oy - int(std::lround(R * up - Rd * std::cos(Turn) * east)));
}

// The centre of the yellow disc drawn in the sky within 8 px of `near` (not the zenith mark).
QPoint drawnSun(const Tcammin *w, QPoint near)
{
    QRect ink;
    for (int y = near.y() - 8; y <= near.y() + 8; ++y)
        for (int x = near.x() - 8; x <= near.x() + 8; ++x)
            if (w->sky.rect().contains(x, y) && pixelAt(w->sky, x, y) == clYellow
                && !(x == w->SL + w->SW / 2 && y < 3 * w->CH / 8 - w->SW / 5 + 10))
                ink |= QRect(x, y, 1, 1);
    return ink.topLeft() + QPoint(3, 3);
}

bool boxHas(const QImage &img, QPoint c, TColor colour)
{
    for (int y = c.y() - 3; y < c.y() + 3; ++y)
        for (int x = c.x() - 3; x < c.x() + 3; ++x)
            if (pixelAt(img, x, y) == colour)
                return true;
    return false;
}
} // namespace

class TestCamsole : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void sunThroughTheYear();
    void skyAndLatitude();
    void tracesOnNamedDaysOnly();
    void startAfterAutumnLeftInactive();
    void lifeCycleAndLanguage();
    void sunRisesWhereItShould();
    void zenithLabel();

private:
    Tcammin *open(int width = 1880, int height = 880);
    void start(Tcammin *w, int degrees, int minutes);
    QTemporaryDir dir;
    TVastaras *main = nullptr;
};

Tcammin *TestCamsole::open(int width, int height)
{
    delete main;
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
    ChildWidth = width;
    ChildHeight = height;
    main->OpenSimulation(QStringLiteral("G5"));
    return cammin;
}

void TestCamsole::start(Tcammin *w, int degrees, int minutes)
{
    w->gradi->setValue(degrees);
    w->primi->setValue(minutes);
    w->fine->click();
    w->partenza->click();
    QVERIFY(w->tempo->isActive() && !w->tempo1->isActive());
}

void TestCamsole::cleanup()
{
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    LanguageIndex = 0;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestCamsole::sunThroughTheYear()
{
    for (QSize size : {QSize(1880, 880), QSize(1024, 768)}) {
        Tcammin *w = open(size.width(), size.height());
        const int cx = w->SL + w->SW / 2, oy = w->CH / 8 + 3 * w->CH / 8;
        for (auto [deg, min] : {std::pair{0, 0}, {45, 30}, {90, 0}}) {
            const double lat = deg + min / 60.0;
            start(w, deg, min);
            QMap<int, QPoint> rising;
            for (int k = 0; k < 7 * 80; ++k) {
                const int v = k / 80, h = k % 80;
                w->tempoTimer();
                const QPoint s = sunAt(w, lat, v, k);
                QVERIFY(qAbs(w->sx - s.x()) <= 1 && qAbs(w->CH / 8 + w->sy - s.y()) <= 1);
                if (v % 3 != 0)
                    continue;
                const double decl = 8 * v - 24, R = w->SW / 5.0;
                if (h == 40) {
                    // Noon: on the sphere, on the south side, at 90 - latitude + declination.
                    const double alt = (90 - lat + decl) * M_PI / 180;
                    const QPoint noon(cx - int(std::lround(R * std::cos(alt))), oy - int(std::lround(R * std::sin(alt))));
                    QCOMPARE(pixelAt(w->screen, noon.x(), noon.y()), clYellow);
                    QCOMPARE(pixelAt(w->screen, noon.x() - 1, noon.y() - 1), clYellow);
                }
                // Sunrise where cos t = -tan(lat) tan(decl), t from noon; none at the pole.
                if (deg == 90 || rising.contains(v))
                    continue;
                const double t = std::acos(-std::tan(lat * M_PI / 180) * std::tan(decl * M_PI / 180));
                if (h == int(std::ceil(40 - 40 * t / M_PI - 1e-9))) {
                    rising[v] = s;
                    QCOMPARE(pixelAt(w->screen, s.x(), s.y()), clYellow);
                }
            }
            if (deg == 0) {
                QCOMPARE(rising.size(), 3);
            } else if (deg == 45) {
                // The summer Sun rises north of east, the winter Sun south of it.
                QVERIFY(rising[6].x() > rising[3].x() + 20 && rising[3].x() > rising[0].x() + 20);
            }
            QVERIFY(w->tempo1->isActive() && !w->tempo->isActive());
        }
    }
}

void TestCamsole::skyAndLatitude()
{
    for (QSize size : {QSize(1880, 880), QSize(1024, 768)}) {
        Tcammin *w = open(size.width(), size.height());
        const int CW = w->ClientWidth(), CH = w->ClientHeight(), PH = 3 * CH / 4;
        QCOMPARE(w->sky.size(), QSize(CW, PH));
        // A wide client keeps the whole sphere and the Sun's paths inside, centred.
        if (size.width() == 1880) {
            QVERIFY(w->SW < CW && 2 * w->SW / 5 < PH);
            QCOMPARE(w->SL, (CW - w->SW) / 2);
            for (int k = 0; k < 560; ++k) {
                const QPoint s = sunAt(w, 0, k / 80, k) - QPoint(0, CH / 8);
                QVERIFY(s.y() >= 3 && s.y() + 3 < PH);
            }
        } else {
            QCOMPARE(w->SW, CW);
        }
        const int SW = w->SW, cx = w->SL + SW / 2, oy = 3 * CH / 8;
        w->Timer1Timer();
        // Zenith mark, sphere, horizon, north-south line, pole at 30 degrees. Below the
        // observer the horizon reaches the point 6 degrees off east: Rd cos^2 6 down.
        const double R = SW / 5.0;
        const int rim = int(std::lround(SW / 14.0 * std::cos(Turn) * std::cos(Turn)));
        const QPoint pole(cx + int(std::lround(R * std::cos(M_PI / 6))), oy - int(std::lround(R / 2)));
        for (auto [x, y, c] : {std::tuple{cx, oy - SW / 5, clYellow}, {cx, oy - SW / 5 + 9, clYellow},
                               {cx, oy - SW / 5 + 10, clBlack}, {cx, oy + SW / 5 - 1, clSilver},
                               {cx, oy + SW / 5, clBlack}, {cx, oy + rim - 1, clBlue},
                               {cx, oy + rim + 2, clBlack}, {w->SL + 3 * SW / 10 + 20, oy, clAqua},
                               {pole.x(), pole.y(), clWhite}})
            QCOMPARE(pixelAt(w->screen, x, CH / 8 + y), c);
        QVERIFY(w->Label2->y() > CH / 8 + oy - SW / 5 && w->Label2->y() < CH / 2);
        if (size.width() == 1024)
            QCOMPARE(w->Label2->y(), 3 * CH / 10 - 3 * w->Label2->height() / 2);
    }
    // Latitude texts; the pole at the zenith, or at the north point.
    Tcammin *w = open(1024, 768);
    QCOMPARE(w->Panel2->text(), QString::fromUtf8("30° 0'  Latitudine Nord"));
    const int cx = w->CW / 2, oy = 3 * w->CH / 8, R = w->CW / 5;
    start(w, 90, 0);
    QVERIFY(!w->primi->isEnabled());
    QCOMPARE(w->Panel2->text(), QString::fromUtf8("90° 0'  Polo Nord"));
    QCOMPARE(pixelAt(w->sky, cx, oy - R + 1), clWhite);
    start(w, 0, 0);
    QVERIFY(w->primi->isEnabled());
    QCOMPARE(w->Panel2->text(), QString::fromUtf8(" 0° 0'  Equatore"));
    QCOMPARE(pixelAt(w->sky, cx + R - 2, oy), clWhite);
    for (auto [d, m, text] : {std::tuple{45, 30, "45°30'  Latitudine Nord"}, {66, 33, "66°33'  Circolo polare artico"},
                              {23, 27, "23°27'  Tropico del Cancro"}, {40, 0, "40° 0'  Latitudine Nord"}})
        QCOMPARE(Tcammin::LatitudeText(d, m), QString::fromUtf8(text));
    w->primi->setValue(59);
    w->primi->stepUp();
    QCOMPARE(w->primi->value(), 0);
}

void TestCamsole::tracesOnNamedDaysOnly()
{
    for (bool traced : {true, false}) {
        Tcammin *w = open(1024, 768);
        if (traced)
            w->traiet->click();
        start(w, 45, 30);
        for (int k = 0; k < 560; ++k)
            w->tempoTimer();
        // The noon lines of the named days stay whole, from the observer to the noon Sun.
        const QPoint o(w->CW / 2, w->CH / 8 + 3 * w->CH / 8);
        for (int v = 0; v < 7; ++v) {
            const QPointF noon = sunAt(w, 45.5, v, 40 + 80 * v) - o;
            // Near the Sun the rings of a traced day cover the line.
            for (double f : {0.5, traced ? 0.5 : 1 - 4 / std::hypot(noon.x(), noon.y())}) {
                const QPoint at = o + (noon * f).toPoint();
                QCOMPARE(colourNear(w->screen, at.x(), at.y(), clWhite), v % 3 == 0);
            }
        }
        for (int k = 0; k < 400; ++k)
            w->tempo1Timer();
        const double R = w->SW / 5.0;
        auto inside = [&](QPoint s) { return std::hypot(s.x() - o.x(), s.y() - o.y()) < R - 8; };
        QList<QPoint> rings;
        for (int k = 0; k < 560; ++k)
            if ((k / 80) % 3 == 0)
                rings.append(sunAt(w, 45.5, k / 80, k));
        for (const QPoint &r : rings) {
            QVERIFY(!boxHas(w->screen, r, clYellow));
            if (traced || inside(r))
                QCOMPARE(boxHas(w->screen, r, clSilver), traced);
        }
        // The other days leave nothing; only the last Sun of the autumn stays.
        int checked = 0;
        for (int k = 80; k < 480; ++k) {
            const QPoint s = sunAt(w, 45.5, k / 80, k);
            if ((k / 80) % 3 == 0 || !inside(s))
                continue;
            if (std::any_of(rings.begin(), rings.end(), [&](QPoint r) { return (r - s).manhattanLength() < 16; }))
                continue;
            QVERIFY(!boxHas(w->screen, s, clSilver) && !boxHas(w->screen, s, clYellow));
            ++checked;
        }
        QVERIFY(checked > 50);
        QCOMPARE(pixelAt(w->screen, sunAt(w, 45.5, 1, 399).x(), sunAt(w, 45.5, 1, 399).y()), clYellow);
    }
}

void TestCamsole::startAfterAutumnLeftInactive()
{
    Tcammin *w = open(1024, 768);
    start(w, 30, 0);
    for (int k = 0; k < 560; ++k)
        w->tempoTimer();
    w->FormDeactivate();
    w->FormActivate();
    QVERIFY(w->tempo1->isActive() && !w->tempo->isActive());
    for (int k = 0; k < 400; ++k)
        w->tempo1Timer();
    QVERIFY(!w->tempo1->isActive() && w->partenza->isEnabled() && w->traiet->isEnabled());
    w->partenza->click();
    QVERIFY(w->tempo->isActive() && !w->tempo1->isActive());
    w->FormDeactivate();
    w->FormActivate();
    QVERIFY(w->tempo->isActive() && !w->tempo1->isActive());
}

void TestCamsole::lifeCycleAndLanguage()
{
    Tcammin *w = open(1024, 768);
    QCOMPARE(w->windowTitle(), QStringLiteral("Cammino apparente del Sole"));
    QCOMPARE(SimWindow::HintOf(w->partenza), QStringLiteral("avvio"));
    QCOMPARE(SimWindow::HintOf(w->traiet), QStringLiteral("orbite"));
    QVERIFY(!WindowClosed[1] && !main->BackdropVisible());
    QVERIFY(w->barrasotto->isVisibleTo(w) && w->Panel2->isVisibleTo(w) && !w->Panel3->isVisibleTo(w));
    // Idle until the start; the picture reaches the window with Timer1.
    QVERIFY(!w->tempo->isActive() && !w->tempo1->isActive() && w->Timer1->isActive());
    const QPoint bottom(w->CW / 2, w->CH / 8 + 3 * w->CH / 8 + w->CW / 5 - 1);
    QCOMPARE(pixelAt(w->screen, bottom.x(), bottom.y()), clBlack);
    w->Timer1Timer();
    QCOMPARE(pixelAt(w->screen, bottom.x(), bottom.y()), clSilver);
    w->gradi->setValue(31);
    QVERIFY(!w->partenza->isEnabled());
    w->fine->click();
    w->cadenza->setValue(150);
    QVERIFY(w->tempo->interval() == 50 && w->tempo1->interval() == 50);
    w->partenza->click();
    w->tempoTimer();
    QVERIFY(w->Panel3->isVisibleTo(w) && w->Panel3->text() == QStringLiteral("SOLSTIZIO D'INVERNO"));
    w->pausa->setChecked(true);
    w->tempoTimer();
    QCOMPARE(w->h, 1);
    w->fine->click();
    QVERIFY(!w->tempo->isActive() && w->partenza->isEnabled() && w->traiet->isEnabled());
    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/sistema.htm#cammino"));
    w->Frame()->close();
    QVERIFY(WindowClosed[1] && main->BackdropVisible() && w->sky.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(cammin == nullptr);

    LanguageIndex = 1;
    main->OpenSimulation(QStringLiteral("G5"));
    w = cammin;
    QCOMPARE(w->windowTitle(), QStringLiteral("Apparent path of the Sun"));
    QCOMPARE(w->Label4->text(), QStringLiteral(" Pole star"));
    start(w, 40, 0);
    QCOMPARE(w->Panel2->text(), QString::fromUtf8("40° 0'  North of the equator"));
    for (int k = 0; k < 241; ++k)
        w->tempoTimer();
    QCOMPARE(w->Panel3->text(), QStringLiteral("SPRING EQUINOX"));
    QCOMPARE(Tcammin::LatitudeText(45, 30), QString::fromUtf8("45°30'  North of the equator"));
    QCOMPARE(w->Label2->text(), QStringLiteral("Zenith"));
}

void TestCamsole::sunRisesWhereItShould()
{
    // The drawn Sun comes over the near rim of the drawn horizon where cos A = sin(decl) /
    // cos(lat), A from north towards east. At the equator the equinox Sun rises and sets at
    // the ends of the east-west line and never strays north or south of them.
    for (QSize size : {QSize(1880, 880), QSize(1024, 768)}) {
        Tcammin *w = open(size.width(), size.height());
        const int cx = w->SL + w->SW / 2, oy = 3 * w->CH / 8, ex = int(std::lround(w->SW / 5.0 * std::sin(Turn)));
        const QPoint east(cx - ex, oy + int(std::lround(w->SW / 14.0 * std::cos(Turn)))), west = QPoint(2 * cx, 2 * oy) - east;
        for (double lat : {0.0, 30.0, 45.5}) {
            start(w, int(lat), int(lat * 60) % 60);
            w->tempo->stop();
            const QImage clean = w->sky.copy();
            auto onDisc = [&](QPointF p) { // the horizon with its lines
                const TColor c = pixelAt(clean, qRound(p.x()), qRound(p.y()));
                return c == clBlue || c == clAqua;
            };
            QPoint before;
            int rises = 0;
            for (int k = 0; k < 7 * 80; ++k) {
                w->tempoTimer();
                const int v = k / 80, h = k % 80;
                const QPoint sun = drawnSun(w, sunAt(w, lat, v, k) - QPoint(0, w->CH / 8));
                if (v % 3 == 0 && h > 0 && h <= 40 && onDisc(sun) && !onDisc(before) && before.y() > sun.y()) {
                    QPointF rim = before;
                    for (int i = 0; !onDisc(rim); ++i)
                        rim = before + (sun - before) * (i / 100.0);
                    const double drawn = std::acos(std::cos(Turn) * (rim.x() - cx) / (w->SW / 5.0)) - Turn;
                    const double due = std::acos(std::sin((8 * v - 24) * M_PI / 180) / std::cos(lat * M_PI / 180));
                    QVERIFY2(std::abs(drawn - due) < 1.5 * M_PI / 180, qPrintable(QStringLiteral("%1 %2").arg(drawn).arg(due)));
                    ++rises;
                }
                if (lat == 0 && v == 3) {
                    QVERIFY(std::abs(sun.x() - cx) <= ex + 1);
                    if (h == 20 || h == 60)
                        QVERIFY(((h == 20 ? east : west) - sun).manhattanLength() <= 2);
                }
                before = sun;
            }
            QCOMPARE(rises, 3);
        }
    }
}

void TestCamsole::zenithLabel()
{
    // Named in the language of the window (the international word where a loaded language
    // has no name for it), and written straight on the sky: under it the rings of the
    // equator's equinox path, which runs through the zenith, show wherever no letter covers.
    Tcammin *w = open(1024, 768);
    QCOMPARE(w->Label2->text(), QStringLiteral("Zenit"));
    w->traiet->click();
    start(w, 0, 0);
    w->tempo->stop();
    for (int k = 0; k < 4 * 80; ++k)
        w->tempoTimer();
    const QImage shown = w->grab().toImage();
    int rings = 0;
    for (int y = w->Label2->y(); y <= w->Label2->geometry().bottom(); ++y)
        for (int x = w->Label2->x(); x <= w->Label2->geometry().right(); ++x)
            if (pixelAt(w->screen, x, y) == clSilver && ++rings)
                QVERIFY(pixelAt(shown, x, y) != clBlack);
    QVERIFY(rings >= 5);
    const QString fourth = std::exchange(ControlTexts[84][3], QString());
    LanguageIndex = 3;
    w->Frame()->close();
    main->OpenSimulation(QStringLiteral("G5"));
    ControlTexts[84][3] = fourth;
    QCOMPARE(cammin->Label2->text(), QStringLiteral("Zenit"));
}

QTEST_MAIN(TestCamsole)
#include "test_camsole.moc"
