// Glyph strips of the simulation windows' speed buttons: 16 x 16 pictures
// side by side, the normal picture followed by its disabled (embossed grey)
// look.
#include "assets.h"
#include "pixel.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;

const QColor Black(0, 0, 0), White(255, 255, 255), Red(255, 0, 0), Maroon(128, 0, 0),
    Yellow(255, 255, 0), Olive(128, 128, 0), Lime(0, 255, 0), Green(0, 128, 0), Blue(0, 0, 255),
    Navy(0, 0, 128), Aqua(0, 255, 255), Teal(0, 128, 128), Fuchsia(255, 0, 255), Purple(128, 0, 128),
    Silver(192, 192, 192), Gray(128, 128, 128), Dark(64, 64, 64), Brown(150, 90, 40);

// A shape given as rows of 'x', filled with `fillC` and ringed by `edge`
// (pixels outside the shape that touch it on a side).
void outlinedShape(Canvas &c, int x0, int y0, const std::vector<const char *> &rows, const QColor &fillC,
                   const QColor &edge)
{
    auto in = [&](int x, int y) {
        if (y < 0 || y >= int(rows.size()) || x < 0)
            return false;
        const char *r = rows[size_t(y)];
        for (int i = 0; i < x; ++i)
            if (!r[i])
                return false;
        return r[x] == 'x';
    };
    int h = int(rows.size());
    for (int y = -1; y <= h; ++y)
        for (int x = -1; x <= 16; ++x) {
            if (in(x, y))
                c.px(x0 + x, y0 + y, fillC);
            else if (in(x - 1, y) || in(x + 1, y) || in(x, y - 1) || in(x, y + 1))
                c.px(x0 + x, y0 + y, edge);
        }
}

// Letters 9 pixels high with two-pixel strokes.
const std::vector<const char *> &letter(char ch)
{
    static const std::vector<const char *> F = {"xxxxxxx", "xxxxxxx", "xx.....", "xx.....", "xxxxx..",
                                                "xxxxx..", "xx.....", "xx.....", "xx....."};
    static const std::vector<const char *> V = {"xx.....xx", "xx.....xx", "xx.....xx", ".xx...xx.", ".xx...xx.",
                                                "..xx.xx..", "..xx.xx..", "...xxx...", "....x...."};
    static const std::vector<const char *> A = {"..xxx..", ".xx.xx.", "xx...xx", "xx...xx", "xxxxxxx",
                                                "xxxxxxx", "xx...xx", "xx...xx", "xx...xx"};
    static const std::vector<const char *> t = {".xx..", ".xx..", "xxxxx", ".xx..", ".xx..",
                                                ".xx..", ".xx..", ".xx.x", "..xx."};
    static const std::vector<const char *> cc = {".....", ".....", ".....", ".xxxx", "xx...",
                                                 "xx...", "xx...", "xx...", ".xxxx"};
    static const std::vector<const char *> P = {"xxxxxx.", "xxxxxxx", "xx...xx", "xx...xx", "xxxxxxx",
                                                "xxxxxx.", "xx.....", "xx.....", "xx....."};
    switch (ch) {
    case 'F': return F;
    case 'V': return V;
    case 'A': return A;
    case 't': return t;
    case 'c': return cc;
    default: return P;
    }
}

// Draws a word with a one-pixel shadow to the lower right so light colours
// stay legible on the grey button face.
void word(Canvas &c, int x, int y, const char *text, const QColor &col, const QColor &shadow)
{
    for (int pass = 0; pass < 2; ++pass) {
        int cx = x;
        for (const char *p = text; *p; ++p) {
            const auto &rows = letter(*p);
            for (size_t j = 0; j < rows.size(); ++j)
                for (int i = 0; rows[j][i]; ++i)
                    if (rows[j][i] == 'x')
                        c.px(cx + i + (pass == 0), y + int(j) + (pass == 0), pass == 0 ? shadow : col);
            cx += int(std::strlen(rows[0])) + 1;
        }
    }
}

// The force buttons: a black arrow over a coloured word.
void forceGlyph(Canvas &c, const char *text, const QColor &col, const QColor &shadow)
{
    c.fill(2, 2, 10, 2, Black);
    c.polygon({{15, 2}, {15, 3}, {12, 0}, {12, 5}}, Black);
    int w = 0;
    for (const char *p = text; *p; ++p)
        w += int(std::strlen(letter(*p)[0])) + 1;
    word(c, (16 - (w - 1)) / 2, 6, text, col, shadow);
}

void arc(Canvas &c, double cx, double cy, double rx, double ry, double a0, double a1, const QColor &col,
         int thick = 1)
{
    c.curve([&](double t) { return QPointF(cx + rx * std::cos(t), cy - ry * std::sin(t)); }, a0, a1, col,
            thick);
}

void page(Canvas &c, const QColor &lines)
{
    c.polygon({{2, 0}, {10, 0}, {13, 3}, {13, 15}, {2, 15}}, White, Black);
    c.line(10, 0, 10, 3, Black);
    c.line(10, 3, 13, 3, Black);
    const int len[] = {5, 7, 6, 7, 4, 6};
    for (int k = 0; k < 6; ++k)
        c.line(4, 3 + 2 * k, 4 + len[k] - (k == 0 ? 1 : 0), 3 + 2 * k, lines);
}

// A hand with the index finger up; the other hands are drawn from it.
void pointingHand(Canvas &c)
{
    c.grid(0, 0, {
                     "......kk........",
                     ".....kyyk.......",
                     ".....kyyk.......",
                     ".....kyyk.......",
                     ".....kyykkk.....",
                     ".....kyykyykkk..",
                     ".....kyykyykyykk",
                     ".kkk.kyykyykyyk.",
                     ".kyykkyyyyyyyyk.",
                     "..kyyyyyyyyyyyk.",
                     "...kyyyyyyyyyyk.",
                     "...kyyyyyyyyyk..",
                     "....kyyyyyyyyk..",
                     ".....kyyyyyyk...",
                     ".....kyyyyyyk...",
                     ".....kkkkkkkk...",
                 },
           {{'y', QColor(255, 230, 120)}});
}

void circularArrows(Canvas &c, const QColor &col)
{
    arc(c, 7.5, 7.5, 6.0, 6.0, Pi * 0.25, Pi * 0.95, col, 2);
    c.polygon({{0, 5}, {6, 5}, {3, 10}}, col);
    arc(c, 7.5, 7.5, 6.0, 6.0, Pi * 1.25, Pi * 1.95, col, 2);
    c.polygon({{15, 10}, {9, 10}, {12, 5}}, col);
}

void turnArrow(Canvas &c, const QColor &col, const QColor &dark, bool clockwise)
{
    Canvas t;
    arc(t, 7.5, 8.5, 5.5, 5.5, 80 * Pi / 180, 372 * Pi / 180, col, 2);
    t.polygon({{13, 1}, {9, 5}, {16, 5}}, col, dark);
    t.fill(7, 8, 2, 2, Black);
    c.img = clockwise ? t.img.mirrored(true, false) : t.img;
}

void stand(Canvas &c, double angleDeg, const std::vector<QColor> &weights)
{
    const double a = angleDeg * Pi / 180, ca = std::cos(a), sa = std::sin(a);
    const QPointF pivot(7, 15);
    auto rot = [&](double x, double y) {
        double dx = x - pivot.x(), dy = y - pivot.y();
        return QPoint(int(std::lround(pivot.x() + dx * ca - dy * sa)), int(std::lround(pivot.y() + dx * sa + dy * ca)));
    };
    auto box = [&](double x0, double y0, double x1, double y1, const QColor &col) {
        c.polygon({rot(x0, y0), rot(x1, y0), rot(x1, y1), rot(x0, y1)}, col);
    };
    box(1, 14, 13.6, 15.6, Brown);
    box(2, 2, 3.6, 14, Gray);
    box(2, 1, 11.6, 2.6, Gray);
    const double hooks[] = {6, 10.5};
    for (size_t k = 0; k < weights.size() && k < 2; ++k) {
        QPoint p = rot(hooks[k], 3);
        int len = 3 + int(k % 2) * 3;
        c.line(p.x(), p.y(), p.x(), p.y() + len, Black);
        c.fill(p.x() - 1, p.y() + len + 1, 3, 3, weights[k]);
    }
}

using GlyphPainter = std::function<void(Canvas &)>;

struct GlyphDef {
    const char *name;
    int pictures; // 1: the glyph only; 2: the glyph and its disabled look
    GlyphPainter paint;
};

std::vector<GlyphDef> glyphDefs()
{
    return {
        {"pagelines", 2, [](Canvas &c) { page(c, Red); }},
        {"rotaxis", 2,
         [](Canvas &c) {
             arc(c, 7.5, 8, 6.5, 3.5, Pi * 0.15, Pi * 0.85, Navy);
             c.fill(7, 0, 2, 16, Black);
             arc(c, 7.5, 8, 6.5, 3.5, Pi * 1.15, Pi * 1.85, Blue);
             c.polygon({{14, 6}, {11, 9}, {15, 10}}, Blue);
             c.polygon({{1, 10}, {4, 7}, {0, 6}}, Navy);
         }},
        {"turn_anticlockwise", 2, [](Canvas &c) { turnArrow(c, Blue, Navy, false); }},
        {"turn_clockwise", 2, [](Canvas &c) { turnArrow(c, Red, Maroon, true); }},
        {"figure_trail", 2,
         [](Canvas &c) {
             for (int k = 0; k < 5; ++k) {
                 double t = k / 5.0;
                 c.px(int(std::lround(1 + 8 * t)), int(std::lround(2 + 9 * t * t)), Black);
             }
             c.grid(9, 5, {
                              "..rr..",
                              "..rr..",
                              ".rrrr.",
                              "r.rr.r",
                              "r.rr.r",
                              "..rr..",
                              ".r..r.",
                              ".r..r.",
                              "rr..rr",
                          });
         }},
        {"arrows_out", 2,
         [](Canvas &c) {
             c.polygon({{7, 0}, {8, 0}, {11, 3}, {4, 3}}, Red);
             c.fill(7, 4, 2, 3, Red);
             c.polygon({{7, 15}, {8, 15}, {11, 12}, {4, 12}}, Red);
             c.fill(7, 9, 2, 3, Red);
             c.polygon({{0, 7}, {0, 8}, {3, 11}, {3, 4}}, Blue);
             c.fill(4, 7, 3, 2, Blue);
             c.polygon({{15, 7}, {15, 8}, {12, 11}, {12, 4}}, Blue);
             c.fill(9, 7, 3, 2, Blue);
         }},
        {"arrows_in", 2,
         [](Canvas &c) {
             c.fill(7, 0, 2, 3, Red);
             c.polygon({{4, 3}, {11, 3}, {8, 6}, {7, 6}}, Red);
             c.fill(7, 13, 2, 3, Red);
             c.polygon({{4, 12}, {11, 12}, {8, 9}, {7, 9}}, Red);
             c.fill(0, 7, 3, 2, Blue);
             c.polygon({{3, 4}, {3, 11}, {6, 8}, {6, 7}}, Blue);
             c.fill(13, 7, 3, 2, Blue);
             c.polygon({{12, 4}, {12, 11}, {9, 8}, {9, 7}}, Blue);
         }},
        {"viewpoint", 2,
         [](Canvas &c) {
             const std::vector<const char *> figure = {"..xx..", ".xxxx.", ".xxxx.", "..xx..", ".xxxx.",
                                                       "xxxxxx", "xxxxxx", "x.xx.x", "x.xx.x", "..xx..",
                                                       ".x..x.", ".x..x.", ".x..x."};
             outlinedShape(c, 1, 1, figure, Blue, Navy);
             outlinedShape(c, 9, 1, figure, White, Black);
         }},
        {"stand_upright", 2, [](Canvas &c) { stand(c, 0, {Dark, Dark}); }},
        {"stand_tilted", 2, [](Canvas &c) { stand(c, 12, {Red, Blue}); }},
        {"orbits", 2,
         [](Canvas &c) {
             c.ellipse(0, 3, 16, 10, QColor(), Blue);
             c.ellipse(4, 5, 8, 6, QColor(), Blue);
         }},
        {"tide_attraction", 2,
         [](Canvas &c) {
             for (int x = 1; x < 16; x += 3)
                 c.fill(x, 12, 2, 2, Black);
             c.fill(1, 6, 10, 2, Red);
             c.polygon({{15, 6}, {15, 7}, {11, 3}, {11, 10}}, Red);
         }},
        {"tide_centrifugal", 2,
         [](Canvas &c) {
             for (int k = 0; k < 6; ++k) {
                 double a = Pi + k * 0.25;
                 c.fill(int(std::lround(13 + 11 * std::cos(a))), int(std::lround(2 - 11 * std::sin(a))), 2, 2,
                        Blue);
             }
             c.polygon({{14, 13}, {8, 11}, {12, 8}}, Navy);
         }},
        {"tide_resultant", 2,
         [](Canvas &c) {
             c.curve([](double t) { return QPointF(2 + 9 * t, 12.5 - 1.8 * t); }, 0, 1, Olive, 2);
             c.polygon({{15, 10}, {10, 7}, {11, 13}}, Olive);
             c.curve([](double t) { return QPointF(2 + 5.5 * t, 12.5 - 8.5 * t); }, 0, 1, Red, 2);
             c.polygon({{9, 0}, {5, 4}, {10, 5}}, Red);
             c.fill(1, 12, 3, 3, Black);
         }},
        {"letter_v", 2, [](Canvas &c) {
             c.curve([](double t) { return QPointF(2 + 5 * t, 2 + 11 * t); }, 0, 1, Black, 2);
             c.curve([](double t) { return QPointF(13 - 5 * t, 2 + 11 * t); }, 0, 1, Black, 2);
             c.fill(1, 2, 3, 1, Black);
             c.fill(12, 2, 3, 1, Black);
         }},
        {"enter_key", 2,
         [](Canvas &c) {
             c.fill(12, 2, 2, 8, Black);
             c.fill(5, 8, 9, 2, Black);
             c.polygon({{1, 8}, {1, 9}, {5, 5}, {5, 12}}, Black);
         }},
        {"force_F", 2, [](Canvas &c) { forceGlyph(c, "F", Red, Maroon); }},
        {"force_V", 2, [](Canvas &c) { forceGlyph(c, "V", Green, QColor(0, 60, 0)); }},
        {"force_At", 2, [](Canvas &c) { forceGlyph(c, "At", Fuchsia, Purple); }},
        {"force_Ac", 2, [](Canvas &c) { forceGlyph(c, "Ac", Aqua, Teal); }},
        {"letter_P", 1,
         [](Canvas &c) {
             c.fill(3, 2, 3, 12, Black);
             c.fill(3, 2, 7, 2, Black);
             c.fill(3, 8, 7, 2, Black);
             c.fill(10, 3, 2, 6, Black);
             c.px(9, 4, Black);
             c.px(9, 7, Black);
             c.fill(2, 13, 5, 1, Black);
         }},
        {"square_side", 2,
         [](Canvas &c) {
             c.fill(1, 4, 9, 9, Blue);
             c.frame(1, 4, 9, 9, Navy);
             c.fill(13, 8, 3, 1, Red);
             c.polygon({{11, 8}, {14, 5}, {14, 11}}, Red);
         }},
        {"square_top", 2,
         [](Canvas &c) {
             c.fill(3, 7, 10, 9, Blue);
             c.frame(3, 7, 10, 9, Navy);
             c.fill(7, 0, 2, 3, Red);
             c.polygon({{4, 3}, {11, 3}, {8, 6}, {7, 6}}, Red);
         }},
        {"page_hand", 2,
         [](Canvas &c) {
             c.polygon({{0, 0}, {8, 0}, {11, 3}, {11, 15}, {0, 15}}, White, Black);
             c.line(8, 0, 8, 3, Black);
             c.line(8, 3, 11, 3, Black);
             for (int k = 0; k < 5; ++k)
                 c.line(2, 3 + 2 * k, 6 + (k % 2), 3 + 2 * k, Gray);
             c.grid(6, 5, {
                              "..kk......",
                              ".kyyk.....",
                              ".kyyk.....",
                              ".kyykkkk..",
                              "kkyykyykk.",
                              "kyyyyyyyyk",
                              "kyyyyyyyyk",
                              ".kyyyyyyyk",
                              "..kyyyyyk.",
                              "...kkkkkk.",
                          });
         }},
        {"hand_away", 2, [](Canvas &c) { pointingHand(c); }},
        {"hand_open", 2,
         [](Canvas &c) {
             c.grid(0, 0, {
                              ".........kk.....",
                              "......kkkyyk....",
                              ".....kyykyykkk..",
                              "...kkkyykyykyyk.",
                              "..kyykyykyykyyk.",
                              "..kyykyykyykyyk.",
                              "k.kyykyykyykyyk.",
                              "kykyykyykyykyyk.",
                              "kyyyyyyyyyyyyyk.",
                              ".kyyyyyyyyyyyyk.",
                              "..kyyyyyyyyyyyk.",
                              "..kyyyyyyyyyyk..",
                              "...kyyyyyyyyyk..",
                              "....kyyyyyyyk...",
                              "....kyyyyyyyk...",
                              "....kkkkkkkkk...",
                          },
                    {{'y', QColor(255, 230, 120)}});
         }},
        {"hand_towards", 2,
         [](Canvas &c) {
             Canvas up;
             pointingHand(up);
             c.img = up.img.mirrored(false, true);
         }},
        {"restart", 2, [](Canvas &c) { circularArrows(c, Green); }},
        {"axes_arrows", 2,
         [](Canvas &c) {
             c.fill(3, 2, 2, 11, Blue);
             c.fill(3, 11, 11, 2, Blue);
             c.polygon({{3, 0}, {4, 0}, {7, 3}, {0, 3}}, Blue);
             c.polygon({{15, 11}, {15, 12}, {12, 15}, {12, 8}}, Blue);
         }},
        {"spring_blue", 2,
         [](Canvas &c) {
             // Three turns of a coil seen from the side: the front of every
             // turn slants down to the right (blue, thick), the back slants
             // down to the left (navy, thin); short end wires.
             for (int k = 0; k < 3; ++k) {
                 int y = 2 + 4 * k;
                 c.line(12, y + 2, 3, y + 4, Navy);
             }
             for (int k = 0; k < 3; ++k) {
                 int y = 2 + 4 * k;
                 c.line(3, y, 12, y + 2, Blue);
                 c.line(3, y + 1, 12, y + 3, Blue);
             }
             c.fill(7, 0, 2, 1, Navy);
             c.line(7, 1, 3, 2, Navy);
             c.line(3, 14, 7, 15, Navy);
             c.fill(8, 15, 1, 1, Navy);
         }},
    };
}

} // namespace

bool drawGlyphs(const QString &outDir)
{
    bool ok = true;
    for (const GlyphDef &g : glyphDefs()) {
        Canvas c;
        g.paint(c);
        std::vector<QImage> pics = {c.img};
        if (g.pictures > 1)
            pics.push_back(embossedGrey(c.img));
        ok = savePng(strip(pics), QString("%1/glyphs/%2.png").arg(outDir, g.name)) && ok;
    }
    return ok;
}
