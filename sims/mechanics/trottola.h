#pragma once
// The spinning top: a top stands on a table, its disc spinning fast about the axis while
// the axis sweeps slowly round a cone (precession). It is seen from the side or from above;
// `laterale` and `superiore` change the view with nine widening strips of the new view over
// the old one. The motion is in closed form from two counters: the spin turns once in 120
// ticks, the precession once in 400.
//
// The tick runs every millisecond, so it redraws only the part of a picture the top covers
// (the rest stays as it was drawn) and shows only what changed.
#include "numeric.h"
#include "simwindow.h"
#include "viewswitch.h"

#include <QPoint>
#include <QRect>
#include <QVector>
#include <array>

class QSlider;
class QTimer;
class QToolButton;

class Tspins : public SimWindow
{
    Q_OBJECT
public:
    explicit Tspins(QWidget *owner);
    ~Tspins() override;

    void FormCreate() override;
    void FormClose() override;
    void tempoTimer() override { cadenzaTimer(); }
    void cadenzaTimer();
    void lateraleClick();
    void superioreClick();
    void Timer1Timer();
    void Timer2Timer();

    QSlider *velo = nullptr;
    QToolButton *laterale = nullptr;
    QToolButton *superiore = nullptr;
    ViewSwitch *view = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;

    // The scene, laid out at creation: W is the width it is drawn for (the client's, or
    // the widest that keeps the table seen from above inside its picture), H the client
    // height.
    int W = 0, H = 0;
    // The side view (W x H, drawn in its top-left 2W/5 x 3H/5) and the view from above.
    QImage sidePicture, topPicture;

    // Spin: one turn in 120 ticks; precession: half a count a tick, one turn in 200 counts.
    // Both are kept as whole ticks within their period, so they never lose a step.
    static constexpr int SpinPeriod = 120;
    static constexpr int PrecessionPeriod = 400; // ticks, i.e. half counts
    int spin = 0;
    int precessionHalves = 0;
    // Sets both counters to where they stand after `ticks` ticks from the start.
    void SetTicks(qint64 ticks);
    Extended Sigma() const { return Extended(spin) * Pi / 60; }
    Extended Psi() const { return Pi * (Extended(precessionHalves) / 2) / 100; }

    // 0 side view, 1 changing, 2 view from above.
    int &displayMode;
    // Strip width of the change under way.
    int &stripWidth;
    // 1 while the view from above is shown, and during a change that leaves it.
    int AboveFlag() const;

    // The disc centre and its rim (twelve points) in a view, for the counters as they stand.
    struct Centre {
        Extended x, y;
    };
    Centre DiscCentre(bool above) const;
    QVector<QPoint> Rim(bool above) const;
    QPoint Tip() const { return QPoint(Div(W, 5), Div(3 * H, 10)); }
    // Where the pictures are shown on the window.
    QPoint Origin() const;
    // The part of a picture that can differ from black (the size of the view from above).
    QRect ContentRect() const { return QRect(0, 0, Div(2 * W, 5), Div(3 * H, 5)); }
    // The scene width for a client: a 4:3 client is the scene; a wider one keeps the table
    // seen from above (2W/5 across) within the height of its picture.
    static int FitWidth(int clientHeight) { return Div(3 * clientHeight, 2); }

protected:
    void FreeBitmaps() override;

private:
    // Each draws its picture for the counters as they stand and returns the part that
    // changed.
    QRect DrawSide();
    QRect DrawTop();
    void DrawTopOf(Canvas &c, const QVector<QPoint> &rim, TColor rimColour, bool linesFirst);
    QRect TopBounds(const QVector<QPoint> &rim) const;
    // Puts `part` of a picture on the window (all of it when the view or its place changed).
    void Show(const QImage &picture, QRect part);

    // Parts of the pictures the top covered when last drawn (empty: draw all again).
    QRect sideDrawn, topDrawn;
    // What the window last showed, and where.
    int shownMode = -1;
    QPoint shownOrigin;
};

extern Tspins *spins;
SimWindow *CreateSpins(QWidget *owner);
