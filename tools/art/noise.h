// A small fixed-seed generator for the art and sound tools, so that every run
// makes the same bytes whatever the C library's rand() does.
#ifndef KUURAKARPALO_ART_NOISE_H
#define KUURAKARPALO_ART_NOISE_H

#include <cstdint>

class Noise {
public:
    explicit Noise(uint64_t seed) : state(seed ? seed : 0x9e3779b97f4a7c15ull) {}

    // xorshift64*: 64 bits of state, good enough for texture grain and drum hiss.
    uint32_t next()
    {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return uint32_t((state * 0x2545f4914f6cdd1dull) >> 32);
    }
    // Uniform in [0, 1).
    double unit() { return next() / 4294967296.0; }
    // Uniform in [-1, 1).
    double signedunit() { return unit() * 2.0 - 1.0; }
    // Uniform integer in [0, n).
    int below(int n) { return int(next() % uint32_t(n)); }

private:
    uint64_t state;
};

#endif
