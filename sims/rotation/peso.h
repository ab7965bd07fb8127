#pragma once
// Weight variation with latitude: a meridian section of the flattened, rotating Earth and,
// at one point of its surface, gravity toward the centre (green), the centrifugal force
// square to the axis (aqua), optionally split into a radial (red) and a tangential
// (yellow) part, and their resultant, the weight (white), with dotted construction lines.
// Nothing moves by itself: `contin` or the Enter key asks for the next position, 7.5
// degrees further round the meridian, and the fast timer draws it once.
#include "numeric.h"
#include "simwindow.h"

class QKeyEvent;
class QToolButton;

class Tvariapeso : public SimWindow
{
    Q_OBJECT
public:
    explicit Tvariapeso(QWidget *owner);
    ~Tvariapeso() override;

    void FormCreate() override;
    void FormActivate() override;
    void tempoTimer() override;

    void continClick();
    void graviClick();
    void centrifugaClick();
    void compClick();
    void risulClick();

    QToolButton *gravi = nullptr;
    QToolButton *centrifuga = nullptr;
    QToolButton *comp = nullptr;
    QToolButton *risul = nullptr;
    QToolButton *contin = nullptr;
    QToolButton *invio = nullptr;

    bool redrawWanted = true;
    bool showGravity = true;
    bool showCentrifugal = false;
    bool showComponents = false;
    bool showWeight = false;

    // The position of the point, in steps of 7.5 degrees from the equator (0..46). It belongs
    // to the program, not to one window: a window opened again goes on from where the last
    // one stopped.
    static quint8 latitudeStep;
    static constexpr int Positions = 47;

    // The meridian section, drawn once at creation; shown a thirty-second of the height lower.
    QImage background;

    struct Head {
        Real x = 0, y = 0;
    };
    // The heads of the last gravity, centrifugal and weight arrows.
    Head gravityHead, centrifugalHead, weightHead;

    // The client size the picture is laid out for (fixed at creation).
    int PictureWidth() const { return W; }
    int PictureHeight() const { return H; }

protected:
    void FreeBitmaps() override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void DrawBackground();
    // An arrow of length L from the surface point at angle a, turned by d; returns its head.
    Head Arrow(Extended L, Extended a, Extended d, TColor colour);
    void DottedLine(int x1, int y1, int x2, int y2);

    int W = 0, H = 0;
};

extern Tvariapeso *variapeso;
SimWindow *CreateVariapeso(QWidget *owner);
