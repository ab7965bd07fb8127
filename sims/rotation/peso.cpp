#include "peso.h"

#include "globals.h"
#include "imagelist.h"
#include "language/texts.h"

#include <QKeyEvent>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tvariapeso *variapeso = nullptr;
quint8 Tvariapeso::latitudeStep = 0;

SimWindow *CreateVariapeso(QWidget *owner)
{
    variapeso = new Tvariapeso(owner);
    return variapeso;
}

static const SimRegistration registration("E5", CreateVariapeso);

// Half the opening of an arrowhead: 20 degrees.
static constexpr Extended HeadSpread = 0.3490658503988659L;

Tvariapeso::Tvariapeso(QWidget *owner)
    : SimWindow(owner, 16, 12, QStringLiteral("Vastara/moti.htm#variazione"))
{
    setObjectName(QStringLiteral("variapeso"));
    Color = clBlack;

    QToolBar *bar1 = AddToolBar("ToolBar1");
    gravi = AddSpeedButton(bar1, QStringLiteral("tide_attraction"), 23, true, "gravi");
    centrifuga = AddSpeedButton(bar1, QStringLiteral("tide_centrifugal"), 24, true, "centrifuga");
    comp = AddSpeedButton(bar1, QStringLiteral("axes_arrows"), 25, true, "comp");
    risul = AddSpeedButton(bar1, QStringLiteral("spring_blue"), 26, true, "risul");
    QToolBar *bar2 = AddToolBar("ToolBar2");
    contin = AddToolButton(bar2, 22, 0, false, "contin");
    SetHint(contin, controlText(27) + titleText(13));
    AddGuida(bar2);
    SetActiveControl(contin);

    connect(gravi, &QToolButton::clicked, this, [this] { graviClick(); });
    connect(centrifuga, &QToolButton::clicked, this, [this] { centrifugaClick(); });
    connect(comp, &QToolButton::clicked, this, [this] { compClick(); });
    connect(risul, &QToolButton::clicked, this, [this] { risulClick(); });
    connect(contin, &QToolButton::clicked, this, [this] { continClick(); });

    // The Enter key, which the hint of `contin` mentions, has a button of its own in the
    // bottom panel that is never shown.
    AddSotto();
    invio = new QToolButton(sotto);
    invio->setObjectName(QStringLiteral("invio"));
    invio->setIcon(GlyphIcon(QStringLiteral("enter_key")));
    invio->setEnabled(false);
    invio->hide();
    NameAsEnterKey(invio);

    tempo->setInterval(5);
}

Tvariapeso::~Tvariapeso()
{
    if (variapeso == this)
        variapeso = nullptr;
}

void Tvariapeso::FormCreate()
{
    SimWindow::FormCreate();
    invio->move(invio->x(), metrics.controlTop);
    gravi->setChecked(true);
    centrifuga->setChecked(false);
    comp->setChecked(false);
    comp->setEnabled(false);
    risul->setChecked(false);
    risul->setEnabled(false);
    redrawWanted = true;
    showGravity = true;
    showCentrifugal = false;
    showComponents = false;
    showWeight = false;
    // The arrows are laid out on the Earth as drawn now, whatever happens to the window.
    W = ClientWidth();
    H = ClientHeight();
    DrawBackground();
}

void Tvariapeso::DrawBackground()
{
    background = NewBitmap(W, H, clBlack);
    Canvas c(&background);
    c.brush.Color = clBlack;
    c.pen.Color = clGray;
    const int cx = Div(W, 2), r = Div(3 * H, 8);
    // The sphere, and the flattened Earth inside it.
    c.Ellipse(cx - r, Div(H, 8), cx + r, Div(7 * H, 8));
    c.pen.Color = clSilver;
    c.Ellipse(cx - r, Div(5 * H, 32), cx + r, Div(27 * H, 32));
    // Three inner shells.
    c.pen.Color = clGray;
    const int shell = Div(H, 10);
    for (int b = 1; b <= 3; ++b)
        c.Ellipse(cx - r + shell * b, Div(5 * H, 32) + shell * b, cx + r - shell * b, Div(27 * H, 32) - shell * b);
    // The axis, and the sense of rotation above the north pole.
    c.Line(cx, Div(H, 16), cx, Div(30 * H, 32));
    const int y0 = Div(3 * H, 32);
    c.Arc(cx - 20, y0 - 10, cx + 20, y0 + 10, cx - 20, y0 - 5, cx + 20, y0 - 5);
    c.Line(cx + 19, y0 - 5, cx + 23, y0);
    c.Line(cx + 19, y0 - 5, cx + 15, y0);
}

void Tvariapeso::FreeBitmaps()
{
    background = QImage();
}

void Tvariapeso::FormActivate()
{
    redrawWanted = true;
    SimWindow::FormActivate();
}

void Tvariapeso::continClick()
{
    redrawWanted = !redrawWanted;
}

void Tvariapeso::keyPressEvent(QKeyEvent *e)
{
    // A tool button does not take the Enter key: it comes up to the window.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        continClick();
        e->accept();
        return;
    }
    SimWindow::keyPressEvent(e);
}

void Tvariapeso::graviClick()
{
    showGravity = !showGravity;
    if (!showGravity) {
        // One of the two forces is always shown.
        centrifuga->setChecked(true);
        showCentrifugal = true;
        comp->setEnabled(true);
    }
    risul->setEnabled(showCentrifugal && showGravity);
    if (!risul->isEnabled()) {
        showWeight = false;
        risul->setChecked(false);
    }
}

void Tvariapeso::centrifugaClick()
{
    showCentrifugal = !showCentrifugal;
    comp->setEnabled(showCentrifugal);
    risul->setEnabled(showCentrifugal && showGravity);
    if (!risul->isEnabled())
        showWeight = false;
    if (!showCentrifugal) {
        gravi->setChecked(true);
        showGravity = true;
        risul->setChecked(false);
        showComponents = false;
        comp->setChecked(false);
    }
}

void Tvariapeso::compClick()
{
    showComponents = !showComponents;
}

void Tvariapeso::risulClick()
{
    showWeight = !showWeight;
}

Tvariapeso::Head Tvariapeso::Arrow(Extended L, Extended a, Extended d, TColor colour)
{
    canvas.pen.Color = colour;
    canvas.brush.Color = colour;
    const Extended x0 = W / 2.0L + (3.0L * H / 8) * std::cos(a);
    const Extended y0 = 17.0L * H / 32 - (11.0L * H / 32) * std::sin(a);
    const Extended psi = a + d - Pi / 2;
    const Extended x1 = x0 - L * std::cos(psi);
    const Extended y1 = y0 + L * std::sin(psi);
    canvas.Line(Round(x0), Round(y0), Round(x1), Round(y1));
    const Extended s = L / 5;
    canvas.Polygon({QPoint(Round(x1), Round(y1)),
                    QPoint(Round(x1 + s * std::cos(psi + HeadSpread)), Round(y1 - s * std::sin(psi + HeadSpread))),
                    QPoint(Round(x1 + s * std::cos(psi - HeadSpread)), Round(y1 - s * std::sin(psi - HeadSpread)))});
    return Head{Real(x1), Real(y1)};
}

void Tvariapeso::DottedLine(int x1, int y1, int x2, int y2)
{
    canvas.pen.Style = PenStyle::Dot;
    canvas.Line(x1, y1, x2, y2);
    canvas.pen.Style = PenStyle::Solid;
}

void Tvariapeso::tempoTimer()
{
    if (!redrawWanted)
        return;
    canvas.Draw(0, Div(H, 32), background);

    const Extended phi = latitudeStep * Pi / 24;
    const Extended cosPhi = std::cos(phi), sinPhi = std::sin(phi);
    // Distance from the axis, and the flattened Earth's pull.
    const Extended a = (3.0L * H / 8) * cosPhi;
    const Extended b = (19.0L * H / 60) * sinPhi;
    const Extended g = (H / 3.0L) / std::sqrt(a * a + b * b);
    // How far the weight turns away from the gravity: the weight is the sum of the pull and
    // the centrifugal force, whose radial part (a/4) cos phi works against the pull and whose
    // tangential part (a/4) sin phi turns it, so that it closes the parallelogram of the two.
    const Extended D = (H / 4.0L) * g - std::fabs((a / 4) * cosPhi);
    const Extended beta = D == 0 ? Pi / 2 : std::atan(((a / 4) * sinPhi) / D);

    if (showGravity)
        gravityHead = Arrow((H / 4.0L) * g, phi, Pi / 2, clLime);
    if (showComponents) {
        Arrow((a / 4) * cosPhi, phi, -Pi / 2, clRed);
        Arrow((a / 4) * sinPhi, phi, Pi, clYellow);
    }
    if (showCentrifugal) {
        centrifugalHead = Arrow(a / 4, phi, -(Pi / 2 + phi), clAqua);
        const int y = Round(centrifugalHead.y);
        DottedLine(Div(W, 2), y, Div(W, 2) + Round(a), y);
    }
    const Extended cosBeta = std::cos(beta);
    if (showWeight && cosBeta != 0) {
        weightHead = Arrow(((H / 4.0L) * g - std::fabs((a / 4) * cosPhi)) / cosBeta, phi, Pi / 2 + beta, clWhite);
        // At the poles and on the equator the forces lie on one line.
        if (latitudeStep % 12 != 0) {
            const QPoint w(Round(weightHead.x), Round(weightHead.y));
            DottedLine(Round(gravityHead.x), Round(gravityHead.y), w.x(), w.y());
            DottedLine(Round(centrifugalHead.x), Round(centrifugalHead.y), w.x(), w.y());
        }
    }
    latitudeStep = quint8((latitudeStep + 1) % Positions);
    redrawWanted = false;
}
