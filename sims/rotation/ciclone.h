#pragma once
// Cyclone and anticyclone side by side, each in one half of the window. The motion is a
// loop of four pictures drawn at once: one half plays them forward, the other backward, so
// the two turn and move in opposite senses. `vista` picks the view (an axonometric helix of
// air rising from the ground, or the spiral seen in section at ground level or aloft) and
// `nuovo` draws the four pictures of that view.
#include "numeric.h"
#include "simwindow.h"

#include <array>

class QComboBox;
class QToolButton;

class Tciclon : public SimWindow
{
    Q_OBJECT
public:
    explicit Tciclon(QWidget *owner);
    ~Tciclon() override;

    static constexpr int FrameCount = 4;

    void FormCreate() override;
    // The animation timer is `cadenza` here; `tempo` is its object, under that name.
    void tempoTimer() override;
    void cadenzaTimer() { tempoTimer(); }
    void vistaChange();
    void nuovoClick();

    QComboBox *vista = nullptr;
    QToolButton *nuovo = nullptr;

    std::array<QImage, FrameCount> frames;
    quint8 viewKind = 0;
    quint8 frameIndex = 0;

    // Size of the pictures (half the client width, the client height at creation).
    int FrameWidth() const { return FW; }
    int FrameHeight() const { return FH; }

    // The four pictures of a view, for pictures w x h.
    static void DrawAxonometric(std::array<QImage, FrameCount> &pictures, int w, int h);
    static void DrawSection(std::array<QImage, FrameCount> &pictures, int w, int h, bool aloft);

protected:
    void Prepare() override;
    void FreeBitmaps() override;

private:
    int FW = 0, FH = 0;
};

extern Tciclon *ciclon;
SimWindow *CreateCiclon(QWidget *owner);
