#include "worldmap.h"

#include "imagefile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>

const StoryTile STORY_TILES[] = {
    {46, 9, "player start"},
    {48, 9, "friend"}, {48, 8, "friend"}, {49, 6, "friend"}, {47, 7, "friend"}, {44, 9, "friend"},
    {44, 8, "friend"}, {43, 6, "friend"}, {45, 7, "friend"}, {43, 10, "friend"}, {49, 10, "friend"},
    {11, 9, "west monster camp"}, {79, 9, "east monster camp"},
    {11, 29, "west enemy gate"}, {79, 29, "east enemy gate"},
    {53, 3, "north arrival"}, {46, 35, "south arrival"},
    {46, 12, "corpse"},
};
const int STORY_TILE_COUNT = int(sizeof(STORY_TILES) / sizeof(STORY_TILES[0]));

WorldMap::WorldMap()
    : tile(GRIDCELLS, 0), tile2(GRIDCELLS, 0), tile3(GRIDCELLS, 0), light(GRIDCELLS, DAYLIGHT),
      stop(GRIDCELLS, 0)
{
}

static void putint(std::vector<uint8_t>& out, int32_t v)
{
    const uint32_t u = uint32_t(v);
    for (int k = 0; k < 4; k++) out.push_back(uint8_t(u >> (8 * k)));
}

static int32_t getint(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

bool writemapfile(const std::string& path, const WorldMap& map, std::string* error)
{
    std::vector<uint8_t> out;
    out.reserve(size_t(MAPFILE_BYTES));
    putint(out, map.sizex);
    putint(out, map.sizey);
    for (const std::vector<int32_t>* grid : {&map.tile, &map.tile2, &map.tile3, &map.light, &map.stop})
        for (int32_t v : *grid) putint(out, v);
    putint(out, map.tset);
    return writebytes(path, out, error);
}

static bool readwhole(const std::string& path, std::vector<uint8_t>* data, std::string* error)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (error) *error = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    data->clear();
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data->insert(data->end(), buf, buf + n);
    const bool bad = std::ferror(f) != 0;
    std::fclose(f);
    if (bad) {
        if (error) *error = path + ": read failed";
        return false;
    }
    return true;
}

bool readmapfile(const std::string& path, WorldMap* map, std::string* error)
{
    std::vector<uint8_t> data;
    if (!readwhole(path, &data, error)) return false;
    if (long(data.size()) != MAPFILE_BYTES) {
        if (error) *error = path + ": " + std::to_string(data.size()) + " bytes, a map file has " +
                            std::to_string(MAPFILE_BYTES);
        return false;
    }
    const uint8_t* p = data.data();
    map->sizex = getint(p);
    map->sizey = getint(p + 4);
    p += 8;
    for (std::vector<int32_t>* grid : {&map->tile, &map->tile2, &map->tile3, &map->light, &map->stop}) {
        grid->assign(GRIDCELLS, 0);
        for (int i = 0; i < GRIDCELLS; i++, p += 4) (*grid)[size_t(i)] = getint(p);
    }
    map->tset = getint(p);
    if (map->sizex < 1 || map->sizex > GRID - 1 || map->sizey < 1 || map->sizey > GRID - 1) {
        if (error) *error = path + ": map size " + std::to_string(map->sizex) + "x" +
                            std::to_string(map->sizey) + " is outside 1..198";
        return false;
    }
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
        for (int gy = std::max(0, s.r - s.radius); gy <= std::min(GRID - 1, s.r + s.radius + 1); gy++)
            for (int gx = std::max(0, s.c - s.radius); gx <= std::min(GRID - 1, s.c + s.radius + 1); gx++) {
                // Distances in half tiles from the source tile's centre, then in 1/16 tiles.
                const long dx = 2L * gx - (2L * s.c + 1), dy = 2L * gy - (2L * s.r + 1);
                const long d16 = isqrt((dx * dx + dy * dy) * 64);
                const long v = s.peak - (long(s.peak) - DAYLIGHT) * d16 / (16L * s.radius);
                int32_t& cell = light[size_t(gy * GRID + gx)];
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
    for (int i = 0; i < STORY_TILE_COUNT; i++) {
        const StoryTile& s = STORY_TILES[i];
        if (!standable(s.c, s.r)) {
            if (error) *error = source + ": story tile (" + std::to_string(s.c) + ", " +
                                std::to_string(s.r) + ") (" + s.what + ") is blocked or outside the map";
            return false;
        }
    }
    std::vector<char> seen(GRIDCELLS, 0);
    std::deque<int> todo{STORY_TILES[0].r * GRID + STORY_TILES[0].c};
    seen[size_t(todo.front())] = 1;
    while (!todo.empty()) {
        const int at = todo.front();
        todo.pop_front();
        const int c = at % GRID, r = at / GRID;
        const int next[4][2] = {{c + 1, r}, {c - 1, r}, {c, r + 1}, {c, r - 1}};
        for (const auto& n : next)
            if (standable(n[0], n[1]) && !seen[size_t(n[1] * GRID + n[0])]) {
                seen[size_t(n[1] * GRID + n[0])] = 1;
                todo.push_back(n[1] * GRID + n[0]);
            }
    }
    for (int i = 1; i < STORY_TILE_COUNT; i++) {
        const StoryTile& s = STORY_TILES[i];
        if (!seen[size_t(s.r * GRID + s.c)]) {
            if (error) *error = source + ": story tile (" + std::to_string(s.c) + ", " +
                                std::to_string(s.r) + ") (" + s.what +
                                ") cannot be reached on foot from the player's start";
            return false;
        }
    }
    return true;
}

static bool parsetga(const std::string& path, const std::vector<uint8_t>& data, TgaPicture* picture,
                     bool pixels, std::string* error)
{
    static const uint8_t header[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    if (data.size() < 18 || std::memcmp(data.data(), header, 12) != 0) {
        if (error) *error = path + ": not an uncompressed true-colour TGA";
        return false;
    }
    picture->width = data[12] | data[13] << 8;
    picture->height = data[14] | data[15] << 8;
    picture->depth = data[16];
    picture->topfirst = (data[17] & 0x20) != 0;
    if (picture->width == 0 || picture->height == 0 || (picture->depth != 24 && picture->depth != 32)) {
        if (error) *error = path + ": TGA size or depth the game cannot load";
        return false;
    }
    const size_t bytes = size_t(picture->depth / 8);
    const size_t need = 18 + size_t(picture->width) * size_t(picture->height) * bytes;
    if (data.size() < need) {
        if (error) *error = path + ": TGA file is cut short";
        return false;
    }
    if (!pixels) return true;
    picture->rgba.assign(size_t(picture->width) * size_t(picture->height) * 4, 255);
    for (int row = 0; row < picture->height; row++) {
        const int y = picture->topfirst ? row : picture->height - 1 - row;
        for (int x = 0; x < picture->width; x++) {
            const uint8_t* s = &data[18 + (size_t(row) * size_t(picture->width) + size_t(x)) * bytes];
            uint8_t* d = &picture->rgba[(size_t(y) * size_t(picture->width) + size_t(x)) * 4];
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
            d[3] = bytes == 4 ? s[3] : 255;
        }
    }
    return true;
}

bool readtgaheader(const std::string& path, TgaPicture* picture, std::string* error)
{
    std::vector<uint8_t> data;
    return readwhole(path, &data, error) && parsetga(path, data, picture, false, error);
}

bool readtga(const std::string& path, TgaPicture* picture, std::string* error)
{
    std::vector<uint8_t> data;
    return readwhole(path, &data, error) && parsetga(path, data, picture, true, error);
}
