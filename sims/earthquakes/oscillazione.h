#pragma once
// The Earth's free oscillations after a great earthquake: a blue globe with white meridians
// and an equator either breathes between a flattened and an elongated shape (mode A,
// spheroidal) or twists its two hemispheres in opposite directions (mode B, torsional),
// and can turn about its axis. A mode's 30 pictures (5 amplitude steps x 6 rotation steps)
// are drawn once, with a progress bar, when that mode is first shown; a tick shows one.
#include "numeric.h"
#include "simwindow.h"

#include <array>

class QComboBox;
class QProgressBar;
class QToolButton;

class Toscilla : public SimWindow
{
    Q_OBJECT
public:
    explicit Toscilla(QWidget *owner);
    ~Toscilla() override;

    static constexpr int AmplitudeSteps = 5;
    static constexpr int RotationSteps = 6;
    // Steps of the progress bar in a preparation: for each picture, 93 for each half of
    // the disc and one for each meridian (nine at rotation step 0, eight at the others).
    static constexpr int PreparationSteps = AmplitudeSteps * (RotationSteps * 2 * 93 + 9 + (RotationSteps - 1) * 8);

    void FormCreate() override;
    void tempoTimer() override;
    void tipoChange();
    void disegnaClick();

    QToolButton *rotazion = nullptr;
    QComboBox *tipo = nullptr;
    QToolButton *disegna = nullptr;
    QProgressBar *Progressione = nullptr;

    // Picture of amplitude step k, rotation step j and mode m (1 or 2); a mode's pictures
    // exist once it has been prepared.
    QImage &Globe(int k, int j, int m) { return globes[k][j][m - 1]; }
    const QImage &Globe(int k, int j, int m) const { return globes[k][j][m - 1]; }

    quint8 modeChosen = 1;
    quint8 modeShown = 1;
    bool modeReady[3] = {false, true, false}; // [1], [2]
    Real tiltAngle = 0;
    quint8 beat = 0;
    quint8 turn = 0;
    bool preparationDue = false;

    // Amplitude step shown at each beat of the 16-tick oscillation.
    static int AmplitudeStep(int beat);
    // Side of the square pictures and the client height they are drawn for (at creation).
    int PictureSize() const { return S; }
    int DrawingHeight() const { return CH; }
    // Where the pictures are shown.
    QPoint GlobeOrigin() const;

protected:
    void Prepare() override;
    void FreeBitmaps() override;
    void LayoutSotto() override;

private:
    struct Latitudes;
    void PreparePictures();
    void DrawGlobe(QImage &picture, int k, int j, int m, Extended eps, Real u, const Latitudes &lat);
    void StepProgress(int steps);

    std::array<std::array<std::array<QImage, 2>, RotationSteps>, AmplitudeSteps> globes;
    int S = 0, CH = 0;
    int progress = 0;
    int shownPercent = -1;
};

extern Toscilla *oscilla;
SimWindow *CreateOscilla(QWidget *owner);
