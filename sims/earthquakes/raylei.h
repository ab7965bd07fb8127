#pragma once
// Rayleigh waves: a block of ground in oblique view carries a surface wave. The surface and
// three lines at increasing depth run round upright ellipses that shrink with depth, so the
// ground rolls while the wave travels to the right. As in rock, a particle at the surface
// runs backwards at the top of its path (counter-clockwise as seen); deep down, below a
// fifth of a wavelength, the sense turns forwards. `eviden` sweeps over to a highlighted
// view on black that shows the particles' paths and marks single particles; clicked again
// it sweeps back. Every picture is computed afresh at each tick.
// The scene is designed on an 800 x 600 client: a design point (x, y) is drawn at
// (x * scaleX, y * scaleY), the scale factors fixed at creation; a particle's displacement
// from the centre of its path is scaled by scaleY both ways.
#include "numeric.h"
#include "simwindow.h"

#include <array>

class QFrame;
class QToolButton;
class ViewSwitch;

class Tonder : public SimWindow
{
    Q_OBJECT
public:
    explicit Tonder(QWidget *owner);
    ~Tonder() override;

    void FormCreate() override;
    void FormClose() override;
    void tempoTimer() override;
    void evidenClick();

    QToolButton *eviden = nullptr;
    QFrame *Bevel1 = nullptr;
    // The change between the normal view (first) and the highlighted one (second): its
    // mode is the view mode (0 normal, 1 sweeping, 2 highlighted) and its progress the x of
    // the sweep line in the picture.
    ViewSwitch *sweep = nullptr;
    int ViewMode() const;
    int SweepX() const;

    QImage normalView, highlightView;
    quint8 phase = 1; // time step of the wave, 0 to 63
    Real scaleX = 1, scaleY = 1;

    // Size of the pictures (fixed at creation) and their place in the client area.
    int PictureWidth() const { return W; }
    int PictureHeight() const { return H3; }
    QPoint PictureOrigin() const;

    // Half-axes of the particles' paths in design units, for row 0 (the surface and its front
    // edge, depth line 0) and depth lines 1 and 2. A positive horizontal half-axis: the
    // particle runs backwards at the top of its path; a negative one: forwards.
    //
    // In a Poisson solid (Lame constants equal) a Rayleigh wave of wavenumber k moves a
    // particle at depth z by U(kz) along the travel and V(kz) upwards, a quarter period apart:
    //   U(q) = exp(-0.8475 q) - 0.5774 exp(-0.3933 q),
    //   V(q) = -0.8475 exp(-0.8475 q) + 1.4679 exp(-0.3933 q),
    // so at the surface the path is 0.681 times as wide as tall and retrograde, and U turns
    // negative below q = 1.209 (0.19 wavelength), where the motion is prograde. The front face
    // is drawn with its depth compressed: lines 1 and 2, whose vertical motion is 11/18 and
    // 4/18 of the surface's, stand for the rock where V has fallen that far, about half a
    // wavelength and one wavelength down.
    static constexpr Extended PathHalfWidth[3] = {12.262500695397836L, -2.8601125286780738L, -1.4442344932775635L};
    static constexpr int PathHalfHeight[3] = {18, 11, 4};

    // Pixels of the moving points at the current phase: surface point of column k, point
    // of depth line i (0..2) of column k, and the start of depth line i.
    QPoint SurfacePoint(int k) const;
    QPoint DepthPoint(int i, int k) const;
    // The points of the current phase for every drawn column, each worked out once a tick:
    // surface[k] and depth[i][k] for k = 25 .. LastColumn + 1.
    void TakePoints();
    std::array<QPoint, 142> surface{};
    std::array<std::array<QPoint, 142>, 3> depth{};
    QPoint LineStart(int i) const;
    // Bounding box of the path ellipse s (0..6) of the particles of depth i (0 is the line
    // under the surface edge): centred on the orbit centre of those particles.
    QRect PathBox(int s, int i) const;

    static constexpr int FirstColumn = 28, LastColumn = 140;

protected:
    void FreeBitmaps() override;

private:
    // The particle of a row whose path is centred on the design point (x, y), at the phase
    // whose cosine and sine are c and s. The path's width is scaled like its height, so it
    // keeps its shape on a wide client too.
    QPoint Particle(Extended x, Extended y, int row, Extended c, Extended s) const;
    Extended Phi(int k) const { return Pi * (phase + k) / 32; }
    void DrawViews();
    void ShowPicture(bool paused);

    int W = 0, H3 = 0;
    int CH = 0; // client height at creation: the sweep line's extent in the pictures
};

extern Tonder *onder;
SimWindow *CreateOnder(QWidget *owner);
