#pragma once
// Free fall: a body dropped from a tower lands east of the tower's foot. The tower stands on
// a short arc of the Earth's surface whose centre lies far below the window; while the ball
// falls with a quadratic law the Earth turns clockwise by 3k degrees, k being the tower's
// height. The ball keeps the horizontal position of the tower's top, which moves farther than
// the foot, so it lands ahead of the foot, where a white plumb mark is left. With `traiet`
// the positions of the falling ball and of the ball resting on the top are stamped as a trail.
// A fall goes on while the window is inactive.
#include "numeric.h"
#include "simwindow.h"

class QSpinBox;
class QToolButton;

class Tcaduta : public SimWindow
{
    Q_OBJECT
public:
    explicit Tcaduta(QWidget *owner);
    ~Tcaduta() override;

    void FormCreate() override;
    void tempoTimer() override;

    // The start scene: the background, the plumb mark under the foot and the tower at the
    // top of the fall; the fall is reset, the timer's state is left alone.
    void FormPaint();

    void traietClick() { wantTrail = !wantTrail; }
    void viaClick();
    void disegnaClick();
    void altezChanged();

    QToolButton *traiet = nullptr;
    QToolButton *via = nullptr;
    QToolButton *disegna = nullptr;
    QSpinBox *altez = nullptr;

    QImage frame;      // composed every tick and shown whole
    QImage trailLayer; // the background with the trail

    quint8 towerHeight = 1; // k, 1..3
    bool wantTrail = false;
    bool trailOn = false;
    Real earthAngle = 0; // degrees, counter-clockwise from the right
    int tickCount = 0;   // ticks since the start scene

    // The point at angle `degrees` and radius r from the Earth's centre (W div 2, 6H).
    QPoint At(Extended r, Extended degrees) const;

protected:
    void FreeBitmaps() override;
    // Shown again (opened, restored) or resized: the scene starts over.
    void showEvent(QShowEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    Canvas fc; // draws on `frame`
    Canvas tc; // draws on `trailLayer`, yellow pen and brush
};

extern Tcaduta *caduta;
SimWindow *CreateCaduta(QWidget *owner);
