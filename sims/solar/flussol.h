#pragma once
// Irradiation: a small sheet turns about an axis between a point source S and a screen with
// a square grid. Dotted rays join S to a red patch on the screen; the sheet's shadow, a
// black band inside the patch, follows the sheet's angle, and the bottom panel reads the
// relative irradiance E = 4 |sin theta| / d^2 for the source-sheet distance d (1 or 2).
// The motion runs continuously (one step a tick) or step by step (`continua` or any key for
// the next step). The screen is drawn obliquely: its depth runs up and to the right.
#include "numeric.h"
#include "simwindow.h"

class QFrame;
class QKeyEvent;
class QLabel;
class QSpinBox;
class QToolButton;

class Tunflusso : public SimWindow
{
    Q_OBJECT
public:
    explicit Tunflusso(QWidget *owner);
    ~Tunflusso() override;

    void FormCreate() override;
    void tempoTimer() override;
    void psuperficieClick();
    void normaleClick();
    void papassoClick();
    void continuaClick();
    void pausaClick();
    void FormKeyPress();

    QSlider *velo = nullptr;
    QSpinBox *psuperficie = nullptr;
    QToolButton *versore = nullptr;
    QToolButton *normale = nullptr;
    QToolButton *papasso = nullptr;
    QToolButton *continua = nullptr;
    QToolButton *invio = nullptr;
    QLabel *Panel3 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label8 = nullptr;
    QFrame *Bevel1 = nullptr, *Bevel3 = nullptr;

    // The layout of the scene for a picture W wide and H high.
    struct Layout {
        int u = 0, h10 = 0, w100 = 0, q = 0, cy = 0, r = 0;
        Real F = 0;
        int a = 0, b = 0;   // horizontal and vertical half-steps of the oblique grid
        int Sx = 0;         // the source S = (Sx, cy)
        int x0 = 0;         // the screen's centre column
        static Layout For(int W, int H);
        // Half the height of the screen's outline: its corners lie 4(b + r) above and below cy.
        int ScreenReach() const { return 4 * (b + r); }
    };
    // The widest scene, up to the client's width, whose screen stays between the control bar
    // and the bottom panel.
    int FitWidth() const;

    // Fixed at creation.
    int W = 0, H = 0;      // the picture (the scene's width, the client's height)
    Layout L;
    int P = 0;             // half a turn of the sheet, in time units
    int pictureLeft = 0;   // where the picture is copied, in client columns
    QSize shownOn;         // the screen's size when the picture was last copied to it

    // The motion.
    int t = 0;
    quint8 k = 2;          // 2 div d
    int xs = 0;            // the sheet's centre column
    Real theta = 0;
    int nx = 0, ny = 0;
    bool waiting = false;

    QImage picture;

    int Distance() const;
    // True when the normal vector stands in front of the sheet at time t.
    bool NormalInFront(int time) const;

protected:
    void FreeBitmaps() override;
    void LayoutSotto() override;
    void HintLineChanged(const QString &longHint) override;
    // In the step mode every key (without Ctrl) is the window's: it gives the next step.
    bool OwnsKey(const QKeyEvent *e) const override;
    bool StepKey() override;
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void Step();
    void DrawNormal();
    void Patch(int half, TColor colour);

    Canvas pc;
};

extern Tunflusso *unflusso;
SimWindow *CreateUnflusso(QWidget *owner);
