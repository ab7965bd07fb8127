#include "fasilunari.h"

#include "globals.h"
#include "language/texts.h"
#include "numeric.h"

#include <QLabel>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tfaslun *faslun = nullptr;

SimWindow *CreateFaslun(QWidget *owner)
{
    faslun = new Tfaslun(owner);
    return faslun;
}

static const SimRegistration registration("F2", CreateFaslun);

// Caption rows of the five phase labels: novilunio, primo quarto, plenilunio, ultimo quarto,
// novilunio.
static const int LabelRow[Tfaslun::PhaseCount] = {86, 87, 88, 89, 86};

Tfaslun::Tfaslun(QWidget *owner)
    : SimWindow(owner, 7, 16, QStringLiteral("Vastara/luna.htm#fasi"))
{
    setObjectName(QStringLiteral("faslun"));
    Color = clBlack;

    QToolBar *bar1 = AddToolBar();
    paus = AddPausa(bar1, 22);
    paus->setObjectName(QStringLiteral("paus"));
    QToolBar *bar2 = AddToolBar();
    AddCadenza(bar2, 90);
    QToolBar *bar3 = AddToolBar();
    traiet = AddSpeedButton(bar3, QStringLiteral("orbits"), 7);
    traiet->setObjectName(QStringLiteral("traiet"));
    fasit = AddToolButton(bar3, 3, 33);
    fasit->setObjectName(QStringLiteral("fasit"));
    partenza = AddToolButton(bar3, 2, 3);
    partenza->setObjectName(QStringLiteral("partenza"));
    fine = AddToolButton(bar3, 29, 4);
    fine->setObjectName(QStringLiteral("fine"));
    AddGuida(bar3);
    connect(traiet, &QToolButton::clicked, this, [this] { traietClick(); });
    connect(fasit, &QToolButton::clicked, this, [this] { fasitClick(); });
    connect(partenza, &QToolButton::clicked, this, [this] { partenzaClick(); });
    connect(fine, &QToolButton::clicked, this, [this] { fineClick(); });
    // No run yet: nothing to stop and no snapshots to paste.
    fasit->setEnabled(false);
    fine->setEnabled(false);

    QFont f;
    f.setFamilies({QStringLiteral("helvetica"), QStringLiteral("DejaVu Sans")});
    f.setPixelSize(12);
    for (int i = 0; i < PhaseCount; ++i) {
        auto *l = new QLabel(this);
        l->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        l->setFont(f);
        l->setAutoFillBackground(true);
        QPalette pal = l->palette();
        pal.setColor(QPalette::Window, toQColor(clBlack));
        pal.setColor(QPalette::WindowText, toQColor(clWhite));
        l->setPalette(pal);
        l->hide();
        labels[i] = l;
    }
}

Tfaslun::~Tfaslun()
{
    pc.setTarget(nullptr);
    if (faslun == this)
        faslun = nullptr;
}

int Tfaslun::PictureTop() const
{
    return Div(ClientHeight(), 4);
}

int Tfaslun::SnapshotHalf() const
{
    return Div(ClientWidth(), 10);
}

void Tfaslun::FormCreate()
{
    SimWindow::FormCreate();
    const int W = ClientWidth(), H = ClientHeight();
    tempo->setInterval(90);
    tempo->stop();
    canvas.pen.Color = clWhite;

    earthRadius = Div(W, 40);
    const int R = earthRadius;
    pc.setTarget(nullptr);
    picture = NewBitmap(W, Div(3 * H, 4), clBlack);
    pc.setTarget(&picture);
    pc.brush.Color = clBlack;

    // The Earth: an aqua disc, its lower (night) half a black pie with a gray rim, and a
    // gray line across the middle.
    earthIcon = NewBitmap(2 * R, 2 * R, clBlack);
    {
        Canvas c(&earthIcon);
        c.pen.Color = clAqua;
        c.brush.Color = clAqua;
        c.Ellipse(0, 0, 2 * R, 2 * R);
        c.pen.Color = clGray;
        c.brush.Color = clBlack;
        c.Pie(0, 0, 2 * R, 2 * R, 0, R, 2 * R, R);
        c.Line(0, R, 2 * R, R);
    }
    // The Moon: a silver disc with its lower half dark.
    moonIcon = NewBitmap(R, R, clBlack);
    {
        Canvas c(&moonIcon);
        c.pen.Color = clSilver;
        c.brush.Color = clSilver;
        c.Ellipse(0, 0, R, R);
        c.pen.Color = clGray;
        c.brush.Color = clBlack;
        c.Pie(0, 0, R, R, 0, Div(R, 2), R, Div(R, 2));
    }
    earthPatch.Resize(2 * R + 8, 2 * R + 8);
    moonPatch.Resize(R + 8, R + 8);
    for (SavedRect &shot : phaseShots)
        shot.Resize(Div(W, 5), Div(W, 5));

    runTime = 130;
    phasesReady = false;
    showOrbits = false;
    runStopped = false;
    phaseX.fill(0);
    phaseY.fill(0);

    // Captions, centred on where the Earth stands at each phase.
    Canvas measure;
    measure.font = labels[0]->font();
    const int tops[PhaseCount] = {Div(H, 3), Div(H, 2), Div(7 * H, 12), Div(H, 2), Div(H, 3)};
    for (int i = 0; i < PhaseCount; ++i) {
        QLabel *l = labels[i];
        l->setText(controlText(LabelRow[i]));
        const int w = measure.TextWidth(l->text()) + 4;
        const int centre = EarthCentre(542 + PhaseMoment[i]).x();
        l->setGeometry(centre - Div(w, 2), tops[i], w, measure.TextHeight(l->text()));
        l->setAlignment(Qt::AlignCenter);
        l->hide();
    }
}

QPoint Tfaslun::EarthCentre(Extended u) const
{
    const int W = ClientWidth(), H = ClientHeight();
    const Extended orbit = Pi * u / 400;
    return QPoint(Div(W, 2) + Round(2.0L * H * std::cos(orbit)), Div(-3 * H, 2) - Round(2.0L * H * std::sin(orbit)));
}

void Tfaslun::EarthAt(Extended u)
{
    const QPoint centre = EarthCentre(u);
    earthX = centre.x();
    earthY = centre.y();
    const Extended r = earthRadius - 1.5L;
    auto at = [this, r](Extended a) {
        return QPoint(earthX + Round(r * std::cos(a)), earthY - Round(r * std::sin(a)));
    };
    const Extended spin = 28 * Pi * u / 40;
    for (int k = 0; k < 4; ++k)
        earthSpoke[k] = at(spin + k * Pi / 2);
    earthLimb[0] = at(Pi * u / 40 + Pi);
    earthLimb[1] = at(Pi * u / 40);
}

void Tfaslun::MoonAt(Extended u)
{
    const int W = ClientWidth();
    const Extended m = Pi * u / 40 + Pi / 2;
    const Extended orbit = W / 14.0L;
    moonX = earthX + Round(orbit * std::cos(m));
    moonY = earthY - Round(orbit * std::sin(m));
    const Extended r = W / 85.0L;
    auto at = [this, r](Extended a) {
        return QPoint(moonX + Round(r * std::cos(a)), moonY - Round(r * std::sin(a)));
    };
    moonSpoke[0] = at(m + Pi); // towards the Earth
    moonSpoke[1] = at(m);      // away from it
    moonSpoke[2] = at(Pi * u / 40 + Pi);
    moonSpoke[3] = at(Pi * u / 40);
    moonLimb[0] = moonSpoke[2];
    moonLimb[1] = moonSpoke[3];
}

QRect Tfaslun::EarthSquare() const
{
    const int h = earthRadius + 4;
    return Rect(earthX - h, earthY - h, earthX + h, earthY + h);
}

QRect Tfaslun::MoonSquare() const
{
    const int h = Div(earthRadius, 2) + 4;
    return Rect(moonX - h, moonY - h, moonX + h, moonY + h);
}

void Tfaslun::partenzaClick()
{
    runTime = 0;
    phasesReady = true;
    runStopped = false;
    fasit->setEnabled(false);
    for (QLabel *l : labels)
        l->hide();
    EarthAt(542);
    MoonAt(542);
    pc.brush.Color = clBlack;
    pc.FillRect(0, 0, picture.width(), picture.height());
    pc.flush();
    earthPatch.Save(picture, EarthSquare());
    moonPatch.Save(picture, MoonSquare());
    traiet->setEnabled(false);
    tempo->start();
    partenza->setEnabled(false);
    fine->setEnabled(true);
}

void Tfaslun::fineClick()
{
    fine->setEnabled(false);
    partenza->setEnabled(true);
    tempo->stop();
    traiet->setEnabled(true);
    for (QLabel *l : labels)
        l->hide();
    runStopped = true;
}

void Tfaslun::traietClick()
{
    showOrbits = !showOrbits;
}

void Tfaslun::fasitClick()
{
    fasit->setEnabled(false);
    for (int i = 0; i < PhaseCount; ++i)
        phaseShots[i].Restore(pc);
    tempo->start();
}

void Tfaslun::StartTimers()
{
    // A run ended by `fine` waits for `partenza`.
    if (!(runStopped && runTime <= 120))
        SimWindow::StartTimers();
}

void Tfaslun::tempoTimer()
{
    if (picture.isNull())
        return;
    if (!paus->isChecked()) {
        if (runTime > 120) {
            fasit->setEnabled(phasesReady);
            traiet->setEnabled(true);
            tempo->stop();
        } else {
            const Extended u = 542 + Extended(runTime);
            const int R = earthRadius;

            // The Earth: put back what was under it, move on, keep what is under it now.
            pc.flush();
            earthPatch.Restore(pc);
            pc.MoveTo(earthX, earthY);
            EarthAt(u);
            if (showOrbits) {
                pc.pen.Color = clWhite;
                pc.LineTo(earthX, earthY);
            }
            pc.flush();
            earthPatch.Save(picture, EarthSquare());
            pc.Draw(earthX - R, earthY - R, earthIcon);
            for (const QPoint &end : earthSpoke) {
                pc.pen.Color = end.y() <= earthY ? clNavy : clWhite;
                pc.Line(earthX, earthY, end.x(), end.y());
            }

            // The Moon, the same way.
            pc.flush();
            moonPatch.Restore(pc);
            pc.MoveTo(moonX, moonY);
            MoonAt(u);

            for (int i = 0; i < PhaseCount; ++i)
                if (std::fabs(Extended(runTime) - PhaseMoment[i]) < 0.1L)
                    labels[i]->show();

            if (showOrbits) {
                pc.pen.Color = clRed;
                pc.LineTo(moonX, moonY);
            }
            pc.flush();
            moonPatch.Save(picture, MoonSquare());
            pc.Draw(moonX - Div(R, 2), moonY - Div(R, 2), moonIcon);
            for (int k = 0; k < 4; ++k) {
                const QPoint &end = moonSpoke[k];
                const bool lit = end.y() <= moonY;
                if (k < 2)
                    pc.pen.Color = lit ? clMaroon : clYellow;
                else
                    pc.pen.Color = lit ? clBlack : clWhite;
                pc.Line(moonX, moonY, end.x(), end.y());
            }

            // Snapshots of the Earth with the Moon at the five phase moments.
            const int q = SnapshotHalf();
            for (int i = 1; i <= PhaseCount; ++i) {
                if (std::fabs(Extended(runTime) + 2 - 20 * i) < 0.1L) {
                    phaseX[i - 1] = earthX;
                    phaseY[i - 1] = earthY;
                    pc.flush();
                    phaseShots[i - 1].Save(picture, Rect(earthX - q, earthY - q, earthX + q, earthY + q));
                }
            }
            runTime = Real(runTime + 0.25f);
        }
    }

    pc.flush();
    const int top = PictureTop();
    canvas.Draw(0, top, picture);
    if (paus->isChecked() && runTime <= 120) {
        // The strip in which the Earth and the Moon see each other.
        canvas.pen.Color = clWhite;
        for (int k = 0; k < 2; ++k)
            canvas.Line(earthLimb[k].x(), earthLimb[k].y() + top, moonLimb[k].x(), moonLimb[k].y() + top);
    }
}

void Tfaslun::FreeBitmaps()
{
    pc.setTarget(nullptr);
    picture = QImage();
    earthIcon = QImage();
    moonIcon = QImage();
    earthPatch.Clear();
    moonPatch.Clear();
    for (SavedRect &shot : phaseShots)
        shot.Clear();
}
