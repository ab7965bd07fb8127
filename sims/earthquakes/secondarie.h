#pragma once
// S waves: a shear wave runs along a slab of rock seen in oblique view. Every column of the
// slab, 13 px wide, moves up and down by at most 3 px, so the outline ripples; one wavelength
// is 16 columns. The button `evidenzia` whitens one cell of the grid on the front face
// (column 10, between grid lines 2 and 3), whose right side belongs to the next column, so
// the cell shears into a parallelogram and back as the wave passes.
// The loop is sixteen pictures drawn once at the first activation; from one to the next the
// wave moves one column to the left, and sixteen make one period. At the default rate the
// wave crosses the picture a little under 0.6 times as fast as the P wave does in its own
// window, as S waves run through rock at about 0.58 times the speed of P waves.
#include "simwindow.h"

#include <array>

class QFrame;
class QToolButton;

class Tondes : public SimWindow
{
    Q_OBJECT
public:
    explicit Tondes(QWidget *owner);
    ~Tondes() override;

    static constexpr int FrameCount = 16;

    void FormCreate() override;
    void tempoTimer() override;

    QToolButton *evidenzia = nullptr;
    QFrame *Bevel1 = nullptr;

    // State of the unit, shared by every window it opens: the sixteen pictures, and for each the
    // window y of the upper left and upper right corners of the highlighted cell.
    static inline std::array<QImage, FrameCount> frames;
    static inline std::array<int, FrameCount> cellLeftY{}, cellRightY{};
    // The picture shown at the next tick.
    static inline quint8 frameIndex = 0;

    // Geometry of the window's creation: the pictures are W x H3 and shown at (X0, Y0).
    int CW = 0, CH = 0, W = 0, H3 = 0, X0 = 0, Y0 = 0;

    // Height of the top of column b in picture f, for a client ch pixels high.
    static int g(int b, int f, int ch);
    // Draws picture f into `picture` (W x H3) for a client of cw x ch; gives the bitmap y of
    // the highlighted cell's upper left and upper right corners.
    static void DrawPicture(QImage &picture, int f, int cw, int ch, int &cellLeft, int &cellRight);

protected:
    void Prepare() override;
    void FreeBitmaps() override;
};

extern Tondes *ondes;
SimWindow *CreateOndes(QWidget *owner);
