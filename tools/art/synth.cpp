#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {

const double TWOPI = 6.283185307179586;

// Adds value at sample index i if it lies inside the track.
inline void add(Track& out, long i, double value)
{
    if (i >= 0 && i < long(out.size())) out[size_t(i)] += float(value);
}

// Attack-decay-sustain-release level at time t for a key held `held` seconds.
double adsr(double t, double held, double attack, double decay, double sustain, double release)
{
    double level;
    if (t < attack) level = t / attack;
    else if (t < attack + decay) level = 1.0 - (1.0 - sustain) * (t - attack) / decay;
    else level = sustain;
    if (t > held) {
        const double r = (t - held) / release;
        level *= r >= 1.0 ? 0.0 : 1.0 - r;
    }
    return level;
}

// One period of a saw built from its first twelve harmonics, so the pad does
// not alias.
const std::vector<float>& sawtable()
{
    static std::vector<float> table = [] {
        std::vector<float> t(4096);
        for (size_t i = 0; i < t.size(); i++) {
            double v = 0;
            for (int h = 1; h <= 12; h++) v += std::sin(TWOPI * h * double(i) / t.size()) / h;
            t[i] = float(v * 0.55);
        }
        return t;
    }();
    return table;
}

}  // namespace

double frequency(int pitch)
{
    return 440.0 * std::pow(2.0, (pitch - 69) / 12.0);
}

void pluck(Track& out, int rate, const Note& note, Rng& noise)
{
    const double f = frequency(note.pitch);
    const int period = std::max(2, int(std::lround(rate / f)));
    std::vector<float> line(static_cast<size_t>(period));
    float last = 0;
    for (float& s : line) {  // a soft-ish pick: low-passed noise
        last = float(last * 0.4 + noise.signedunit() * 0.6);
        s = last;
    }
    const long begin = long(note.start * rate);
    const long count = long((note.length + 1.2) * rate);
    const double damp = 0.996;
    for (long i = 0; i < count; i++) {
        const size_t k = size_t(i % period), next = size_t((i + 1) % period);
        const float s = line[k];
        line[k] = float((s + line[next]) * 0.5 * damp);
        double env = 1.0;
        if (i > long(note.length * rate)) env = std::exp(-(i - note.length * rate) / (0.25 * rate));
        if (i > count - 400) env *= (count - i) / 400.0;
        add(out, begin + i, s * note.velocity * env);
    }
}

void lead(Track& out, int rate, const Note& note)
{
    const double f = frequency(note.pitch), release = 0.18;
    const long begin = long(note.start * rate);
    const long count = long((note.length + release) * rate);
    double phase = 0;
    for (long i = 0; i < count; i++) {
        const double t = double(i) / rate;
        const double vib = t > 0.25 ? 0.004 * std::min(1.0, (t - 0.25) * 3) * std::sin(TWOPI * 5.2 * t) : 0;
        phase += f * (1.0 + vib) / rate;
        const double p = TWOPI * phase;
        const double wave = std::sin(p) + 0.3 * std::sin(2 * p) + 0.12 * std::sin(3 * p);
        const double env = adsr(t, note.length, 0.04, 0.2, 0.75, release);
        add(out, begin + i, wave * env * note.velocity * 0.5);
    }
}

void bass(Track& out, int rate, const Note& note)
{
    const double f = frequency(note.pitch), release = 0.08;
    const long begin = long(note.start * rate);
    const long count = long((note.length + release) * rate);
    for (long i = 0; i < count; i++) {
        const double t = double(i) / rate;
        const double p = TWOPI * f * t;
        const double wave = std::tanh(1.6 * (std::sin(p) + 0.35 * std::sin(2 * p)));
        const double env = adsr(t, note.length, 0.01, 0.3, 0.6, release);
        add(out, begin + i, wave * env * note.velocity * 0.6);
    }
}

void pad(Track& out, int rate, const Note& note, double detune)
{
    const std::vector<float>& table = sawtable();
    const double f = frequency(note.pitch) * (1.0 + detune), release = 0.9;
    const long begin = long(note.start * rate);
    const long count = long((note.length + release) * rate);
    double phase = 0, low = 0;
    for (long i = 0; i < count; i++) {
        const double t = double(i) / rate;
        phase += f / rate;
        phase -= std::floor(phase);
        const double pos = phase * table.size();
        const size_t k = size_t(pos);
        const double frac = pos - k;
        const double s = table[k] * (1 - frac) + table[(k + 1) % table.size()] * frac;
        low += (s - low) * 0.12;  // darken it
        const double env = adsr(t, note.length, 0.5, 0.5, 0.8, release);
        add(out, begin + i, low * env * note.velocity * 0.25);
    }
}

void kick(Track& out, int rate, double start, float velocity)
{
    const long begin = long(start * rate), count = long(0.35 * rate);
    double phase = 0;
    for (long i = 0; i < count; i++) {
        const double t = double(i) / rate;
        phase += (45.0 + 90.0 * std::exp(-t * 30.0)) / rate;
        add(out, begin + i, std::sin(TWOPI * phase) * std::exp(-t * 9.0) * velocity);
    }
}

void snare(Track& out, int rate, double start, float velocity, Rng& noise)
{
    const long begin = long(start * rate), count = long(0.25 * rate);
    double low = 0;
    for (long i = 0; i < count; i++) {
        const double t = double(i) / rate;
        const double n = noise.signedunit();
        low += (n - low) * 0.3;
        const double body = std::sin(TWOPI * 185.0 * t) * std::exp(-t * 25.0);
        add(out, begin + i, (low * 0.8 * std::exp(-t * 16.0) + body * 0.5) * velocity);
    }
}

void hat(Track& out, int rate, double start, float velocity, Rng& noise)
{
    const long begin = long(start * rate), count = long(0.08 * rate);
    double low = 0;
    for (long i = 0; i < count; i++) {
        const double t = double(i) / rate;
        const double n = noise.signedunit();
        low += (n - low) * 0.5;
        add(out, begin + i, (n - low) * std::exp(-t * 60.0) * velocity);
    }
}

Track reverb(const Track& in, int rate, int spread)
{
    const double scale = rate / 44100.0;
    const int combs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    const int passes[4] = {556, 441, 341, 225};
    Track wet(in.size(), 0.0f);
    for (int c : combs) {
        std::vector<float> line(size_t((c + spread) * scale), 0.0f);
        float store = 0;
        size_t k = 0;
        for (size_t i = 0; i < in.size(); i++) {
            const float y = line[k];
            store = y * 0.75f + store * 0.25f;  // damping of the highs
            line[k] = in[i] * 0.015f + store * 0.84f;
            wet[i] += y;
            k = (k + 1) % line.size();
        }
    }
    for (int p : passes) {
        std::vector<float> line(size_t((p + spread) * scale), 0.0f);
        size_t k = 0;
        for (float& s : wet) {
            const float b = line[k];
            line[k] = s + b * 0.5f;
            s = b - s;
            k = (k + 1) % line.size();
        }
    }
    return wet;
}
