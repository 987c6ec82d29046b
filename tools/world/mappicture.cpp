// Renders a compiled map file with its atlases to a PNG the way the game draws
// it: ground, second and over layers, lit per tile corner. The picture shows
// the map by day above and at deepest night below, scaled down by an integer.
//
// Usage: mappicture <map file> <DATA directory> <output.png> [scale]
#include "imagefile.h"
#include "worldmap.h"
#include "world.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

struct Atlases {
    TgaPicture ground, upper;
};

// Draws one layer cell into the full-size picture at tile (c, r).
void drawcell(Image& out, int oy, const TgaPicture& atlas, int value, int c, int r, bool alphatest,
              const WorldMap& map, bool night)
{
    const int cols = atlas.width / 32, rows = atlas.height / 32;
    if (value < 0 || value / 16 >= rows || value % 16 >= cols) return;
    const int ax = (value % 16) * 32, ay = (value / 16) * 32;
    auto lightat = [&](int gx, int gy) {
        return double(map.light[size_t(std::min(gy, MAPW - 1) * MAPW + std::min(gx, MAPW - 1))]) / 9.0;
    };
    const double l00 = lightat(c, r), l10 = lightat(c + 1, r), l01 = lightat(c, r + 1),
                 l11 = lightat(c + 1, r + 1);
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            const uint8_t* s = &atlas.rgba[(size_t(ay + y) * size_t(atlas.width) + size_t(ax + x)) * 4];
            if (alphatest && s[3] <= 127) continue;
            const double u = (x + 0.5) / 32.0, v = (y + 0.5) / 32.0;
            const double l = (l00 * (1 - u) + l10 * u) * (1 - v) + (l01 * (1 - u) + l11 * u) * v;
            // Deepest night divides red and green by 3.5 and blue by 2.
            const double fr = std::min(1.0, night ? l / 3.5 : l), fb = std::min(1.0, night ? l / 2.0 : l);
            uint8_t* d = out.at(c * 32 + x, oy + r * 32 + y);
            d[0] = uint8_t(s[0] * fr);
            d[1] = uint8_t(s[1] * fr);
            d[2] = uint8_t(s[2] * fb);
            d[3] = 255;
        }
}

void render(Image& out, int oy, const WorldMap& map, const Atlases& a, bool night)
{
    for (int r = 0; r < map.sizey; r++)
        for (int c = 0; c < map.sizex; c++) {
            const size_t i = size_t(r * MAPW + c);
            drawcell(out, oy, a.ground, map.tile[i], c, r, false, map, night);
            if (map.tile2[i] > 0) drawcell(out, oy, a.upper, map.tile2[i], c, r, true, map, night);
        }
    for (int r = 0; r < map.sizey; r++)
        for (int c = 0; c < map.sizex; c++) {
            const size_t i = size_t(r * MAPW + c);
            if (map.tile3[i] > 0) drawcell(out, oy, a.upper, map.tile3[i], c, r, true, map, night);
        }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: %s <map file> <DATA directory> <output.png> [scale]\n", argv[0]);
        return 2;
    }
    const int scale = argc == 5 ? std::atoi(argv[4]) : 1;
    if (scale < 1 || scale > 8) {
        std::fprintf(stderr, "%s: scale must be 1 to 8\n", argv[0]);
        return 2;
    }
    WorldMap map;
    Atlases a;
    std::string error;
    const std::string data = argv[2];
    if (!readmapfile(argv[1], &map, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const char* names[2][2] = {{"/iso1.tga", "/iso2.tga"}, {"/luola1.tga", "/luola2.tga"}};
    if (map.tset < 0 || map.tset > 1 || !loadpicture(data + names[map.tset][0], &a.ground, &error) ||
        !loadpicture(data + names[map.tset][1], &a.upper, &error)) {
        std::fprintf(stderr, "%s\n", error.empty() ? "unknown tile set" : error.c_str());
        return 1;
    }
    const int w = map.sizex * 32, h = map.sizey * 32;
    Image full(w, h * 2);
    render(full, 0, map, a, false);
    render(full, h, map, a, true);
    Image out(w / scale, h * 2 / scale);
    for (int y = 0; y < out.height; y++)
        for (int x = 0; x < out.width; x++) {
            int sum[4] = {0, 0, 0, 0};
            for (int sy = 0; sy < scale; sy++)
                for (int sx = 0; sx < scale; sx++)
                    for (int k = 0; k < 4; k++) sum[k] += full.at(x * scale + sx, y * scale + sy)[k];
            for (int k = 0; k < 4; k++) out.at(x, y)[k] = uint8_t(sum[k] / (scale * scale));
        }
    if (!writepng(argv[3], out, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
