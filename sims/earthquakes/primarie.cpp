#include "primarie.h"

#include "globals.h"
#include "language/texts.h"
#include "numeric.h"

#include <QFrame>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>

Tondep *ondep = nullptr;

SimWindow *CreateOndep(QWidget *owner)
{
    ondep = new Tondep(owner);
    return ondep;
}

static const SimRegistration registration("D1", CreateOndep);

Tondep::Tondep(QWidget *owner)
    : SimWindow(owner, 19, 2, QStringLiteral("Vastara/terremoti.htm#primarie"))
{
    setObjectName(QStringLiteral("ondep"));
    Color = clBackground;
    QToolBar *bar1 = AddToolBar();
    AddPausa(bar1, 22);
    QToolBar *bar2 = AddToolBar();
    AddCadenza(bar2, 150);
    QToolBar *bar3 = AddToolBar();
    eviden = AddSpeedButton(bar3, QStringLiteral("pagelines"), 9, true, "eviden");
    AddGuida(bar3);
    Bevel1 = AddPictureBevel("Bevel1", [this] {
        return QRect(PictureOrigin(), QSize(Div(ClientWidth(), 2), Div(3 * ClientHeight(), 8)));
    });
}

Tondep::~Tondep()
{
    if (ondep == this)
        ondep = nullptr;
}

QPoint Tondep::PictureOrigin() const
{
    return QPoint(Div(ClientWidth(), 4), Div(5 * ClientHeight(), 16));
}

void Tondep::FormCreate()
{
    SimWindow::FormCreate();
    cadenza->setValue(150);
    tempo->setInterval(200 - 150);
    // The pictures keep the size the window has now.
    W = Div(ClientWidth(), 2);
    PH = Div(3 * ClientHeight(), 8);
    for (QImage &f : frames)
        f = NewBitmap(W, PH, clBlack);
    frameIndex = 0;
}

int Tondep::LastPlane(int w)
{
    // Plane k stands within 5 px of w - 11 k and its trace on the top face reaches 40 px right.
    return std::max(50, Div(w + 45, 11) + 1);
}

void Tondep::DrawPicture(QImage &picture, int f, int &xPlane20, int &xPlane21)
{
    const int w = picture.width();
    const int h = picture.height();
    Canvas c(&picture);
    c.pen.Color = RGB(255, 0, 0);
    c.brush.Color = clBlack;
    // Top and bottom edges of the slab's front face.
    c.Line(0, 70, w, 70);
    c.Line(0, 130, w, 130);
    // The rock, and the black above and below it.
    c.brush.Color = clMaroon;
    c.FillRect(0, 71, w, 129);
    c.brush.Color = clBlack;
    c.FillRect(0, 0, w, 69);
    c.FillRect(0, 131, w, h);
    for (int y : {98, 106, 114, 122})
        c.Line(0, y, w, y);
    // Planes 11 px apart from the right edge, each displaced by up to 5 px along the slab.
    const int last = LastPlane(w);
    for (int k = 0; k <= last; ++k) {
        const int x = Round(w - 11 * k + 5 * std::sin(Pi * (f + k) / 5));
        if (k == 20)
            xPlane20 = x;
        if (k == 21)
            xPlane21 = x;
        c.MoveTo(x, 130);
        c.LineTo(x, 98);
        c.LineTo(x + 40, 70);
    }
}

void Tondep::Prepare()
{
    for (int f = 0; f < FrameCount; ++f) {
        if (f >= 10) {
            // A wavelength on: the same picture.
            frames[f] = frames[f - 10];
            edgeA[f] = edgeA[f - 10];
            edgeB[f] = edgeB[f - 10];
        } else {
            DrawPicture(frames[f], f, edgeA[f], edgeB[f]);
        }
    }
    canvas.brush.Color = clWhite;
    frameIndex = 0;
}

void Tondep::tempoTimer()
{
    const QPoint o = PictureOrigin();
    canvas.Draw(o.x(), o.y(), frames[frameIndex]);
    if (eviden->isChecked()) {
        const int a = o.x() + edgeA[frameIndex];
        const int b = o.x() + edgeB[frameIndex];
        canvas.FillRect(qMin(a, b), o.y() + 106, qMax(a, b), o.y() + 114);
    }
    if (!pausa->isChecked())
        frameIndex = (frameIndex + 1) % FrameCount;
}

void Tondep::FreeBitmaps()
{
    for (QImage &f : frames)
        f = QImage();
}
