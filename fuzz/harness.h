// What the fuzz targets share: a world that runs without a window, put back
// into one known state before every input, and the checks that stop a run.
#ifndef KUURAKARPALO_FUZZ_HARNESS_H
#define KUURAKARPALO_FUZZ_HARNESS_H

#include "main.h"
#include "mapfile.h"
#include "options.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// The world as emptyworld leaves it, no event waiting. The first call sets up
// SDL's dummy video, space for every box frame and unpaced frames; it exits
// with 1 if the working directory holds DATA/, whose tile sets each map read
// would load and keep.
void freshworld();
// Parses a map file's bytes and, if taken, runs a fresh world on them for a
// hundred updates (map.control) with the hero walking a round and swinging.
// Returns what the reader found wrong, or nullptr and the data in taken.
const char* playmap(const unsigned char* bytes, size_t size, const MapData** taken = nullptr);
// A scratch directory of this process, made on first use; ends in '/'.
const std::string& scratch();
// Stops the run, as a finding, when ok is false: what broke, on stderr.
inline void expect(bool ok, const char* what)
{
    if (ok) return;
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

inline bool within(long long v, long long lo, long long hi) { return v >= lo && v <= hi; }

// The signed 32-bit little-endian number at p.
inline int32_t le32(const uint8_t* p)
{
    return (int32_t)((uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24);
}

#endif
