#include "maree.h"

#include "globals.h"
#include "language/texts.h"

#include <QFrame>
#include <QLabel>
#include <QResizeEvent>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tmarea *marea = nullptr;
int Tmarea::moonStep = 0;

SimWindow *CreateMarea(QWidget *owner)
{
    marea = new Tmarea(owner);
    return marea;
}

static const SimRegistration registration("F3", CreateMarea);

// Half the opening of an arrowhead: 20 degrees.
static constexpr Extended HeadSpread = 0.3490658503988659L;

Tmarea::Tmarea(QWidget *owner)
    : SimWindow(owner, 13, 17, QStringLiteral("Vastara/luna.htm#maree"))
{
    setObjectName(QStringLiteral("marea"));
    Color = clBlack;

    QToolBar *bar1 = AddToolBar();
    AddPausa(bar1, 21);
    AddCadenza(bar1, 90);
    QToolBar *bar2 = AddToolBar();
    vettorig = AddSpeedButton(bar2, QStringLiteral("tide_attraction"), 35, true, "vettorig");
    vettoric = AddSpeedButton(bar2, QStringLiteral("tide_centrifugal"), 24, true, "vettoric");
    vettorir = AddSpeedButton(bar2, QStringLiteral("tide_resultant"), 36, true, "vettorir");
    AddGuida(bar2);
    connect(vettorig, &QToolButton::clicked, this, [this] { vettorigClick(); });
    connect(vettoric, &QToolButton::clicked, this, [this] { vettoricClick(); });
    connect(vettorir, &QToolButton::clicked, this, [this] { vettorirClick(); });

    // The bottom panel: the phase caption, then the legend of the three arrow sets, with
    // raised separators between them. The coloured legend reads on black.
    AddSotto(clBlack);
    testo = AddPanel(sotto, "testo", clBlack, clSilver, true);
    testo->setAlignment(Qt::AlignCenter);
    Label1 = AddPanel(sotto, "Label1", clRed, clBlack, true);
    Label2 = AddPanel(sotto, "Label2", clYellow, clBlack, true);
    Label3 = AddPanel(sotto, "Label3", clAqua, clBlack, true);
    for (QLabel *l : {Label1, Label2, Label3}) {
        QFont f = l->font();
        f.setItalic(true);
        l->setFont(f);
    }
    Bevel1 = AddBevel(sotto, "Bevel1");
    Bevel2 = AddBevel(sotto, "Bevel2");
    Bevel3 = AddBevel(sotto, "Bevel3");
    Bevel4 = AddBevel(sotto, "Bevel4");
    for (QFrame *b : {Bevel1, Bevel2, Bevel3, Bevel4})
        b->setFrameShadow(QFrame::Raised);
}

Tmarea::~Tmarea()
{
    pc.setTarget(nullptr);
    if (marea == this)
        marea = nullptr;
}

void Tmarea::LayoutSotto()
{
    // The caption, and each legend label wide enough for its text when shown, so that
    // switching a set on or off moves nothing.
    const int top = metrics.controlTop;
    const int h = metrics.controlHeight;
    int x = 8;
    auto bevel = [&](QFrame *b) {
        b->setGeometry(x, top, 3, h);
        x += 3 + 8;
    };
    testo->setGeometry(x, top, 137, h);
    x += 137 + 8;
    bevel(Bevel1);
    const int rows[3] = {92, 93, 94};
    QLabel *labels[3] = {Label1, Label2, Label3};
    QFrame *after[3] = {Bevel2, Bevel3, Bevel4};
    for (int k = 0; k < 3; ++k) {
        const QFontMetrics fm(labels[k]->font());
        const int w = fm.horizontalAdvance(QStringLiteral(" ------> ") + controlText(rows[k])) + 8;
        labels[k]->setGeometry(x, top, w, h);
        x += w + 8;
        bevel(after[k]);
    }
}

void Tmarea::FormCreate()
{
    SimWindow::FormCreate();
    // The controls of the bottom panel are centred in it from this window's own metrics;
    // the shared value is left as it is for the windows opened later.
    metrics.controlTop = Div(metrics.barHeight - metrics.controlHeight, 2);
    LayoutSotto();
    tempo->setInterval(90);
    showAttraction = showCentrifugal = showResultant = false;
    for (QToolButton *b : {vettorig, vettoric, vettorir})
        b->setChecked(false);
    for (QLabel *l : {testo, Label1, Label2, Label3})
        l->setText(QString());

    W = ClientWidth();
    H = ClientHeight();
    fifthHeight = Div(H, 5);

    pc.setTarget(nullptr);
    picture = NewBitmap(qMax(1, Div(W, 2)), qMax(1, Div(3 * H, 5)), clBlack);
    pc.setTarget(&picture);
    pc.brush.Color = clBlack;
    pc.pen.Color = clWhite;

    sunImage = NewBitmap(qMax(1, Div(H, 8)), qMax(1, Div(H, 4)), clBlack);
    {
        Canvas c(&sunImage);
        c.pen.Color = clYellow;
        c.brush.Color = clYellow;
        c.Ellipse(0, 0, Div(H, 4), Div(H, 4));
    }
    moonImage = NewBitmap(qMax(1, Div(H, 8)), qMax(1, Div(H, 8)), clBlack);
    {
        Canvas c(&moonImage);
        const int d = Div(H, 25);
        c.pen.Color = clGray;
        c.brush.Color = clBlack;
        c.Ellipse(0, 0, d, d);
        // The half facing the Sun, on the right, is lit: anticlockwise from the bottom of
        // the disc to its top.
        c.pen.Color = clWhite;
        c.brush.Color = clWhite;
        c.Pie(0, 0, d, d, Div(H, 50), d, Div(H, 50), 0);
    }
    canvas.brush.Color = clBlack;
    canvas.FillRect(0, 0, screen.width(), screen.height());
    FormPaint();
}

void Tmarea::resizeEvent(QResizeEvent *e)
{
    SimWindow::resizeEvent(e);
    if (sunImage.isNull())
        return;
    canvas.brush.Color = clBlack;
    canvas.FillRect(0, 0, screen.width(), screen.height());
    canvas.Draw(0, fifthHeight, picture);
    FormPaint();
}

void Tmarea::FormPaint()
{
    if (sunImage.isNull())
        return;
    canvas.Draw(ClientWidth() - Div(H, 8), Div(3 * H, 8), sunImage);
}

void Tmarea::FreeBitmaps()
{
    pc.setTarget(nullptr);
    picture = QImage();
    sunImage = QImage();
    moonImage = QImage();
}

void Tmarea::Legend(QLabel *label, bool on, int row)
{
    label->setText(on ? QStringLiteral(" ------> ") + controlText(row) : QStringLiteral(" "));
}

void Tmarea::vettorigClick()
{
    showAttraction = !showAttraction;
    Legend(Label1, showAttraction, 92);
}

void Tmarea::vettoricClick()
{
    showCentrifugal = !showCentrifugal;
    Legend(Label2, showCentrifugal, 93);
}

void Tmarea::vettorirClick()
{
    showResultant = !showResultant;
    Legend(Label3, showResultant, 94);
}

void Tmarea::Arrow(const ArrowSpec &arrow, int ex, int ey)
{
    const Real L = arrow.L, a = arrow.a, d = arrow.d;
    const Extended x0 = ex + (H / 17.0L) * std::cos(Extended(a));
    const Extended y0 = ey - (H / 17.0L) * std::sin(Extended(a));
    const Extended psi = Extended(a) + Extended(d) - Pi / 2;
    const Extended x1 = x0 - L * std::cos(psi);
    const Extended y1 = y0 + L * std::sin(psi);
    pc.Line(Round(x0), Round(y0), Round(x1), Round(y1));
    const Extended s = L / 5.0L;
    pc.Polygon({QPoint(Round(x1), Round(y1)),
                QPoint(Round(x1 + s * std::cos(psi + HeadSpread)), Round(y1 - s * std::sin(psi + HeadSpread))),
                QPoint(Round(x1 + s * std::cos(psi - HeadSpread)), Round(y1 - s * std::sin(psi - HeadSpread)))});
}

Tmarea::ArrowSpec Tmarea::Resultant(const ArrowSpec &first, const ArrowSpec &second)
{
    // An arrow points along the angle a + d + pi/2; add the two as vectors and give the sum
    // the turn that points it the same way from the first arrow's surface point.
    auto x = [](const ArrowSpec &s) { return s.L * std::cos(Extended(s.a) + Extended(s.d) + Pi / 2); };
    auto y = [](const ArrowSpec &s) { return s.L * std::sin(Extended(s.a) + Extended(s.d) + Pi / 2); };
    const Extended sx = x(first) + x(second), sy = y(first) + y(second);
    const Extended direction = std::atan2(sy, sx);
    return {Real(std::hypot(sx, sy)), first.a, Real(direction - Extended(first.a) - Pi / 2)};
}

void Tmarea::tempoTimer()
{
    if (picture.isNull())
        return;
    if (!pausa->isChecked()) {
        const int m = moonStep;
        if (m <= 6 || (m >= 294 && m <= 306) || m >= 594)
            testo->setText(controlText(91));
        else if ((m >= 144 && m <= 156) || (m >= 444 && m <= 456))
            testo->setText(controlText(90));
        else
            testo->setText(QString());

        pc.brush.Color = clBlack;
        pc.FillRect(0, 0, Div(W, 2), Div(3 * H, 5));

        const Extended alpha = Pi * moonStep / 300;
        const Extended c = std::cos(alpha), s = std::sin(alpha);
        const int gx = Div(W, 4), gy = Div(H, 2) - fifthHeight;
        // The Earth stands H/80 from the centre of mass, on the side away from the Moon.
        const int ex = gx - Round((H / 80.0L) * c);
        const int ey = gy + Round((H / 80.0L) * s);

        // The ocean: 102 spokes filling the ellipse stretched along the Earth-Moon line.
        pc.pen.Color = clBlue;
        pc.brush.Color = clBlue;
        pc.pen.Width = 2;
        const Extended along = (H / 15.0L) * (1 + std::fabs(c) / 15);
        const Extended across = (H / 18.0L) * (1 + std::fabs(s) / 15);
        for (int i = 0; i <= 101; ++i) {
            const Extended A = along * std::cos(i * Pi / 50);
            const Extended B = across * std::sin(i * Pi / 50);
            const Extended u = A * c - B * s;
            const Extended v = A * s + B * c;
            pc.Line(ex, ey, ex + Round(u), ey - Round(v));
        }
        // The solid Earth.
        pc.pen.Width = 1;
        pc.brush.Color = clNavy;
        const int r = Div(H, 20);
        pc.Ellipse(ex - r, ey - r, ex + r, ey + r);
        // The Moon, H/4 from the centre of mass.
        pc.Draw(gx + Round((H / 4.0L) * c) - Div(H, 50), gy - Round((H / 4.0L) * s) - Div(H, 50), moonImage);
        // The Earth's centre and the centre of mass.
        pc.pen.Color = clWhite;
        pc.brush.Color = clBlack;
        pc.Ellipse(ex - 2, ey - 2, ex + 2, ey + 2);
        pc.pen.Color = clNavy;
        pc.brush.Color = clRed;
        pc.Ellipse(gx - 2, gy - 2, gx + 2, gy + 2);

        // The four surface points: towards the Moon, away from it, and the two sides. At each
        // point the resultant is the sum of the attraction and the centrifugal force drawn there.
        const Real a = Real(alpha);
        const Real pi = Real(Pi);
        const ArrowSpec centrifugal[4] = {{Real(H / 20.0L), a, pi / 2},
                                          {Real(H / 20.0L), a + pi, -pi / 2},
                                          {Real(H / 20.0L), a + pi / 2, 0},
                                          {Real(H / 20.0L), a + 3 * pi / 2, pi}};
        const ArrowSpec attraction[4] = {{Real(H / 15.0L), a, -pi / 2},
                                         {Real(H / 25.0L), a + pi, pi / 2},
                                         {Real(H / 20.0L), a + pi / 2, 2.879793f},
                                         {Real(H / 20.0L), a - pi / 2, 0.2617994f}};
        if (showCentrifugal) {
            pc.pen.Color = pc.brush.Color = clYellow;
            for (const ArrowSpec &s : centrifugal)
                Arrow(s, ex, ey);
        }
        if (showAttraction) {
            pc.pen.Color = pc.brush.Color = clRed;
            for (const ArrowSpec &s : attraction)
                Arrow(s, ex, ey);
        }
        if (showResultant) {
            pc.pen.Color = pc.brush.Color = clAqua;
            for (int i = 0; i < 4; ++i)
                Arrow(Resultant(centrifugal[i], attraction[i]), ex, ey);
        }
        pc.pen.Color = clWhite;
        pc.brush.Color = clBlack;
        moonStep = (moonStep + 1) % Steps;
    }
    canvas.Draw(0, fifthHeight, picture);
}
