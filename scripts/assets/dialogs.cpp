// Pictures of the About box (hour-glass glyphs) and of the notice
// (information icon).
#include "assets.h"
#include "pixel.h"

#include <QPainterPath>

namespace {

// Outline of an hour-glass inside the rectangle r: top and bottom plates and
// two glass bulbs meeting at a narrow neck, with a little sand.
void hourglass(QPainter &g, const QRectF &r, double pen)
{
    const double plate = r.height() * 0.09;
    const double x0 = r.left(), x1 = r.right(), cx = r.center().x();
    const double top = r.top() + plate, bottom = r.bottom() - plate, mid = r.center().y();
    const double inset = r.width() * 0.14, neck = r.width() * 0.07;
    g.setPen(QPen(QColor(255, 255, 255), pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.setBrush(Qt::NoBrush);
    g.drawRoundedRect(QRectF(x0, r.top(), r.width(), plate), plate / 3, plate / 3);
    g.drawRoundedRect(QRectF(x0, bottom, r.width(), plate), plate / 3, plate / 3);
    QPainterPath glass;
    glass.moveTo(x0 + inset, top);
    glass.cubicTo(x0 + inset, mid - r.height() * 0.12, cx - neck, mid - r.height() * 0.06, cx - neck, mid);
    glass.cubicTo(cx - neck, mid + r.height() * 0.06, x0 + inset, mid + r.height() * 0.12, x0 + inset, bottom);
    glass.moveTo(x1 - inset, top);
    glass.cubicTo(x1 - inset, mid - r.height() * 0.12, cx + neck, mid - r.height() * 0.06, cx + neck, mid);
    glass.cubicTo(cx + neck, mid + r.height() * 0.06, x1 - inset, mid + r.height() * 0.12, x1 - inset, bottom);
    g.drawPath(glass);
    // Sand: a little left at the top, a heap at the bottom.
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(220, 230, 255));
    QPainterPath sandTop;
    const double sy = top + (mid - top) * 0.55;
    sandTop.moveTo(x0 + inset + r.width() * 0.08, sy);
    sandTop.lineTo(x1 - inset - r.width() * 0.08, sy);
    sandTop.lineTo(cx, mid - neck);
    sandTop.closeSubpath();
    g.drawPath(sandTop);
    QPainterPath heap;
    heap.moveTo(x0 + inset + pen, bottom);
    heap.quadTo(cx, bottom - (bottom - mid) * 0.75, x1 - inset - pen, bottom);
    heap.closeSubpath();
    g.drawPath(heap);
    g.setPen(QPen(QColor(220, 230, 255), pen * 0.6));
    g.drawLine(QPointF(cx, mid), QPointF(cx, bottom - (bottom - mid) * 0.4));
}

} // namespace

bool drawDialogPictures(const QString &outDir)
{
    bool ok = true;

    // Two hour-glass glyphs, 32 x 32 each: large, then small.
    {
        Canvas c(64, 32);
        paintOn(c, true, [](QPainter &g) {
            hourglass(g, QRectF(7.5, 1.5, 17, 29), 1.6);
            hourglass(g, QRectF(32 + 11.5, 8.5, 9, 15), 1.1);
        });
        ok = savePng(c.img, outDir + "/hourglass.png") && ok;
    }

    // Information icon, 34 x 39: a blue letter i in a white speech bubble
    // with a dark outline and a small tail at the bottom.
    {
        Canvas c(34, 39);
        paintOn(c, true, [](QPainter &g) {
            QPainterPath bubble;
            bubble.addEllipse(QRectF(1.5, 1.5, 31, 29));
            QPainterPath tail;
            tail.moveTo(10, 25);
            tail.lineTo(8, 37.5);
            tail.lineTo(19, 29);
            tail.closeSubpath();
            QPainterPath shape = bubble.united(tail).simplified();
            g.setPen(QPen(QColor(40, 40, 40), 1.5));
            g.setBrush(QColor(255, 255, 255));
            g.drawPath(shape);
            // The letter: a round dot and a stem with serifs.
            g.setPen(Qt::NoPen);
            g.setBrush(QColor(0, 0, 255));
            g.drawEllipse(QRectF(14, 5, 6, 6));
            QPainterPath stem;
            stem.moveTo(12, 13);
            stem.lineTo(19.5, 13);
            stem.lineTo(19.5, 23.5);
            stem.lineTo(22, 23.5);
            stem.lineTo(22, 26.5);
            stem.lineTo(12, 26.5);
            stem.lineTo(12, 23.5);
            stem.lineTo(14.5, 23.5);
            stem.lineTo(14.5, 16);
            stem.lineTo(12, 16);
            stem.closeSubpath();
            g.drawPath(stem);
        });
        ok = savePng(c.img, outDir + "/info.png") && ok;
    }
    return ok;
}
