#include "centrali.h"

#include "globals.h"
#include "language/texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tfcen *fcen = nullptr;

SimWindow *CreateFcen(QWidget *owner)
{
    fcen = new Tfcen(owner);
    return fcen;
}

static const SimRegistration registration("H1", CreateFcen);

// The mean anomaly a tick: sixteen places a revolution, equal in time.
static constexpr Extended MeanMotion = Pi / 8;
static constexpr Extended Degree = Pi / 180;
static constexpr int BodyRadius = 8;

Tfcen::Tfcen(QWidget *owner)
    : SimWindow(owner, 2, 24, QStringLiteral("Vastara/meccanica.htm#moto"))
{
    setObjectName(QStringLiteral("fcen"));
    Color = clBlack;
    QToolBar *bar1 = AddToolBar();
    AddPausa(bar1, 21);
    QToolBar *bar2 = AddToolBar();
    AddCadenza(bar2, 110);
    QToolBar *bar3 = AddToolBar();
    forza = AddSpeedButton(bar3, QStringLiteral("force_F"), 45);
    forza->setObjectName(QStringLiteral("forza"));
    velo = AddSpeedButton(bar3, QStringLiteral("force_V"), 46);
    velo->setObjectName(QStringLiteral("velo"));
    accet = AddSpeedButton(bar3, QStringLiteral("force_At"), 47);
    accet->setObjectName(QStringLiteral("accet"));
    accec = AddSpeedButton(bar3, QStringLiteral("force_Ac"), 48);
    accec->setObjectName(QStringLiteral("accec"));
    perman = AddSpeedButton(bar3, QStringLiteral("letter_P"), 49);
    perman->setObjectName(QStringLiteral("perman"));
    AddGuida(bar3);

    // The legend of the arrows: each name in its arrow's colour on black, in a sunken panel.
    AddSotto(clSilver);
    auto *legend = new QHBoxLayout(sotto);
    legend->setContentsMargins(4, 0, 4, 0);
    legend->setSpacing(8);
    Panel2 = AddPanel(sotto, "Panel2", clRed, clBlack, true, controlText(45));
    Panel3 = AddPanel(sotto, "Panel3", clLime, clBlack, true, controlText(46));
    Panel9 = AddPanel(sotto, "Panel9", clFuchsia, clBlack, true, controlText(47));
    Panel10 = AddPanel(sotto, "Panel10", clAqua, clBlack, true, controlText(48));
    for (QLabel *p : {Panel2, Panel3, Panel9, Panel10}) {
        p->setAlignment(Qt::AlignCenter);
        p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        p->setMinimumWidth(p->fontMetrics().horizontalAdvance(p->text()) + 24);
        legend->addWidget(p);
    }
    legend->addStretch(1);
}

Tfcen::~Tfcen()
{
    bc.setTarget(nullptr);
    if (fcen == this)
        fcen = nullptr;
}

void Tfcen::LayoutSotto()
{
    for (QLabel *p : {Panel2, Panel3, Panel9, Panel10})
        p->setFixedHeight(sotto->height());
}

void Tfcen::FormCreate()
{
    SimWindow::FormCreate();
    cadenza->setValue(110);
    tempo->setInterval(90);
    // The ellipse keeps the size it has now; its centre follows the window.
    const int Wl = LayoutWidth();
    a = Real(Div(4 * Wl, 16));
    b = Real(Div(7 * Wl, 32));
    bc.setTarget(nullptr);
    bitmap = NewBitmap(ClientWidth(), Div(3 * ClientHeight(), 4), clBlack);
    bc.setTarget(&bitmap);
    k = 0;
    bodyCentre = BodyCentre();
    PaintBody();
    bc.brush.Color = clWhite;
    bc.pen.Color = clWhite;
}

void Tfcen::FreeBitmaps()
{
    bc.setTarget(nullptr);
    bitmap = QImage();
}

int Tfcen::LayoutWidth() const
{
    // The orbit is 7/32 of the layout width high either side of the middle of a picture
    // 3/4 of the client high, and the arrows reach at most an eighth of that beyond it (the
    // velocity's near the top and bottom); keep them and the satellite (2 px round) inside.
    const int room = Div(8 * (Div(3 * ClientHeight(), 8) - 3), 9);
    return SceneWidth(room < 0 ? 0 : Div(32 * (room + 1) - 1, 7));
}

QPointF Tfcen::EllipseCentre() const
{
    return QPointF(ClientWidth() / 2.0, 3.0 * ClientHeight() / 8.0);
}

QPointF Tfcen::SatellitePoint() const
{
    const QPointF c = EllipseCentre();
    return QPointF(c.x() + x, c.y() - y);
}

QPoint Tfcen::BodyCentre() const
{
    return QPoint(Round(ClientWidth() / 2.0L - FocalDistance()), Div(3 * ClientHeight(), 8));
}

Extended Tfcen::FocalDistance() const
{
    return std::sqrt(qMax(Extended(a) * a - Extended(b) * b, Extended(0)));
}

Extended Tfcen::Anomaly(int place) const
{
    // Counted from the far end, Kepler's equation reads E + e sin E = M; Newton's method
    // from E = M converges for every eccentricity below 1.
    const Extended e = a > 0 ? FocalDistance() / a : 0;
    const Extended M = place * MeanMotion;
    Extended E = M;
    for (int i = 0; i < 50; ++i) {
        const Extended step = (E + e * std::sin(E) - M) / (1 + e * std::cos(E));
        E -= step;
        if (std::fabs(step) < 1e-18L)
            break;
    }
    return E;
}

void Tfcen::PaintBody(TColor colour)
{
    // A yellow disc with the canvas's plain black outline, at the focus.
    bc.brush.Color = colour;
    bc.pen.Color = clBlack;
    bc.Ellipse(bodyCentre.x() - BodyRadius, bodyCentre.y() - BodyRadius, bodyCentre.x() + BodyRadius,
               bodyCentre.y() + BodyRadius);
}

Extended Tfcen::ArrowAngle(Arrow which) const
{
    switch (which) {
    case Force: return Extended(phi) + Pi / 2;
    case Velocity:
    case Tangential: return -Extended(tau) - Pi / 2;
    case Centripetal: return Pi - Extended(tau);
    }
    return 0;
}

Extended Tfcen::ArrowLength(Arrow which) const
{
    switch (which) {
    case Force: return F;
    case Velocity: return v;
    case Tangential: return at;
    case Centripetal: return an;
    }
    return 0;
}

TColor Tfcen::ArrowColour(Arrow which)
{
    switch (which) {
    case Force: return clRed;
    case Velocity: return clLime;
    case Tangential: return clFuchsia;
    case Centripetal: return clAqua;
    }
    return clWhite;
}

void Tfcen::DrawArrow(Extended L, Extended alpha)
{
    if (!std::isfinite(double(L)) || !std::isfinite(double(alpha)))
        return;
    const QPointF P = SatellitePoint();
    const Extended tx = P.x() - L * std::sin(alpha);
    const Extended ty = P.y() - L * std::cos(alpha);
    bc.MoveTo(Round(P.x()), Round(P.y()));
    bc.LineTo(Round(tx), Round(ty));
    // The head: sides a quarter of the arrow, opening 20 degrees either side of the shaft.
    const Extended h = L / 4;
    const Extended left = alpha - 110 * Degree, right = alpha - 70 * Degree;
    bc.Polygon({QPoint(Round(tx + h * std::cos(left)), Round(ty - h * std::sin(left))),
                QPoint(Round(tx + h * std::cos(right)), Round(ty - h * std::sin(right))),
                QPoint(Round(tx), Round(ty))});
}

void Tfcen::DrawSatellite()
{
    const QPointF P = SatellitePoint();
    bc.Ellipse(Round(P.x() - 2), Round(P.y() - 2), Round(P.x() + 2), Round(P.y() + 2));
}

void Tfcen::tempoTimer()
{
    if (bitmap.isNull())
        return;
    if (!pausa->isChecked()) {
        const Extended theta = Anomaly(k);
        const Extended sinTheta = std::sin(theta), cosTheta = std::cos(theta);
        // Which way the pull points along y: with the sign of sin theta, and at the far end,
        // where sin theta is zero, towards the centre (to the left).
        if (sinTheta > 0)
            s = 1;
        else if (sinTheta < 0)
            s = -1;
        else
            s = qint8(-Round(cosTheta));

        if (!perman->isChecked()) {
            // Wipe the last step: its four arrows and the satellite, in black.
            bc.brush.Color = clBlack;
            bc.pen.Color = clBlack;
            for (Arrow w : {Force, Velocity, Tangential, Centripetal})
                DrawArrow(ArrowLength(w), ArrowAngle(w));
            DrawSatellite();
            // A long pull arrow near the near end reaches the attracting body: give the
            // body back what the wipe took.
            PaintBody();
        }
        // The window was resized: the focus moved with the ellipse, and the body with it.
        if (BodyCentre() != bodyCentre) {
            PaintBody(clBlack);
            bodyCentre = BodyCentre();
            PaintBody();
        }

        const Extended f = FocalDistance();
        x = Real(a * cosTheta);
        y = Real(b * sinTheta);
        r2 = Real((f + x) * (f + x) + Extended(y) * y);
        Extended ph = std::atan(Extended(y) / (f + x));
        if (ph <= 0)
            ph += Pi;
        phi = Real(ph);
        if (Round(x) == Round(a))
            tau = Real(Pi / 2);
        else
            tau = Real(std::atan(Extended(b) / a * cosTheta / sinTheta));

        // In pixels a tick: a revolution takes sixteen ticks, so by Kepler's third law the
        // pull is n^2 a^3 / r^2 and the speed, by the energy of the orbit, n a sqrt(2a/r - 1).
        const Extended gm = MeanMotion * MeanMotion * Extended(a) * a * a;
        const Extended r = std::sqrt(Extended(r2));
        F = r2 > 0 ? Real(gm / r2 * s) : 0.0f;
        an = Real(F * std::sin(Extended(phi) + tau));
        at = Real(-F * std::cos(Extended(phi) + tau));
        const Extended speed = r > 0 ? MeanMotion * a * std::sqrt(qMax(2 * a / r - 1, Extended(0))) : 0;
        v = an == 0 ? 0.0f : Real(-speed * an / std::fabs(Extended(an)));

        bc.brush.Color = clWhite;
        bc.pen.Color = clWhite;
        DrawSatellite();
        const QToolButton *shown[] = {forza, velo, accet, accec};
        for (Arrow w : {Force, Velocity, Tangential, Centripetal}) {
            if (!shown[w]->isChecked())
                continue;
            bc.brush.Color = ArrowColour(w);
            bc.pen.Color = ArrowColour(w);
            DrawArrow(ArrowLength(w), ArrowAngle(w));
        }
        k = (k + 1) % 16;
    }
    bc.flush();
    canvas.Draw(0, Div(ClientHeight(), 8), bitmap);
}
