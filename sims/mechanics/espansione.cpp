#include "espansione.h"

#include "globals.h"
#include "language/texts.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tespanduni *espanduni = nullptr;

SimWindow *CreateEspanduni(QWidget *owner)
{
    espanduni = new Tespanduni(owner);
    return espanduni;
}

static const SimRegistration registration("H5", CreateEspanduni);

Tespanduni::Tespanduni(QWidget *owner)
    : SimWindow(owner, 28, 28, QStringLiteral("Vastara/meccanica.htm#espansione"))
{
    setObjectName(QStringLiteral("espanduni"));
    NameAnimation("cadenza");

    AddPausa(AddToolBar("ToolBar1"), 21);
    velo = AddCadenza(AddToolBar("ToolBar2"), 100, 5, 195, "velo");
    QToolBar *bar3 = AddToolBar("ToolBar3");
    tipo = AddDropDown(bar3, {controlText(55), controlText(56)}, 54, "tipo", true);
    aggiorna = AddToolButton(bar3, 29, 4, false, "aggiorna");
    AddGuida(AddToolBar("ToolBar4"));
    // The list is as wide as its wider item plus the room of a button.
    FitDropDown(tipo, aggiorna->sizeHint().width() + 7);

    connect(aggiorna, &QToolButton::clicked, this, [this] {
        aggiornaClick();
        Refresh();
    });
    AddSotto();
}

Tespanduni::~Tespanduni()
{
    pc.setTarget(nullptr);
    if (espanduni == this)
        espanduni = nullptr;
}

void Tespanduni::FormCreate()
{
    // The bottom bars of the windows opened from now on (and this window's own) are as high
    // as a line of this window's text.
    BarHeight = QFontMetrics(font()).height();
    SimWindow::FormCreate();
    velo->setValue(100);
    tempo->setInterval(100);
    tipo->setCurrentIndex(0);
    kind = 0;
    t = 0;
    contracting = 0;
    running = true;
    RememberTimer(tempo, true);
    // The picture keeps the height of the client the window has now.
    H = qMax(ClientHeight(), 1);
    pc.setTarget(nullptr);
    picture = NewBitmap(H, H, clBackground);
    pc.setTarget(&picture);
}

void Tespanduni::FreeBitmaps()
{
    pc.setTarget(nullptr);
    picture = QImage();
}

QPoint Tespanduni::PointOf(int m, Extended theta, Extended k) const
{
    const Extended lambda = m * Pi / 6 + Pi / 12;
    const Extended s = H / 300.0L * t;
    return QPoint(Div(H, 2) - Round(s * std::cos(lambda) * std::sin(theta)),
                  Div(H, 2) - Round(k * s * std::cos(theta)) - Round(H / 600.0L * t * std::sin(lambda) * std::sin(theta)));
}

void Tespanduni::DrawUniverse()
{
    pc.pen.Color = clSilver;
    pc.brush.Color = clSilver;
    pc.FillRect(0, 0, H, H);
    // The sphere.
    const int R = Radius();
    const int c = Div(H, 2);
    pc.brush.Color = clBlack;
    pc.Ellipse(c - R, c - R, c + R, c + R);
    pc.brush.Color = clSilver;
    // The galaxies on the far side, in silver.
    for (int m = 0; m <= 5; ++m)
        for (int e = m + 6; e <= 41; ++e) {
            const QPoint p = PointOf(m, e * Pi / 36, 0.88L);
            pc.SetPixel(p.x(), p.y(), clSilver);
            if (e % 4 == 0)
                pc.Ellipse(p.x() - 3, p.y() - 3, p.x() + 3, p.y() + 3);
        }
    // The meridians on the near side, with their galaxies in white: the lower halves, then
    // the upper ones.
    pc.pen.Color = clWhite;
    pc.brush.Color = clWhite;
    const auto meridian = [this](int m, int from, int to) {
        const QPoint start = PointOf(m, from * Pi / 18, 0.892L);
        pc.MoveTo(start.x(), start.y());
        for (int e = from; e <= to; ++e) {
            const QPoint p = PointOf(m, e * Pi / 18, 0.892L);
            pc.pen.Color = clGray;
            pc.LineTo(p.x(), p.y());
            pc.pen.Color = clWhite;
            if (e % 2 == 0)
                pc.Ellipse(p.x() - 3, p.y() - 3, p.x() + 3, p.y() + 3);
        }
    };
    for (int m = 0; m <= 5; ++m)
        meridian(m, 22, 36);
    static const int ends[6] = {10, 6, 5, 5, 6, 10};
    for (int m = 0; m <= 5; ++m)
        meridian(m, 0, ends[m]);
}

void Tespanduni::Finish()
{
    running = false;
    tempo->stop();
}

void Tespanduni::Advance()
{
    if (kind == 0) {
        t = (t + 1) % 400;
        if (t == OpenEnd)
            Finish();
    } else {
        t = contracting ? t - 1 : t + 1;
        t %= 125;
        if (t == ClosedTop)
            contracting = 1;
        if (t == 0)
            Finish();
    }
}

void Tespanduni::tempoTimer()
{
    // A finished run keeps its last picture; a tick that still comes (for example one
    // already queued) changes nothing.
    if (!pausa->isChecked() && running && !picture.isNull()) {
        DrawUniverse();
        Advance();
    }
    pc.flush();
    const QPoint o = PictureOrigin();
    canvas.Draw(o.x(), o.y(), picture);
}

void Tespanduni::aggiornaClick()
{
    t = 1;
    contracting = 0;
    kind = tipo->currentIndex();
    running = true;
    if (IsActiveChild())
        tempo->start();
    else
        RememberTimer(tempo, true);
}
