#include "love.h"

#include "globals.h"

#include <QFrame>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <QVarLengthArray>
#include <QVector>
#include <algorithm>
#include <cmath>

Tondel *ondel = nullptr;

SimWindow *CreateOndel(QWidget *owner)
{
    ondel = new Tondel(owner);
    return ondel;
}

static const SimRegistration registration("D3", CreateOndel);

Tondel::Tondel(QWidget *owner)
    : SimWindow(owner, 11, 4, QStringLiteral("Vastara/terremoti.htm#love"))
{
    setObjectName(QStringLiteral("ondel"));
    Color = clBackground;
    HideTitleButtons();
    ShowBarAtCreation();
    QToolBar *bar1 = AddToolBar();
    AddPausa(bar1, 21);
    QToolBar *bar2 = AddToolBar();
    AddCadenza(bar2, 120);
    QToolBar *bar3 = AddToolBar();
    AddGuida(bar3);
    ShowOwnHint(pausa);
    ShowOwnHint(cadenza);
    SetActiveControl(cadenza);
    Bevel1 = AddPictureBevel("Bevel1", [this] { return QRect(X0, Y0, W, H3); });
}

Tondel::~Tondel()
{
    if (ondel == this)
        ondel = nullptr;
}

void Tondel::FormCreate()
{
    SimWindow::FormCreate();
    // The interval starts at 100 ms and follows the track bar only once it is moved.
    cadenza->setValue(120);
    tempo->setInterval(100);
    CW = ClientWidth();
    CH = ClientHeight();
    W = Div(CW, 2);
    H3 = Div(3 * CH, 8);
    X0 = Div(CW, 4);
    Y0 = Div(5 * CH, 16);
    PlaceBevels();
    picture = NewBitmap(W, H3, clBlack);
}

int Tondel::LastColumn(int w)
{
    // The front edges lie furthest left: the vertex of column b is at x >= 19 (b - 2) - 50 sin 72°,
    // and 50 sin 72° is under 48 px. The last vertex must lie past the right edge.
    return std::max(40, Div(w + 48 + 18, 19) + 2);
}

void Tondel::DrawPicture(QImage &picture, int t)
{
    const int w = picture.width();
    const int last = LastColumn(w);
    const Extended theta = 2 * Pi / 5;
    const Extended s = std::sin(theta), c = std::cos(theta);
    // Sideways displacement of column b, worked out once a column.
    QVarLengthArray<Real, 128> shift(last + 2);
    for (int b = 0; b <= last + 1; ++b)
        shift[b] = Real(15 * std::sin(Pi * b / 10 + Pi * t / 20));
    auto d = [&shift](int b) { return shift[b]; };
    // A point of column b at depth offset h (-35 back of the top face, +35 its front).
    auto P = [&](int b, int h) {
        const Extended e = d(b) + Extended(h);
        return QPoint(Round(19 * (b - 3) - s * e), Round(80 + c * e));
    };
    // The front lines: the front corner of column b, one column further right.
    auto F = [&](int b, int y0) {
        const Extended e = d(b) + Extended(35);
        return QPoint(Round(19 * (b - 2) - s * e), Round(y0 + c * e));
    };

    Canvas k(&picture);
    k.brush.Color = clBlack;
    k.FillRect(0, 0, w, picture.height());
    k.brush.Color = clMaroon;
    k.pen.Color = clMaroon;
    // The slab, a quadrilateral a column down to the base line: side by side they fill the
    // band under the back edge, which is filled at once; each then gets its own outline.
    QVector<QPoint> band;
    band.reserve(last + 4);
    for (int b = 0; b <= last + 1; ++b)
        band << P(b, -35);
    band << QPoint(band.last().x(), 130) << QPoint(band.first().x(), 130);
    k.pen.Style = PenStyle::Clear;
    k.Polygon(band);
    k.pen.Style = PenStyle::Solid;
    k.brush.Style = BrushStyle::Clear;
    for (int b = 0; b <= last; ++b) {
        const QPoint a = P(b, -35), z = P(b + 1, -35);
        k.Polygon({a, z, QPoint(z.x(), 130), QPoint(a.x(), 130)});
    }
    k.brush.Style = BrushStyle::Solid;
    k.pen.Color = RGB(255, 0, 0);
    k.Line(0, 130, w, 130);
    QVector<QPoint> back;
    for (int b = 0; b <= last; ++b)
        back << P(b, -35);
    k.Polyline(back);
    for (int b = 0; b <= last; ++b) {
        const QPoint top = P(b, -35);
        k.MoveTo(19 * b - 90, 130);
        const QPoint front = P(b, 35);
        k.LineTo(front.x(), front.y());
        k.LineTo(top.x(), top.y() + 1);
    }
    for (int y0 : {80, 100}) {
        QVector<QPoint> line;
        for (int b = 0; b <= last; ++b)
            line << F(b, y0);
        k.Polyline(line);
    }
}

void Tondel::tempoTimer()
{
    if (!pausa->isChecked()) {
        DrawPicture(picture, phase);
        phase = (phase + 1) % Period;
    }
    canvas.Draw(X0, Y0, picture);
}

void Tondel::FreeBitmaps()
{
    picture = QImage();
}
