#include "worldmap.h"
#include "mapfile.h"
#include "textures.h"

#include "imagefile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>

WorldMap::WorldMap()
    : tile(MAPCELLS, 0), tile2(MAPCELLS, 0), tile3(MAPCELLS, 0), light(MAPCELLS, DAYLIGHT),
      stop(MAPCELLS, 0)
{
}

// The map file itself is read and written by the game's library; the tools
// keep the grids in vectors they can grow and compare.
bool writemapfile(const std::string& path, const WorldMap& map, std::string* error)
{
    auto data = std::make_unique<MapData>();
    data->sizex = map.sizex;
    data->sizey = map.sizey;
    data->tset = map.tset;
    int* grids[] = {data->tile, data->tile2, data->tile3, data->light, data->stop};
    const std::vector<int32_t>* from[] = {&map.tile, &map.tile2, &map.tile3, &map.light, &map.stop};
    for (int g = 0; g < 5; g++) std::copy(from[g]->begin(), from[g]->end(), grids[g]);
    std::string failure;
    if (writemap(path.c_str(), *data, failure)) return true;
    if (error) *error = failure;
    return false;
}

bool readmapfile(const std::string& path, WorldMap* map, std::string* error)
{
    auto data = std::make_unique<MapData>();
    if (const char* wrong = readmap(path.c_str(), *data, nullptr)) {
        if (error) *error = path + ": " + wrong;
        return false;
    }
    map->sizex = data->sizex;
    map->sizey = data->sizey;
    map->tset = data->tset;
    const int* grids[] = {data->tile, data->tile2, data->tile3, data->light, data->stop};
    std::vector<int32_t>* to[] = {&map->tile, &map->tile2, &map->tile3, &map->light, &map->stop};
    for (int g = 0; g < 5; g++) to[g]->assign(grids[g], grids[g] + MAPCELLS);
    return true;
}

// Integer square root, rounded down.
static long isqrt(long v)
{
    if (v <= 0) return 0;
    long r = 0, bit = 1L << 40;
    while (bit > v) bit >>= 2;
    while (bit) {
        if (v >= r + bit) {
            v -= r + bit;
            r = (r >> 1) + bit;
        } else {
            r >>= 1;
        }
        bit >>= 2;
    }
    return r;
}

void applylights(std::vector<int32_t>& light, const std::vector<LightSource>& sources)
{
    for (const LightSource& s : sources) {
        if (s.peak <= DAYLIGHT || s.radius <= 0) continue;
        for (int gy = std::max(0, s.r - s.radius); gy <= std::min(MAPW - 1, s.r + s.radius + 1); gy++)
            for (int gx = std::max(0, s.c - s.radius); gx <= std::min(MAPW - 1, s.c + s.radius + 1); gx++) {
                // Distances in half tiles from the source tile's centre, then in 1/16 tiles.
                const long dx = 2L * gx - (2L * s.c + 1), dy = 2L * gy - (2L * s.r + 1);
                const long d16 = isqrt((dx * dx + dy * dy) * 64);
                const long v = s.peak - (long(s.peak) - DAYLIGHT) * d16 / (16L * s.radius);
                int32_t& cell = light[size_t(gy * MAPW + gx)];
                if (v > cell) cell = int32_t(v);
            }
    }
}

bool checkstory(const WorldMap& map, const std::string& source, std::string* error)
{
    // A character standing on (c, r) probes the cell and the one below it.
    auto standable = [&](int c, int r) {
        return c >= 0 && r >= 0 && c < map.sizex && r + 1 < map.sizey && map.at(map.stop, c, r) == 0 &&
               map.at(map.stop, c, r + 1) == 0;
    };
    for (const StoryTile* tile : STORYTILES) {
        const StoryTile& s = *tile;
        if (!standable(s.c, s.r)) {
            if (error) *error = source + ": story tile (" + std::to_string(s.c) + ", " +
                                std::to_string(s.r) + ") (" + s.what + ") is blocked or outside the map";
            return false;
        }
    }
    std::vector<char> seen(MAPCELLS, 0);
    std::deque<int> todo{PLAYERSTART.r * MAPW + PLAYERSTART.c};
    seen[size_t(todo.front())] = 1;
    while (!todo.empty()) {
        const int at = todo.front();
        todo.pop_front();
        const int c = at % MAPW, r = at / MAPW;
        const int next[4][2] = {{c + 1, r}, {c - 1, r}, {c, r + 1}, {c, r - 1}};
        for (const auto& n : next)
            if (standable(n[0], n[1]) && !seen[size_t(n[1] * MAPW + n[0])]) {
                seen[size_t(n[1] * MAPW + n[0])] = 1;
                todo.push_back(n[1] * MAPW + n[0]);
            }
    }
    for (const StoryTile* tile : STORYTILES) {
        const StoryTile& s = *tile;
        if (!seen[size_t(s.r * MAPW + s.c)]) {
            if (error) *error = source + ": story tile (" + std::to_string(s.c) + ", " +
                                std::to_string(s.r) + ") (" + s.what +
                                ") cannot be reached on foot from the player's start";
            return false;
        }
    }
    return true;
}

bool loadpicture(const std::string& path, TgaPicture* picture, std::string* error)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (error) *error = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    TextureImage image{};
    unsigned char descriptor = 0;
    const bool read = readtga(f, &image, &descriptor);
    std::fclose(f);
    if (!read) {
        if (error) *error = path + ": not a TGA picture the game can load";
        return false;
    }
    picture->width = int(image.width);
    picture->height = int(image.height);
    picture->depth = int(image.bpp);
    picture->topfirst = (descriptor & 0x20) != 0;
    // Rows top to bottom, whichever way the file stores them.
    const size_t bytes = image.bpp / 8;
    picture->rgba.assign(size_t(picture->width) * size_t(picture->height) * 4, 255);
    for (int row = 0; row < picture->height; row++) {
        const int y = picture->topfirst ? row : picture->height - 1 - row;
        for (int x = 0; x < picture->width; x++) {
            const uint8_t* s = &image.imageData[(size_t(row) * size_t(picture->width) + size_t(x)) * bytes];
            std::copy(s, s + bytes, &picture->rgba[(size_t(y) * size_t(picture->width) + size_t(x)) * 4]);
        }
    }
    std::free(image.imageData);
    return true;
}
