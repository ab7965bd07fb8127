#include "corpi.h"

#include "globals.h"
#include "language/texts.h"

#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tduec *duec = nullptr;

SimWindow *CreateDuec(QWidget *owner)
{
    duec = new Tduec(owner);
    return duec;
}

static const SimRegistration registration("H2", CreateDuec);

// The angle gained in a tick.
static constexpr Extended Step = Pi / 150;
// The largest mass ratio, whose light body runs on the widest orbit.
static constexpr int MaxRatio = 9;

static ViewSwitch *NewViewSwitch(SimWindow *w)
{
    return new ViewSwitch(w, "Timer2", {});
}

Tduec::Tduec(QWidget *owner)
    : SimWindow(owner, 4, 25, QStringLiteral("Vastara/meccanica.htm#sistema")), view(NewViewSwitch(this)),
      displayMode(view->mode), toSide(view->toSecond), blindWidth(view->progress)
{
    setObjectName(QStringLiteral("duec"));
    view->end = [this] { return BlindPitch(); };
    Color = clBlack;
    QToolBar *bar1 = AddToolBar();
    AddPausa(bar1, 21);
    QToolBar *bar2 = AddToolBar();
    AddCadenza(bar2, 110);
    QToolBar *bar3 = AddToolBar();
    vpianta = AddSpeedButton(bar3, QStringLiteral("viewpoint"), 6, true, "vpianta");
    orbite = AddSpeedButton(bar3, QStringLiteral("orbits"), 34, true, "orbite");
    rappo = new QSpinBox(bar3);
    rappo->setObjectName(QStringLiteral("rappo"));
    rappo->setRange(1, MaxRatio);
    rappo->setValue(1);
    rappo->setMinimumWidth(40);
    rappo->setCursor(Qt::ArrowCursor);
    SetHint(rappo, controlText(50));
    bar3->addWidget(rappo);
    nuovo = AddToolButton(bar3, 29, 4, false, "nuovo");
    AddGuida(bar3);
    AddSotto(clSilver);

    view->AddButton(vpianta);
    Timer2 = view->timer;
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(1);

    connect(vpianta, &QToolButton::clicked, this, [this] { vpiantaClick(); });
    connect(orbite, &QToolButton::clicked, this, [this] { orbiteClick(); });
    connect(nuovo, &QToolButton::clicked, this, [this] {
        nuovoClick();
        Refresh();
    });
    connect(rappo, &QSpinBox::valueChanged, this, [this] { rappoClick(); });
    connect(Timer1, &QTimer::timeout, this, [this] {
        Timer1Timer();
        Refresh();
    });
    // The animation timer is given back at activation as it was at deactivation.
    RememberTimer(tempo, true);
}

Tduec::~Tduec()
{
    if (duec == this)
        duec = nullptr;
}

void Tduec::FormCreate()
{
    SimWindow::FormCreate();
    cadenza->setValue(110);
    tempo->setInterval(90);
    orbitsShown = false;
    m = 1;
    restartAngle = true;
    // The scene keeps the layout of the size the window has now.
    sceneWidth = FitLayoutWidth();
    sceneLeft = SceneLeft(sceneWidth);
    S = quint8(Div(sceneWidth, 45));
    for (auto &v : under)
        for (SavedRect &u : v)
            u.Resize(3 * S, 3 * S);
    plan = NewBitmap(ClientWidth(), ClientHeight(), clBlack);
    side = NewBitmap(ClientWidth(), ClientHeight(), clBlack);
    blend = NewBitmap(ClientWidth(), ClientHeight(), clBlack);
    blindWidth = 0;
    displayMode = Plan;
    toSide = true;
}

void Tduec::FormClose()
{
    view->Cancel();
    Timer1->stop();
    SimWindow::FormClose();
}

void Tduec::FreeBitmaps()
{
    plan = side = blend = QImage();
    for (auto &v : under)
        for (SavedRect &u : v)
            u.Clear();
}

void Tduec::Prepare()
{
    nuovoClick();
}

int Tduec::FitLayoutWidth() const
{
    // The light body of the largest ratio swings 9/35 of the scene width above and below the
    // centre of mass (at 21/40 of the height): keep it, whole, between the top bar and the
    // bottom panel.
    const int W = ClientWidth(), H = ClientHeight();
    const Extended cy = 21.0L * H / 40;
    const auto fits = [&](int L) {
        const Extended reach = 9.0L * L / 35 + Div(Div(L, 45), MaxRatio);
        return cy + reach <= H - metrics.barHeight && cy - reach >= ControlBarHeight();
    };
    int L = W;
    while (L > 0 && !fits(L))
        --L;
    return SceneWidth(L);
}

QPointF Tduec::Q() const
{
    return QPointF(double(sceneLeft + sceneWidth / 2.0L + d), double(21.0L * plan.height() / 40));
}

QPointF Tduec::BodyAt(int i, Extended phi, bool sideView) const
{
    const QPointF q = Q();
    const Extended a = (2 - i) * Pi + phi;
    const Extended lift = sideView ? Extended(r[i]) / 9 : Extended(r[i]);
    return QPointF(double(Real(q.x() + r[i] * std::cos(a))), double(Real(q.y() - lift * std::sin(a))));
}

QRect Tduec::BodyRect(int i) const
{
    return Rect(Round(Extended(x[i]) - S - 1), Round(Extended(y[i]) - S - 1), Round(Extended(x[i]) + S + 1),
                Round(Extended(y[i]) + S + 1));
}

void Tduec::DrawOrbits(QImage &picture, bool sideView)
{
    Canvas c(&picture);
    const QPointF q = Q();
    for (int i = 0; i < 2; ++i) {
        const Extended ri = r[i];
        const int last = Round(2 * ri);
        for (int k = 0; k <= last; ++k) {
            const Extended a = k * Pi / ri + (2 - i) * Pi;
            const Extended dy = sideView ? ri * std::sin(a) / 9 : ri * std::sin(a);
            c.SetPixel(Round(q.x() + ri * std::cos(a)), Round(q.y() + dy), OrbitColour(i));
        }
    }
}

void Tduec::DrawBodies(QImage &picture, bool sideView, Extended phi)
{
    Canvas c(&picture);
    const auto body = [&](int i) {
        const int radius = i == 0 ? small : S;
        const TColor colour = i == 0 ? clAqua : clWhite;
        c.pen.Color = colour;
        c.brush.Color = colour;
        const Extended bx = x[i], by = y[i];
        c.Ellipse(Round(bx - radius), Round(by - radius), Round(bx + radius), Round(by + radius));
        c.SetPixel(Round(bx), Round(by), OrbitColour(i));
    };
    // The farther body first (higher on the picture).
    if (y[0] >= y[1]) {
        body(1);
        body(0);
    } else {
        body(0);
        body(1);
    }
    // Seen edge-on, a body passing in front hides the centre of mass.
    bool hidden = false;
    if (sideView) {
        hidden = (std::fabs(r[1] * std::cos(phi + Pi)) < S && std::sin(phi + Pi) < 0)
                 || (std::fabs(r[0] * std::cos(phi + 2 * Pi)) < small && std::sin(phi + 2 * Pi) < 0 && m == 1);
    }
    if (!hidden) {
        const int cx = sceneLeft + Div(sceneWidth, 2) + Round(d), cy = Div(21 * picture.height(), 40);
        c.pen.Color = clRed;
        c.brush.Color = clRed;
        c.Ellipse(cx - 2, cy - 2, cx + 2, cy + 2);
    }
}

void Tduec::MoveBodies(int v, bool sideView, int k)
{
    QImage &picture = sideView ? side : plan;
    {
        Canvas c(&picture);
        under[v][0].Restore(c);
        under[v][1].Restore(c);
    }
    const Extended phi = k * Step;
    drawnAt = k;
    for (int i = 0; i < 2; ++i) {
        const QPointF p = BodyAt(i, phi, sideView);
        x[i] = Real(p.x());
        y[i] = Real(p.y());
        under[v][i].Save(picture, BodyRect(i));
    }
    DrawBodies(picture, sideView, phi);
}

void Tduec::nuovoClick()
{
    if (plan.isNull())
        return;
    tempo->stop();
    const int L = sceneWidth;
    S = quint8(Div(L, 45));
    m = quint8(rappo->value());
    // Kept angle: the bodies go back where they were last drawn; a fresh start: at n.
    if (restartAngle)
        n = m;
    const int shown = restartAngle ? n : drawnAt;
    restartAngle = true;
    d = Real(Extended(L) / 7 * (m - 1) / (m + 1));
    r[0] = Real(Extended(L) / 7 + d);
    r[1] = Real(Extended(L) / 7 - d);
    small = quint8(Div(S, m));
    for (int v = 0; v < 2; ++v) {
        const bool sideView = v == 1;
        QImage &picture = sideView ? side : plan;
        {
            Canvas c(&picture);
            c.brush.Color = clBlack;
            c.FillRect(0, 0, picture.width(), picture.height());
        }
        if (orbitsShown)
            DrawOrbits(picture, sideView);
        // Keep the picture under the bodies where they start.
        for (int i = 0; i < 2; ++i) {
            const QPointF p = BodyAt(i, 0, sideView);
            x[i] = Real(p.x());
            y[i] = Real(p.y());
            under[v][i].Resize(3 * S, 3 * S);
            under[v][i].Save(picture, BodyRect(i));
        }
        // Put the bodies on the new pictures at once, so that a paused scene still shows
        // them after a restart or after its orbits were shown or hidden.
        MoveBodies(v, sideView, shown);
    }
    nuovo->setEnabled(false);
    tempo->start();
}

void Tduec::rappoClick()
{
    nuovo->setEnabled(true);
}

void Tduec::orbiteClick()
{
    Timer1->start();
}

void Tduec::Timer1Timer()
{
    Timer1->stop();
    orbitsShown = orbite->isChecked();
    restartAngle = false;
    nuovoClick();
}

void Tduec::vpiantaClick()
{
    view->Request();
}

void Tduec::Timer2Timer()
{
    view->TimerFired();
}

void Tduec::tempoTimer()
{
    if (plan.isNull())
        return;
    const bool paused = pausa->isChecked();
    if (!paused) {
        if (view->DrawsFirst())
            MoveBodies(0, false, n);
        if (view->DrawsSecond())
            MoveBodies(1, true, n);
        ++n;
    }
    switch (displayMode) {
    case Plan:
        canvas.Draw(0, 0, plan);
        break;
    case Side:
        canvas.Draw(0, 0, side);
        break;
    default: {
        const int pitch = BlindPitch();
        if (blindWidth < pitch) {
            // The old view with 41 blinds of the new one, a pixel wider each tick.
            {
                Canvas c(&blend);
                c.Draw(0, 0, toSide ? plan : side);
            }
            ViewSwitch::CopyStrips(blend, toSide ? side : plan, 41, pitch, blindWidth);
        } else {
            view->Finish(-1);
        }
        canvas.Draw(0, 0, blend);
        view->Advance(paused);
        break;
    }
    }
}
