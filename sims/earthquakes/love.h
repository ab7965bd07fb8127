#pragma once
// Love waves: the ground's surface layer, a slab seen in oblique view, is shaken sideways,
// across the direction of travel and parallel to the surface, so its top face snakes in and
// out of the picture. Columns stand 19 px apart and move by up to 15 px along the 72-degree
// depth direction; one wavelength is 20 columns and the wave runs 9.5 px to the left per
// tick, repeating every 40 ticks. Each picture is computed at its tick into one bitmap.
#include "numeric.h"
#include "simwindow.h"

class QFrame;

class Tondel : public SimWindow
{
    Q_OBJECT
public:
    explicit Tondel(QWidget *owner);
    ~Tondel() override;

    static constexpr int Period = 40;

    void FormCreate() override;
    void tempoTimer() override;

    QFrame *Bevel1 = nullptr;

    // The picture of the current tick.
    QImage picture;
    // State of the unit: the phase of the wave, 0 when the program starts, kept when the
    // window is closed and opened again.
    static inline quint8 phase = 0;

    // Geometry of the window's creation: the picture is W x H3 and shown at (X0, Y0).
    int CW = 0, CH = 0, W = 0, H3 = 0, X0 = 0, Y0 = 0;

    // The last column drawn for a picture w pixels wide: 40, or more where the picture is
    // wider than 40 columns reach, so that the slab always runs to the right edge.
    static int LastColumn(int w);
    // Draws the slab for phase t into `picture`.
    static void DrawPicture(QImage &picture, int t);

protected:
    void FreeBitmaps() override;
};

extern Tondel *ondel;
SimWindow *CreateOndel(QWidget *owner);
