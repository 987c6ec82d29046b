// The score of the music track and the hit effect.
#include "imagefile.h"
#include "sound.h"
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const int RATE = 44100;
const double BEAT = 0.6;  // seconds: 100 beats a minute
const int BARS = 28;

struct Chord {
    int root;  // bass note
    bool minor;
};

// One chord a bar: a four-bar intro, then A (8 bars), B (8 bars), A again.
const Chord AM{45, true}, F{41, false}, C{48, false}, G{43, false}, E{40, false}, DM{38, true};
const Chord CHORDS[BARS] = {AM, F, AM, E,                              // intro
                            AM, F, C, G, AM, F, G, E,                  // A
                            DM, AM, F, E, DM, AM, G, E,                // B
                            AM, F, C, G, AM, F, G, E};                 // A again

// The tune as (pitch, beats) pairs, 32 beats a section; pitch 0 rests.
const int TUNEA[][2] = {
    {76, 2}, {69, 1}, {71, 1}, {72, 2}, {76, 2},  // bar 1, in eighths
    {77, 3}, {76, 1}, {72, 2}, {69, 2},
    {67, 2}, {72, 1}, {74, 1}, {76, 2}, {79, 2},
    {74, 6}, {71, 2},
    {76, 2}, {81, 2}, {79, 1}, {76, 1}, {72, 2},
    {77, 2}, {76, 1}, {74, 1}, {72, 2}, {69, 2},
    {71, 2}, {74, 2}, {79, 2}, {77, 2},
    {76, 8}};
const int TUNEB[][2] = {
    {81, 3}, {79, 1}, {77, 2}, {74, 2},
    {76, 3}, {74, 1}, {72, 2}, {69, 2},
    {72, 2}, {77, 2}, {81, 2}, {79, 1}, {77, 1},
    {80, 4}, {76, 4},
    {77, 2}, {81, 2}, {86, 2}, {84, 1}, {81, 1},
    {84, 2}, {83, 1}, {81, 1}, {76, 4},
    {74, 2}, {79, 2}, {83, 2}, {86, 2},
    {83, 4}, {80, 2}, {76, 2}};

template <size_t N>
void addtune(std::vector<Note>& notes, const int (&tune)[N][2], int firstbar, int shift, float velocity)
{
    double beat = firstbar * 4.0;
    for (const auto& n : tune) {
        const double beats = n[1] * 0.5;
        if (n[0] > 0) notes.push_back({beat * BEAT, beats * BEAT * 0.92, n[0] + shift, velocity});
        beat += beats;
    }
}

Sound tosound(const Track& left, const Track& right, int rate, double peak)
{
    float top = 1e-9f;
    for (size_t i = 0; i < left.size(); i++) top = std::max({top, std::fabs(left[i]), std::fabs(right[i])});
    const double gain = peak * 32767.0 / top;
    Sound sound;
    sound.rate = rate;
    sound.channels = 2;
    sound.samples.resize(left.size() * 2);
    for (size_t i = 0; i < left.size(); i++) {
        sound.samples[2 * i] = int16_t(std::lround(left[i] * gain));
        sound.samples[2 * i + 1] = int16_t(std::lround(right[i] * gain));
    }
    return sound;
}

}  // namespace

Sound makemusic()
{
    const double length = BARS * 4 * BEAT;
    const size_t total = size_t((length + 4.0) * RATE);  // room for the reverb tail
    Track leadtrack(total), plucks(total), basstrack(total), padl(total), padr(total), drums(total),
        hats(total);
    Rng noise(1977);
    std::vector<Note> tune;
    addtune(tune, TUNEA, 4, 0, 0.9f);
    addtune(tune, TUNEB, 12, 0, 0.9f);
    addtune(tune, TUNEA, 20, 0, 0.9f);
    addtune(tune, TUNEA, 20, -12, 0.35f);  // the return doubled an octave down
    for (const Note& n : tune) lead(leadtrack, RATE, n);
    for (int bar = 0; bar < BARS; bar++) {
        const Chord& c = CHORDS[bar];
        const double t0 = bar * 4 * BEAT;
        const int third = c.minor ? 3 : 4;
        // Kantele arpeggio in eighths over two octaves.
        const int pattern[8] = {0, 7, 12, 12 + third, 19, 12 + third, 12, 7};
        for (int k = 0; k < 8; k++) {
            const float accent = k % 2 == 0 ? 0.55f : 0.4f;
            pluck(plucks, RATE, {t0 + k * 0.5 * BEAT, 0.5 * BEAT, c.root + 12 + pattern[k], accent}, noise);
        }
        // Pads hold the triad all bar, one a little sharp on the right.
        for (int interval : {12, 12 + third, 19}) {
            pad(padl, RATE, {t0, 4 * BEAT - 0.05, c.root + 12 + interval, 0.8f}, -0.002);
            pad(padr, RATE, {t0, 4 * BEAT - 0.05, c.root + 12 + interval, 0.8f}, 0.002);
        }
        if (bar < 2) continue;
        // Bass: root, root again, fifth, octave.
        const int bassline[4][2] = {{0, 3}, {0, 1}, {7, 2}, {12, 2}};
        double beat = 0;
        for (const auto& b : bassline) {
            bass(basstrack, RATE, {t0 + beat * BEAT, b[1] * 0.5 * BEAT * 0.9, c.root + b[0], 0.8f});
            beat += b[1] * 0.5;
        }
        if (bar < 4) continue;
        // Drums from the first tune on; the B section pushes the kick.
        const bool busy = bar >= 12 && bar < 20;
        kick(drums, RATE, t0, 0.9f);
        kick(drums, RATE, t0 + 2 * BEAT, 0.8f);
        if (busy) kick(drums, RATE, t0 + 2.5 * BEAT, 0.6f);
        snare(drums, RATE, t0 + BEAT, 0.5f, noise);
        snare(drums, RATE, t0 + 3 * BEAT, 0.55f, noise);
        if (bar == BARS - 1 || bar == 11 || bar == 19) snare(drums, RATE, t0 + 3.5 * BEAT, 0.45f, noise);
        for (int k = 0; k < 8; k++) hat(hats, RATE, t0 + k * 0.5 * BEAT, k % 2 ? 0.18f : 0.3f, noise);
    }
    // Mix: the lead a little right, the kantele a little left, reverb on both.
    Track sendl(total), sendr(total), left(total), right(total);
    for (size_t i = 0; i < total; i++) {
        const float l = leadtrack[i], p = plucks[i];
        left[i] = 0.8f * l + 0.95f * p + basstrack[i] + padl[i] + 0.7f * drums[i] + 0.25f * hats[i];
        right[i] = 0.95f * l + 0.75f * p + basstrack[i] + padr[i] + 0.7f * drums[i] + 0.35f * hats[i];
        sendl[i] = 0.9f * l + p + 0.4f * padl[i] + 0.15f * drums[i];
        sendr[i] = 0.9f * l + p + 0.4f * padr[i] + 0.15f * drums[i];
    }
    const Track wetl = reverb(sendl, RATE, 0), wetr = reverb(sendr, RATE, 23);
    for (size_t i = 0; i < total; i++) {
        left[i] += 0.6f * wetl[i];
        right[i] += 0.6f * wetr[i];
    }
    // Fold everything past the end back onto the start: the tail of the last
    // bar then rings on into the first when the track loops.
    const size_t loop = size_t(length * RATE);
    for (size_t i = loop; i < total; i++) {
        left[i - loop] += left[i];
        right[i - loop] += right[i];
    }
    left.resize(loop);
    right.resize(loop);
    return tosound(left, right, RATE, 0.89);
}

Sound makehit()
{
    const int rate = 22050;
    const size_t count = size_t(0.45 * rate);
    Track out(count);
    Rng noise(4242);
    double phase = 0, low = 0;
    for (size_t i = 0; i < count; i++) {
        const double t = double(i) / rate;
        phase += (40.0 + 110.0 * std::exp(-t * 25.0)) / rate;
        const double thump = std::sin(6.283185307179586 * phase) * std::exp(-t * 12.0);
        low += (noise.signedunit() - low) * 0.35;
        const double cut = low * std::exp(-t * 28.0) * 1.4;
        const double ring = (std::sin(6.283185307179586 * 910.0 * t) +
                             0.7 * std::sin(6.283185307179586 * 1377.0 * t)) * 0.12 * std::exp(-t * 14.0);
        const double fade = i + 200 > count ? double(count - i) / 200.0 : 1.0;
        out[i] = float((thump + cut + ring) * fade);
    }
    // Stereo at the game's own mixing rate, so the mixer plays it unconverted.
    return tosound(out, out, rate, 0.9);
}

bool writewav(const std::string& path, const Sound& sound, std::string* error)
{
    const uint32_t databytes = uint32_t(sound.samples.size() * 2);
    std::vector<uint8_t> out;
    auto word = [&out](uint32_t v, int bytes) {
        for (int k = 0; k < bytes; k++) out.push_back(uint8_t(v >> (8 * k)));
    };
    auto text = [&out](const char* s) { out.insert(out.end(), s, s + 4); };
    text("RIFF");
    word(36 + databytes, 4);
    text("WAVE");
    text("fmt ");
    word(16, 4);
    word(1, 2);  // PCM
    word(uint32_t(sound.channels), 2);
    word(uint32_t(sound.rate), 4);
    word(uint32_t(sound.rate * sound.channels * 2), 4);
    word(uint32_t(sound.channels * 2), 2);
    word(16, 2);
    text("data");
    word(databytes, 4);
    for (int16_t s : sound.samples) word(uint16_t(s), 2);
    return writebytes(path, out, error);
}
