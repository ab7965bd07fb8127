#include "epicentro.h"

#include "globals.h"
#include "language/texts.h"

#include <QLabel>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

TEpice *Epice = nullptr;

SimWindow *CreateEpice(QWidget *owner)
{
    Epice = new TEpice(owner);
    return Epice;
}

static const SimRegistration registration("D6", CreateEpice);

namespace {

// A number right-aligned in a field of the given width (wider numbers are not cut).
QString Str(int value, int width)
{
    return QString::number(value).rightJustified(width, QLatin1Char(' '));
}

// The labels on the picture fit their text; those of the bottom bar keep their place.
void setCaption(QLabel *label, const QString &text)
{
    label->setText(text);
    if (label->objectName().startsWith(QLatin1Char('a')))
        label->adjustSize();
}

constexpr TColor Grey = RGB(128, 128, 128);
} // namespace

TEpice::TEpice(QWidget *owner)
    : SimWindow(owner, 6, 7, QStringLiteral("Vastara/terremoti.htm#epicentro"))
{
    setObjectName(QStringLiteral("Epice"));
    Color = clBlack;

    QToolBar *bar1 = AddToolBar();
    AddPausa(bar1, 21);
    AddCadenza(bar1, 90);
    QToolBar *bar2 = AddToolBar();
    suono = AddToolButton(bar2, 30, 20, true);
    suono->setObjectName(QStringLiteral("suono"));
    graf = AddToolButton(bar2, 0, 12);
    graf->setObjectName(QStringLiteral("graf"));
    graf->setEnabled(false);
    connect(graf, &QToolButton::clicked, this, [this] { grafClick(); });
    traccia = AddToolButton(bar2, 1, 13);
    traccia->setObjectName(QStringLiteral("traccia"));
    traccia->setEnabled(false);
    connect(traccia, &QToolButton::clicked, this, [this] { tracciaClick(); });
    pagi = AddToolButton(bar2, 31, 14);
    pagi->setObjectName(QStringLiteral("pagi"));
    pagi->setEnabled(false);
    connect(pagi, &QToolButton::clicked, this, [this] { pagiClick(); });
    disegna = AddToolButton(bar2, 29, 0);
    disegna->setObjectName(QStringLiteral("disegna"));
    disegna->setText(QStringLiteral("1"));
    SetHint(disegna, QStringLiteral("nuovo"));
    connect(disegna, &QToolButton::clicked, this, [this] {
        disegnaClick();
        Refresh();
    });
    AddGuida(bar2);

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setAutoFillBackground(true);
    AddSotto(clSilver);

    const char *tNames[3] = {"t1", "t2", "t3"};
    const char *rNames[3] = {"r1", "r2", "r3"};
    const char *aNames[3] = {"a1", "a2", "a3"};
    for (int s = 0; s < 3; ++s) {
        tLabel[s] = AddPanel(sotto, tNames[s], StationColour[s], clSilver, true, QStringLiteral("DT ="));
        rLabel[s] = AddPanel(sotto, rNames[s], StationColour[s], clSilver, true, QStringLiteral("t = "));
        aLabel[s] = AddPanel(this, aNames[s], StationColour[s], clBlack, false);
    }
    t1 = tLabel[0], t2 = tLabel[1], t3 = tLabel[2];
    r1 = rLabel[0], r2 = rLabel[1], r3 = rLabel[2];
    a1 = aLabel[0], a2 = aLabel[1], a3 = aLabel[2];
    a4 = AddPanel(this, "a4", clWhite, clBlack, false);
    a4->hide();

    auto timer = [this](const char *name, int interval) {
        auto *tm = new QTimer(this);
        tm->setObjectName(QString::fromLatin1(name));
        tm->setInterval(interval);
        return tm;
    };
    temposec = timer("temposec", 10);
    Timer1 = timer("Timer1", 1);
    Timer2 = timer("Timer2", 1);
    Timer3 = timer("Timer3", 1);
    connect(temposec, &QTimer::timeout, this, [this] { temposecTimer(); Refresh(); });
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); Refresh(); });
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); Refresh(); });
    connect(Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); Refresh(); });
}

TEpice::~TEpice()
{
    simCanvas.setTarget(nullptr);
    graphCanvas.setTarget(nullptr);
    if (Epice == this)
        Epice = nullptr;
}

void TEpice::LayoutSotto()
{
    Panel2->setGeometry(0, height() - metrics.barHeight - 20, width(), 20);
    // One pair of labels per station, side by side.
    const QFontMetrics fm(t1->font());
    const int tw = fm.horizontalAdvance(QStringLiteral(" DT = 9999")) + 8;
    const int rw = fm.horizontalAdvance(QStringLiteral(" d = 99999")) + 8;
    const int pairWidth = qMax(tw + rw + 16, Div(width(), 3));
    for (int s = 0; s < 3; ++s) {
        const int x = 10 + s * pairWidth;
        tLabel[s]->setGeometry(x, metrics.controlTop, tw, metrics.controlHeight);
        rLabel[s]->setGeometry(x + tw + 8, metrics.controlTop, rw, metrics.controlHeight);
    }
}

void TEpice::FormCreate()
{
    SimWindow::FormCreate();
    k = 0;
    tempo->setInterval(90);
    CW = ClientWidth();
    CH = ClientHeight();
    sceneWidth = SceneWidth(Div(3 * CH, 2));
    sceneLeft = SceneLeft(sceneWidth);
    const int L = sceneLeft, GW = sceneWidth;
    station = {QPoint(L + Div(GW, 4), Div(CH, 3)), QPoint(L + Div(GW, 2), Div(4 * CH, 5)),
               QPoint(L + Div(5 * GW, 6), Div(CH, 2))};
    for (int s = 0; s < 3; ++s)
        aLabel[s]->move(station[s] + QPoint(5, 5));
    a4->move(L + Div(9 * GW, 20), Div(CH, 5));
    LayoutSotto();
    simCanvas.setTarget(nullptr);
    graphCanvas.setTarget(nullptr);
    simPage = NewBitmap(CW, CH, clBlack);
    graphPage = NewBitmap(CW, CH, clBlack);
    simCanvas.setTarget(&simPage);
    graphCanvas.setTarget(&graphPage);
    simCanvas.brush.Color = clBlack;
    graphCanvas.brush.Color = clBlack;
    RememberTimer(tempo, true);
    RememberTimer(temposec, false);
}

void TEpice::Prepare()
{
    disegnaClick();
}

void TEpice::cadenzaChange()
{
    const int interval = 200 - cadenza->value();
    tempo->setInterval(interval);
    temposec->setInterval(interval);
    Timer1->setInterval(interval);
}

void TEpice::ChangeHint(QWidget *w, const QString &hint)
{
    // A tooltip already shown follows the new text at once.
    const bool shown = !w->toolTip().isEmpty();
    SetHint(w, hint);
    if (shown)
        w->setToolTip(HintOf(w));
}

bool TEpice::IsStationDistance(int x) const
{
    return x == d[0] || x == d[1] || x == d[2];
}

// ---- a new exercise and the wave phase ----

void TEpice::disegnaClick()
{
    if (simPage.isNull())
        return;
    graphShown = true;
    firstReveal = true;
    for (int s = 0; s < 3; ++s) {
        setCaption(tLabel[s], QString());
        setCaption(rLabel[s], QString());
        setCaption(aLabel[s], QString());
        tLabel[s]->hide();
        rLabel[s]->hide();
    }
    // The reading of the previous exercise does not belong over the new one.
    a4->hide();
    disegna->setEnabled(false);
    pagi->setEnabled(false);
    graf->setEnabled(false);
    pausa->setEnabled(true);

    Randomize();
    const int x = sceneLeft + Div(sceneWidth, 8) + Random(Div(3 * sceneWidth, 4));
    const int y = Div(CH, 8) + Random(Div(3 * CH, 4));
    PlaceEpicentre(x, y);
}

void TEpice::PlaceEpicentre(int x, int y)
{
    ex = x;
    ey = y;
    dmax = 1;
    for (int s = 0; s < 3; ++s) {
        const qint64 dx = station[s].x() - ex, dy = station[s].y() - ey;
        d[s] = Round(std::sqrt(Extended(dx * dx + dy * dy)));
        dmax = qMax(dmax, d[s]);
        c[s] = 0;
        counterText[s].clear();
        distanceText[s] = Str(4 * d[s], 4);
    }
    rS = 1;
    rP = 1;
    T = 4;
    simCanvas.brush.Color = clBlack;
    simCanvas.FillRect(0, 0, CW, CH);
    RememberTimer(tempo, true);
    tempo->start();
}

void TEpice::DrawStations(Canvas &cv)
{
    cv.pen.Color = clBlack;
    cv.pen.Style = PenStyle::Solid;
    cv.brush.Style = BrushStyle::Solid;
    for (int s = 0; s < 3; ++s) {
        cv.brush.Color = StationColour[s];
        cv.Ellipse(station[s].x() - 4, station[s].y() - 4, station[s].x() + 4, station[s].y() + 4);
    }
    cv.brush.Color = clBlack;
}

void TEpice::tempoTimer()
{
    if (simPage.isNull())
        return;
    if (!pausa->isChecked()) {
        Canvas &sc = simCanvas;
        if (rS < dmax + 20) {
            for (int s = 0; s < 3; ++s) {
                if (rS < d[s] && d[s] < rP) {
                    // The station lies between the P and the S front.
                    if (suono->isChecked())
                        SystemBeep();
                    aLabel[s]->show();
                    ++c[s];
                    counterText[s] = Str(c[s], 3);
                    setCaption(aLabel[s], counterText[s]);
                }
            }
            sc.brush.Color = clBlack;
            sc.brush.Style = BrushStyle::Solid;
            sc.pen.Style = PenStyle::Solid;
            if (rP < dmax + 20) {
                sc.pen.Color = clAqua;
                sc.Ellipse(ex - rP, ey - rP, ex + rP, ey + rP);
            }
            sc.pen.Color = clBlack;
            if (dmax + 21 <= rP && rP <= dmax + 24)
                sc.Ellipse(ex - rP, ey - rP, ex + rP, ey + rP);
            sc.pen.Color = clWhite;
            if (rS < dmax + 20)
                sc.Ellipse(ex - rS, ey - rS, ex + rS, ey + rS);
            ++rS;
            rP += 2;
        } else {
            // The S front has passed the farthest station: the counts are final.
            if (!suono->isChecked())
                SystemBeep();
            for (int s = 0; s < 3; ++s)
                setCaption(tLabel[s], QStringLiteral(" DT = ") + counterText[s]);
            pausa->setEnabled(false);
            for (QLabel *l : tLabel)
                l->show();
            sc.brush.Color = clBlack;
            sc.FillRect(0, 0, CW, CH);
            graf->setEnabled(true);
            tempo->stop();
        }
        DrawStations(sc);
    }
    canvas.Draw(0, 0, simPage);
}

// ---- the graph page ----

void TEpice::grafClick()
{
    k = 0;
    for (QLabel *l : aLabel)
        l->hide();
    canvas.pen.Color = Grey;
    Timer1->start();
    graf->setEnabled(false);
}

void TEpice::Timer1Timer()
{
    Timer1->stop();
    if (graphPage.isNull())
        return;
    Canvas &g = graphCanvas;
    const QPoint o = GraphOrigin();
    const int X0 = o.x(), Y0 = o.y();
    const int top = Div(CH, 5);
    const int right = sceneLeft + Div(9 * sceneWidth, 10);
    g.pen.Style = PenStyle::Solid;
    g.pen.Width = 1;
    g.pen.Color = clWhite;
    g.brush.Style = BrushStyle::Solid;
    g.brush.Color = clBlack;
    g.FillRect(0, 0, CW, CH);
    g.Rectangle(0, 0, CW, CH);
    g.fontColor = clWhite;
    // Time axis with its arrow.
    g.Line(X0, Y0, X0, top);
    g.brush.Color = clWhite;
    g.Polygon({QPoint(X0, top), QPoint(X0 - 3, top + 6), QPoint(X0 + 3, top + 6)});
    g.brush.Color = clBlack;
    g.TextOut(X0 - 12, top - 8, QStringLiteral("t"));
    // Distance axis with its arrow.
    g.Line(X0, Y0, right, Y0);
    g.brush.Color = clWhite;
    g.Polygon({QPoint(right, Y0), QPoint(right - 6, Y0 - 3), QPoint(right - 6, Y0 + 3)});
    g.brush.Color = clBlack;
    g.TextOut(right + 5, Y0 + 8, QStringLiteral("d"));
    // Distance ticks every 20 km, labelled every 200 km.
    for (int i = 1; i <= Div(4 * sceneWidth, 25) - 2; ++i) {
        const int x = X0 + 5 * i;
        g.Line(x, Y0, x, Y0 + (i % 5 == 0 ? 6 : 3));
        if (i % 10 == 0) {
            const QString label = QString::number(20 * i);
            g.TextOut(x - Div(g.TextWidth(label), 2), Y0 + 8, label);
        }
    }
    // Time ticks every 10 s, labelled every 100 s.
    for (int i = 1; i <= Div(3 * CH, 25) - 2; ++i) {
        const int y = Y0 - 5 * i;
        g.Line(X0, y, X0 - (i % 5 == 0 ? 6 : 3), y);
        if (i % 10 == 0) {
            const QString label = QString::number(10 * i);
            g.TextOut(X0 - 30, y - Div(g.TextHeight(label), 2), label);
        }
    }
    // Travel times: S at 4 km/s in white, P at 8 km/s in cyan.
    QVector<QPoint> sLine, pLine;
    for (int i = 0; i <= Div(2 * sceneWidth, 5); ++i)
        sLine.append(QPoint(X0 + 2 * i, Y0 - i));
    for (int i = 0; i <= Div(sceneWidth, 5); ++i)
        pLine.append(QPoint(X0 + 4 * i, Y0 - i));
    g.Polyline(sLine);
    g.pen.Color = clAqua;
    g.Polyline(pLine);
    g.pen.Color = clWhite;
    Timer2->start();
}

void TEpice::Timer2Timer()
{
    if (graphPage.isNull()) {
        Timer2->stop();
        return;
    }
    const int cx = Div(CW, 2), cy = Div(CH, 2);
    const QRect shown = Rect(cx - 4 * k, cy - 3 * k, cx + 4 * k, cy + 3 * k);
    canvas.copyMode = CopyMode::SrcCopy;
    canvas.CopyRect(shown, graphPage, shown);
    ++k;
    const int l = cx - 4 * k, t = cy - 3 * k, r = cx + 4 * k, b = cy + 3 * k;
    canvas.pen.Color = Grey;
    canvas.pen.Style = PenStyle::Solid;
    canvas.Polyline({QPoint(l + 1, t + 1), QPoint(r - 1, t + 1), QPoint(r - 1, b - 1), QPoint(l + 1, b - 1),
                     QPoint(l + 1, t + 1)});
    if (k > Div(CW, 8)) {
        Timer2->stop();
        // The growing rectangle stops a few pixels short of the edges when the width is
        // not a multiple of 8: finish with the whole page.
        canvas.Draw(0, 0, graphPage);
        if (firstReveal) {
            for (QLabel *l : rLabel)
                l->show();
            traccia->setEnabled(true);
        } else {
            disegna->setEnabled(true);
            pagi->setEnabled(true);
        }
        firstReveal = false;
    }
}

void TEpice::tracciaClick()
{
    a4->show();
    a4->raise();
    RememberTimer(temposec, true);
    temposec->start();
    traccia->setEnabled(false);
}

void TEpice::temposecTimer()
{
    if (graphPage.isNull()) {
        temposec->stop();
        return;
    }
    if (!pausa->isChecked()) {
        Canvas &g = graphCanvas;
        const QPoint o = GraphOrigin();
        const int X0 = o.x(), Y0 = o.y();
        g.pen.Style = PenStyle::Solid;
        g.pen.Width = 1;
        // Rub out the previous reading, unless it marks a station.
        if (!IsStationDistance(T - 1)) {
            g.pen.Color = clBlack;
            g.Line(X0 + T - 1, Y0 + 1 - Div(T - 1, 2), X0 + T - 1, Y0 - 1 - Div(T - 1, 4));
            g.Line(X0 + 1, Y0 - Div(T, 4), X0 + 4, Y0 - Div(T, 4));
        }
        // The S-P interval at distance T, and its mark on the time axis.
        if (!IsStationDistance(T) && T != dmax + 1) {
            g.pen.Color = clYellow;
            g.Line(X0 + T, Y0 + 1 - Div(T, 2), X0 + T, Y0 - 1 - Div(T, 4));
            g.Line(X0 + 1, Y0 - Div(T, 2), X0 + 4, Y0 - Div(T, 2));
        }
        for (int s = 0; s < 3; ++s) {
            if (T != d[s] && T != d[s] + 1)
                continue;
            // The reading has reached a station's S-P time: its distance is found.
            SystemBeep();
            const int ds = d[s];
            g.pen.Color = StationColour[s];
            g.pen.Style = PenStyle::Solid;
            g.Line(X0 + ds, Y0 - Div(ds, 2), X0 + ds, Y0 - Div(ds, 4));
            g.pen.Style = PenStyle::Dash;
            g.Line(X0, Y0 - Div(ds, 2), X0 + ds, Y0 - Div(ds, 2));
            g.Line(X0, Y0 - Div(ds, 4), X0 + ds, Y0 - Div(ds, 4));
            g.Line(X0 + ds, Y0, X0 + ds, Y0 - Div(ds, 4));
            setCaption(rLabel[s], QStringLiteral(" d = ") + distanceText[s]);
        }
        g.pen.Style = PenStyle::Solid;
        setCaption(a4, QStringLiteral("DT = ") + Str(Div(T, 2), 3));
        ++T;
        if (T > dmax + 1) {
            DrawSolution();
            pagi->setEnabled(true);
            disegna->setEnabled(true);
            temposec->stop();
        }
    }
    canvas.Draw(0, 0, graphPage);
}

void TEpice::DrawSolution()
{
    Canvas &sc = simCanvas;
    sc.pen.Style = PenStyle::Solid;
    sc.pen.Width = 1;
    sc.brush.Style = BrushStyle::Solid;
    sc.brush.Color = clBlack;
    sc.pen.Color = clBlack;
    sc.Ellipse(ex - rS, ey - rS, ex + rS, ey + rS);
    // Each station's distance as a circle round it; the three meet at the epicentre.
    const QPoint s1 = station[0], s2 = station[1], s3 = station[2];
    sc.pen.Color = clRed;
    sc.Ellipse(s1.x() - d[0], s1.y() - d[0], s1.x() + d[0], s1.y() + d[0]);
    sc.Line(ex, ey, s1.x(), s1.y());
    auto ring = [&sc](QPoint centre, int radius) {
        QVector<QPoint> points;
        for (int j = 0; j <= 100; ++j) {
            const Extended a = j * Pi / 50;
            points.append(QPoint(Round(centre.x() + radius * std::cos(a)), Round(centre.y() + radius * std::sin(a))));
        }
        sc.Polyline(points);
    };
    sc.pen.Color = clLime;
    sc.Line(ex, ey, s2.x(), s2.y());
    ring(s2, d[1]);
    sc.pen.Color = clFuchsia;
    ring(s3, d[2]);
    sc.Line(ex, ey, s3.x(), s3.y());
    DrawStations(sc);
    sc.pen.Color = clWhite;
    sc.brush.Color = clWhite;
    sc.Ellipse(ex - 4, ey - 4, ex + 4, ey + 4);
    sc.brush.Color = clBlack;
}

// ---- switching pages ----

void TEpice::pagiClick()
{
    k = 0;
    graphShown = !graphShown;
    canvas.pen.Color = Grey;
    if (graphShown) {
        for (QLabel *l : aLabel)
            l->hide();
        ChangeHint(pagi, controlText(14));
        Timer2->start();
    } else {
        a4->hide();
        for (QLabel *l : aLabel)
            l->show();
        ChangeHint(pagi, controlText(12));
        Timer3->start();
    }
    disegna->setEnabled(false);
    pagi->setEnabled(false);
}

void TEpice::Timer3Timer()
{
    if (simPage.isNull()) {
        Timer3->stop();
        return;
    }
    canvas.copyMode = CopyMode::SrcCopy;
    for (const QRect &strip : {Rect(0, 0, 4 * k, CH), Rect(0, 0, CW, 3 * k), Rect(CW - 4 * k, 0, CW, CH),
                               Rect(0, CH - 3 * k, CW, CH)})
        canvas.CopyRect(strip, simPage, strip);
    canvas.pen.Color = Grey;
    canvas.pen.Style = PenStyle::Solid;
    canvas.Polyline({QPoint(4 * k, 3 * k), QPoint(CW - 4 * k, 3 * k), QPoint(CW - 4 * k, CH - 3 * k),
                     QPoint(4 * k, CH - 3 * k), QPoint(4 * k, 3 * k)});
    ++k;
    if (3 * k >= Div(CH, 2)) {
        Timer3->stop();
        disegna->setEnabled(true);
        pagi->setEnabled(true);
        canvas.Draw(0, 0, simPage);
    }
}

// ---- closing ----

void TEpice::FormClose()
{
    temposec->stop();
    Timer1->stop();
    Timer2->stop();
    Timer3->stop();
    SimWindow::FormClose();
}

void TEpice::FreeBitmaps()
{
    simCanvas.setTarget(nullptr);
    graphCanvas.setTarget(nullptr);
    simPage = QImage();
    graphPage = QImage();
}
