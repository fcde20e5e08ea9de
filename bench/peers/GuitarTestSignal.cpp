#include "GuitarTestSignal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace
{
/** A small fixed-seed generator, so the signal does not depend on the C library. */
struct Lcg
{
    uint32_t state = 0x5eed1234u;

    /** Uniform in [-1, 1). */
    float next() noexcept
    {
        state = state * 1664525u + 1013904223u;
        return (float) ((double) (state >> 8) / (double) (1u << 23)) - 1.0f;
    }
};

/** One Karplus-Strong string added into out from start on: a noise burst of one period fed
    back through a two-tap average with the given loss per period. */
void addPluck (std::vector<float>& out, size_t start, double frequency, double sampleRate,
               float amplitude, double lengthSeconds, Lcg& random)
{
    const auto period = std::max<size_t> (2, (size_t) std::lround (sampleRate / frequency));
    std::vector<float> line (period);
    for (auto& sample : line)
        sample = random.next() * amplitude;

    // Lower strings ring longer, as on a real guitar.
    const float loss = (float) std::pow (0.001, 1.0 / (lengthSeconds * frequency));
    const auto length = (size_t) (lengthSeconds * sampleRate);
    size_t index = 0;
    for (size_t n = 0; n < length && start + n < out.size(); ++n)
    {
        const size_t nextIndex = (index + 1) % period;
        const float value = line[index];
        line[index] = 0.5f * (value + line[nextIndex]) * loss;
        out[start + n] += value;
        index = nextIndex;
    }
}
} // namespace

std::vector<float> GuitarTestSignal::make (double seconds, double sampleRate)
{
    const auto total = (size_t) (seconds * sampleRate);
    std::vector<float> out (total, 0.0f);
    Lcg random;

    // Open strings E2 A2 D3 G3 B3 E4 (Hz) and fret offsets of a few chord shapes (-1 = muted).
    const double strings[6] = { 82.41, 110.0, 146.83, 196.0, 246.94, 329.63 };
    const int chords[4][6] = { { 0, 2, 2, 1, 0, 0 },    // E
                               { -1, 0, 2, 2, 2, 0 },   // A
                               { 3, 2, 0, 0, 0, 3 },    // G
                               { -1, 3, 2, 0, 1, 0 } }; // C

    // Eight seconds of pattern, repeated: a bar of single notes climbing up the neck, a bar of
    // strummed chords, a held chord and a short pause.
    const double patternSeconds = 8.0;
    for (double bar = 0.0; bar + patternSeconds <= seconds + 1.0e-9; bar += patternSeconds)
    {
        const auto barStart = (size_t) (bar * sampleRate);
        for (int note = 0; note < 8; ++note)
        {
            const int string = note % 6;
            const int fret = (note * 3) % 12;
            addPluck (out, barStart + (size_t) (note * 0.25 * sampleRate),
                      strings[string] * std::pow (2.0, fret / 12.0), sampleRate, 0.35f, 1.5,
                      random);
        }
        for (int strum = 0; strum < 4; ++strum)
        {
            const auto strumStart = barStart + (size_t) ((2.0 + strum * 0.75) * sampleRate);
            const auto* shape = chords[strum];
            for (int string = 0; string < 6; ++string)
            {
                if (shape[string] < 0)
                    continue;
                // Down-strokes, 12 ms between strings.
                addPluck (out, strumStart + (size_t) (string * 0.012 * sampleRate),
                          strings[string] * std::pow (2.0, shape[string] / 12.0), sampleRate, 0.16f,
                          2.5, random);
            }
        }
        const auto heldStart = barStart + (size_t) (5.0 * sampleRate);
        for (int string = 0; string < 6; ++string)
            addPluck (out, heldStart + (size_t) (string * 0.03 * sampleRate),
                      strings[string] * std::pow (2.0, chords[0][string] / 12.0), sampleRate, 0.14f,
                      2.5, random);
        // 7.0 to 8.0 s: the chord dies away; nothing new is played.
    }

    // Pick and hum noise floor, about -70 dBFS.
    for (auto& sample : out)
        sample += random.next() * 3.0e-4f;

    const float peak = *std::max_element (
        out.begin(), out.end(), [] (float a, float b) { return std::abs (a) < std::abs (b); });
    const float scale = 0.6f / std::max (std::abs (peak), 1.0e-6f);
    for (auto& sample : out)
        sample *= scale;
    return out;
}
