#pragma once
// Lunar motions: the Earth travels round the Sun on an elliptical orbit while the Moon
// circles the Earth, leaving its path round the Sun as a trail of green points. Two views of
// the same motion are kept up to date at every tick, one from above and an oblique one (the
// orbit flattened four times, the Moon's orbit tilted by 10 degrees); `vistauno` switches
// which one is shown and `traiet` shows the trail and the Moon's orbit round the Earth.
#include "numeric.h"
#include "simwindow.h"

#include <array>

class QTimer;
class QToolButton;

class Tmotlun : public SimWindow
{
    Q_OBJECT
public:
    explicit Tmotlun(QWidget *owner);
    ~Tmotlun() override;

    // The four backgrounds: top view frame and trail layer, oblique view frame and trail layer.
    enum Layer { TopFrame = 0, TopTrail = 1, ObliqueFrame = 2, ObliqueTrail = 3 };

    void FormCreate() override;
    void FormActivate() override;
    void tempoTimer() override;

    void traietClick();
    void vistaunoClick();
    void Timer1Timer();

    QToolButton *vistauno = nullptr;
    QToolButton *traiet = nullptr;
    QTimer *Timer1 = nullptr;

    int tick = 0;
    int shownView = 0; // 0 from above, 1 oblique
    bool showOrbit = false;
    bool orbitChanged = false;
    Real squash = 4.0f;
    int systemRadius = 0; // half-side of the square kept under the Earth and the Moon
    int earthRadius = 0;

    std::array<QImage, 4> layers;
    std::array<SavedRect, 4> patches;
    QPoint earth, moon;                 // top view
    QPoint obliqueEarth, obliqueMoon;   // oblique view

    // The widest scene width whose Moon stays slower than the Earth, for a picture H high.
    static int LoopFreeWidth(int H);
    // Where the picture stands on the window.
    int PictureLeft() const { return Div(ClientWidth() - ClientHeight(), 2); }
    // The Earth at time t (oblique: the vertical semi-axis divided by squash).
    QPoint EarthAt(int t, bool oblique) const;
    // The Moon at angle theta round the Earth at e.
    QPoint MoonAt(QPoint e, Extended theta) const;
    QPoint ObliqueMoonAt(QPoint e, Extended theta) const;

protected:
    void Prepare() override;
    void FreeBitmaps() override;

private:
    void DrawBackground(Canvas &c, bool oblique);
    void DrawSun(Canvas &c);
    QRect SystemSquare(QPoint e) const;
    void Disc(Canvas &c, QPoint at, int half, TColor colour);
    void StepView(int frame, QPoint e, QPoint m, bool clearFrame);

    std::array<Canvas, 4> lc; // draws into layers
};

extern Tmotlun *motlun;
SimWindow *CreateMotlun(QWidget *owner);
