#pragma once
// The drawing surface every window paints through. It keeps the classic canvas rules the
// pictures are designed in:
//  - colours are $00BBGGRR values (TColor); named colours below;
//  - MoveTo/LineTo draw from the pen position and leave out the end pixel;
//  - Rectangle, Ellipse and FillRect cover x1..x2-1 and y1..y2-1 (right and bottom edges
//    excluded); Rectangle, Ellipse, Polygon and Pie fill with the brush and outline with the pen;
//  - Arc and Pie take the bounding box and two points: the curve runs anticlockwise from the
//    ray through the first point to the ray through the second;
//  - no antialiasing, for shapes and for text;
//  - TextOut writes with the font colour over a brush-coloured box (unless the brush is clear);
//  - CopyRect/Draw copy pictures, CopyRect honouring the copy mode (plain copy or OR).
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QVector>
#include <memory>

using TColor = quint32; // $00BBGGRR

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
// The toolkit's window background colour (taken from the application palette).
constexpr TColor clBackground = 0xFF000001;

// RGB(r, g, b) as a TColor.
constexpr TColor RGB(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}

QColor toQColor(TColor c);
QRgb toQRgb(TColor c);
TColor fromQColor(const QColor &c);

// A fresh off-screen bitmap of the given size, filled with a colour.
QImage NewBitmap(int width, int height, TColor fill = clWhite);

enum class PenStyle { Solid, Dot, Dash, Clear };
enum class BrushStyle { Solid, Clear };
enum class CopyMode { SrcCopy, SrcPaint /* OR */ };

struct Pen {
    TColor Color = clBlack;
    int Width = 1;
    PenStyle Style = PenStyle::Solid;
};

struct Brush {
    TColor Color = clWhite;
    BrushStyle Style = BrushStyle::Solid;
};

class Canvas
{
public:
    Canvas() = default;
    explicit Canvas(QImage *target);
    ~Canvas();
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    // The picture drawn on; pass nullptr to detach (for example before resizing it).
    void setTarget(QImage *target);
    QImage *target() const { return img; }
    int width() const { return img ? img->width() : 0; }
    int height() const { return img ? img->height() : 0; }

    Pen pen;
    Brush brush;
    QFont font;
    TColor fontColor = clBlack;
    CopyMode copyMode = CopyMode::SrcCopy;

    QPoint PenPos() const { return penPos; }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Line(int x1, int y1, int x2, int y2) { MoveTo(x1, y1); LineTo(x2, y2); }
    void Polyline(const QVector<QPoint> &points);
    void Polygon(const QVector<QPoint> &points);

    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const QRect &r) { Rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1); }
    void FillRect(int x1, int y1, int x2, int y2);
    // Classic rectangle given by its left, top, right and bottom (right and bottom excluded).
    void FillRect(const QRect &r) { FillRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1); }
    void FrameRect(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor c);

    void TextOut(int x, int y, const QString &text);
    int TextWidth(const QString &text) const;
    int TextHeight(const QString &text) const;

    // Copies srcRect of src into destRect (scaled when the sizes differ), with copyMode.
    void CopyRect(const QRect &destRect, const QImage &src, const QRect &srcRect);
    // Copies srcRect of src to `to`, unscaled, but only the pixels that differ from what is
    // already there: what the window repaints afterwards is the box round them, not the whole
    // rectangle. Returns that box (in this picture).
    QRect CopyDiffering(const QPoint &to, const QImage &src, const QRect &srcRect);
    // Draws the whole picture with its top-left corner at (x, y).
    void Draw(int x, int y, const QImage &src);

    // Ends the painter so the target can be resized or replaced. Drawing writes straight
    // into the picture, so it can be copied or read at any time without this.
    void flush();

    // Whether anything was drawn since the last ClearChanged(), and the box round all of it
    // (within the picture; the whole picture after a new target): the window base repaints
    // nothing after a tick that drew nothing, and only that box after one that drew.
    bool Changed() const { return changed; }
    QRect ChangedRect() const { return img ? changedBox & img->rect() : QRect(); }
    void ClearChanged()
    {
        changed = false;
        changedBox = QRect();
    }

private:
    // The painter, for drawing that stays within `touched`.
    QPainter &painter(const QRect &touched);
    void Touch(const QRect &r)
    {
        changed = true;
        changedBox |= r;
    }
    // A box widened by the pen's reach.
    QRect Reach(const QRect &r) const;
    void ThinLine(QPoint a, QPoint b);
    void flushForPixels(const QRect &touched);
    void applyPen(QPainter &p) const;
    void applyBrush(QPainter &p) const;
    QPainterPath arcPath(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, bool pie) const;

    QImage *img = nullptr;
    std::unique_ptr<QPainter> p;
    QPoint penPos;
    bool changed = false;
    QRect changedBox;
};

// Classic rectangle constructor: left, top, right, bottom (right and bottom excluded).
inline QRect Rect(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// The picture under a moving object, kept so the object can be taken off again: Save
// copies the rectangle of the picture the object is about to cover (black where the
// rectangle leaves the picture), Restore puts it back where it was taken, through the
// canvas that draws on that picture.
class SavedRect
{
public:
    SavedRect() = default;
    // Room for rectangles up to width x height.
    SavedRect(int width, int height) { Resize(width, height); }
    void Resize(int width, int height);
    void Save(const QImage &picture, const QRect &r);
    void Restore(Canvas &picture) const;
    void Clear();
    const QRect &Rect() const { return rect; }
    const QImage &Patch() const { return patch; }
    bool IsNull() const { return patch.isNull(); }

private:
    QImage patch;
    QRect rect;
};
