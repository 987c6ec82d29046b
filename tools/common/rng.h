// The one seeded random generator of the data tools: the same seed gives the
// same pictures and sounds on every machine, whatever the C library's rand()
// does.
#ifndef KUURAKARPALO_RNG_H
#define KUURAKARPALO_RNG_H

#include <cstdint>

// SplitMix64.
class Rng {
public:
    explicit Rng(uint64_t seed) : state(seed) {}

    uint64_t next()
    {
        state += 0x9e3779b97f4a7c15ULL;
        uint64_t z = state;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // 0 .. n-1.
    int below(int n) { return n <= 1 ? 0 : int(next() % uint64_t(n)); }
    // 0 .. 1, never 1.
    double unit() { return double(next() >> 11) / 9007199254740992.0; }
    // -1 .. 1, never 1.
    double signedunit() { return unit() * 2.0 - 1.0; }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }

private:
    uint64_t state;
};

#endif
