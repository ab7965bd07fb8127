#pragma once
// Ferrel's law: a turntable, a disc of radius H/4 turning at a steady rate, from which three
// bodies move in straight lines, outward from the centre or inward from the rim. Their
// successive positions stay as rows of dots: white dots where the bodies passed in the fixed
// frame (straight rays), red dots where they passed over the disc, carried round by it (the
// curves seen from the rotating frame). The options - sense of rotation, outward or inward,
// frame, flat or oblique view - are read when a run starts; a run lasts 91 ticks.
#include "numeric.h"
#include "simwindow.h"

class QToolButton;

class TFerre : public SimWindow
{
    Q_OBJECT
public:
    explicit TFerre(QWidget *owner);
    ~TFerre() override;

    void FormCreate() override;
    void FormShow() override;
    void tempoTimer() override;
    void FormPaint();
    void disegnaClick();

    QToolButton *antiorario = nullptr, *orario = nullptr;
    QToolButton *esterno = nullptr, *interno = nullptr;
    QToolButton *prospno = nullptr;
    QToolButton *fis = nullptr, *mobil = nullptr;
    QToolButton *disegna = nullptr;

    // Options, set by the buttons, read at the next start.
    bool anticlockwise = true;
    bool outward = true;
    bool flatView = true;
    bool rotatingView = false;

    // The parameters of the run in progress (or of the last one).
    qint8 sense = 1;     // +1 anticlockwise, -1 clockwise
    qint8 tilt = 0;      // 0 seen from above, 1 oblique
    Real launchAngle = 0.2f;
    qint8 direction = 1; // +1 outward, -1 inward
    bool showRotating = false;

    // The run's time goes 0, 0.1, ... 9: it is counted in ticks so that every tenth tick
    // falls on a whole unit exactly.
    int runTicks = 0;
    Extended RunClock() const { return runTicks / 10.0L; }
    bool running = false;
    // The timer's state at the last deactivation, given back at activation.
    bool WasRunning() const { return Remembered(tempo); }

    // Spacing of the dots, fixed at creation.
    Real unitLength = 0;

    // When dot b (1..9) shows, by row (0 outward, 1 inward): once the run's time reaches
    // Appearance[row][b - 1] + direction.
    static const quint8 Appearance[2][10];
    bool DotShown(int b) const;

    // Positions relative to the disc centre, in picture pixels.
    struct Point {
        Real x = 0, y = 0;
    };
    Point fixedTrail[3][9];    // the rays of the fixed frame
    Point rotatingTrail[3][9]; // the same places carried round by the disc
    Point body[3];             // the bodies now

    QImage picture, dotRed, dotWhite;

    // Where `picture` is shown on the window.
    QPoint PictureOrigin() const;

protected:
    void FreeBitmaps() override;
    void resizeEvent(QResizeEvent *e) override;

private:
    // The places the bodies passed, carried round by the disc up to time t.
    void CarryTrail(Extended t);
    Canvas pc; // draws into `picture`
};

extern TFerre *Ferre;
SimWindow *CreateFerre(QWidget *owner);
