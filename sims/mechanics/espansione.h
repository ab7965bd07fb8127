#pragma once
// Expansion of the universe: a sphere dotted with galaxies grows from a point. The open
// universe grows until the end of the run; the closed one grows, stops and shrinks back to a
// point. The sphere's size is proportional to a time counter that moves by one each tick.
#include "numeric.h"
#include "simwindow.h"

class QComboBox;
class QSlider;
class QToolButton;

class Tespanduni : public SimWindow
{
    Q_OBJECT
public:
    explicit Tespanduni(QWidget *owner);
    ~Tespanduni() override;

    static constexpr int OpenEnd = 399;    // the open run stops at its largest size
    static constexpr int ClosedTop = 124;  // the closed run turns back here

    void FormCreate() override;
    // The animation timer is `cadenza` here, moved by the track bar `velo`.
    void tempoTimer() override;
    void cadenzaTimer() { tempoTimer(); }
    void veloChange() { cadenzaChange(); }
    void aggiornaClick();

    QSlider *velo = nullptr;
    QComboBox *tipo = nullptr;
    QToolButton *aggiorna = nullptr;

    // The square picture, as high as the client of the window's creation.
    QImage picture;
    int t = 0;
    int kind = 0;            // 0 open, 1 closed
    quint8 contracting = 0;
    // A run is on until the open universe reaches its largest size or the closed one has
    // collapsed; a finished run stays as it ended.
    bool running = true;

    int Side() const { return H; }
    // Where the picture stands on the window.
    QPoint PictureOrigin() const { return QPoint(Div(ClientWidth(), 2) - Div(ClientHeight(), 2), 0); }
    // A point of meridian m at polar angle theta, with vertical factor k.
    QPoint PointOf(int m, Extended theta, Extended k) const;
    int Radius() const { return Round(H / 280.0L * t); }

protected:
    void FreeBitmaps() override;

private:
    void DrawUniverse();
    void Advance();
    void Finish();

    Canvas pc;
    int H = 0;
};

extern Tespanduni *espanduni;
SimWindow *CreateEspanduni(QWidget *owner);
