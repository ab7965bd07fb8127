#include "parabolico.h"

#include "globals.h"
#include "language/texts.h"
#include "numeric.h"

#include <QComboBox>
#include <QPalette>
#include <QProgressBar>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>

Tsconcavo *sconcavo = nullptr;

SimWindow *CreateSconcavo(QWidget *owner)
{
    sconcavo = new Tsconcavo(owner);
    return sconcavo;
}

static const SimRegistration registration("I2", CreateSconcavo);

Tsconcavo::Tsconcavo(QWidget *owner)
    : SimWindow(owner, 31, 30, QStringLiteral("Vastara/varie.htm#antenna"))
{
    setObjectName(QStringLiteral("sconcavo"));
    Color = clBlack;
    QPalette bar = barrasotto->palette();
    bar.setColor(QPalette::Window, toQColor(clSilver));
    barrasotto->setPalette(bar);

    AddPausa(AddToolBar(), 21);
    AddCadenza(AddToolBar(), 99, 5, 195, "andamento");
    QToolBar *bar3 = AddToolBar();
    tipo = AddDropDown(bar3, {controlText(60), controlText(61)}, 0, "tipo", true);
    aggiorna = AddToolButton(bar3, 29, 4, false, "aggiorna");
    QToolBar *bar4 = AddToolBar();
    fronti = AddSpeedButton(bar4, QStringLiteral("page_hand"), 62, true, "fronti");
    raggi = AddToolButton(bar4, 11, 59, true, "raggi");
    AddGuida(AddToolBar());
    // The list is as wide as its wider item plus the room of a button.
    FitDropDown(tipo, aggiorna->sizeHint().width() + 7);

    connect(tipo, &QComboBox::currentIndexChanged, this, [this] { tipoChange(); });
    connect(tipo, &QComboBox::activated, this, [this] { tipoChange(); });
    connect(aggiorna, &QToolButton::clicked, this, [this] {
        aggiornaClick();
        Refresh();
    });
    connect(raggi, &QToolButton::clicked, this, [this] { raggiClick(); });
    connect(fronti, &QToolButton::clicked, this, [this] { frontiClick(); });

    AddSotto(clSilver);
    progresso = new QProgressBar(sotto);
    progresso->setObjectName(QStringLiteral("progresso"));
    progresso->setTextVisible(false);
    progresso->setFixedWidth(150);
    progresso->hide();
}

Tsconcavo::~Tsconcavo()
{
    if (sconcavo == this)
        sconcavo = nullptr;
}

void Tsconcavo::LayoutSotto()
{
    if (!progresso)
        return;
    const int h = qMax(metrics.controlHeight, 1);
    progresso->setGeometry(sotto->width() - progresso->width() - 5, metrics.controlTop, progresso->width(), h);
}

void Tsconcavo::FormCreate()
{
    SimWindow::FormCreate();
    // The pictures are drawn for the client the window has now.
    CW = ClientWidth();
    CH = ClientHeight();
    F = Div(ScreenWidth(), 12);
    tempo->setInterval(200 - cadenza->value());
    receiving = true;
    needsRendering = true;
    firstRendering = true;
    lastItem = 0;
    frame = 0;
    tipo->setCurrentIndex(0);
    aggiorna->setEnabled(false);
    fronti->setEnabled(false);
    RememberTimer(tempo, false);
    for (QImage &p : pictures)
        p = NewBitmap(Div(CW, 2) + 10, Div(CH, 2), clBlack);
}

void Tsconcavo::FreeBitmaps()
{
    for (QImage &p : pictures)
        p = QImage();
}

void Tsconcavo::Prepare()
{
    aggiornaClick();
}

void Tsconcavo::ComputeGeometry()
{
    xv = -5 * CW;
    yc = Div(CH, 4);
    const Extended far = 5.0L * CW;
    s = Round(far * F / (far - F + 0.0001L));
    xf = Div(CW, 2) - s;
    n1 = Round(far / (Lambda - 1));
    n2 = Round(Extended(s) / Lambda);
    // Counted by the first design of the loop, never drawn.
    n3 = Div(CW, 8) - n2 + 2;
}

void Tsconcavo::Advance()
{
    ++progress;
    progresso->setValue(qMin(progress, progresso->maximum()));
    const int percent = int(qint64(progress) * 100 / qMax(1, progresso->maximum()));
    if (percent != shownPercent) {
        shownPercent = percent;
        if (progresso->isVisible())
            progresso->repaint();
    }
}

void Tsconcavo::aggiornaClick()
{
    // A choice made in the list is drawn however it was made: a mouse or key choice in the
    // opened list reports both a change and a click, and the second finds nothing changed.
    if (!needsRendering && receiving == (tipo->currentIndex() == 0))
        return;
    raggi->setChecked(false);
    ReleaseFronti();
    raggi->setEnabled(false);
    fronti->setEnabled(false);
    receiving = tipo->currentIndex() == 0;
    ComputeGeometry();

    for (int f = 0; f < FrameCount; ++f)
        pictures[f].fill(toQRgb(clBlack));
    // The bar counts the fronts that are drawn, so it ends full.
    progress = 0;
    shownPercent = -1;
    progresso->setRange(0, RenderingSteps());
    progresso->setValue(0);
    progresso->show();
    progresso->raise();

    const int half = Div(CH, 10);
    const int cx = Div(CW, 2);
    for (int m = 0; m <= 1; ++m) {
        const TColor colour = m == 0 ? clBlue : clAqua;
        for (int i = 0; i <= n1; ++i) {
            Canvas c(&pictures[7 - (4 * m + i) % 8]);
            c.pen.Color = colour;
            const int x = xv + Lambda * i;
            c.Line(x, yc - half, x, yc + half);
            Advance();
        }
        for (int i = 0; i <= n2; ++i) {
            Canvas c(&pictures[(i + 2 + 4 * m) % 8]);
            c.pen.Color = colour;
            const int r = Lambda * i;
            c.Arc(xf - r, yc - r, xf + r, yc + r, cx, yc + Div(CH, 7), cx, yc - Div(CH, 7));
            Advance();
        }
    }

    if (firstRendering)
        DrawRays();
    for (QImage &p : pictures)
        DrawMirror(p);

    progresso->hide();
    raggi->setEnabled(true);
    // The fronts can be hidden only while the rays are shown, and the rays are up now.
    fronti->setEnabled(raggi->isChecked());
    tempo->start();
}

int Tsconcavo::MirrorX(int t) const
{
    // The mirror is drawn two pixels wide, from MirrorX - 1 to MirrorX, its vertex just
    // left of CW div 2; the middle of its width is the parabola whose focus is the middle
    // of the yellow disc (xf - 1/2): a focal length of s - 1 from the vertex x = CW div 2 - 3/2.
    const Extended f = qMax(1, s - 1);
    return Div(CW, 2) - 1 - Round(Extended(t) * t / (4 * f));
}

void Tsconcavo::DrawRays()
{
    QImage &p = pictures[RaysPicture];
    p.fill(toQRgb(clBlack));
    Canvas c(&p);
    c.pen.Color = clWhite;
    c.pen.Style = PenStyle::Solid;
    // Each pair comes in along y = yc +- h, turns where it meets the mirror's face and goes
    // through the focus.
    for (const int h : {Div(CH, 10) - 1, Div(CH, 20), Div(CH, 40), Div(3 * CH, 40)})
        c.Polyline({QPoint(0, yc + h), QPoint(MirrorX(h) - 1, yc + h), QPoint(xf, yc),
                    QPoint(MirrorX(-h) - 1, yc - h), QPoint(0, yc - h)});
    firstRendering = false;
}

void Tsconcavo::DrawMirror(QImage &picture)
{
    Canvas c(&picture);
    const int cx = Div(CW, 2), top = -1, bottom = picture.height();
    QVector<QPoint> curve;
    for (int y = top; y <= bottom; ++y)
        curve.append(QPoint(MirrorX(y - yc), y));
    // Black behind the mirror, so nothing of the fronts shows through its back.
    QVector<QPoint> back = curve;
    back.append(QPoint(picture.width(), bottom));
    back.append(QPoint(picture.width(), top));
    c.pen.Color = clBlack;
    c.brush.Color = clBlack;
    c.brush.Style = BrushStyle::Solid;
    c.Polygon(back);
    c.pen.Color = clWhite;
    c.pen.Width = 2;
    c.Polyline(curve);
    // Nothing behind the mirror; the pen is black too, or its edge would draw a white line
    // through the vertex.
    c.pen.Width = 1;
    c.pen.Color = clBlack;
    c.Rectangle(cx, 0, CW, CH);
    if (xf > 0) {
        c.pen.Color = clYellow;
        c.brush.Color = clYellow;
        c.Ellipse(xf - 3, yc - 3, xf + 3, yc + 3);
    }
}

void Tsconcavo::tempoTimer()
{
    if (!pausa->isChecked())
        frame = quint8((frame + 1) % FrameCount);
    const QPoint o = PictureOrigin();
    const QRect whole = pictures[0].rect();
    const QRect dest(o, whole.size());
    const bool frontsShown = !fronti->isChecked();
    if (frontsShown) {
        canvas.copyMode = CopyMode::SrcCopy;
        canvas.CopyRect(dest, pictures[receiving ? 7 - frame : frame], whole);
        canvas.copyMode = CopyMode::SrcPaint;
    }
    if (raggi->isChecked()) {
        canvas.copyMode = frontsShown ? CopyMode::SrcPaint : CopyMode::SrcCopy;
        canvas.CopyRect(dest, pictures[RaysPicture], whole);
    }
}

void Tsconcavo::tipoChange()
{
    const int item = tipo->currentIndex();
    needsRendering = item != lastItem;
    lastItem = item;
    aggiorna->setEnabled(true);
}

void Tsconcavo::raggiClick()
{
    if (!raggi->isChecked())
        ReleaseFronti();
    fronti->setEnabled(raggi->isChecked());
}

void Tsconcavo::frontiClick()
{
    // Fixed texts, whatever the window's language.
    const bool tooltipShown = !fronti->toolTip().isEmpty();
    SetHint(fronti, fronti->isChecked() ? QString::fromUtf8("mostra i fronti d'onda")
                                        : QString::fromUtf8("nasconde i fronti d'onda"));
    if (tooltipShown)
        fronti->setToolTip(HintOf(fronti));
}

void Tsconcavo::ReleaseFronti()
{
    // Released by the program: its hint follows, as after a click.
    if (!fronti->isChecked())
        return;
    fronti->setChecked(false);
    frontiClick();
}
