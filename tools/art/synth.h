// The instruments of the music: each adds its notes into a mono buffer of
// floats at the music's sample rate.
#ifndef KUURAKARPALO_ART_SYNTH_H
#define KUURAKARPALO_ART_SYNTH_H

#include "rng.h"

#include <vector>

using Track = std::vector<float>;

struct Note {
    double start;   // seconds
    double length;  // seconds the key is held
    int pitch;      // MIDI note number, 69 = A 440 Hz
    float velocity; // 0..1
};

double frequency(int pitch);

// Plucked string (Karplus-Strong), like a kantele.
void pluck(Track& out, int rate, const Note& note, Rng& noise);
// Soft flute-like lead with delayed vibrato.
void lead(Track& out, int rate, const Note& note);
// Round bass.
void bass(Track& out, int rate, const Note& note);
// Slow string pad of band-limited saws; detune spreads two pads apart.
void pad(Track& out, int rate, const Note& note, double detune);
void kick(Track& out, int rate, double start, float velocity);
void snare(Track& out, int rate, double start, float velocity, Rng& noise);
void hat(Track& out, int rate, double start, float velocity, Rng& noise);

// A stereo room reverb (parallel combs into allpasses); returns the wet
// signal of one channel, spread chooses a slightly different room per side.
Track reverb(const Track& in, int rate, int spread);

#endif
