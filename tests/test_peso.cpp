// The weight-variation window: meridian section, force arrows (with their zero-length cases at
// the poles and the equator), interlocked force buttons, `contin` and Enter, life cycle.
#include "globals.h"
#include "language/texts.h"
#include "sims/rotation/peso.h"
#include "vastara.h"

#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include "simtest.h"

#include <QtTest>
#include <cmath>

namespace {
using LD = long double;
int rnd(LD x) { return int(std::nearbyintl(x)); }

// Arrow heads at one step for a client of W x H, from the geometry of the scene.
struct Forces {
    int W, H;
    LD phi, a, g, beta;
    Forces(int w, int h, int step) : W(w), H(h), phi(step * M_PIl / 24)
    {
        a = 3.0L * H / 8 * std::cos(phi);
        g = (H / 3.0L) / std::hypot(a, 19.0L * H / 60 * std::sin(phi));
        beta = std::atan(a / 4 * std::sin(phi) / (H / 4.0L * g - std::fabs(a / 4 * std::cos(phi))));
    }
    QPoint head(LD L, LD d) const
    {
        const LD psi = phi + d - M_PIl / 2;
        return QPoint(rnd(W / 2.0L + 3.0L * H / 8 * std::cos(phi) - L * std::cos(psi)),
                      rnd(17.0L * H / 32 - 11.0L * H / 32 * std::sin(phi) + L * std::sin(psi)));
    }
    QPoint tail() const { return head(0, 0); }
    QPoint gravity() const { return head(H / 4.0L * g, M_PIl / 2); }
    QPoint centrifugal() const { return head(a / 4, -(M_PIl / 2 + phi)); }
    QPoint radial() const { return head(a / 4 * std::cos(phi), -M_PIl / 2); }
    QPoint weight() const { return head((H / 4.0L * g - std::fabs(a / 4 * std::cos(phi))) / std::cos(beta), M_PIl / 2 + beta); }
};

int count(const QImage &img, TColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += pixelAt(img, x, y) == c;
    return n;
}
TColor at(const QImage &img, QPoint p) { return pixelAt(img, p.x(), p.y()); }
} // namespace

class TestPeso : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void lifeCycleAndTexts();
    void sectionAndArrows();
    void interlockedButtons();
    void steppingWithContinAndEnter();

private:
    Tvariapeso *make(int w, int h);
    void draw(int step);
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tvariapeso *w = nullptr;
};

void TestPeso::cleanup()
{
    delete w;
    w = nullptr;
    delete main;
    main = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    LanguageIndex = 0;
}

Tvariapeso *TestPeso::make(int width, int height)
{
    delete w;
    ChildWidth = width;
    ChildHeight = height;
    w = static_cast<Tvariapeso *>(CreateVariapeso(nullptr));
    w->FormCreate();
    w->FormActivate();
    return w;
}

void TestPeso::draw(int step)
{
    Tvariapeso::latitudeStep = quint8(step);
    w->redrawWanted = true;
    w->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), (step + 1) % 47);
}

void TestPeso::lifeCycleAndTexts()
{
    Tvariapeso::latitudeStep = 5;
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
    main->OpenSimulation(QStringLiteral("E5"));
    Tvariapeso *v = variapeso;
    QVERIFY(v && !WindowClosed[16] && !main->BackdropVisible());
    QCOMPARE(v->windowTitle(), QStringLiteral("Variazione del peso con la latitudine"));
    QCOMPARE(SimWindow::HintOf(v->gravi), QString::fromUtf8("forza di gravità"));
    QCOMPARE(SimWindow::HintOf(v->contin), QStringLiteral("continua"));
    QVERIFY(v->barrasotto->isVisibleTo(v) && !v->pausa && !v->cadenza && v->invio->isHidden());
    QVERIFY(v->tempo->isActive() && v->tempo->interval() == 5);
    // The activation asked for one picture: step 5 is drawn once.
    v->tempoTimer();
    v->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), 6);
    v->FormDeactivate();
    QVERIFY(!v->tempo->isActive());
    v->FormActivate();
    v->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), 7);
    HelpCapture help;
    v->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/moti.htm#variazione"));
    QVERIFY(QFileInfo::exists(help.source.toLocalFile()));
    // Closed and opened again, the point goes on from where it was.
    v->Frame()->close();
    QVERIFY(WindowClosed[16] && main->BackdropVisible() && v->background.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    main->OpenSimulation(QStringLiteral("E5"));
    variapeso->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), 8);

    LanguageIndex = 1;
    make(800, 600);
    QCOMPARE(w->windowTitle(), QStringLiteral("Variation of the weight with the latitude"));
    QCOMPARE(SimWindow::HintOf(w->comp), QStringLiteral("components of the centrifugal force"));
    QCOMPARE(SimWindow::HintOf(w->contin), QStringLiteral("continue"));
}

void TestPeso::sectionAndArrows()
{
    for (QSize size : {QSize(1880, 880), QSize(1024, 768)}) {
        make(size.width(), size.height());
        const int W = size.width(), H = size.height(), cx = W / 2, r = 3 * H / 8, dy = H / 32;
        const QImage &s = w->screen;
        draw(12);
        // The section on black, shown H/32 lower, the whole Earth inside the picture.
        QCOMPARE(pixelAt(s, 3, H / 2), clBlack);
        QVERIFY(cx - r > 0 && colourNear(s, cx - r, H / 2 + dy, clSilver) && colourNear(s, cx + r - 1, H / 2 + dy, clSilver));
        QVERIFY(colourNear(s, cx + 4, H / 8 + dy, clGray) && colourNear(s, cx + 4, 5 * H / 32 + dy, clSilver));
        QCOMPARE(pixelAt(s, cx, H / 16 + dy + 2), clGray);
        const int y0 = 3 * H / 32 + dy; // the rotation sign: arc below its ends, arrowhead
        QVERIFY(colourNear(s, cx + 10, y0 + 9, clGray) && pixelAt(s, cx + 10, y0 - 9) == clBlack);
        QVERIFY(pixelAt(s, cx + 21, y0 - 3) == clGray && pixelAt(s, cx + 17, y0 - 3) == clGray);

        // Gravity inward, centrifugal horizontal away from the axis, dotted distance to the axis.
        w->centrifuga->click();
        for (int step : {4, 28}) {
            draw(step);
            const Forces f(W, H, step);
            QVERIFY(at(s, f.gravity()) == clLime && at(s, f.centrifugal()) == clAqua);
            QVERIFY(qAbs(f.centrifugal().y() - f.tail().y()) <= 1 && (f.centrifugal().x() > f.tail().x()) == (step == 4));
            const int len = qAbs(rnd(f.a));
            int dots = 0;
            for (int x = qMin(cx, cx + rnd(f.a)); x < qMax(cx, cx + rnd(f.a)); ++x)
                dots += pixelAt(s, x, f.centrifugal().y()) == clAqua;
            QVERIFY(dots > len / 5 && dots < len * 2 / 3);
        }
        // With the components: at the poles nothing of the centrifugal force is drawn; on the
        // equator its tangential part vanishes and the radial one is the whole force.
        w->comp->click();
        for (int step : {12, 36}) {
            draw(step);
            QVERIFY(count(s, clAqua) + count(s, clRed) + count(s, clYellow) == 0);
            QCOMPARE(at(s, Forces(W, H, step).gravity()), clLime);
        }
        for (int step : {0, 24}) {
            draw(step);
            QVERIFY(count(s, clYellow) == 0 && at(s, Forces(W, H, step).centrifugal()) == clAqua);
        }
        draw(4);
        QVERIFY(count(s, clYellow) > 0 && at(s, Forces(W, H, 4).radial()) == clRed);

        // The weight, with dotted lines to the heads of its two forces, except on the equator.
        w->comp->click();
        w->risul->click();
        draw(4);
        Forces f(W, H, 4);
        QCOMPARE(at(s, f.weight()), clWhite);
        for (QPoint end : {f.gravity(), f.centrifugal()})
            QVERIFY(colourNear(s, (end + f.weight()).x() / 2, (end + f.weight()).y() / 2, clWhite));
        // The weight is the sum of the two forces: its head closes their parallelogram.
        for (int step = 1; step < 47; ++step) {
            if (step % 12 == 0)
                continue;
            const Forces q(W, H, step);
            const QPoint sum = q.gravity() + q.centrifugal() - q.tail();
            QVERIFY2((q.weight() - sum).manhattanLength() <= 2, qPrintable(QString::number(step)));
        }
        draw(0);
        f = Forces(W, H, 0);
        QVERIFY(f.gravity().y() == f.weight().y() && at(s, f.weight()) == clWhite);
        for (int x = f.gravity().x() + 2; x < f.weight().x(); ++x)
            QVERIFY(pixelAt(s, x, f.weight().y()) != clWhite);
        // Gravity off: only the centrifugal arrow is left.
        w->gravi->click();
        draw(4);
        QVERIFY(count(s, clLime) + count(s, clWhite) == 0 && count(s, clAqua) > 0);
    }
}

void TestPeso::interlockedButtons()
{
    make(800, 600);
    QVERIFY(w->gravi->isChecked() && !w->centrifuga->isChecked() && !w->comp->isEnabled() && !w->risul->isEnabled());
    QVERIFY(w->showGravity && !w->showCentrifugal && !w->showComponents && !w->showWeight);
    w->gravi->click(); // gravity off: the centrifugal force comes on
    QVERIFY(!w->showGravity && w->showCentrifugal && w->centrifuga->isChecked());
    QVERIFY(w->comp->isEnabled() && !w->risul->isEnabled());
    w->centrifuga->click(); // centrifugal off: gravity comes back
    QVERIFY(w->showGravity && !w->showCentrifugal && w->gravi->isChecked() && !w->comp->isEnabled());
    w->centrifuga->click(); // both on: the weight can be chosen
    w->comp->click();
    w->risul->click();
    QVERIFY(w->risul->isEnabled() && w->showComponents && w->showWeight && w->risul->isChecked());
    w->gravi->click(); // gravity off: the weight goes, the components stay
    QVERIFY(!w->showWeight && !w->risul->isChecked() && !w->risul->isEnabled() && w->showComponents);
    w->gravi->click();
    w->centrifuga->click(); // centrifugal off: its parts go with it
    QVERIFY(!w->showComponents && !w->comp->isChecked() && !w->comp->isEnabled() && !w->risul->isEnabled());
}

void TestPeso::steppingWithContinAndEnter()
{
    make(800, 600);
    Tvariapeso::latitudeStep = 46;
    w->redrawWanted = false;
    w->contin->click(); // two presses before the tick cancel each other
    w->contin->click();
    w->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), 46);
    w->contin->click(); // step 46, 345 degrees, then back to 0
    w->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), 0);
    QCOMPARE(at(w->screen, Forces(800, 600, 46).gravity()), clLime);
    // The Enter key on the focused button does what `contin` does.
    QTest::keyClick(w->contin, Qt::Key_Return);
    QVERIFY(w->redrawWanted);
    QTest::keyClick(w->contin, Qt::Key_Enter);
    QVERIFY(!w->redrawWanted);
}

QTEST_MAIN(TestPeso)
#include "test_peso.moc"
