#include "trottola.h"

#include "globals.h"
#include "language/texts.h"

#include <QApplication>
#include <QPalette>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tspins *spins = nullptr;

SimWindow *CreateSpins(QWidget *owner)
{
    spins = new Tspins(owner);
    return spins;
}

static const SimRegistration registration("H4", CreateSpins);

Tspins::Tspins(QWidget *owner)
    : SimWindow(owner, 26, 27, QStringLiteral("Vastara/meccanica.htm#trottola")),
      view(new ViewSwitch(this, "Timer1", {})), displayMode(view->mode), stripWidth(view->progress)
{
    setObjectName(QStringLiteral("spins"));
    view->end = [this] { return Div(W, 20); };
    Color = clBlack;
    NameAnimation("cadenza");

    QToolBar *bar1 = AddToolBar("ToolBar1");
    AddPausa(bar1, 21);
    velo = AddCadenza(bar1, 90, 5, 195, "velo");
    QToolBar *bar2 = AddToolBar("ToolBar2");
    laterale = AddSpeedButton(bar2, QStringLiteral("square_side"), 52, true, "laterale");
    superiore = AddSpeedButton(bar2, QStringLiteral("square_top"), 53, true, "superiore");
    ExclusiveGroup({laterale, superiore});
    laterale->setChecked(true);
    AddGuida(bar2);
    AddSotto();

    // `superiore` down names the view from above; a change starts only towards the view
    // that is not shown.
    view->AddButton(superiore);
    view->AddButton(laterale);
    view->decide = [this](bool &toAbove) {
        if (toAbove == (AboveFlag() == 1))
            return false;
        if (toAbove) {
            // The table is drawn whole again: the picture still holds strips of the side view.
            topDrawn = QRect();
        } else {
            // The side picture holds strips of the view from above: start from black.
            sidePicture.fill(toQRgb(clBlack));
            sideDrawn = QRect();
        }
        return true;
    };
    Timer1 = view->timer;
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setSingleShot(true);
    Timer2->setInterval(1);
    connect(Timer2, &QTimer::timeout, this, [this] {
        Timer2Timer();
        Refresh();
    });
    connect(laterale, &QToolButton::clicked, this, [this] { lateraleClick(); });
    connect(superiore, &QToolButton::clicked, this, [this] { superioreClick(); });
}

Tspins::~Tspins()
{
    if (spins == this)
        spins = nullptr;
}

void Tspins::FormCreate()
{
    SimWindow::FormCreate();
    {
        // The timer keeps its 1 ms until `velo` is moved.
        const QSignalBlocker quiet(velo);
        velo->setValue(90);
    }
    tempo->setInterval(1);
    H = ClientHeight();
    W = SceneWidth(FitWidth(H));
    sidePicture = NewBitmap(qMax(W, 1), qMax(H, 1), clBlack);
    topPicture = NewBitmap(qMax(Div(2 * W, 5), 1), qMax(Div(3 * H, 5), 1), clBlack);
    displayMode = ViewSwitch::ShowingFirst;
    view->toSecond = false;
    stripWidth = 0;
    spin = 0;
    precessionHalves = 0;
    sideDrawn = topDrawn = QRect();
    shownMode = -1;
    shownOrigin = QPoint(-1, -1);
    laterale->setChecked(true);
    laterale->setEnabled(true);
    superiore->setEnabled(true);
}

void Tspins::FormClose()
{
    view->Cancel();
    Timer2->stop();
    SimWindow::FormClose();
}

void Tspins::FreeBitmaps()
{
    sidePicture = topPicture = QImage();
}

void Tspins::SetTicks(qint64 ticks)
{
    spin = int(ticks % SpinPeriod);
    precessionHalves = int(ticks % PrecessionPeriod);
}

int Tspins::AboveFlag() const
{
    if (displayMode == ViewSwitch::Switching)
        return view->toSecond ? 0 : 1;
    return displayMode == ViewSwitch::ShowingSecond ? 1 : 0;
}

QPoint Tspins::Origin() const
{
    return QPoint(SceneLeft(W) + Div(3 * W, 10), Div(H, 5));
}

Tspins::Centre Tspins::DiscCentre(bool above) const
{
    // The axis leans towards the far side of the table at psi = 0 (the top of the view from
    // above), then to the left: as psi grows it sweeps its cone anticlockwise seen from
    // above, the way the disc spins, as a heavy top precesses.
    const Extended psi = Psi();
    Centre c;
    c.x = W / 5.0L - (H / 10.6L) * std::sin(psi);
    c.y = above ? 3.0L * H / 10 - (W / 10.6L) * std::cos(psi) : 3.0L * H / 10 - (W / 5.3L) * std::sin(Pi / 3);
    return c;
}

QVector<QPoint> Tspins::Rim(bool above) const
{
    const Extended sigma = Sigma(), psi = Psi();
    const Extended r = W / 26.6L;
    const Centre c = DiscCentre(above);
    // Seen from above, the tilted disc is foreshortened along the way the axis leans: the
    // short axis of its outline turns to the disc centre as seen from the tip.
    const Extended leanX = c.x - W / 5.0L, leanY = 3.0L * H / 10 - c.y;
    const Extended lean = std::hypot(leanX, leanY);
    const Extended cosLean = lean > 0 ? leanY / lean : 1, sinLean = lean > 0 ? -leanX / lean : 0;
    QVector<QPoint> rim(12);
    for (int b = 0; b < 6; ++b) {
        const Extended turn = sigma - b * Pi / 6;
        int X, Y;
        if (above) {
            const Extended a = r * std::cos(turn);
            const Extended s = r * std::cos(Pi / 4) * std::sin(turn);
            X = Round(a * cosLean - s * sinLean);
            Y = Round(a * sinLean + s * cosLean);
        } else {
            X = Round(r * std::cos(turn));
            Y = -Round((W / 53.2L) * std::sin(sigma - psi - b * Pi / 6));
        }
        rim[b] = QPoint(Round(c.x + X), Round(c.y - Y));
        rim[b + 6] = QPoint(Round(c.x - X), Round(c.y + Y));
    }
    return rim;
}

QRect Tspins::TopBounds(const QVector<QPoint> &rim) const
{
    QRect box(Tip(), QSize(1, 1));
    for (const QPoint &p : rim)
        box |= QRect(p, QSize(1, 1));
    // A pixel more all round for the outline of the rim.
    return box.adjusted(-2, -2, 2, 2);
}

void Tspins::DrawTopOf(Canvas &c, const QVector<QPoint> &rim, TColor rimColour, bool linesFirst)
{
    const QPoint tip = Tip();
    c.pen.Color = clWhite;
    c.brush.Color = rimColour;
    if (!linesFirst)
        c.Polygon(rim);
    for (const QPoint &p : rim)
        c.Line(tip.x(), tip.y(), p.x(), p.y());
    if (linesFirst)
        c.Polygon(rim);
}

QRect Tspins::DrawSide()
{
    Canvas c(&sidePicture);
    const int w = Div(2 * W, 5), top = Div(3 * H, 10), bottom = Div(7 * H, 20);
    const QVector<QPoint> rim = Rim(false);
    const QRect box = TopBounds(rim);
    // The space above the table, cleared where the top stood and stands now (elsewhere it
    // is black already, or covered again by this tick's strips in a view change).
    const QRect above = Rect(0, 0, w, top - 1);
    const QRect dirty = sideDrawn.isNull() ? above : (box | sideDrawn) & above;
    c.pen.Color = clBlack;
    c.brush.Color = clBlack;
    c.FillRect(dirty);
    // The table's front face and its lit edges.
    c.pen.Color = clSilver;
    c.brush.Color = fromQColor(QApplication::palette().color(QPalette::Button));
    c.Rectangle(0, top, w, bottom);
    c.pen.Color = clWhite;
    c.MoveTo(0, bottom - 1);
    c.LineTo(0, top);
    c.LineTo(w - 1, top);
    // Leaning towards the viewer the disc shows its upper face, blue, and hides the body;
    // leaning away it shows its underside, navy, behind the body.
    const bool leansTowards = std::cos(Psi()) < 0;
    DrawTopOf(c, rim, leansTowards ? clBlue : clNavy, leansTowards);
    const QRect changed = sideDrawn.isNull() ? ContentRect() : (box | sideDrawn);
    sideDrawn = box;
    return changed;
}

QRect Tspins::DrawTop()
{
    Canvas c(&topPicture);
    const int w = Div(2 * W, 5), top = Div(3 * H, 10) - Div(W, 5), bottom = Div(3 * H, 10) + Div(W, 5);
    const QVector<QPoint> rim = Rim(true);
    const QRect box = TopBounds(rim);
    const QRect table = Rect(0, top, w, bottom);
    const QRect dirty = topDrawn.isNull() ? table : (box | topDrawn) & table;
    c.pen.Color = clGray;
    c.brush.Color = clGray;
    c.FillRect(dirty);
    c.pen.Color = clWhite;
    c.MoveTo(0, bottom - 2);
    c.LineTo(0, top);
    c.pen.Color = clSilver;
    c.LineTo(w - 2, top);
    DrawTopOf(c, rim, clBlue, true);
    const QRect changed = topDrawn.isNull() ? ContentRect() : (box | topDrawn);
    topDrawn = box;
    return changed;
}

void Tspins::Show(const QImage &picture, QRect part)
{
    const QPoint o = Origin();
    if (o != shownOrigin) {
        // The window was resized: the scene moves to the middle of the new client.
        canvas.brush.Color = clBlack;
        canvas.FillRect(0, 0, ClientWidth(), ClientHeight());
        RepaintOnly(QRect(0, 0, ClientWidth(), ClientHeight()));
        part = ContentRect();
    } else if (shownMode != displayMode) {
        part = ContentRect();
    }
    shownOrigin = o;
    shownMode = displayMode;
    part &= picture.rect();
    if (part.isEmpty())
        return;
    // Only what differs from the screen is copied and repainted.
    RepaintOnly(canvas.CopyDiffering(part.topLeft() + o, picture, part));
}

void Tspins::cadenzaTimer()
{
    // At 1 ms a tick only the part of the window that changed is repainted.
    RepaintOnly(QRect());
    if (sidePicture.isNull())
        return;
    const bool paused = pausa->isChecked();
    // A picture that a later tick overtakes before the screen shows it is not drawn; the
    // model still takes its step.
    const bool steady = displayMode == ViewSwitch::ShowingFirst || displayMode == ViewSwitch::ShowingSecond;
    const bool draw = !steady || PictureDue();
    QRect sideChanged, topChanged;
    if (!paused) {
        if (draw && displayMode != ViewSwitch::ShowingSecond)
            sideChanged = DrawSide();
        if (draw && displayMode != ViewSwitch::ShowingFirst)
            topChanged = DrawTop();
        precessionHalves = (precessionHalves + 1) % PrecessionPeriod;
        spin = (spin + 1) % SpinPeriod;
    }
    if (displayMode == ViewSwitch::ShowingFirst) {
        Show(sidePicture, sideChanged);
    } else if (displayMode == ViewSwitch::ShowingSecond) {
        Show(topPicture, topChanged);
    } else {
        const bool toAbove = view->toSecond;
        QImage &old = toAbove ? sidePicture : topPicture;
        const QImage &target = toAbove ? topPicture : sidePicture;
        const int pitch = Div(W, 20);
        if (stripWidth < pitch) {
            ViewSwitch::CopyStrips(old, target, 9, pitch, stripWidth);
            Show(old, ContentRect());
        } else {
            view->Finish(-1);
            Show(target, ContentRect());
        }
        view->Advance(paused);
    }
}

void Tspins::lateraleClick()
{
    view->Request();
}

void Tspins::superioreClick()
{
    if (view->Running())
        return;
    laterale->setEnabled(false);
    superiore->setEnabled(false);
    Timer2->start();
}

void Tspins::Timer1Timer()
{
    view->TimerFired();
}

void Tspins::Timer2Timer()
{
    Timer2->stop();
    view->TimerFired();
}
