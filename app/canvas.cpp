#include "canvas.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainterPath>
#include <QPalette>
#include <cmath>
#include <cstring>

QRgb toQRgb(TColor c)
{
    if (c == clBackground) {
        if (QCoreApplication::instance() && qobject_cast<QApplication *>(QCoreApplication::instance()))
            return QApplication::palette().color(QPalette::Window).rgb();
        return qRgb(0xEF, 0xEF, 0xEF);
    }
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

QColor toQColor(TColor c)
{
    return QColor(toQRgb(c));
}

TColor fromQColor(const QColor &c)
{
    return RGB(c.red(), c.green(), c.blue());
}

QImage NewBitmap(int width, int height, TColor fill)
{
    QImage img(qMax(width, 0), qMax(height, 0), QImage::Format_RGB32);
    img.fill(toQRgb(fill));
    return img;
}

Canvas::Canvas(QImage *target) : img(target) {}

Canvas::~Canvas()
{
    flush();
}

void Canvas::setTarget(QImage *target)
{
    flush();
    img = target;
    if (img)
        Touch(img->rect());
}

void Canvas::flush()
{
    if (p) {
        p->end();
        p.reset();
    }
}

QRect Canvas::Reach(const QRect &r) const
{
    const int m = qMax(pen.Width, 1) + 1;
    return r.normalized().adjusted(-m, -m, m, m);
}

QPainter &Canvas::painter(const QRect &touched)
{
    Touch(touched);
    if (!p && img && !img->isNull()) {
        p = std::make_unique<QPainter>(img);
        p->setRenderHint(QPainter::Antialiasing, false);
        p->setRenderHint(QPainter::TextAntialiasing, false);
        p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    static QImage dummy(1, 1, QImage::Format_RGB32);
    static QPainter dummyPainter(&dummy);
    return p ? *p : dummyPainter;
}

void Canvas::applyPen(QPainter &pt) const
{
    if (pen.Style == PenStyle::Clear) {
        pt.setPen(Qt::NoPen);
        return;
    }
    QPen qp(toQColor(pen.Color));
    qp.setWidth(qMax(pen.Width, 1));
    if (pen.Width <= 1) {
        // A thin line leaves out its last pixel, as the classic LineTo does.
        qp.setCapStyle(Qt::FlatCap);
        qp.setJoinStyle(Qt::MiterJoin);
    } else {
        qp.setCapStyle(Qt::RoundCap);
        qp.setJoinStyle(Qt::RoundJoin);
    }
    switch (pen.Style) {
    case PenStyle::Dot: qp.setStyle(Qt::DotLine); break;
    case PenStyle::Dash: qp.setStyle(Qt::DashLine); break;
    default: qp.setStyle(Qt::SolidLine); break;
    }
    pt.setPen(qp);
}

void Canvas::applyBrush(QPainter &pt) const
{
    if (brush.Style == BrushStyle::Clear)
        pt.setBrush(Qt::NoBrush);
    else
        pt.setBrush(toQColor(brush.Color));
}

void Canvas::MoveTo(int x, int y)
{
    penPos = QPoint(x, y);
}

// A one-pixel solid line from a towards b: one pixel per step along the longer axis,
// the start pixel drawn and the end pixel left out, whichever way the line runs.
void Canvas::ThinLine(QPoint a, QPoint b)
{
    const qint64 dx = qint64(b.x()) - a.x(), dy = qint64(b.y()) - a.y();
    const qint64 adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    const bool xMajor = adx >= ady;
    const qint64 steps = xMajor ? adx : ady;
    const qint64 minor = xMajor ? ady : adx;
    if (steps == 0)
        return;
    // Only the steps whose major coordinate lies inside the picture can draw anything.
    const qint64 limit = xMajor ? img->width() : img->height();
    const qint64 start = xMajor ? a.x() : a.y();
    const int dir = xMajor ? sx : sy;
    qint64 first = 0, last = steps - 1;
    if (dir > 0) {
        first = qMax<qint64>(first, -start);
        last = qMin<qint64>(last, limit - 1 - start);
    } else {
        first = qMax<qint64>(first, start - (limit - 1));
        last = qMin<qint64>(last, start);
    }
    if (first > last)
        return;
    flushForPixels(QRect(a, b).normalized());
    const QRgb colour = toQRgb(pen.Color);
    uchar *bits = img->bits();
    const qsizetype bpl = img->bytesPerLine();
    const int w = img->width(), h = img->height();
    // Minor offset of step i rounded to nearest, halves away from the start:
    // m = (2 i minor + steps) div (2 steps), kept as a quotient and remainder from step to step.
    // The major coordinate stays inside the picture over first..last; the minor one is checked.
    const qint64 den = 2 * steps, inc = 2 * minor;
    const qint64 num = 2 * first * minor + steps;
    qint64 m = num / den, rem = num % den;
    if (xMajor) {
        QRgb *px = reinterpret_cast<QRgb *>(bits) + (a.x() + sx * first);
        for (qint64 i = first; i <= last; ++i, px += sx) {
            const qint64 y = a.y() + sy * m;
            if (y >= 0 && y < h)
                *reinterpret_cast<QRgb *>(reinterpret_cast<uchar *>(px) + y * bpl) = colour;
            rem += inc;
            if (rem >= den) {
                rem -= den;
                ++m;
            }
        }
    } else {
        const qsizetype step = sy * bpl;
        uchar *row = bits + (a.y() + sy * first) * bpl;
        for (qint64 i = first; i <= last; ++i, row += step) {
            const qint64 x = a.x() + sx * m;
            if (x >= 0 && x < w)
                reinterpret_cast<QRgb *>(row)[x] = colour;
            rem += inc;
            if (rem >= den) {
                rem -= den;
                ++m;
            }
        }
    }
}

void Canvas::flushForPixels(const QRect &touched)
{
    // The painter of a picture writes straight into its memory, so direct pixel writes
    // need nothing more than an image that is not shared.
    Touch(touched);
    if (!p && img)
        img->detach();
}

void Canvas::LineTo(int x, int y)
{
    if (img && !img->isNull() && pen.Style == PenStyle::Solid && pen.Width <= 1
        && img->format() == QImage::Format_RGB32) {
        ThinLine(penPos, QPoint(x, y));
    } else if (img && pen.Style != PenStyle::Clear && penPos != QPoint(x, y)) {
        QPainter &pt = painter(Reach(QRect(penPos, QPoint(x, y))));
        pt.setCompositionMode(QPainter::CompositionMode_SourceOver);
        applyPen(pt);
        pt.drawLine(penPos, QPoint(x, y));
    }
    penPos = QPoint(x, y);
}

void Canvas::Polyline(const QVector<QPoint> &points)
{
    if (points.isEmpty())
        return;
    MoveTo(points[0].x(), points[0].y());
    for (int i = 1; i < points.size(); ++i)
        LineTo(points[i].x(), points[i].y());
}

void Canvas::Polygon(const QVector<QPoint> &points)
{
    if (!img || points.size() < 2)
        return;
    QPainter &pt = painter(Reach(QPolygon(points).boundingRect()));
    pt.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (pen.Style == PenStyle::Solid && pen.Width <= 1 && img->format() == QImage::Format_RGB32) {
        // The inside with the brush, then each side drawn as LineTo draws it (the next side
        // starts where one leaves off, so the outline is closed and every corner is drawn).
        if (brush.Style != BrushStyle::Clear) {
            pt.setPen(Qt::NoPen);
            applyBrush(pt);
            pt.drawPolygon(QPolygon(points), Qt::OddEvenFill);
        }
        for (qsizetype i = 0; i < points.size(); ++i)
            ThinLine(points[i], points[(i + 1) % points.size()]);
        return;
    }
    applyPen(pt);
    applyBrush(pt);
    pt.drawPolygon(QPolygon(points), Qt::OddEvenFill);
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2)
{
    if (!img)
        return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1)
        return;
    QPainter &pt = painter(Reach(QRect(x1, y1, x2 - x1, y2 - y1)));
    pt.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (brush.Style != BrushStyle::Clear)
        pt.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), toQColor(brush.Color));
    if (pen.Style != PenStyle::Clear) {
        applyPen(pt);
        pt.setBrush(Qt::NoBrush);
        if (pen.Width <= 1) {
            // A one-pixel frame on the outermost pixels of x1..x2-1, y1..y2-1.
            pt.drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
        } else {
            const int w = pen.Width;
            QPen qp = pt.pen();
            qp.setCapStyle(Qt::SquareCap);
            qp.setJoinStyle(Qt::MiterJoin);
            pt.setPen(qp);
            const qreal h = w / 2.0;
            pt.drawRect(QRectF(x1 + h, y1 + h, x2 - x1 - w, y2 - y1 - w));
        }
    }
}

void Canvas::FillRect(int x1, int y1, int x2, int y2)
{
    if (!img)
        return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 == x1 || y2 == y1)
        return;
    QPainter &pt = painter(QRect(x1, y1, x2 - x1, y2 - y1));
    pt.setCompositionMode(QPainter::CompositionMode_SourceOver);
    pt.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), toQColor(brush.Color));
}

void Canvas::FrameRect(int x1, int y1, int x2, int y2)
{
    if (!img || x2 - x1 < 1 || y2 - y1 < 1)
        return;
    QPainter &pt = painter(QRect(x1, y1, x2 - x1, y2 - y1));
    pt.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QColor c = toQColor(brush.Color);
    pt.fillRect(QRect(x1, y1, x2 - x1, 1), c);
    pt.fillRect(QRect(x1, y2 - 1, x2 - x1, 1), c);
    pt.fillRect(QRect(x1, y1, 1, y2 - y1), c);
    pt.fillRect(QRect(x2 - 1, y1, 1, y2 - y1), c);
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2)
{
    if (!img)
        return;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1)
        return;
    QPainter &pt = painter(Reach(QRect(x1, y1, x2 - x1, y2 - y1)));
    pt.setCompositionMode(QPainter::CompositionMode_SourceOver);
    applyPen(pt);
    applyBrush(pt);
    if (x2 - x1 == 1 || y2 - y1 == 1) {
        // Degenerate box: a single row or column of pixels.
        TColor c = pen.Style != PenStyle::Clear ? pen.Color : brush.Color;
        if (pen.Style == PenStyle::Clear && brush.Style == BrushStyle::Clear)
            return;
        pt.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), toQColor(c));
        return;
    }
    if (pen.Style == PenStyle::Clear) {
        QPainterPath path;
        path.addEllipse(QRectF(x1, y1, x2 - x1, y2 - y1));
        pt.fillPath(path, toQColor(brush.Color));
        return;
    }
    if (pen.Width <= 1) {
        // A one-pixel outline on the outermost pixels of x1..x2-1, y1..y2-1.
        pt.drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    } else {
        const qreal h = pen.Width / 2.0;
        pt.drawEllipse(QRectF(x1 + h, y1 + h, x2 - x1 - pen.Width, y2 - y1 - pen.Width));
    }
}

QPainterPath Canvas::arcPath(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, bool pie) const
{
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    const qreal h = qMax(pen.Width, 1) / 2.0;
    const QRectF box(x1 + h, y1 + h, x2 - x1 - 2 * h, y2 - y1 - 2 * h);
    const qreal cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    const qreal a = qMax<qreal>((x2 - x1) / 2.0, 0.5), b = qMax<qreal>((y2 - y1) / 2.0, 0.5);
    // Angle parameter of the point of the ellipse on each ray (screen y points down).
    auto param = [&](int px, int py) {
        qreal t = std::atan2(-(py - cy) / b, (px - cx) / a) * 180.0 / M_PI;
        return t;
    };
    qreal t1 = param(x3, y3);
    qreal t2 = param(x4, y4);
    qreal span = t2 - t1;
    while (span <= 0)
        span += 360.0;
    while (span > 360.0)
        span -= 360.0;
    QPainterPath path;
    if (pie) {
        path.moveTo(box.center());
        path.arcTo(box, t1, span);
        path.closeSubpath();
    } else {
        path.arcMoveTo(box, t1);
        path.arcTo(box, t1, span);
    }
    return path;
}

void Canvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (!img || pen.Style == PenStyle::Clear)
        return;
    QPainter &pt = painter(Reach(QRect(QPoint(x1, y1), QPoint(x2, y2))));
    pt.setCompositionMode(QPainter::CompositionMode_SourceOver);
    applyPen(pt);
    pt.setBrush(Qt::NoBrush);
    pt.drawPath(arcPath(x1, y1, x2, y2, x3, y3, x4, y4, false));
}

void Canvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (!img)
        return;
    QPainter &pt = painter(Reach(QRect(QPoint(x1, y1), QPoint(x2, y2))));
    pt.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QPainterPath path = arcPath(x1, y1, x2, y2, x3, y3, x4, y4, true);
    if (brush.Style != BrushStyle::Clear)
        pt.fillPath(path, toQColor(brush.Color));
    if (pen.Style != PenStyle::Clear) {
        applyPen(pt);
        pt.setBrush(Qt::NoBrush);
        pt.drawPath(path);
    }
}

TColor Canvas::Pixel(int x, int y) const
{
    if (!img || !img->rect().contains(x, y))
        return clBlack;
    return fromQColor(QColor(img->pixel(x, y)));
}

void Canvas::SetPixel(int x, int y, TColor c)
{
    if (!img || !img->rect().contains(x, y))
        return;
    Touch(QRect(x, y, 1, 1));
    if (p) {
        // Keep the order of painter work and direct pixel writes.
        p->setCompositionMode(QPainter::CompositionMode_Source);
        p->fillRect(QRect(x, y, 1, 1), toQColor(c));
        return;
    }
    img->setPixel(x, y, toQRgb(c));
}

static QFont crispFont(QFont f)
{
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

void Canvas::TextOut(int x, int y, const QString &text)
{
    if (!img || text.isEmpty())
        return;
    const QFont f = crispFont(font);
    const QFontMetrics fm(f);
    // The text's box and whatever its glyphs reach beyond it.
    const QRect box = QRect(x, y, fm.horizontalAdvance(text), fm.height())
        | fm.boundingRect(text).translated(x, y + fm.ascent());
    QPainter &pt = painter(box.adjusted(-2, -2, 2, 2));
    pt.setCompositionMode(QPainter::CompositionMode_SourceOver);
    pt.setFont(f);
    if (brush.Style != BrushStyle::Clear)
        pt.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), toQColor(brush.Color));
    pt.setPen(toQColor(fontColor));
    pt.drawText(QPoint(x, y + fm.ascent()), text);
    penPos = QPoint(x + fm.horizontalAdvance(text), y);
}

int Canvas::TextWidth(const QString &text) const
{
    return QFontMetrics(crispFont(font)).horizontalAdvance(text);
}

int Canvas::TextHeight(const QString &) const
{
    return QFontMetrics(crispFont(font)).height();
}

void Canvas::CopyRect(const QRect &destRect, const QImage &src, const QRect &srcRect)
{
    if (!img || src.isNull() || destRect.isEmpty() || srcRect.isEmpty())
        return;
    QPainter &pt = painter(destRect);
    pt.setCompositionMode(copyMode == CopyMode::SrcPaint ? QPainter::RasterOp_SourceOrDestination
                                                         : QPainter::CompositionMode_Source);
    if (destRect.size() == srcRect.size())
        pt.drawImage(destRect.topLeft(), src, srcRect);
    else
        pt.drawImage(destRect, src, srcRect);
    pt.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

QRect Canvas::CopyDiffering(const QPoint &to, const QImage &src, const QRect &srcRect)
{
    if (!img || src.isNull())
        return QRect();
    // Only the part that lies inside both pictures.
    QRect from = srcRect & src.rect();
    from &= img->rect().translated(srcRect.topLeft() - to);
    if (from.isEmpty())
        return QRect();
    const QPoint shift = to - srcRect.topLeft();
    if (copyMode != CopyMode::SrcCopy || src.format() != img->format() || src.depth() != 32) {
        CopyRect(from.translated(shift), src, from);
        return from.translated(shift);
    }
    QRect differs;
    const size_t rowBytes = size_t(from.width()) * 4;
    for (int y = from.top(); y <= from.bottom(); ++y) {
        const QRgb *a = reinterpret_cast<const QRgb *>(src.constScanLine(y)) + from.left();
        const QRgb *b = reinterpret_cast<const QRgb *>(img->constScanLine(y + shift.y()))
                        + from.left() + shift.x();
        if (std::memcmp(a, b, rowBytes) == 0)
            continue;
        int l = 0, r = from.width() - 1;
        while (a[l] == b[l])
            ++l;
        while (a[r] == b[r])
            --r;
        differs |= QRect(from.left() + l, y, r - l + 1, 1);
    }
    if (!differs.isEmpty())
        CopyRect(differs.translated(shift), src, differs);
    return differs.translated(shift);
}

void Canvas::Draw(int x, int y, const QImage &src)
{
    if (!img || src.isNull())
        return;
    QPainter &pt = painter(QRect(QPoint(x, y), src.size()));
    pt.setCompositionMode(QPainter::CompositionMode_Source);
    pt.drawImage(QPoint(x, y), src);
    pt.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void SavedRect::Resize(int width, int height)
{
    patch = NewBitmap(qMax(width, 1), qMax(height, 1), clBlack);
    rect = QRect();
}

void SavedRect::Save(const QImage &picture, const QRect &r)
{
    rect = r;
    if (patch.isNull() || r.width() > patch.width() || r.height() > patch.height())
        patch = NewBitmap(qMax(r.width(), 1), qMax(r.height(), 1), clBlack);
    Canvas c(&patch);
    c.brush.Color = clBlack;
    c.FillRect(0, 0, patch.width(), patch.height());
    c.CopyRect(QRect(QPoint(0, 0), r.size()), picture, r);
}

void SavedRect::Restore(Canvas &picture) const
{
    if (patch.isNull() || rect.isEmpty())
        return;
    const CopyMode mode = picture.copyMode;
    picture.copyMode = CopyMode::SrcCopy;
    picture.CopyRect(rect, patch, QRect(QPoint(0, 0), rect.size()));
    picture.copyMode = mode;
}

void SavedRect::Clear()
{
    patch = QImage();
    rect = QRect();
}
