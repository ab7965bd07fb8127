#pragma once
// Kepler's first law: a planet runs on a closed ellipse round an attracting centre, its
// motion integrated step by step from Newton's law of gravitation. The orbit is seen from
// above (view A, the true ellipse) or obliquely (view B, the same orbit flattened three
// times vertically); `prono` switches between the views with widening vertical stripes.
// At the first activation each view is traced once, one white dot per step for a whole lap;
// each tick then moves the planet over the traced orbit by saving and restoring the
// background under it.
#include "numeric.h"
#include "simwindow.h"
#include "viewswitch.h"

class QTimer;
class QToolButton;

class Tkuno : public SimWindow
{
    Q_OBJECT
public:
    explicit Tkuno(QWidget *owner);
    ~Tkuno() override;

    void FormCreate() override;
    void FormClose() override;
    void tempoTimer() override;
    void pronoClick();
    void Timer1Timer();

    QToolButton *prono = nullptr;
    // The striped change between the views, started by its one-shot timer `Timer1`.
    ViewSwitch *view = nullptr;
    QTimer *Timer1 = nullptr;

    // Position (pixels from the attracting centre, y down) and velocity (pixels a step).
    struct Planet {
        Real x, y, vx, vy;
    };
    static constexpr Planet Start{-64.0f, 0.0f, 0.0f, 10.0f};
    // One step of the motion: the pull changes the velocity, the new velocity the position.
    static void Step(Planet &p);
    Planet planet = Start;

    // Sizes fixed at creation: the unit of the Sun and the planet, an eighth of the height,
    // and the width the views are laid out for.
    quint8 u = 0;
    int h8 = 0;
    int layoutWidth = 0;

    // View A (from above), view B (oblique) and the picture of a view change.
    QImage viewA, viewB, composite;
    // The background under the planet in each view, and where the planet stands.
    SavedRect underA, underB;

    // The view change: mode (A, changing, B), direction (towards B) and stripe width.
    enum ViewMode { ShowingA = ViewSwitch::ShowingFirst, Switching = ViewSwitch::Switching,
                    ShowingB = ViewSwitch::ShowingSecond };
    int &viewMode;
    bool &toViewB;
    int &k;
    int lapSteps = 0;     // steps of the lap traced when the views were built

    // The attracting centre and where the planet stands in a view (false: A, true: B).
    QPointF Centre() const;
    QPointF PlanetPoint(bool oblique) const;
    QPointF SunCentre() const;
    // Where the views are shown on the window.
    QPoint ViewOrigin() const;
    // Width of a stripe of the view change.
    int StripeWidth() const { return Div(layoutWidth, 40); }

protected:
    void Prepare() override;
    void FreeBitmaps() override;

private:
    void BuildView(QImage &view, SavedRect &under, bool oblique);
    QRect PlanetRect(bool oblique) const;
    void MovePlanet(QImage &view, SavedRect &under, bool oblique);
};

extern Tkuno *kuno;
SimWindow *CreateKuno(QWidget *owner);
