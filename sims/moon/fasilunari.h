#pragma once
// Lunar phases: one lunar month. The Earth travels a short arc of its orbit near the bottom of
// the picture while the Moon circles it; sunlight comes from the top, so both are drawn with
// their upper half lit, and spokes on each show their own rotation (the Earth spins 28 times
// faster than the Moon revolves). At new moon, first quarter, full moon, last quarter and the
// next new moon a caption appears and a snapshot of the Earth with the Moon is kept; after a
// run `fasit` pastes the snapshots back. While paused, two white lines bound the strip in
// which the Earth and the Moon see each other.
#include "numeric.h"
#include "simwindow.h"

#include <array>

class QLabel;
class QToolButton;

class Tfaslun : public SimWindow
{
    Q_OBJECT
public:
    explicit Tfaslun(QWidget *owner);
    ~Tfaslun() override;

    static constexpr int PhaseCount = 5;
    // runTime of the five phase moments: new moon, first quarter, full moon, last quarter,
    // new moon again.
    static constexpr int PhaseMoment[PhaseCount] = {18, 38, 58, 78, 98};

    void FormCreate() override;
    void tempoTimer() override;

    void traietClick();
    void partenzaClick();
    void fineClick();
    void fasitClick();

    QToolButton *paus = nullptr; // the pause button (also `pausa`)
    QToolButton *traiet = nullptr;
    QToolButton *fasit = nullptr;
    QToolButton *partenza = nullptr;
    QToolButton *fine = nullptr;
    std::array<QLabel *, PhaseCount> labels{}; // Label1..Label5

    // Fixed at creation.
    int earthRadius = 0;

    QImage picture;   // the scene, copied onto the window at (0, H div 4)
    QImage earthIcon; // 2 earthRadius square
    QImage moonIcon;  // earthRadius square
    SavedRect earthPatch, moonPatch;
    std::array<SavedRect, PhaseCount> phaseShots;

    Real runTime = 130;       // > 120: no run in progress
    bool phasesReady = false; // a run has been started
    bool showOrbits = false;  // trails of the Earth (white) and the Moon (red)
    // A run ended by `fine` stays stopped: activation does not take it up again.
    bool runStopped = false;

    int earthX = 0, earthY = 0, moonX = 0, moonY = 0;
    std::array<QPoint, 4> earthSpoke{};
    std::array<QPoint, 2> earthLimb{}; // at pi u/40 + pi and pi u/40
    std::array<QPoint, 4> moonSpoke{};  // towards the Earth, away from it, the two limbs
    std::array<QPoint, 2> moonLimb{};
    std::array<int, PhaseCount> phaseX{}, phaseY{};

    // Where `picture` stands on the window: H div 4 below the top of the client area.
    int PictureTop() const;
    // Half-side of the snapshot squares: W div 10.
    int SnapshotHalf() const;

protected:
    void FreeBitmaps() override;
    void StartTimers() override;

private:
    // The Earth's centre in `picture` for u = 542 + runTime.
    QPoint EarthCentre(Extended u) const;
    void EarthAt(Extended u);
    void MoonAt(Extended u);
    QRect EarthSquare() const;
    QRect MoonSquare() const;

    Canvas pc; // draws into `picture`
};

extern Tfaslun *faslun;
SimWindow *CreateFaslun(QWidget *owner);
