#pragma once
// Central forces: a satellite runs anticlockwise on an ellipse about an attracting body and,
// on request, shows the vectors acting on it as arrows drawn from the satellite: the pull
// towards the force centre (red), the velocity (lime), the tangential (fuchsia) and the
// centripetal (aqua) parts of the pull. The attracting body sits at a focus of the ellipse.
// The satellite's place is taken in closed form, sixteen places a revolution equal in time
// (equal steps of the mean anomaly, Kepler's equation solved for the place), one a tick; the
// pull and its components are worked out from that place and the speed from the orbit. The
// arrows are drawn in pixels a tick: the velocity arrow is the way the satellite would go in
// one tick at its speed, the pull arrow what the velocity arrow changes by in one tick, so
// the picture at any size is the same picture enlarged. `perman` keeps every position and
// arrow on the picture.
#include "numeric.h"
#include "simwindow.h"

class QLabel;
class QToolButton;

class Tfcen : public SimWindow
{
    Q_OBJECT
public:
    explicit Tfcen(QWidget *owner);
    ~Tfcen() override;

    void FormCreate() override;
    void tempoTimer() override;

    QToolButton *forza = nullptr;
    QToolButton *velo = nullptr;
    QToolButton *accet = nullptr;
    QToolButton *accec = nullptr;
    QToolButton *perman = nullptr;
    QLabel *Panel2 = nullptr, *Panel3 = nullptr, *Panel9 = nullptr, *Panel10 = nullptr;

    // Off-screen picture, copied onto the window at (0, ClientHeight div 8).
    QImage bitmap;

    // Place on the orbit (0..15) shown at the next step; the mean anomaly, counted from the
    // far end, is k * pi / 8.
    int k = 0;
    // Semi-axes, fixed at creation (pixels).
    Real a = 0, b = 0;
    // Distance of the focus (the attracting body, the force centre) left of the ellipse
    // centre: the square root of a^2 - b^2.
    Extended FocalDistance() const;
    // The ellipse's parameter (eccentric anomaly, from the far end) at place k: the root of
    // Kepler's equation E + e sin E = k * pi / 8.
    Extended Anomaly(int k) const;
    // State of the last step: offset from the ellipse centre (y up), squared distance from
    // the force centre, direction of the radius, direction of the tangent, sign, pull and
    // its centripetal and tangential parts, speed (lengths in pixels of arrow).
    Real x = 0, y = 0, r2 = 0, phi = 0, tau = 0;
    qint8 s = 0;
    Real F = 0, an = 0, at = 0, v = 0;

    enum Arrow { Force, Velocity, Tangential, Centripetal };
    // Angle and length of an arrow for the last step.
    Extended ArrowAngle(Arrow which) const;
    Extended ArrowLength(Arrow which) const;
    static TColor ArrowColour(Arrow which);

    // The width the scene is laid out for: the client width, or, in a window too wide for
    // its height, the widest layout whose orbit and arrows still fit the picture from top to
    // bottom.
    int LayoutWidth() const;
    // Picture frame, from the current client size: the ellipse centre, and where the
    // satellite of the last step is drawn, and the focus.
    QPointF EllipseCentre() const;
    QPointF SatellitePoint() const;
    QPoint BodyCentre() const;

protected:
    void FreeBitmaps() override;
    void LayoutSotto() override;

private:
    void DrawArrow(Extended length, Extended angle);
    void DrawSatellite();
    void PaintBody(TColor colour = clYellow);

    Canvas bc; // draws into `bitmap`
    QPoint bodyCentre;
};

extern Tfcen *fcen;
SimWindow *CreateFcen(QWidget *owner);
