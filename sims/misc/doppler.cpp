#include "doppler.h"

#include "globals.h"
#include "language/texts.h"

#include <QLabel>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tdop *dop = nullptr;

SimWindow *CreateDop(QWidget *owner)
{
    dop = new Tdop(owner);
    return dop;
}

static const SimRegistration registration("I32", CreateDop);

Tdop::Tdop(QWidget *owner)
    : SimWindow(owner, 5, 32, QStringLiteral("Vastara/varie.htm#confronto"))
{
    setObjectName(QStringLiteral("dop"));
    Color = clBlack;

    QToolBar *bar1 = AddToolBar();
    AddPausa(bar1, 21);
    QToolBar *bar2 = AddToolBar();
    AddCadenza(bar2, 110);
    QToolBar *bar3 = AddToolBar();
    allon = AddSpeedButton(bar3, QStringLiteral("hand_away"), 63, true, "allon");
    quiete = AddSpeedButton(bar3, QStringLiteral("hand_open"), 64, true, "quiete");
    avvic = AddSpeedButton(bar3, QStringLiteral("hand_towards"), 65, true, "avvic");
    ExclusiveGroup({allon, quiete, avvic});
    quiete->setChecked(true);
    connect(allon, &QToolButton::clicked, this, [this] { allonClick(); });
    connect(quiete, &QToolButton::clicked, this, [this] { quieteClick(); });
    connect(avvic, &QToolButton::clicked, this, [this] { avvicClick(); });
    nuvole = AddToolButton(bar3, 24, 66, false, "nuvole");
    connect(nuvole, &QToolButton::clicked, this, [this] { nuvoleClick(); });
    AddGuida(bar3);

    AddSotto(clBackground, true);
    Panel4 = AddPanel(sotto, "Panel4", clWhite, clBlack, true);
    Panel4->setAlignment(Qt::AlignCenter);

    const char *names[] = {"Label1", "Label2", "Label3"};
    const char *texts[] = {"S", "O", "O'"};
    QLabel **labels[] = {&Label1, &Label2, &Label3};
    for (int k = 0; k < 3; ++k) {
        auto *l = new QLabel(QString::fromLatin1(texts[k]), this);
        l->setObjectName(QString::fromLatin1(names[k]));
        l->setAutoFillBackground(true);
        QPalette pal = l->palette();
        pal.setColor(QPalette::Window, toQColor(clBlack));
        pal.setColor(QPalette::WindowText, toQColor(clWhite));
        l->setPalette(pal);
        l->adjustSize();
        *labels[k] = l;
    }
}

Tdop::~Tdop()
{
    pc.setTarget(nullptr);
    if (dop == this)
        dop = nullptr;
}

QString Tdop::StateText(int motion, int language)
{
    static const char *const still[] = {"Sorgente in quiete", "Still source", "Source immobile",
                                        "Fuente en reposo"};
    static const char *const away[] = {"Sorgente in allontanamento", "Going away source",
                                       "Source en éloignement", "Fuente en alejamiento"};
    static const char *const towards[] = {"Sorgente in avvicinamento", "Approaching source",
                                          "Source en approchement", "Fuente en acercamiento"};
    const int l = qBound(0, language, 3);
    return QString::fromUtf8(motion < 0 ? away[l] : motion > 0 ? towards[l] : still[l]);
}

void Tdop::LayoutSotto()
{
    // The state panel at the left, wide enough for the longest of its texts.
    const QFontMetrics fm(Panel4->font());
    int w = 0;
    for (int m : {-1, 0, 1})
        w = qMax(w, fm.horizontalAdvance(StateText(m, LanguageIndex)));
    Panel4->setGeometry(8, metrics.controlTop, w + 16, metrics.controlHeight);
}

void Tdop::SetState(int motion)
{
    QPalette pal = Panel4->palette();
    pal.setColor(QPalette::WindowText, toQColor(motion < 0 ? clAqua : motion > 0 ? clLime : clWhite));
    Panel4->setPalette(pal);
    Panel4->setText(StateText(motion, LanguageIndex));
    s = qint8(motion);
}

void Tdop::FormCreate()
{
    SimWindow::FormCreate();
    cadenza->setValue(110);
    tempo->setInterval(90);
    W = ClientWidth();
    H = ClientHeight();
    u = quint8(Div(W, 200));
    v = quint8(Div(W, 80));
    Label1->move(Div(W, 2) - 8 * v, Div(H, 3));
    Label2->move(W - 3 * v, Div(H, 3));
    Label3->move(W - 3 * v, Div(2 * H, 3));
    SetState(0);
    LayoutSotto();
    picture = NewBitmap(W, Div(3 * H, 4), clBlack);
    pc.setTarget(&picture);
    pc.pen.Color = clWhite;
    pc.brush.Color = clBlack;
    pc.brush.Style = BrushStyle::Solid;
    pc.font.setBold(true);
    pc.fontColor = clWhite;
    p = 1;
    c = 0;
    halfPixel = 0;
    labelX = Div(W, 2) - 8 * v;
    upperSource = Rect(Div(W, 2) - u - 2, Div(H, 8), Div(9 * W, 10) - u, Div(7 * H, 24));
    upperTarget = Rect(Div(W, 2) - 2, Div(H, 8), Div(9 * W, 10), Div(7 * H, 24));
    y1 = 0;
    y2 = 0;
}

void Tdop::allonClick()
{
    SetState(-1);
}

void Tdop::quieteClick()
{
    SetState(0);
}

void Tdop::avvicClick()
{
    SetState(1);
}

void Tdop::nuvoleClick()
{
    nuvole->setEnabled(false);
    p = v - p;
}

void Tdop::Lever(int x0, int axis, Real y)
{
    pc.Line(x0 - 6 * v, axis, x0 - v, Round(axis + Extended(y)));
}

void Tdop::Shift(const QRect &source, const QRect &target)
{
    // Source and target overlap: copy through a picture of its own.
    const QImage strip = picture.copy(source);
    pc.CopyRect(target, strip, strip.rect());
}

void Tdop::tempoTimer()
{
    if (picture.isNull())
        return;
    if (!pausa->isChecked()) {
        const int x0 = Div(W, 2);
        const int upperAxis = Div(5 * H, 24), lowerAxis = Div(13 * H, 24);
        // The levers come off at their last place.
        pc.pen.Color = clBlack;
        Lever(x0, upperAxis, y1);
        Lever(x0 + c, lowerAxis, y2);
        if (p % (2 * v) == 0)
            nuvole->setEnabled(true);
        const Real y = Real(Extended(H) / 20 * std::sin(Extended(p) * Pi / v));

        // Upper wave: a new segment from the source, then the strip moves u pixels right.
        pc.pen.Color = clWhite;
        pc.Line(x0 + u, Round(UpperAxis() + y1), x0, Round(UpperAxis() + y));
        y1 = y;
        Lever(x0, upperAxis, y1);
        Shift(upperSource, upperTarget);

        // The lower source moves half as fast as the waves, u/2 pixels a tick (one against
        // two at the classic width of 535), so the wave ahead of it is half the still one and
        // the wave behind it half as long again at any width; an odd u takes two ticks to make
        // up. It stops once past the limit; a further press the same way takes it no farther.
        const int from = c;
        const int halves = 2 * c + halfPixel + s * u;
        c = qBound(-(Limit() + 1), halves / 2, Limit() + 1);
        halfPixel = c == halves / 2 ? halves % 2 : 0;
        if (qAbs(c) > Limit()) {
            allon->setChecked(false);
            avvic->setChecked(false);
            quiete->setChecked(true);
            SetState(0);
        }
        lowerSource = Rect(x0 - u + c, Div(11 * H, 24), Div(9 * W, 10) - u, Div(5 * H, 8));
        lowerTarget = Rect(x0 + c, Div(11 * H, 24), Div(9 * W, 10), Div(5 * H, 8));

        // From where the wave sent at the last tick has got to.
        pc.Line(x0 + u + from, Round(LowerAxis() + y2), x0 + c, Round(LowerAxis() + y));
        y2 = y;
        const QString label = QStringLiteral("S' ");
        pc.fontColor = clBlack;
        pc.TextOut(labelX, lowerAxis, label);
        labelX = x0 + c - 8 * v;
        pc.fontColor = clWhite;
        pc.TextOut(labelX, lowerAxis, label);
        Lever(x0 + c, lowerAxis, y2);
        Shift(lowerSource, lowerTarget);

        p = (p + 1) % (2 * v);
    }
    canvas.Draw(0, Div(ClientHeight(), 8), picture);
}

void Tdop::FreeBitmaps()
{
    pc.setTarget(nullptr);
    picture = QImage();
}
