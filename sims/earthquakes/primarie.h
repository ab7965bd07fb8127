#pragma once
// P waves: a compressional wave runs through a slab of rock seen in oblique view. Thin
// vertical planes in the rock move back and forth along the slab; the button `eviden`
// highlights the gap between planes 20 and 21, which widens and narrows as the wave passes.
// The loop is 19 pictures drawn once at the first activation; each tick shows the next one.
// One wavelength is ten planes, so pictures f and f + 10 are the same and share one bitmap.
// At the default rate (20 pictures a second, 11 px each) the wave runs about 1.7 times as
// fast as the S wave in its own window, as P waves do in rock.
#include "simwindow.h"

#include <array>

class QFrame;
class QToolButton;

class Tondep : public SimWindow
{
    Q_OBJECT
public:
    explicit Tondep(QWidget *owner);
    ~Tondep() override;

    static constexpr int FrameCount = 19;

    void FormCreate() override;
    void tempoTimer() override;

    QToolButton *eviden = nullptr;
    QFrame *Bevel1 = nullptr;

    std::array<QImage, FrameCount> frames;
    std::array<int, FrameCount> edgeA{}, edgeB{};
    quint8 frameIndex = 0;

    // Size of the pictures and their place in the client area (from the current size).
    int PictureWidth() const { return W; }
    int PictureHeight() const { return PH; }
    QPoint PictureOrigin() const;

    // Draws picture f into `picture` (W x PH), recording the x of planes 20 and 21.
    static void DrawPicture(QImage &picture, int f, int &xPlane20, int &xPlane21);
    // The last plane drawn in a picture w pixels wide: the first whose slanted trace lies
    // wholly left of the picture, so the planes cover the slab at any width.
    static int LastPlane(int w);

protected:
    void Prepare() override;
    void FreeBitmaps() override;

private:
    int W = 0, PH = 0;
};

extern Tondep *ondep;
SimWindow *CreateOndep(QWidget *owner);
