#pragma once
// Foucault pendulum: a pendulum hangs from a portal frame standing on a hexagonal platform,
// seen obliquely from above. In the fixed frame (`fisso`) the platform turns under a
// pendulum whose plane of swing stays put, and a white observer stands still beside it; in
// the rotating frame (`mobile`) the platform stands still with a yellow observer on its rim
// while the plane of swing turns the other way. The pendulum stands at the pole: there is no
// latitude and no time scale, every rate is per tick.
#include "simwindow.h"

class QTimer;
class QToolButton;

class Tpendol : public SimWindow
{
    Q_OBJECT
public:
    explicit Tpendol(QWidget *owner);
    ~Tpendol() override;

    void FormCreate() override;
    void FormClose() override;
    void tempoTimer() override;

    // The two view buttons: a click starts a one-shot check 1 ms later, so that at least one
    // view always stays selected.
    void fissoClick();
    void mobileClick();
    void Timer1Timer();
    void Timer2Timer();

    QToolButton *fisso = nullptr;
    QToolButton *mobile = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;

    // Everything is drawn here, then copied onto the window at (0, fifthHeight - 10).
    QImage buffer;

    // Fixed at creation from the client size of that moment.
    int fifthHeight = 0;
    int twentiethWidth = 0, twentiethHeight = 0;
    QRect clearRect;

    // Counters of the animation; the angles are taken from them directly.
    int platformStep = 0;  // platform turns pi/179 a tick in the fixed view
    quint8 swingPhase = 0; // 0..31, one swing in 32 ticks
    int planeStep = 0;     // plane of swing turns pi/300 a tick in the rotating view

protected:
    void FreeBitmaps() override;

private:
    // One animation step drawn into `buffer` for the client size W x H.
    void DrawStep(int W, int H);

    Canvas bc; // draws into `buffer`
};

extern Tpendol *pendol;
SimWindow *CreatePendol(QWidget *owner);
