#pragma once
// Magnetic bottle: a charged particle trapped in a magnetic field whose lines crowd together
// at both ends. The particle spirals round the axis, its turns widest in the weak field of the
// middle and narrowest near the ends, and bounces between two mirror points. The motion is
// worked out in closed form from a step counter: the centre of the turns swings along the
// axis once every 1200 ticks while the particle goes round ten times.
// The field lines are drawn once into the picture; each tick only the small piece under the
// particle is put back and taken again.
#include "numeric.h"
#include "simwindow.h"

class QSlider;
class QSpinBox;
class QToolButton;

class Tbotmagne : public SimWindow
{
    Q_OBJECT
public:
    explicit Tbotmagne(QWidget *owner);
    ~Tbotmagne() override;

    static constexpr int TickCount = 1200;   // ticks of one swing along the axis
    static constexpr int TurnTicks = 120;    // ticks of one turn round the axis

    void FormCreate() override;
    void FormActivate() override;
    // The animation timer is `cadenza` here, moved by the track bar `velo`.
    void tempoTimer() override;
    void cadenzaTimer() { tempoTimer(); }
    void veloChange() { cadenzaChange(); }
    void pvelociChanged();
    void aggiornaClick();

    QSlider *velo = nullptr;
    QToolButton *traccia = nullptr;
    QSpinBox *pintensi = nullptr;
    QSpinBox *pveloci = nullptr;
    QToolButton *aggiorna = nullptr;

    // The picture of the bottle (field lines, trace and particle), shown a quarter of the
    // client height down.
    QImage picture;
    SavedRect saveUnder;

    quint8 B = 1, V = 1;
    int t = 0;
    Real z = 0, r = 0;
    int X = 0, Y = 0;
    quint8 restart = 1;

    // The sizes the window was created with: the picture and the motion are laid out on them.
    int SceneW() const { return W; }
    int SceneH() const { return H; }
    // Gyration radius at axial position z.
    Real RadiusAt(Extended zz) const;
    // The particle's place in the picture for step tt, axial position zz and radius rr.
    QPoint PlaceOf(int tt, Extended zz, Extended rr) const;
    QRect ParticleRect() const { return Rect(X - 3, Y - 3, X + 3, Y + 3); }
    int PictureTop() const { return Div(ClientHeight(), 4); }

protected:
    void FreeBitmaps() override;

private:
    void SetUp();

    Canvas pc;
    int W = 0, H = 0;
};

extern Tbotmagne *botmagne;
SimWindow *CreateBotmagne(QWidget *owner);
