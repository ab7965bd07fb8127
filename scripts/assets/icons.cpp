// The 40 icons of the main window's image list, 16 x 16 each, transparent
// background, drawn pixel by pixel.
#include "assets.h"
#include "pixel.h"

#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;

const QColor Black(0, 0, 0), White(255, 255, 255), Red(255, 0, 0), Maroon(128, 0, 0),
    Yellow(255, 255, 0), Olive(128, 128, 0), Lime(0, 255, 0), Green(0, 128, 0), Blue(0, 0, 255),
    Navy(0, 0, 128), Aqua(0, 255, 255), Teal(0, 128, 128), Silver(192, 192, 192), Gray(128, 128, 128),
    Dark(64, 64, 64), Orange(255, 160, 0), Gold(255, 204, 0);

// A flat flag in the rows 2..13 with a thin grey frame.
void flagFrame(Canvas &c) { c.frame(0, 2, 16, 12, Gray); }

void verticalTricolour(Canvas &c, const QColor &a, const QColor &b, const QColor &d)
{
    c.fill(1, 3, 5, 10, a);
    c.fill(6, 3, 4, 10, b);
    c.fill(10, 3, 5, 10, d);
    flagFrame(c);
}

// A tricolour waving on a pole: the stripes follow a sine so the cloth ripples.
void wavingTricolour(Canvas &c, const QColor &a, const QColor &b, const QColor &d)
{
    c.fill(1, 0, 1, 16, Dark);       // pole
    c.px(1, 0, Gold);
    for (int x = 2; x < 15; ++x) {
        int off = int(std::lround(1.2 * std::sin((x - 2) * 2 * Pi / 11.0)));
        QColor col = x < 6 ? a : (x < 11 ? b : d);
        for (int y = 1; y < 10; ++y)
            c.px(x, y + off + 1, col);
        c.px(x, 1 + off, Gray);      // top edge
        c.px(x, 11 + off, Gray);     // bottom edge
    }
    for (int y = 2; y < 11; ++y)
        c.px(15, y + int(std::lround(1.2 * std::sin(13 * 2 * Pi / 11.0))), Gray);
}

void arc(Canvas &c, double cx, double cy, double r, double a0, double a1, const QColor &col, int thick = 1)
{
    c.curve([&](double t) { return QPointF(cx + r * std::cos(t), cy - r * std::sin(t)); }, a0, a1, col, thick);
}

std::vector<std::function<void(Canvas &)>> iconPainters()
{
    return {
        // 0: axes with a rising curve (graph)
        [](Canvas &c) {
            c.line(2, 1, 2, 14, Black);
            c.line(1, 13, 14, 13, Black);
            c.arrowHead(2, 0, 0, -1, 2, Black);
            c.arrowHead(15, 13, 1, 0, 2, Black);
            c.curve([](double t) { return QPointF(3 + t * 11, 12.5 - 10.5 * t * t); }, 0, 1, Red);
            c.curve([](double t) { return QPointF(3 + t * 11, 11.5 - 10.5 * t * t); }, 0.15, 1, Red);
        },
        // 1: pencil on a ruler
        [](Canvas &c) {
            c.fill(0, 11, 16, 5, QColor(250, 230, 140));
            c.frame(0, 11, 16, 5, Black);
            for (int x = 2; x < 15; x += 2)
                c.line(x, 12, x, x % 4 == 0 ? 13 : 12, Black);
            // Pencil along x + y = 15, tip at the lower left.
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    int s = x + y, u = x - y;
                    if (u < -5 || u > 14 || std::abs(s - 15) > 1)
                        continue;
                    QColor col;
                    if (u <= -4)
                        col = s == 15 ? Black : QColor();
                    else if (u <= -2)
                        col = s == 15 ? QColor(230, 190, 130) : (u == -2 ? QColor(200, 160, 100) : QColor());
                    else if (u <= 9)
                        col = s == 14 ? Gold : (s == 15 ? Yellow : Orange);
                    else if (u <= 11)
                        col = Silver;
                    else
                        col = QColor(240, 120, 140);
                    if (col.isValid())
                        c.px(x, y, col);
                }
        },
        // 2: traffic light
        [](Canvas &c) {
            c.fill(4, 0, 8, 16, Dark);
            c.frame(4, 0, 8, 16, Black);
            auto lamp = [&](int y, const QColor &col) {
                c.grid(6, y, {".xx.", "xxxx", "xxxx", ".xx."}, {{'x', col}});
                c.px(6 + 1, y + 1, White);
            };
            lamp(1, Red);
            lamp(6, Yellow);
            lamp(11, Lime);
        },
        // 3: two arrows pointing at a blue diamond
        [](Canvas &c) {
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    int d = std::abs(x - 8) + std::abs(y - 8);
                    if (d <= 4)
                        c.px(x, y, d == 4 ? Navy : Blue);
                }
            c.px(7, 6, QColor(120, 150, 255));
            c.line(0, 8, 2, 8, Red);
            c.arrowHead(3, 8, 1, 0, 3, Red);
            c.line(13, 8, 15, 8, Red);
            c.arrowHead(13, 8, -1, 0, 3, Red);
        },
        // 4: small red figure over a dotted line
        [](Canvas &c) {
            c.grid(0, 1, {
                              ".......rr.......",
                              "......rrrr......",
                              ".......rr.......",
                              ".....rrrrrr.....",
                              "....r.rrrr.r....",
                              "....r.rrrr.r....",
                              "......rrrr......",
                              "......r..r......",
                              "......r..r......",
                              ".....rr..rr.....",
                          });
            for (int x = 0; x < 16; x += 2)
                c.px(x, 13, Black);
        },
        // 5: blue coil with a yellow bar
        [](Canvas &c) {
            for (int k = 0; k < 4; ++k)
                c.line(4 + 3 * k, 3, 5 + 3 * k, 12, Navy);
            c.fill(0, 6, 16, 4, Yellow);
            c.line(0, 6, 15, 6, Olive);
            c.line(0, 9, 15, 9, Olive);
            for (int k = 0; k < 4; ++k) {
                c.line(2 + 3 * k, 12, 4 + 3 * k, 3, Blue);
                c.line(3 + 3 * k, 12, 5 + 3 * k, 3, Blue);
            }
        },
        // 6: ellipse crossed by an axis with a turning arrow
        [](Canvas &c) {
            c.ellipse(1, 7, 14, 6, QColor(), Blue);
            c.line(8, 0, 8, 15, Black);
            // Front part of the ellipse over the axis.
            c.px(8, 12, Blue);
            c.px(7, 12, Blue);
            // Turning arrow round the top of the axis.
            c.curve([](double t) { return QPointF(8 + 4.5 * std::cos(t), 3.5 - 1.8 * std::sin(t)); },
                    Pi * 1.05, Pi * 1.9, Red);
            c.arrowHead(13, 3, 1, -1, 3, Red);
        },
        // 7: red book with a question mark
        [](Canvas &c) {
            c.fill(4, 2, 10, 13, White);
            c.frame(4, 2, 10, 13, Gray);
            c.fill(2, 1, 10, 13, Red);
            c.frame(2, 1, 10, 13, Maroon);
            c.line(3, 1, 3, 13, Maroon);
            c.grid(5, 3, {
                              ".yyy.",
                              "yy.yy",
                              "...yy",
                              "..yy.",
                              "..yy.",
                              ".....",
                              "..yy.",
                              "..yy.",
                          });
        },
        // 8: arrow turning back to the left
        [](Canvas &c) {
            arc(c, 8.5, 9.0, 5.0, -Pi / 2, Pi * 0.62, Navy, 2);
            c.line(4, 14, 8, 14, Navy);
            c.line(4, 15, 8, 15, Navy);
            c.polygon({{0, 6}, {6, 1}, {6, 10}}, Blue, Navy);
        },
        // 9: arrow turning forward to the right
        [](Canvas &c) {
            arc(c, 6.5, 9.0, 5.0, Pi * 0.38, Pi * 1.5, Navy, 2);
            c.line(7, 14, 11, 14, Navy);
            c.line(7, 15, 11, 15, Navy);
            c.polygon({{15, 6}, {9, 1}, {9, 10}}, Blue, Navy);
        },
        // 10: blue double ring
        [](Canvas &c) {
            c.ellipse(0, 0, 16, 16, QColor(), Blue);
            c.ellipse(1, 1, 14, 14, QColor(), Navy);
            c.ellipse(4, 4, 8, 8, QColor(), Blue);
            c.ellipse(5, 5, 6, 6, QColor(), Navy);
        },
        // 11: blue star of rays
        [](Canvas &c) {
            for (int k = 0; k < 16; ++k) {
                double a = k * Pi / 8;
                double r = k % 2 ? 5.0 : 7.4;
                c.line(8, 8, int(std::lround(8 + r * std::cos(a))), int(std::lround(8 - r * std::sin(a))),
                       k % 2 ? QColor(80, 120, 255) : Blue);
            }
            c.fill(7, 7, 3, 3, Navy);
        },
        // 12: blue sine wave
        [](Canvas &c) {
            c.line(0, 8, 15, 8, Silver);
            c.curve([](double t) { return QPointF(t, 7.5 - 5.5 * std::sin(t * 2 * Pi / 14.0)); }, 0, 15, Blue, 2);
        },
        // 13: pendulum on a stand
        [](Canvas &c) {
            c.fill(1, 14, 14, 2, QColor(150, 90, 40));
            c.fill(2, 1, 2, 13, Gray);
            c.fill(2, 1, 11, 2, Gray);
            c.line(2, 1, 12, 1, Silver);
            c.line(10, 3, 12, 10, Black);
            c.ellipse(10, 10, 5, 5, Red, Maroon);
            c.px(11, 11, QColor(255, 160, 160));
        },
        // 14: ball on a dotted circular path
        [](Canvas &c) {
            for (int k = 0; k < 20; ++k) {
                double a = k * 2 * Pi / 20;
                c.px(int(std::lround(7.5 + 6.5 * std::cos(a))), int(std::lround(7.5 - 6.5 * std::sin(a))), Black);
            }
            c.ellipse(9, 1, 5, 5, Red, Maroon);
            c.px(10, 2, White);
        },
        // 15: spinning top
        [](Canvas &c) {
            c.grid(0, 0, {
                              ".......kk.......",
                              ".......kk.......",
                              ".......kk.......",
                              ".....RRRRRR.....",
                              "...RrrrrrrrrR...",
                              "..RyyyyyyyyyyR..",
                              ".RrrrrrrrrrrrrR.",
                              "..RyyyyyyyyyyR..",
                              "...RrrrrrrrrR...",
                              "....RrrrrrrR....",
                              ".....RrrrrR.....",
                              "......RrrR......",
                              ".......RR.......",
                              ".......kk.......",
                              "................",
                              "....SSSSSSSS....",
                          });
        },
        // 16: ellipse with arrows along it
        [](Canvas &c) {
            c.ellipse(0, 3, 16, 10, QColor(), Blue);
            c.arrowHead(6, 3, -1, 0, 3, Red);
            c.arrowHead(10, 12, 1, 0, 3, Red);
        },
        // 17: Union flag (English)
        [](Canvas &c) {
            const int W = 14, H = 10;
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    double u = (x + 0.5) / W, v = (y + 0.5) / H;
                    double d1 = std::fabs(v - u) * H, d2 = std::fabs(v - (1 - u)) * H;
                    QColor col = Navy;
                    if (std::min(d1, d2) < 1.1)
                        col = White;
                    if (std::min(d1, d2) < 0.45)
                        col = Red;
                    if (std::fabs(x - 6.5) < 2.6 || std::fabs(y - 4.5) < 2.1)
                        col = White;
                    if (std::fabs(x - 6.5) < 1.1 || std::fabs(y - 4.5) < 1.1)
                        col = Red;
                    c.px(x + 1, y + 3, col);
                }
            flagFrame(c);
        },
        // 18: green-white-red flag (waving)
        [](Canvas &c) { wavingTricolour(c, Green, White, Red); },
        // 19: blue-white-red flag (waving)
        [](Canvas &c) { wavingTricolour(c, Blue, White, Red); },
        // 20: teal upward arrow on a base
        [](Canvas &c) {
            c.polygon({{7, 0}, {13, 6}, {10, 6}, {10, 12}, {5, 12}, {5, 6}, {2, 6}}, Teal, QColor(0, 80, 80));
            c.line(7, 1, 7, 11, QColor(0, 170, 170));
            c.fill(1, 13, 14, 3, Gray);
            c.line(1, 13, 14, 13, Silver);
        },
        // 21: pause button (two bars)
        [](Canvas &c) {
            c.fill(3, 2, 4, 12, Black);
            c.fill(9, 2, 4, 12, Black);
            c.line(4, 3, 4, 12, Dark);
            c.line(10, 3, 10, 12, Dark);
        },
        // 22: play button (triangle)
        [](Canvas &c) { c.polygon({{4, 1}, {4, 14}, {12, 7}, {12, 8}}, Black); },
        // 23: red-yellow-red flag with an emblem (Spanish)
        [](Canvas &c) {
            c.fill(1, 3, 14, 10, Red);
            c.fill(1, 5, 14, 6, Gold);
            c.grid(3, 5, {
                              ".oo.",
                              "SrrS",
                              "SrYS",
                              "SrrS",
                              ".Rr.",
                          });
            flagFrame(c);
        },
        // 24: white clouds on an olive ground
        [](Canvas &c) {
            c.fill(0, 0, 16, 16, Olive);
            c.grid(0, 0, {
                              "................",
                              "................",
                              "......ww........",
                              "...wwwwwww......",
                              "..wwwwwwwwww....",
                              "..wwwwwwwwwww...",
                              "...ssssssss.....",
                              "................",
                              "..........www...",
                              ".......wwwwwww..",
                              "......wwwwwwwww.",
                              ".......sssssss..",
                              "................",
                              "...ww...........",
                              ".wwwwww.........",
                              "................",
                          });
        },
        // 25: orbit ellipse with a yellow Sun and a planet
        [](Canvas &c) {
            c.ellipse(0, 3, 16, 10, QColor(), Black);
            c.ellipse(3, 5, 6, 6, Yellow, Orange);
            c.ellipse(12, 3, 4, 4, Blue, Navy);
        },
        // 26: two curved arrows (rotation)
        [](Canvas &c) {
            arc(c, 7.5, 7.5, 6.0, Pi * 0.2, Pi * 0.9, Blue, 2);
            c.polygon({{0, 6}, {5, 6}, {2, 10}}, Blue);
            arc(c, 7.5, 7.5, 6.0, Pi * 1.2, Pi * 1.9, Red, 2);
            c.polygon({{15, 9}, {10, 9}, {13, 5}}, Red);
        },
        // 27: black right-angled triangle
        [](Canvas &c) { c.polygon({{1, 14}, {14, 14}, {14, 2}}, Black); },
        // 28: black stepped wedge
        [](Canvas &c) {
            for (int k = 0; k < 5; ++k)
                c.fill(1 + 3 * k, 14 - 3 * (k + 1), 3, 3 * (k + 1) + 1, Black);
        },
        // 29: green circular arrows (restart)
        [](Canvas &c) {
            arc(c, 7.5, 7.5, 6.0, Pi * 0.25, Pi * 0.95, Green, 2);
            c.polygon({{0, 5}, {6, 5}, {3, 10}}, Green);
            arc(c, 7.5, 7.5, 6.0, Pi * 1.25, Pi * 1.95, Green, 2);
            c.polygon({{15, 10}, {9, 10}, {12, 5}}, Green);
        },
        // 30: loudspeaker with sound waves
        [](Canvas &c) {
            c.fill(0, 5, 3, 6, Dark);
            c.polygon({{3, 5}, {7, 1}, {7, 14}, {3, 10}}, Silver, Black);
            c.frame(0, 5, 3, 6, Black);
            arc(c, 7, 7.5, 2.6, -Pi / 4, Pi / 4, Blue);
            arc(c, 7, 7.5, 5.0, -Pi / 3.5, Pi / 3.5, Blue);
            arc(c, 7, 7.5, 7.6, -Pi / 3.5, Pi / 3.5, Blue);
        },
        // 31: open book
        [](Canvas &c) {
            c.polygon({{0, 4}, {7, 5}, {7, 14}, {0, 13}}, QColor(150, 40, 40));
            c.polygon({{8, 5}, {15, 4}, {15, 13}, {8, 14}}, QColor(150, 40, 40));
            c.polygon({{1, 2}, {7, 4}, {7, 13}, {1, 11}}, White, Black);
            c.polygon({{8, 4}, {14, 2}, {14, 11}, {8, 13}}, White, Black);
            for (int k = 0; k < 3; ++k) {
                c.line(2, 5 + 2 * k, 6, 6 + 2 * k, Gray);
                c.line(9, 6 + 2 * k, 13, 5 + 2 * k, Gray);
            }
        },
        // 32: spring with a weight
        [](Canvas &c) {
            c.fill(3, 0, 10, 2, Gray);
            for (int x = 3; x < 13; x += 2)
                c.px(x, 1, Black);
            c.line(8, 2, 8, 3, Black);
            for (int k = 0; k < 3; ++k) {
                c.line(8, 3 + 2 * k, 5, 4 + 2 * k, Blue);
                c.line(5, 4 + 2 * k, 11, 4 + 2 * k + 1, Blue);
                c.line(11, 5 + 2 * k, 8, 5 + 2 * k + 1, Blue);
            }
            c.line(8, 9, 8, 10, Black);
            c.polygon({{5, 11}, {11, 11}, {13, 15}, {3, 15}}, Dark, Black);
            c.line(6, 12, 10, 12, Gray);
        },
        // 33: red arrow and dots on a diagonal
        [](Canvas &c) {
            for (int k = 0; k < 4; ++k)
                c.fill(1 + 2 * k, 13 - 2 * k, 1, 1, Black);
            c.line(8, 7, 13, 2, Red);
            c.line(9, 7, 14, 2, Red);
            c.arrowHead(15, 0, 1, -1, 5, Red);
        },
        // 34: blue question mark
        [](Canvas &c) {
            c.grid(3, 1, {
                              "..bbbbbb..",
                              ".bbbbbbbb.",
                              "bbb....bbb",
                              "bb......bb",
                              "........bb",
                              ".......bbb",
                              ".....bbbb.",
                              "....bbb...",
                              "....bb....",
                              "....bb....",
                              "..........",
                              "....bb....",
                              "....bb....",
                          });
        },
        // 35: grey whirl
        [](Canvas &c) {
            c.curve([](double t) {
                double r = 0.35 + t * 0.42;
                return QPointF(8 + r * std::cos(t), 8 - r * std::sin(t));
            }, 0, 5.2 * Pi, Gray);
            c.curve([](double t) {
                double r = 0.35 + t * 0.42;
                return QPointF(8.6 + r * std::cos(t), 8 - r * std::sin(t));
            }, 2 * Pi, 5.2 * Pi, Gray);
            c.px(8, 8, Dark);
        },
        // 36: blue loops
        [](Canvas &c) {
            // A looping path (a prolate cycloid); a pixel is set where the
            // path passes close to its centre.
            std::vector<QPointF> pts;
            for (int i = 0; i <= 2000; ++i) {
                double t = -1.6 + 17.1 * i / 2000;
                pts.emplace_back(1.5 + 0.95 * t - 1.9 * std::sin(t), 8.0 + 5.5 * std::cos(t));
            }
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    for (const QPointF &p : pts) {
                        double dx = p.x() - (x + 0.5), dy = p.y() - (y + 0.5);
                        if (dx * dx + dy * dy < 0.55 * 0.55) {
                            c.px(x, y, Blue);
                            break;
                        }
                    }
        },
        // 37: black-red-gold flag (German)
        [](Canvas &c) {
            c.fill(1, 3, 14, 3, Black);
            c.fill(1, 6, 14, 4, Red);
            c.fill(1, 10, 14, 3, Gold);
            flagFrame(c);
        },
        // 38: green-white-red flag (Italian)
        [](Canvas &c) { verticalTricolour(c, Green, White, Red); },
        // 39: blue-white-red flag (French)
        [](Canvas &c) { verticalTricolour(c, Blue, White, Red); },
    };
}

} // namespace

bool drawIcons(const QString &outDir)
{
    bool ok = true;
    const auto painters = iconPainters();
    for (size_t i = 0; i < painters.size(); ++i) {
        Canvas c;
        painters[i](c);
        ok = savePng(c.img, QString("%1/icons/icon%2.png").arg(outDir).arg(int(i), 2, 10, QChar('0'))) && ok;
    }
    return ok && painters.size() == 40;
}
