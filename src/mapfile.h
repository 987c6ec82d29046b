// The map file: the world's size, its tile layers, light and blocking, and
// its tile set, read and written byte for byte.
#ifndef KUURAKARPALO_MAPFILE_H
#define KUURAKARPALO_MAPFILE_H

#include "main.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

const char* const MAPFILE = "kuurakarpalo.map";

// What a map file holds: the world's size, its three tile layers, light and
// blocking, every grid whole, 199 by 199 cells row by row, and the tile set.
struct MapData {
    int sizex;               // tiles, 1..198
    int sizey;
    int tile[MAPCELLS];
    int tile2[MAPCELLS];
    int tile3[MAPCELLS];
    int light[MAPCELLS];
    int stop[MAPCELLS];
    int tset;                // 0 outdoors, 1 cave
};
const long MAPFILESIZE = 8 + 5L * MAPCELLS * 4 + 4;   // bytes: 792,032, every field 4 bytes

// The CRC-32 of zlib and PNG (mapfile.cpp): size bytes at data folded into
// crc, 0 to begin with. Map files and recordings' checkpoints carry it.
uint32_t crc32of(uint32_t crc, const void* data, size_t size);
// Reads the bytes of a map file (mapfile.cpp). Returns nullptr, or what is
// wrong with them: another size, or sides outside 1..198.
const char* parsemap(const unsigned char* bytes, size_t size, MapData& data);
// Reads a map file whole; crc, if given, gets the CRC-32 of its bytes.
const char* readmap(const char* path, MapData& data, uint32_t* crc);
// The bytes of a map file that holds data.
std::vector<unsigned char> mapbytes(const MapData& data);
bool writemap(const char* path, const MapData& data, std::string& error);

#endif
