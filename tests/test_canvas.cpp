// The drawing layer, pixel by pixel: which pixels each operation covers and which it leaves.
#include "canvas.h"
#include "numeric.h"

#include <QApplication>
#include <QSet>
#include <QtTest>

namespace {
QImage blank(int w, int h)
{
    return NewBitmap(w, h, clWhite);
}

bool is(const QImage &img, int x, int y, TColor c)
{
    return img.pixel(x, y) == toQRgb(c);
}

// Bounding box of the pixels that are not white.
QRect inked(const QImage &img)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (!is(img, x, y, clWhite))
                r = r.united(QRect(x, y, 1, 1));
    return r;
}

QSet<QRgb> colours(const QImage &img)
{
    QSet<QRgb> s;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            s.insert(img.pixel(x, y));
    return s;
}
} // namespace

class TestCanvas : public QObject
{
    Q_OBJECT
private slots:
    void colourValues();
    void numbers();
    void lineLeavesOutEndPixel();
    void rectangleExcludesRightAndBottom();
    void fillRectExcludesRightAndBottom();
    void ellipseStaysInsideItsBox();
    void polygonAndPolyline();
    void arcAndPieRunAnticlockwise();
    void penWidthAndDottedPen();
    void copyRectPlainOrAndStretched();
    void textOutBoxAndMetrics();
    void pixelsAndClipping();
};

void TestCanvas::colourValues()
{
    // $BBGGRR: the low byte is red.
    QCOMPARE(toQColor(TColor(0x0000FF)), QColor(255, 0, 0));
    QCOMPARE(toQColor(TColor(0xFF0000)), QColor(0, 0, 255));
    QCOMPARE(toQColor(clGray), QColor(128, 128, 128));
    QCOMPARE(toQColor(clSilver), QColor(192, 192, 192));
    QCOMPARE(toQColor(clMaroon), QColor(128, 0, 0));
    QCOMPARE(toQColor(clNavy), QColor(0, 0, 128));
    QCOMPARE(toQColor(clOlive), QColor(128, 128, 0));
    QCOMPARE(toQColor(clTeal), QColor(0, 128, 128));
    QCOMPARE(toQColor(clAqua), QColor(0, 255, 255));
    QCOMPARE(toQColor(clFuchsia), QColor(255, 0, 255));
    QCOMPARE(toQColor(clLime), QColor(0, 255, 0));
    QCOMPARE(RGB(0, 170, 255), TColor(0xFFAA00));
    QCOMPARE(fromQColor(QColor(12, 34, 56)), RGB(12, 34, 56));
}

void TestCanvas::numbers()
{
    QCOMPARE(Round(0.5L), 0);
    QCOMPARE(Round(1.5L), 2);
    QCOMPARE(Round(2.5L), 2);
    QCOMPARE(Round(-0.5L), 0);
    QCOMPARE(Round(-1.5L), -2);
    QCOMPARE(Round(2.5000001L), 3);
    QCOMPARE(Round(-2.7L), -3);
    QCOMPARE(Div(7, 2), 3);
    QCOMPARE(Div(-7, 2), -3);
    QCOMPARE(Trunc(-2.9L), -2);
    // Stored state is single precision.
    Real r = Real(0.1L);
    QVERIFY(Extended(r) != 0.1L);
}

void TestCanvas::lineLeavesOutEndPixel()
{
    QImage img = blank(20, 20);
    Canvas c(&img);
    c.pen.Color = clBlack;
    c.MoveTo(2, 3);
    c.LineTo(12, 3);
    QCOMPARE(c.PenPos(), QPoint(12, 3));
    for (int x = 2; x <= 11; ++x)
        QVERIFY2(is(img, x, 3, clBlack), qPrintable(QString::number(x)));
    QVERIFY(is(img, 12, 3, clWhite));
    QVERIFY(is(img, 1, 3, clWhite));
    // Vertical, drawn upwards: the start pixel is drawn, the end pixel is not.
    c.MoveTo(15, 15);
    c.LineTo(15, 5);
    QVERIFY(is(img, 15, 15, clBlack));
    QVERIFY(is(img, 15, 6, clBlack));
    QVERIFY(is(img, 15, 5, clWhite));
    // Diagonal: exactly one pixel per column, the last column left out.
    img.fill(Qt::white);
    c.MoveTo(0, 0);
    c.LineTo(10, 10);
    int count = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            count += is(img, x, y, clBlack);
    QCOMPARE(count, 10);
    QVERIFY(is(img, 9, 9, clBlack));
    QVERIFY(is(img, 10, 10, clWhite));
    // A chain of LineTo joins without gaps: the second segment starts where the first stopped.
    img.fill(Qt::white);
    c.MoveTo(1, 1);
    c.LineTo(6, 1);
    c.LineTo(6, 6);
    QVERIFY(is(img, 5, 1, clBlack));
    QVERIFY(is(img, 6, 1, clBlack));
    QVERIFY(is(img, 6, 5, clBlack));
    QVERIFY(is(img, 6, 6, clWhite));
    // Line() is MoveTo + LineTo; a zero-length line draws nothing.
    img.fill(Qt::white);
    c.Line(4, 4, 4, 4);
    QVERIFY(inked(img).isNull());
}

void TestCanvas::rectangleExcludesRightAndBottom()
{
    QImage img = blank(20, 20);
    Canvas c(&img);
    c.pen.Color = clRed;
    c.brush.Color = clBlue;
    c.Rectangle(2, 3, 10, 8);
    QCOMPARE(inked(img), QRect(QPoint(2, 3), QPoint(9, 7)));
    for (int x = 2; x <= 9; ++x) {
        QVERIFY(is(img, x, 3, clRed));
        QVERIFY(is(img, x, 7, clRed));
    }
    for (int y = 3; y <= 7; ++y) {
        QVERIFY(is(img, 2, y, clRed));
        QVERIFY(is(img, 9, y, clRed));
    }
    for (int y = 4; y <= 6; ++y)
        for (int x = 3; x <= 8; ++x)
            QVERIFY(is(img, x, y, clBlue));
    // Corners given the other way round make the same rectangle.
    QImage other = blank(20, 20);
    Canvas c2(&other);
    c2.pen.Color = clRed;
    c2.brush.Color = clBlue;
    c2.Rectangle(10, 8, 2, 3);
    c.flush();
    c2.flush();
    QCOMPARE(other, img);
    // A clear brush leaves the inside alone.
    img.fill(Qt::white);
    c.brush.Style = BrushStyle::Clear;
    c.Rectangle(2, 3, 10, 8);
    QVERIFY(is(img, 5, 5, clWhite));
    QVERIFY(is(img, 2, 3, clRed));
}

void TestCanvas::fillRectExcludesRightAndBottom()
{
    QImage img = blank(12, 12);
    Canvas c(&img);
    c.brush.Color = clGreen;
    c.FillRect(1, 2, 5, 4);
    QCOMPARE(inked(img), QRect(QPoint(1, 2), QPoint(4, 3)));
    QVERIFY(is(img, 1, 2, clGreen));
    QVERIFY(is(img, 4, 3, clGreen));
    // The rectangle form: left, top, right, bottom.
    img.fill(Qt::white);
    c.FillRect(Rect(3, 3, 6, 9));
    QCOMPARE(inked(img), QRect(QPoint(3, 3), QPoint(5, 8)));
    // Empty rectangles fill nothing.
    img.fill(Qt::white);
    c.FillRect(4, 4, 4, 9);
    c.FillRect(4, 4, 9, 4);
    QVERIFY(inked(img).isNull());
    // FrameRect draws only the border, with the brush colour.
    c.brush.Color = clNavy;
    c.FrameRect(2, 2, 8, 7);
    QCOMPARE(inked(img), QRect(QPoint(2, 2), QPoint(7, 6)));
    QVERIFY(is(img, 7, 6, clNavy));
    QVERIFY(is(img, 4, 4, clWhite));
}

void TestCanvas::ellipseStaysInsideItsBox()
{
    QImage img = blank(30, 30);
    Canvas c(&img);
    c.pen.Color = clRed;
    c.brush.Color = clYellow;
    c.Ellipse(4, 6, 24, 20);
    QCOMPARE(inked(img), QRect(QPoint(4, 6), QPoint(23, 19)));
    // Outline at the extremes of each axis, fill in the middle.
    QVERIFY(is(img, 4, 12, clRed) || is(img, 4, 13, clRed));
    QVERIFY(is(img, 13, 6, clRed) || is(img, 14, 6, clRed));
    QVERIFY(is(img, 14, 13, clYellow));
    // Corners of the box are outside the ellipse.
    QVERIFY(is(img, 4, 6, clWhite));
    QVERIFY(is(img, 23, 19, clWhite));
    // No antialiasing: only the three colours appear.
    QCOMPARE(colours(img).size(), 3);
    // Without a pen, the filled ellipse still covers exactly the box.
    img.fill(Qt::white);
    c.pen.Style = PenStyle::Clear;
    c.Ellipse(4, 6, 24, 20);
    QCOMPARE(inked(img), QRect(QPoint(4, 6), QPoint(23, 19)));
    QCOMPARE(colours(img).size(), 2);
    // A circle is symmetric about its centre.
    img.fill(Qt::white);
    c.pen.Style = PenStyle::Solid;
    c.Ellipse(5, 5, 16, 16);
    for (int y = 5; y <= 15; ++y)
        for (int x = 5; x <= 15; ++x)
            QCOMPARE(img.pixel(x, y) == toQRgb(clWhite), img.pixel(20 - x, 20 - y) == toQRgb(clWhite));
}

void TestCanvas::polygonAndPolyline()
{
    QImage img = blank(20, 20);
    Canvas c(&img);
    c.pen.Color = clBlack;
    c.brush.Color = clLime;
    c.Polygon({QPoint(2, 2), QPoint(16, 2), QPoint(2, 16)});
    // Every vertex is drawn (the outline is closed), the inside is filled.
    QVERIFY(is(img, 2, 2, clBlack));
    QVERIFY(is(img, 16, 2, clBlack));
    QVERIFY(is(img, 2, 16, clBlack));
    QVERIFY(is(img, 5, 5, clLime));
    QVERIFY(is(img, 14, 14, clWhite));
    QCOMPARE(inked(img), QRect(QPoint(2, 2), QPoint(16, 16)));
    // A slanted side is the same line LineTo draws: a shallow side steps halfway along.
    img.fill(Qt::white);
    c.Polygon({QPoint(0, 2), QPoint(13, 3), QPoint(13, 12), QPoint(0, 11)});
    QImage ref = blank(20, 20);
    Canvas r(&ref);
    r.pen.Color = clBlack;
    r.MoveTo(0, 2);
    r.LineTo(13, 3);
    r.flush();
    for (int x = 1; x < 13; ++x)
        for (int y = 2; y <= 3; ++y)
            QCOMPARE(is(img, x, y, clBlack), is(ref, x, y, clBlack));
    QVERIFY(is(img, 6, 2, clBlack) && is(img, 7, 3, clBlack));
    // Polyline does not close the figure and leaves out its last point.
    img.fill(Qt::white);
    c.Polyline({QPoint(2, 2), QPoint(10, 2), QPoint(10, 10)});
    QVERIFY(is(img, 2, 2, clBlack));
    QVERIFY(is(img, 10, 9, clBlack));
    QVERIFY(is(img, 10, 10, clWhite));
    QVERIFY(is(img, 6, 6, clWhite));
    QCOMPARE(c.PenPos(), QPoint(10, 10));
}

void TestCanvas::arcAndPieRunAnticlockwise()
{
    // From the ray through the right-hand point to the ray through the top point,
    // anticlockwise: the upper-right quarter only.
    QImage img = blank(41, 41);
    Canvas c(&img);
    c.pen.Color = clBlack;
    c.Arc(0, 0, 40, 40, 40, 20, 20, 0);
    QRect r = inked(img);
    QVERIFY(!r.isNull());
    QVERIFY2(r.left() >= 19 && r.bottom() <= 21, qPrintable(QString("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())));
    QVERIFY(r.right() >= 38 && r.top() <= 1);
    // Swapping the two points draws the other three quarters.
    img.fill(Qt::white);
    c.Arc(0, 0, 40, 40, 20, 0, 40, 20);
    r = inked(img);
    QVERIFY(r.left() <= 1 && r.bottom() >= 38);
    QVERIFY(is(img, 39, 10, clWhite) && is(img, 30, 2, clWhite));
    // The points only give directions: far-away points on the same rays give the same arc.
    QImage far = blank(41, 41);
    Canvas cf(&far);
    cf.pen.Color = clBlack;
    cf.Arc(0, 0, 40, 40, 20, -100, 140, 20);
    cf.flush();
    c.flush();
    QCOMPARE(far, img);
    // Pie: the quarter sector is filled with the brush and outlined with the pen.
    img.fill(Qt::white);
    c.brush.Color = clRed;
    c.Pie(0, 0, 40, 40, 40, 20, 20, 0);
    QVERIFY(is(img, 28, 12, clRed));
    QVERIFY(is(img, 12, 12, clWhite));
    QVERIFY(is(img, 28, 28, clWhite));
    QVERIFY(is(img, 12, 28, clWhite));
    QCOMPARE(colours(img).size(), 3);
}

void TestCanvas::penWidthAndDottedPen()
{
    QImage img = blank(30, 30);
    Canvas c(&img);
    c.pen.Color = clBlack;
    c.pen.Width = 3;
    c.Line(5, 10, 20, 10);
    int rows = 0;
    for (int y = 5; y <= 15; ++y)
        rows += is(img, 12, y, clBlack);
    QCOMPARE(rows, 3);
    QVERIFY(is(img, 12, 9, clBlack) && is(img, 12, 11, clBlack));
    // Dotted: gaps along the line, and no pixel off it.
    img.fill(Qt::white);
    c.pen.Width = 1;
    c.pen.Style = PenStyle::Dot;
    c.Line(0, 5, 30, 5);
    int on = 0, changes = 0;
    for (int x = 0; x < 30; ++x) {
        on += is(img, x, 5, clBlack);
        if (x > 0 && is(img, x, 5, clBlack) != is(img, x - 1, 5, clBlack))
            ++changes;
    }
    QVERIFY(on > 5 && on < 25);
    QVERIFY(changes >= 8);
    QCOMPARE(inked(img).height(), 1);
    // A clear pen draws nothing but still moves the pen.
    img.fill(Qt::white);
    c.pen.Style = PenStyle::Clear;
    c.Line(0, 0, 10, 10);
    QVERIFY(inked(img).isNull());
    QCOMPARE(c.PenPos(), QPoint(10, 10));
}

void TestCanvas::copyRectPlainOrAndStretched()
{
    QImage src = NewBitmap(4, 4, clGreen);
    src.setPixel(0, 0, toQRgb(clRed));
    QImage dst = NewBitmap(10, 10, clMaroon);
    Canvas c(&dst);
    c.CopyRect(Rect(2, 2, 6, 6), src, Rect(0, 0, 4, 4));
    QVERIFY(is(dst, 2, 2, clRed));
    QVERIFY(is(dst, 5, 5, clGreen));
    QVERIFY(is(dst, 6, 6, clMaroon));
    QVERIFY(is(dst, 1, 1, clMaroon));
    // OR mode: maroon (128,0,0) | green (0,128,0) = olive (128,128,0).
    dst.fill(toQRgb(clMaroon));
    c.copyMode = CopyMode::SrcPaint;
    c.CopyRect(Rect(0, 0, 4, 4), src, Rect(0, 0, 4, 4));
    QVERIFY(is(dst, 3, 3, clOlive));
    QVERIFY(is(dst, 0, 0, clRed)); // (255,0,0) | (128,0,0)
    QVERIFY(is(dst, 4, 4, clMaroon));
    // Different sizes stretch the source: each source pixel becomes a 2 x 2 block.
    c.copyMode = CopyMode::SrcCopy;
    dst.fill(Qt::white);
    c.CopyRect(Rect(0, 0, 8, 8), src, Rect(0, 0, 4, 4));
    QVERIFY(is(dst, 0, 0, clRed) && is(dst, 1, 1, clRed));
    QVERIFY(is(dst, 2, 2, clGreen) && is(dst, 7, 7, clGreen));
    QVERIFY(is(dst, 8, 8, clWhite));
    // Draw puts the whole picture with its top-left corner at the point.
    dst.fill(Qt::white);
    c.Draw(5, 6, src);
    QCOMPARE(inked(dst), QRect(5, 6, 4, 4));
    QVERIFY(is(dst, 5, 6, clRed));
    // Drawing partly outside the target is clipped, not refused.
    c.Draw(8, 8, src);
    QVERIFY(is(dst, 9, 9, clGreen));
    // Copying only what differs: the two differing pixels, and only the box round them.
    QImage from = NewBitmap(6, 6, clBlue);
    from.setPixel(1, 4, toQRgb(clRed));
    from.setPixel(4, 2, toQRgb(clYellow));
    dst.fill(toQRgb(clBlue));
    c.ClearChanged();
    QCOMPARE(c.CopyDiffering(QPoint(3, 1), from, Rect(0, 0, 6, 6)), QRect(4, 3, 4, 3));
    QCOMPARE(c.ChangedRect(), QRect(4, 3, 4, 3));
    QVERIFY(is(dst, 4, 5, clRed) && is(dst, 7, 3, clYellow) && dst.copy(3, 1, 6, 6) == from);
}

void TestCanvas::textOutBoxAndMetrics()
{
    QImage img = blank(120, 40);
    Canvas c(&img);
    c.font.setFamily(QStringLiteral("DejaVu Sans"));
    c.font.setPixelSize(14);
    c.fontColor = clBlue;
    c.brush.Color = clYellow;
    const QString text = QStringLiteral("Terra");
    const int w = c.TextWidth(text), h = c.TextHeight(text);
    QVERIFY(w > 20 && w < 80);
    QVERIFY(h >= 14 && h < 25);
    c.TextOut(10, 5, text);
    // The box behind the text is the brush colour; outside it nothing changes.
    QCOMPARE(inked(img), QRect(10, 5, w, h));
    const QSet<QRgb> cs = colours(img.copy(10, 5, w, h));
    QCOMPARE(cs, (QSet<QRgb>{toQRgb(clYellow), toQRgb(clBlue)}));
    // A clear brush leaves the background as it was, and the glyphs are not smoothed.
    img.fill(Qt::white);
    c.brush.Style = BrushStyle::Clear;
    c.TextOut(10, 5, text);
    QCOMPARE(colours(img), (QSet<QRgb>{toQRgb(clWhite), toQRgb(clBlue)}));
    QVERIFY(inked(img).width() <= w && inked(img).height() <= h);
    QCOMPARE(c.PenPos(), QPoint(10 + w, 5));
    // Longer texts are wider.
    QVERIFY(c.TextWidth(QStringLiteral("Terra e Luna")) > w);
}

void TestCanvas::pixelsAndClipping()
{
    QImage img = blank(5, 5);
    Canvas c(&img);
    c.SetPixel(2, 3, clPurple);
    QCOMPARE(c.Pixel(2, 3), clPurple);
    QCOMPARE(c.Pixel(0, 0), clWhite);
    // Out of range: ignored when set, black when read.
    c.SetPixel(-1, 7, clRed);
    QCOMPARE(c.Pixel(9, 9), clBlack);
    // Pixel writes and painter work keep their order.
    c.brush.Color = clTeal;
    c.FillRect(0, 0, 5, 5);
    c.SetPixel(1, 1, clRed);
    c.FillRect(4, 4, 5, 5);
    QCOMPARE(c.Pixel(1, 1), clRed);
    QCOMPARE(c.Pixel(3, 3), clTeal);
    // Shapes far outside the picture are clipped without harm.
    c.Rectangle(-1000, -1000, 1000, 1000);
    c.Line(-50000, 2, 50000, 2);
    QCOMPARE(c.Pixel(2, 2), clBlack);
    // A canvas without a picture ignores everything.
    Canvas none;
    none.Rectangle(0, 0, 5, 5);
    none.TextOut(0, 0, QStringLiteral("x"));
    QCOMPARE(none.Pixel(0, 0), clBlack);
    QCOMPARE(none.width(), 0);
}

QTEST_MAIN(TestCanvas)
#include "test_canvas.moc"
