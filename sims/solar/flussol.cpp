#include "flussol.h"

#include "globals.h"
#include "imagelist.h"
#include "language/texts.h"

#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tunflusso *unflusso = nullptr;

SimWindow *CreateUnflusso(QWidget *owner)
{
    unflusso = new Tunflusso(owner);
    return unflusso;
}

static const SimRegistration registration("G6", CreateUnflusso);

Tunflusso::Tunflusso(QWidget *owner)
    : SimWindow(owner, 27, 23, QStringLiteral("Vastara/sistema.htm#irraggiamento"))
{
    setObjectName(QStringLiteral("unflusso"));
    Color = clBlack;
    NameAnimation("cadenza");
    ShowBarAtCreation();

    QToolBar *bar1 = AddToolBar("ToolBar1");
    AddPausa(bar1, 21);
    velo = AddCadenza(bar1, 150, 5, 195, "velo");
    QToolBar *bar2 = AddToolBar("ToolBar2");
    psuperficie = new QSpinBox(bar2);
    psuperficie->setObjectName(QStringLiteral("psuperficie"));
    psuperficie->setRange(1, 2);
    psuperficie->setValue(1);
    psuperficie->setMinimumWidth(36);
    psuperficie->setCursor(Qt::ArrowCursor);
    SetHint(psuperficie, controlText(44));
    bar2->addWidget(psuperficie);
    versore = AddToolButton(bar2, 20, 69, true, "versore");
    QToolBar *bar3 = AddToolBar("ToolBar3");
    normale = AddToolButton(bar3, 27, 43, true, "normale");
    papasso = AddToolButton(bar3, 28, 31, true, "papasso");
    ExclusiveGroup({normale, papasso});
    normale->setChecked(true);
    continua = AddToolButton(bar3, 22, 0, false, "continua");
    SetHint(continua, controlText(27) + titleText(13));
    continua->setEnabled(false);
    AddGuida(bar3);

    connect(psuperficie, &QSpinBox::valueChanged, this, [this] { psuperficieClick(); });
    connect(normale, &QToolButton::clicked, this, [this] { normaleClick(); });
    connect(papasso, &QToolButton::clicked, this, [this] { papassoClick(); });
    connect(continua, &QToolButton::clicked, this, [this] { continuaClick(); });
    connect(pausa, &QToolButton::clicked, this, [this] { pausaClick(); });

    AddSotto(clSilver);
    Bevel1 = AddBevel(sotto, "Bevel1");
    Bevel3 = AddBevel(sotto, "Bevel3");
    for (QFrame *b : {Bevel1, Bevel3})
        b->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel3 = AddPanel(sotto, "Panel3", clWhite, clBlack, false, QStringLiteral("d = 1"));
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel3->setAlignment(Qt::AlignCenter);
    Panel3->hide();
    Label1 = AddPanel(sotto, "Label1", clBlack, clSilver, false, QStringLiteral(" E = "));
    Label2 = AddPanel(sotto, "Label2", clBlack, clSilver, false);
    Label8 = AddPanel(sotto, "Label8", clBlack, clSilver, false);
    Label8->hide();
    // The Enter key, which the hint of `continua` names, is shown beside the hint line.
    invio = new QToolButton(sotto);
    invio->setObjectName(QStringLiteral("invio"));
    invio->setIcon(GlyphIcon(QStringLiteral("enter_key")));
    invio->setAutoRaise(true);
    invio->setEnabled(false);
    NameAsEnterKey(invio);
    invio->hide();

    // The window sees every key first, whichever of its controls has the focus.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

Tunflusso::~Tunflusso()
{
    pc.setTarget(nullptr);
    if (unflusso == this)
        unflusso = nullptr;
}

Tunflusso::Layout Tunflusso::Layout::For(int W, int H)
{
    Layout l;
    l.u = Div(W, 50);
    l.h10 = Div(H, 10);
    l.w100 = Div(W, 100);
    l.q = W > 0 ? Round(Extended(H) * 40 * l.w100 / (9.0L * W)) : 0;
    l.cy = Div(H, 2);
    l.F = Real(W / 5.0L);
    l.r = Round(l.F / 6.0L);
    l.a = l.u - l.w100;
    l.b = l.h10 - l.q;
    l.Sx = Div(W, 2) + 10 * l.u;
    l.x0 = 3 * l.u;
    return l;
}

int Tunflusso::FitWidth() const
{
    const int CW = ClientWidth(), CH = ClientHeight();
    const int top = ControlBarHeight(), bottom = CH - metrics.barHeight;
    for (int w = CW; w > 0; --w) {
        const Layout l = Layout::For(w, CH);
        if (l.cy - l.ScreenReach() >= top && l.cy + l.ScreenReach() < bottom)
            return w;
    }
    return CW;
}

void Tunflusso::FormCreate()
{
    // The bar metrics from this window's own font, for it and for the windows opened after it.
    const int h = QFontMetrics(font()).height(); // text height of "P"
    BarHeight = 2 * h;
    ControlHeight = h + 4;
    ControlTop = 5;
    SimWindow::FormCreate();
    velo->setValue(150);
    tempo->setInterval(50);

    // The scene keeps the layout of the client the window has now.
    H = ClientHeight();
    W = SceneWidth(FitWidth());
    L = Layout::For(W, H);
    pictureLeft = SceneLeft(W) + 10 * L.u;
    P = Div(ScreenWidth(), 4);
    t = Div(ScreenWidth(), 4) * 2 - 4;
    psuperficie->setValue(1);
    k = 2;
    xs = Div(W, 6) * k + 10 * L.u;
    theta = 0;
    nx = ny = 0;
    waiting = false;
    normale->setChecked(true);
    continua->setEnabled(false);
    pausa->setEnabled(true);
    Label8->hide();

    pc.setTarget(nullptr);
    picture = NewBitmap(qMax(W, 1), qMax(H, 1), clBlack);
    pc.setTarget(&picture);
    pc.font = font();
    pc.brush.Color = clBlack;
    pc.pen.Color = clWhite;
    pc.fontColor = clWhite;
    pc.TextOut(L.Sx + 4, L.cy + 4, QStringLiteral("S"));
    pc.pen.Color = clRed;
    pc.brush.Color = clRed;
    pc.Ellipse(L.Sx - 4, L.cy - 4, L.Sx + 4, L.cy + 4);

    Panel3->show();
    LayoutSotto();
    tempo->start();
}

void Tunflusso::FreeBitmaps()
{
    pc.setTarget(nullptr);
    picture = QImage();
}

void Tunflusso::LayoutSotto()
{
    if (!Panel3)
        return;
    const BarMetrics &m = metrics;
    Panel3->setGeometry(10, m.controlTop, 60, m.controlHeight);
    Bevel1->setGeometry(8, m.controlTop - 2, 64, m.controlHeight + 4);
    Label1->adjustSize();
    Label1->move(90, m.controlTop);
    Label2->setGeometry(Label1->x() + Label1->width(), m.controlTop, Label1->fontMetrics().horizontalAdvance(QStringLiteral("00.00")) + 4,
                        Label1->height());
    const int right = Label2->x() + Label2->width();
    Bevel3->setGeometry(86, m.controlTop - 2, right - 86 + 4, m.controlHeight + 4);
    Label8->move(right + 24, m.controlTop);
    invio->move(Label8->x() + Label8->width() + 5, m.controlTop);
}

int Tunflusso::Distance() const
{
    return psuperficie->value();
}

bool Tunflusso::NormalInFront(int time) const
{
    // The vector stands in front of the sheet for the first 21 hundredths of a turn and the
    // last 28: 84 and 288 time units of a turn of 400.
    const long long m = Mod(time, 2 * P);
    return 400 * m < 84LL * 2 * P || 400 * m > 288LL * 2 * P;
}

void Tunflusso::Patch(int half, TColor colour)
{
    pc.pen.Color = colour;
    pc.brush.Color = colour;
    const int x0 = L.x0, cy = L.cy, a = L.a, b = L.b;
    pc.Polygon({QPoint(x0 + k * a, cy - k * (b - half)), QPoint(x0 - k * a, cy + k * (b + half)),
                QPoint(x0 - k * a, cy + k * (b - half)), QPoint(x0 + k * a, cy - k * (b + half))});
}

void Tunflusso::DrawNormal()
{
    pc.pen.Color = clSilver;
    const Extended n = theta + Pi / 2;
    pc.Line(xs, L.cy, xs + Round(std::cos(n) * L.r / 2), L.cy - Round(std::sin(n) * L.r / 2));
}

void Tunflusso::Step()
{
    const int CH = H, u = L.u, cy = L.cy, a = L.a, b = L.b, r = L.r, x0 = L.x0, Sx = L.Sx;
    // Take off the sheet, its rays and the patch.
    pc.pen.Color = clBlack;
    pc.pen.Style = PenStyle::Solid;
    pc.brush.Color = clBlack;
    pc.Polygon({QPoint(Sx - 4, Div(CH, 9)), QPoint(Sx - 4, CH), QPoint(9 * u - Round(L.F), CH),
                QPoint(11 * u - Round(L.F / 2), Div(CH, 9))});

    const int m = Mod(t - Div(ScreenWidth(), 10), P);
    theta = Real(t * Pi / P);
    nx = -Round(r * std::cos(Extended(theta)));
    ny = Round(r * std::sin(Extended(theta)));

    // The screen and its 8 x 8 grid.
    pc.pen.Color = clBlack;
    pc.brush.Color = clWhite;
    pc.Polygon({QPoint(x0 + 4 * a, cy - 4 * (b - r)), QPoint(x0 - 4 * a, cy + 4 * (b + r)),
                QPoint(x0 - 4 * a, cy + 4 * (b - r)), QPoint(x0 + 4 * a, cy - 4 * (b + r))});
    pc.pen.Color = clSilver;
    for (int i = 0; i <= 8; ++i) {
        pc.Line(x0 + (i - 4) * a, cy - (i - 4) * b - 4 * r, x0 + (i - 4) * a, cy - (i - 4) * b + 4 * r);
        pc.Line(x0 - 4 * a, cy + 4 * (b - r) + i * r, x0 + 4 * a, cy - 4 * (b + r) + i * r);
    }

    // The lit patch and the ray to its first corner.
    Patch(r, clRed);
    pc.pen.Style = PenStyle::Dot;
    pc.Line(Sx, cy, x0 + k * a, cy - k * (b - r));
    pc.pen.Style = PenStyle::Solid;

    if (versore->isChecked())
        DrawNormal();

    // The sheet, lit or in its own shadow, and its axis.
    pc.pen.Color = clBlue;
    pc.brush.Color = Div(P, 2) + 12 > m ? clBlue : clNavy;
    pc.Polygon({QPoint(xs + Div(a + nx, 2), cy - Div(b - ny, 2)), QPoint(xs - Div(a - nx, 2), cy + Div(b + ny, 2)),
                QPoint(xs - Div(a + nx, 2), cy + Div(b - ny, 2)), QPoint(xs + Div(a - nx, 2), cy - Div(b + ny, 2))});
    pc.Line(xs + u, 4 * L.h10, xs - u, 6 * L.h10);

    if (versore->isChecked() && NormalInFront(t))
        DrawNormal();

    // The sheet's shadow, and the other three rays over it.
    Patch(ny, clBlack);
    pc.pen.Color = clRed;
    pc.pen.Style = PenStyle::Dot;
    pc.Line(Sx, cy, x0 - k * a, cy + k * (b + r));
    pc.Line(Sx, cy, x0 - k * a, cy + k * (b - r));
    pc.Line(Sx, cy, x0 + k * a, cy - k * (b + r));
    pc.pen.Style = PenStyle::Solid;

    const int d = Distance();
    const Extended E = 4 * std::fabs(std::sin(Extended(theta))) / (d * d);
    Label2->setText(QString::number(double(E), 'f', 2).rightJustified(2).left(8));
    t += 2;
}

void Tunflusso::tempoTimer()
{
    const bool stepping = !waiting;
    if (stepping)
        Step();
    // Only what was drawn into the picture since the last tick goes to the screen (all of it
    // on a screen new since then). A step erases and redraws the whole screen and the rays,
    // though little of it moves: of that, only what differs from the screen is copied.
    const QRect drawn = screen.size() != shownOn ? picture.rect() : pc.ChangedRect();
    canvas.CopyDiffering(drawn.topLeft() + QPoint(pictureLeft, 0), picture, drawn);
    shownOn = screen.size();
    pc.ClearChanged();
    if (stepping && papasso->isChecked())
        waiting = true;
}

void Tunflusso::psuperficieClick()
{
    const int d = Distance();
    k = quint8(Div(2, d));
    xs = Div(W, 6) * k + 10 * L.u;
    Panel3->setText(d == 1 ? QStringLiteral("d = 1") : QStringLiteral("d = 2"));
}

void Tunflusso::normaleClick()
{
    // Back to the continuous run: a window paused before the step mode stays paused.
    waiting = pausa->isChecked();
    continua->setEnabled(!normale->isChecked());
    Label8->setVisible(continua->isEnabled());
    pausa->setEnabled(normale->isChecked());
    HintLineChanged(CurrentLongHint());
}

void Tunflusso::papassoClick()
{
    waiting = true;
    pausa->setEnabled(!papasso->isChecked());
    continua->setEnabled(papasso->isChecked());
    Label8->setVisible(continua->isEnabled());
    HintLineChanged(CurrentLongHint());
}

void Tunflusso::continuaClick()
{
    FormKeyPress();
}

void Tunflusso::FormKeyPress()
{
    // One more step in the step mode; in the continuous run a key leaves a pause alone.
    if (papasso->isChecked())
        waiting = false;
}

void Tunflusso::pausaClick()
{
    waiting = pausa->isChecked();
}

void Tunflusso::HintLineChanged(const QString &longHint)
{
    if (!Label8)
        return;
    Label8->setText(longHint);
    Label8->adjustSize();
    invio->move(Label8->x() + Label8->width() + 5, metrics.controlTop);
    const bool withKey = continua->isEnabled() && !Label8->text().isEmpty();
    invio->setVisible(withKey);
    if (withKey) {
        Label8->setText(Label8->text() + titleText(40));
        Label8->adjustSize();
        invio->raise();
    }
}

bool Tunflusso::OwnsKey(const QKeyEvent *e) const
{
    return papasso->isChecked() && !(e->modifiers() & Qt::ControlModifier);
}

bool Tunflusso::StepKey()
{
    // Paused in the continuous run: the tick waits on `waiting`, not on the button.
    if (!normale->isChecked() || !pausa->isChecked())
        return false;
    waiting = false;
    const bool stepped = SimWindow::StepKey();
    waiting = pausa->isChecked();
    return stepped;
}

void Tunflusso::keyPressEvent(QKeyEvent *e)
{
    FormKeyPress();
    e->accept();
}

bool Tunflusso::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress)
        FormKeyPress();
    return SimWindow::eventFilter(watched, e);
}
