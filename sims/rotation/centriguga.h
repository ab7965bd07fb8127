#pragma once
// Centrifugal force: one body on a string, or two bodies on a rod through the centre, whirl
// round the middle of the window, twelve positions a turn. Cutting the string (`sgancia`)
// lets each body fly off along the tangent at its last position, in a straight line, until
// the first body leaves the window. With `traiet` down every drawn position stays on the
// picture as a trail.
#include "simwindow.h"

class QSpinBox;
class QToolButton;

class TCenfuga : public SimWindow
{
    Q_OBJECT
public:
    explicit TCenfuga(QWidget *owner);
    ~TCenfuga() override;

    void FormCreate() override;
    void tempoTimer() override;

    void disegnaClick();
    void sganciaClick();
    void antiorarioClick() { anticlockwise = true; }
    void orarioClick() { anticlockwise = false; }
    void traietClick() { keepTrail = !keepTrail; }
    void ncorpiChanged();

    QToolButton *antiorario = nullptr;
    QToolButton *orario = nullptr;
    QToolButton *traiet = nullptr;
    QToolButton *disegna = nullptr;
    QToolButton *sgancia = nullptr;
    QSpinBox *ncorpi = nullptr;

    // The scene, of the client size at creation; each tick shows it whole.
    QImage picture;

    bool anticlockwise = true;
    bool keepTrail = false;
    int bodyCountChoice = 1;
    quint8 bodyCount = 1;
    qint8 sense = 1;     // +1 anticlockwise, -1 clockwise, fixed at the start of a run
    bool attached = true; // the string is intact
    int step = 0;        // angle index while attached, ticks since the cut afterwards
    int lastStep = 0;    // step of the latest attached tick
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int releaseX1 = 0, releaseY1 = 0, releaseX2 = 0, releaseY2 = 0;

protected:
    void FreeBitmaps() override;

private:
    // Puts both bodies, and their release positions, where the whirling starts (step 0),
    // so a cut before the first tick flies from there.
    void StartPositions();
    Canvas pc; // draws on `picture`
};

extern TCenfuga *Cenfuga;
SimWindow *CreateCenfuga(QWidget *owner);
