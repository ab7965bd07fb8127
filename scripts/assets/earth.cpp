// The Earth seen from space: start screen, MDI backdrop and program icons.
//
// The land comes from the hand-typed outlines of worldmap.cpp, rasterised
// onto an equirectangular grid, smoothed and roughened with value noise. The
// globe is an orthographic projection with Lambert shading, a soft
// terminator, procedural clouds and a thin atmospheric rim.
#include "assets.h"
#include "pixel.h"
#include "worldmap.h"

#include <QPainterPath>
#include <utility>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Deg = Pi / 180.0;

struct Vec {
    double x, y, z;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator*(Vec a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec normalised(Vec a) { return a * (1.0 / std::sqrt(dot(a, a))); }

struct Rgb {
    double r, g, b;
};
Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb operator*(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
Rgb mix(Rgb a, Rgb b, double t) { return a * (1 - t) + b * t; }

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }
double smoothstep(double e0, double e1, double x)
{
    double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// ---------------------------------------------------------------- noise

uint32_t hash3(int x, int y, int z, uint32_t seed)
{
    uint32_t h = seed * 0x9e3779b9u;
    h ^= uint32_t(x) * 0x8da6b343u;
    h = (h << 13) | (h >> 19);
    h ^= uint32_t(y) * 0xd8163841u;
    h = (h << 11) | (h >> 21);
    h ^= uint32_t(z) * 0xcb1ab31fu;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

double lattice(int x, int y, int z, uint32_t seed) { return (hash3(x, y, z, seed) & 0xffffff) / 16777215.0; }

double valueNoise(Vec p, uint32_t seed)
{
    int ix = int(std::floor(p.x)), iy = int(std::floor(p.y)), iz = int(std::floor(p.z));
    double fx = p.x - ix, fy = p.y - iy, fz = p.z - iz;
    auto fade = [](double t) { return t * t * t * (t * (t * 6 - 15) + 10); };
    double u = fade(fx), v = fade(fy), w = fade(fz);
    auto l = [&](int a, int b, int c) { return lattice(ix + a, iy + b, iz + c, seed); };
    double x00 = l(0, 0, 0) + (l(1, 0, 0) - l(0, 0, 0)) * u;
    double x10 = l(0, 1, 0) + (l(1, 1, 0) - l(0, 1, 0)) * u;
    double x01 = l(0, 0, 1) + (l(1, 0, 1) - l(0, 0, 1)) * u;
    double x11 = l(0, 1, 1) + (l(1, 1, 1) - l(0, 1, 1)) * u;
    double y0 = x00 + (x10 - x00) * v, y1 = x01 + (x11 - x01) * v;
    return y0 + (y1 - y0) * w;
}

// Fractal sum of value noise, normalised to [0, 1].
double fbm(Vec p, uint32_t seed, int octaves)
{
    double sum = 0, amp = 1, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * valueNoise(p, seed + uint32_t(i) * 101u);
        norm += amp;
        amp *= 0.5;
        p = p * 2.03 + Vec{17.1, -3.7, 9.3};
    }
    return sum / norm;
}

// ---------------------------------------------------------------- land mask

class LandMask {
public:
    static constexpr int W = 1440, H = 720; // a quarter of a degree per cell

    LandMask()
    {
        QImage img(W, H, QImage::Format_ARGB32);
        img.fill(Qt::black);
        {
            QPainter g(&img);
            g.setRenderHint(QPainter::Antialiasing, true);
            g.setPen(Qt::NoPen);
            auto draw = [&](const std::vector<std::vector<GeoPoint>> &outlines, const QColor &c) {
                g.setBrush(c);
                for (const auto &outline : outlines)
                    for (int shift : {-360, 0, 360}) {
                        QPainterPath path;
                        path.setFillRule(Qt::WindingFill);
                        bool first = true;
                        for (const GeoPoint &p : outline) {
                            QPointF q((p.lon + shift + 180.0) * W / 360.0, (90.0 - p.lat) * H / 180.0);
                            if (first)
                                path.moveTo(q);
                            else
                                path.lineTo(q);
                            first = false;
                        }
                        path.closeSubpath();
                        g.drawPath(path);
                    }
            };
            draw(landOutlines(), Qt::white);
            draw(waterOutlines(), Qt::black);
        }
        std::vector<float> raw(size_t(W * H));
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                raw[size_t(y * W + x)] = qRed(img.pixel(x, y)) / 255.0f;
        sharp_ = blur(raw, 2, 2);
        wide_ = blur(raw, 10, 3);
    }

    // Land fraction near (lon, lat); `wide` gives a broad average used for
    // shallow coastal water and for the distance from the coast.
    double sample(double lon, double lat, bool wide = false) const
    {
        const std::vector<float> &m = wide ? wide_ : sharp_;
        double fx = (lon + 180.0) * W / 360.0 - 0.5, fy = (90.0 - lat) * H / 180.0 - 0.5;
        int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
        double tx = fx - x0, ty = fy - y0;
        auto at = [&](int x, int y) {
            x = ((x % W) + W) % W;
            y = std::clamp(y, 0, H - 1);
            return double(m[size_t(y * W + x)]);
        };
        double a = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * tx;
        double b = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * tx;
        return a + (b - a) * ty;
    }

private:
    static std::vector<float> blur(const std::vector<float> &src, int radius, int passes)
    {
        std::vector<float> a = src, b(src.size());
        for (int pass = 0; pass < passes; ++pass) {
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    double s = 0;
                    for (int k = -radius; k <= radius; ++k)
                        s += a[size_t(y * W + ((x + k) % W + W) % W)];
                    b[size_t(y * W + x)] = float(s / (2 * radius + 1));
                }
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    double s = 0;
                    for (int k = -radius; k <= radius; ++k)
                        s += b[size_t(std::clamp(y + k, 0, H - 1) * W + x)];
                    a[size_t(y * W + x)] = float(s / (2 * radius + 1));
                }
        }
        return a;
    }

    std::vector<float> sharp_, wide_;
};

const LandMask &landMask()
{
    static const LandMask mask;
    return mask;
}

// ---------------------------------------------------------------- surface

Vec geoToVec(double lonDeg, double latDeg)
{
    double lo = lonDeg * Deg, la = latDeg * Deg;
    return {std::cos(la) * std::sin(lo), std::sin(la), std::cos(la) * std::cos(lo)};
}

// How dry the climate is around (lon, lat): 1 in the great deserts.
double aridity(double lon, double lat, Vec e)
{
    struct Desert {
        double lon, lat, rx, ry, w;
    };
    static const Desert deserts[] = {
        {8, 23.5, 26, 8.5, 1.0},     // Sahara
        {30, 24, 7, 6, 1.0},         // Libyan and Egyptian desert
        {47, 22, 12, 9, 1.0},        // Arabia
        {59, 30, 11, 6, 0.65},       // Iran and Baluchistan
        {70, 26, 4, 3, 0.7},         // Thar
        {62, 42, 11, 5, 0.45},       // Karakum and Kyzylkum
        {83, 39, 9, 3.5, 0.8},       // Taklamakan
        {105, 43, 13, 4, 0.7},       // Gobi
        {20, -24, 6, 6, 0.6},        // Kalahari
        {15, -23, 2.5, 7, 0.8},      // Namib
        {46, 7, 5, 5, 0.55},         // Horn of Africa
        {131, -25, 14, 8, 0.85},     // Australian interior
        {-112, 33, 7, 6, 0.7},       // south-western North America
        {-70, -23, 2.5, 8, 0.8},     // Atacama
        {-68, -45, 4, 6, 0.5},       // Patagonia
    };
    double d = 0;
    const double ragged = fbm(e * 5.0 + Vec{7, 7, 1}, 73, 4) - 0.5;
    for (const Desert &s : deserts) {
        double dl = lon - s.lon;
        if (dl > 180)
            dl -= 360;
        if (dl < -180)
            dl += 360;
        double r = std::sqrt((dl / s.rx) * (dl / s.rx) + ((lat - s.lat) / s.ry) * ((lat - s.lat) / s.ry));
        r *= 1 + ragged * 0.9;
        d = std::max(d, s.w * smoothstep(1.3, 0.45, r));
    }
    double n = fbm(e * 7.0 + Vec{3, 1, 2}, 71, 4);
    return clamp01(d + (n - 0.5) * 0.5 * smoothstep(0.0, 0.3, d));
}

struct Surface {
    Rgb colour;
    double water;   // 1 for open water (for the sun glint)
};

Surface surfaceAt(Vec e, bool iconStyle)
{
    const LandMask &mask = landMask();
    double lat = std::asin(std::clamp(e.y, -1.0, 1.0)) / Deg;
    double lon = std::atan2(e.x, e.z) / Deg;

    double m = mask.sample(lon, lat);
    double coastNoise = fbm(e * 26.0, 11, 4) - 0.5;
    double land = smoothstep(0.47, 0.53, m + coastNoise * 0.55);
    double wide = mask.sample(lon, lat, true);

    if (iconStyle) {
        Rgb sea{20, 40, 235}, olive{128, 128, 0};
        return {mix(sea, olive, land), 1 - land};
    }

    // Water: deep ocean, lighter over the continental shelves.
    double texture = fbm(e * 14.0, 23, 3);
    Rgb deep{6, 24, 72}, shelf{24, 78, 132};
    Rgb sea = mix(deep, shelf, std::pow(clamp01(wide * 1.6), 1.5) * 0.75) * (0.92 + 0.16 * texture);

    // Land: vegetation by latitude, deserts by region, ice at the poles.
    double a = std::fabs(lat);
    Rgb rainforest{26, 66, 22}, savanna{104, 106, 46}, temperate{58, 92, 40}, boreal{40, 70, 38},
        tundra{112, 104, 80};
    Rgb veg = rainforest;
    veg = mix(veg, savanna, smoothstep(6, 14, a));
    veg = mix(veg, temperate, smoothstep(24, 36, a));
    veg = mix(veg, boreal, smoothstep(50, 58, a));
    veg = mix(veg, tundra, smoothstep(63, 70, a));
    double vn = fbm(e * 11.0, 31, 5);
    veg = veg * (0.78 + 0.45 * vn);
    double dry = aridity(lon, lat, e);
    Rgb sand = mix(Rgb{206, 164, 102}, Rgb{172, 112, 62}, fbm(e * 9.0, 41, 5));
    Rgb ground = mix(veg, sand, smoothstep(0.25, 0.75, dry));

    double ice = 0;
    // Greenland's ice sheet, the Arctic islands, Antarctica.
    if (lon > -75 && lon < -10 && lat > 59)
        ice = smoothstep(0.55, 0.8, wide + (vn - 0.5) * 0.4);
    ice = std::max(ice, smoothstep(74, 79, lat + (vn - 0.5) * 6));
    ice = std::max(ice, smoothstep(-60, -65, lat));
    Rgb snow = Rgb{236, 240, 246} * (0.92 + 0.1 * vn);
    ground = mix(ground, snow, ice);

    // Sea ice round the poles.
    double seaIce = std::max(smoothstep(75, 82, lat + (texture - 0.5) * 10),
                             smoothstep(-66, -71, lat + (texture - 0.5) * 6));
    sea = mix(sea, Rgb{222, 232, 242} * (0.9 + 0.1 * texture), seaIce);

    return {mix(sea, ground, land), (1 - land) * (1 - seaIce)};
}

// Cloud cover in [0, 1] at a point of the surface.
double cloudAt(Vec e)
{
    double lat = std::asin(std::clamp(e.y, -1.0, 1.0)) / Deg;
    double lon = std::atan2(e.x, e.z) / Deg;

    // Storm systems: twist the noise field round a few centres, anticlockwise
    // in the north and clockwise in the south.
    struct Storm {
        double lon, lat, radius, twist;
    };
    static const Storm storms[] = {
        {-33, 50, 18, 3.2}, {-14, 60, 13, 2.4}, {38, 63, 14, 2.2},  {-60, 45, 12, 2.8},
        {-20, -44, 17, -3.2}, {25, -50, 15, -2.8}, {62, -42, 16, -3.0}, {-45, -35, 10, -2.0},
        {80, 52, 12, 2.5},  {150, 40, 14, 3.0},  {170, -45, 14, -3.0},
    };
    Vec p = e;
    double stormBoost = 0;
    for (const Storm &s : storms) {
        Vec c = geoToVec(s.lon, s.lat);
        double d = std::acos(std::clamp(dot(p, c), -1.0, 1.0)) / Deg;
        if (d >= s.radius)
            continue;
        double f = 1 - d / s.radius;
        double ang = s.twist * f * f;
        // Rodrigues' rotation of p about c.
        p = p * std::cos(ang) + cross(c, p) * std::sin(ang) + c * (dot(c, p) * (1 - std::cos(ang)));
        stormBoost = std::max(stormBoost, f * 0.6);
    }

    Vec q = Vec{p.x * 2.6, p.y * 4.4, p.z * 2.6};
    Vec warp{fbm(q + Vec{1.3, 7.1, 2.2}, 51, 4) - 0.5, fbm(q + Vec{5.2, 1.7, 9.2}, 52, 4) - 0.5,
             fbm(q + Vec{8.3, 2.8, 4.1}, 53, 4) - 0.5};
    Vec r = q * 1.4 + warp * 2.2;
    double n = fbm(r, 61, 6);

    double a = std::fabs(lat);
    double cover = 0.42 + 0.45 * std::exp(-((lat - 6) / 6.5) * ((lat - 6) / 6.5)) -
                   0.30 * std::exp(-((a - 23) / 8.0) * ((a - 23) / 8.0)) + 0.30 * smoothstep(35, 55, a) +
                   stormBoost;
    cover -= 0.9 * aridity(lon, lat, e);
    cover = std::clamp(cover, 0.0, 1.0);
    double thr = 0.66 - 0.26 * cover;
    double fine = fbm(r * 3.1, 62, 3) - 0.5;
    return std::pow(smoothstep(thr, thr + 0.2, n + fine * 0.12), 1.3) * 0.96;
}

// ---------------------------------------------------------------- globe

struct View {
    double lon0 = 14, lat0 = 22;   // point of the Earth facing the viewer
    Vec light = normalised({-0.50, 0.38, 0.78});
    bool clouds = true;
    bool iconStyle = false;
    double halo = 0.035;           // width of the atmospheric glow beyond the limb
};

// Colour and coverage of one sample at (sx, sy) in globe units (y up).
struct Sample {
    Rgb c;
    double alpha;
};

Vec viewToEarth(Vec v, const View &view)
{
    double a = -view.lat0 * Deg, b = view.lon0 * Deg;
    Vec r{v.x, v.y * std::cos(a) - v.z * std::sin(a), v.y * std::sin(a) + v.z * std::cos(a)};
    return {r.x * std::cos(b) + r.z * std::sin(b), r.y, -r.x * std::sin(b) + r.z * std::cos(b)};
}

Sample shade(double sx, double sy, const View &view)
{
    double rr = sx * sx + sy * sy;
    const Vec L = view.light;
    if (rr > 1.0) {
        double r = std::sqrt(rr);
        if (view.iconStyle || r > 1 + view.halo)
            return {{0, 0, 0}, 0};
        double t = (r - 1) / view.halo;
        double day = smoothstep(-0.25, 0.35, dot(Vec{sx / r, sy / r, 0}, L));
        double alpha = (1 - t) * (1 - t) * 0.9 * (0.2 + 0.8 * day);
        return {Rgb{120, 172, 255} * (0.55 + 0.45 * day), alpha};
    }
    Vec n{sx, sy, std::sqrt(1 - rr)};
    Vec e = viewToEarth(n, view);
    Surface s = surfaceAt(e, view.iconStyle);
    double d = dot(n, L);

    if (view.iconStyle) {
        double light = 0.45 + 0.55 * clamp01(d * 1.2);
        Rgb c = s.colour * light;
        Vec h = normalised(L + Vec{0, 0, 1});
        double specular = std::pow(std::max(0.0, dot(n, h)), 30) * 0.6;
        c = c + Rgb{255, 255, 255} * specular;
        return {c, 1};
    }

    double cloud = view.clouds ? cloudAt(e) : 0;
    Rgb c = mix(s.colour, Rgb{246, 247, 250}, cloud);

    double day = smoothstep(-0.10, 0.28, d);
    double lambert = clamp01(d);
    double light = 0.025 + 0.975 * day * (0.42 + 0.58 * std::pow(lambert, 0.8));
    c = c * light;

    Vec h = normalised(L + Vec{0, 0, 1});
    double specular = std::pow(std::max(0.0, dot(n, h)), 45) * 0.55 * s.water * (1 - cloud);
    c = c + Rgb{190, 205, 225} * specular;

    // Atmosphere: a blue haze thickening towards the limb.
    double limb = 1 - n.z;
    double rim = std::pow(limb, 2.6) * 0.85 + 0.06;
    c = mix(c, Rgb{96, 150, 245} * (0.25 + 0.75 * day), rim * (0.3 + 0.7 * day));
    return {c, 1};
}

// Renders a globe of the given diameter centred in a square of side `box`
// pixels; the picture is transparent outside the globe and its glow.
QImage renderGlobe(int box, double diameter, const View &view, int ss)
{
    QImage img(box, box, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    const double c = box / 2.0, radius = diameter / 2.0;
    for (int y = 0; y < box; ++y)
        for (int x = 0; x < box; ++x) {
            Rgb sum{0, 0, 0};
            double alpha = 0;
            for (int j = 0; j < ss; ++j)
                for (int i = 0; i < ss; ++i) {
                    double px = x + (i + 0.5) / ss, py = y + (j + 0.5) / ss;
                    Sample s = shade((px - c) / radius, (c - py) / radius, view);
                    sum = sum + s.c * s.alpha;
                    alpha += s.alpha;
                }
            if (alpha <= 0)
                continue;
            Rgb col = sum * (1.0 / alpha);
            auto ch = [](double v) { return int(std::lround(std::clamp(v, 0.0, 255.0))); };
            img.setPixel(x, y, qRgba(ch(col.r), ch(col.g), ch(col.b), ch(alpha / (ss * ss) * 255)));
        }
    return img;
}

// Bevelled frame: light on the upper and left edges, dark on the lower and right.
void bevel(QImage &img, const std::array<QRgb, 3> &light, const std::array<QRgb, 3> &dark)
{
    const int w = img.width(), h = img.height();
    for (int k = 0; k < 3; ++k) {
        for (int x = k; x < w - k; ++x) {
            img.setPixel(x, k, light[size_t(k)]);
            img.setPixel(x, h - 1 - k, dark[size_t(k)]);
        }
        for (int y = k; y < h - k; ++y) {
            img.setPixel(k, y, light[size_t(k)]);
            img.setPixel(w - 1 - k, y, dark[size_t(k)]);
        }
        // The lower-left and upper-right corners are split on the diagonal.
        for (int j = 0; j <= k; ++j) {
            img.setPixel(j, h - 1 - k, light[size_t(std::min(j, 2))]);
            img.setPixel(w - 1 - k, j, light[size_t(std::min(j, 2))]);
        }
    }
}

QImage compose(int w, int h, QRgb ground, const QImage &globe, int cx, int cy)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(ground);
    QPainter g(&img);
    g.drawImage(cx - globe.width() / 2, cy - globe.height() / 2, globe);
    g.end();
    return img;
}

} // namespace

bool drawEarthPictures(const QString &outDir)
{
    bool ok = true;
    View view;

    // Start screen: 445 x 280, light-blue ground, blue bevelled border, 256 colours.
    {
        const QRgb ground = qRgb(166, 206, 247);
        QImage globe = renderGlobe(240, 222, view, 4);
        QImage img = compose(445, 280, ground, globe, 222, 140);
        bevel(img, {qRgb(150, 190, 255), qRgb(100, 150, 245), qRgb(60, 110, 230)},
              {qRgb(0, 0, 110), qRgb(0, 20, 150), qRgb(20, 60, 190)});
        std::vector<QRgb> fixed = {ground,          qRgb(150, 190, 255), qRgb(100, 150, 245),
                                   qRgb(60, 110, 230), qRgb(0, 0, 110),   qRgb(0, 20, 150),
                                   qRgb(20, 60, 190)};
        ok = savePng(reduceColours(img, 256, fixed, true), outDir + "/imparavia.png") && ok;
    }
    // MDI backdrop: 240 x 180 on black, 16 colours.
    {
        QImage globe = renderGlobe(190, 170, view, 4);
        QImage img = compose(240, 180, qRgb(0, 0, 0), globe, 120, 90);
        ok = savePng(reduceColours(img, 16, {qRgb(0, 0, 0)}, true), outDir + "/imterra.png") && ok;
    }
    // Program icons: olive land on a blue sea, transparent outside the disc.
    {
        View icon = view;
        icon.iconStyle = true;
        icon.clouds = false;
        for (auto [size, name] : {std::pair{32, "about_globe.png"}, std::pair{64, "vastara.png"}}) {
            const double d = size - 1;
            QImage img = renderGlobe(size, d, icon, 6);
            // A dark rim so that the globe stands out on a blue panel.
            QPainter g(&img);
            g.setRenderHint(QPainter::Antialiasing, true);
            g.setPen(QPen(QColor(0, 0, 80), size > 32 ? 1.5 : 1.0));
            g.setBrush(Qt::NoBrush);
            const double inset = size > 32 ? 1.25 : 1.0;
            g.drawEllipse(QRectF(size / 2.0 - d / 2 + inset - 0.5, size / 2.0 - d / 2 + inset - 0.5,
                                 d - 2 * inset + 1, d - 2 * inset + 1));
            g.end();
            ok = savePng(img, outDir + "/" + name) && ok;
        }
    }
    return ok;
}
