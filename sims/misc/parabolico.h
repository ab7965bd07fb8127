#pragma once
// Parabolic antenna: a concave mirror in section with its focus. Receiving, plane wave
// fronts come in from the left, are reflected and converge on the focus; transmitting, the
// same loop runs backwards. The fronts alternate blue and cyan; the rays the mirror sends
// to the focus can be laid over them. The loop is eight pictures drawn in advance with a
// progress bar, plus one picture of the rays.
#include "simwindow.h"

#include <array>

class QComboBox;
class QProgressBar;
class QToolButton;

class Tsconcavo : public SimWindow
{
    Q_OBJECT
public:
    explicit Tsconcavo(QWidget *owner);
    ~Tsconcavo() override;

    static constexpr int FrameCount = 8;
    static constexpr int RaysPicture = 8;
    static constexpr int Lambda = 4;

    void FormCreate() override;
    void tempoTimer() override;
    void aggiornaClick();
    void tipoChange();
    void raggiClick();
    void frontiClick();

    QComboBox *tipo = nullptr;
    QToolButton *aggiorna = nullptr;
    QToolButton *fronti = nullptr;
    QToolButton *raggi = nullptr;
    QProgressBar *progresso = nullptr;

    // Eight wave pictures and, last, the rays.
    std::array<QImage, FrameCount + 1> pictures;
    quint8 frame = 0;
    bool receiving = true;
    bool needsRendering = true;
    bool firstRendering = true;
    int lastItem = 0;

    // The geometry of the pictures, from the client size of the window's creation.
    int DrawingWidth() const { return CW; }
    int DrawingHeight() const { return CH; }
    int FocalLength() const { return F; }
    int ImageDistance() const { return s; }
    int FocusX() const { return xf; }
    int AxisY() const { return yc; }
    int PlaneFronts() const { return n1; }
    int ConvergingFronts() const { return n2; }
    // Where the pictures are shown on the window.
    QPoint PictureOrigin() const { return QPoint(0, CH / 4); }
    // Progress steps of a rendering: one per front drawn.
    int RenderingSteps() const { return 2 * (n1 + 1 + n2 + 1); }

protected:
    void Prepare() override;
    void FreeBitmaps() override;
    void LayoutSotto() override;

private:
    void ComputeGeometry();
    void ReleaseFronti();
    void Advance();
    void DrawRays();
    void DrawMirror(QImage &picture);
    // The mirror's right edge in the row t pixels from the axis.
    int MirrorX(int t) const;

    int CW = 0, CH = 0, F = 0;
    int xv = 0, yc = 0, s = 0, xf = 0, n1 = 0, n2 = 0, n3 = 0;
    int progress = 0;
    int shownPercent = -1;
};

extern Tsconcavo *sconcavo;
SimWindow *CreateSconcavo(QWidget *owner);
