#pragma once
// Precession and nutation: the Earth as a globe seen slightly from above, its equatorial
// plane tilted and its axis sweeping round a cone (precession), with `moto` optionally a
// periodic wobble of the tilt (nutation). View A draws the axis, the grey paths of its ends
// and the equatorial disc in two blues; view B (`evid`) draws the equator as a line and the
// red path of one marked point of it. A widening strip carries one view over the other.
// Everything comes in closed form from the step counter K; nothing is integrated.
#include "numeric.h"
#include "simwindow.h"
#include "viewswitch.h"

#include <QVector>

class QComboBox;
class QTimer;
class QToolButton;

class Tprecter : public SimWindow
{
    Q_OBJECT
public:
    explicit Tprecter(QWidget *owner);
    ~Tprecter() override;

    void FormCreate() override;
    void FormClose() override;
    void tempoTimer() override { cadenzaTimer(); }
    void cadenzaTimer();
    void motoChange();
    void evidClick();
    void Timer1Timer();

    QComboBox *moto = nullptr;
    QToolButton *evid = nullptr;
    // The strip change between the views, started by its one-shot timer `Timer1`; its mode
    // is the display mode (0 view A, 1 changing, 2 view B), its progress the strip width s.
    ViewSwitch *view = nullptr;
    QTimer *Timer1 = nullptr;
    int &s;

    // 1 while view A is the view shown or being brought in, 0 for view B.
    int ViewFlag() const { return view->toSecond ? 0 : 1; }
    int DisplayMode() const { return view->mode; }

    // Layout of the creation: the scene's width and left edge on the client, the globe's
    // centre (cx is also the axis half-length and the x the pictures are shown at), its
    // radius, the semi-axes of the equator and of the paths, and the shortening of a tilted
    // radius.
    int sceneWidth = 0, sceneLeft = 0;
    int cx = 0, cy = 0, R = 0, a = 0, b = 0;
    Real D = 0;
    int L() const { return cx; }

    // Steps of a half turn (20, or 30 with nutation), nutation on, step counter.
    quint8 N = 20;
    quint8 n = 0;
    quint8 K = 0;

    QImage bitmapA, bitmapB;

    // The widest scene whose axis ends stay between the control bar and the bottom panel of
    // a client h pixels high.
    int FitWidth(int h) const;

    // The model's points at step k, in picture coordinates.
    Extended Nutation(int m) const;
    QPoint EquatorPoint(int j, int k) const;
    QPoint NorthEnd(int k) const;
    QPoint SouthEnd(int k) const;
    QPoint PathDot(int j, bool upper) const;
    QPoint MarkedPoint(int m) const { return EquatorPoint(m, m); }

    // Where the pictures stand on the client, and the part of them a tick can change (the
    // rest stays black).
    QPoint PictureOrigin() const { return QPoint(sceneLeft + cx, 0); }
    QRect Band() const { return band; }
    // The part of the picture the last tick drew and showed anew (picture coordinates).
    QRegion Shown() const { return shown; }
    // The next picture is drawn and shown whole, as after a change of the motion or view.
    void ShowWhole() { drawn = QRegion(); }

protected:
    void FreeBitmaps() override;

private:
    void DrawViewA(const QVector<QPoint> &eq, const QRegion &part);
    void DrawViewB(const QVector<QPoint> &eq, const QRegion &part);
    void Show(const QImage &picture, const QRegion &part);
    void GlobeOutline(Canvas &c, const QRegion &part);
    QRegion Moving(const QVector<QPoint> &eq, bool viewA) const;
    // The points of the motion in use, worked out once for it: the dots of the two paths,
    // the marked point's path and the equator of each step met so far.
    void KeepPoints();
    int pointsN = 0;
    QVector<QPoint> upperDots, lowerDots, marked;
    QVector<QVector<QPoint>> equators;
    QRect band;
    // What moves in the picture last drawn in a steady view (empty: the next one is drawn
    // whole), and the motion, view and client size it was drawn for.
    QRegion drawn;
    int drawnN = 0;
    int drawnMode = -1;
    QSize drawnClient;
    QRegion shown;
};

extern Tprecter *precter;
SimWindow *CreatePrecter(QWidget *owner);
