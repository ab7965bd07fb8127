#include "magvar.h"

#include "globals.h"
#include "language/texts.h"

#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tbotmagne *botmagne = nullptr;

SimWindow *CreateBotmagne(QWidget *owner)
{
    botmagne = new Tbotmagne(owner);
    return botmagne;
}

static const SimRegistration registration("I1", CreateBotmagne);

static QSpinBox *AddSpinEdit(QToolBar *bar, const char *name)
{
    auto *s = new QSpinBox(bar);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(1, 2);
    s->setValue(1);
    s->setMinimumWidth(36);
    s->setCursor(Qt::ArrowCursor);
    bar->addWidget(s);
    return s;
}

Tbotmagne::Tbotmagne(QWidget *owner)
    : SimWindow(owner, 12, 29, QStringLiteral("Vastara/varie.htm#bottiglia"))
{
    setObjectName(QStringLiteral("botmagne"));
    Color = clBackground;
    NameAnimation("cadenza");

    QToolBar *bar1 = AddToolBar("ToolBar1");
    AddPausa(bar1, 21);
    velo = AddCadenza(bar1, 120, 5, 195, "velo");
    QToolBar *bar2 = AddToolBar("ToolBar2");
    traccia = AddSpeedButton(bar2, QStringLiteral("figure_trail"), 7, true, "traccia");
    pintensi = AddSpinEdit(bar2, "pintensi");
    SetHint(pintensi, controlText(57));
    pveloci = AddSpinEdit(bar2, "pveloci");
    SetHint(pveloci, controlText(58));
    aggiorna = AddToolButton(bar2, 29, 4, false, "aggiorna");
    QToolBar *bar3 = AddToolBar("ToolBar3");
    AddGuida(bar3);

    connect(pintensi, &QSpinBox::valueChanged, this, [this] { pvelociChanged(); });
    connect(pveloci, &QSpinBox::valueChanged, this, [this] { pvelociChanged(); });
    connect(aggiorna, &QToolButton::clicked, this, [this] {
        aggiornaClick();
        Refresh();
    });
    AddSotto();
}

Tbotmagne::~Tbotmagne()
{
    pc.setTarget(nullptr);
    if (botmagne == this)
        botmagne = nullptr;
}

void Tbotmagne::FormCreate()
{
    SimWindow::FormCreate();
    velo->setValue(120);
    tempo->setInterval(80);
    // The picture and the motion keep the size the window has now.
    W = ClientWidth();
    H = ClientHeight();
    pc.setTarget(nullptr);
    picture = NewBitmap(qMax(W, 1), qMax(Div(H, 2), 1), clBlack);
    pc.setTarget(&picture);
    pc.brush.Color = clBlack;
    pc.pen.Color = clWhite;
    saveUnder.Resize(6, 6);
    t = 0;
    z = 0;
    r = 0;
    X = Div(W, 2);
    Y = Div(H, 4);
    restart = 1;
}

void Tbotmagne::FormActivate()
{
    if (restart == 1)
        SetUp();
    SimWindow::FormActivate();
}

void Tbotmagne::FreeBitmaps()
{
    pc.setTarget(nullptr);
    picture = QImage();
    saveUnder.Clear();
}

Real Tbotmagne::RadiusAt(Extended zz) const
{
    const Extended u = zz / 500;
    return Real(Extended(H) * V / (30.0L * B) + (Extended(H) * V / (20.0L * B)) * std::exp(-u * u));
}

QPoint Tbotmagne::PlaceOf(int tt, Extended zz, Extended rr) const
{
    const Extended a = tt * Pi / 60;
    return QPoint(Div(W, 2) + Round((W / 4.0L) * (zz / 500) + (rr / 2) * std::cos(a)),
                  Div(H, 4) - Round(rr * std::sin(a)));
}

void Tbotmagne::pvelociChanged()
{
    aggiorna->setEnabled(true);
}

void Tbotmagne::aggiornaClick()
{
    restart = 1;
    FormActivate();
}

void Tbotmagne::SetUp()
{
    restart = 0;
    aggiorna->setEnabled(false);
    B = quint8(pintensi->value());
    V = quint8(pveloci->value());
    if (picture.isNull())
        return;
    pc.brush.Color = clBlack;
    pc.FillRect(0, 0, W, Div(H, 2));
    // The field lines: 6B + 1 of them, line 0 on the axis, widest apart in the middle.
    pc.pen.Color = clGray;
    const Extended spread = H / (40.0L * B), bulge = H / (30.0L * B);
    for (int i = -3 * B; i <= 3 * B; ++i) {
        QVector<QPoint> line;
        for (Real u = -1.5f; u <= 1.5f; u = Real(Extended(u) + 0.01L)) {
            const Extended uu = u;
            line.append(QPoint(Div(W, 2) + Round((W / 4.0L) * uu),
                               Div(H, 4) - Round(i * (spread + bulge * std::exp(-uu * uu)))));
        }
        pc.Polyline(line);
    }
    pc.pen.Color = clWhite;
    pc.brush.Color = clWhite;
    // The particle starts at the left-hand mirror point.
    t = TickCount / 2;
    z = -400;
    r = RadiusAt(z);
    const QPoint p = PlaceOf(t, z, r);
    X = p.x();
    Y = p.y();
    saveUnder.Save(picture, ParticleRect());
}

void Tbotmagne::tempoTimer()
{
    if (!pausa->isChecked() && !picture.isNull()) {
        saveUnder.Restore(pc);
        pc.pen.Color = clWhite;
        if (t % 4 == 0 && traccia->isChecked() && picture.rect().contains(X, Y))
            pc.SetPixel(X, Y, clWhite);
        r = RadiusAt(z);
        const QPoint p = PlaceOf(t, z, r);
        X = p.x();
        Y = p.y();
        saveUnder.Save(picture, ParticleRect());
        pc.brush.Color = clWhite;
        pc.Ellipse(X - 2, Y - 2, X + 2, Y + 2);
        t = (t + 1) % TickCount;
        z = Real(400 * std::cos(t * Pi / 600));
    }
    if (!picture.isNull())
        canvas.Draw(0, PictureTop(), picture);
}
