#include "preces.h"

#include "globals.h"
#include "language/texts.h"

#include <QComboBox>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

Tprecter *precter = nullptr;

SimWindow *CreatePrecter(QWidget *owner)
{
    precter = new Tprecter(owner);
    return precter;
}

static const SimRegistration registration("H3", CreatePrecter);

static ViewSwitch *NewViewSwitch(SimWindow *w)
{
    return new ViewSwitch(w, "Timer1", {});
}

Tprecter::Tprecter(QWidget *owner)
    : SimWindow(owner, 18, 26, QStringLiteral("Vastara/meccanica.htm#precessione")), view(NewViewSwitch(this)),
      s(view->progress)
{
    setObjectName(QStringLiteral("precter"));
    view->end = [this] { return Div(SceneWidth(FitWidth(ClientHeight())), 4); };
    Color = clBlack;
    NameAnimation("cadenza");

    QToolBar *bar1 = AddToolBar("ToolBar1");
    AddPausa(bar1, 22);
    AddCadenza(bar1, 90, 5, 195, "velo");
    QToolBar *bar2 = AddToolBar("ToolBar2");
    moto = AddDropDown(bar2, {controlText(72), controlText(73)}, 0, "moto", true);
    QToolBar *bar3 = AddToolBar("ToolBar3");
    evid = AddSpeedButton(bar3, QStringLiteral("pagelines"), 51, true, "evid");
    AddGuida(bar3);
    // The list is as wide as its widest item plus room for its arrow.
    FitDropDown(moto, guida->sizeHint().width() + 7);
    AddSotto();

    connect(moto, &QComboBox::currentIndexChanged, this, [this] { motoChange(); });
    connect(moto, &QComboBox::activated, this, [this] { motoChange(); });
    connect(evid, &QToolButton::clicked, this, [this] { evidClick(); });
    view->AddButton(evid);
    // Each switch goes to the other view, whatever the button shows.
    view->decide = [this](bool &toSecond) {
        toSecond = !view->toSecond;
        return true;
    };
    Timer1 = view->timer;
}

Tprecter::~Tprecter()
{
    if (precter == this)
        precter = nullptr;
}

int Tprecter::FitWidth(int h) const
{
    // The axis is a quarter of the scene long either side of the globe's centre; its ends
    // and their paths move up and down by at most `reach`, under either motion.
    const int c = Div(h, 2);
    const int tilt = Div(h, 40);
    int reach = 0;
    for (int nutation : {0, 1}) {
        const int steps = nutation ? 30 : 20;
        for (int j = 0; j <= 2 * steps; ++j) {
            const Extended wobble = 1 + 0.3L * nutation * std::sin(j * Pi / 5);
            reach = qMax(reach, qAbs(Round(wobble * tilt * std::sin(j * Pi / steps + Pi / 8))));
        }
    }
    const int top = ControlBarHeight();
    const int bottom = h - metrics.barHeight;
    const int l = qMin(c - reach - top, bottom - 1 - c - reach);
    return l < 0 ? 0 : 4 * l + 3;
}

void Tprecter::FormCreate()
{
    SimWindow::FormCreate();
    cadenza->setValue(90);
    // The form's own interval, until `velo` is moved.
    tempo->setInterval(5);
    view->mode = ViewSwitch::ShowingFirst;
    view->toSecond = false;
    s = 0;
    K = 0;
    N = 20;
    n = 0;
    moto->setCurrentIndex(0);

    // The scene keeps the layout of the size the window has now.
    const int H = ClientHeight();
    sceneWidth = SceneWidth(FitWidth(H));
    sceneLeft = SceneLeft(sceneWidth);
    const int W = sceneWidth;
    cx = Div(W, 4);
    R = Div(W, 8);
    cy = Div(H, 2);
    a = Div(H, 20);
    b = Div(H, 40);
    const Extended r8 = W / 8.0L, t = H / 40.0L;
    D = Real(r8 - std::sqrt(qMax(r8 * r8 - t * t, 0.0L)));

    bitmapA = NewBitmap(Div(W, 2), H, clBlack);
    bitmapB = NewBitmap(Div(W, 2), H, clBlack);
    // Everything a tick draws lies in this band; the rest of both pictures stays black.
    const int e = qMax(R + 4, a + 2);
    const int reach = Round(1.3L * b);
    band = Rect(cx - e - 1, cy - L() - reach - 1, cx + e + 2, cy + L() + reach + 2).intersected(bitmapA.rect());
    ShowWhole();
    pointsN = 0;
}

void Tprecter::FormClose()
{
    view->Cancel();
    SimWindow::FormClose();
}

void Tprecter::FreeBitmaps()
{
    bitmapA = bitmapB = QImage();
}

void Tprecter::motoChange()
{
    // K keeps its value: every index is taken modulo 2N and K comes back into range at its
    // next wrap.
    if (moto->currentIndex() == 1) {
        N = 30;
        n = 1;
    } else {
        N = 20;
        n = 0;
    }
}

void Tprecter::evidClick()
{
    view->Request();
}

void Tprecter::Timer1Timer()
{
    view->TimerFired();
}

// Every point is laid off leftwards of the globe's centre by its horizontal offset. Seen from
// above the north pole, with the viewer at the bottom of the picture, the globe then turns
// anticlockwise, west to east (its near side moves left to right, its colouring and the
// marked point with it), and the axis sweeps its cone clockwise, against the spin.
Extended Tprecter::Nutation(int m) const
{
    return 1 + 0.3L * n * std::sin(m * Pi / 5);
}

QPoint Tprecter::EquatorPoint(int j, int k) const
{
    const Extended phi = j * Pi / N;
    const Extended psi = (k + j) * Pi / N + Pi / 8;
    const Extended c = std::cos(phi);
    // The tilted radius is shortened towards the centre on either side.
    const Extended shortening = c == 0 ? 0 : std::fabs(c * D * std::cos(psi)) / c;
    return QPoint(cx - Round(R * c - shortening), cy + Round(Nutation(k) * b * std::cos(psi) + a * std::sin(phi)));
}

QPoint Tprecter::NorthEnd(int k) const
{
    const Extended theta = k * Pi / N + Pi / 8;
    return QPoint(cx - Round(a * std::cos(theta)), cy - L() - Round(Nutation(k) * b * std::sin(theta)));
}

QPoint Tprecter::SouthEnd(int k) const
{
    const Extended theta = k * Pi / N + Pi / 8;
    return QPoint(cx - Round(a * std::cos(Pi + theta) - std::fabs(D * std::cos(k * Pi / N))),
                  cy + L() - Round(Nutation(k) * b * std::sin(Pi + theta)));
}

QPoint Tprecter::PathDot(int j, bool upper) const
{
    const Extended theta = j * Pi / N + Pi / 8;
    return QPoint(cx - Round(a * std::cos(theta)),
                  cy + (upper ? -L() : L()) - Round(Nutation(j) * b * std::sin(theta)));
}

void Tprecter::KeepPoints()
{
    if (pointsN == N)
        return;
    pointsN = N;
    upperDots.clear();
    lowerDots.clear();
    marked.clear();
    for (int j = 0; j <= 2 * N; ++j) {
        upperDots.append(PathDot(j, true));
        lowerDots.append(PathDot(j, false));
        marked.append(MarkedPoint(j));
    }
    equators = QVector<QVector<QPoint>>(2 * N - 1);
}

void Tprecter::GlobeOutline(Canvas &c, const QRegion &part)
{
    c.brush.Color = clBlack;
    for (const QRect &r : part)
        c.FillRect(r);
    c.pen.Color = clBlue;
    c.pen.Style = PenStyle::Solid;
    c.Ellipse(cx - R - 1, cy - R - 1, cx + R + 2, cy + R + 2);
}

// The boxes of what moves from picture to picture: the disc or equator with the marked
// point, and in view A the two halves of the axis; a pixel of margin beyond a pen's reach.
QRegion Tprecter::Moving(const QVector<QPoint> &eq, bool viewA) const
{
    const QPoint centre(cx, cy);
    QRect disc(centre, QSize(1, 1));
    for (const QPoint &p : eq)
        disc |= QRect(p, QSize(1, 1));
    QRegion r(disc.adjusted(-2, -2, 2, 2));
    if (viewA) {
        for (const QPoint &end : {NorthEnd(K), SouthEnd(K)})
            r |= QRect(centre, end).normalized().adjusted(-2, -2, 2, 2);
    } else {
        const QPoint p = K <= 2 * N ? marked[K] : MarkedPoint(K);
        r |= QRect(p - QPoint(5, 5), p + QPoint(5, 5));
    }
    return r & band;
}

void Tprecter::DrawViewA(const QVector<QPoint> &eq, const QRegion &part)
{
    Canvas c(&bitmapA);
    GlobeOutline(c, part);
    // The south half of the axis, under the disc.
    const QPoint south = SouthEnd(K);
    c.pen.Color = clWhite;
    c.Line(cx, cy, south.x(), south.y());
    auto upperPath = [&] {
        for (int j = 0; j <= 2 * N; ++j) {
            const QPoint p = upperDots[j];
            c.SetPixel(p.x(), p.y(), clGray);
        }
    };
    upperPath();
    for (int j = 0; j <= 2 * N; ++j) {
        const QPoint p = lowerDots[j];
        c.SetPixel(p.x(), p.y(), clGray);
    }
    // The disc in two halves that meet on the diameter through points K and K + N.
    const int full = 2 * N;
    QVector<QPoint> half;
    for (int i = K; i <= K + N + 1; ++i)
        half.append(eq[i % full]);
    c.pen.Color = clBlue;
    c.brush.Color = clBlue;
    c.Polygon(half);
    half.clear();
    for (int i = K + N; i <= K + 2 * N; ++i)
        half.append(eq[i % full]);
    c.pen.Color = clNavy;
    c.brush.Color = clNavy;
    c.Polygon(half);
    const QPoint d1 = eq[K % full], d2 = eq[(K + N) % full];
    c.Line(cx, cy, d1.x(), d1.y());
    c.Line(cx, cy, d2.x(), d2.y());
    // The north half of the axis, over the disc.
    const QPoint north = NorthEnd(K);
    c.pen.Color = clWhite;
    c.Line(cx, cy, north.x(), north.y());
    if (n == 1)
        upperPath();
}

void Tprecter::DrawViewB(const QVector<QPoint> &eq, const QRegion &part)
{
    Canvas c(&bitmapB);
    GlobeOutline(c, part);
    // The equator, dotted over its far half.
    c.pen.Color = clBlue;
    c.MoveTo(eq[0].x(), eq[0].y());
    for (int j = 1; j <= 2 * N; ++j) {
        c.pen.Style = std::sin(j * Pi / N) < 0 ? PenStyle::Dot : PenStyle::Solid;
        c.LineTo(eq[j].x(), eq[j].y());
    }
    c.pen.Style = PenStyle::Solid;
    // The path of the marked point, and the point itself.
    c.pen.Color = clRed;
    const QPoint start = marked[0];
    c.MoveTo(start.x(), start.y());
    for (int m = 1; m <= 2 * N; ++m) {
        const QPoint p = marked[m];
        c.LineTo(p.x(), p.y());
    }
    const QPoint p = K <= 2 * N ? marked[K] : MarkedPoint(K);
    c.pen.Color = clWhite;
    c.brush.Color = clWhite;
    c.Ellipse(p.x() - 3, p.y() - 3, p.x() + 3, p.y() + 3);
}

void Tprecter::Show(const QImage &picture, const QRegion &part)
{
    // Only the band changes from tick to tick; the screen outside it stays black. Of the part
    // drawn again, only what differs from the screen is copied and repainted.
    const QPoint o = PictureOrigin();
    for (const QRect &r : part)
        RepaintOnly(canvas.CopyDiffering(r.topLeft() + o, picture, r));
    shown = part;
}

void Tprecter::cadenzaTimer()
{
    if (bitmapA.isNull() || bitmapB.isNull())
        return;
    const bool paused = pausa->isChecked();
    // A picture that a later tick overtakes before the screen shows it is not drawn; the
    // model still takes its step.
    const bool steady = view->mode == ViewSwitch::ShowingFirst || view->mode == ViewSwitch::ShowingSecond;
    const bool draw = !steady || PictureDue();
    // In a steady view only what moved since the picture last drawn is cleared, drawn again
    // (everything that may lie there, in the usual order) and shown; the first picture, one
    // after a change of the motion, of the view or of the client's size is drawn whole.
    QRegion part = band;
    if (!steady)
        drawn = QRegion();
    if (!paused) {
        if (draw) {
            KeepPoints();
            QVector<QPoint> eq;
            if (K < equators.size())
                eq = equators[K];
            if (eq.isEmpty()) {
                for (int j = 0; j <= 2 * N; ++j)
                    eq.append(EquatorPoint(j, K));
                if (K < equators.size())
                    equators[K] = eq;
            }
            if (steady) {
                const QRegion moving = Moving(eq, view->mode == ViewSwitch::ShowingFirst);
                if (!drawn.isEmpty() && drawnN == N && drawnMode == view->mode && drawnClient == size())
                    part = drawn | moving;
                drawn = moving;
                drawnN = N;
                drawnMode = view->mode;
                drawnClient = size();
            }
            if (view->DrawsFirst())
                DrawViewA(eq, part);
            if (view->DrawsSecond())
                DrawViewB(eq, part);
        }
        // The counter runs over 2N - 1 values.
        K = quint8((K + 1) % (2 * N - 1));
    }
    if (steady && !draw) {
        RepaintOnly(QRect());
    } else if (view->mode == ViewSwitch::ShowingFirst) {
        Show(bitmapA, part);
    } else if (view->mode == ViewSwitch::ShowingSecond) {
        Show(bitmapB, part);
    } else {
        // The strip is measured on the scene of the client as it is now.
        const int W = SceneWidth(FitWidth(ClientHeight()));
        const int H = ClientHeight();
        if (s < Div(W, 4)) {
            if (s > 0) {
                if (ViewFlag() == 0) {
                    // Towards view B: a strip growing leftwards from the globe's right edge.
                    const QRect strip = Rect(Div(3 * W, 8) - s, 0, Div(3 * W, 8), H).intersected(bitmapA.rect());
                    Canvas(&bitmapA).CopyRect(strip, bitmapB, strip);
                } else {
                    // Towards view A: a strip growing rightwards from the globe's left edge.
                    const QRect strip = Rect(Div(W, 8), 0, Div(W, 8) + s, H).intersected(bitmapB.rect());
                    Canvas(&bitmapB).CopyRect(strip, bitmapA, strip);
                }
            }
            Show(ViewFlag() == 0 ? bitmapA : bitmapB, band);
        } else {
            view->Finish(-2);
        }
        view->Advance(paused, 2);
    }
}
