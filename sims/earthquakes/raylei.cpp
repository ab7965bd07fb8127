#include "raylei.h"

#include "globals.h"
#include "language/texts.h"
#include "viewswitch.h"

#include <QFrame>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <array>
#include <cmath>

Tonder *onder = nullptr;

SimWindow *CreateOnder(QWidget *owner)
{
    onder = new Tonder(owner);
    return onder;
}

static const SimRegistration registration("D4", CreateOnder);

namespace {
constexpr TColor Grey = RGB(128, 128, 128);
} // namespace

Tonder::Tonder(QWidget *owner)
    : SimWindow(owner, 20, 5, QStringLiteral("Vastara/terremoti.htm#rayleigh"))
{
    setObjectName(QStringLiteral("onder"));
    Color = clBackground;
    QToolBar *bar1 = AddToolBar();
    AddPausa(bar1, 21);
    QToolBar *bar2 = AddToolBar();
    AddCadenza(bar2, 100);
    QToolBar *bar3 = AddToolBar();
    eviden = AddSpeedButton(bar3, QStringLiteral("pagelines"), 9, true, "eviden");
    connect(eviden, &QToolButton::clicked, this, [this] { evidenClick(); });
    AddGuida(bar3);
    ShowOwnHint(eviden);
    ShowBarAtCreation();
    SetActiveControl(cadenza);
    Bevel1 = AddPictureBevel("Bevel1", [this] {
        return QRect(PictureOrigin(), QSize(Div(ClientWidth(), 2), Div(3 * ClientHeight(), 8)));
    });
    sweep = new ViewSwitch(this, "Timer1", {eviden});
    sweep->end = [this] { return W; };
}

Tonder::~Tonder()
{
    if (onder == this)
        onder = nullptr;
}

int Tonder::ViewMode() const
{
    return sweep->mode;
}

int Tonder::SweepX() const
{
    return sweep->progress;
}

QPoint Tonder::PictureOrigin() const
{
    return QPoint(Div(ClientWidth(), 4), Div(5 * ClientHeight(), 16));
}

void Tonder::FormCreate()
{
    SimWindow::FormCreate();
    cadenza->setValue(100);
    tempo->setInterval(100);
    scaleY = Real(ClientHeight() / 600.0L);
    scaleX = Real(ClientWidth() / 800.0L);
    sweep->mode = ViewSwitch::ShowingFirst;
    sweep->progress = 0;
    // The pictures keep the size the window has now.
    W = Div(ClientWidth(), 2);
    H3 = Div(3 * ClientHeight(), 8);
    CH = ClientHeight();
    normalView = NewBitmap(W, H3, clBlack);
    highlightView = NewBitmap(W, H3, clBlack);
    phase = 1;
}

void Tonder::FormClose()
{
    sweep->Cancel();
    SimWindow::FormClose();
}

void Tonder::FreeBitmaps()
{
    normalView = highlightView = QImage();
}

QPoint Tonder::Particle(Extended x, Extended y, int row, Extended c, Extended s) const
{
    return QPoint(Round(x * scaleX - PathHalfWidth[row] * c * scaleY), Round((y + PathHalfHeight[row] * s) * scaleY));
}

QPoint Tonder::SurfacePoint(int k) const
{
    const Extended f = Phi(k);
    return Particle(610 - 6 * k, 85, 0, std::cos(f), std::sin(f));
}

QPoint Tonder::DepthPoint(int i, int k) const
{
    const Extended f = Phi(k);
    return Particle(570 - 6 * k, 110 + 20 * i, i, std::cos(f), std::sin(f));
}

namespace {
// The wave repeats every 64 columns: the cosine and sine of pi j / 32 for j = 0 .. 63.
struct WaveTable {
    std::array<Extended, 64> cos, sin;
    WaveTable()
    {
        for (int j = 0; j < 64; ++j) {
            cos[j] = std::cos(Pi * j / 32);
            sin[j] = std::sin(Pi * j / 32);
        }
    }
};
const WaveTable &Wave()
{
    static const WaveTable table;
    return table;
}
} // namespace

void Tonder::TakePoints()
{
    const WaveTable &wave = Wave();
    for (int k = 25; k <= LastColumn + 1; ++k) {
        const int j = (phase + k) & 63;
        const Extended c = wave.cos[j], s = wave.sin[j];
        surface[k] = Particle(610 - 6 * k, 85, 0, c, s);
        for (int i = 0; i < 3; ++i)
            depth[i][k] = Particle(570 - 6 * k, 110 + 20 * i, i, c, s);
    }
}

QPoint Tonder::LineStart(int i) const
{
    // The depth lines come in from beyond the right edge of the picture; the height of
    // their start is scaled twice, which never shows, as the start lies right of the
    // picture at any size.
    const Extended psi = Pi * phase / 32 + Pi * (i - 5) / 40;
    const Extended x = (550 - 6 * i) * Extended(scaleX) - PathHalfWidth[i] * std::cos(psi) * scaleY;
    const Extended y = ((18 - 7 * i) * std::sin(psi) + 110 * Extended(scaleY) + 20 * i) * scaleY;
    return QPoint(Round(x), Round(y));
}

QRect Tonder::PathBox(int s, int i) const
{
    // The marked particles of depth i run round (96 s - 6, 110 + 20 i) with the half-axes of
    // their row: the box is centred on the orbit centre at any scale, and its width is scaled
    // like its height, as the particles' own motion is.
    static constexpr int Top[3] = {92, 119, 146};
    static constexpr int Height[3] = {36, 22, 8};
    const Extended halfWidth = std::abs(PathHalfWidth[i]) * scaleY;
    const Extended centre = (96 * s - 6) * Extended(scaleX);
    return QRect(Round(centre - halfWidth), Round(Top[i] * Extended(scaleY)), Round(2 * halfWidth),
                 Round(Height[i] * Extended(scaleY)));
}

void Tonder::evidenClick()
{
    // The button has toggled itself: its state gives the direction of the sweep.
    sweep->Request();
}

void Tonder::DrawViews()
{
    const bool onNormal = sweep->DrawsFirst();
    const bool onHighlight = sweep->DrawsSecond();
    Canvas n(&normalView), h(&highlightView);
    if (onNormal) {
        n.brush.Color = clBlack;
        n.FillRect(0, 0, W, H3);
    }
    if (onHighlight) {
        h.brush.Color = clBlack;
        h.FillRect(0, 0, W, H3);
    }

    TakePoints();
    // The ground body between the surface and the deepest line, a maroon quadrilateral a
    // column. The quadrilaterals side by side fill the band between the two lines, so the band
    // is filled at once and each quadrilateral then gets its own outline.
    n.pen.Color = clMaroon;
    n.brush.Color = clMaroon;
    auto surfaceCorner = [this](int k) {
        QPoint s = surface[k];
        if (s.x() < 0)
            s.setX(0);
        return s;
    };
    QVector<QPoint> band;
    band.reserve(2 * (LastColumn - FirstColumn + 2));
    for (int k = FirstColumn; k <= LastColumn + 1; ++k)
        band.append(k <= LastColumn ? surfaceCorner(k) : surface[k]);
    for (int k = LastColumn + 1; k >= FirstColumn; --k)
        band.append(depth[2][k]);
    n.pen.Style = PenStyle::Clear;
    n.Polygon(band);
    n.pen.Style = PenStyle::Solid;
    n.brush.Style = BrushStyle::Clear;
    for (int k = FirstColumn; k <= LastColumn; ++k)
        n.Polygon({surfaceCorner(k), depth[2][k], depth[2][k + 1], surface[k + 1]});
    n.brush.Style = BrushStyle::Solid;
    n.pen.Color = clRed;

    // The depth lines, with the marked particles in the highlighted view.
    for (int i = 0; i < 3; ++i) {
        const QPoint e = LineStart(i);
        n.MoveTo(e.x(), e.y());
        h.MoveTo(e.x(), e.y());
        for (int k = 26 + i; k <= LastColumn; ++k) {
            QPoint p = depth[i][k];
            if (i == 2 && p.x() < 0)
                p.setX(0);
            if (onNormal)
                n.LineTo(p.x(), p.y());
            if (onHighlight) {
                h.pen.Color = clSilver;
                h.LineTo(p.x(), p.y());
                if (k % 16 == 0) {
                    h.pen.Color = clRed;
                    h.brush.Color = clRed;
                    h.Ellipse(p.x() - 3, p.y() - 3, p.x() + 3, p.y() + 3);
                }
            }
        }
    }

    // The right end of the block.
    if (onHighlight) {
        const QPoint a = LineStart(0), b = LineStart(2);
        n.brush.Color = clMaroon;
        n.Rectangle(a.x(), a.y(), b.x(), b.y());
    }
    h.pen.Color = clSilver;

    auto lines = [&](auto &&draw) {
        if (onNormal)
            draw(n);
        if (onHighlight)
            draw(h);
    };
    // The surface.
    lines([&](Canvas &c) {
        const Extended f = Pi * phase / 32;
        const QPoint start = Particle(570, 110, 0, std::cos(f), std::sin(f));
        c.MoveTo(start.x(), start.y());
        for (int k = FirstColumn; k <= LastColumn; ++k) {
            QPoint s = surface[k];
            if (s.x() < 0)
                s.setX(0);
            c.LineTo(s.x(), s.y());
        }
    });
    // The columns down the front face, and their edges receding to the surface.
    lines([&](Canvas &c) {
        for (int k = 25; k <= 124; k += 3) {
            const QPoint d0 = depth[0][k], d1 = depth[1][k], d2 = depth[2][k];
            c.MoveTo(d0.x(), d0.y());
            c.LineTo(d1.x(), d1.y());
            c.LineTo(d2.x(), d2.y());
        }
    });
    lines([&](Canvas &c) {
        const QPoint back(Round(40 * Extended(scaleX)), -Round(25 * Extended(scaleY)));
        for (int k = 25; k <= 124; k += 3) {
            const QPoint d0 = depth[0][k];
            c.MoveTo(d0.x(), d0.y());
            c.LineTo(d0.x() + back.x(), d0.y() + back.y());
        }
    });

    // The paths of the marked particles.
    if (onHighlight) {
        h.pen.Color = clRed;
        h.brush.Style = BrushStyle::Clear;
        for (int s = 0; s <= 6; ++s)
            for (int i = 0; i < 3; ++i) {
                const QRect b = PathBox(s, i);
                h.Ellipse(b.x(), b.y(), b.x() + b.width(), b.y() + b.height());
            }
    }
}

void Tonder::ShowPicture(bool paused)
{
    const QPoint o = PictureOrigin();
    switch (sweep->mode) {
    case ViewSwitch::ShowingFirst:
        canvas.Draw(o.x(), o.y(), normalView);
        break;
    case ViewSwitch::ShowingSecond:
        canvas.Draw(o.x(), o.y(), highlightView);
        break;
    default: {
        eviden->setEnabled(false);
        const int x = sweep->progress;
        const int top = Div(CH, 9), bottom = Div(7 * CH, 24);
        if (W > x) {
            if (!sweep->toSecond) {
                // Back to the normal view, growing from the left behind a red line.
                {
                    Canvas n(&normalView);
                    n.pen.Color = clRed;
                    n.pen.Width = 2;
                    n.Line(x - 1, top, x - 1, bottom);
                }
                Canvas h(&highlightView);
                h.CopyRect(Rect(0, 0, x, H3), normalView, Rect(0, 0, x, H3));
                h.flush();
                canvas.Draw(o.x(), o.y(), highlightView);
            } else {
                // Over to the highlighted view, growing from the right behind a grey line.
                {
                    Canvas h(&highlightView);
                    h.pen.Color = Grey;
                    h.pen.Width = 2;
                    h.Line(W - x + 1, top, W - x + 1, bottom);
                }
                Canvas n(&normalView);
                n.CopyRect(Rect(W - x, 0, W, H3), highlightView, Rect(W - x, 0, W, H3));
                n.flush();
                canvas.Draw(o.x(), o.y(), normalView);
            }
        } else {
            // The sweep has crossed the picture.
            sweep->Finish(-1);
        }
        sweep->Advance(paused, 2);
        break;
    }
    }
}

void Tonder::tempoTimer()
{
    if (normalView.isNull())
        return;
    const bool paused = pausa->isChecked();
    if (!paused)
        DrawViews();
    ShowPicture(paused);
    if (!paused)
        phase = (phase + 1) & 63;
}
