// The compiled world: the binary map file the game reads, the Tiled sources
// it is compiled from, and the story's fixed tiles that must stay walkable.
#ifndef KUURAKARPALO_WORLDMAP_H
#define KUURAKARPALO_WORLDMAP_H

#include "main.h"
#include "options.h"

#include <cstdint>
#include <string>
#include <vector>

// The contents of a map file; every grid has MAPCELLS cells, index r * 199 + c.
struct WorldMap {
    int sizex = 0, sizey = 0, tset = 0;
    std::vector<int32_t> tile, tile2, tile3, light, stop;
    WorldMap();
    int32_t& at(std::vector<int32_t>& grid, int c, int r) { return grid[size_t(r * MAPW + c)]; }
    int32_t at(const std::vector<int32_t>& grid, int c, int r) const { return grid[size_t(r * MAPW + c)]; }
};

bool writemapfile(const std::string& path, const WorldMap& map, std::string* error);
bool readmapfile(const std::string& path, WorldMap* map, std::string* error);

// A tileset as the compiler needs it.
struct Tileset {
    std::string name;
    int firstgid = 1;
    int slot = 0;            // 0 ground atlas, 1 layer atlas, 2 editing markers
    int columns = 16, tilecount = 0;
    std::string image;       // path as written in the tileset, relative to it
    std::string imagepath;   // resolved for reading
    int imagewidth = 0, imageheight = 0;
    std::vector<bool> stop;
    std::vector<int> light, radius;
};

// A light source in tile coordinates; its brightness falls linearly to
// daylight over `radius` tiles from the centre of its tile.
struct LightSource {
    int c, r, peak, radius;
};

// Adds the sources to a light grid that starts at daylight everywhere. Each
// grid point (a cell's top-left corner) takes the brightest source reaching it.
void applylights(std::vector<int32_t>& light, const std::vector<LightSource>& sources);

// Reads one Tiled tileset (.tsj) and checks its atlas picture.
bool readtileset(const std::string& path, Tileset* tileset, std::string* error);

// Compiles a Tiled map; on failure the error names the file and the place.
bool compilemap(const std::string& path, WorldMap* map, std::string* error);

// Checks that the story's tiles lie on open ground, each with the cell below
// (where a standing character's bottom probe is), and reach the player's start.
bool checkstory(const WorldMap& map, const std::string& source, std::string* error);

// A picture as the tools read it back, for checking atlases and drawing maps.
struct TgaPicture {
    int width = 0, height = 0, depth = 0;
    bool topfirst = false;
    std::vector<uint8_t> rgba;  // rows top to bottom
};
// Reads a picture with the game's own TGA reader.
bool loadpicture(const std::string& path, TgaPicture* picture, std::string* error);

#endif
