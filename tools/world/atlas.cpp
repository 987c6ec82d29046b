#include "atlas.h"

#include "paint.h"

#include <algorithm>
#include <cmath>

namespace {
const int MAXROWS = 32;
}

const TerrainPair TERRAIN_PAIRS[5] = {
    {GRASS, DIRT, 1}, {GRASS, SAND, 2}, {SAND, WATER, 3}, {GRASS, PAVING, 4}, {GRASS, SOIL, 5},
};

Atlas::Atlas(std::string nname, bool nalpha) : name(std::move(nname)), alpha(nalpha),
    cells(512, MAXROWS * 32)
{
    // Cell 0 of a layer atlas means "empty" and is never drawn; keep it clear.
    if (alpha) tiles.push_back(TileInfo{"empty", false, 0, 0});
}

int Atlas::add(const Image& src, int sx, int sy, const TileInfo& info)
{
    const int value = int(tiles.size());
    if (value >= 16 * MAXROWS) return 0;
    putcell(cells, value, src, sx, sy);
    if (!alpha) {
        // Ground atlases are opaque.
        const int ax = (value % 16) * 32, ay = (value / 16) * 32;
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) cells.at(ax + x, ay + y)[3] = 255;
    }
    tiles.push_back(info);
    return value;
}

int Atlas::draw(const std::function<void(Image&)>& painter, const TileInfo& info)
{
    Image cell(32, 32);
    painter(cell);
    return add(cell, 0, 0, info);
}

const Thing& Atlas::addthing(const std::string& thingname, int w, int h, const Image& second,
                             const Image& over, const std::vector<bool>& stops,
                             const std::vector<int>& lights, int radius)
{
    Thing t;
    t.name = thingname;
    t.width = w;
    t.height = h;
    for (int cy = 0; cy < h; cy++)
        for (int cx = 0; cx < w; cx++) {
            const size_t i = size_t(cy * w + cx);
            const bool stop = i < stops.size() && stops[i];
            const int light = i < lights.size() ? lights[i] : 0;
            const bool hassecond = !cellempty(second, cx * 32, cy * 32);
            const bool hasover = !cellempty(over, cx * 32, cy * 32);
            // Blocking and light belong to the lower piece when the cell has both.
            bool facts = true;
            const std::string where = thingname + " " + std::to_string(cx) + "," + std::to_string(cy);
            if (hassecond) {
                TileInfo info{where, stop, light, light ? radius : 0};
                t.pieces.push_back(Piece{cx, cy, Layer::Second, add(second, cx * 32, cy * 32, info)});
                facts = false;
            }
            if (hasover) {
                TileInfo info{where + " over", facts && stop, facts ? light : 0,
                              facts && light ? radius : 0};
                t.pieces.push_back(Piece{cx, cy, Layer::Over, add(over, cx * 32, cy * 32, info)});
            }
        }
    things.push_back(t);
    return things.back();
}

const Thing* Atlas::thing(const std::string& thingname) const
{
    for (const Thing& t : things)
        if (t.name == thingname) return &t;
    return nullptr;
}

Image Atlas::picture() const
{
    const int rows = std::max(1, int(tiles.size() + 15) / 16);
    Image out(512, rows * 32);
    std::copy(cells.rgba.begin(), cells.rgba.begin() + out.rgba.size(), out.rgba.begin());
    return out;
}

int groundtile(const Terrain corners[4], int variant)
{
    bool same = true;
    for (int i = 1; i < 4; i++) same = same && corners[i] == corners[0];
    if (same) {
        switch (corners[0]) {
        case GRASS: {
            static const int grass[8] = {G_GRASS, G_GRASS, G_GRASS2, G_GRASS, G_TUFTS,
                                         G_GRASS2, G_FLOWERS, G_GRASS};
            return grass[variant & 7];
        }
        case DIRT: return (variant & 7) == 3 ? G_PEBBLES : G_DIRT;
        case SAND: return (variant & 15) == 5 ? G_SHELLS : G_SAND;
        case WATER: return (variant & 3) == 0 ? G_DEEPWATER : G_WATER;
        case PAVING: return G_PAVING;
        case SOIL: return G_SOIL;
        default: return G_GRASS;
        }
    }
    // A pair that matches all four corners gives a transition tile.
    for (const TerrainPair& p : TERRAIN_PAIRS) {
        int mask = 0;
        bool fits = true;
        for (int i = 0; i < 4; i++) {
            if (corners[i] == p.b) mask |= 1 << i;
            else if (corners[i] != p.a) fits = false;
        }
        if (fits) return p.row * 16 + mask;
    }
    // Three terrains meet: let the one that is not grass and has the most
    // corners win, against grass.
    int count[TERRAINS] = {};
    for (int i = 0; i < 4; i++) count[corners[i]]++;
    int best = DIRT;
    for (int t = DIRT; t < TERRAINS; t++)
        if (count[t] > count[best]) best = t;
    for (const TerrainPair& p : TERRAIN_PAIRS)
        if (p.a == GRASS && p.b == best) {
            int mask = 0;
            for (int i = 0; i < 4; i++)
                if (corners[i] == best) mask |= 1 << i;
            return p.row * 16 + mask;
        }
    return G_GRASS;
}

Image drawmask(int mask, uint32_t seed, double roughness,
               const std::function<Colour(int x, int y, double weight, double edge)>& painter)
{
    Image cell(32, 32);
    const double c[4] = {double(mask & 1), double((mask >> 1) & 1), double((mask >> 2) & 1),
                         double((mask >> 3) & 1)};
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            const double u = (x + 0.5) / 32.0, v = (y + 0.5) / 32.0;
            const double w = (c[0] * (1 - u) + c[1] * u) * (1 - v) + (c[2] * (1 - u) + c[3] * u) * v;
            const double n = (fractalnoise(x, y, 32, seed) - 0.5) * roughness;
            const double weight = w + n;
            set(cell, x, y, painter(x, y, weight, weight - 0.5));
        }
    return cell;
}
