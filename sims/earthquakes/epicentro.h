#pragma once
// Epicentre: an exercise in locating an earthquake from three recording stations. A quake
// is placed at random and kept hidden; its P front (8 km/s, cyan) and S front (4 km/s,
// white) spread as circles, and each station counts the seconds between the arrival of the
// two. On the graph page the program runs along the travel-time lines of the two waves and
// reads, for each station, the distance that belongs to its S-P time; at the end the three
// circles of those radii are drawn round the stations: they meet at the epicentre, which
// is then shown.
// Scales: 1 pixel of distance is 4 km, one tick of `tempo` is 1 s; on the graph the x axis
// keeps 4 km per pixel and the y axis is 2 s per pixel.
#include "numeric.h"
#include "simwindow.h"

#include <array>

class QLabel;
class QToolButton;

class TEpice : public SimWindow
{
    Q_OBJECT
public:
    explicit TEpice(QWidget *owner);
    ~TEpice() override;

    // The program's generator (globals.h) is seeded from the clock at every new exercise.

    void FormCreate() override;
    void FormClose() override;
    void cadenzaChange() override;
    void tempoTimer() override;
    void temposecTimer();
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void disegnaClick();
    void grafClick();
    void tracciaClick();
    void pagiClick();

    // Starts the waves of the current exercise from a quake at (x, y).
    void PlaceEpicentre(int x, int y);

    // Controls.
    QToolButton *suono = nullptr;
    QToolButton *graf = nullptr;
    QToolButton *traccia = nullptr;
    QToolButton *pagi = nullptr;
    QToolButton *disegna = nullptr;
    QWidget *Panel2 = nullptr;
    QLabel *t1 = nullptr, *t2 = nullptr, *t3 = nullptr;
    QLabel *r1 = nullptr, *r2 = nullptr, *r3 = nullptr;
    QLabel *a1 = nullptr, *a2 = nullptr, *a3 = nullptr, *a4 = nullptr;
    std::array<QLabel *, 3> tLabel{}, rLabel{}, aLabel{};
    QTimer *temposec = nullptr;
    QTimer *Timer1 = nullptr, *Timer2 = nullptr, *Timer3 = nullptr;

    // Geometry, fixed at creation. The stations, the quake's range and the graph are laid
    // out on a width of at most 3/2 of the height (`sceneWidth`, from `sceneLeft`), so that
    // the S line and the farthest station's reading stay under the graph's time arrow.
    int CW = 0, CH = 0;
    int sceneWidth = 0, sceneLeft = 0;
    std::array<QPoint, 3> station{};
    QPoint GraphOrigin() const { return QPoint(sceneLeft + Div(sceneWidth, 10), Div(4 * CH, 5)); }

    // The exercise.
    int ex = 0, ey = 0;              // the epicentre, hidden until the end
    std::array<int, 3> d{};          // distance of each station from it, pixels
    int dmax = 1;
    std::array<int, 3> c{};          // S-P counters of the stations
    int rS = 1, rP = 1;              // radii of the S and P fronts
    int T = 4;                       // distance being read on the graph
    int k = 0;                       // page-reveal step
    std::array<QString, 3> counterText, distanceText;
    bool graphShown = true;          // the next page switch leads to the simulation page
    bool firstReveal = true;

    // The simulation page and the graph page.
    QImage simPage, graphPage;

    static constexpr std::array<TColor, 3> StationColour{clRed, clLime, clFuchsia};

protected:
    void Prepare() override;
    void FreeBitmaps() override;
    void LayoutSotto() override;

private:
    void DrawStations(Canvas &c);
    void DrawSolution();
    void ChangeHint(QWidget *w, const QString &hint);
    bool IsStationDistance(int x) const;

    Canvas simCanvas, graphCanvas;
};

extern TEpice *Epice;
SimWindow *CreateEpice(QWidget *owner);
