#include "camsole.h"

#include "globals.h"
#include "language/texts.h"

#include <QFrame>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tcammin *cammin = nullptr;

SimWindow *CreateCammin(QWidget *owner)
{
    cammin = new Tcammin(owner);
    return cammin;
}

static const SimRegistration registration("G5", CreateCammin);

namespace {

// A number right-aligned in a field of the given width.
QString Str(int value, int width)
{
    return QString::number(value).rightJustified(width, QLatin1Char(' '));
}

constexpr int StepsPerDay = 80;
constexpr int SpringDays = 7;
constexpr int AutumnDays = 5;

// The named days of the spring half: winter solstice, spring equinox, summer solstice.
bool NamedDay(int v)
{
    return v == 0 || v == 3 || v == 6;
}

// Declination (code sign) of day v, and the hour angle of step h, from lower culmination.
Extended DayAngle(int v)
{
    return (24 - 8 * v) * Pi / 180;
}

Extended HourAngle(int h)
{
    return Pi + h * Pi / 40;
}

// The horizon's east-west line is turned by this angle so that it shows in perspective:
// the sky's east-west depth is drawn along it.
constexpr Extended Turn = 6 * Pi / 180;

// The farthest any point of the sky is drawn from the observer, for a sphere of radius 1:
// the meridian plane is drawn true size and the east-west depth adds its own length,
// sqrt(sin^2 6 + (5/14 cos 6)^2), across it.
Extended SkyReach()
{
    const Extended depth = 5.0L / 14;
    return std::sqrt(1 + std::sin(Turn) * std::sin(Turn) + depth * depth * std::cos(Turn) * std::cos(Turn));
}

} // namespace

Tcammin::Tcammin(QWidget *owner)
    : SimWindow(owner, 1, 22, QStringLiteral("Vastara/sistema.htm#cammino"))
{
    setObjectName(QStringLiteral("cammin"));
    Color = clBlack;
    QPalette bar = barrasotto->palette();
    bar.setColor(QPalette::Window, toQColor(clSilver));
    barrasotto->setPalette(bar);

    QToolBar *bar1 = AddToolBar("ToolBar1");
    AddPausa(bar1, 21);
    AddCadenza(bar1, 90);
    QToolBar *bar2 = AddToolBar("ToolBar2");
    traiet = AddSpeedButton(bar2, QStringLiteral("orbits"), 34, true, "traiet");
    connect(traiet, &QToolButton::clicked, this, [this] { traietClick(); });
    AddGuida(bar2);
    QToolBar *bar3 = AddToolBar("ToolBar3");
    partenza = AddToolButton(bar3, 2, 3, false, "partenza");
    connect(partenza, &QToolButton::clicked, this, [this] {
        partenzaClick();
        Refresh();
    });
    fine = AddToolButton(bar3, 29, 4, false, "fine");
    connect(fine, &QToolButton::clicked, this, [this] { fineClick(); });
    auto spin = [this, bar3](const char *name, int maximum, int value, int hintRow) {
        auto *s = new QSpinBox(bar3);
        s->setObjectName(QString::fromLatin1(name));
        s->setRange(0, maximum);
        s->setValue(value);
        s->setCursor(Qt::ArrowCursor);
        SetHint(s, controlText(hintRow));
        bar3->addWidget(s);
        return s;
    };
    gradi = spin("gradi", 90, 30, 41);
    primi = spin("primi", 59, 0, 42);
    primi->setWrapping(true);
    connect(gradi, &QSpinBox::valueChanged, this, [this] { gradiChanged(); });
    connect(primi, &QSpinBox::valueChanged, this, [this] { primiChanged(); });

    AddSotto(clSilver);
    Panel2 = AddPanel(sotto, "Panel2", clWhite, clBlack, true);
    Panel3 = AddPanel(sotto, "Panel3", clYellow, clBlack, true);
    for (QLabel *p : {Panel2, Panel3}) {
        p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        p->hide();
    }
    Bevel1 = AddBevel(sotto, "Bevel1");
    Bevel2 = AddBevel(sotto, "Bevel2");
    for (QFrame *b : {Bevel1, Bevel2})
        b->setFrameShadow(QFrame::Raised);
    a1 = new QLabel(sotto);
    a1->setObjectName(QStringLiteral("a1"));
    a1->setFont(Panel2->font());
    a1->hide();

    Label1 = AddPanel(this, "Label1", clWhite, clBlack, false, QStringLiteral("S"));
    // The zenith's name in the window's language (the international word where a loaded
    // language has none), written straight on the sky so the paths under it stay seen.
    const QString zenith = controlText(84).trimmed();
    Label2 = AddPanel(this, "Label2", clWhite, clBlack, false, zenith.isEmpty() ? QStringLiteral("Zenit") : zenith);
    Label2->setAutoFillBackground(false);
    Label3 = AddPanel(this, "Label3", clWhite, clBlack, false, QStringLiteral("N"));
    Label4 = AddPanel(this, "Label4", clWhite, clBlack, false);

    auto timer = [this](const char *name, int interval) {
        auto *t = new QTimer(this);
        t->setObjectName(QString::fromLatin1(name));
        t->setInterval(interval);
        return t;
    };
    tempo1 = timer("tempo1", 90);
    Timer1 = timer("Timer1", 1000);
    connect(tempo1, &QTimer::timeout, this, [this] {
        tempo1Timer();
        Refresh();
    });
    connect(Timer1, &QTimer::timeout, this, [this] {
        Timer1Timer();
        Refresh();
    });
}

Tcammin::~Tcammin()
{
    skyCanvas.setTarget(nullptr);
    if (cammin == this)
        cammin = nullptr;
}

int Tcammin::FitWidth(int centreY)
{
    // The Sun's farthest reach from the observer for a scene one pixel wide (a sphere of
    // radius 1/5): the diurnal circles in perspective reach a little beyond the sphere.
    static const Extended reach = SkyReach() / 5;
    // Room for the Sun's disc and the pole's, and for rounding.
    return qMax(0, int((centreY - 5) / reach));
}

void Tcammin::FormCreate()
{
    SimWindow::FormCreate();
    CW = ClientWidth();
    CH = ClientHeight();
    SW = SceneWidth(FitWidth(Div(3 * CH, 8)));
    SL = SceneLeft(SW);
    R = Real(SW / 5.0L);
    Rd = Real(SW / 14.0L);

    Label4->setText(controlText(85));
    Label4->adjustSize();
    Label4->resize(Label4->fontMetrics().horizontalAdvance(Label4->text()) + 4, Label4->height());
    Label4->move(SL + SW - Div(3 * Label4->width(), 2), Div(CH, 4) - 4);
    latDegrees = 30;
    latMinutes = 0;
    shownDegrees = 30;
    targetColat = colat = Real(Pi / 3);
    for (QLabel *l : {Label1, Label2, Label3})
        l->adjustSize();
    Label1->move(SL + Div(3 * SW, 10) - Label1->width(), Div(CH, 2) - Div(Label1->height(), 2));
    // On a wide client the zenith stands higher than on a 4:3 one: "Zenit" keeps its place
    // under the zenith mark.
    const int zenitTop = SW == CW ? Div(3 * CH, 10)
                                  : Div(CH, 8) + Div(3 * CH, 8) - Div(SW, 5) + Div(SW, 20);
    Label2->move(SL + Div(SW, 2) - Div(Label2->width(), 2), zenitTop - Div(3 * Label2->height(), 2));
    Label3->move(SL + Div(7 * SW, 10) + Label3->width(), Div(CH, 2) - Div(Label3->height(), 2));
    tempo->setInterval(90);
    tempo1->setInterval(90);
    Panel2->setText(LatitudeText(latDegrees, latMinutes));
    LayoutSotto();

    skyCanvas.setTarget(nullptr);
    sky = NewBitmap(CW, Div(3 * CH, 4), clBlack);
    skyCanvas.setTarget(&sky);
    skyCanvas.brush.Color = clBlack;
    under.Resize(7, 7);
    v = 0;
    h = 0;
    traces = false;
    ringOnMove = false;
    RememberTimer(tempo, false);
    RememberTimer(tempo1, false);
}

void Tcammin::LayoutSotto()
{
    const int top = metrics.controlTop, height = metrics.controlHeight;
    // Wide enough for the longest place name after the latitude.
    int wide = 0;
    for (int row : {79, 80, 81, 82, 83}) {
        a1->setText(controlText(row) + QStringLiteral("00000000"));
        a1->adjustSize();
        wide = qMax(wide, a1->width());
    }
    const QFontMetrics fm(Panel3->font());
    int days = 0;
    for (int row : {75, 76, 77, 78})
        days = qMax(days, fm.horizontalAdvance(controlText(row)) + 16);
    Panel2->setGeometry(10, top, wide, height);
    Bevel1->setGeometry(Panel2->x() + Panel2->width() + 10, -1, 2, sotto->height());
    Panel3->setGeometry(Bevel1->x() + 12, top, days, height);
    Bevel2->setGeometry(Panel3->x() + Panel3->width() + 10, -1, 2, sotto->height());
}

QString Tcammin::LatitudeText(int degrees, int minutes)
{
    QString name = controlText(83);
    if (degrees == 90 && minutes == 0)
        name = controlText(82);
    else if (degrees == 66 && minutes == 33)
        name = controlText(81);
    else if (degrees == 40 && minutes == 0)
        name = controlText(83);
    else if (degrees == 23 && minutes == 27)
        name = controlText(80);
    else if (degrees == 0 && minutes == 0)
        name = controlText(79);
    return Str(degrees, 2) + QString::fromUtf8("°") + Str(minutes, 2) + QLatin1Char('\'') + name;
}

void Tcammin::Prepare()
{
    DrawSky();
    Panel2->show();
    Timer1->start();
}

void Tcammin::FreeBitmaps()
{
    Timer1->stop();
    tempo1->stop();
    skyCanvas.setTarget(nullptr);
    sky = QImage();
    under.Clear();
}

void Tcammin::SunPosition()
{
    const Extended d = DayAngle(v);
    rc = Real(R * std::cos(d));
    rs = Real(R * std::sin(d));
    rv = Real(Rd * std::cos(d));
    const Extended H = HourAngle(h);
    X = Real(rc * std::cos(H));
    Y = Real(-rs);
    W = Real(std::sin(H));
    // The meridian plane turned through the co-latitude, and the part west of it drawn as
    // depth the way the horizon draws it: towards the far end of the east-west line.
    const Extended a = colat;
    const QPoint o = Centre();
    sx = o.x() - Round(X * std::cos(a) - Y * std::sin(a) - rc * W * std::sin(Turn));
    sy = o.y() - Round(X * std::sin(a) + Y * std::cos(a) + rv * W * std::cos(Turn));
}

void Tcammin::DrawSky()
{
    if (sky.isNull())
        return;
    Canvas &c = skyCanvas;
    const QPoint o = Centre();
    const int cx = o.x(), oy = o.y();
    c.pen = Pen{clBlack};
    c.brush = Brush{clBlack};
    c.FillRect(0, 0, sky.width(), sky.height());
    // The sphere and the horizon plane: the horizon circle drawn with its north-south
    // diameter across and its east-west one along the turned line, as the Sun is drawn.
    c.pen.Color = clSilver;
    c.Ellipse(SL + Div(3 * SW, 10), oy - Div(SW, 5), SL + Div(7 * SW, 10), oy + Div(SW, 5));
    c.pen.Color = clBlue;
    c.brush.Color = clBlue;
    QVector<QPoint> horizon;
    for (int i = 0; i < 360; ++i) {
        const Extended az = i * Pi / 180;
        horizon.append(QPoint(cx + Round(R * (std::cos(az) - std::sin(az) * std::sin(Turn))),
                              oy + Round(Rd * std::sin(az) * std::cos(Turn))));
    }
    c.Polygon(horizon);
    // Zenith mark, north-south line and the east-west line turned by 6 degrees.
    c.pen.Color = clYellow;
    c.Line(cx, oy - Div(SW, 5), cx, oy - Div(SW, 5) + 10);
    c.pen.Color = clAqua;
    c.Line(SL + Div(3 * SW, 10), oy, SL + Div(7 * SW, 10), oy);
    const int ex = Round(R * std::sin(Turn)), ey = Round(Rd * std::cos(Turn));
    c.Line(cx - ex, oy + ey, cx + ex, oy - ey);
    // The Sun's start and the ground under it.
    SunPosition();
    under.Save(sky, QRect(sx - 3, sy - 3, 7, 7));
    ringOnMove = false;
    // The celestial pole, at an altitude equal to the latitude, and the pole-star legend.
    const Extended a = colat;
    const int px = cx + Round(R * std::cos(a - Pi / 2)), py = oy + Round(R * std::sin(a - Pi / 2));
    c.pen.Color = clWhite;
    c.brush.Color = clWhite;
    c.Ellipse(px - 4, py - 4, px + 4, py + 4);
    const int lx = SL + SW - Div(3 * Label4->width(), 2);
    c.Ellipse(lx - 8, Div(CH, 8), lx, Div(CH, 8) + 8);
    c.brush.Color = clBlack;
}

void Tcammin::DrawSun()
{
    skyCanvas.pen = Pen{clYellow};
    skyCanvas.brush = Brush{clYellow};
    skyCanvas.Ellipse(sx - 3, sy - 3, sx + 3, sy + 3);
}

void Tcammin::ShowPicture()
{
    if (!sky.isNull())
        canvas.Draw(PictureOrigin().x(), PictureOrigin().y(), sky);
}

void Tcammin::tempoTimer()
{
    if (sky.isNull())
        return;
    if (!pausa->isChecked()) {
        Canvas &c = skyCanvas;
        // The Sun leaves its place: a ring where its day is traced, the ground elsewhere.
        if (ringOnMove) {
            c.pen = Pen{clSilver};
            c.brush = Brush{clBlack};
            c.Ellipse(sx - 3, sy - 3, sx + 3, sy + 3);
        } else {
            under.Restore(c);
        }
        SunPosition();
        // The noon of a named day: the observer joined to the Sun on the meridian. The
        // line goes under the Sun's ground, so it stays whole when the Sun moves on.
        if (NamedDay(v) && h % StepsPerDay == StepsPerDay / 2) {
            c.pen = Pen{clWhite};
            c.Line(Centre().x(), Centre().y(), sx, sy);
        }
        under.Save(sky, QRect(sx - 3, sy - 3, 7, 7));
        DrawSun();
        ringOnMove = traces && NamedDay(v);
        ++h;
        if (NamedDay(v)) {
            Panel3->setText(controlText(v == 0 ? 75 : v == 3 ? 77 : 76));
            Panel3->show();
        } else {
            Panel3->hide();
        }
        v = quint8(Div(h, StepsPerDay));
    }
    ShowPicture();
    if (v >= SpringDays) {
        tempo->stop();
        tempo1->start();
        h = 0;
        v = AutumnDays;
    }
}

void Tcammin::tempo1Timer()
{
    if (sky.isNull())
        return;
    if (!pausa->isChecked()) {
        Canvas &c = skyCanvas;
        // The last Sun of a traced summer solstice stays as its ring.
        if (ringOnMove) {
            c.pen = Pen{clSilver};
            c.brush = Brush{clBlack};
            c.Ellipse(sx - 3, sy - 3, sx + 3, sy + 3);
        } else {
            under.Restore(c);
        }
        ringOnMove = false;
        SunPosition();
        under.Save(sky, QRect(sx - 3, sy - 3, 7, 7));
        DrawSun();
        ++h;
        Panel3->setText(v == 3 ? controlText(78) : QString());
        v = quint8(AutumnDays - Div(h, StepsPerDay));
    }
    ShowPicture();
    if (v < 1) {
        traiet->setEnabled(true);
        tempo1->stop();
        partenza->setEnabled(true);
    }
}

void Tcammin::Timer1Timer()
{
    Timer1->stop();
    ShowPicture();
}

void Tcammin::partenzaClick()
{
    v = 0;
    h = 0;
    colat = targetColat;
    shownDegrees = latDegrees;
    Panel2->setText(LatitudeText(shownDegrees, latMinutes));
    // The scene starts anew with the spring half alone, whatever ran when the window was
    // last left.
    tempo1->stop();
    RememberTimer(tempo, true);
    RememberTimer(tempo1, false);
    RunFirstActivationAgain();
    traiet->setEnabled(false);
    partenza->setEnabled(false);
    tempo->start();
}

void Tcammin::fineClick()
{
    partenza->setEnabled(true);
    tempo->stop();
    tempo1->stop();
    traiet->setEnabled(true);
}

void Tcammin::traietClick()
{
    traces = !traces;
}

void Tcammin::gradiChanged()
{
    partenza->setEnabled(false);
    latDegrees = quint8(gradi->value());
    if (latDegrees == 90) {
        primi->setEnabled(false);
        latMinutes = 0;
        const QSignalBlocker quiet(primi);
        primi->setValue(0);
    } else {
        primi->setEnabled(true);
    }
    targetColat = Real(Pi / 2 - (latDegrees + latMinutes / 60.0L) * Pi / 180);
}

void Tcammin::primiChanged()
{
    partenza->setEnabled(false);
    latMinutes = quint8(primi->value());
    targetColat = Real(Pi / 2 - (latDegrees + latMinutes / 60.0L) * Pi / 180);
}

void Tcammin::cadenzaChange()
{
    tempo->setInterval(200 - cadenza->value());
    tempo1->setInterval(200 - cadenza->value());
}
