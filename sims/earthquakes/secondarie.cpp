#include "secondarie.h"

#include "globals.h"
#include "numeric.h"

#include <QFrame>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tondes *ondes = nullptr;

SimWindow *CreateOndes(QWidget *owner)
{
    ondes = new Tondes(owner);
    return ondes;
}

static const SimRegistration registration("D2", CreateOndes);

Tondes::Tondes(QWidget *owner)
    : SimWindow(owner, 21, 3, QStringLiteral("Vastara/terremoti.htm#secondarie"))
{
    setObjectName(QStringLiteral("ondes"));
    Color = clBackground;
    HideTitleButtons();
    QToolBar *bar1 = AddToolBar();
    AddPausa(bar1, 21);
    QToolBar *bar2 = AddToolBar();
    AddCadenza(bar2, 100);
    QToolBar *bar3 = AddToolBar();
    evidenzia = AddSpeedButton(bar3, QStringLiteral("pagelines"), 9, true, "evidenzia");
    AddGuida(bar3);
    Bevel1 = AddPictureBevel("Bevel1", [this] { return QRect(X0, Y0, W, H3); });
}

Tondes::~Tondes()
{
    if (ondes == this)
        ondes = nullptr;
}

void Tondes::FormCreate()
{
    SimWindow::FormCreate();
    // Ten pictures a second, one column each: 130 px/s, against the P window's 220 px/s.
    cadenza->setValue(100);
    tempo->setInterval(200 - 100);
    // The pictures and their place keep the size the window has now.
    CW = ClientWidth();
    CH = ClientHeight();
    W = Div(CW, 2);
    H3 = Div(3 * CH, 8);
    X0 = Div(CW, 4);
    Y0 = H3;
    PlaceBevels();
    for (QImage &f : frames)
        f = NewBitmap(W, H3, clBlack);
}

int Tondes::g(int b, int f, int ch)
{
    const int c = Div(ch, 8);
    return Round(c - 3 * std::sin(Pi * b / 8 + Pi * f / 8));
}

void Tondes::DrawPicture(QImage &picture, int f, int cw, int ch, int &cellLeft, int &cellRight)
{
    const int h3 = picture.height();
    const int c = Div(ch, 8);
    const int last = Div(cw, 18);
    // Bottom of the slab under column b: the top of the next column, 72 px lower.
    auto g1 = [&](int b) { return Round(c + 72 - 3 * std::sin(Pi * (b + 1) / 8 + Pi * f / 8)); };
    Canvas k(&picture);
    // The rock first: a column's sides slant, and where the wave lifts one column above its
    // neighbour the two sheared sides leave a sliver that neither column covers.
    k.brush.Color = clMaroon;
    k.FillRect(0, 0, picture.width(), h3);
    // Each column: black above the slab, the rock, black below.
    for (int b = -3; b <= last + 30; ++b) {
        const int x = 13 * b;
        const int top = g(b, f, ch), bottom = g1(b);
        k.pen.Color = clBlack;
        k.brush.Color = clBlack;
        k.Polygon({QPoint(x + 30, 0), QPoint(x + 43, 0), QPoint(x + 43, top), QPoint(x + 30, top)});
        k.pen.Color = clMaroon;
        k.brush.Color = clMaroon;
        k.Polygon({QPoint(x + 30, top), QPoint(x + 43, top), QPoint(x + 13, bottom), QPoint(x, bottom)});
        k.pen.Color = clBlack;
        k.brush.Color = clBlack;
        k.Polygon({QPoint(x, bottom), QPoint(x + 13, bottom), QPoint(x + 13, h3), QPoint(x, h3)});
    }
    k.pen.Color = RGB(255, 0, 0);
    // Lower front edge and back edge.
    k.MoveTo(-30, c);
    for (int b = -3; b <= last + 30; ++b)
        k.LineTo(13 * b, g(b, f, ch) + 72);
    k.MoveTo(-30, c - 72);
    for (int b = -3; b <= last; ++b)
        k.LineTo(13 * b + 30, g(b, f, ch));
    // Four grid lines on the front face; the cell between lines 2 and 3 at column 10 is the
    // one highlighted.
    for (int j = 1; j <= 4; ++j) {
        k.MoveTo(-30, c + 26 + 9 * j);
        for (int b = 0; b <= last; ++b) {
            if (j == 2 && b == 10) {
                cellLeft = g(10, f, ch) + 45;
                cellRight = g(11, f, ch) + 45;
            }
            k.LineTo(13 * b, g(b, f, ch) + 26 + 9 * j);
        }
    }
    // Column edges across the top face and down the front face.
    for (int b = -3; b <= last; ++b) {
        const int top = g(b, f, ch);
        k.MoveTo(13 * b + 30, top);
        k.LineTo(13 * b, top + 36);
        k.LineTo(13 * b, top + 72);
    }
}

void Tondes::Prepare()
{
    for (int f = 0; f < FrameCount; ++f) {
        int left = 0, right = 0;
        DrawPicture(frames[f], f, CW, CH, left, right);
        cellLeftY[f] = Y0 + left;
        cellRightY[f] = Y0 + right;
    }
    canvas.brush.Color = clWhite;
    canvas.pen.Color = RGB(255, 0, 0);
    frameIndex = 0;
}

void Tondes::tempoTimer()
{
    canvas.Draw(X0, Y0, frames[frameIndex]);
    if (evidenzia->isChecked()) {
        const int l = cellLeftY[frameIndex], r = cellRightY[frameIndex];
        canvas.Polygon({QPoint(X0 + 130, l), QPoint(X0 + 143, r), QPoint(X0 + 143, r + 9), QPoint(X0 + 130, l + 9)});
    }
    if (!pausa->isChecked())
        frameIndex = (frameIndex + 1) % FrameCount;
}

void Tondes::FreeBitmaps()
{
    for (QImage &f : frames)
        f = QImage();
}
