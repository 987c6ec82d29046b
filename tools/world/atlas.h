// The tile atlases of the world and what each tile means to the map: which
// tiles block, which give light, and how multi-tile things (trees, houses,
// gates) are cut into second-layer and over-layer tiles.
#ifndef KUURAKARPALO_ATLAS_H
#define KUURAKARPALO_ATLAS_H

#include "imagefile.h"
#include "paint.h"

#include <functional>
#include <string>
#include <vector>

// Per-tile facts written into the tileset description.
struct TileInfo {
    std::string name;
    bool stop = false;  // blocks movement
    int light = 0;      // brightness of a light source on this tile, 0 for none
    int radius = 0;     // tiles over which that light falls back to daylight
};

// Which layer a piece of a thing goes into.
enum class Layer { Second, Over };

// One tile of a multi-tile thing, relative to the thing's top-left cell.
struct Piece {
    int dx = 0, dy = 0;
    Layer layer = Layer::Second;
    int value = 0;
};

struct Thing {
    std::string name;
    int width = 1, height = 1;  // in cells
    std::vector<Piece> pieces;
};

// An atlas under construction: cells are handed out in order, 16 to a row.
class Atlas {
public:
    Atlas(std::string nname, bool nalpha);
    // Adds one 32x32 cell taken from (sx, sy) of src; returns its tile value.
    int add(const Image& src, int sx, int sy, const TileInfo& info);
    // Draws one 32x32 cell with a per-pixel function; returns its tile value.
    int draw(const std::function<void(Image&)>& painter, const TileInfo& info);
    // Cuts a thing of w x h cells drawn in two pictures (second and over)
    // into tiles; stop and light are given per cell, row-major.
    const Thing& addthing(const std::string& thingname, int w, int h, const Image& second,
                          const Image& over, const std::vector<bool>& stops,
                          const std::vector<int>& lights = {}, int radius = 0);
    const Thing* thing(const std::string& thingname) const;
    // The finished picture: 512 pixels wide, height rounded up to whole rows.
    Image picture() const;

    std::string name;
    bool alpha;
    std::vector<TileInfo> tiles;
    std::vector<Thing> things;

private:
    Image cells;  // room for the largest atlas; cropped by picture()
};

// Ground terrains of the outdoor map. Transition tiles exist for the pairs
// below; value = pair row * 16 + mask, mask bit 1 top-left, 2 top-right,
// 4 bottom-left, 8 bottom-right corner being the pair's second terrain.
enum Terrain { GRASS, DIRT, SAND, WATER, PAVING, SOIL, TERRAINS };

struct TerrainPair {
    Terrain a, b;
    int row;
};
extern const TerrainPair TERRAIN_PAIRS[5];

// Plain outdoor ground tiles in atlas row 0.
enum GroundTile {
    G_GRASS = 0, G_GRASS2, G_FLOWERS, G_TUFTS, G_DIRT, G_PEBBLES, G_SAND, G_PAVING,
    G_SOIL, G_WATER, G_DEEPWATER, G_GATEFLOOR, G_PLANKS, G_FIELD, G_DARKGRASS, G_SHELLS
};

// Ground tile for a cell whose four corners have the given terrains
// (top-left, top-right, bottom-left, bottom-right).
int groundtile(const Terrain corners[4], int variant);

// Transition masks of the second-layer masses (forest canopy, cliffs): the
// value of mask m (1 .. 15) is base + m - 1.
struct MaskSet {
    int base = 0;
    int tile(int mask) const { return mask <= 0 ? 0 : base + mask - 1; }
};

struct OutdoorAtlases {
    Atlas ground{"iso1", false};
    Atlas upper{"iso2", true};
    MaskSet canopy;      // over layer, never blocks
    MaskSet cliff;       // second layer, blocks when two or more corners are rock
    int undergrowth = 0; // second layer under full canopy, blocks
    int canopyfull[3] = {0, 0, 0};
    int cliffull[2] = {0, 0};
};

struct CaveAtlases {
    Atlas ground{"luola1", false};
    Atlas upper{"luola2", true};
    MaskSet wall;
};

// The parts: buildground fills iso1, buildupper fills iso2.
void buildground(Atlas& ground);
void buildupper(OutdoorAtlases& world);
OutdoorAtlases buildoutdoor();
CaveAtlases buildcave();

// Shared drawing of a corner-mask mass: `inside` says whether a pixel is in
// the mass given the blended corner weight, `painter` colours it.
Image drawmask(int mask, uint32_t seed, double roughness,
               const std::function<Colour(int x, int y, double weight, double edge)>& painter);

#endif
