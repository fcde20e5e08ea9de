#include "engine/Pedal.h"
#include "engine/effects/EffectHelpers.h"
#include "engine/effects/Effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
/** Fixed cutoffs of the 707 drive as 2 pi f in single precision (800, 723 and 720 Hz). */
constexpr float twoPi800Hz = 5026.5483f;
constexpr float twoPi723Hz = 4542.7432f;
constexpr float twoPi720Hz = 4523.8936f;

/** Normalised angular cutoff of a whole-Hz cutoff at the block's rate, in single precision. */
float normalisedCutoff (int32_t cutoffHz, int32_t sampleRate) noexcept
{
    return (float) cutoffHz * 6.2831855f / (float) sampleRate;
}

/** The knob caches start at -1, which no knob can hold: a drive that has never run prepares
    every filter on its first block even when that block's rate equals the cached rate (10 kHz). */
constexpr float unsetKnob = -1.0f;

void multiply (float* samples, int32_t numSamples, float gain) noexcept
{
    for (int32_t i = 0; i < numSamples; ++i)
        samples[i] *= gain;
}
} // namespace

void effects::processFuzzFake (Pedal&, const EffectKnobs& knobs, const MonoBlock& block) noexcept
{
    const float fuzz = knobs[0], symmetry = knobs[1], gain = knobs[2];

    // The clipping window [symmetry - 1, symmetry + 1] sits above zero by `symmetry`, so the
    // negative half clips earlier than the positive one.
    const float g = fuzz * 50.0f + 1.0f;
    const float hi = symmetry + 1.0f;
    const float lo = symmetry - 1.0f;
    const float out = gain + gain;

    for (int i = 0; i < block.numSamples; ++i)
        block.samples[i] = std::max (lo, std::min (hi, block.samples[i] * g)) * out;
}

void effects::processToneDrive (Pedal& pedal, const EffectKnobs& knobs,
                                const MonoBlock& block) noexcept
{
    if (! isProcessable (block))
        return;

    const float gain = knobs[0], tone = knobs[1], mix = knobs[2];
    const int32_t n = block.numSamples;
    const int32_t sr = block.sampleRate;
    auto& filters = pedal.toneDriveFilters;

    // High-pass cutoff fc from 51 Hz (Tone 0.001) to 2045 Hz (Tone 1); the low-passes sit at 3 fc.
    const auto t = (float) ((double) tone * 3.3);
    const auto fc = (int32_t) (std::pow (10.0f, t) + 50.0f);
    const int32_t lowFc = 3 * fc;

    // Coefficients are cached: recomputed only when the rate or Tone changes (exact comparison).
    if (sr != pedal.toneDriveLastRate || pedal.toneDriveLastTone == unsetKnob)
    {
        pedal.toneDriveLastRate = sr;
        filters[0].prepare (true, normalisedCutoff (lowFc, sr));
        filters[1].prepare (false, normalisedCutoff (fc, sr));
        filters[2].prepare (true, normalisedCutoff (lowFc, sr));
        filters[3].prepare (false, normalisedCutoff (fc, sr));
    }

    if (! (tone == pedal.toneDriveLastTone))
    {
        // The first pair keeps its state; the second restarts from zero.
        filters[0].setCutoff (normalisedCutoff (lowFc, sr));
        filters[1].setCutoff (normalisedCutoff (fc, sr));
        filters[2].prepare (true, normalisedCutoff (lowFc, sr));
        filters[3].prepare (false, normalisedCutoff (fc, sr));
        pedal.toneDriveLastTone = tone;
    }

    if (n <= 0)
        return;

    float* wet = pedal.toneDriveBuffer;
    float* x = block.samples;
    std::memcpy (wet, x, sizeof (float) * (size_t) n);

    for (auto& filter : filters)
        filter.process (wet, n);

    multiply (wet, n, ((tone + 1.0f) * (100.0f * gain)) * 10.0f); // about 1 to 2000
    pedal.toneDriveShaper.process (wet, n);
    multiply (wet, n, gain);

    const float dry = 1.0f - mix;
    for (int32_t i = 0; i < n; ++i)
        x[i] = x[i] * dry + wet[i] * mix;
}

void effects::processDrive707 (Pedal& pedal, const EffectKnobs& knobs,
                               const MonoBlock& block) noexcept
{
    if (! isProcessable (block))
        return;

    const float gain = knobs[0], tone = knobs[1], volume = knobs[2];
    const int32_t n = block.numSamples;
    const int32_t sr = block.sampleRate;
    const auto srf = (float) sr;
    auto& filters = pedal.drive707Filters;

    const auto toneFc = (int32_t) (2100.0f * tone + 800.0f);     // 802 to 2900 Hz
    const auto gainFc = (int32_t) (-24400.0f * gain + 30000.0f); // 29975 down to 5600 Hz

    // Coefficients are cached: recomputed only when the rate, Tone or Gain changes (exact
    // comparison). A knob change alone never clears a filter's state.
    if (sr != pedal.drive707LastRate || pedal.drive707LastTone == unsetKnob
        || pedal.drive707LastGain == unsetKnob)
    {
        pedal.drive707LastRate = sr;
        filters[0].prepare (true, twoPi800Hz / srf);
        filters[1].prepare (false, normalisedCutoff (toneFc, sr));
        filters[2].prepare (true, twoPi723Hz / srf);
        filters[3].prepare (false, twoPi720Hz / srf);
        filters[4].prepare (true, normalisedCutoff (gainFc, sr));
    }

    if (! (tone == pedal.drive707LastTone))
    {
        filters[0].setCutoff (twoPi800Hz / srf);
        filters[1].setCutoff (normalisedCutoff (toneFc, sr));
        pedal.drive707LastTone = tone;
    }

    if (! (gain == pedal.drive707LastGain))
    {
        filters[4].setCutoff (normalisedCutoff (gainFc, sr));
        pedal.drive707LastGain = gain;
    }

    if (n <= 0)
        return;

    float* x = block.samples;
    float* mainPath = pedal.drive707Buffer;
    float* tonePath = pedal.drive707ToneBuffer;

    std::memcpy (mainPath, x, sizeof (float) * (size_t) n);
    filters[3].process (mainPath, n); // high-pass 720 Hz
    filters[4].process (mainPath, n); // low-pass at gainFc

    // Drive about 5.03 (Gain 0.001) to 125.9 (Gain 1); after the shaper the level is set back
    // by 10^Gain / drive.
    const auto drive = (float) std::pow (10.0, 1.4 * (double) gain + 0.7);
    multiply (mainPath, n, drive);
    pedal.drive707Shaper.process (mainPath, n);
    multiply (mainPath, n, (float) (std::pow (10.0, (double) gain) * (double) (1.0f / drive)));
    filters[2].process (mainPath, n); // low-pass 723 Hz

    std::memcpy (tonePath, mainPath, sizeof (float) * (size_t) n);
    filters[0].process (tonePath, n); // low-pass 800 Hz
    filters[1].process (tonePath, n); // high-pass at toneFc

    const auto v = (float) (std::pow (10.0, (double) volume) * 0.2); // 0.2009 to 2.0
    const auto vd = (double) v;

    // y = v (0.1 x + A + 8 B): the products with the two paths in single, the rest in double.
    for (int32_t i = 0; i < n; ++i)
        x[i] = (float) ((double) (tonePath[i] * v * 8.0f)
                        + ((double) (mainPath[i] * v) + (double) x[i] * 0.1 * vd));
}
