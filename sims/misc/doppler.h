#pragma once
// Doppler comparison of waves: two identical sources oscillate in the same phase, side by
// side in two strip charts. The upper source S stays still and its wave travels u pixels a
// tick to the observer O; the lower source S' can be set moving u/2 pixels a tick towards its
// observer O' or away from it, so its wave comes out compressed or stretched. The signal
// button reverses the course of the phase, leaving a kink that travels to both observers.
// Everything is drawn incrementally on one picture, 3/4 of the client high, shown from
// an eighth of the client height down.
#include "numeric.h"
#include "simwindow.h"

class QLabel;
class QToolButton;

class Tdop : public SimWindow
{
    Q_OBJECT
public:
    explicit Tdop(QWidget *owner);
    ~Tdop() override;

    void FormCreate() override;
    void tempoTimer() override;
    void allonClick();
    void quieteClick();
    void avvicClick();
    void nuvoleClick();

    // Controls.
    QToolButton *allon = nullptr;
    QToolButton *quiete = nullptr;
    QToolButton *avvic = nullptr;
    QToolButton *nuvole = nullptr;
    QLabel *Panel4 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;

    // Model, for the client size of the creation (W x H).
    QImage picture;
    int W = 0, H = 0;
    quint8 u = 0;        // wave speed, pixels per tick
    quint8 v = 0;        // half the wave period, ticks; unit of the source drawing
    int p = 1;           // phase; the signal can take it below zero, it climbs back to 0
    Real y1 = 0, y2 = 0; // current displacement of the upper and lower source
    qint8 s = 0;         // -1 moving away, 0 still, +1 approaching
    int c = 0;           // offset of the lower source from its rest position
    int halfPixel = 0;   // and the half pixel it has gone beyond c (-1, 0 or 1)
    QRect upperSource, upperTarget, lowerSource, lowerTarget;

    // The farthest the lower source goes from its rest position before it stops.
    int Limit() const { return Div(7 * W, 20); }
    // Axes of the two waves in the picture, as the wave lines use them.
    Extended UpperAxis() const { return Extended(5) * H / 24; }
    Extended LowerAxis() const { return Extended(13) * H / 24; }
    // The state text of the lower source (0 still, -1 away, +1 approaching), by language.
    static QString StateText(int motion, int language);

protected:
    void FreeBitmaps() override;
    void LayoutSotto() override;

private:
    Canvas pc; // draws on `picture`
    int labelX = 0; // where the label S' was drawn last
    void SetState(int motion);
    void Lever(int x0, int axis, Real y);
    void Shift(const QRect &source, const QRect &target);
};

extern Tdop *dop;
SimWindow *CreateDop(QWidget *owner);
