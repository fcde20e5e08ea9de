#include "EffectTestHelpers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace effect_testing;

namespace
{
/** Phase Mix, Speed, Amplitude. */
EffectKnobs chorusKnobs (float phaseMix, float speed, float amplitude)
{
    return knobs ({ phaseMix, speed, amplitude });
}

/** Speed, Amplitude. */
EffectKnobs tremoloKnobs (float speed, float amplitude) { return knobs ({ speed, amplitude }); }

std::vector<float> ramp (size_t length, float stepSize)
{
    std::vector<float> v (length);
    for (size_t i = 0; i < length; ++i)
        v[i] = (float) i * stepSize;
    return v;
}
} // namespace

TEST (VibratoChorusEffect, SmallestAmplitudeKeepsOneOlderSample)
{
    // Amplitude 0.001 at 44.1 kHz: depth 5 us, M = 0; the wet voice is the previous input moved
    // toward the current one by a fraction of at most 0.2205.
    auto pedal = makePedal (vibratoChorusEffect);
    const float stepSize = 1.0f / 16384.0f;
    const auto in = ramp (35 * 256, stepSize); // more than one 5 Hz cycle, whole blocks
    const auto out = runSignal (*pedal, chorusKnobs (1.0f, 1.0f, 0.001f), in, 256, 44100);

    double smallest = 1.0, largest = 0.0;
    for (size_t i = 1; i < in.size(); ++i)
    {
        const double fraction = ((double) out[i] - (double) in[i - 1]) / (double) stepSize;
        smallest = std::min (smallest, fraction);
        largest = std::max (largest, fraction);
    }

    EXPECT_NEAR (smallest, 0.0, 1.0e-3) << "Phase Mix 1, Speed 1, Amplitude 0.001, 44.1 kHz";
    EXPECT_NEAR (largest, 0.2205, 1.0e-3) << "Phase Mix 1, Speed 1, Amplitude 0.001, 44.1 kHz";
}

TEST (VibratoChorusEffect, WetVoiceIsDelayedByMPlusOneMinusD)
{
    // Amplitude 1 at 48 kHz: depth is the float just below 5 ms, so M = 239. With the slowest
    // oscillator the phase stays near 0, so d = 120 and the impulse comes out 240 - 120 = 120
    // samples late, split by the interpolation.
    auto pedal = makePedal (vibratoChorusEffect);
    const auto out =
        runSignal (*pedal, chorusKnobs (1.0f, 0.001f, 1.0f), impulse (1024), 64, 48000);

    double total = 0.0, moment = 0.0;
    for (size_t i = 0; i < out.size(); ++i)
    {
        total += out[i];
        moment += (double) i * out[i];
    }

    EXPECT_NEAR (total, 1.0, 1.0e-4);
    EXPECT_NEAR (moment / total, 120.0, 0.02) << "Phase Mix 1, Speed 0.001, Amplitude 1, 48 kHz";
}

TEST (VibratoChorusEffect, PhaseMixExtremes)
{
    const auto in = noise (4096, 0.7f, 21);
    auto wetPedal = makePedal (vibratoChorusEffect);
    auto mixedPedal = makePedal (vibratoChorusEffect);
    const auto wet = runSignal (*wetPedal, chorusKnobs (1.0f, 0.6f, 0.8f), in, 128, 48000);
    const auto mixed = runSignal (*mixedPedal, chorusKnobs (0.001f, 0.6f, 0.8f), in, 128, 48000);

    size_t differing = 0;
    for (size_t i = 0; i < in.size(); ++i)
    {
        // Phase Mix 0.001: 0.999 of the dry sample plus 0.001 of the delayed voice.
        EXPECT_NEAR (mixed[i], wet[i] * 0.001f + in[i] * 0.999f, 1.0e-6f) << "sample " << i;
        differing += wet[i] != in[i] ? 1u : 0u;
    }
    EXPECT_GT (differing, in.size() / 2) << "Phase Mix 1 should give the delayed voice alone";
}

TEST (VibratoChorusEffect, OutputDoesNotDependOnAConstantBlockLength)
{
    // The history window is seamless while the block length stays the same (a change of length
    // shifts it, as it does every shift register of the board).
    const auto in = noise (6000, 0.5f, 4);
    std::vector<float> reference;

    for (int blockSize : { 1, 60, 1000, 6000 })
    {
        auto pedal = makePedal (vibratoChorusEffect);
        const auto out = runSignal (*pedal, chorusKnobs (0.5f, 0.9f, 0.7f), in, blockSize, 44100);
        if (reference.empty())
            reference = out;
        else
            EXPECT_TRUE (out == reference) << "block size " << blockSize;
    }
}

TEST (VibratoChorusEffect, FirstSampleUsesThePhaseIncrement)
{
    auto pedal = makePedal (vibratoChorusEffect);
    float x = 0.3f;
    runEffect (*pedal, chorusKnobs (0.5f, 1.0f, 0.5f), &x, 1, 48000);
    EXPECT_EQ (pedal->chorusPhase, (float) (5.0 / 48000.0))
        << "Speed 1: the first step is inc, not 0";

    // One cycle of the 5 Hz oscillator takes sr / 5 samples.
    int wraps = 0;
    float previous = pedal->chorusPhase;
    for (int i = 0; i < 48000 * 5 / 2; ++i)
    {
        runEffect (*pedal, chorusKnobs (0.5f, 1.0f, 0.5f), &x, 1, 48000);
        wraps += pedal->chorusPhase < previous ? 1 : 0;
        previous = pedal->chorusPhase;
    }
    EXPECT_EQ (wraps, 12) << "2.5 seconds at Speed 1";
}

TEST (TremoloEffect, GainBounds)
{
    struct Case
    {
        float amplitude;
        float lowest;
        float highest;
    };
    for (const Case c :
         { Case { 1.0f, 0.0f, 1.0f }, Case { 0.001f, 0.999f, 1.0f }, Case { 0.5f, 0.5f, 1.0f } })
    {
        auto pedal = makePedal (tremoloEffect);
        const auto out = runSignal (*pedal, tremoloKnobs (1.0f, c.amplitude),
                                    std::vector<float> (9600, 1.0f), 512, 48000);
        const auto [lowest, highest] = std::minmax_element (out.begin(), out.end());
        EXPECT_NEAR (*lowest, c.lowest, 1.0e-6f) << "Amplitude " << c.amplitude;
        EXPECT_NEAR (*highest, c.highest, 1.0e-6f) << "Amplitude " << c.amplitude;
        EXPECT_GE (*lowest, c.lowest - 1.0e-7f);
        EXPECT_LE (*highest, 1.0f);

        // The gain is lowest at the oscillator's positive peak, a quarter cycle in (with the
        // smallest Amplitude the float steps make that minimum a wide plateau).
        if (c.amplitude >= 0.5f)
        {
            EXPECT_NEAR ((double) (lowest - out.begin()), 2400.0, 2.0)
                << "Amplitude " << c.amplitude;
        }
    }
}
