#include "paint.h"

#include <algorithm>
#include <cmath>

Colour rgb(int hex, double alpha)
{
    return Colour{double((hex >> 16) & 255), double((hex >> 8) & 255), double(hex & 255), alpha};
}

Colour mix(const Colour& a, const Colour& b, double t)
{
    return Colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
                  a.a + (b.a - a.a) * t};
}

Colour shade(const Colour& c, double factor)
{
    return Colour{c.r * factor, c.g * factor, c.b * factor, c.a};
}

double hashnoise(int x, int y, uint32_t seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h & 0xffffff) / double(0xffffff);
}

static int wrap(int v, int n)
{
    const int m = v % n;
    return m < 0 ? m + n : m;
}

double tilenoise(double x, double y, int cell, int period, uint32_t seed)
{
    const int cells = std::max(1, period / cell);
    const double fx = x / cell, fy = y / cell;
    const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
    double tx = fx - ix, ty = fy - iy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const double a = hashnoise(wrap(ix, cells), wrap(iy, cells), seed);
    const double b = hashnoise(wrap(ix + 1, cells), wrap(iy, cells), seed);
    const double c = hashnoise(wrap(ix, cells), wrap(iy + 1, cells), seed);
    const double d = hashnoise(wrap(ix + 1, cells), wrap(iy + 1, cells), seed);
    return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

double fractalnoise(double x, double y, int period, uint32_t seed)
{
    return (tilenoise(x, y, 16, period, seed) * 4 + tilenoise(x, y, 8, period, seed + 1) * 2 +
            tilenoise(x, y, 4, period, seed + 2)) / 7.0;
}

static uint8_t clampbyte(double v)
{
    return uint8_t(std::lround(std::clamp(v, 0.0, 255.0)));
}

void set(Image& img, int x, int y, const Colour& c)
{
    if (x < 0 || y < 0 || x >= img.width || y >= img.height) return;
    uint8_t* p = img.at(x, y);
    p[0] = clampbyte(c.r);
    p[1] = clampbyte(c.g);
    p[2] = clampbyte(c.b);
    p[3] = clampbyte(c.a);
}

Colour get(const Image& img, int x, int y)
{
    const uint8_t* p = img.at(x, y);
    return Colour{double(p[0]), double(p[1]), double(p[2]), double(p[3])};
}

void blend(Image& img, int x, int y, const Colour& c)
{
    if (x < 0 || y < 0 || x >= img.width || y >= img.height) return;
    const double a = std::clamp(c.a / 255.0, 0.0, 1.0);
    const Colour under = get(img, x, y);
    const double outa = a + under.a / 255.0 * (1 - a);
    if (outa <= 0) return;
    Colour out;
    out.r = (c.r * a + under.r * under.a / 255.0 * (1 - a)) / outa;
    out.g = (c.g * a + under.g * under.a / 255.0 * (1 - a)) / outa;
    out.b = (c.b * a + under.b * under.a / 255.0 * (1 - a)) / outa;
    out.a = outa * 255.0;
    set(img, x, y, out);
}

void shadedellipse(Image& img, double cx, double cy, double rx, double ry, const Colour& base,
                   uint32_t noiseseed, double grain)
{
    for (int y = int(std::floor(cy - ry)); y <= int(std::ceil(cy + ry)); y++)
        for (int x = int(std::floor(cx - rx)); x <= int(std::ceil(cx + rx)); x++) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            const double d = dx * dx + dy * dy;
            if (d > 1) continue;
            // Lit from the upper left: brighter towards (-0.5, -0.6), darker at the rim.
            const double lit = 1.0 - 0.35 * (dx + dy * 1.2) - 0.25 * d;
            const double n = (hashnoise(x, y, noiseseed) - 0.5) * grain;
            blend(img, x, y, shade(base, std::clamp(lit + n, 0.35, 1.45)));
        }
}

void fillrect(Image& img, int x0, int y0, int x1, int y1, const Colour& c)
{
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++) blend(img, x, y, c);
}

void softshadow(Image& img, double cx, double cy, double rx, double ry, double strength)
{
    for (int y = int(std::floor(cy - ry)); y <= int(std::ceil(cy + ry)); y++)
        for (int x = int(std::floor(cx - rx)); x <= int(std::ceil(cx + rx)); x++) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            const double d = dx * dx + dy * dy;
            if (d > 1) continue;
            blend(img, x, y, Colour{10, 20, 10, 255 * strength * (1 - d)});
        }
}

void line(Image& img, double x0, double y0, double x1, double y1, const Colour& c)
{
    const int steps = int(std::max(std::fabs(x1 - x0), std::fabs(y1 - y0))) + 1;
    for (int i = 0; i <= steps; i++) {
        const double t = double(i) / steps;
        blend(img, int(std::floor(x0 + (x1 - x0) * t)), int(std::floor(y0 + (y1 - y0) * t)), c);
    }
}

void putcell(Image& atlas, int cell, const Image& src, int sx, int sy)
{
    const int ax = (cell % 16) * 32, ay = (cell / 16) * 32;
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            const uint8_t* s = src.at(sx + x, sy + y);
            uint8_t* d = atlas.at(ax + x, ay + y);
            for (int k = 0; k < 4; k++) d[k] = s[k];
        }
}

bool cellempty(const Image& src, int sx, int sy)
{
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++)
            if (src.at(sx + x, sy + y)[3] > 127) return false;
    return true;
}
