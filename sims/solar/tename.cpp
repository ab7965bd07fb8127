#include "tename.h"

#include "globals.h"
#include "language/texts.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Ttema *tema = nullptr;

SimWindow *CreateTema(QWidget *owner)
{
    tema = new Ttema(owner);
    return tema;
}

static const SimRegistration registration("G4", CreateTema);

Ttema::Ttema(QWidget *owner)
    : SimWindow(owner, 24, 21, QStringLiteral("Vastara/sistema.htm#relativo"))
{
    setObjectName(QStringLiteral("tema"));
    Color = clBlack;
    QPalette bar = barrasotto->palette();
    bar.setColor(QPalette::Window, toQColor(clSilver));
    barrasotto->setPalette(bar);

    AddPausa(AddToolBar("ToolBar1"), 21);
    AddCadenza(AddToolBar("ToolBar2"), 110);
    QToolBar *bar3 = AddToolBar("ToolBar3");
    pianeta = AddDropDown(bar3, {controlText(39), controlText(40)}, 37, "pianeta", true);
    QToolBar *bar4 = AddToolBar("ToolBar4");
    visione = AddSpeedButton(bar4, QStringLiteral("letter_v"), 38, true, "visione");
    AddGuida(bar4);
    nuovo = AddToolButton(bar4, 29, 4, false, "nuovo");
    // The list is as wide as its wider item plus the room of a button.
    FitDropDown(pianeta, guida->sizeHint().width() + 7);
    bar3->setFixedWidth(pianeta->width() + 3);

    connect(pianeta, &QComboBox::currentIndexChanged, this, [this] { pianetaChange(); });
    connect(pianeta, &QComboBox::activated, this, [this] { pianetaChange(); });
    connect(visione, &QToolButton::clicked, this, [this] { visioneClick(); });
    connect(nuovo, &QToolButton::clicked, this, [this] {
        nuovoClick();
        Refresh();
    });

    AddSotto(clSilver);
    auto legend = [this](const char *bevelName, QFrame *&bevel, const char *name, QLabel *&panel, TColor colour,
                         int row) {
        bevel = AddBevel(sotto, bevelName);
        bevel->setFrameShadow(QFrame::Raised);
        panel = AddPanel(sotto, name, colour, clBlack, true, titleText(row));
        panel->setAlignment(Qt::AlignCenter);
        panel->hide();
    };
    legend("Bevel2", Bevel2, "Panel2", Panel2, clYellow, 35);
    legend("Bevel3", Bevel3, "Panel3", Panel3, clAqua, 36);
    legend("Bevel4", Bevel4, "Panel9", Panel9, clRed, 37);
    legend("Bevel5", Bevel5, "Panel10", Panel10, clWhite, 38);
    Label1 = new QLabel(sotto);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(Panel9->font());
    Label1->hide();
}

Ttema::~Ttema()
{
    pictureCanvas.setTarget(nullptr);
    if (tema == this)
        tema = nullptr;
}

void Ttema::LayoutSotto()
{
    if (!Label1)
        return;
    // Sun and Earth as wide as their names, the two planets as wide as the wider name.
    const QFontMetrics fm(Label1->font());
    const int planets = qMax(fm.horizontalAdvance(Panel9->text()), fm.horizontalAdvance(Panel10->text())) + 16;
    const struct {
        QLabel *panel;
        QFrame *bevel;
        int width;
    } legends[] = {{Panel2, Bevel2, fm.horizontalAdvance(Panel2->text()) + 16},
                   {Panel3, Bevel3, fm.horizontalAdvance(Panel3->text()) + 16},
                   {Panel9, Bevel4, planets},
                   {Panel10, Bevel5, planets}};
    int x = 8;
    for (const auto &l : legends) {
        l.bevel->setGeometry(x, -1, l.width + 8, metrics.barHeight);
        l.panel->setGeometry(x + 4, metrics.controlTop, l.width, metrics.controlHeight);
        x += l.width + 14;
    }
}

void Ttema::FormCreate()
{
    SimWindow::FormCreate();
    cadenza->setValue(110);
    tempo->setInterval(90);
    pianeta->setCurrentIndex(0);
    lineOfSight = false;
    visione->setChecked(false);
    CW = ClientWidth();
    CH = ClientHeight();
    pictureCanvas.setTarget(nullptr);
    picture = NewBitmap(CW, CH, clBlack);
    pictureCanvas.setTarget(&picture);
    under.Resize(qMax(Div(CW, 75), 1), qMax(Div(CW, 75), 1));
}

void Ttema::FreeBitmaps()
{
    pictureCanvas.setTarget(nullptr);
    picture = QImage();
    under.Clear();
}

void Ttema::Prepare()
{
    nuovoClick();
}

int Ttema::FitWidth(int forKind, int cw, int ch) const
{
    // Up to a 4:3 client the scene is the client's; wider, it shrinks until the apparent path
    // at its farthest (the bodies on opposite sides, one at the top and one at the bottom of
    // its orbit) and the star ring stay between the control bar and the bottom panel.
    const int top = ControlBarHeight();
    const int bottom = ch - metrics.barHeight;
    const int narrowest = qMin(cw, Div(4 * ch, 3));
    for (int w = cw; w > narrowest; --w) {
        const Extended rp = forKind == 1 ? Div(w, 8) : Div(w, 20);
        const Extended re = forKind == 1 ? Div(w, 10) - 1 : Div(w, 10);
        const Extended r = Div(w, 160);
        const Extended centre = 21.0L * ch / 40 + 0.15L * (rp - re);
        const Extended reach = 1.1L * (rp + re) + r;
        const Extended ring = w / 5.0L + 9;
        if (centre + reach <= bottom && centre - reach >= top && ch / 2.0L - ring >= top
            && ch / 2.0L + ring <= bottom)
            return w;
    }
    return narrowest;
}

void Ttema::Positions(int tick)
{
    const Extended a = 2 * Pi * tick / Te + Pi / 4;
    const Extended b = 2 * Pi * tick / Tp;
    X1 = Real(L + W / 4.0L + Re * std::cos(a));
    Y1 = Real(CH / 2.0L + 0.15L * Re + 1.1L * Re * std::sin(a));
    X2 = Real(L + W / 4.0L + Rp * std::cos(b));
    Y2 = Real(CH / 2.0L + 0.15L * Rp + 1.1L * Rp * std::sin(b));
    X0 = Real(L + 3.0L * W / 4 + Extended(X2) - X1);
    Y0 = Real(21.0L * CH / 40 + Extended(Y2) - Y1);
}

void Ttema::Disc(Canvas &c, Extended x, Extended y, int r)
{
    const int cx = Round(x), cy = Round(y);
    c.Ellipse(cx - r, cy - r, cx + r, cy + r);
}

QRect Ttema::SquareAround(Extended x, Extended y) const
{
    const int cx = Round(x), cy = Round(y), h = SquareHalf();
    return Rect(cx - h, cy - h, cx + h, cy + h);
}

void Ttema::nuovoClick()
{
    kind = pianeta->currentIndex() == 1 ? 0 : 1;
    CW = ClientWidth();
    CH = ClientHeight();
    if (picture.size() != QSize(CW, CH)) {
        pictureCanvas.setTarget(nullptr);
        picture = NewBitmap(CW, CH, clBlack);
        pictureCanvas.setTarget(&picture);
    }
    W = SceneWidth(FitWidth(kind, CW, CH));
    L = SceneLeft(W);
    if (kind == 1) {
        Rp = Real(Div(W, 8));
        Re = Real(Div(W, 10) - 1);
        Tp = OuterPeriod;
    } else {
        Rp = Real(Div(W, 20));
        Re = Real(Div(W, 10));
        Tp = InnerPeriod;
    }

    Canvas &c = pictureCanvas;
    c.pen = Pen{};
    c.brush.Color = clBlack;
    c.FillRect(0, 0, CW, CH);
    // The divider between the views, two pixels wide.
    const int divider = L + Div(W, 2) + 1;
    c.brush.Color = clWhite;
    c.FillRect(divider - 1, 0, divider + 1, CH);

    // Two rings of stars, the outer one turned by two degrees.
    const int sx = L + Div(W, 4), sy = Div(CH, 2);
    const Extended inner = W / 5.0L, outer = W / 5.0L + 7;
    const Extended twoDegrees = 2 * Pi / 180;
    for (int j = 1; j <= 90; ++j) {
        const Extended t = j * Pi / 45;
        const TColor colour = j % 2 == 1 ? clAqua : clWhite;
        c.pen.Color = colour;
        c.brush.Color = colour;
        const int x1 = sx + Round(inner * std::cos(t)), y1 = sy + Round(inner * std::sin(t));
        c.Ellipse(x1 - 2, y1 - 2, x1 + 2, y1 + 2);
        const int x2 = sx + Round(outer * std::cos(t + twoDegrees)), y2 = sy + Round(outer * std::sin(t + twoDegrees));
        c.Ellipse(x2 - 2, y2 - 2, x2 + 2, y2 + 2);
    }

    // The Sun, and the Earth that stays still in the right view.
    c.pen.Color = clBlack;
    c.brush.Color = clYellow;
    const int rs = Div(W, 50);
    c.Ellipse(sx - rs, sy - rs, sx + rs, sy + rs);
    c.brush.Color = clAqua;
    const int r = BodyRadius();
    const int ex = L + Div(3 * W, 4), ey = Div(21 * CH, 40);
    c.Ellipse(ex - r, ey - r, ex + r, ey + r);

    // The apparent path starts where the planet stands at tick 0.
    Positions(0);
    under.Resize(qMax(Div(W, 75), 1), qMax(Div(W, 75), 1));
    under.Save(picture, SquareAround(X0, Y0));
    c.MoveTo(Round(X0), Round(Y0));

    n = 0;
    barrasotto->show();
    barrasotto->raise();
    for (QLabel *p : {Panel2, Panel3, Panel9, Panel10})
        p->show();
    nuovo->setEnabled(false);
    tempo->start();
}

void Ttema::tempoTimer()
{
    if (picture.isNull())
        return;
    if (!pausa->isChecked()) {
        Canvas &c = pictureCanvas;
        const int r = BodyRadius();
        // Take the bodies off the left view and the planet off the right one.
        c.pen.Color = clBlack;
        c.brush.Color = clBlack;
        Disc(c, X1, Y1, r);
        Disc(c, X2, Y2, r);
        under.Restore(c);
        Positions(n);
        // The apparent path grows by one segment; keep what the planet will cover.
        c.pen.Color = clWhite;
        c.LineTo(Round(X0), Round(Y0));
        under.Save(picture, SquareAround(X0, Y0));
        c.pen.Color = clBlack;
        c.brush.Color = kind == 1 ? clRed : clWhite;
        Disc(c, X2, Y2, r);
        Disc(c, X0, Y0, r);
        c.brush.Color = clAqua;
        Disc(c, X1, Y1, r);
        ++n;
    }
    canvas.Draw(0, 0, picture);
    if (lineOfSight) {
        const QPoint end = SightEnd();
        canvas.pen.Color = clWhite;
        canvas.pen.Style = PenStyle::Dot;
        canvas.MoveTo(Round(X1), Round(Y1));
        canvas.LineTo(end.x(), end.y());
        canvas.pen.Style = PenStyle::Solid;
    }
}

QPoint Ttema::SightEnd() const
{
    const Extended dx = Extended(X2) - X1, dy = Extended(Y2) - Y1;
    const Extended d = std::sqrt(dx * dx + dy * dy);
    if (d <= 0)
        return QPoint(Round(X1), Round(Y1));
    const Extended ux = dx / d, uy = dy / d;
    const Extended cx = L + W / 4.0L - 7, cy = CH / 2.0L - 7;
    const Extended reach = W / 5.0L + 7;
    Extended x = X1, y = Y1;
    // The Earth is well inside the ring, so the end point reaches it in a few hundred steps.
    for (int k = 1; std::hypot(x - cx, y - cy) < reach; ++k) {
        x = X1 + k * ux;
        y = Y1 + k * uy;
    }
    return QPoint(Round(x), Round(y));
}

void Ttema::pianetaChange()
{
    nuovo->setEnabled(true);
}

void Ttema::visioneClick()
{
    lineOfSight = !lineOfSight;
}
