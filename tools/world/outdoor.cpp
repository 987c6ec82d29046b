// The outdoor ground atlas (iso1): plain terrains and the transitions between
// them, every texture tileable so that neighbouring cells meet without seams.
#include "atlas.h"
#include "paint.h"

#include <cmath>

namespace {

Colour grass(int x, int y, uint32_t seed)
{
    const double n = fractalnoise(x, y, 32, 11);
    Colour c = mix(rgb(0x3d6e2e), rgb(0x5f9a43), n);
    const double blade = hashnoise(x, y, seed);
    if (blade > 0.86) c = shade(c, 1.18);
    else if (blade < 0.12) c = shade(c, 0.82);
    return c;
}

Colour dirt(int x, int y, uint32_t seed)
{
    const double n = fractalnoise(x, y, 32, 21);
    Colour c = mix(rgb(0x7a5a3a), rgb(0x9a7650), n);
    const double h = hashnoise(x, y, seed);
    if (h > 0.93) c = rgb(0xb09270);
    else if (h < 0.06) c = shade(c, 0.8);
    return c;
}

Colour sand(int x, int y, uint32_t seed)
{
    const double n = fractalnoise(x, y, 32, 31);
    Colour c = mix(rgb(0xc9b37c), rgb(0xe0cf98), n);
    const double h = hashnoise(x, y, seed);
    if (h > 0.9) c = shade(c, 1.06);
    else if (h < 0.08) c = shade(c, 0.9);
    return c;
}

Colour water(int x, int y, uint32_t seed)
{
    const double n = fractalnoise(x, y, 32, 41);
    Colour c = mix(rgb(0x27527e), rgb(0x3a6f9c), n);
    // Short ripples that repeat with the tile.
    const double wave = std::sin((x + y * 0.5 + n * 12) * 2 * M_PI / 16.0);
    if (wave > 0.93 && hashnoise(x / 3, y, seed) > 0.4) c = mix(c, rgb(0x8fb8d8), 0.6);
    return c;
}

Colour paving(int x, int y, uint32_t seed)
{
    // Slabs of 16 x 8 pixels in a running bond.
    const int row = y / 8;
    const int sx = (x + (row % 2) * 8) % 32;
    const int slab = sx / 16 + row * 2;
    Colour c = mix(rgb(0x8a8a86), rgb(0xa9a69c), hashnoise(slab, row, 51));
    c = shade(c, 0.92 + 0.16 * fractalnoise(x, y, 32, 52));
    if (y % 8 == 7 || sx % 16 == 15) c = rgb(0x5e5d58);
    else if (y % 8 == 0 || sx % 16 == 0) c = shade(c, 1.1);
    if (hashnoise(x, y, seed) > 0.95) c = shade(c, 0.85);
    return c;
}

Colour soil(int x, int y, uint32_t seed)
{
    const double n = fractalnoise(x, y, 32, 61);
    Colour c = mix(rgb(0x3e3128), rgb(0x5a4634), n);
    const double h = hashnoise(x, y, seed);
    if (h > 0.95) c = rgb(0x8a8580);       // ash
    else if (h < 0.04) c = rgb(0x2a211b);
    return c;
}

Colour terrain(Terrain t, int x, int y)
{
    switch (t) {
    case GRASS: return grass(x, y, 1);
    case DIRT: return dirt(x, y, 2);
    case SAND: return sand(x, y, 3);
    case WATER: return water(x, y, 4);
    case PAVING: return paving(x, y, 5);
    case SOIL: return soil(x, y, 6);
    default: return grass(x, y, 1);
    }
}

// How a transition looks right at its border, seen from each side.
Colour border(Terrain a, Terrain b, bool onb, double edge, const Colour& c)
{
    const double e = std::fabs(edge);
    if (onb) {
        if (b == WATER && e < 0.09) return mix(c, rgb(0x6f9fbf), 0.55);   // shallow rim
        if (b == DIRT && e < 0.05) return shade(c, 0.82);
        if (b == PAVING && e < 0.05) return rgb(0x6a6862);
        if (b == SOIL && e < 0.06) return shade(c, 1.15);
        return c;
    }
    if (b == WATER && e < 0.05) return mix(c, rgb(0xf2ecd4), 0.6);        // surf on the sand
    if (a == GRASS && e < 0.06) return shade(c, 0.8);                     // grass overhang
    return c;
}

void plain(Atlas& atlas, const char* name, const std::function<Colour(int, int)>& f)
{
    atlas.draw([&](Image& cell) {
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) set(cell, x, y, f(x, y));
    }, TileInfo{name, false, 0, 0});
}

void groundrow0(Atlas& g)
{
    plain(g, "grass", [](int x, int y) { return grass(x, y, 1); });
    plain(g, "grass light", [](int x, int y) { return shade(grass(x, y, 7), 1.06); });
    g.draw([](Image& cell) {
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) set(cell, x, y, grass(x, y, 1));
        Rng rng(71);
        const int colours[3] = {0xf0e060, 0xf4f4f0, 0xd070c0};
        for (int i = 0; i < 7; i++) {
            const int fx = 2 + rng.below(28), fy = 2 + rng.below(28);
            const Colour c = rgb(colours[rng.below(3)]);
            set(cell, fx, fy, c);
            set(cell, fx + 1, fy, shade(c, 0.8));
            set(cell, fx, fy + 1, shade(c, 0.8));
            set(cell, fx + 1, fy + 1, rgb(0x2e5a22));
        }
    }, TileInfo{"grass flowers", false, 0, 0});
    g.draw([](Image& cell) {
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) set(cell, x, y, grass(x, y, 1));
        Rng rng(72);
        for (int i = 0; i < 5; i++) {
            const int fx = 3 + rng.below(26), fy = 6 + rng.below(24);
            for (int k = -2; k <= 2; k++)
                line(cell, fx, fy, fx + k * 1.5, fy - 4 - std::abs(k % 2) * 2, rgb(0x7bb255));
        }
    }, TileInfo{"grass tufts", false, 0, 0});
    plain(g, "dirt", [](int x, int y) { return dirt(x, y, 2); });
    g.draw([](Image& cell) {
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) set(cell, x, y, dirt(x, y, 2));
        Rng rng(73);
        for (int i = 0; i < 6; i++)
            shadedellipse(cell, 3 + rng.below(26), 3 + rng.below(26), 1.6, 1.2, rgb(0x9c978c), 74, 0.2);
    }, TileInfo{"dirt pebbles", false, 0, 0});
    plain(g, "sand", [](int x, int y) { return sand(x, y, 3); });
    plain(g, "paving", [](int x, int y) { return paving(x, y, 5); });
    plain(g, "camp soil", [](int x, int y) { return soil(x, y, 6); });
    plain(g, "water", [](int x, int y) { return water(x, y, 4); });
    plain(g, "deep water", [](int x, int y) { return shade(water(x, y, 8), 0.88); });
    plain(g, "gate floor", [](int x, int y) {
        const Colour base = mix(rgb(0x2a2430), rgb(0x3e3446), fractalnoise(x, y, 32, 81));
        if ((x % 16 == 0) || (y % 16 == 0)) return shade(base, 0.7);
        return hashnoise(x, y, 82) > 0.97 ? rgb(0x7a3a8a) : base;
    });
    plain(g, "planks", [](int x, int y) {
        const int plank = y / 8;
        Colour c = mix(rgb(0x7a5430), rgb(0x9a6c40), hashnoise(plank, 0, 91));
        c = shade(c, 0.9 + 0.2 * tilenoise(x * 0.25, y * 4, 4, 32, 92));
        if (y % 8 == 7) return rgb(0x3e2a18);
        if ((x == 4 || x == 27) && y % 8 == 3) return rgb(0x2a2a2a);
        return c;
    });
    plain(g, "field", [](int x, int y) {
        Colour c = dirt(x, y, 9);
        if (y % 8 < 3) c = shade(c, 0.75);
        else if (y % 8 == 5 && hashnoise(x, y, 93) > 0.3) c = rgb(0x5c8a34);
        return c;
    });
    plain(g, "dark grass", [](int x, int y) { return shade(grass(x, y, 10), 0.78); });
    g.draw([](Image& cell) {
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) set(cell, x, y, sand(x, y, 3));
        Rng rng(94);
        for (int i = 0; i < 4; i++)
            shadedellipse(cell, 4 + rng.below(24), 4 + rng.below(24), 1.8, 1.3, rgb(0xf4ece0), 95, 0.1);
    }, TileInfo{"sand shells", false, 0, 0});
}

}  // namespace

static const char* const TERRAIN_NAMES[TERRAINS] = {"grass", "dirt", "sand", "water", "paving", "soil"};

void buildground(Atlas& g)
{
    groundrow0(g);
    for (const TerrainPair& p : TERRAIN_PAIRS)
        for (int mask = 0; mask < 16; mask++) {
            const Image cell = drawmask(mask, 100 + p.row, 0.55, [&](int x, int y, double, double edge) {
                const bool onb = edge > 0;
                return border(p.a, p.b, onb, edge, terrain(onb ? p.b : p.a, x, y));
            });
            int corners = 0;
            for (int i = 0; i < 4; i++) corners += (mask >> i) & 1;
            // Water blocks where it fills half the cell or more.
            const bool stop = p.b == WATER && corners >= 2;
            const std::string name = std::string(TERRAIN_NAMES[p.a]) + "/" + TERRAIN_NAMES[p.b] +
                                     " " + std::to_string(mask);
            g.add(cell, 0, 0, TileInfo{name, stop, 0, 0});
        }
    g.tiles[G_WATER].stop = true;
    g.tiles[G_DEEPWATER].stop = true;
}
