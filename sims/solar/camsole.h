#pragma once
// Apparent path of the Sun: the local sky of an observer at a chosen northern latitude,
// drawn as a sphere seen from the side (south on the left, north on the right) with the
// horizon plane in perspective, the zenith, the north-south and east-west lines and the
// celestial pole. The Sun runs along its diurnal circle, 80 steps a day, over seven days
// from the winter solstice (declination -24 degrees) to the summer solstice (+24 degrees)
// on `tempo`, then back over five autumn days (+16 down to -16 degrees) on `tempo1`.
// Solstice and equinox days are named in the bottom panel, their noon Sun is joined to the
// observer by a white line, and with `traiet` down their paths stay as rows of rings.
// The meridian plane is the picture plane: a point (X, Y) of it in the equatorial frame (Y
// along the Earth's axis) reaches the screen by a rotation through the co-latitude a. What
// lies west of the meridian is drawn as depth, the way the horizon is: towards the far end
// of the east-west line, turned 6 degrees, shortened as the horizon's depth.
#include "numeric.h"
#include "simwindow.h"

class QFrame;
class QLabel;
class QSpinBox;
class QToolButton;

class Tcammin : public SimWindow
{
    Q_OBJECT
public:
    explicit Tcammin(QWidget *owner);
    ~Tcammin() override;

    void FormCreate() override;
    void cadenzaChange() override;
    // The spring half (`tempo`) and the autumn half (`tempo1`).
    void tempoTimer() override;
    void tempo1Timer();
    void Timer1Timer();
    void partenzaClick();
    void fineClick();
    void traietClick();
    void gradiChanged();
    void primiChanged();

    // The latitude text of the bottom panel: degrees and minutes, each right-aligned in two
    // characters, and the name of the parallel.
    static QString LatitudeText(int degrees, int minutes);

    // Controls.
    QToolButton *traiet = nullptr;
    QToolButton *partenza = nullptr;
    QToolButton *fine = nullptr;
    QSpinBox *gradi = nullptr;
    QSpinBox *primi = nullptr;
    QLabel *Panel2 = nullptr;  // the latitude
    QLabel *Panel3 = nullptr;  // the name of the day
    QLabel *a1 = nullptr;      // measures texts only
    QFrame *Bevel1 = nullptr;
    QFrame *Bevel2 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
    QTimer *tempo1 = nullptr;
    QTimer *Timer1 = nullptr;

    // Latitude chosen, and the degrees of the latitude drawn.
    quint8 latDegrees = 30, latMinutes = 0, shownDegrees = 30;
    // Co-latitude chosen and co-latitude drawn (radians).
    Real targetColat = Real(Pi / 3), colat = Real(Pi / 3);
    // Day (0..6) and step of the half-year.
    quint8 v = 0;
    int h = 0;
    // The day's circle and the Sun's place on it: X in the meridian plane, Y along the axis,
    // W west of the meridian (a fraction of the circle's radius).
    Real rc = 0, rs = 0, rv = 0, X = 0, Y = 0, W = 0;
    int sx = 0, sy = 0;
    bool traces = false;
    // The Sun shown belongs to a traced day: when it moves on, it leaves a ring.
    bool ringOnMove = false;

    // Geometry, fixed at creation: the client, the width and left edge of the scene, the
    // radius of the sphere and the half-depth of the horizon in perspective.
    int CW = 0, CH = 0, SW = 0, SL = 0;
    Real R = 0, Rd = 0;
    // The observer, in picture coordinates, and where the picture stands on the window.
    QPoint Centre() const { return QPoint(SL + Div(SW, 2), Div(3 * CH, 8)); }
    QPoint PictureOrigin() const { return QPoint(0, Div(CH, 8)); }
    // The widest scene whose sphere and Sun's paths stay inside a picture of this height.
    static int FitWidth(int pictureHeight);

    // The sky picture and the background under the Sun.
    QImage sky;
    SavedRect under;

protected:
    void Prepare() override;
    void FreeBitmaps() override;
    void LayoutSotto() override;

private:
    void DrawSky();
    void SunPosition();
    void DrawSun();
    void ShowPicture();

    Canvas skyCanvas;
};

extern Tcammin *cammin;
SimWindow *CreateCammin(QWidget *owner);
