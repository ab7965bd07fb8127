// The weight-variation window: the meridian section, the force arrows and their zero-length
// cases, the interlocked force buttons, stepping with `contin` and the Enter key, life cycle.
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

int rnd(LD x)
{
    return int(std::nearbyintl(x));
}

// The forces at one step for a client of W x H, worked out from the geometry of the scene.
struct Forces {
    int W, H;
    LD phi, a, g, beta;
    Forces(int w, int h, int step) : W(w), H(h)
    {
        phi = step * M_PIl / 24;
        a = 3.0L * H / 8 * std::cos(phi);
        const LD b = 19.0L * H / 60 * std::sin(phi);
        g = (H / 3.0L) / std::sqrt(a * a + b * b);
        const LD D = H / 4.0L - std::fabs(a / 4 * std::cos(phi));
        beta = std::atan(a / 5 * std::sin(phi) / D);
    }
    // The point on the flattened Earth as shown, and an arrow's head from it.
    LD tailX() const { return W / 2.0L + 3.0L * H / 8 * std::cos(phi); }
    LD tailY() const { return 17.0L * H / 32 - 11.0L * H / 32 * std::sin(phi); }
    QPoint tail() const { return QPoint(rnd(tailX()), rnd(tailY())); }
    QPoint head(LD L, LD d) const
    {
        const LD psi = phi + d - M_PIl / 2;
        return QPoint(rnd(tailX() - L * std::cos(psi)), rnd(tailY() + L * std::sin(psi)));
    }
    QPoint gravity() const { return head(H / 4.0L * g, M_PIl / 2); }
    QPoint centrifugal() const { return head(a / 4, -(M_PIl / 2 + phi)); }
    QPoint weight() const
    {
        return head((H / 4.0L * g - std::fabs(a / 4 * std::cos(phi))) / std::cos(beta), M_PIl / 2 + beta);
    }
    QPoint radial() const { return head(a / 4 * std::cos(phi), -M_PIl / 2); }
};

int count(const QImage &img, TColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += pixelAt(img, x, y) == c;
    return n;
}

QPoint mid(QPoint p, QPoint q)
{
    return (p + q) / 2;
}
} // namespace

class TestPeso : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void openedFromTheMenu();
    void textsOfAnotherLanguage();
    void meridianSection();
    void gravityAndCentrifugalArrows();
    void zeroLengthArrows();
    void weightAndConstructionLines();
    void interlockedForceButtons();
    void steppingWithContinAndEnter();

private:
    Tvariapeso *make(int w, int h);
    // Draws the given step with the window's current choice of forces.
    void draw(Tvariapeso *w, int step);
    QTemporaryDir dir;
    TVastaras *main = nullptr;
    Tvariapeso *direct = nullptr;
};

void TestPeso::cleanup()
{
    delete direct;
    direct = nullptr;
    delete main;
    main = nullptr;
    ModalRunner = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    LanguageIndex = 0;
}

Tvariapeso *TestPeso::make(int w, int h)
{
    delete direct;
    ChildWidth = w;
    ChildHeight = h;
    direct = static_cast<Tvariapeso *>(CreateVariapeso(nullptr));
    direct->FormCreate();
    direct->FormShow();
    direct->FormActivate();
    return direct;
}

void TestPeso::draw(Tvariapeso *w, int step)
{
    Tvariapeso::latitudeStep = quint8(step);
    w->redrawWanted = true;
    w->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), (step + 1) % 47);
    QVERIFY(!w->redrawWanted);
}

void TestPeso::openedFromTheMenu()
{
    Tvariapeso::latitudeStep = 5;
    main = new TVastaras(dir.filePath(QStringLiteral("Vastara.cfg")), QStringLiteral("it_IT"));
    main->FinishStartScreen();
    main->OpenSimulation(QStringLiteral("E5"));
    Tvariapeso *w = variapeso;
    QVERIFY(w);
    QVERIFY(!WindowClosed[16]);
    QVERIFY(!main->BackdropVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Variazione del peso con la latitudine"));
    QCOMPARE(SimWindow::HintOf(w->gravi), QString::fromUtf8("forza di gravità"));
    QCOMPARE(SimWindow::HintOf(w->contin), QStringLiteral("continua"));
    QVERIFY(w->barrasotto->isVisibleTo(w));
    QVERIFY(!w->pausa && !w->cadenza);
    QVERIFY(w->invio->isHidden() && !w->invio->isEnabled());
    QCOMPARE(w->invio->y(), w->metrics.controlTop);
    QVERIFY(w->tempo->isActive());
    QCOMPARE(w->tempo->interval(), 5);
    // The activation asked for a picture; the first tick draws step 5 and moves on.
    w->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), 6);
    const Forces f(w->PictureWidth(), w->PictureHeight(), 5);
    QCOMPARE(pixelAt(w->screen, f.gravity().x(), f.gravity().y()), clLime);
    w->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), 6);
    // Deactivated the timer stops; each activation draws the next step.
    w->FormDeactivate();
    QVERIFY(!w->tempo->isActive());
    w->FormActivate();
    QVERIFY(w->tempo->isActive() && w->redrawWanted);
    w->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), 7);

    HelpCapture help;
    w->guida->click();
    QCOMPARE(help.target, QStringLiteral("AiutoVastara/moti.htm#variazione"));
    QVERIFY(QFileInfo::exists(help.source.toLocalFile()));
    QCOMPARE(help.source.fragment(), QStringLiteral("variazione"));

    // Closed and opened again: the point goes on from where it was.
    w->Frame()->close();
    QVERIFY(WindowClosed[16]);
    QVERIFY(main->BackdropVisible());
    QVERIFY(w->background.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(variapeso == nullptr);
    main->OpenSimulation(QStringLiteral("E5"));
    QVERIFY(variapeso);
    variapeso->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), 8);
}

void TestPeso::textsOfAnotherLanguage()
{
    LanguageIndex = 1;
    Tvariapeso *w = make(800, 600);
    QCOMPARE(w->windowTitle(), QStringLiteral("Variation of the weight with the latitude"));
    QCOMPARE(SimWindow::HintOf(w->gravi), QStringLiteral("force of gravity"));
    QCOMPARE(SimWindow::HintOf(w->centrifuga), QStringLiteral("centrifugal force"));
    QCOMPARE(SimWindow::HintOf(w->comp), QStringLiteral("components of the centrifugal force"));
    QCOMPARE(SimWindow::HintOf(w->risul), QStringLiteral("weight"));
    QCOMPARE(SimWindow::HintOf(w->contin), QStringLiteral("continue"));
    QCOMPARE(SimWindow::HintOf(w->guida), QStringLiteral("help"));
}

void TestPeso::meridianSection()
{
    for (QSize size : {QSize(1880, 880), QSize(1024, 768)}) {
        Tvariapeso *w = make(size.width(), size.height());
        const int W = size.width(), H = size.height(), cx = W / 2, r = 3 * H / 8, dy = H / 32;
        QCOMPARE(w->background.size(), size);
        draw(w, 12);
        const QImage &s = w->screen;
        // Black ground (also above the copied section), and the whole Earth inside the picture.
        QCOMPARE(pixelAt(s, 3, H / 2), clBlack);
        QCOMPARE(pixelAt(s, W - 3, H / 2), clBlack);
        QCOMPARE(pixelAt(s, cx + 5, dy - 1), clBlack);
        QVERIFY(cx - r > 0 && cx + r < W);
        // Flattened Earth (silver) touching the sphere (gray) at its equator; gray above it.
        QVERIFY(colourNear(s, cx - r, H / 2 + dy, clSilver));
        QVERIFY(colourNear(s, cx + r - 1, H / 2 + dy, clSilver));
        QVERIFY(colourNear(s, cx + 4, H / 8 + dy, clGray));
        QVERIFY(colourNear(s, cx + 4, 5 * H / 32 + dy, clSilver));
        QCOMPARE(pixelAt(s, cx + 4, (H / 8 + 5 * H / 32) / 2 + dy), clBlack);
        // The first inner shell and the axis over the pole.
        QVERIFY(colourNear(s, cx - r + H / 10, H / 2 + dy, clGray));
        QCOMPARE(pixelAt(s, cx, H / 16 + dy + 2), clGray);
        // The arrowhead of the rotation sign.
        const int y0 = 3 * H / 32 + dy;
        QCOMPARE(pixelAt(s, cx + 19, y0 - 5), clGray);
        QCOMPARE(pixelAt(s, cx + 21, y0 - 3), clGray);
        QCOMPARE(pixelAt(s, cx + 17, y0 - 3), clGray);
        // The arc of the rotation sign runs below its ends.
        QVERIFY(colourNear(s, cx + 10, y0 + 9, clGray));
        QCOMPARE(pixelAt(s, cx + 10, y0 - 9), clBlack);
    }
}

void TestPeso::gravityAndCentrifugalArrows()
{
    for (QSize size : {QSize(1880, 880), QSize(800, 600)}) {
        Tvariapeso *w = make(size.width(), size.height());
        w->centrifuga->click();
        for (int step : {4, 28}) {
            draw(w, step);
            const Forces f(size.width(), size.height(), step);
            const QPoint t = f.tail(), g = f.gravity(), c = f.centrifugal();
            QCOMPARE(pixelAt(w->screen, g.x(), g.y()), clLime);
            QVERIFY(colourNear(w->screen, mid(t, g).x(), mid(t, g).y(), clLime));
            QCOMPARE(pixelAt(w->screen, c.x(), c.y()), clAqua);
            QCOMPARE(QPoint(qRound(w->gravityHead.x), qRound(w->gravityHead.y)), g);
            // The centrifugal arrow is horizontal, pointing away from the axis.
            QVERIFY(qAbs(c.y() - t.y()) <= 1);
            QVERIFY(step == 4 ? c.x() > t.x() + 10 : c.x() < t.x() - 10);
            // The dotted distance from the axis to the point, on the arrow's row.
            const int row = c.y(), x0 = size.width() / 2, len = rnd(f.a);
            int dots = 0;
            for (int x = qMin(x0, x0 + len); x < qMax(x0, x0 + len); ++x)
                dots += pixelAt(w->screen, x, row) == clAqua;
            QVERIFY2(dots > qAbs(len) / 5 && dots < qAbs(len) * 2 / 3, qPrintable(QString::number(dots)));
        }
        // Gravity off: only the centrifugal arrow is left.
        w->gravi->click();
        draw(w, 4);
        QCOMPARE(count(w->screen, clLime), 0);
        QVERIFY(count(w->screen, clAqua) > 0);
    }
}

void TestPeso::zeroLengthArrows()
{
    for (QSize size : {QSize(1880, 880), QSize(1024, 768)}) {
        Tvariapeso *w = make(size.width(), size.height());
        w->centrifuga->click();
        w->comp->click();
        QVERIFY(w->showComponents);
        // At the poles the centrifugal force and both its parts vanish: nothing of them is drawn.
        for (int step : {12, 36}) {
            draw(w, step);
            QCOMPARE(count(w->screen, clAqua), 0);
            QCOMPARE(count(w->screen, clRed), 0);
            QCOMPARE(count(w->screen, clYellow), 0);
            const Forces f(size.width(), size.height(), step);
            QCOMPARE(pixelAt(w->screen, f.gravity().x(), f.gravity().y()), clLime);
        }
        // On the equator the tangential part vanishes and the radial one is the whole force.
        for (int step : {0, 24}) {
            draw(w, step);
            QCOMPARE(count(w->screen, clYellow), 0);
            const Forces f(size.width(), size.height(), step);
            QCOMPARE(f.radial(), f.centrifugal());
            QCOMPARE(pixelAt(w->screen, f.centrifugal().x(), f.centrifugal().y()), clAqua);
        }
        // Elsewhere both parts show.
        draw(w, 4);
        QVERIFY(count(w->screen, clYellow) > 0);
        const Forces f(size.width(), size.height(), 4);
        QCOMPARE(pixelAt(w->screen, f.radial().x(), f.radial().y()), clRed);
    }
}

void TestPeso::weightAndConstructionLines()
{
    Tvariapeso *w = make(1880, 880);
    w->centrifuga->click();
    w->risul->click();
    QVERIFY(w->showWeight);
    draw(w, 4);
    Forces f(1880, 880, 4);
    QCOMPARE(pixelAt(w->screen, f.weight().x(), f.weight().y()), clWhite);
    // Dotted lines join the weight's head to the heads of its two forces.
    const QPoint gw = mid(f.gravity(), f.weight()), cw = mid(f.centrifugal(), f.weight());
    QVERIFY(colourNear(w->screen, gw.x(), gw.y(), clWhite));
    QVERIFY(colourNear(w->screen, cw.x(), cw.y(), clWhite));
    // Without the weight there is no white, and no line.
    w->risul->click();
    draw(w, 4);
    QCOMPARE(count(w->screen, clWhite), 0);
    // On the equator the forces are on one line and no construction line is drawn: beyond
    // the weight's head the gravity arrow shows, under the dots of the distance to the axis.
    w->risul->click();
    draw(w, 0);
    f = Forces(1880, 880, 0);
    const QPoint g = f.gravity(), wt = f.weight();
    QCOMPARE(g.y(), wt.y());
    QCOMPARE(pixelAt(w->screen, wt.x(), wt.y()), clWhite);
    int lime = 0;
    for (int x = g.x() + 2; x < wt.x(); ++x) {
        const TColor c = pixelAt(w->screen, x, g.y());
        QVERIFY(c == clLime || c == clAqua);
        lime += c == clLime;
    }
    QVERIFY(lime > (wt.x() - g.x()) / 2);
}

void TestPeso::interlockedForceButtons()
{
    Tvariapeso *w = make(800, 600);
    QVERIFY(w->gravi->isChecked() && !w->centrifuga->isChecked());
    QVERIFY(!w->comp->isEnabled() && !w->risul->isEnabled());
    QVERIFY(w->showGravity && !w->showCentrifugal && !w->showComponents && !w->showWeight);
    // Gravity off: the centrifugal force comes on, its parts may be shown, the weight not.
    w->gravi->click();
    QVERIFY(!w->showGravity && w->showCentrifugal);
    QVERIFY(!w->gravi->isChecked() && w->centrifuga->isChecked());
    QVERIFY(w->comp->isEnabled() && !w->risul->isEnabled());
    // Centrifugal off: gravity comes back.
    w->centrifuga->click();
    QVERIFY(w->showGravity && !w->showCentrifugal);
    QVERIFY(w->gravi->isChecked() && !w->centrifuga->isChecked() && !w->comp->isEnabled());
    // Both on: the weight can be chosen.
    w->centrifuga->click();
    QVERIFY(w->comp->isEnabled() && w->risul->isEnabled());
    w->comp->click();
    w->risul->click();
    QVERIFY(w->showComponents && w->showWeight && w->risul->isChecked());
    // Gravity off again: the weight goes, the components stay.
    w->gravi->click();
    QVERIFY(!w->showWeight && !w->risul->isChecked() && !w->risul->isEnabled());
    QVERIFY(w->showComponents && w->comp->isEnabled());
    w->gravi->click();
    QVERIFY(w->showGravity && w->risul->isEnabled() && !w->showWeight);
    // Centrifugal off: its parts go with it.
    w->centrifuga->click();
    QVERIFY(!w->showComponents && !w->comp->isChecked() && !w->comp->isEnabled());
    QVERIFY(!w->risul->isEnabled() && w->showGravity);
}

void TestPeso::steppingWithContinAndEnter()
{
    Tvariapeso *w = make(800, 600);
    Tvariapeso::latitudeStep = 45;
    w->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), 46);
    // No request, no picture.
    w->canvas.SetPixel(0, 0, clRed);
    w->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), 46);
    QCOMPARE(pixelAt(w->screen, 0, 0), clRed);
    // Two presses before the tick cancel each other.
    w->contin->click();
    w->contin->click();
    w->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), 46);
    // One press: step 46 (345 degrees) is drawn and the point goes back to 0.
    w->contin->click();
    w->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), 0);
    const Forces f(800, 600, 46);
    QCOMPARE(pixelAt(w->screen, f.gravity().x(), f.gravity().y()), clLime);
    // The Enter key, pressed on the focused button, does what `contin` does.
    QTest::keyClick(w->contin, Qt::Key_Return);
    QVERIFY(w->redrawWanted);
    QTest::keyClick(w->contin, Qt::Key_Enter);
    QVERIFY(!w->redrawWanted);
    QTest::keyClick(w->contin, Qt::Key_Return);
    w->tempoTimer();
    QCOMPARE(int(Tvariapeso::latitudeStep), 1);
}

QTEST_MAIN(TestPeso)
#include "test_peso.moc"
