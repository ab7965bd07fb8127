#pragma once
// Kepler's second law: a planet runs on an ellipse integrated step by step round the Sun,
// and every step draws a thick yellow line from the Sun to it, so that it paints a yellow
// sector. An invisible follower runs the same motion 41 steps behind and paints the same
// lines black, so what stays yellow is the area swept in the last 40 steps: short and wide
// near the Sun, long and narrow far from it, always the same size.
#include "numeric.h"
#include "simwindow.h"

class Tkdue : public SimWindow
{
    Q_OBJECT
public:
    explicit Tkdue(QWidget *owner);
    ~Tkdue() override;

    void FormCreate() override;
    void tempoTimer() override;

    // Position (pixels from the Sun, y up) and velocity. vy is kept with the opposite sign
    // of the motion along y, so the body starts moving down the screen.
    struct Body {
        Real x, y, vx, vy;
    };
    static constexpr Body Start{-74.0f, 0.0f, 0.0f, 12.0f};
    // One step of the motion: the pull changes the velocity, the new velocity the position.
    static void Step(Body &b);
    // Steps the follower runs behind the planet.
    static constexpr int Lag = 41;

    Body planet = Start;
    Body follower = Start;
    int n = 0; // ticks that moved the planet

    // The picture of the fan, laid out at creation: the Sun, where it is put on the window.
    QImage picture;
    QPoint sun;
    int pictureTop = 0;
    // The box of the orbit's outline in the picture.
    QRect orbitBox;

    // Where a body is drawn in the picture.
    QPoint At(const Body &b) const;

protected:
    void FreeBitmaps() override;

private:
    void DrawOrbit(Canvas &c) const;
};

extern Tkdue *kdue;
SimWindow *CreateKdue(QWidget *owner);
