#include "EffectTestHelpers.h"
#include "engine/effects/EffectHelpers.h"

#include <gtest/gtest.h>

using namespace effect_testing;

namespace
{
/** Mix, Delay, Feedback. */
EffectKnobs delayKnobs (float mix, float delay, float feedback)
{
    return knobs ({ mix, delay, feedback });
}
} // namespace

TEST (DelayEffect, ImpulseTrainAt48kHzWith512SampleBlocks)
{
    auto pedal = makePedal (delayEffect);
    const auto out =
        runSignal (*pedal, delayKnobs (1.0f, 0.5f, 0.5f), impulse (48000 * 4), 512, 48000);

    // Echo k lies D + (k - 1)(D + n) samples after the input, with gain Feedback^(k - 1).
    const size_t first = 47999, spacing = 47999 + 512;
    const std::vector<size_t> expectedAt { 0, first, first + spacing, first + 2 * spacing };
    const std::vector<float> expectedGain { 1.0f, 1.0f, 0.5f, 0.25f };

    EXPECT_EQ (peaksAbove (out, 0.0f), expectedAt);
    for (size_t k = 0; k < expectedAt.size(); ++k)
        EXPECT_EQ (out[expectedAt[k]], expectedGain[k]) << "echo " << k << " (exact)";
}

TEST (DelayEffect, DelayInSamplesFollowsTheRate)
{
    struct Case
    {
        float delayKnob;
        int rate;
        size_t expectedD;
    };
    const Case cases[] { { 0.001f, 44100, 87 }, { 0.5f, 48000, 47999 }, { 1.0f, 44100, 88199 } };

    for (const auto& c : cases)
    {
        auto pedal = makePedal (delayEffect);
        const auto out = runSignal (*pedal, delayKnobs (1.0f, c.delayKnob, 0.0f),
                                    impulse (c.expectedD + 2048), 512, c.rate);
        const std::vector<size_t> expected { 0, c.expectedD };
        EXPECT_EQ (peaksAbove (out, 0.0f), expected)
            << "Delay " << c.delayKnob << " at " << c.rate << " Hz";
    }
}

TEST (DelayEffect, FeedbackOneNeverDecaysAndSmallestMixIsSixtyDecibelsDown)
{
    // 2 ms at 44.1 kHz: D = 87; with 64-sample blocks the repeats are 151 samples apart.
    auto pedal = makePedal (delayEffect);
    const auto out =
        runSignal (*pedal, delayKnobs (0.001f, 0.001f, 1.0f), impulse (20000), 64, 44100);

    for (size_t k = 0; k < 100; ++k)
    {
        const size_t at = 87 + k * 151;
        ASSERT_EQ (out[at], 0.001f) << "repeat " << k << " at sample " << at << " (exact)";
        ASSERT_EQ (out[at + 1], 0.0f) << "after repeat " << k;
    }

    EXPECT_NEAR (20.0 * std::log10 (0.001), -60.0, 1.0e-9);
}

TEST (DelayEffect, LongestSettingStaysInsideTheLineAtHighRates)
{
    // 2000 ms would be 383,999 samples at 192 kHz and 767,999 at 384 kHz; with 8192-sample
    // blocks the line has room for a delay of 384,000 - 8192 samples.
    const size_t bound = (size_t) (pedalCapacity::delayLine - MonoBlock::maxBlockSize);

    for (int rate : { 192000, 384000 })
    {
        auto pedal = makePedal (delayEffect);
        const auto out = runSignal (*pedal, delayKnobs (1.0f, 1.0f, 0.5f), impulse (bound + 16384),
                                    MonoBlock::maxBlockSize, rate);
        const std::vector<size_t> expected { 0, bound };
        EXPECT_EQ (peaksAbove (out, 0.0f), expected) << rate << " Hz, Delay 1, 8192-sample blocks";

        // Swinging between the shortest and the longest setting keeps inside the line too.
        auto signal = noise (MonoBlock::maxBlockSize, 1.0f, rate);
        for (int block = 0; block < 8; ++block)
        {
            runEffect (*pedal, delayKnobs (1.0f, (block % 2) ? 1.0f : 0.001f, 1.0f), signal.data(),
                       MonoBlock::maxBlockSize, rate);
            for (float s : signal)
                ASSERT_TRUE (std::isfinite (s)) << rate << " Hz, block " << block;
        }
    }
}

TEST (DelayEffect, BoundedDelayHelper)
{
    EXPECT_EQ (effects::boundedDelay (48000.0f, 375808), 47999);
    EXPECT_EQ (effects::boundedDelay (375809.0f, 375808), 375808);
    EXPECT_EQ (effects::boundedDelay (375809.5f, 375808), 375808);
    EXPECT_EQ (effects::boundedDelay (767999.0f, 375808), 375808);
    EXPECT_EQ (effects::boundedDelay (3.0e38f, 375808), 375808);
    EXPECT_EQ (effects::boundedDelay (0.5f, 375808), 0) << "never negative";
    EXPECT_EQ (effects::boundedDelay (std::nanf (""), 100), 100);
}
