#include "tkeplero.h"

#include "globals.h"
#include "language/texts.h"

#include <QFrame>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tktres *ktres = nullptr;

SimWindow *CreateKtres(QWidget *owner)
{
    ktres = new Tktres(owner);
    return ktres;
}

static const SimRegistration registration("G3", CreateKtres);

Tktres::Tktres(QWidget *owner)
    : SimWindow(owner, 25, 20, QStringLiteral("Vastara/sistema.htm#terza"))
{
    setObjectName(QStringLiteral("ktres"));
    Color = clBlack;
    QPalette bar = barrasotto->palette();
    bar.setColor(QPalette::Window, toQColor(clSilver));
    barrasotto->setPalette(bar);
    AddPausa(AddToolBar(), 21);
    AddCadenza(AddToolBar(), 110);
    QToolBar *bar3 = AddToolBar();
    orbite = AddSpeedButton(bar3, QStringLiteral("orbits"), 34, true, "orbite");
    connect(orbite, &QToolButton::clicked, this, [this] { orbiteClick(); });
    AddGuida(bar3);
    nuovo = AddToolButton(bar3, 29, 4, false, "nuovo");
    connect(nuovo, &QToolButton::clicked, this, [this] { nuovoClick(); });
    // These controls have a hand cursor and show their tooltips whatever HintsOn says.
    for (QWidget *w : std::initializer_list<QWidget *>{pausa, cadenza, orbite, guida, nuovo}) {
        w->setCursor(Qt::PointingHandCursor);
        ShowOwnHint(w);
    }

    // The empty strip under the control bar.
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    QPalette strip = Panel1->palette();
    strip.setColor(QPalette::Window, toQColor(clSilver));
    Panel1->setPalette(strip);

    // The step counter, under the orbits.
    Panel2 = AddPanel(this, "Panel2", clBlack, clSilver, false);
    Panel2->setAlignment(Qt::AlignCenter);

    // Radius and period of each planet, in the planet's colour, pairs parted by bevels.
    AddSotto(clSilver);
    static const char *const names[2 * Planets] = {"Panel3", "Panel4", "Panel5", "Panel6",
                                                   "Panel7", "Panel8", "Panel9", "Panel10"};
    static const char *const bevelNames[Planets] = {"Bevel1", "Bevel2", "Bevel3", "Bevel4"};
    for (int k = 0; k < 2 * Planets; ++k) {
        QLabel *p = AddPanel(sotto, names[k], PlanetColour[k / 2], clBlack, true);
        p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        p->setAlignment(Qt::AlignCenter);
        pairPanel[k] = p;
    }
    for (int i = 0; i < Planets; ++i) {
        bevel[i] = AddBevel(sotto, bevelNames[i]);
        bevel[i]->setFrameStyle(QFrame::VLine | QFrame::Raised);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, [this] {
        Timer1Timer();
        Refresh();
    });
}

Tktres::~Tktres()
{
    pc.setTarget(nullptr);
    if (ktres == this)
        ktres = nullptr;
}

int Tktres::FitWidth(int clientWidth, int clientHeight)
{
    // The outer orbit is 6 R1 wide either side and 2 R1 high either side of the centre, a
    // quarter of the client down the picture; the picture is shown a quarter down the window
    // and the counter starts three quarters down. Keep the planet's disc between the two.
    const int quarter = Div(clientHeight, 4);
    const int room = qMin(quarter, Div(3 * clientHeight, 4) - 2 * quarter);
    auto fits = [room](int w) { return 2 * Div(w, 16) + Div(w, 170) <= room; };
    int w = qMax(clientWidth, 0);
    while (w > 0 && !fits(w))
        --w;
    return w;
}

QString Tktres::PeriodText(Real halfPeriod)
{
    // Nearest whole step, halves away from zero, right-aligned in three places.
    const long long steps = std::llroundl(2 * Extended(halfPeriod));
    return QString::number(steps).rightJustified(3, QLatin1Char(' ')).left(4);
}

void Tktres::LayoutSotto()
{
    if (!bevel[Planets - 1])
        return;
    const int w = width();
    Panel1->setGeometry(0, ControlBarHeight(), w, 20);
    const QFontMetrics fm(Panel2->font());
    const int counterWidth = fm.horizontalAdvance(QStringLiteral("99999999")) + 16;
    Panel2->setGeometry(Div(w - counterWidth, 2), Div(3 * height(), 4), counterWidth, fm.height() + 6);
    // Four equal places, each with its radius and period side by side and a bevel after it.
    const QFontMetrics pm(pairPanel[0]->font());
    const int panelWidth = pm.horizontalAdvance(QStringLiteral("T = 99999")) + 10;
    const int place = Div(w, Planets);
    for (int i = 0; i < Planets; ++i) {
        const int x = i * place + qMax(4, Div(place - 2 * panelWidth - 8, 2));
        pairPanel[2 * i]->setGeometry(x, metrics.controlTop, panelWidth, metrics.controlHeight);
        pairPanel[2 * i + 1]->setGeometry(x + panelWidth + 8, metrics.controlTop, panelWidth,
                                          metrics.controlHeight);
        bevel[i]->setGeometry((i + 1) * place - 2, -1, 2, sotto->height());
    }
}

void Tktres::FormCreate()
{
    SimWindow::FormCreate();
    cadenza->setValue(110);
    tempo->setInterval(90);
    CW = ClientWidth();
    CH = ClientHeight();
    // On a wide client the scene takes the widest width that keeps it whole, centred.
    sceneWidth = SceneWidth(FitWidth(CW, CH));
    sceneLeft = SceneLeft(sceneWidth);
    u1 = quint8(Div(sceneWidth, 90));
    u2 = quint8(Div(sceneWidth, 170));
    const int r1 = Div(sceneWidth, 16);
    for (int i = 0; i < Planets; ++i)
        R[i] = RadiusRatio[i] * r1;
    // Third law: T^2 proportional to R^3. The cubes in 64 bits: a 4K client's outer radius
    // cubed is past the 32-bit range.
    T[0] = Real(R[0]);
    const qint64 cube1 = qint64(R[0]) * R[0] * R[0];
    for (int i = 1; i < Planets; ++i) {
        const qint64 cube = qint64(R[i]) * R[i] * R[i];
        T[i] = cube1 > 0 ? Real(std::sqrt(Extended(cube) * T[0] * T[0] / Extended(cube1))) : Real(0);
    }
    for (int i = 0; i < Planets; ++i) {
        pairPanel[2 * i]->setText(QStringLiteral("R = ") + QString::number(R[i]).left(4));
        pairPanel[2 * i + 1]->setText(QStringLiteral("T = ") + PeriodText(T[i]));
    }
    Panel2->clear();
    LayoutSotto();

    pc.setTarget(nullptr);
    picture = NewBitmap(CW, CH, clBlack);
    orbits = NewBitmap(CW, CH, clBlack);
    DrawOrbits();
    pc.setTarget(&picture);
    DrawSun();
    t = 0;
    SaveUnderPlanets();
    for (int i = 0; i < Planets; ++i) {
        const QRect r = PlanetRect(i);
        pc.pen.Color = PlanetColour[i];
        pc.brush.Color = PlanetColour[i];
        pc.Ellipse(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        sprite[i] = NewBitmap(qMax(4 * u2, 1), qMax(4 * u2, 1), clBlack);
        Canvas s(&sprite[i]);
        s.CopyRect(QRect(0, 0, r.width(), r.height()), picture, r);
    }
    pc.pen.Color = clWhite;
    pc.brush.Color = clBlack;
}

void Tktres::FormClose()
{
    Timer1->stop();
    SimWindow::FormClose();
}

void Tktres::FreeBitmaps()
{
    pc.setTarget(nullptr);
    picture = orbits = QImage();
    for (int i = 0; i < Planets; ++i) {
        under[i].Clear();
        sprite[i] = QImage();
    }
}

QPoint Tktres::PlanetAt(int i, int s) const
{
    if (T[i] <= 0)
        return QPoint(Round(CentreX()), CentreY());
    const Extended theta = Extended(s) * Pi / Extended(T[i]);
    return QPoint(Round(CentreX() + R[i] * std::cos(theta)),
                  CentreY() - Round(Extended(R[i]) / 3 * std::sin(theta)));
}

QRect Tktres::PlanetRect(int i) const
{
    return Rect(pos[i].x() - u2, pos[i].y() - u2, pos[i].x() + u2, pos[i].y() + u2);
}

void Tktres::DrawOrbits()
{
    Canvas c(&orbits);
    c.brush.Color = clBlack;
    c.FillRect(0, 0, CW, CH);
    c.pen.Color = clGray;
    for (int i = Planets - 1; i >= 0; --i) {
        const Extended b = Extended(R[i]) / 3;
        c.Ellipse(Round(CentreX() - R[i]), Round(Extended(CH) / 4 - b), Round(CentreX() + R[i]),
                  Round(Extended(CH) / 4 + b));
    }
    c.pen.Style = PenStyle::Dot;
    c.Line(SunX(), CentreY(), SunX() + R[Planets - 1], CentreY());
}

void Tktres::DrawSun()
{
    pc.pen.Color = clYellow;
    pc.brush.Color = clYellow;
    pc.Ellipse(SunX() - u1, CentreY() - u1, SunX() + u1, CentreY() + u1);
}

void Tktres::SaveUnderPlanets()
{
    for (int i = 0; i < Planets; ++i) {
        pos[i] = PlanetAt(i, t);
        under[i].Save(picture, PlanetRect(i));
    }
}

void Tktres::DrawPlanets()
{
    for (int i = 0; i < Planets; ++i) {
        const QRect r = PlanetRect(i);
        pc.CopyRect(r, sprite[i], QRect(0, 0, r.width(), r.height()));
    }
}

void Tktres::tempoTimer()
{
    if (picture.isNull())
        return;
    if (!pausa->isChecked()) {
        for (int i = 0; i < Planets; ++i) {
            under[i].Restore(pc);
            pos[i] = PlanetAt(i, t);
            const QRect r = PlanetRect(i);
            under[i].Save(picture, r);
            pc.CopyRect(r, sprite[i], QRect(0, 0, r.width(), r.height()));
        }
        Panel2->setText(QString::number(t).left(8));
        ++t;
    }
    canvas.Draw(0, PictureTop(), picture);
}

void Tktres::orbiteClick()
{
    Timer1->start();
}

void Tktres::nuovoClick()
{
    t = 0;
    orbiteClick();
}

void Tktres::Timer1Timer()
{
    Timer1->stop();
    if (picture.isNull())
        return;
    pc.brush.Color = clBlack;
    pc.FillRect(0, 0, CW, CH);
    if (orbite->isChecked())
        pc.Draw(0, 0, orbits);
    DrawSun();
    SaveUnderPlanets();
    // The planets go back on at once, so a paused picture does not lose them.
    DrawPlanets();
    pc.pen.Color = clWhite;
    pc.brush.Color = clBlack;
    canvas.Draw(0, PictureTop(), picture);
}
