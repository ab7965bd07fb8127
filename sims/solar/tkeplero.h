#pragma once
// Kepler's third law: four planets on circular orbits of radii 1 : 2 : 4 : 6 round the Sun,
// seen obliquely (the circles flattened three times), each going round in a period
// proportional to the radius to the power 3/2. The bottom panel lists each radius and
// period, a counter under the orbits shows the steps gone by; `orbite` shows the orbits and
// `nuovo` starts the planets again together from the line on the right of the Sun.
// The planets move over the picture by save and restore: each tick puts back the picture
// under a planet, keeps what its new place covers and copies its sprite there.
#include "numeric.h"
#include "simwindow.h"

#include <array>

class QFrame;
class QLabel;
class QTimer;
class QToolButton;

class Tktres : public SimWindow
{
    Q_OBJECT
public:
    explicit Tktres(QWidget *owner);
    ~Tktres() override;

    static constexpr int Planets = 4;
    static constexpr std::array<TColor, Planets> PlanetColour{clFuchsia, clAqua, clRed, clLime};
    // Radii in units of the innermost one.
    static constexpr std::array<int, Planets> RadiusRatio{1, 2, 4, 6};

    void FormCreate() override;
    void FormClose() override;
    void tempoTimer() override;
    void orbiteClick();
    void nuovoClick();
    void Timer1Timer();

    // The width that keeps the outer planet inside the picture and above the step counter
    // on a client of this size (the client's own width when it fits).
    static int FitWidth(int clientWidth, int clientHeight);
    // The text of a period, as the panels show it: 2 T rounded, at least three wide.
    static QString PeriodText(Real halfPeriod);

    // Controls.
    QToolButton *orbite = nullptr;
    QToolButton *nuovo = nullptr;
    QWidget *Panel1 = nullptr;
    QLabel *Panel2 = nullptr;
    // Radius and period of each planet: Panel3/Panel4 for planet 1 ... Panel9/Panel10 for 4.
    std::array<QLabel *, 2 * Planets> pairPanel{};
    std::array<QFrame *, Planets> bevel{};
    QTimer *Timer1 = nullptr;

    // The scene, fixed at creation: its width and left edge, the Sun's and a planet's radius,
    // the orbit radii and half-periods (steps for half a lap).
    int CW = 0, CH = 0;
    int sceneWidth = 0, sceneLeft = 0;
    quint8 u1 = 0, u2 = 0;
    std::array<int, Planets> R{};
    std::array<Real, Planets> T{};
    int t = 0;
    std::array<QPoint, Planets> pos{};

    // The picture, the drawing of the orbits, and for each planet the picture under it and
    // its sprite.
    QImage picture, orbits;
    std::array<SavedRect, Planets> under;
    std::array<QImage, Planets> sprite;

    // Centre of the orbits in the picture.
    Extended CentreX() const { return sceneLeft + Extended(sceneWidth) / 2; }
    int SunX() const { return sceneLeft + Div(sceneWidth, 2); }
    int CentreY() const { return Div(CH, 4); }
    // Where planet i stands at step s.
    QPoint PlanetAt(int i, int s) const;
    QRect PlanetRect(int i) const;
    // Where the picture is shown on the window.
    int PictureTop() const { return Div(ClientHeight(), 4); }

protected:
    void FreeBitmaps() override;
    void LayoutSotto() override;

private:
    void DrawOrbits();
    void DrawSun();
    void SaveUnderPlanets();
    void DrawPlanets();
    Canvas pc;
};

extern Tktres *ktres;
SimWindow *CreateKtres(QWidget *owner);
