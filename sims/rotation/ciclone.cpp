#include "ciclone.h"

#include "globals.h"
#include "language/texts.h"

#include <QApplication>
#include <QComboBox>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tciclon *ciclon = nullptr;

SimWindow *CreateCiclon(QWidget *owner)
{
    ciclon = new Tciclon(owner);
    return ciclon;
}

static const SimRegistration registration("E6", CreateCiclon);

Tciclon::Tciclon(QWidget *owner)
    : SimWindow(owner, 30, 14, QStringLiteral("Vastara/moti.htm#ciclone"))
{
    setObjectName(QStringLiteral("ciclon"));
    Color = clBlack;
    NameAnimation("cadenza");

    QToolBar *bar1 = AddToolBar("ToolBar1");
    AddPausa(bar1, 21);
    AddCadenza(bar1, 100, 5, 195, "velo");
    QToolBar *bar2 = AddToolBar("ToolBar2");
    vista = AddDropDown(bar2, {controlText(29), controlText(30), controlText(32)}, 38, "vista", true);
    QToolBar *bar4 = AddToolBar("ToolBar4");
    nuovo = AddToolButton(bar4, 29, 0, false, "nuovo");
    // No tooltip here, but a screen reader still names the button.
    nuovo->setAccessibleName(shortHint(controlText(4)));
    QToolBar *bar3 = AddToolBar("ToolBar3");
    AddGuida(bar3);
    // The list is as wide as its widest item plus room for its arrow.
    FitDropDown(vista, nuovo->sizeHint().width() + 7);

    connect(vista, &QComboBox::currentIndexChanged, this, [this] { vistaChange(); });
    connect(vista, &QComboBox::activated, this, [this] { vistaChange(); });
    connect(nuovo, &QToolButton::clicked, this, [this] {
        nuovoClick();
        Refresh();
    });
    AddSotto();
}

Tciclon::~Tciclon()
{
    if (ciclon == this)
        ciclon = nullptr;
}

void Tciclon::FormCreate()
{
    SimWindow::FormCreate();
    cadenza->setValue(100);
    tempo->setInterval(100);
    // Started by the first pictures; afterwards it runs again at activation only if it was
    // running when the window lost its turn.
    RememberTimer(tempo, false);
    vista->setCurrentIndex(0);
    viewKind = 0;
    frameIndex = 0;
    // The pictures keep the size the window has now.
    FW = Div(ClientWidth(), 2);
    FH = ClientHeight();
    for (QImage &f : frames)
        f = NewBitmap(FW, FH, clWhite);
    canvas.pen.Color = clBlack;
    canvas.brush.Color = clBlack;
}

void Tciclon::Prepare()
{
    nuovoClick();
}

void Tciclon::FreeBitmaps()
{
    for (QImage &f : frames)
        f = QImage();
}

void Tciclon::vistaChange()
{
    nuovo->setEnabled(true);
}

void Tciclon::DrawAxonometric(std::array<QImage, FrameCount> &pictures, int w, int h)
{
    const int horizon = Div(7 * h, 12);
    const int centre = Div(w, 2);
    for (QImage &picture : pictures) {
        Canvas c(&picture);
        c.pen.Color = clAqua;
        c.Line(0, horizon, w, horizon);
        c.brush.Color = clAqua;
        c.FillRect(0, 0, w, horizon);
        c.brush.Color = clLime;
        c.FillRect(0, horizon, w, h);
    }
    // Six helical arms of air parcels, rising from the ground; the funnel is widest near
    // the ground and narrowest halfway up. Picture n is the helix turned by n pi/80 and
    // raised by n/4 pixel.
    const int ground = Div(4 * h, 5);
    const int top = Div(h, 5) - Div(h, 35);
    int y = ground;
    for (int j = 1; y > top; j += 4) {
        // Where the sine below vanishes the funnel's radius is infinite: those parcels lie
        // outside any picture and are left out.
        const Extended s = std::sin(j * Pi / (2.5L * h));
        const Extended rho = s == 0 ? HUGE_VALL : h / (20 * s);
        for (int e = 0; e <= 5; ++e) {
            for (int n = 0; n < FrameCount; ++n) {
                const Extended angle = (j + n) * Pi / 80 + e * Pi / 3;
                y = ground - Round((j + n) / 4.0L + Round((h / 16.0L) * std::sin(angle)));
                const Extended dx = rho * std::cos(angle);
                if (!std::isfinite(dx) || std::fabs(dx) > w)
                    continue;
                const QPoint at(centre + Round(dx), y);
                if (pictures[n].rect().contains(at))
                    pictures[n].setPixel(at, qRgb(0, 0, 0));
            }
        }
    }
}

void Tciclon::DrawSection(std::array<QImage, FrameCount> &pictures, int w, int h, bool aloft)
{
    const int cx = Div(w, 2), cy = Div(h, 2);
    const int sigma = aloft ? -1 : 1;
    for (int n = 0; n < FrameCount; ++n) {
        Canvas c(&pictures[n]);
        c.brush.Color = aloft ? clAqua : clLime;
        c.FillRect(0, 0, w, h);
        // The core.
        c.pen.Color = c.brush.Color = aloft ? clTeal : clGreen;
        c.Ellipse(cx - 30, cy - 30, cx + 30, cy + 30);
        // Seven arms of dots (the seventh lies on the first) winding out from the core.
        c.pen.Color = c.brush.Color = clBlack;
        Extended delta = 0;
        for (int r = 0; r < 560; r += 5) {
            for (int e = 0; e <= 6; ++e) {
                const Extended rho = 0.3L * (n + r) + 30;
                const Extended angle = (n + r) * Pi / 90 + e * Pi / 3 + delta;
                const int x = cx + Round(rho * std::cos(angle));
                const int y = cy + sigma * Round(rho * std::sin(angle));
                c.Ellipse(x - 2, y - 2, x + 2, y + 2);
            }
            delta += 0.02L;
        }
    }
}

void Tciclon::nuovoClick()
{
    viewKind = quint8(vista->currentIndex() < 0 ? 0 : vista->currentIndex());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (viewKind == 0)
        DrawAxonometric(frames, FW, FH);
    else
        DrawSection(frames, FW, FH, viewKind == 2);
    canvas.Rectangle(0, 0, ClientWidth(), ClientHeight());
    QApplication::restoreOverrideCursor();
    frameIndex = 0;
    nuovo->setEnabled(false);
    tempo->start();
}

void Tciclon::tempoTimer()
{
    if (pausa->isChecked())
        return;
    const int f = frameIndex, back = FrameCount - 1 - f;
    // The cyclone turns one way, the anticyclone the other.
    const int left = viewKind == 1 ? back : f;
    const int right = viewKind == 1 ? f : back;
    canvas.Draw(0, 0, frames[left]);
    canvas.Draw(FW, 0, frames[right]);
    frameIndex = quint8((f + 1) % FrameCount);
}
