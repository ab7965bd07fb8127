#pragma once
// Relative motion of the Earth and a planet: why a planet seen from the Earth seems to stop
// and move backwards among the stars. The left half shows the Sun, the Earth and a planet
// (outer: Mars, inner: Mercury) on circular orbits seen slightly obliquely, inside a ring
// of stars; the right half keeps the Earth fixed and shows where the planet stands from
// it, tracing the apparent path with its loops. `visione` draws the Earth's line of sight
// towards the planet, out to the star ring; `nuovo` starts again with the planet chosen
// in `pianeta`.
// On a client wider than the scene allows (the outer planet's path would run under the
// bottom panel) the scene is laid out on the widest width that keeps it inside, centred.
#include "numeric.h"
#include "simwindow.h"

class QComboBox;
class QFrame;
class QLabel;
class QToolButton;

class Ttema : public SimWindow
{
    Q_OBJECT
public:
    explicit Ttema(QWidget *owner);
    ~Ttema() override;

    void FormCreate() override;
    void tempoTimer() override;
    void nuovoClick();
    void pianetaChange();
    void visioneClick();

    QComboBox *pianeta = nullptr;
    QToolButton *visione = nullptr;
    QToolButton *nuovo = nullptr;
    QLabel *Panel2 = nullptr, *Panel3 = nullptr, *Panel9 = nullptr, *Panel10 = nullptr;
    QLabel *Label1 = nullptr;
    QFrame *Bevel2 = nullptr, *Bevel3 = nullptr, *Bevel4 = nullptr, *Bevel5 = nullptr;

    // Periods in ticks: the Earth's, and the outer and the inner planet's.
    static constexpr int Te = 200;
    static constexpr int OuterPeriod = 376;
    static constexpr int InnerPeriod = 48;

    // 1: the outer planet, 0: the inner one (as started, not as chosen in `pianeta`).
    int kind = 1;
    Real Re = 0, Rp = 0;
    int Tp = OuterPeriod;
    int n = 0;
    // Earth and planet in the left view, the planet seen from the Earth in the right one.
    Real X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X0 = 0, Y0 = 0;
    bool lineOfSight = false;

    // The picture (the client's size at the start) and the square under the apparent planet.
    QImage picture;
    SavedRect under;
    // Draws on the picture; kept apart from the window's canvas so that its pen stays at
    // the end of the apparent path from one tick to the next.
    Canvas pictureCanvas;
    int CW = 0, CH = 0;
    // Width and left edge of the scene in the picture (the whole client on a 4:3 client).
    int W = 0, L = 0;

    // The widest scene width, up to the client's, that keeps the scene of the planet
    // `forKind` between the control bar and the bottom panel on a client cw x ch.
    int FitWidth(int forKind, int cw, int ch) const;
    // The positions at tick `tick` (X1 .. Y0).
    void Positions(int tick);
    // Where the line of sight ends, on the star ring.
    QPoint SightEnd() const;
    // Radius of the bodies' discs and half-side of the square saved under the apparent planet.
    int BodyRadius() const { return Div(W, 160); }
    int SquareHalf() const { return Div(W, 150); }

protected:
    void Prepare() override;
    void FreeBitmaps() override;
    void LayoutSotto() override;

private:
    void Disc(Canvas &c, Extended x, Extended y, int r);
    QRect SquareAround(Extended x, Extended y) const;
};

extern Ttema *tema;
SimWindow *CreateTema(QWidget *owner);
