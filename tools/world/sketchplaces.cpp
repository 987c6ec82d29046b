// The places of the level: forest, coast and sea around the edges, the start
// village in the north, the monster camps west and east, the enemies' gates
// in the cliffs south of them, and the wilderness between with its roads.
#include "sketch.h"
#include "worldmap.h"

#include <cmath>
#include <cstdio>

namespace {

void must(Sketchmap& m, const std::string& name, int c, int r)
{
    if (!m.place(name, c, r)) std::fprintf(stderr, "levelsketch: %s does not fit at (%d, %d)\n", name.c_str(), c, r);
}

void rect(Sketchmap& m, int x0, int y0, int x1, int y1, Terrain t)
{
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++) m.terrain[y][x] = t;
}

int wobble(int i, uint32_t seed)
{
    return int(tilenoise(i * 8, 0, 32, 4096, seed) * 2.99);
}

// A monster camp around (cx, 9): dark trodden soil, tents, a fire, litter and
// a palisade with an opening towards the middle of the map.
void camp(Sketchmap& m, int cx, int side)
{
    m.disc(cx + 0.5, 9.5, 6.2, SOIL);
    for (int c = cx - 6; c <= cx + 6; c++) must(m, "palisade", c, 3);
    const int inner = cx - 7 * side, outer = cx + 7 * side;
    for (int r = 5; r <= 13; r++) {
        must(m, "palisade side", outer, r);
        if (r <= 6 || r >= 13) must(m, "palisade side", inner, r);
    }
    must(m, "tent", cx - 5, 6);
    must(m, "tent", cx + 4, 5);
    must(m, "tent", cx + 4 * side - (side < 0 ? 1 : 0), 9);
    must(m, "campfire", cx + 3 * side, 12);
    must(m, "torch", inner, 7);
    must(m, "torch", inner, 12);
    Rng rng{uint64_t(cx)};
    m.scatter({"bones", "bones", "stones", "barrel"}, cx - 6, 5, cx + 6, 13, 7, rng);
}

// An enemies' gate: a cliff wall with a stone arch whose passage is (gc, 28..29).
void gate(Sketchmap& m, int gc, int west, int east)
{
    for (int y = 21; y <= 27; y++)
        for (int x = west; x <= east; x++) {
            const double edge = std::min(x - west, east - x);
            if (y >= 24 || edge >= (24 - y) * 0.8) m.cliff[y][x] = true;
        }
    m.placeforce("gate", gc - 1, 27);
    m.ground[28][gc] = G_GATEFLOOR;
    m.ground[29][gc] = G_GATEFLOOR;
    m.disc(gc + 0.5, 31, 2.6, SOIL);
    m.lights.push_back({gc, 28, 22, 3});
    m.place("bones", gc - 2, 31);
    m.place("bones", gc + 2, 32);
}

}  // namespace

void drawedges(Sketchmap& m)
{
    for (int y = 0; y <= SKETCH_H; y++)
        for (int x = 0; x <= SKETCH_W; x++) {
            // Forest along the west and north; the north road (53, 3) comes out of it.
            // Camps and village stand right at its edge, the woods between them bulge.
            const bool bulge = (x > 22 && x < 32) || (x > 61 && x < 70);
            const int north = bulge ? 2 + wobble(x, 11) : 2;
            if (x <= 2 + wobble(y, 12) || y <= north) m.forest[y][x] = true;
            // Sea along the east and south, with a sandy shore.
            const int east = SKETCH_W - 3 - wobble(y, 13) / 2, south = SKETCH_H - 4 - wobble(x, 14) / 2;
            if (x >= east || y >= south) m.terrain[y][x] = WATER;
            else if (x >= east - 3 || y >= south - 3) m.terrain[y][x] = SAND;
        }
}

void drawvillage(Sketchmap& m)
{
    rect(m, 41, 4, 51, 12, PAVING);
    m.road({{53, 2}, {53, 5}, {51, 6}}, 1.0, DIRT);
    m.road({{41, 9.5}, {33, 9.5}, {26, 10.5}, {18, 9.5}, {12, 10.5}}, 1.0, DIRT);
    m.road({{51, 9.5}, {60, 9.5}, {70, 10.5}, {80, 10.5}}, 1.0, DIRT);
    m.road({{46.5, 12}, {46.5, 17}, {44, 22}, {47, 28}, {46.5, 34}, {46.5, 37}}, 1.0, DIRT);
    must(m, "house", 35, 3);
    must(m, "cottage", 56, 3);
    must(m, "house", 36, 11);
    must(m, "cottage", 54, 11);
    must(m, "well", 46, 4);
    must(m, "lamp", 42, 3);
    must(m, "lamp", 50, 3);
    must(m, "lamp", 41, 11);
    must(m, "lamp", 51, 11);
    // Fence around the village with openings for the four roads.
    for (int c = 33; c <= 60; c++)
        if (c < 44 || c > 49) m.place("fence", c, 15);
    for (int r = 4; r <= 14; r++)
        if (r < 7 || r > 11) {
            m.place("fence post", 33, r);
            m.place("fence post", 60, r);
        }
    must(m, "torch", 43, 16);
    must(m, "torch", 50, 16);
    // Fields east of the village, a garden corner west.
    for (int r = 3; r <= 6; r++)
        for (int c = 62; c <= 68; c++) m.ground[r][c] = G_FIELD;
    for (int c = 62; c <= 68; c++) m.place("fence", c, 7);
    must(m, "crate", 40, 6);
    must(m, "barrel", 40, 13);
    must(m, "barrel", 53, 13);
    Rng rng(4601);
    m.scatter({"oak", "birch", "flowers", "bush", "flowers"}, 34, 3, 59, 14, 12, rng);
}

void drawcamps(Sketchmap& m)
{
    camp(m, 11, -1);
    camp(m, 79, 1);
    // Trails from the camps round the cliffs to their gates.
    m.road({{11.5, 12}, {15, 16}, {23, 19}, {24.5, 27}, {19, 30.5}, {11.5, 30.5}}, 1.0, DIRT);
    m.road({{79.5, 12}, {76, 16}, {68, 19}, {66.5, 27}, {72, 30.5}, {79.5, 30.5}}, 1.0, DIRT);
}

void drawgates(Sketchmap& m)
{
    gate(m, 11, 2, 21);
    gate(m, 79, 70, 89);
}

void drawwilderness(Sketchmap& m)
{
    // Roads from the gates to the south road and the shore.
    m.road({{24.5, 27}, {33, 31}, {46.5, 31}}, 1.0, DIRT);
    m.road({{66.5, 27}, {58, 30}, {46.5, 31}}, 1.0, DIRT);
    // Pier on the south shore where friends land.
    for (int r = 37; r <= 41; r++) m.ground[r][46] = G_PLANKS;
    must(m, "lamp", 44, 36);
    // A pond with reeds.
    m.disc(55, 23, 4.2, SAND);
    m.disc(55, 23, 2.6, WATER);
    // Woods in the wilderness.
    m.forestdisc(29, 22, 3.2, true);
    m.forestdisc(63, 20, 2.8, true);
    m.forestdisc(37, 36, 3.0, true);
    m.forestdisc(59, 35, 3.4, true);
    m.forestdisc(20, 37, 2.8, true);
    m.forestdisc(72, 37, 2.8, true);
    // Graveyard of the fallen villagers.
    for (int c = 35; c <= 41; c += 2) {
        must(m, "grave", c, 18);
        must(m, "grave", c, 21);
    }
    for (int c = 34; c <= 42; c++) m.place("fence", c, 23);
    Rng rng(4602);
    m.scatter({"reeds", "reeds"}, 51, 19, 59, 27, 8, rng);
    m.scatter({"oak", "birch", "spruce", "spruce", "bush", "berry bush", "rock", "stones", "flowers",
               "mushrooms", "stump", "boulder"}, 3, 14, 87, 38, 150, rng);
    m.scatter({"spruce", "oak", "birch", "rock"}, 3, 3, 30, 14, 14, rng);
    m.scatter({"spruce", "oak", "birch", "rock"}, 60, 3, 87, 14, 14, rng);
}
