#pragma once
// Tides: the Earth and the Moon seen from above, turning about their common centre of mass,
// with half the Sun at the right-hand edge. The ocean is an ellipse stretched along the
// Earth-Moon line. Three sets of arrows may be drawn at four points of the Earth's surface:
// the Moon's attraction (red), the centrifugal force of the Earth's revolution about the
// centre of mass (yellow) and their resultant, the tide-raising force (aqua), drawn at each
// point as the sum of the other two. The bottom panel names the spring tides when the Moon
// is in line with the Sun and the neap tides when it is at quadrature, and holds the legend
// of the arrows.
// The Moon goes round once in 600 ticks. The scene is laid out for the client size of the
// window's creation.
#include "numeric.h"
#include "simwindow.h"

class QFrame;
class QLabel;
class QToolButton;

class Tmarea : public SimWindow
{
    Q_OBJECT
public:
    explicit Tmarea(QWidget *owner);
    ~Tmarea() override;

    void FormCreate() override;
    void tempoTimer() override;
    // Half a Sun at the right-hand edge of the window.
    void FormPaint();

    void vettorigClick();
    void vettoricClick();
    void vettorirClick();

    QToolButton *vettorig = nullptr;
    QToolButton *vettoric = nullptr;
    QToolButton *vettorir = nullptr;
    QLabel *testo = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
    QFrame *Bevel1 = nullptr, *Bevel2 = nullptr, *Bevel3 = nullptr, *Bevel4 = nullptr;

    // The Moon's place, 0..599: it belongs to the program, so a window opened again goes
    // on from where the last one left it.
    static int moonStep;
    static constexpr int Steps = 600;

    bool showAttraction = false;
    bool showCentrifugal = false;
    bool showResultant = false;

    int fifthHeight = 0;
    QImage picture, sunImage, moonImage;

    int LayoutWidth() const { return W; }
    int LayoutHeight() const { return H; }

protected:
    void FreeBitmaps() override;
    void LayoutSotto() override;
    void resizeEvent(QResizeEvent *e) override;

private:
    // An arrow of length L from the surface point at angle a, turned by d: it points along
    // the screen angle a + d + pi/2.
    struct ArrowSpec {
        Real L, a, d;
    };
    void Arrow(const ArrowSpec &arrow, int ex, int ey);
    static ArrowSpec Resultant(const ArrowSpec &first, const ArrowSpec &second);
    void Legend(QLabel *label, bool on, int row);

    Canvas pc;
    int W = 0, H = 0;
};

extern Tmarea *marea;
SimWindow *CreateMarea(QWidget *owner);
