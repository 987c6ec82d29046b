// Usage: levelsketch <output map.json>
#include "sketch.h"
#include "worldmap.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

Sketchmap::Sketchmap(const OutdoorAtlases& natlases) : atlases(natlases)
{
    for (int y = 0; y <= SKETCH_H; y++)
        for (int x = 0; x <= SKETCH_W; x++) {
            terrain[y][x] = GRASS;
            forest[y][x] = false;
            cliff[y][x] = false;
        }
    for (int r = 0; r < SKETCH_H; r++)
        for (int c = 0; c < SKETCH_W; c++) {
            ground[r][c] = -1;
            second[r][c] = 0;
            over[r][c] = 0;
            keepclear[r][c] = false;
        }
    for (int i = 0; i < STORY_TILE_COUNT; i++)
        for (int r = STORY_TILES[i].r - 1; r <= STORY_TILES[i].r + 2; r++)
            for (int c = STORY_TILES[i].c - 1; c <= STORY_TILES[i].c + 1; c++)
                if (r >= 0 && c >= 0 && r < SKETCH_H && c < SKETCH_W) keepclear[r][c] = true;
}

void Sketchmap::disc(double cx, double cy, double radius, Terrain t)
{
    for (int y = 0; y <= SKETCH_H; y++)
        for (int x = 0; x <= SKETCH_W; x++)
            if (std::hypot(x - cx, y - cy) <= radius) terrain[y][x] = t;
}

void Sketchmap::forestdisc(double cx, double cy, double radius, bool on)
{
    for (int y = 0; y <= SKETCH_H; y++)
        for (int x = 0; x <= SKETCH_W; x++)
            if (std::hypot(x - cx, y - cy) <= radius) forest[y][x] = on;
}

void Sketchmap::cliffdisc(double cx, double cy, double radius, bool on)
{
    for (int y = 0; y <= SKETCH_H; y++)
        for (int x = 0; x <= SKETCH_W; x++)
            if (std::hypot(x - cx, y - cy) <= radius) cliff[y][x] = on;
}

static double segdistance(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay;
    const double len = dx * dx + dy * dy;
    double t = len > 0 ? ((px - ax) * dx + (py - ay) * dy) / len : 0;
    t = std::max(0.0, std::min(1.0, t));
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

void Sketchmap::road(const std::vector<std::pair<double, double>>& points, double halfwidth, Terrain t)
{
    for (size_t i = 0; i + 1 < points.size(); i++) {
        const auto [ax, ay] = points[i];
        const auto [bx, by] = points[i + 1];
        for (int y = 0; y <= SKETCH_H; y++)
            for (int x = 0; x <= SKETCH_W; x++)
                if (segdistance(x, y, ax, ay, bx, by) <= halfwidth) terrain[y][x] = t;
        // Cells whose centre is near the road stay clear of things.
        for (int r = 0; r < SKETCH_H; r++)
            for (int c = 0; c < SKETCH_W; c++)
                if (segdistance(c + 0.5, r + 0.5, ax, ay, bx, by) <= halfwidth + 0.5) keepclear[r][c] = true;
    }
}

bool Sketchmap::cellfree(int c, int r, bool needopen) const
{
    if (c < 1 || r < 1 || c >= SKETCH_W - 1 || r >= SKETCH_H - 1) return false;
    if (needopen && keepclear[r][c]) return false;
    for (int y = r; y <= r + 1; y++)
        for (int x = c; x <= c + 1; x++)
            if (forest[y][x] || cliff[y][x] || terrain[y][x] == WATER) return false;
    return true;
}

bool Sketchmap::fits(const std::string& name, int c, int r) const
{
    const Thing* t = atlases.upper.thing(name);
    if (!t) return false;
    for (const Piece& p : t->pieces) {
        const int pc = c + p.dx, pr = r + p.dy;
        if (!cellfree(pc, pr, true)) return false;
        if ((p.layer == Layer::Second ? second : over)[pr][pc] != 0) return false;
    }
    return true;
}

bool Sketchmap::place(const std::string& name, int c, int r)
{
    if (!fits(name, c, r)) return false;
    placeforce(name, c, r);
    return true;
}

void Sketchmap::placeforce(const std::string& name, int c, int r)
{
    const Thing* t = atlases.upper.thing(name);
    if (!t) {
        std::fprintf(stderr, "levelsketch: no thing called %s\n", name.c_str());
        return;
    }
    for (const Piece& p : t->pieces) {
        const int pc = c + p.dx, pr = r + p.dy;
        if (pc < 0 || pr < 0 || pc >= SKETCH_W || pr >= SKETCH_H) continue;
        (p.layer == Layer::Second ? second : over)[pr][pc] = p.value;
    }
}

void Sketchmap::scatter(const std::vector<std::string>& names, int c0, int r0, int c1, int r1, int count, Rng& rng)
{
    for (int i = 0; i < count; i++) {
        const std::string& name = names[size_t(rng.below(int(names.size())))];
        for (int tries = 0; tries < 12; tries++)
            if (place(name, c0 + rng.below(c1 - c0 + 1), r0 + rng.below(r1 - r0 + 1))) break;
    }
}

void Sketchmap::finish()
{
    for (int r = 0; r < SKETCH_H; r++)
        for (int c = 0; c < SKETCH_W; c++) {
            const int variant = int(hashnoise(c, r, 9001) * 1000);
            if (ground[r][c] < 0) {
                const Terrain corners[4] = {terrain[r][c], terrain[r][c + 1], terrain[r + 1][c],
                                            terrain[r + 1][c + 1]};
                ground[r][c] = groundtile(corners, variant);
            }
            const int fmask = forest[r][c] | forest[r][c + 1] << 1 | forest[r + 1][c] << 2 |
                              forest[r + 1][c + 1] << 3;
            if (fmask == 15) {
                if (!over[r][c]) over[r][c] = atlases.canopyfull[variant % 3];
                if (!second[r][c]) second[r][c] = atlases.undergrowth;
            } else if (fmask && !over[r][c]) {
                over[r][c] = atlases.canopy.tile(fmask);
            }
            const int cmask = cliff[r][c] | cliff[r][c + 1] << 1 | cliff[r + 1][c] << 2 |
                              cliff[r + 1][c + 1] << 3;
            if (cmask == 15 && !second[r][c]) second[r][c] = atlases.cliffull[variant % 2];
            else if (cmask && !second[r][c]) second[r][c] = atlases.cliff.tile(cmask);
        }
}

static int tilecount(const Atlas& a)
{
    return a.picture().height / 32 * 16;
}

// One map row per line; `hasempty` layers keep 0 for an empty cell.
static std::string griddata(const int grid[SKETCH_H][SKETCH_W], int firstgid, bool hasempty)
{
    std::ostringstream out;
    out << "[\n";
    for (int r = 0; r < SKETCH_H; r++) {
        out << "    ";
        for (int c = 0; c < SKETCH_W; c++) {
            const int v = grid[r][c];
            out << (hasempty && v <= 0 ? 0 : v + firstgid);
            if (c + 1 < SKETCH_W || r + 1 < SKETCH_H) out << ",";
        }
        out << "\n";
    }
    out << "   ]";
    return out.str();
}

std::string Sketchmap::json() const
{
    using nlohmann::json;
    const int groundfirst = 1;
    const int upperfirst = groundfirst + tilecount(atlases.ground);
    const int markerfirst = upperfirst + tilecount(atlases.upper);
    json j;
    j["type"] = "map";
    j["version"] = "1.10";
    j["tiledversion"] = "1.10.2";
    j["orientation"] = "orthogonal";
    j["renderorder"] = "right-down";
    j["width"] = SKETCH_W;
    j["height"] = SKETCH_H;
    j["tilewidth"] = 32;
    j["tileheight"] = 32;
    j["infinite"] = false;
    j["compressionlevel"] = -1;
    j["properties"] = json::array({{{"name", "tset"}, {"type", "int"}, {"value", 0}}});
    j["tilesets"] = json::array({{{"firstgid", groundfirst}, {"source", "iso1.tsj"}},
                                 {{"firstgid", upperfirst}, {"source", "iso2.tsj"}},
                                 {{"firstgid", markerfirst}, {"source", "markers.tsj"}}});
    const char* names[4] = {"ground", "second", "over", "stop"};
    json layers = json::array();
    for (int i = 0; i < 4; i++)
        layers.push_back({{"type", "tilelayer"}, {"id", i + 1}, {"name", names[i]}, {"width", SKETCH_W},
                          {"height", SKETCH_H}, {"x", 0}, {"y", 0}, {"opacity", 1}, {"visible", i != 3},
                          {"data", std::string("@DATA") + char('0' + i) + "@"}});
    json objects = json::array();
    int id = 1;
    for (const Lightmark& l : lights)
        objects.push_back({{"id", id++}, {"name", ""}, {"type", ""}, {"point", true}, {"x", l.c * 32 + 16},
                           {"y", l.r * 32 + 16}, {"width", 0}, {"height", 0}, {"rotation", 0}, {"visible", true},
                           {"properties", json::array({{{"name", "light"}, {"type", "int"}, {"value", l.light}},
                                                       {{"name", "radius"}, {"type", "int"}, {"value", l.radius}}})}});
    layers.push_back({{"type", "objectgroup"}, {"id", 5}, {"name", "light"}, {"draworder", "topdown"},
                      {"x", 0}, {"y", 0}, {"opacity", 1}, {"visible", true}, {"objects", objects}});
    j["layers"] = layers;
    j["nextlayerid"] = 6;
    j["nextobjectid"] = id;
    std::string text = j.dump(1);
    static int empty[SKETCH_H][SKETCH_W];
    const std::string data[4] = {griddata(ground, groundfirst, false), griddata(second, upperfirst, true),
                                 griddata(over, upperfirst, true), griddata(empty, markerfirst, true)};
    for (int i = 0; i < 4; i++) {
        const std::string mark = std::string("\"@DATA") + char('0' + i) + "@\"";
        text.replace(text.find(mark), mark.size(), data[i]);
    }
    return text + "\n";
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output map.json>\n", argv[0]);
        return 2;
    }
    const OutdoorAtlases atlases = buildoutdoor();
    static Sketchmap m(atlases);
    drawedges(m);
    drawvillage(m);
    drawcamps(m);
    drawgates(m);
    drawwilderness(m);
    m.finish();
    std::ofstream out(argv[1], std::ios::binary);
    out << m.json();
    return out ? 0 : 1;
}
