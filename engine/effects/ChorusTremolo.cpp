#include "engine/Pedal.h"
#include "engine/effects/EffectHelpers.h"
#include "engine/effects/Effects.h"

#include <cmath>
#include <cstring>

namespace
{
/** Phase increment per sample, in cycles, of an oscillator at Speed x 5 Hz (0.005 to 5 Hz). */
float oscillatorIncrement (float speed, int32_t sampleRate) noexcept
{
    return (float) ((double) (speed * 5.0f) / (double) sampleRate);
}

/** One oscillator step; a phase of exactly 1 stays for that sample. */
void stepPhase (float& phase, float increment) noexcept
{
    phase = phase + increment;

    if (phase > 1.0f)
        phase = phase - 1.0f;
}
} // namespace

void effects::processVibratoChorus (Pedal& pedal, const EffectKnobs& knobs,
                                    const MonoBlock& block) noexcept
{
    if (! isProcessable (block))
        return;

    const float phaseMix = knobs[0], speed = knobs[1], amplitude = knobs[2];
    const int32_t n = block.numSamples;
    const int32_t sr = block.sampleRate;
    float* x = block.samples;
    float* history = pedal.chorusHistory;

    // Sweep depth in seconds (at most 5 ms) and M, the older samples kept besides the newest.
    // The history holds M + 1 + n samples; M is bounded only at rates beyond about 2.2 MHz.
    const float depth = (float) ((double) amplitude * 0.005);
    const double depthInSamples = (double) depth * (double) sr;
    const int32_t maxM = pedalCapacity::chorusHistory - 1 - n;
    const int32_t M = depthInSamples < (double) maxM ? (int32_t) depthInSamples : maxM;

    // The history takes the input bounded, so that an infinite or non-number sample can neither
    // stay in it nor make the interpolation below a non-number.
    float* newest = history + M + 1;
    std::memmove (history, history + n, sizeof (float) * (size_t) (M + 1));

    for (int32_t i = 0; i < n; ++i)
        newest[i] = boundedSample (x[i]);

    if (n == 0)
        return;

    const float inc = oscillatorIncrement (speed, sr);
    const float dry = 1.0f - phaseMix;

    for (int32_t i = 0; i < n; ++i)
    {
        stepPhase (pedal.chorusPhase, inc);

        // Read position d samples into the window of this sample: 0 to depth x sr.
        double d = (std::sin ((double) pedal.chorusPhase * oscillatorTwoPi) * 0.5 + 0.5)
                   * (double) depth * (double) sr;
        auto k = (int32_t) d;

        // d stays below M + 1 unless M was bounded; then the voice is read no later than the
        // newest sample, so both reads stay inside the history.
        if (k > M)
        {
            k = M;
            d = (double) M + 1.0;
        }

        const double a = history[k + i];
        const double b = history[k + i + 1];
        const auto wet = (float) ((b - a) * (d - (double) k) + a);

        x[i] = wet * phaseMix + newest[i] * dry; // newest[i] is x[i], bounded
    }
}

void effects::processTremolo (Pedal& pedal, const EffectKnobs& knobs,
                              const MonoBlock& block) noexcept
{
    if (! isProcessable (block) || block.numSamples == 0)
        return;

    const float speed = knobs[0], amplitude = knobs[1];
    const float inc = oscillatorIncrement (speed, block.sampleRate);
    const double h = (double) amplitude * 0.5;
    float* x = block.samples;

    // The gain swings between 1 (oscillator at its negative peak) and 1 - Amplitude.
    for (int32_t i = 0; i < block.numSamples; ++i)
    {
        stepPhase (pedal.tremoloPhase, inc);
        const double g = 1.0 - (std::sin ((double) pedal.tremoloPhase * oscillatorTwoPi) + 1.0) * h;
        x[i] = (float) ((double) x[i] * g);
    }
}
