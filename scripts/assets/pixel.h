// Small helpers for drawing pixel art and saving pictures.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <functional>
#include <initializer_list>
#include <map>
#include <vector>

using Palette = std::map<char, QColor>;

// The common palette used by the pixel-art grids ('.' is transparent).
const Palette &basePalette();

// A small transparent ARGB picture with pixel-level drawing operations.
// Nothing here is antialiased unless a function says so.
struct Canvas {
    QImage img;
    explicit Canvas(int w = 16, int h = 16);

    void px(int x, int y, const QColor &c);
    // Rows of characters, each one pixel; characters are looked up first in
    // extra, then in the base palette. '.' and ' ' leave the pixel alone.
    void grid(int x0, int y0, std::initializer_list<const char *> rows, const Palette &extra = {});
    void line(int x0, int y0, int x1, int y1, const QColor &c);
    void fill(int x, int y, int w, int h, const QColor &c);
    void frame(int x, int y, int w, int h, const QColor &c);
    // Plots a parametric curve p(t), t in [t0, t1], as single pixels.
    void curve(const std::function<QPointF(double)> &p, double t0, double t1, const QColor &c,
               int thick = 1);
    // Filled polygon (no antialiasing); outline drawn on top if valid.
    void polygon(std::initializer_list<QPoint> pts, const QColor &fillC, const QColor &outline = QColor());
    // Ellipse inside the pixel rectangle [x, x+w) x [y, y+h); filled and/or outlined.
    void ellipse(int x, int y, int w, int h, const QColor &fillC, const QColor &outline = QColor());
    // Arrow head with its tip at (x, y), pointing in direction (dx, dy) (unit steps),
    // `size` pixels long, filled.
    void arrowHead(int x, int y, int dx, int dy, int size, const QColor &c);
};

// Draws with a QPainter on the canvas, antialiased or not.
void paintOn(Canvas &cv, bool antialias, const std::function<void(QPainter &)> &fn);

// The classic disabled look: dark pixels of the picture become a grey shape
// with a white copy one pixel down and to the right.
QImage embossedGrey(const QImage &glyph);

// Joins pictures side by side.
QImage strip(const std::vector<QImage> &pics);

// Reduces a picture to at most `colours` colours (median cut); `fixed` colours
// are kept exactly. With `dither`, Floyd-Steinberg error diffusion is used.
QImage reduceColours(const QImage &img, int colours, const std::vector<QRgb> &fixed, bool dither);

bool savePng(const QImage &img, const QString &path);
