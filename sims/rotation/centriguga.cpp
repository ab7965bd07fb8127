#include "centriguga.h"

#include "globals.h"
#include "language/texts.h"
#include "numeric.h"

#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

TCenfuga *Cenfuga = nullptr;

SimWindow *CreateCenfuga(QWidget *owner)
{
    Cenfuga = new TCenfuga(owner);
    return Cenfuga;
}

static const SimRegistration registration("E1", CreateCenfuga);

TCenfuga::TCenfuga(QWidget *owner)
    : SimWindow(owner, 3, 8, QStringLiteral("Vastara/moti.htm#centrifuga"))
{
    setObjectName(QStringLiteral("Cenfuga"));
    Color = clBlack;

    QToolBar *bar1 = AddToolBar("ToolBar1");
    AddPausa(bar1, 21);
    QToolBar *bar2 = AddToolBar("ToolBar2");
    AddCadenza(bar2, 90);
    QToolBar *bar3 = AddToolBar("ToolBar3");
    antiorario = AddSpeedButton(bar3, QStringLiteral("turn_anticlockwise"), 15, true, "antiorario");
    orario = AddSpeedButton(bar3, QStringLiteral("turn_clockwise"), 16, true, "orario");
    ExclusiveGroup({antiorario, orario});
    antiorario->setChecked(true);
    traiet = AddSpeedButton(bar3, QStringLiteral("figure_trail"), 7, true, "traiet");
    disegna = AddToolButton(bar3, 2, 3, false, "disegna");
    sgancia = AddToolButton(bar3, 5, 17, false, "sgancia");
    ncorpi = new QSpinBox(bar3);
    ncorpi->setObjectName(QStringLiteral("ncorpi"));
    ncorpi->setRange(1, 2);
    ncorpi->setValue(1);
    ncorpi->setMinimumWidth(30);
    ncorpi->setCursor(Qt::ArrowCursor);
    SetHint(ncorpi, controlText(12));
    bar3->addWidget(ncorpi);
    AddGuida(bar3);

    connect(antiorario, &QToolButton::clicked, this, [this] { antiorarioClick(); });
    connect(orario, &QToolButton::clicked, this, [this] { orarioClick(); });
    connect(traiet, &QToolButton::clicked, this, [this] { traietClick(); });
    connect(disegna, &QToolButton::clicked, this, [this] {
        disegnaClick();
        Refresh();
    });
    connect(sgancia, &QToolButton::clicked, this, [this] {
        sganciaClick();
        Refresh();
    });
    connect(ncorpi, &QSpinBox::valueChanged, this, [this] { ncorpiChanged(); });

    // Activation gives the timer back only if it was running at deactivation.
    RememberTimer(tempo, false);
}

TCenfuga::~TCenfuga()
{
    pc.setTarget(nullptr);
    if (Cenfuga == this)
        Cenfuga = nullptr;
}

void TCenfuga::FormCreate()
{
    SimWindow::FormCreate();
    tempo->stop();
    tempo->setInterval(90);
    anticlockwise = true;
    keepTrail = false;
    bodyCountChoice = 1;
    bodyCount = 1;
    sense = 1;
    attached = true;
    step = 0;
    pc.setTarget(nullptr);
    picture = NewBitmap(ClientWidth(), ClientHeight(), clBlack);
    pc.setTarget(&picture);
    StartPositions();
    canvas.Draw(0, 0, picture);
}

void TCenfuga::StartPositions()
{
    const int W = ClientWidth(), H = ClientHeight();
    const Extended phi = 0.001L;
    releaseX1 = x1 = Div(W, 2) + Round(H / 8.0L * std::cos(phi));
    releaseY1 = y1 = Div(H, 2) - sense * Round(H / 8.0L * std::sin(phi));
    releaseX2 = x2 = Div(W, 2) + Round(H / 4.0L * std::cos(phi + Pi));
    releaseY2 = y2 = Div(H, 2) - sense * Round(H / 4.0L * std::sin(phi + Pi));
    lastStep = 0;
}

void TCenfuga::ncorpiChanged()
{
    bodyCountChoice = ncorpi->value();
}

void TCenfuga::disegnaClick()
{
    disegna->setEnabled(false);
    tempo->start();
    attached = true;
    pausa->setEnabled(true);
    bodyCount = quint8(bodyCountChoice);
    step = 0;
    sense = anticlockwise ? 1 : -1;
    StartPositions();
    x1 = -10;
    y1 = -10;
    pc.brush.Color = clBlack;
    pc.FillRect(0, 0, picture.width(), picture.height());
}

void TCenfuga::sganciaClick()
{
    attached = false;
    pc.pen.Color = clBlack;
    if (bodyCount == 1)
        pc.MoveTo(Div(ClientWidth(), 2), Div(ClientHeight(), 2));
    else
        pc.MoveTo(x2, y2);
    pc.LineTo(releaseX1, releaseY1);
    step = bodyCount % 2;
}

void TCenfuga::tempoTimer()
{
    if (picture.isNull())
        return;
    const int W = ClientWidth(), H = ClientHeight();
    const int ox = Div(W, 2), oy = Div(H, 2);
    if (!pausa->isChecked()) {
        if (x1 > W + 10 || x1 < -10 || y1 < -10 || y1 > H + 10) {
            // Body 1 has left the window: the run is over.
            tempo->stop();
            disegna->setEnabled(true);
        } else {
            pc.brush.Color = clBlack;
            if (!keepTrail)
                pc.FillRect(0, 0, W, H);
            pc.brush.Color = clWhite;
            if (attached) {
                // Take off the old string, then whirl on by a twelfth of a turn.
                pc.pen.Color = clBlack;
                if (bodyCount == 1)
                    pc.MoveTo(ox, oy);
                else
                    pc.MoveTo(x2, y2);
                pc.LineTo(releaseX1, releaseY1);
                const Extended phi = step * Pi / 6 + 0.001L;
                x1 = ox + Round(H / 8.0L * std::cos(phi));
                y1 = oy - sense * Round(H / 8.0L * std::sin(phi));
                x2 = ox + Round(H / 4.0L * std::cos(phi + Pi));
                y2 = oy - sense * Round(H / 4.0L * std::sin(phi + Pi));
                releaseX1 = x1;
                releaseY1 = y1;
                releaseX2 = x2;
                releaseY2 = y2;
                lastStep = step;
                step = step % 12;
                pc.pen.Color = clWhite;
                if (bodyCount == 1)
                    pc.MoveTo(ox, oy);
                else
                    pc.MoveTo(x2, y2);
                pc.LineTo(x1, y1);
            } else {
                // Cut: each body flies along the tangent of its circle at the cut, keeping
                // the speed it whirled at: its radius times the twelfth of a turn a tick.
                const Extended psi = lastStep * Pi / 6;
                const Extended psi2 = psi + Pi;
                const Extended d1 = H / 8.0L * Pi / 6, d2 = H / 4.0L * Pi / 6;
                x1 = releaseX1 - Round(d1 * std::sin(psi) * step);
                y1 = releaseY1 - sense * Round(d1 * std::cos(psi) * step);
                x2 = releaseX2 - Round(d2 * std::sin(psi2) * step);
                y2 = releaseY2 - sense * Round(d2 * std::cos(psi2) * step);
            }
            const int r1 = Div(H, 40);
            pc.Ellipse(x1 - r1, y1 - r1, x1 + r1, y1 + r1);
            if (bodyCount == 2) {
                const int r2 = Div(H, 80);
                pc.pen.Color = clYellow;
                pc.brush.Color = clYellow;
                pc.Ellipse(x2 - r2, y2 - r2, x2 + r2, y2 + r2);
                pc.pen.Color = clWhite;
                pc.brush.Color = clWhite;
            }
            ++step;
        }
    }
    canvas.Draw(0, 0, picture);
}

void TCenfuga::FreeBitmaps()
{
    pc.setTarget(nullptr);
    picture = QImage();
}
