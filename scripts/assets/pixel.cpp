// Pixel-art helpers, colour reduction and saving.
#include "pixel.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

const Palette &basePalette()
{
    static const Palette pal = {
        {'k', QColor(0, 0, 0)},       {'w', QColor(255, 255, 255)}, {'r', QColor(255, 0, 0)},
        {'R', QColor(128, 0, 0)},     {'y', QColor(255, 255, 0)},   {'Y', QColor(128, 128, 0)},
        {'g', QColor(0, 255, 0)},     {'G', QColor(0, 128, 0)},     {'b', QColor(0, 0, 255)},
        {'B', QColor(0, 0, 128)},     {'c', QColor(0, 255, 255)},   {'C', QColor(0, 128, 128)},
        {'m', QColor(255, 0, 255)},   {'M', QColor(128, 0, 128)},   {'s', QColor(192, 192, 192)},
        {'S', QColor(128, 128, 128)}, {'d', QColor(64, 64, 64)},    {'o', QColor(255, 160, 0)},
        {'p', QColor(255, 150, 170)}, {'n', QColor(150, 90, 40)},   {'t', QColor(235, 200, 140)},
        {'l', QColor(130, 170, 255)}, {'e', QColor(224, 224, 224)}, {'h', QColor(255, 220, 150)},
    };
    return pal;
}

Canvas::Canvas(int w, int h) : img(w, h, QImage::Format_ARGB32)
{
    img.fill(Qt::transparent);
}

void Canvas::px(int x, int y, const QColor &c)
{
    if (x >= 0 && y >= 0 && x < img.width() && y < img.height())
        img.setPixelColor(x, y, c);
}

void Canvas::grid(int x0, int y0, std::initializer_list<const char *> rows, const Palette &extra)
{
    int y = y0;
    for (const char *row : rows) {
        int x = x0;
        for (const char *p = row; *p; ++p, ++x) {
            if (*p == '.' || *p == ' ')
                continue;
            auto it = extra.find(*p);
            if (it != extra.end()) {
                px(x, y, it->second);
                continue;
            }
            auto jt = basePalette().find(*p);
            if (jt == basePalette().end()) {
                std::fprintf(stderr, "unknown colour '%c'\n", *p);
                std::exit(2);
            }
            px(x, y, jt->second);
        }
        ++y;
    }
}

void Canvas::line(int x0, int y0, int x1, int y1, const QColor &c)
{
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        px(x0, y0, c);
        if (x0 == x1 && y0 == y1)
            break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::fill(int x, int y, int w, int h, const QColor &c)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            px(i, j, c);
}

void Canvas::frame(int x, int y, int w, int h, const QColor &c)
{
    line(x, y, x + w - 1, y, c);
    line(x, y + h - 1, x + w - 1, y + h - 1, c);
    line(x, y, x, y + h - 1, c);
    line(x + w - 1, y, x + w - 1, y + h - 1, c);
}

void Canvas::curve(const std::function<QPointF(double)> &p, double t0, double t1, const QColor &c,
                   int thick)
{
    // Sample densely, round to pixel centres and join consecutive pixels with
    // straight steps, which gives an 8-connected line one pixel wide.
    const int n = 4000;
    QPoint last = p(t0).toPoint();
    auto stamp = [&](int x, int y) {
        for (int a = 0; a < thick; ++a)
            for (int b = 0; b < thick; ++b)
                px(x + a, y + b, c);
    };
    stamp(last.x(), last.y());
    for (int i = 1; i <= n; ++i) {
        QPointF q = p(t0 + (t1 - t0) * i / n);
        QPoint r(int(std::floor(q.x())), int(std::floor(q.y())));
        if (r == last)
            continue;
        // Step one pixel at a time towards r.
        while (r != last) {
            last.rx() += (r.x() > last.x()) - (r.x() < last.x());
            last.ry() += (r.y() > last.y()) - (r.y() < last.y());
            stamp(last.x(), last.y());
        }
    }
}

void Canvas::polygon(std::initializer_list<QPoint> pts, const QColor &fillC, const QColor &outline)
{
    QPolygon poly;
    for (const QPoint &p : pts)
        poly << p;
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing, false);
    if (fillC.isValid()) {
        // Fill and an outline of the same colour so that the edge pixels are included.
        g.setPen(QPen(fillC, 0));
        g.setBrush(fillC);
        g.drawPolygon(poly);
    }
    if (outline.isValid()) {
        g.setPen(QPen(outline, 0));
        g.setBrush(Qt::NoBrush);
        g.drawPolygon(poly);
    }
}

void Canvas::ellipse(int x, int y, int w, int h, const QColor &fillC, const QColor &outline)
{
    // Pixel-centre test against the ellipse; the outline is the set of inside
    // pixels with a 4-neighbour outside.
    const double cx = x + w / 2.0, cy = y + h / 2.0, rx = w / 2.0, ry = h / 2.0;
    auto inside = [&](int i, int j) {
        double u = (i + 0.5 - cx) / rx, v = (j + 0.5 - cy) / ry;
        return u * u + v * v <= 1.0 + 0.15 / std::max(rx, ry);
    };
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            if (!inside(i, j))
                continue;
            bool edge = !inside(i - 1, j) || !inside(i + 1, j) || !inside(i, j - 1) || !inside(i, j + 1);
            if (edge && outline.isValid())
                px(i, j, outline);
            else if (fillC.isValid())
                px(i, j, fillC);
        }
}

void Canvas::arrowHead(int x, int y, int dx, int dy, int size, const QColor &c)
{
    if (dx != 0 && dy != 0) {
        // Diagonal: a right-angled corner at the tip.
        for (int a = 0; a < size; ++a)
            for (int b = 0; a + b < size; ++b)
                px(x - dx * a, y - dy * b, c);
        return;
    }
    // Straight: rows of growing width behind the tip.
    for (int k = 0; k < size; ++k) {
        int bx = x - dx * k, by = y - dy * k;
        for (int s = -k; s <= k; ++s) {
            if (dx != 0)
                px(bx, by + s, c);
            else
                px(bx + s, by, c);
        }
    }
}

void paintOn(Canvas &cv, bool antialias, const std::function<void(QPainter &)> &fn)
{
    QPainter g(&cv.img);
    g.setRenderHint(QPainter::Antialiasing, antialias);
    fn(g);
}

QImage embossedGrey(const QImage &glyph)
{
    const int w = glyph.width(), h = glyph.height();
    std::vector<char> mask(size_t(w * h), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            QColor c = glyph.pixelColor(x, y);
            if (c.alpha() < 128)
                continue;
            int lum = (c.red() * 30 + c.green() * 59 + c.blue() * 11) / 100;
            mask[size_t(y * w + x)] = lum < 200;
        }
    QImage out(w, h, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (x > 0 && y > 0 && mask[size_t((y - 1) * w + x - 1)])
                out.setPixelColor(x, y, QColor(255, 255, 255));
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (mask[size_t(y * w + x)])
                out.setPixelColor(x, y, QColor(128, 128, 128));
    return out;
}

QImage strip(const std::vector<QImage> &pics)
{
    int w = 0, h = 0;
    for (const QImage &p : pics) {
        w += p.width();
        h = std::max(h, p.height());
    }
    QImage out(w, h, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter g(&out);
    g.setCompositionMode(QPainter::CompositionMode_Source);
    int x = 0;
    for (const QImage &p : pics) {
        g.drawImage(x, 0, p);
        x += p.width();
    }
    return out;
}

namespace {

struct Px {
    std::array<int, 3> c;
};

double dist2(const std::array<double, 3> &a, QRgb b)
{
    double dr = a[0] - qRed(b), dg = a[1] - qGreen(b), db = a[2] - qBlue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

} // namespace

QImage reduceColours(const QImage &src, int colours, const std::vector<QRgb> &fixed, bool dither)
{
    QImage img = src.convertToFormat(QImage::Format_RGB32);
    const int w = img.width(), h = img.height();
    auto isFixed = [&](QRgb c) {
        for (QRgb f : fixed)
            if ((f & 0xffffff) == (c & 0xffffff))
                return true;
        return false;
    };

    // Median cut over the pixels that are not fixed colours.
    std::vector<Px> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            QRgb c = img.pixel(x, y);
            if (!isFixed(c))
                pixels.push_back({{qRed(c), qGreen(c), qBlue(c)}});
        }
    struct Box {
        size_t begin, end;
    };
    std::vector<Box> boxes;
    if (!pixels.empty())
        boxes.push_back({0, pixels.size()});
    const int wanted = colours - int(fixed.size());
    auto boxInfo = [&](const Box &b, int &axis, int &range) {
        std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
        for (size_t i = b.begin; i < b.end; ++i)
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], pixels[i].c[k]);
                hi[k] = std::max(hi[k], pixels[i].c[k]);
            }
        axis = 0;
        range = -1;
        for (int k = 0; k < 3; ++k)
            if (hi[k] - lo[k] > range) {
                range = hi[k] - lo[k];
                axis = k;
            }
    };
    while (int(boxes.size()) < wanted) {
        int best = -1, bestAxis = 0;
        double bestScore = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            int axis, range;
            boxInfo(boxes[i], axis, range);
            double n = double(boxes[i].end - boxes[i].begin);
            double score = range * std::sqrt(n);
            if (range > 0 && n > 1 && score > bestScore) {
                bestScore = score;
                best = int(i);
                bestAxis = axis;
            }
        }
        if (best < 0)
            break;
        Box b = boxes[size_t(best)];
        size_t mid = (b.begin + b.end) / 2;
        std::nth_element(pixels.begin() + long(b.begin), pixels.begin() + long(mid),
                         pixels.begin() + long(b.end),
                         [&](const Px &p, const Px &q) { return p.c[size_t(bestAxis)] < q.c[size_t(bestAxis)]; });
        boxes[size_t(best)] = {b.begin, mid};
        boxes.push_back({mid, b.end});
    }
    QVector<QRgb> table;
    for (QRgb f : fixed)
        table.push_back(qRgb(qRed(f), qGreen(f), qBlue(f)));
    for (const Box &b : boxes) {
        std::array<double, 3> sum{0, 0, 0};
        for (size_t i = b.begin; i < b.end; ++i)
            for (int k = 0; k < 3; ++k)
                sum[k] += pixels[i].c[k];
        double n = double(b.end - b.begin);
        table.push_back(qRgb(int(std::lround(sum[0] / n)), int(std::lround(sum[1] / n)),
                             int(std::lround(sum[2] / n))));
    }

    // Mapping, with optional error diffusion; fixed colours map to themselves
    // and neither take nor pass on error.
    QImage out(w, h, QImage::Format_Indexed8);
    out.setColorTable(table);
    std::vector<std::array<double, 3>> err(size_t(w * h), {0, 0, 0});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            QRgb c = img.pixel(x, y);
            if (isFixed(c)) {
                for (int i = 0; i < table.size(); ++i)
                    if ((table[i] & 0xffffff) == (c & 0xffffff)) {
                        out.setPixel(x, y, uint(i));
                        break;
                    }
                continue;
            }
            std::array<double, 3> want{qRed(c) + err[size_t(y * w + x)][0],
                                       qGreen(c) + err[size_t(y * w + x)][1],
                                       qBlue(c) + err[size_t(y * w + x)][2]};
            for (double &v : want)
                v = std::clamp(v, 0.0, 255.0);
            int best = 0;
            double bd = 1e30;
            for (int i = int(fixed.size()); i < table.size(); ++i) {
                double d = dist2(want, table[i]);
                if (d < bd) {
                    bd = d;
                    best = i;
                }
            }
            if (table.size() == int(fixed.size()))
                best = 0;
            out.setPixel(x, y, uint(best));
            if (!dither)
                continue;
            std::array<double, 3> e{want[0] - qRed(table[best]), want[1] - qGreen(table[best]),
                                    want[2] - qBlue(table[best])};
            auto spread = [&](int dx, int dy, double f) {
                int nx = x + dx, ny = y + dy;
                if (nx < 0 || nx >= w || ny >= h)
                    return;
                if (isFixed(img.pixel(nx, ny)))
                    return;
                for (int k = 0; k < 3; ++k)
                    err[size_t(ny * w + nx)][size_t(k)] += e[size_t(k)] * f;
            };
            spread(1, 0, 7 / 16.0);
            spread(-1, 1, 3 / 16.0);
            spread(0, 1, 5 / 16.0);
            spread(1, 1, 1 / 16.0);
        }
    return out;
}

bool savePng(const QImage &img, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!img.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}
