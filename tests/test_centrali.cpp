// Central forces: the satellite's place and the pull with its parts at each of the sixteen
// steps, the body at the focus, equal areas in equal ticks, arrows that grow with the
// picture, the arrows on the picture, the permanent trail, pause, rate and life cycle.
#include "dialogs/brucatore.h"
#include "globals.h"
#include "language/texts.h"
#include "sims/mechanics/centrali.h"
#include "vastara.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255), Yellow = qRgb(255, 255, 0);
const QRgb Red = qRgb(255, 0, 0);
const double Step = M_PI / 8; // mean anomaly a tick

int rnd(double v)
{
    return int(std::nearbyint(v));
}

// The satellite and the pull at step k on the ellipse a x b, worked out afresh: equal times
// a step, so the mean anomaly (from the far end) grows by pi/8; the force centre at the focus;
// lengths in pixels a tick of a sixteen-tick revolution.
struct State {
    double theta, x, y, r2, phi, tau, F, an, at, v;
    int s;
};

double focal(double a, double b)
{
    return std::sqrt(a * a - b * b);
}

State expected(int k, double a, double b)
{
    State e{};
    // Kepler's equation E + e sin E = M, by halving the interval (E = 0 at the far end).
    const double ecc = focal(a, b) / a, M = k * Step;
    double lo = 0, hi = k == 0 ? 0 : 2 * M_PI;
    for (int i = 0; i < 100; ++i) {
        const double mid = (lo + hi) / 2;
        (mid + ecc * std::sin(mid) < M ? lo : hi) = mid;
    }
    const double theta = e.theta = (lo + hi) / 2;
    e.x = a * std::cos(theta);
    e.y = b * std::sin(theta);
    const double dx = focal(a, b) + e.x;
    e.r2 = dx * dx + e.y * e.y;
    // The direction of the radius, as a line: between 0 and pi.
    e.phi = std::atan(e.y / dx);
    if (e.phi <= 0)
        e.phi += M_PI;
    // The pull points to the force centre: down the radius when the satellite is above the
    // axis, and at the ends of the axis towards the centre.
    e.s = k == 0 ? -1 : (k < 8 ? 1 : -1);
    e.tau = k == 0 ? M_PI / 2 : std::atan(b / a * std::cos(theta) / std::sin(theta));
    // Kepler's third law gives GM = n^2 a^3; the speed is vis-viva's.
    e.F = Step * Step * a * a * a / e.r2 * e.s;
    e.an = e.F * std::sin(e.phi + e.tau);
    e.at = -e.F * std::cos(e.phi + e.tau);
    e.v = -Step * std::sqrt(a * a * a * (2 / std::sqrt(e.r2) - 1 / a)) * (e.an < 0 ? -1 : 1);
    return e;
}

// An arrow of length L at angle alpha from P: where its tip lands on the screen.
QPointF tipOf(QPointF P, double L, double alpha)
{
    return QPointF(P.x() - L * std::sin(alpha), P.y() - L * std::cos(alpha));
}

QPointF unit(QPointF v)
{
    const double n = std::hypot(v.x(), v.y());
    return n > 0 ? v / n : v;
}

double dot(QPointF a, QPointF b)
{
    return a.x() * b.x() + a.y() * b.y();
}

// The arrow as the picture shows it: a shaft from P to the tip and a filled head whose sides
// are a quarter of the arrow, 20 degrees either side of the shaft.
void drawArrow(Canvas &c, QPointF P, double L, double alpha, TColor colour)
{
    c.pen.Color = colour;
    c.brush.Color = colour;
    const QPointF T = tipOf(P, L, alpha);
    c.MoveTo(rnd(P.x()), rnd(P.y()));
    c.LineTo(rnd(T.x()), rnd(T.y()));
    const double h = L / 4, d = M_PI / 180;
    c.Polygon({QPoint(rnd(T.x() + h * std::cos(alpha - 110 * d)), rnd(T.y() - h * std::sin(alpha - 110 * d))),
               QPoint(rnd(T.x() + h * std::cos(alpha - 70 * d)), rnd(T.y() - h * std::sin(alpha - 70 * d))),
               QPoint(rnd(T.x()), rnd(T.y()))});
}

void drawSatellite(Canvas &c, QPointF P)
{
    c.pen.Color = clWhite;
    c.brush.Color = clWhite;
    c.Ellipse(rnd(P.x() - 2), rnd(P.y() - 2), rnd(P.x() + 2), rnd(P.y() + 2));
}

// The width the scene of a client W x H is laid out for: W itself, unless the orbit
// (7/32 of the width high either side of the middle) and its arrows (an eighth beyond it)
// would leave the picture (3/4 of the client high); then the widest that keeps them, and the
// satellite 2 px round, inside.
int layoutWidth(int W, int H)
{
    int Wl = W;
    while (9 * (7 * Wl / 32) > 8 * (3 * H / 8 - 3))
        --Wl;
    return Wl;
}

// A fresh picture of a window of client W x H: black, with the attracting body at the
// focus, left of the middle.
QImage freshPicture(int W, int H)
{
    QImage img = NewBitmap(W, 3 * H / 4, clBlack);
    Canvas c(&img);
    c.brush.Color = clYellow;
    c.pen.Color = clBlack;
    const int Wl = layoutWidth(W, H);
    const int bx = rnd(W / 2.0 - focal(Wl / 4, 7 * Wl / 32)), by = 3 * H / 8;
    c.Ellipse(bx - 8, by - 8, bx + 8, by + 8);
    return img;
}

// Where the window's last step put the satellite, and the angles of its arrows.
QPointF satelliteOf(const Tfcen *w)
{
    return QPointF(w->ClientWidth() / 2.0 + w->x, 3.0 * w->ClientHeight() / 8.0 - w->y);
}

struct ArrowOf {
    double L, alpha;
    TColor colour;
};

QVector<ArrowOf> arrowsOf(const Tfcen *w)
{
    return {{w->F, w->phi + M_PI / 2, clRed},
            {w->v, -w->tau - M_PI / 2, clLime},
            {w->at, -w->tau - M_PI / 2, clFuchsia},
            {w->an, M_PI - w->tau, clAqua}};
}

int count(const QImage &img, QRgb c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == c;
    return n;
}
} // namespace

class TestCentrali : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pullAndPartsAtEveryStep();
    void focusEqualAreasAndArrowsAtBothSizes();
    void arrowsPointTheRightWay();
    void pictureFollowsTheButtons();
    void attractingBodyStaysWhole();
    void permanentTrail();
    void pauseRateAndLifeCycle();
    void textsAndHelp();
    void resizedWindow();
    void wideWindowKeepsTheOrbitInside();

private:
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tfcen *open();
    Tfcen *openSmall();
    QImage shown(Tfcen *w);
};

void TestCentrali::init()
{
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
}

void TestCentrali::cleanup()
{
    if (fcen && !fcen->Frame())
        delete fcen;
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

Tfcen *TestCentrali::open()
{
    main->OpenSimulation(QStringLiteral("H1"));
    return fcen;
}

// A window of client 535 x 420, made by hand.
Tfcen *TestCentrali::openSmall()
{
    ChildWidth = 535;
    ChildHeight = 420;
    auto *w = qobject_cast<Tfcen *>(CreateFcen(main));
    w->FormCreate();
    w->FormActivate();
    return w;
}

QImage TestCentrali::shown(Tfcen *w)
{
    w->canvas.flush();
    return w->screen.copy(QRect(QPoint(0, w->ClientHeight() / 8), w->bitmap.size()));
}

void TestCentrali::pullAndPartsAtEveryStep()
{
    Tfcen *w = openSmall();
    QCOMPARE(w->ClientWidth(), 535);
    QCOMPARE(w->a, 133.0f);
    QCOMPARE(w->b, 117.0f);
    QCOMPARE(w->k, 0);
    double minF = 1e9, maxF = 0, minV = 1e9, maxV = 0;
    for (int t = 0; t < 32; ++t) {
        const int k = t % 16;
        QCOMPARE(w->k, k);
        w->tempoTimer();
        QCOMPARE(w->k, (k + 1) % 16);
        const State e = expected(k, 133, 117);
        const QString at = QStringLiteral("k = %1").arg(k);
        QVERIFY2(qAbs(w->x - e.x) < 1e-3, qPrintable(at));
        QVERIFY2(qAbs(w->y - e.y) < 1e-3, qPrintable(at));
        QVERIFY2(qAbs(w->r2 - e.r2) < 1e-4 * e.r2, qPrintable(at));
        QVERIFY2(qAbs(qAbs(w->F) - qAbs(e.F)) < 1e-4 * qAbs(e.F), qPrintable(at));
        QVERIFY2(qAbs(qAbs(w->v) - qAbs(e.v)) < 1e-3 * qAbs(e.v), qPrintable(at));
        // The sign follows the height above the axis, and is -1 at the far end; at the near
        // end either sign will do, since the direction of the radius turns with it.
        if (k != 8) {
            QCOMPARE(int(w->s), e.s);
            QVERIFY2(qAbs(w->phi - e.phi) < 1e-5, qPrintable(at));
            QVERIFY2(qAbs(w->F - e.F) < 1e-4 * qAbs(e.F), qPrintable(at));
            QVERIFY2(qAbs(w->v - e.v) < 1e-3 * qAbs(e.v), qPrintable(at));
            QVERIFY2(qAbs(w->tau - e.tau) < 1e-5, qPrintable(at));
            QVERIFY2(qAbs(w->an - e.an) < 1e-3 + 1e-4 * qAbs(e.an), qPrintable(at));
            QVERIFY2(qAbs(w->at - e.at) < 1e-3 + 1e-4 * qAbs(e.at), qPrintable(at));
        }
        minF = qMin(minF, qAbs(double(w->F)));
        maxF = qMax(maxF, qAbs(double(w->F)));
        minV = qMin(minV, qAbs(double(w->v)));
        maxV = qMax(maxV, qAbs(double(w->v)));
        if (k == 0) {
            QCOMPARE(int(w->s), -1);
            QCOMPARE(w->tau, float(M_PI / 2));
            QVERIFY(qAbs(qAbs(w->F) - 9.42) < 0.01);
        }
        if (k == 8)
            QVERIFY(qAbs(qAbs(w->F) - 74.57) < 0.01);
        // At the ends of the axis the pull has no tangential part.
        if (k == 0 || k == 8)
            QVERIFY2(qAbs(w->at) < 1e-3, qPrintable(at));
    }
    // At 535 px the pull runs from about 9 to 75 pixels, the speed from about 31 to 88.
    QVERIFY(qAbs(minF - 9.42) < 0.01);
    QVERIFY(qAbs(maxF - 74.57) < 0.01);
    QVERIFY(qAbs(minV - 31.14) < 0.01);
    QVERIFY(qAbs(maxV - 87.60) < 0.01);
}

void TestCentrali::focusEqualAreasAndArrowsAtBothSizes()
{
    // On a wide and a 4:3 client: the body at the focus, equal areas from it in equal ticks,
    // the speeds at the ends inversely as the distances, each arrow the same share of a.
    QVector<double> share[2];
    const QSize clients[] = {QSize(1880, 880), QSize(1024, 768)};
    for (int i = 0; i < 2; ++i) {
        auto *w = static_cast<Tfcen *>(OpenAtClient(main, QStringLiteral("H1"), clients[i]));
        QVERIFY(w);
        w->tempo->stop();
        QCOMPARE(w->bitmap, freshPicture(clients[i].width(), clients[i].height()));
        const double a = w->a, b = w->b, c = focal(a, b);
        QPointF P[17]; // from the focus, y up
        for (int k = 0; k <= 16; ++k) {
            w->tempoTimer();
            P[k] = QPointF(w->x + c, w->y);
            share[i] << qAbs(w->F) / a << qAbs(w->v) / a << qAbs(w->at) / a << qAbs(w->an) / a;
        }
        for (int k = 0; k < 16; ++k) {
            // The triangle from the focus and the sliver between its chord and the arc (a
            // circle's sliver squeezed by b/a).
            const QPointF u = P[k], v = P[k + 1], cu(u.x() - c, u.y() * a / b), cv(v.x() - c, v.y() * a / b);
            const double d = std::atan2(cu.x() * cv.y() - cu.y() * cv.x(), cu.x() * cv.x() + cu.y() * cv.y());
            const double area = (u.x() * v.y() - u.y() * v.x()) / 2 + a * b / 2 * (d - std::sin(d));
            QVERIFY(qAbs(area - M_PI * a * b / 16) < 1e-4 * a * b);
        }
        const double far = std::hypot(P[0].x(), P[0].y()), near = std::hypot(P[8].x(), P[8].y());
        QVERIFY(qAbs(far - (a + c)) < 1e-3 && qAbs(share[i][33] / share[i][1] - far / near) < 1e-4 * far / near);
        w->Frame()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    for (int j = 0; j < share[0].size(); ++j)
        QVERIFY(qAbs(share[0][j] - share[1][j]) <= 0.01 * share[1][j] + 1e-3);
}

void TestCentrali::arrowsPointTheRightWay()
{
    Tfcen *w = openSmall();
    const QPointF centre(535 / 2.0 - focal(133, 117), 3.0 * w->ClientHeight() / 8);
    const QPointF middle(535 / 2.0, 3.0 * w->ClientHeight() / 8);
    for (int k = 0; k < 16; ++k) {
        w->tempoTimer();
        const QString at = QStringLiteral("k = %1").arg(k);
        const double theta = expected(k, 133, 117).theta;
        const QPointF P(535 / 2.0 + 133 * std::cos(theta), middle.y() - 117 * std::sin(theta));
        QVERIFY2(std::hypot(satelliteOf(w).x() - P.x(), satelliteOf(w).y() - P.y()) < 1e-3, qPrintable(at));
        const QVector<ArrowOf> arrows = arrowsOf(w);
        const QPointF force = tipOf(P, arrows[0].L, arrows[0].alpha) - P;
        const QPointF velocity = tipOf(P, arrows[1].L, arrows[1].alpha) - P;
        const QPointF tangential = tipOf(P, arrows[2].L, arrows[2].alpha) - P;
        const QPointF centripetal = tipOf(P, arrows[3].L, arrows[3].alpha) - P;
        // The pull points at the force centre and is as long as F.
        QVERIFY2(dot(unit(force), unit(centre - P)) > 0.99999, qPrintable(at));
        QVERIFY2(qAbs(std::hypot(force.x(), force.y()) - Step * Step * 133 * 133 * 133 / w->r2) < 1e-3, qPrintable(at));
        // The velocity runs along the orbit, anticlockwise on the screen.
        const QPointF ahead(-133 * std::sin(theta), -117 * std::cos(theta));
        QVERIFY2(dot(unit(velocity), unit(ahead)) > 0.99999, qPrintable(at));
        // The two parts add up to the pull; the centripetal one crosses the orbit inwards.
        QVERIFY2(std::hypot((tangential + centripetal - force).x(), (tangential + centripetal - force).y()) < 1e-3,
                 qPrintable(at));
        QVERIFY2(qAbs(dot(unit(centripetal), unit(ahead))) < 1e-5, qPrintable(at));
        QVERIFY2(dot(centripetal, middle - P) > 0, qPrintable(at));
        // The tangential part pushes forwards on the way in, holds back on the way out.
        if (k >= 1 && k <= 7)
            QVERIFY2(dot(tangential, ahead) > 0.5, qPrintable(at));
        if (k >= 9)
            QVERIFY2(dot(tangential, ahead) < -0.5, qPrintable(at));
        if (k == 0) {
            // At the far end: the pull to the left, the velocity straight up.
            QVERIFY(force.x() < 0 && qAbs(force.y()) < 1e-3);
            QVERIFY(velocity.y() < 0 && qAbs(velocity.x()) < 1e-3);
        }
    }
}

void TestCentrali::pictureFollowsTheButtons()
{
    Tfcen *w = open();
    QVERIFY(w);
    const int W = w->ClientWidth(), H = w->ClientHeight();
    QCOMPARE(w->bitmap.size(), QSize(W, 3 * H / 4));
    QCOMPARE(w->a, float(4 * layoutWidth(W, H) / 16));
    QCOMPARE(w->b, float(7 * layoutWidth(W, H) / 32));
    // Before the first step: the black picture with the attracting body.
    QImage reference = freshPicture(W, H);
    QCOMPARE(w->bitmap, reference);
    for (QToolButton *b : {w->forza, w->velo, w->accet, w->accec, w->perman}) {
        QVERIFY(b->isCheckable());
        QVERIFY(!b->isChecked());
    }

    // No button down: only the satellite moves.
    for (int t = 0; t < 3; ++t) {
        w->tempoTimer();
        QImage ref = freshPicture(W, H);
        Canvas c(&ref);
        drawSatellite(c, satelliteOf(w));
        c.flush();
        QCOMPARE(w->bitmap, ref);
        QCOMPARE(shown(w), w->bitmap);
    }
    // Every arrow button down: the four arrows over the satellite, in their order, and the
    // previous step wiped out completely.
    for (QToolButton *b : {w->forza, w->velo, w->accet, w->accec})
        b->click();
    for (int t = 0; t < 18; ++t) {
        w->tempoTimer();
        QImage ref = freshPicture(W, H);
        Canvas c(&ref);
        drawSatellite(c, satelliteOf(w));
        for (const ArrowOf &a : arrowsOf(w))
            drawArrow(c, satelliteOf(w), a.L, a.alpha, a.colour);
        c.flush();
        QCOMPARE(w->bitmap, ref);
        QCOMPARE(shown(w), w->bitmap);
    }
    // One button at a time: only its colour is on the picture.
    QToolButton *buttons[] = {w->forza, w->velo, w->accet, w->accec};
    const QRgb colours[] = {Red, qRgb(0, 255, 0), qRgb(255, 0, 255), qRgb(0, 255, 255)};
    for (QToolButton *b : {w->forza, w->velo, w->accet, w->accec})
        b->click();
    for (int i = 0; i < 4; ++i) {
        buttons[i]->click();
        while (w->k != 5)
            w->tempoTimer(); // where every part of the pull is a few pixels long
        w->tempoTimer();
        for (int j = 0; j < 4; ++j)
            QCOMPARE(count(w->bitmap, colours[j]) > 0, i == j);
        buttons[i]->click();
    }
    w->tempoTimer();
    for (QRgb c : colours)
        QCOMPARE(count(w->bitmap, c), 0);
}

void TestCentrali::attractingBodyStaysWhole()
{
    // In a small window the pull at the near end reaches into the attracting body; wiping
    // the arrow at the next step must not leave a hole in the body.
    Tfcen *w = openSmall();
    const int W = 535, H = w->ClientHeight();
    const QRect body(rnd(W / 2.0 - focal(133, 117)) - 8, 3 * H / 8 - 8, 16, 16);
    const QImage fresh = freshPicture(W, H).copy(body);
    w->forza->click();
    int reached = 0, whole = 0;
    for (int t = 0; t < 32; ++t) {
        const int k = w->k;
        w->tempoTimer();
        // Every pixel of the body is as painted, or under this step's arrow.
        const QImage now = w->bitmap.copy(body);
        int red = 0;
        for (int y = 0; y < body.height(); ++y)
            for (int x = 0; x < body.width(); ++x) {
                if (now.pixel(x, y) == Red)
                    ++red;
                else
                    QCOMPARE(now.pixel(x, y), fresh.pixel(x, y));
            }
        if (k == 8)
            QVERIFY(red > 0);
        reached += red > 0;
        whole += now == fresh;
    }
    QVERIFY(reached >= 2 && reached <= 8);
    QCOMPARE(reached + whole, 32);
}

void TestCentrali::permanentTrail()
{
    Tfcen *w = open();
    const int W = w->ClientWidth(), H = w->ClientHeight();
    w->perman->click();
    QVERIFY(w->perman->isChecked());
    QImage ref = freshPicture(W, H);
    QVector<QPointF> places;
    for (int t = 0; t < 16; ++t) {
        w->tempoTimer();
        places.append(satelliteOf(w));
        Canvas c(&ref);
        drawSatellite(c, satelliteOf(w));
    }
    // A chain of 16 dots round the orbit, wherever it lies inside the picture.
    QCOMPARE(w->bitmap, ref);
    const QPointF middle(W / 2.0, 3.0 * H / 8);
    int inside = 0;
    for (int k = 0; k < 16; ++k) {
        const double theta = expected(k, w->a, w->b).theta;
        const QPointF P(middle.x() + w->a * std::cos(theta), middle.y() - w->b * std::sin(theta));
        QVERIFY(std::hypot(P.x() - places[k].x(), P.y() - places[k].y()) < 1e-3);
        const QPoint inner(rnd(P.x() - 2) + 1, rnd(P.y() - 2) + 1);
        if (w->bitmap.rect().contains(inner + QPoint(1, 1))) {
            ++inside;
            QCOMPARE(w->bitmap.pixel(inner), White);
            QCOMPARE(w->bitmap.pixel(inner + QPoint(1, 1)), White);
        }
    }
    QVERIFY(inside >= 10);
    // With an arrow the arrows pile up too.
    w->forza->click();
    w->tempoTimer();
    const int one = count(w->bitmap, Red);
    QVERIFY(one > 0);
    w->tempoTimer();
    QVERIFY(count(w->bitmap, Red) > one);
    w->forza->click();
    // Let up: the next step wipes only the last satellite (and its arrows).
    w->perman->click();
    const QPointF last = satelliteOf(w);
    w->tempoTimer();
    const QPoint lastInner(rnd(last.x() - 2) + 1, rnd(last.y() - 2) + 1);
    QCOMPARE(w->bitmap.pixel(lastInner), Black);
    QVERIFY(count(w->bitmap, Red) > 0);
    int whiteDots = 0;
    for (int k = 0; k < 16; ++k) {
        const QPoint inner(rnd(places[k].x() - 2) + 1, rnd(places[k].y() - 2) + 1);
        if (w->bitmap.rect().contains(inner))
            whiteDots += w->bitmap.pixel(inner) == White;
    }
    QVERIFY(whiteDots >= inside - 1);
}

void TestCentrali::pauseRateAndLifeCycle()
{
    Tfcen *w = open();
    QVERIFY(!WindowClosed[2]);
    QVERIFY(!main->BackdropVisible());
    QVERIFY(w->barrasotto->isVisibleTo(w));
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->tempo->interval(), 90);
    QCOMPARE(w->cadenza->minimum(), 5);
    QCOMPARE(w->cadenza->maximum(), 195);
    QCOMPARE(w->cadenza->value(), 110);
    w->cadenza->setValue(150);
    QCOMPARE(w->tempo->interval(), 50);
    w->cadenza->setValue(5);
    QCOMPARE(w->tempo->interval(), 195);
    QVERIFY(w->forza->cursor().shape() == Qt::ArrowCursor);
    // The legend along the bottom, BarHeight high.
    QCOMPARE(w->sotto->geometry(), QRect(0, w->ClientHeight() - BarHeight, w->ClientWidth(), BarHeight));
    QCOMPARE(w->sotto->palette().color(QPalette::Window), QColor(192, 192, 192));
    const QLabel *panels[] = {w->Panel2, w->Panel3, w->Panel9, w->Panel10};
    const QColor colours[] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(255, 0, 255), QColor(0, 255, 255)};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(panels[i]->palette().color(QPalette::WindowText), colours[i]);
        QCOMPARE(panels[i]->palette().color(QPalette::Window), QColor(0, 0, 0));
        QVERIFY(panels[i]->font().bold());
        QCOMPARE(panels[i]->height(), BarHeight);
    }

    // Paused: nothing moves, the picture is still put on the window.
    w->forza->click();
    for (int t = 0; t < 5; ++t)
        w->tempoTimer();
    w->pausa->click();
    QVERIFY(w->pausa->isChecked());
    const QImage held = w->bitmap.copy();
    for (int t = 0; t < 4; ++t) {
        w->canvas.brush.Color = clBlue;
        w->canvas.FillRect(0, 0, w->ClientWidth(), w->ClientHeight());
        w->tempoTimer();
        QCOMPARE(w->k, 5);
        QCOMPARE(w->bitmap, held);
        QCOMPARE(shown(w), held);
    }
    w->pausa->click();
    w->tempoTimer();
    QCOMPARE(w->k, 6);

    // Deactivated: stopped; activated: running again.
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive());
    // A second menu click opens nothing more.
    main->OpenSimulation(QStringLiteral("H1"));
    QCOMPARE(fcen, w);
    QCOMPARE(main->Simulations().size(), 1);

    // Closed: bitmap and slot freed, backdrop back; opened again it starts afresh at k = 0.
    w->Frame()->close();
    QVERIFY(w->bitmap.isNull());
    QVERIFY(!w->tempo->isActive());
    QVERIFY(WindowClosed[2]);
    QVERIFY(main->BackdropVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(fcen == nullptr);
    Tfcen *again = open();
    QCOMPARE(again->k, 0);
    QVERIFY(!again->forza->isChecked());
    QCOMPARE(again->bitmap, freshPicture(again->ClientWidth(), again->ClientHeight()));
    again->tempoTimer();
    QCOMPARE(count(again->bitmap, Red), 0);
}

void TestCentrali::textsAndHelp()
{
    Tfcen *w = open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Moto dei satelliti"));
    QCOMPARE(SimWindow::HintOf(w->pausa), QStringLiteral("pausa"));
    QCOMPARE(SimWindow::HintOf(w->cadenza), QString::fromUtf8("velocità di esecuzione"));
    QCOMPARE(SimWindow::HintOf(w->guida), QStringLiteral("guida"));
    QCOMPARE(SimWindow::HintOf(w->forza), QStringLiteral("forza"));
    QCOMPARE(SimWindow::HintOf(w->velo), QString::fromUtf8("velocità"));
    QCOMPARE(SimWindow::HintOf(w->accet), QStringLiteral("ac. tangenziale"));
    QCOMPARE(SimWindow::HintOf(w->accec), QStringLiteral("ac. centripeta"));
    QCOMPARE(SimWindow::HintOf(w->perman), QStringLiteral("permanente"));
    QCOMPARE(w->Panel2->text(), QStringLiteral("forza"));
    QCOMPARE(w->Panel3->text(), QString::fromUtf8("velocità"));
    QCOMPARE(w->Panel9->text(), QStringLiteral("ac. tangenziale"));
    QCOMPARE(w->Panel10->text(), QStringLiteral("ac. centripeta"));
    QVERIFY(w->forza->toolTip().isEmpty());
    HintsOn = true;
    w->FormDeactivate();
    w->FormActivate();
    QCOMPARE(w->perman->toolTip(), QStringLiteral("permanente"));

    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/meccanica.htm#moto"));

    main->SwitchLanguage(1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(fcen == nullptr);
    w = open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Satellite motions"));
    QCOMPARE(w->Panel10->text(), QStringLiteral("centripetal ac."));
    QCOMPARE(SimWindow::HintOf(w->perman), QStringLiteral("permanent"));
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("HelpVastara/meccanica.htm#moto"));
    QCOMPARE(help.opened, 2);
}

void TestCentrali::resizedWindow()
{
    // The ellipse keeps its size; its centre follows the client area.
    Tfcen *w = open();
    const float a = w->a, b = w->b;
    w->tempoTimer();
    w->Frame()->resize(w->Frame()->width() - 300, w->Frame()->height() - 120);
    const int W = w->ClientWidth(), H = w->ClientHeight();
    w->tempoTimer();
    QCOMPARE(w->a, a);
    QCOMPARE(w->b, b);
    const double theta = expected(1, a, b).theta;
    const QPointF P(W / 2.0 + a * std::cos(theta), 3.0 * H / 8 - b * std::sin(theta));
    QVERIFY(std::hypot(satelliteOf(w).x() - P.x(), satelliteOf(w).y() - P.y()) < 1e-3);
    QCOMPARE(w->bitmap.pixel(rnd(P.x() - 2) + 1, rnd(P.y() - 2) + 1), White);
    // The focus moved with it, the body too, and the pull still points there.
    const QPointF centre(W / 2.0 - focal(a, b), 3.0 * H / 8);
    QCOMPARE(w->bitmap.pixel(rnd(centre.x()), rnd(centre.y())), Yellow);
    const QVector<ArrowOf> arrows = arrowsOf(w);
    QVERIFY(dot(unit(tipOf(P, arrows[0].L, arrows[0].alpha) - P), unit(centre - P)) > 0.99999);
    QCOMPARE(w->sotto->geometry().bottom(), H - 1);
}

void TestCentrali::wideWindowKeepsTheOrbitInside()
{
    // The program's window on a wide screen is about twice as wide as high: an orbit
    // 7/32 of the client width high would leave the picture at the top and bottom, and the
    // satellite would vanish for six of its sixteen steps. The scene is laid out for the
    // widest width that fits instead.
    Tfcen *w = open();
    const int W = w->ClientWidth(), H = w->ClientHeight();
    const int Wl = layoutWidth(W, H);
    QVERIFY(Wl < W);
    QCOMPARE(w->a, float(4 * Wl / 16));
    QCOMPARE(w->b, float(7 * Wl / 32));
    QVERIFY(9 * w->b >= 8 * (3 * H / 8 - 3) - 9);
    QCOMPARE(w->bitmap, freshPicture(W, H));
    const QPointF centre(W / 2.0 - focal(w->a, w->b), 3.0 * H / 8);
    w->forza->click();
    for (int k = 0; k < 16; ++k) {
        w->tempoTimer();
        const QPointF P = satelliteOf(w);
        const QRect box(rnd(P.x() - 2), rnd(P.y() - 2), rnd(P.x() + 2) - rnd(P.x() - 2), rnd(P.y() + 2) - rnd(P.y() - 2));
        QVERIFY(w->bitmap.rect().contains(box));
        QVERIFY(count(w->bitmap.copy(box), White) > 0);
        // The pull points at the force centre, the focus, and is drawn.
        const QVector<ArrowOf> arrows = arrowsOf(w);
        QVERIFY(dot(unit(tipOf(P, arrows[0].L, arrows[0].alpha) - P), unit(centre - P)) > 0.99999);
        QVERIFY(count(w->bitmap, Red) > 0);
        for (const ArrowOf &a : arrowsOf(w))
            QVERIFY(w->bitmap.rect().contains(tipOf(P, a.L, a.alpha).toPoint()));
        // The pull is GM over the squared distance, GM from the period of sixteen ticks.
        const State e = expected(k, 4 * Wl / 16, 7 * Wl / 32);
        QVERIFY2(qAbs(w->F - e.F) < 1e-4 * qAbs(e.F), qPrintable(QString::number(k)));
    }

    // A window whose orbit fits is laid out on its own width.
    w->Frame()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ChildWidth = 900;
    w = open();
    QCOMPARE(layoutWidth(w->ClientWidth(), w->ClientHeight()), w->ClientWidth());
    QCOMPARE(w->a, float(4 * w->ClientWidth() / 16));
    QCOMPARE(w->b, float(7 * w->ClientWidth() / 32));
    QCOMPARE(w->bitmap, freshPicture(w->ClientWidth(), w->ClientHeight()));
}

QTEST_MAIN(TestCentrali)
#include "test_centrali.moc"
