#pragma once
// Doppler simulation: a point source moves to the right through still air at 1 to 7 pixels
// per tick while it sends out circular waves that travel at 5 pixels per tick. The fronts
// crowd together ahead of the source and spread out behind it; at 5 and above they form a
// cone. Eight frames, one per tick of the wave period (8 ticks), are drawn in advance with
// the source at a fixed place; each tick shows a window of the current frame that slides
// to the left by the source speed, so the fronts keep their centres on the screen and the
// source is seen to move.
#include "numeric.h"
#include "simwindow.h"

#include <array>

class QFrame;
class QLabel;
class QProgressBar;
class QSpinBox;
class QToolButton;

class Tdopsimul : public SimWindow
{
    Q_OBJECT
public:
    explicit Tdopsimul(QWidget *owner);
    ~Tdopsimul() override;

    static constexpr int FrameCount = 8;  // ticks of one wave period
    static constexpr int WaveSpeed = 5;   // pixels per tick
    static constexpr int MaxSourceSpeed = 7;

    void FormCreate() override;
    void FormActivate() override;
    void tempoTimer() override;
    void andamentoChange();
    void plondaChanged();
    void disegnaClick();

    // Controls.
    QSlider *andamento = nullptr;
    QSpinBox *plonda = nullptr;
    QToolButton *disegna = nullptr;
    QLabel *Panel3 = nullptr;
    QLabel *Panel4 = nullptr;
    QProgressBar *progressione = nullptr;
    QFrame *Bevel1 = nullptr;
    QFrame *Bevel2 = nullptr;
    QFrame *Bevel3 = nullptr;

    // Model.
    std::array<QImage, FrameCount> frames;
    QRect frameRect;             // (0, 0)-(6W/5, H/2): clears a frame
    quint8 i = 1;                // source speed, pixels per tick
    std::array<int, MaxSourceSpeed + 1> A{}; // age of the oldest front drawn, by speed
    std::array<int, MaxSourceSpeed + 1> B{}; // age at which a front's back edge leaves the frame
    int f = 0;                   // frame shown
    int t = 0;                   // ticks travelled by the source in this run
    QRect sourceRect;            // part of frame f shown at the last tick
    QRect screenRect;            // where it was shown

    // Size of the client area the frames and tables were made for.
    int W = 0, H = 0;
    // The place of the source in every frame.
    QPoint Source() const { return QPoint(Div(3 * W, 5), Div(H, 4)); }
    // Ticks of one run of the source across the picture at the current speed.
    int RunLength() const { return Div(7 * W, 11 * i); }

protected:
    void FreeBitmaps() override;
    void resizeEvent(QResizeEvent *e) override;
    void LayoutSotto() override;

private:
    QSize groundSize; // size the background was last cleared for
    void DrawPass(std::array<Canvas, FrameCount> &pads, TColor colour, int phase);
    void DrawFront(Canvas &c, int j, TColor colour) const;
    void StepProgress();
};

extern Tdopsimul *dopsimul;
SimWindow *CreateDopsimul(QWidget *owner);
