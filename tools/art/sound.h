// The game's sounds: the looping music track and the hit effect, made by
// synthesis and written as 16-bit PCM WAV files.
#ifndef KUURAKARPALO_ART_SOUND_H
#define KUURAKARPALO_ART_SOUND_H

#include <cstdint>
#include <string>
#include <vector>

struct Sound {
    int rate = 44100;       // samples per second
    int channels = 2;       // interleaved in samples
    std::vector<int16_t> samples;
};

// Writes a canonical 44-byte-header PCM WAV file.
bool writewav(const std::string& path, const Sound& sound, std::string* error);

// The music: 28 bars in A minor at 100 beats a minute (67.2 seconds), whose
// reverb tail is folded onto its start so that it loops without a gap.
Sound makemusic();

// The hit: a short thump, a cut of noise and a metallic ring, 22050 Hz stereo.
Sound makehit();

#endif
