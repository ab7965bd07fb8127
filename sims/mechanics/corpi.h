#pragma once
// A two-body system: two bodies of mass ratio m (1..9, `rappo`) circle their common centre
// of mass, the heavy white body close to it, the light aqua one on the wider circle, always
// opposite each other; the centre of mass is a red mark. The scene is seen from above (plan
// view) or almost edge-on (side view, the orbits nine times flatter); `vpianta` changes the
// view with 41 opening blinds, `orbite` dots the orbits, `nuovo` starts again with the ratio
// chosen. The motion is closed-form: the angle grows by pi/150 a tick. Each tick takes the
// bodies off each picture it keeps (the picture under them was saved) and draws them again.
#include "numeric.h"
#include "simwindow.h"
#include "viewswitch.h"

#include <array>

class QSpinBox;
class QTimer;
class QToolButton;

class Tduec : public SimWindow
{
    Q_OBJECT
public:
    explicit Tduec(QWidget *owner);
    ~Tduec() override;

    void FormCreate() override;
    void FormClose() override;
    void tempoTimer() override;
    void nuovoClick();
    void rappoClick();
    void orbiteClick();
    void Timer1Timer();
    void vpiantaClick();
    void Timer2Timer();

    QToolButton *vpianta = nullptr;
    QToolButton *orbite = nullptr;
    QToolButton *nuovo = nullptr;
    QSpinBox *rappo = nullptr;
    QTimer *Timer1 = nullptr; // one-shot: the orbits shown or hidden
    QTimer *Timer2 = nullptr; // one-shot: the view change starts (held by `view`)

    // The blinds between the plan view (first) and the side view (second).
    ViewSwitch *view = nullptr;
    enum Mode { Plan = ViewSwitch::ShowingFirst, Transition = ViewSwitch::Switching,
                Side = ViewSwitch::ShowingSecond };
    int &displayMode;
    bool &toSide;    // direction of the change under way
    int &blindWidth; // width of each blind, one pixel more a tick

    QImage plan, side, blend;
    // The picture under each body: [view][body], view 0 plan, 1 side.
    SavedRect under[2][2];

    quint8 S = 0;     // radius of the heavy body, half the save-under area
    quint8 m = 1;     // mass ratio
    quint8 small = 0; // radius of the light body
    Real d = 0;       // centre of mass to the right of the middle of the scene
    Real r[2] = {0, 0}; // orbit radii: light body 0, heavy body 1
    Real x[2] = {0, 0}, y[2] = {0, 0};
    int n = 0; // the angle is n * pi / 150
    int drawnAt = 0; // the n the bodies were last drawn at
    bool orbitsShown = false;
    bool restartAngle = true; // the next restart puts n back to m

    // The width the scene is laid out on: the client width, or on a client too wide for its
    // height the widest scene whose light body stays between the two bars at any ratio.
    // Fixed at creation, with the pictures.
    int LayoutWidth() const { return sceneWidth; }
    int SceneOrigin() const { return sceneLeft; }
    // The centre of mass.
    QPointF Q() const;
    // The centre of body i at angle phi in a view.
    QPointF BodyAt(int i, Extended phi, bool sideView) const;
    static TColor OrbitColour(int i) { return i == 0 ? clTeal : clSilver; }
    // Blind pitch: a fortieth of the client width.
    int BlindPitch() const { return Div(plan.width(), 40); }

protected:
    void Prepare() override;
    void FreeBitmaps() override;

private:
    int FitLayoutWidth() const;
    int sceneWidth = 0, sceneLeft = 0;
    QRect BodyRect(int i) const;
    void DrawOrbits(QImage &picture, bool sideView);
    void MoveBodies(int v, bool sideView, int k);
    void DrawBodies(QImage &picture, bool sideView, Extended phi);
};

extern Tduec *duec;
SimWindow *CreateDuec(QWidget *owner);
