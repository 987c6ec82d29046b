// What the fuzz targets share: a world that runs without a window, put back
// into one known state before every input, and the checks that stop a run.
#ifndef KUURAKARPALO_FUZZ_HARNESS_H
#define KUURAKARPALO_FUZZ_HARNESS_H

#include "main.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The world as before the game reads its map (emptyworld), and no event
// waiting. The first call readies it for frames without a window: SDL's
// dummy video driver carries the events, every box frame is answered with
// space, frames run unpaced. The working directory must hold no DATA/, or
// each map read would load (and keep) its tile-set pictures: one line on
// stderr and exit code 1 if it does.
void freshworld();
// Reads a map file's bytes with the game's reader and, when it takes them,
// opens them into a fresh world and runs a hundred world updates
// (map.control, no drawing) with the hero walking a fixed round and swinging
// now and then. Returns what the reader found wrong, or nullptr and the data
// taken in taken.
const char* playmap(const unsigned char* bytes, size_t size, const MapData** taken = nullptr);
// A scratch directory of this process, made on first use; ends in '/'.
const std::string& scratch();
// Stops the run, as a finding, when ok is false: what broke, on stderr.
void expect(bool ok, const char* what);

// Whether lo <= v <= hi.
inline bool within(long long v, long long lo, long long hi) { return v >= lo && v <= hi; }

// The signed 32-bit little-endian number at p.
inline int32_t le32(const uint8_t* p)
{
    return (int32_t)((uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24);
}

#endif
