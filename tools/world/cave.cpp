// The cave atlases (luola1 ground, luola2 layers): rock floor and gravel,
// cave walls as transition masses, crystals, torches and cave litter.
#include "atlas.h"
#include "paint.h"

#include <cmath>

namespace {

Colour floorstone(int x, int y, uint32_t seed)
{
    Colour c = mix(rgb(0x3a3532), rgb(0x5a524a), fractalnoise(x, y, 32, seed));
    const double h = hashnoise(x, y, seed + 1);
    if (h > 0.94) c = shade(c, 1.25);
    else if (h < 0.05) c = shade(c, 0.7);
    return c;
}

Colour wallstone(int x, int y, double lit)
{
    Colour c = mix(rgb(0x4a4240), rgb(0x6e645c), fractalnoise(x, y, 32, 611));
    return shade(c, lit);
}

void plain(Atlas& atlas, const std::string& name, bool stop, const std::function<Colour(int, int)>& f)
{
    atlas.draw([&](Image& cell) {
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) set(cell, x, y, f(x, y));
    }, TileInfo{name, stop, 0, 0});
}

void crystal(Image& img, double cx, double base, double h, double w, const Colour& c)
{
    for (int y = int(base - h); y < int(base); y++) {
        const double t = (base - y) / h;
        const double half = t > 0.75 ? w * (1 - t) * 4 : w;
        for (int x = int(cx - half); x <= int(cx + half); x++) {
            Colour col = shade(c, x < cx ? 1.3 : 0.8);
            if (std::fabs(x + 0.5 - cx) < 1) col = shade(c, 1.6);
            set(img, x, y, col);
        }
    }
}

}  // namespace

CaveAtlases buildcave()
{
    CaveAtlases cave;
    Atlas& g = cave.ground;
    for (int i = 0; i < 4; i++)
        plain(g, "floor " + std::to_string(i), false, [i](int x, int y) { return floorstone(x, y, 601 + i * 7); });
    plain(g, "gravel", false, [](int x, int y) {
        Colour c = floorstone(x, y, 621);
        if (hashnoise(x / 2, y / 2, 622) > 0.7) c = shade(c, 1.3);
        return c;
    });
    plain(g, "puddle", true, [](int x, int y) {
        const double d = std::hypot(x - 15.5, y - 15.5) / 15 + (fractalnoise(x, y, 32, 623) - 0.5) * 0.4;
        return d < 0.8 ? mix(rgb(0x1a2a3a), rgb(0x2a4a5a), fractalnoise(x, y, 32, 624)) : floorstone(x, y, 601);
    });
    plain(g, "mossy floor", false, [](int x, int y) {
        Colour c = floorstone(x, y, 601);
        if (fractalnoise(x, y, 32, 625) > 0.55) c = mix(c, rgb(0x3a5a2a), 0.6);
        return c;
    });
    plain(g, "slab floor", false, [](int x, int y) {
        Colour c = floorstone(x, y, 626);
        if (x % 16 == 0 || y % 16 == 0) c = shade(c, 0.6);
        return c;
    });
    // Floor falling into a dark chasm; row 1, value 16 + mask.
    while (g.tiles.size() < 16) plain(g, "floor", false, [](int x, int y) { return floorstone(x, y, 601); });
    for (int mask = 0; mask < 16; mask++) {
        const Image cell = drawmask(mask, 630, 0.6, [](int x, int y, double, double edge) {
            if (edge > 0.06) return mix(rgb(0x08070a), rgb(0x141018), fractalnoise(x, y, 32, 631));
            if (edge > 0) return rgb(0x241e1c);
            return floorstone(x, y, 601);
        });
        int corners = 0;
        for (int i = 0; i < 4; i++) corners += (mask >> i) & 1;
        g.add(cell, 0, 0, TileInfo{"chasm " + std::to_string(mask), corners >= 2, 0, 0});
    }

    Atlas& a = cave.upper;
    for (int mask = 1; mask < 16; mask++) {
        const Image cell = drawmask(mask, 640, 0.6, [](int x, int y, double, double edge) {
            if (edge <= 0) return Colour{0, 0, 0, 0};
            double lit = edge < 0.08 ? 0.6 : 1.0 + (fractalnoise(x + 3, y + 3, 32, 611) - 0.5) * 0.4;
            return wallstone(x, y, lit);
        });
        int corners = 0;
        for (int i = 0; i < 4; i++) corners += (mask >> i) & 1;
        const int v = a.add(cell, 0, 0, TileInfo{"wall " + std::to_string(mask), corners >= 2, 0, 0});
        if (mask == 1) cave.wall.base = v;
    }
    a.draw([](Image& cell) {
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) set(cell, x, y, wallstone(x, y, 1.0));
    }, TileInfo{"wall full", true, 0, 0});
    const int colours[3] = {0x5080ff, 0xb050f0, 0x40e0c0};
    for (int i = 0; i < 3; i++) {
        Image cell(32, 32);
        softshadow(cell, 17, 27, 12, 4, 0.5);
        crystal(cell, 10, 28, 16, 3, rgb(colours[i]));
        crystal(cell, 17, 28, 24, 4, rgb(colours[i]));
        crystal(cell, 24, 28, 13, 3, rgb(colours[i]));
        a.add(cell, 0, 0, TileInfo{"crystal " + std::to_string(i), true, 20, 3});
    }
    {
        Image cell(32, 32);
        fillrect(cell, 14, 14, 17, 29, rgb(0x4a3020));
        for (int y = 2; y < 14; y++)
            for (int x = 10; x < 22; x++) {
                const double t = (14 - y) / 12.0;
                if (std::fabs(x + 0.5 - 16) < 5 * (1 - t)) set(cell, x, y, mix(rgb(0xffe060), rgb(0xe04010), t));
            }
        a.add(cell, 0, 0, TileInfo{"torch", true, 30, 4});
    }
    {
        Image cell(32, 32);
        softshadow(cell, 18, 28, 10, 3, 0.5);
        for (int y = 4; y < 29; y++) {
            const double half = (y - 4) * 8.0 / 25 + 1;
            for (int x = int(16 - half); x <= int(16 + half); x++)
                set(cell, x, y, wallstone(x, y, x < 16 ? 1.2 : 0.8));
        }
        a.add(cell, 0, 0, TileInfo{"stalagmite", true, 0, 0});
    }
    {
        Image cell(32, 32);
        line(cell, 5, 22, 15, 18, rgb(0xe4dcc4));
        shadedellipse(cell, 21, 13, 6, 5, rgb(0xece4cc), 650, 0.1);
        set(cell, 19, 13, rgb(0x202020));
        set(cell, 23, 13, rgb(0x202020));
        a.add(cell, 0, 0, TileInfo{"bones", false, 0, 0});
    }
    {
        Image cell(32, 32);
        for (int i = 0; i < 4; i++) {
            const double mx = 7 + i * 6, my = 16 + (i % 2) * 7;
            line(cell, mx, my, mx, my + 5, rgb(0xb0e0d0));
            shadedellipse(cell, mx, my, 3.5, 2.2, rgb(0x50f0c0), 660 + i, 0.1);
        }
        a.add(cell, 0, 0, TileInfo{"glowing mushrooms", false, 16, 2});
    }
    return cave;
}
