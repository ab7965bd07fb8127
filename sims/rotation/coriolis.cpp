#include "coriolis.h"

#include "globals.h"

#include <QButtonGroup>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

TFerre *Ferre = nullptr;

SimWindow *CreateFerre(QWidget *owner)
{
    Ferre = new TFerre(owner);
    return Ferre;
}

static const SimRegistration registration("E2", CreateFerre);

const quint8 TFerre::Appearance[2][10] = {
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
    {9, 8, 7, 6, 5, 4, 3, 2, 1, 0},
};

// The disc turns 0.2 rad per unit of the run's time.
static constexpr Extended Turn = 0.2L;
// Ticks of a run: its time goes from 0 to 9 in steps of a tenth.
static constexpr int LastTick = 90;

static QImage NewDot(TColor colour)
{
    QImage dot = NewBitmap(7, 7, clBlack);
    Canvas c(&dot);
    c.pen.Color = clBlack;
    c.brush.Color = colour;
    c.Ellipse(0, 0, 7, 7);
    c.setTarget(nullptr);
    return dot;
}

TFerre::TFerre(QWidget *owner)
    : SimWindow(owner, 8, 9, QStringLiteral("Vastara/moti.htm#coriolis"))
{
    setObjectName(QStringLiteral("Ferre"));
    Color = clBlack;

    QToolBar *bar1 = AddToolBar("ToolBar1");
    AddPausa(bar1, 21);
    QToolBar *bar2 = AddToolBar("ToolBar2");
    AddCadenza(bar2, 90);
    QToolBar *bar3 = AddToolBar("ToolBar3");
    antiorario = AddSpeedButton(bar3, QStringLiteral("turn_anticlockwise"), 15, true, "antiorario");
    orario = AddSpeedButton(bar3, QStringLiteral("turn_clockwise"), 16, true, "orario");
    QToolBar *bar4 = AddToolBar("ToolBar4");
    esterno = AddSpeedButton(bar4, QStringLiteral("arrows_out"), 18, true, "esterno");
    interno = AddSpeedButton(bar4, QStringLiteral("arrows_in"), 19, true, "interno");
    QToolBar *bar5 = AddToolBar("ToolBar5");
    prospno = AddSpeedButton(bar5, QStringLiteral("viewpoint"), 6, true, "prospno");
    QToolBar *bar6 = AddToolBar("ToolBar6");
    fis = AddSpeedButton(bar6, QStringLiteral("stand_upright"), 21, true, "fis");
    mobil = AddSpeedButton(bar6, QStringLiteral("stand_tilted"), 22, true, "mobil");
    QToolBar *bar7 = AddToolBar("ToolBar7");
    disegna = AddToolButton(bar7, 29, 3, false, "disegna");
    AddGuida(bar7);

    ExclusiveGroup({antiorario, orario});
    ExclusiveGroup({esterno, interno});
    ExclusiveGroup({fis, mobil});
    antiorario->setChecked(true);
    esterno->setChecked(true);
    fis->setChecked(true);

    connect(antiorario, &QToolButton::clicked, this, [this] { anticlockwise = true; });
    connect(orario, &QToolButton::clicked, this, [this] { anticlockwise = false; });
    connect(esterno, &QToolButton::clicked, this, [this] { outward = true; });
    connect(interno, &QToolButton::clicked, this, [this] { outward = false; });
    connect(prospno, &QToolButton::clicked, this, [this] { flatView = !flatView; });
    connect(fis, &QToolButton::clicked, this, [this] { rotatingView = false; });
    connect(mobil, &QToolButton::clicked, this, [this] { rotatingView = true; });
    connect(disegna, &QToolButton::clicked, this, [this] { disegnaClick(); });
}

TFerre::~TFerre()
{
    pc.setTarget(nullptr);
    if (Ferre == this)
        Ferre = nullptr;
}

void TFerre::FormCreate()
{
    SimWindow::FormCreate();
    tempo->setInterval(90);
    anticlockwise = true;
    outward = true;
    flatView = true;
    rotatingView = false;
    running = false;
    runTicks = 0;
    // The timer runs only during a run: the first activation leaves it off.
    RememberTimer(tempo, false);
    const int side = Div(ClientWidth(), 2);
    pc.setTarget(nullptr);
    picture = NewBitmap(side, side, clBlack);
    pc.setTarget(&picture);
    dotRed = NewDot(clRed);
    dotWhite = NewDot(clWhite);
    unitLength = Real(ClientHeight() / 40.0L);
    canvas.pen.Color = clAqua;
}

void TFerre::FormShow()
{
    SimWindow::FormShow();
    FormPaint();
}

QPoint TFerre::PictureOrigin() const
{
    const int H = ClientHeight();
    return QPoint(Div(ClientWidth(), 2) - Div(H, 4), Div(H, 4));
}

void TFerre::FormPaint()
{
    if (!picture.isNull())
        canvas.Draw(PictureOrigin().x(), PictureOrigin().y(), picture);
}

void TFerre::resizeEvent(QResizeEvent *e)
{
    SimWindow::resizeEvent(e);
    if (picture.isNull())
        return;
    // Repainted on a clean ground: the picture moves with the window's centre.
    canvas.brush.Color = Color;
    canvas.FillRect(0, 0, ClientWidth(), ClientHeight());
    FormPaint();
}

void TFerre::FreeBitmaps()
{
    pc.setTarget(nullptr);
    picture = dotRed = dotWhite = QImage();
}

bool TFerre::DotShown(int b) const
{
    const int row = direction > 0 ? 0 : 1;
    return runTicks >= 10 * (Appearance[row][b - 1] + direction);
}

void TFerre::CarryTrail(Extended t)
{
    const int row = direction > 0 ? 0 : 1;
    for (int j = 0; j < 3; ++j)
        for (int b = 1; b <= 9; ++b) {
            const Extended phi = Turn * (t - Appearance[row][b - 1]) + 2 * j * Pi / 3;
            const Extended r = b * Extended(unitLength);
            rotatingTrail[j][b - 1].x = Real(r * std::sin(phi));
            rotatingTrail[j][b - 1].y = Real(r * sense * std::cos(phi) / (1 + tilt));
        }
}

void TFerre::disegnaClick()
{
    if (picture.isNull())
        return;
    disegna->setEnabled(false);
    running = true;
    runTicks = 0;
    sense = anticlockwise ? 1 : -1;
    tilt = flatView ? 0 : 1;
    launchAngle = outward ? 0.2f : 1.88f;
    direction = outward ? 1 : -1;
    showRotating = rotatingView;

    const int H = ClientHeight();
    for (int j = 0; j < 3; ++j) {
        const Extended beta = 2 * j * Pi / 3 + launchAngle;
        for (int b = 1; b <= 9; ++b) {
            const Extended r = b * Extended(unitLength);
            fixedTrail[j][b - 1].x = Real(r * std::sin(beta));
            fixedTrail[j][b - 1].y = Real(-(H / 20.0L) * tilt + r * sense * std::cos(beta) / (1 + tilt));
        }
    }
    // The red dots are drawn from the trail of the tick before: the first tick takes it as
    // the tick before the start would have left it, not from the run before.
    CarryTrail(-0.1L);
    tempo->start();
}

void TFerre::tempoTimer()
{
    if (picture.isNull())
        return;
    const bool paused = pausa->isChecked();
    if (!paused && running && runTicks < 100) {
        const int W = ClientWidth(), H = ClientHeight();
        const Extended q = H / 4.0L;
        const Extended t = RunClock();
        Canvas &c = pc;

        c.brush.Color = clBlack;
        c.FillRect(0, 0, Div(W, 2), Div(W, 2));

        // The disc.
        c.pen.Color = clAqua;
        c.brush.Color = clNavy;
        c.Ellipse(0, Div(3 * H, 40) * tilt, Div(H, 2), Div(H, 2) - Div(7 * H, 40) * tilt);

        // Its radii on the base: they turn with it when seen from the rotating frame.
        c.pen.Color = clSilver;
        for (int j = 0; j < 3; ++j) {
            const Extended theta = -Turn * t * (showRotating ? 1 : 0) + 2 * j * Pi / 3;
            c.Line(Round(q), Round(q), Round((std::cos(theta) + 1) * q),
                   Round(q + std::sin(theta) * H * sense / 4 / (1 + tilt)));
        }

        // Red dots: the places passed, carried round by the disc, or in the oblique fixed
        // view the bodies' shadows on the base.
        for (int j = 0; j < 3; ++j)
            for (int b = 1; b <= 9; ++b) {
                if (!DotShown(b))
                    continue;
                if (showRotating) {
                    const Point &p = rotatingTrail[j][b - 1];
                    c.Draw(Round(q + Round(p.x - 4)), Round(q + Round(p.y - 4)), dotRed);
                } else if (tilt == 1) {
                    const Point &p = fixedTrail[j][b - 1];
                    c.Draw(Round(q + Round(p.x - 4)), Round(q + Round(H / 20.0L * tilt + p.y - 4)), dotRed);
                }
            }

        // The fixed radii on the top face.
        c.pen.Color = clAqua;
        const int lift = Div(H, 20) * tilt;
        for (int j = 0; j < 3; ++j) {
            const Extended a = 2 * j * Pi / 3;
            c.Line(Round(q), Round(q) - lift, Round((std::cos(a) + 1) * q),
                   Round((1 + std::sin(a) / (1 + tilt)) * q) - lift);
        }

        // The rims: the base's in the oblique view, then the top face's.
        c.pen.Color = clSilver;
        if (tilt == 1) {
            const int y = Div(H, 8), w = Div(H, 2), h = Div(H, 4) + 1;
            c.Arc(0, y, w, y + h, w, y + h / 2, w, y + h / 2);
        }
        c.pen.Color = clAqua;
        {
            const int y = Div(3 * H, 40) * tilt, w = Div(H, 2), h = Div(H, 2) - Div(H, 4) * tilt + 1;
            c.Arc(0, y, w, y + h, w, y + h / 2, w, y + h / 2);
        }

        if (showRotating)
            CarryTrail(t);

        // White dots: the rays of the fixed frame.
        for (int j = 0; j < 3; ++j)
            for (int b = 1; b <= 9; ++b)
                if (DotShown(b)) {
                    const Point &p = fixedTrail[j][b - 1];
                    c.Draw(Round(q + Round(p.x - 4)), Round(q + Round(p.y - 4)), dotWhite);
                }

        FormPaint();

        // The bodies, on the window, over the picture.
        const Extended rho = (direction * t + 9 * (direction > 0 ? 0 : 1)) * unitLength;
        const int cx = Div(W, 2), cy = Div(H, 2);
        for (int j = 0; j < 3; ++j) {
            const Extended beta = 2 * j * Pi / 3 + launchAngle;
            body[j].x = Real(rho * std::sin(beta));
            body[j].y = Real(rho * sense * std::cos(beta) / (1 + tilt));
            if (tilt == 1)
                canvas.Draw(cx + Round(body[j].x - 4), cy + Round(body[j].y - 4), dotRed);
            canvas.Draw(cx + Round(body[j].x - 4), cy + Round(body[j].y - H / 20.0L * tilt - 4), dotWhite);
        }
        canvas.pen.Color = clAqua;
        for (int j = 0; j < 3; ++j) {
            const Extended a = 2 * j * Pi / 3;
            canvas.Line(cx, cy - Div(H, 20) * tilt, Round(W / 2.0L + q * std::cos(a)),
                        Round(H / 2.0L + H / (4.0L + 4 * tilt) * std::sin(a)) - Div(H, 20) * tilt);
        }
    }

    if (!paused && running) {
        ++runTicks;
        if (runTicks > LastTick) {
            tempo->stop();
            disegna->setEnabled(true);
            running = false;
        }
    }
}
