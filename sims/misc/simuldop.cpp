#include "simuldop.h"

#include "globals.h"
#include "language/texts.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

Tdopsimul *dopsimul = nullptr;

SimWindow *CreateDopsimul(QWidget *owner)
{
    dopsimul = new Tdopsimul(owner);
    return dopsimul;
}

static const SimRegistration registration("I31", CreateDopsimul);

Tdopsimul::Tdopsimul(QWidget *owner)
    : SimWindow(owner, 22, 31, QStringLiteral("Vastara/varie.htm#simulazione"))
{
    setObjectName(QStringLiteral("dopsimul"));
    Color = clBackground;

    QToolBar *bar1 = AddToolBar();
    AddPausa(bar1, 21);
    QToolBar *bar2 = AddToolBar();
    andamento = AddTrackBar(bar2, 5, 195, 99, 2);
    andamento->setObjectName(QStringLiteral("andamento"));
    connect(andamento, &QSlider::valueChanged, this, [this] { andamentoChange(); });
    QToolBar *bar3 = AddToolBar();
    plonda = new QSpinBox(bar3);
    plonda->setObjectName(QStringLiteral("plonda"));
    plonda->setRange(1, MaxSourceSpeed);
    plonda->setValue(1);
    plonda->setCursor(Qt::ArrowCursor);
    SetHint(plonda, controlText(67));
    bar3->addWidget(plonda);
    connect(plonda, &QSpinBox::valueChanged, this, [this] { plondaChanged(); });
    disegna = AddSpeedButton(bar3, QStringLiteral("restart"), 4, false);
    disegna->setObjectName(QStringLiteral("disegna"));
    disegna->setEnabled(false);
    connect(disegna, &QToolButton::clicked, this, [this] {
        disegnaClick();
        Refresh();
    });
    AddGuida(bar3);

    AddSotto(clBackground);
    Bevel1 = AddBevel(sotto, "Bevel1");
    Bevel2 = AddBevel(sotto, "Bevel2");
    Bevel3 = AddBevel(sotto, "Bevel3");
    Panel3 = AddPanel(sotto, "Panel3", clAqua, clBlack, true);
    Panel4 = AddPanel(sotto, "Panel4", clLime, clBlack, true);
    for (QLabel *p : {Panel3, Panel4}) {
        p->setAlignment(Qt::AlignCenter);
        p->hide();
    }
    progressione = new QProgressBar(sotto);
    progressione->setObjectName(QStringLiteral("progressione"));
    progressione->setTextVisible(false);
    progressione->setFixedWidth(150);
    progressione->hide();
    Bevel3->hide();
}

Tdopsimul::~Tdopsimul()
{
    if (dopsimul == this)
        dopsimul = nullptr;
}

void Tdopsimul::LayoutSotto()
{
    // The legends sit side by side from the left, each in a bevel; the progress bar at the
    // right-hand end.
    const int top = metrics.controlTop;
    const int h = metrics.controlHeight;
    const QFontMetrics fm(Panel4->font());
    const int w3 = fm.horizontalAdvance(Panel3->text()) + 16;
    const int w4 = fm.horizontalAdvance(controlText(67) + QStringLiteral("  v = 7")) + 16;
    Panel3->setGeometry(8, top, w3, h);
    Panel4->setGeometry(8 + w3 + 12, top, w4, h);
    progressione->setGeometry(sotto->width() - progressione->width() - 5, top, progressione->width(), h);
    for (auto [b, w] : {std::pair<QFrame *, QWidget *>{Bevel1, Panel3}, {Bevel2, Panel4}, {Bevel3, progressione}})
        b->setGeometry(w->x() - 2, top - 2, w->width() + 4, h + 4);
}

void Tdopsimul::resizeEvent(QResizeEvent *e)
{
    SimWindow::resizeEvent(e);
    if (!sotto)
        return;
    // The picture is placed from the new size at the next tick: start from a clean ground.
    if (size() != groundSize) {
        groundSize = size();
        canvas.brush.Color = Color;
        canvas.FillRect(0, 0, screen.width(), screen.height());
    }
}

void Tdopsimul::FormCreate()
{
    SimWindow::FormCreate();
    // The bottom bar takes the shared metrics; the top of its controls is worked out here
    // and kept for the windows opened after this one.
    ControlTop = Div(BarHeight - ControlHeight, 2);
    metrics.controlTop = ControlTop;
    progressione->setFixedHeight(qMax(metrics.controlHeight, 1));
    Panel3->setText(controlText(68));
    LayoutSotto();
    tempo->setInterval(200 - andamento->value());
    i = quint8(plonda->value());
    W = ClientWidth();
    H = ClientHeight();
    groundSize = size();
    const int span = Div(3 * W, 5);
    for (int s = 1; s <= 4; ++s) {
        A[s] = Div(span, 5 - s);
        B[s] = Div(span, 5 + s);
    }
    // At and above the wave speed the formula of A has no meaning: reuse slower speeds.
    A[5] = A[3], A[6] = A[4], A[7] = A[3];
    B[5] = B[3], B[6] = B[4], B[7] = B[3];
    frameRect = Rect(0, 0, Div(6 * W, 5), Div(H, 2));
    for (QImage &frame : frames)
        frame = NewBitmap(frameRect.width(), frameRect.height(), clBlack);
    disegnaClick();
}

void Tdopsimul::FormActivate()
{
    SimWindow::FormActivate();
    barrasotto->show();
    barrasotto->raise();
    Panel3->show();
    Panel4->show();
    // The button waits for a speed other than the one drawn.
    disegna->setEnabled(plonda->value() != i);
}

void Tdopsimul::andamentoChange()
{
    tempo->setInterval(200 - andamento->value());
}

void Tdopsimul::plondaChanged()
{
    disegna->setEnabled(true);
}

void Tdopsimul::DrawFront(Canvas &c, int j, TColor colour) const
{
    // A circle of radius 5j round the place where the source was j ticks ago.
    const QPoint s = Source();
    const int x1 = s.x() - (i + WaveSpeed) * j;
    const int y1 = s.y() - WaveSpeed * j;
    const int d = 2 * WaveSpeed * j;
    c.pen.Color = colour;
    c.pen.Style = PenStyle::Solid;
    c.pen.Width = 1;
    c.Arc(x1, y1, x1 + d, y1 + d, x1 + d, s.y(), x1 + d, s.y());
}

void Tdopsimul::StepProgress()
{
    progressione->setValue(qMin(progressione->value() + 1, progressione->maximum()));
}

void Tdopsimul::DrawPass(std::array<Canvas, FrameCount> &pads, TColor colour, int phase)
{
    const QPoint s = Source();
    // The oldest fronts, whose back edge has left the frame, without the source.
    for (int j = A[i]; j >= B[i]; --j) {
        DrawFront(pads[(j + phase) % FrameCount], j, colour);
        StepProgress();
    }
    // The younger ones, each followed by the source drawn over it.
    for (int j = B[i] - 1; j >= 0; --j) {
        Canvas &c = pads[(j + phase) % FrameCount];
        DrawFront(c, j, colour);
        c.pen.Color = clWhite;
        c.brush.Color = clWhite;
        c.brush.Style = BrushStyle::Solid;
        c.Ellipse(s.x() - 2, s.y() - 2, s.x() + 2, s.y() + 2);
        StepProgress();
    }
}

void Tdopsimul::disegnaClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    disegna->setEnabled(false);
    tempo->stop();
    i = quint8(plonda->value());
    Panel4->setText(controlText(67) + QStringLiteral("  v = ") + QString::number(i));
    // One step per front of each of the two passes, so the bar ends full.
    progressione->setRange(0, 2 * (A[i] + 1));
    progressione->setValue(0);
    std::array<Canvas, FrameCount> pads;
    for (int k = 0; k < FrameCount; ++k) {
        pads[k].setTarget(&frames[k]);
        pads[k].brush.Color = clBlack;
        pads[k].FillRect(frameRect);
    }
    progressione->show();
    Bevel3->show();
    // Blue fronts every 8 ticks, aqua ones half a period later.
    DrawPass(pads, clBlue, 0);
    DrawPass(pads, clAqua, 4);
    for (Canvas &c : pads)
        c.setTarget(nullptr);
    progressione->hide();
    Bevel3->hide();
    f = 0;
    t = 0;
    tempo->start();
    QApplication::restoreOverrideCursor();
}

void Tdopsimul::tempoTimer()
{
    if (frames[f].isNull())
        return;
    const int left = Div(13 * W, 20) - i * t;
    sourceRect = Rect(left, 0, left + Div(W, 2), Div(H, 2));
    const int x = Div(ClientWidth(), 4), y = Div(ClientHeight(), 4);
    screenRect = Rect(x, y, x + Div(W, 2), y + Div(H, 2));
    canvas.copyMode = CopyMode::SrcCopy;
    canvas.CopyRect(screenRect, frames[f], sourceRect);
    if (!pausa->isChecked()) {
        t = (t + 1) % RunLength();
        f = (f + 1) % FrameCount;
    }
}

void Tdopsimul::FreeBitmaps()
{
    for (QImage &frame : frames)
        frame = QImage();
}
