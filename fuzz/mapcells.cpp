// Fuzz target: small inputs grown into whole map files, so that the fuzzer
// spends its time past the reader's size check, on the values that feed the
// world: sides, tile set, and any cells of any layer.
//
//   byte 0        bit 0 set: start from the game's own map; else an open
//                 map in full daylight
//   byte 1        tile set, signed
//   bytes 2..5    width and height, signed 16-bit little-endian
//   then, 8 bytes a run: layer (tile, tile2, tile3, light, stop; modulo 5),
//   first cell (16-bit, modulo 39,601), length (cells in file order), and
//   the value, signed 32-bit little-endian
//
// The map goes through the map file writer and reader, as a file would.
#include "harness.h"

#include <memory>

static std::unique_ptr<MapData> gamemap;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    gamemap = std::make_unique<MapData>();
    if (const char* wrong = readmap(KUURAKARPALO_GAMEMAP, *gamemap, nullptr)) {
        std::fprintf(stderr, "fuzz: the game's map %s %s; starting from open maps only\n", KUURAKARPALO_GAMEMAP,
                     wrong);
        gamemap.reset();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 6) return 0;
    static auto built = std::make_unique<MapData>();
    MapData& m = *built;
    if ((data[0] & 1) && gamemap) {
        m = *gamemap;
    } else {
        m = MapData{};
        for (int& l : m.light) l = DAYLIGHT;
    }
    m.tset = (int8_t)data[1];
    m.sizex = (int16_t)(uint16_t)(data[2] | data[3] << 8);
    m.sizey = (int16_t)(uint16_t)(data[4] | data[5] << 8);
    int* const layers[5] = {m.tile, m.tile2, m.tile3, m.light, m.stop};
    for (size_t at = 6; at + 8 <= size; at += 8) {
        const uint8_t* run = data + at;
        int* layer = layers[run[0] % 5];
        const int first = (run[1] | run[2] << 8) % MAPCELLS;
        const int value = le32(run + 4);
        for (int i = first; i < first + run[3] + 1 && i < MAPCELLS; i++) layer[i] = value;
    }

    const std::vector<unsigned char> bytes = mapbytes(m);
    if (playmap(bytes.data(), bytes.size()))
        expect(!within(m.sizex, 1, MAPW - 1) || !within(m.sizey, 1, MAPW - 1), "a map of sides 1 to 198 was refused");
    return 0;
}
