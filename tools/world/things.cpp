// The outdoor layer atlas (iso2): forest canopy and cliffs as transition
// masses, and the things of the world cut into second-layer tiles (drawn under
// the characters, usually blocking) and over-layer tiles (drawn above them).
#include "atlas.h"
#include "paint.h"

#include <cmath>

namespace {

// A thing being drawn: one picture per layer, w x h cells.
struct Sketch {
    Image second, over;
    int w, h;
    Sketch(int nw, int nh) : second(nw * 32, nh * 32), over(nw * 32, nh * 32), w(nw), h(nh) {}
};

// Leaves; `period` 32 makes cells that tile with each other.
Colour leaf(double x, double y, uint32_t seed, double lit, int period = 96)
{
    // Clumps of leaves: a bump from the noise and its offset copy gives a
    // highlight on the upper-left side of each clump.
    const int cell = period == 32 ? 8 : 6;
    const double n = tilenoise(x, y, cell, period, seed);
    const double m = tilenoise(x + 2, y + 2, cell, period, seed);
    const double bump = std::clamp(0.5 + (n - m) * 2.2, 0.0, 1.0);
    Colour c = mix(rgb(0x244d22), rgb(0x5c9a3e), std::clamp(bump * 0.7 + lit * 0.5, 0.0, 1.0));
    if (hashnoise(int(x), int(y), seed + 5) > 0.9) c = shade(c, 1.12);
    return c;
}

void crown(Image& img, double cx, double cy, double rx, double ry, uint32_t seed)
{
    for (int y = int(cy - ry - 2); y <= int(cy + ry + 2); y++)
        for (int x = int(cx - rx - 2); x <= int(cx + rx + 2); x++) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            const double wob = (tilenoise(x, y, 5, 640, seed) - 0.5) * 0.45;
            const double d = std::sqrt(dx * dx + dy * dy) + wob;
            if (d > 1) continue;
            const double lit = 0.55 - 0.35 * dx - 0.45 * dy - 0.3 * d;
            Colour c = leaf(x, y, seed, lit);
            if (d > 0.9) c = shade(c, 0.7);
            set(img, x, y, c);
        }
}

void trunk(Image& img, double cx, double top, double bottom, double halfw, const Colour& bark)
{
    for (int y = int(top); y < int(bottom); y++)
        for (int x = int(cx - halfw); x <= int(cx + halfw); x++) {
            const double t = (x + 0.5 - (cx - halfw)) / (2 * halfw);
            Colour c = shade(bark, 1.15 - 0.5 * t);
            if (hashnoise(x, y / 3, 7) > 0.8) c = shade(c, 0.8);
            set(img, x, y, c);
        }
}

Colour stone(int x, int y, uint32_t seed, double lit, int period = 64)
{
    const double n = fractalnoise(x, y, period, seed);
    Colour c = mix(rgb(0x6a6862), rgb(0x9a968a), n);
    c = shade(c, lit);
    if (hashnoise(x, y, seed + 3) > 0.94) c = shade(c, 0.8);
    return c;
}

void rock(Image& img, double cx, double cy, double rx, double ry, uint32_t seed)
{
    softshadow(img, cx + 3, cy + ry * 0.6, rx * 1.05, ry * 0.55, 0.45);
    for (int y = int(cy - ry); y <= int(cy + ry); y++)
        for (int x = int(cx - rx); x <= int(cx + rx); x++) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            const double wob = (tilenoise(x, y, 4, 640, seed) - 0.5) * 0.35;
            const double d = std::sqrt(dx * dx + dy * dy) + wob;
            if (d > 1) continue;
            double lit = 1.1 - 0.3 * dx - 0.4 * dy - 0.2 * d;
            if (d > 0.88) lit *= 0.7;
            set(img, x, y, stone(x, y, seed, lit));
        }
}

void flame(Image& img, double cx, double base, double height, double width)
{
    for (int y = int(base - height); y < int(base); y++)
        for (int x = int(cx - width); x <= int(cx + width); x++) {
            const double t = (base - y) / height;  // 0 at the base, 1 at the tip
            const double half = width * (1 - t) * (0.8 + 0.4 * hashnoise(x, y, 9));
            const double dx = std::fabs(x + 0.5 - cx);
            if (dx > half) continue;
            const double core = 1 - dx / std::max(half, 0.5);
            Colour c = mix(rgb(0xd8401a), rgb(0xffd040), core * (1 - t * 0.6));
            if (core > 0.7 && t < 0.5) c = rgb(0xfff4b0);
            set(img, x, y, c);
        }
}

void glow(Image& img, double cx, double cy, double r, const Colour& c)
{
    for (int y = int(cy - r); y <= int(cy + r); y++)
        for (int x = int(cx - r); x <= int(cx + r); x++) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / r;
            if (d < 1) blend(img, x, y, Colour{c.r, c.g, c.b, 255 * (1 - d)});
        }
}

const Thing& commit(Atlas& a, const std::string& name, const Sketch& s, const std::vector<bool>& stops,
                    const std::vector<int>& lights = {}, int radius = 0)
{
    return a.addthing(name, s.w, s.h, s.second, s.over, stops, lights, radius);
}

void trees(Atlas& a)
{
    {   // Broad-leaved tree: crown over two cells by two, trunk in the bottom row.
        Sketch s(2, 3);
        softshadow(s.second, 36, 86, 24, 7, 0.55);
        trunk(s.second, 32, 48, 86, 5, rgb(0x6a4a2c));
        line(s.second, 27, 85, 22, 89, rgb(0x4e3620));
        line(s.second, 37, 85, 42, 89, rgb(0x4e3620));
        crown(s.over, 32, 32, 30, 29, 201);
        commit(a, "oak", s, {false, false, false, false, true, true});
    }
    {   // A paler birch-like variant.
        Sketch s(2, 3);
        softshadow(s.second, 36, 86, 22, 6, 0.5);
        trunk(s.second, 32, 46, 86, 4, rgb(0xd8d4c8));
        for (int y = 50; y < 86; y += 6) line(s.second, 29, y, 33, y, rgb(0x303030));
        crown(s.over, 32, 30, 26, 28, 202);
        commit(a, "birch", s, {false, false, false, false, true, true});
    }
    {   // Spruce: a layered cone, one cell wide and two tall.
        Sketch s(1, 2);
        softshadow(s.second, 18, 58, 14, 5, 0.55);
        trunk(s.second, 16, 44, 60, 2.5, rgb(0x5a3c22));
        for (int y = 2; y < 52; y++) {
            const double t = (y - 2) / 50.0;
            const double tier = std::fmod(t * 4, 1.0);
            const double half = 3 + t * 11 * (0.75 + 0.25 * tier);
            for (int x = int(16 - half); x <= int(16 + half); x++) {
                const double dx = (x + 0.5 - 16) / half;
                Colour c = mix(rgb(0x1c3d26), rgb(0x3f7a44), std::clamp(0.6 - dx * 0.5 - tier * 0.3, 0.0, 1.0));
                if (hashnoise(x, y, 203) > 0.85) c = shade(c, 1.15);
                set(s.over, x, y, c);
            }
        }
        commit(a, "spruce", s, {false, true});
    }
}

void smallthings(Atlas& a)
{
    {
        Sketch s(1, 1);
        softshadow(s.second, 17, 24, 14, 6, 0.5);
        crown(s.second, 16, 17, 13, 11, 211);
        commit(a, "bush", s, {true});
    }
    {
        Sketch s(1, 1);
        softshadow(s.second, 17, 24, 14, 6, 0.5);
        crown(s.second, 16, 17, 13, 11, 212);
        Rng rng(213);
        for (int i = 0; i < 8; i++) {
            const int bx = 8 + rng.below(16), by = 10 + rng.below(12);
            set(s.second, bx, by, rgb(0xc02838));
            set(s.second, bx + 1, by, rgb(0x801828));
        }
        commit(a, "berry bush", s, {true});
    }
    {
        Sketch s(1, 1);
        rock(s.second, 16, 18, 12, 10, 221);
        commit(a, "rock", s, {true});
    }
    {
        Sketch s(1, 1);
        rock(s.second, 11, 22, 7, 5, 222);
        rock(s.second, 22, 16, 6, 5, 223);
        commit(a, "stones", s, {false});
    }
    {   // Boulder: its upper half is drawn over characters standing behind it.
        Sketch s(2, 2);
        Image whole(64, 64);
        rock(whole, 32, 36, 28, 22, 224);
        for (int y = 0; y < 64; y++)
            for (int x = 0; x < 64; x++) {
                const uint8_t* p = whole.at(x, y);
                Image& dst = y < 32 ? s.over : s.second;
                uint8_t* q = dst.at(x, y);
                for (int k = 0; k < 4; k++) q[k] = p[k];
            }
        commit(a, "boulder", s, {false, false, true, true});
    }
    {
        Sketch s(1, 1);
        softshadow(s.second, 18, 22, 12, 5, 0.5);
        shadedellipse(s.second, 16, 18, 10, 7, rgb(0x6a4a2c), 231, 0.2);
        shadedellipse(s.second, 16, 16, 9, 5, rgb(0xc8a470), 232, 0.15);
        for (double r = 2; r < 8; r += 2.5)
            for (int t = 0; t < 40; t++)
                set(s.second, int(16 + r * std::cos(t * 0.157)), int(16 + r * 0.6 * std::sin(t * 0.157)),
                    rgb(0x8a6a44));
        commit(a, "stump", s, {true});
    }
    {
        Sketch s(1, 1);
        Rng rng(241);
        const int colours[4] = {0xe04040, 0xf0e060, 0x8060e0, 0xf4f4f4};
        for (int i = 0; i < 9; i++) {
            const int fx = 4 + rng.below(24), fy = 6 + rng.below(22);
            line(s.second, fx, fy, fx, fy + 4, rgb(0x3a7a2a));
            const Colour c = rgb(colours[rng.below(4)]);
            set(s.second, fx, fy, c);
            set(s.second, fx - 1, fy, c);
            set(s.second, fx + 1, fy, c);
            set(s.second, fx, fy - 1, c);
            set(s.second, fx, fy + 1, shade(c, 0.7));
        }
        commit(a, "flowers", s, {false});
    }
    {
        Sketch s(1, 1);
        for (int i = 0; i < 3; i++) {
            const double mx = 9 + i * 7, my = 14 + (i % 2) * 8;
            line(s.second, mx, my, mx, my + 6, rgb(0xe8e0d0));
            shadedellipse(s.second, mx, my, 4, 2.5, rgb(i == 1 ? 0xc83828 : 0xa87a4a), 250 + i, 0.1);
        }
        commit(a, "mushrooms", s, {false});
    }
    {   // Bones and a skull: the camps' litter.
        Sketch s(1, 1);
        line(s.second, 4, 24, 14, 20, rgb(0xe4dcc4));
        line(s.second, 4, 25, 14, 21, rgb(0xb8ae98));
        line(s.second, 18, 27, 28, 29, rgb(0xe4dcc4));
        shadedellipse(s.second, 20, 12, 6, 5, rgb(0xece4cc), 261, 0.1);
        set(s.second, 18, 12, rgb(0x202020));
        set(s.second, 22, 12, rgb(0x202020));
        fillrect(s.second, 18, 16, 22, 17, rgb(0xd0c8b0));
        commit(a, "bones", s, {false});
    }
    {
        Sketch s(1, 1);
        softshadow(s.second, 18, 28, 10, 3, 0.5);
        fillrect(s.second, 14, 6, 18, 28, rgb(0x7a7a74));
        fillrect(s.second, 8, 11, 24, 15, rgb(0x8a8a84));
        fillrect(s.second, 14, 6, 15, 28, rgb(0xa8a8a0));
        commit(a, "grave", s, {true});
    }
    {   // Reeds at the water's edge.
        Sketch s(1, 1);
        Rng rng(271);
        for (int i = 0; i < 10; i++) {
            const double rx = 3 + rng.below(26), ry = 14 + rng.below(16);
            line(s.second, rx, ry, rx + rng.range(-2, 2), ry - 10, rgb(0x6a8a3a));
            if (i % 3 == 0) fillrect(s.second, int(rx), int(ry - 12), int(rx + 1), int(ry - 9), rgb(0x5a3a20));
        }
        commit(a, "reeds", s, {false});
    }
}

void crafted(Atlas& a)
{
    const Colour wood = rgb(0x8a5e36), darkwood = rgb(0x5a3a20);
    {
        Sketch s(1, 1);
        for (int px : {3, 28}) {
            softshadow(s.second, px + 3, 26, 4, 2, 0.5);
            fillrect(s.second, px - 2, 8, px + 1, 26, wood);
            fillrect(s.second, px - 2, 8, px - 1, 26, shade(wood, 1.2));
        }
        fillrect(s.second, 0, 12, 31, 14, shade(wood, 1.1));
        fillrect(s.second, 0, 19, 31, 21, wood);
        fillrect(s.second, 0, 15, 31, 15, darkwood);
        commit(a, "fence", s, {true});
    }
    {
        Sketch s(1, 1);
        fillrect(s.second, 13, 0, 16, 31, shade(wood, 1.1));
        fillrect(s.second, 17, 0, 18, 31, darkwood);
        fillrect(s.second, 11, 12, 20, 17, wood);
        commit(a, "fence post", s, {true});
    }
    {   // Palisade of sharpened stakes, seen from the south.
        Sketch s(1, 2);
        for (int i = 0; i < 4; i++) {
            const int x0 = i * 8;
            for (int y = 18; y < 58; y++)
                for (int x = x0; x < x0 + 8; x++) {
                    const int tip = 18 + std::abs(x - x0 - 4) * 2;
                    if (y < tip) continue;
                    Colour c = shade(rgb(0x6e4a2a), 1.2 - (x - x0) * 0.08);
                    if (hashnoise(x, y / 4, 281) > 0.85) c = shade(c, 0.8);
                    set(y < 32 ? s.over : s.second, x, y, c);
                }
        }
        fillrect(s.second, 0, 44, 31, 46, rgb(0x3a2a1a));
        commit(a, "palisade", s, {false, true});
    }
    {
        Sketch s(1, 1);
        for (int y = 0; y < 32; y++)
            for (int x = 8; x < 24; x++) {
                Colour c = shade(rgb(0x6e4a2a), 1.2 - ((x - 8) % 8) * 0.06);
                if (x % 8 == 7) c = rgb(0x3a2a1a);
                set(s.second, x, y, c);
            }
        commit(a, "palisade side", s, {true});
    }
    {
        Sketch s(1, 1);
        softshadow(s.second, 18, 28, 11, 4, 0.5);
        shadedellipse(s.second, 16, 17, 10, 12, rgb(0x7a5030), 291, 0.15);
        fillrect(s.second, 6, 10, 26, 11, rgb(0x3a3a3a));
        fillrect(s.second, 6, 23, 26, 24, rgb(0x3a3a3a));
        shadedellipse(s.second, 16, 7, 8, 3, rgb(0x9a7048), 292, 0.1);
        commit(a, "barrel", s, {true});
    }
    {
        Sketch s(1, 1);
        softshadow(s.second, 18, 28, 13, 4, 0.5);
        fillrect(s.second, 4, 6, 27, 27, rgb(0xa07848));
        fillrect(s.second, 4, 6, 27, 8, rgb(0xc09060));
        fillrect(s.second, 4, 6, 5, 27, rgb(0xb08858));
        line(s.second, 5, 9, 26, 26, darkwood);
        line(s.second, 26, 9, 5, 26, darkwood);
        fillrect(s.second, 26, 6, 27, 27, darkwood);
        commit(a, "crate", s, {true});
    }
    {
        Sketch s(1, 1);
        softshadow(s.second, 18, 29, 8, 3, 0.5);
        fillrect(s.second, 14, 10, 17, 29, darkwood);
        fillrect(s.second, 4, 6, 27, 15, wood);
        fillrect(s.second, 4, 6, 27, 7, shade(wood, 1.25));
        line(s.second, 7, 10, 22, 10, rgb(0x2a1a10));
        line(s.second, 7, 12, 18, 12, rgb(0x2a1a10));
        commit(a, "sign", s, {true});
    }
    {   // Stone well with a little roof.
        Sketch s(1, 2);
        softshadow(s.second, 18, 60, 14, 4, 0.5);
        shadedellipse(s.second, 16, 50, 14, 10, rgb(0x8a8680), 301, 0.3);
        shadedellipse(s.second, 16, 48, 9, 6, rgb(0x1a2a3a), 302, 0.1);
        fillrect(s.second, 3, 30, 5, 50, darkwood);
        fillrect(s.second, 26, 30, 28, 50, darkwood);
        for (int y = 8; y < 30; y++) {
            const int half = (y - 8) * 15 / 22 + 1;
            for (int x = 16 - half; x <= 16 + half; x++)
                set(s.over, x, y, shade(rgb(0x8a3a2a), 1.1 - (x < 16 ? 0 : 0.25) - (y % 4 == 0 ? 0.15 : 0)));
        }
        commit(a, "well", s, {false, true});
    }
    {   // Standing torch: blocks and lights its surroundings.
        Sketch s(1, 1);
        softshadow(s.second, 17, 29, 6, 2, 0.5);
        fillrect(s.second, 15, 14, 17, 29, darkwood);
        fillrect(s.second, 13, 12, 19, 15, rgb(0x3a3a3a));
        glow(s.second, 16, 7, 9, rgb(0xffb040, 110));
        flame(s.second, 16, 13, 11, 4);
        commit(a, "torch", s, {true}, {32}, 4);
    }
    {   // Campfire in a ring of stones.
        Sketch s(1, 1);
        glow(s.second, 16, 18, 15, rgb(0xff9030, 90));
        for (int i = 0; i < 8; i++) {
            const double t = i * M_PI / 4;
            shadedellipse(s.second, 16 + 11 * std::cos(t), 20 + 7 * std::sin(t), 3.2, 2.6,
                          rgb(0x8a8680), 311 + i, 0.2);
        }
        line(s.second, 9, 23, 23, 17, darkwood);
        line(s.second, 9, 17, 23, 23, shade(darkwood, 1.3));
        flame(s.second, 16, 22, 16, 6);
        commit(a, "campfire", s, {true}, {38}, 5);
    }
    {   // Lamp post: the lantern sits in the over layer.
        Sketch s(1, 2);
        softshadow(s.second, 18, 60, 7, 3, 0.5);
        fillrect(s.second, 14, 32, 17, 60, rgb(0x2e2e34));
        fillrect(s.second, 12, 58, 19, 60, rgb(0x2e2e34));
        fillrect(s.over, 15, 20, 16, 31, rgb(0x2e2e34));
        glow(s.over, 16, 14, 13, rgb(0xffd070, 120));
        fillrect(s.over, 10, 8, 21, 20, rgb(0x2e2e34));
        fillrect(s.over, 12, 10, 19, 18, rgb(0xffe090));
        fillrect(s.over, 9, 6, 22, 8, rgb(0x1e1e24));
        commit(a, "lamp", s, {false, true}, {34, 0}, 4);
    }
    {   // Hide tent of the monster camps.
        Sketch s(2, 2);
        softshadow(s.second, 34, 58, 30, 6, 0.5);
        for (int y = 4; y < 60; y++) {
            const int half = (y - 4) * 30 / 56;
            for (int x = 32 - half; x <= 32 + half; x++) {
                Colour c = x < 32 ? rgb(0x9a7a52) : rgb(0x7a5e3e);
                c = shade(c, 0.9 + 0.2 * fractalnoise(x, y, 64, 321));
                if (std::abs(x - 32) < (y - 24) * 8 / 36 && y > 24) c = rgb(0x1e140c);
                if ((x + y) % 11 == 0) c = shade(c, 0.85);
                set(y < 32 ? s.over : s.second, x, y, c);
            }
        }
        line(s.over, 32, 0, 32, 6, darkwood);
        commit(a, "tent", s, {false, false, true, true});
    }
}

// A house: roof rows in the over layer, walls in the second layer.
void house(Atlas& a, const std::string& name, int w, const Colour& roofc, const Colour& wallc, uint32_t seed)
{
    const int h = 4;
    Sketch s(w, h);
    const int W = w * 32;
    const int eave = 72;  // the roof's lower edge in pixels
    softshadow(s.second, W / 2 + 6, 124, W / 2 + 2, 6, 0.5);
    for (int y = 56; y < 124; y++)
        for (int x = 3; x < W - 3; x++) {
            Colour c = wallc;
            if ((y - 56) % 9 == 8) c = shade(c, 0.75);      // log courses
            c = shade(c, 0.92 + 0.16 * fractalnoise(x, y, 64, seed));
            if (x < 6 || x > W - 7) c = shade(rgb(0x5a3a20), 1.0);
            set(s.second, x, y, c);
        }
    // Door in the second column, windows in the others.
    const int door = 32 + 8;
    fillrect(s.second, door, 92, door + 15, 123, rgb(0x4a2e18));
    fillrect(s.second, door + 1, 93, door + 14, 123, rgb(0x6a4424));
    set(s.second, door + 12, 108, rgb(0xd0b040));
    std::vector<int> lights(size_t(w * h), 0);
    for (int col = 0; col < w; col++) {
        if (col == 1) continue;
        const int wx = col * 32 + 9;
        fillrect(s.second, wx - 2, 88, wx + 15, 105, rgb(0x4a2e18));
        fillrect(s.second, wx, 90, wx + 13, 103, rgb(0xffd870));
        fillrect(s.second, wx + 6, 90, wx + 7, 103, rgb(0x4a2e18));
        fillrect(s.second, wx, 96, wx + 13, 97, rgb(0x4a2e18));
        lights[size_t(3 * w + col)] = 28;
    }
    // Gabled roof seen from the south: rows of shingles, lighter on the left.
    for (int y = 0; y < eave; y++)
        for (int x = 0; x < W; x++) {
            const double inset = y < 8 ? (8 - y) * 1.5 : 0;
            if (x < inset || x >= W - inset) continue;
            Colour c = roofc;
            const int row = y / 6;
            if ((x + (row % 2) * 5) % 10 == 0 || y % 6 == 5) c = shade(c, 0.72);
            c = shade(c, 1.12 - 0.35 * double(y) / eave + 0.1 * fractalnoise(x, y, 64, seed + 1));
            if (y >= eave - 4) c = shade(roofc, 0.55);
            set(s.over, x, y, c);
        }
    fillrect(s.over, 0, 0, W - 1, 2, shade(roofc, 0.6));
    fillrect(s.over, W - 30, 0, W - 20, 14, rgb(0x6a6660));  // chimney
    fillrect(s.over, W - 30, 0, W - 20, 2, rgb(0x3a3634));
    // The top roof row stays open, so characters can pass behind the house.
    std::vector<bool> stops(size_t(w * h), true);
    for (int col = 0; col < w; col++) stops[size_t(col)] = false;
    commit(a, name, s, stops, lights, 3);
}

// Stone gate of the enemies: a lintel over a dark passage between pillars.
void gate(Atlas& a)
{
    Sketch s(3, 3);
    for (int col : {0, 2}) {
        const int x0 = col * 32 + 4;
        for (int y = 24; y < 94; y++)
            for (int x = x0; x < x0 + 24; x++) {
                Colour c = stone(x, y, 331, 1.05 - (x - x0) * 0.02);
                if (y % 12 == 11 || (x - x0 + (y / 12) * 8) % 16 == 0) c = shade(c, 0.7);
                set(y < 32 ? s.over : s.second, x, y, c);
            }
        glow(s.second, col * 32 + 16, 68, 10, rgb(0xffa040, 110));
        flame(s.second, col * 32 + 16, 72, 10, 3.5);
        fillrect(s.second, col * 32 + 13, 72, col * 32 + 19, 75, rgb(0x2a2a2a));
    }
    for (int y = 0; y < 30; y++)
        for (int x = 0; x < 96; x++) {
            Colour c = stone(x, y, 332, 1.1 - y * 0.012);
            if (y % 10 == 9 || (x + (y / 10) * 12) % 24 == 0) c = shade(c, 0.7);
            set(s.over, x, y, c);
        }
    // Keystone with a painted skull.
    fillrect(s.over, 40, 4, 55, 26, rgb(0x8a8478));
    shadedellipse(s.over, 48, 13, 5, 5, rgb(0xe8e0c8), 333, 0.1);
    set(s.over, 46, 13, rgb(0x200808));
    set(s.over, 50, 13, rgb(0x200808));
    fillrect(s.over, 46, 17, 50, 19, rgb(0xd8d0b8));
    // Purple murk under the arch.
    for (int y = 30; y < 40; y++)
        for (int x = 28; x < 68; x++) blend(s.over, x, y, Colour{40, 10, 60, 200.0 - (y - 30) * 20});
    commit(a, "gate", s, {true, true, true, true, false, true, true, false, true},
           {0, 0, 0, 0, 0, 0, 34, 0, 34}, 4);
}

// Light and shadow of rock lumps on a cliff top; repeats every cell.
double rockbump(int x, int y)
{
    const double n = tilenoise(x, y, 8, 32, 435), m = tilenoise(x + 2, y + 2, 8, 32, 435);
    return std::clamp(0.95 + (n - m) * 1.4, 0.6, 1.3);
}

Colour canopycolour(int x, int y, double edge)
{
    Colour c = leaf(x, y, 401, 0.45, 32);
    if (edge < 0.05) c = shade(c, 0.65);
    return c;
}

}  // namespace

void buildupper(OutdoorAtlases& world)
{
    Atlas& a = world.upper;
    // Forest canopy: 15 masks, then full canopy variants.
    for (int mask = 1; mask < 16; mask++) {
        const Image cell = drawmask(mask, 410, 0.7, [](int x, int y, double, double edge) {
            return edge > 0 ? canopycolour(x, y, edge) : Colour{0, 0, 0, 0};
        });
        const int v = a.add(cell, 0, 0, TileInfo{"canopy " + std::to_string(mask), false, 0, 0});
        if (mask == 1) world.canopy.base = v;
    }
    for (int i = 0; i < 3; i++)
        world.canopyfull[i] = a.draw([i](Image& cell) {
            for (int y = 0; y < 32; y++)
                for (int x = 0; x < 32; x++) {
                    const Colour c = leaf(x, y, 401, 0.45, 32);
                    set(cell, x, y, hashnoise(x, y, 450 + uint32_t(i)) > 0.97 ? shade(c, 0.8) : c);
                }
        }, TileInfo{"canopy full " + std::to_string(i), false, 0, 0});
    world.undergrowth = a.draw([](Image& cell) {
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) {
                Colour c = mix(rgb(0x14240f), rgb(0x2a4020), fractalnoise(x, y, 32, 420));
                if (x % 11 == 3 || x % 13 == 8) c = rgb(0x3a2a1a);
                set(cell, x, y, c);
            }
    }, TileInfo{"undergrowth", true, 0, 0});
    // Cliffs: grey rock masses with a dark face on their southern side.
    for (int mask = 1; mask < 16; mask++) {
        const double c[4] = {double(mask & 1), double((mask >> 1) & 1), double((mask >> 2) & 1),
                             double((mask >> 3) & 1)};
        auto inside = [&](int x, int y) {
            const double u = (x + 0.5) / 32.0, v = std::min((y + 0.5) / 32.0, 1.0);
            const double w = (c[0] * (1 - u) + c[1] * u) * (1 - v) + (c[2] * (1 - u) + c[3] * u) * v;
            return w + (fractalnoise(x, std::min(y, 31), 32, 430) - 0.5) * 0.5 > 0.5;
        };
        const int v = a.draw([&](Image& cell) {
            for (int y = 0; y < 32; y++)
                for (int x = 0; x < 32; x++) {
                    if (!inside(x, y)) continue;
                    const bool face = !inside(x, std::min(y + 6, 31)) || !inside(x, std::min(y + 3, 31));
                    Colour col = stone(x, y, 431, (face ? 0.62 : 1.0) * rockbump(x, y), 32);
                    if (face && x % 5 == 0) col = shade(col, 0.8);
                    if (!face && (!inside(std::max(x - 1, 0), y) || !inside(x, std::max(y - 1, 0))))
                        col = shade(col, 1.25);
                    set(cell, x, y, col);
                }
        }, TileInfo{"cliff " + std::to_string(mask), false, 0, 0});
        int corners = 0;
        for (int i = 0; i < 4; i++) corners += (mask >> i) & 1;
        a.tiles[size_t(v)].stop = corners >= 2;
        if (mask == 1) world.cliff.base = v;
    }
    for (int i = 0; i < 2; i++)
        world.cliffull[i] = a.draw([i](Image& cell) {
            for (int y = 0; y < 32; y++)
                for (int x = 0; x < 32; x++) {
                    Colour col = stone(x, y, 431, rockbump(x, y), 32);
                    if (hashnoise(x / 2, y, 440 + i) > 0.96) col = shade(col, 0.75);
                    set(cell, x, y, col);
                }
        }, TileInfo{"cliff full " + std::to_string(i), true, 0, 0});
    trees(a);
    smallthings(a);
    crafted(a);
    house(a, "house", 4, rgb(0xa8452e), rgb(0x9a6a3c), 501);
    house(a, "cottage", 3, rgb(0x4e5a6e), rgb(0xb08a5a), 502);
    gate(a);
}

OutdoorAtlases buildoutdoor()
{
    OutdoorAtlases world;
    buildground(world.ground);
    buildupper(world);
    return world;
}
