#include "EffectTestHelpers.h"
#include "helpers/ProcessorFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace effect_testing;
using namespace testing_helpers;

namespace
{
/** Mid-range knob values for every type, the Delay at its longest setting. */
EffectKnobs typicalKnobs (int type)
{
    return type == delayEffect ? knobs ({ 0.5f, 1.0f, 0.7f })
                               : knobs ({ 0.5f, 0.7f, 0.6f, 0.4f, 0.5f });
}
} // namespace

TEST (EffectChain, PositionValue23RunsPedal23)
{
    auto processor = makeProcessor (1, 2, 48000.0, 256);
    auto& p = *processor;
    setNatural (*p.volumeParameter, 1.0f);

    auto& drive = p.pedalUnits[23];
    ASSERT_EQ (drive.type, drive707Effect);
    setOn (*drive.onOff, true);
    setNatural (*p.slotParameters[2], 23.0f);

    auto reference = makePedal (drive707Effect);
    const auto k = knobs ({ 0.5f, 0.5f, 0.5f }); // the knobs' defaults

    for (int b = 0; b < 4; ++b)
    {
        auto in = noise (256, 0.3f, b);
        juce::AudioBuffer<float> buffer (2, 256);
        buffer.copyFrom (0, 0, in.data(), 256);
        process (p, buffer);

        runEffect (*reference, k, in.data(), 256, 48000);
        for (int i = 0; i < 256; ++i)
            ASSERT_NEAR (buffer.getSample (0, i), juce::jlimit (-1.0f, 1.0f, in[(size_t) i]),
                         1.0e-6f)
                << "block " << b << " sample " << i;
    }
}

TEST (EffectChain, APedalInTwoPositionsRunsTwicePerBlock)
{
    auto processor = makeProcessor (1, 2, 44100.0, 128);
    auto& p = *processor;
    setNatural (*p.volumeParameter, 1.0f);

    auto& tremolo = p.pedalUnits[10];
    ASSERT_EQ (tremolo.type, tremoloEffect);
    setOn (*tremolo.onOff, true);
    setNatural (*tremolo.knobParameters[0], 1.0f);
    setNatural (*tremolo.knobParameters[1], 0.8f);
    setNatural (*p.slotParameters[1], 10.0f);
    setNatural (*p.slotParameters[4], 10.0f);

    auto reference = makePedal (tremoloEffect);
    const auto k = knobs ({ 1.0f, 0.8f });

    for (int b = 0; b < 3; ++b)
    {
        auto in = noise (128, 0.5f, 40 + b);
        juce::AudioBuffer<float> buffer (2, 128);
        buffer.copyFrom (0, 0, in.data(), 128);
        process (p, buffer);

        // Each pass continues the phase where the one before it stopped.
        runEffect (*reference, k, in.data(), 128, 44100);
        runEffect (*reference, k, in.data(), 128, 44100);
        for (int i = 0; i < 128; ++i)
            ASSERT_NEAR (buffer.getSample (0, i), in[(size_t) i], 1.0e-6f)
                << "block " << b << " sample " << i;
    }

    EXPECT_EQ (tremolo.tremoloPhase, reference->tremoloPhase) << "six passes of 128 samples";
}

TEST (EffectChain, EveryEffectIgnoresAnEmptyBlock)
{
    for (int type = 0; type < numEffectTypes; ++type)
    {
        auto pedal = makePedal (type);
        const auto k = typicalKnobs (type);
        runSignal (*pedal, k, noise (3000, 0.6f, type), 300, 48000);

        const auto before = snapshot (*pedal);
        float untouched = 0.375f;
        runEffect (*pedal, k, &untouched, 0, 48000);
        EXPECT_EQ (untouched, 0.375f) << effectName (type);
        EXPECT_TRUE (snapshot (*pedal) == before)
            << effectName (type) << ": state changed on a 0-sample block";
    }
}

TEST (EffectChain, BlocksWithoutARateOrTooLongPassUnchanged)
{
    // A host that never prepared the processor reports rate 0: lengths and coefficients would be
    // non-numbers or negative, so the time-based effects leave such a block and their state alone.
    for (int type = 0; type < numEffectTypes; ++type)
    {
        if (type == fuzzFakeEffect)
            continue; // no time base: it clips as always

        auto pedal = makePedal (type);
        const auto k = typicalKnobs (type);
        runSignal (*pedal, k, noise (1024, 0.6f, type), 256, 44100);

        const auto before = snapshot (*pedal);
        const auto in = noise (256, 0.6f, 99);
        const auto out = runSignal (*pedal, k, in, 256, 0);
        EXPECT_TRUE (out == in) << effectName (type);
        EXPECT_TRUE (snapshot (*pedal) == before) << effectName (type);

        // Nor does a block longer than the engine ever hands on.
        const auto longBlock = noise (MonoBlock::maxBlockSize + 1, 0.6f, 98);
        auto longOut = longBlock;
        runEffect (*pedal, k, longOut.data(), (int) longOut.size(), 44100);
        EXPECT_TRUE (longOut == longBlock) << effectName (type) << ", 8193 samples";
        EXPECT_TRUE (snapshot (*pedal) == before) << effectName (type) << ", 8193 samples";

        // And the effect carries on normally at a real rate afterwards.
        const auto after = runSignal (*pedal, k, in, 256, 44100);
        for (float s : after)
            ASSERT_TRUE (std::isfinite (s)) << effectName (type);
    }
}

TEST (EffectChain, EveryEffectStaysInsideItsMemoryAtExtremeRates)
{
    // 8192-sample blocks at the highest rates: no line, history or buffer is touched outside its
    // bounds (the AddressSanitizer build runs this too) and the output stays finite.
    for (int rate : { 192000, 384000, 1000000, std::numeric_limits<int32_t>::max() })
    {
        for (int type = 0; type < numEffectTypes; ++type)
        {
            auto pedal = makePedal (type);
            for (int b = 0; b < 3; ++b)
            {
                // Alternate the longest and shortest settings of every knob.
                const float v = (b % 2) ? 0.001f : 1.0f;
                auto k = knobs ({ v, v, v, v, v });
                k.values[2] = type == delayEffect ? 0.5f : k.values[2]; // bounded feedback
                auto signal = noise (MonoBlock::maxBlockSize, 0.9f, b);
                runEffect (*pedal, k, signal.data(), MonoBlock::maxBlockSize, rate);

                for (float s : signal)
                    ASSERT_TRUE (std::isfinite (s))
                        << effectName (type) << " at " << rate << " Hz, block " << b;
            }
        }
    }
}

TEST (EffectChain, HostileSamplesDoNotStayInAnyMemory)
{
    // Non-numbers and infinities early in one block: whatever that block carries, the memories
    // (lines, filter states, envelope) take none of it, so the next blocks are finite again.
    const float hostile[] { std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity() };

    for (int type = 0; type < numEffectTypes; ++type)
    {
        auto pedal = makePedal (type);
        const auto k = type == delayEffect ? knobs ({ 0.5f, 0.001f, 1.0f }) : typicalKnobs (type);
        runSignal (*pedal, k, noise (2048, 0.5f, type), 512, 48000);

        auto block = noise (512, 0.5f, 50 + type);
        block[3] = hostile[0];
        block[10] = hostile[1];
        block[17] = hostile[2];
        runEffect (*pedal, k, block.data(), 512, 48000);

        const auto after = runSignal (*pedal, k, noise (512 * 20, 0.5f, 70 + type), 512, 48000);
        for (size_t i = 0; i < after.size(); ++i)
            ASSERT_TRUE (std::isfinite (after[i]))
                << effectName (type) << ", sample " << i << " after the block";
    }
}

TEST (EffectChain, NonNumberKnobsReadAsTheirLowestValue)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();

    for (int type = 0; type < numEffectTypes; ++type)
    {
        auto withNaN = makePedal (type);
        auto withLowest = makePedal (type);
        const auto in = noise (4096, 0.5f, type);
        const auto a = runSignal (*withNaN, knobs ({ nan, nan, nan, nan, nan }), in, 512, 44100);
        const auto b = runSignal (*withLowest, knobs ({ 0.001f, 0.001f, 0.001f, 0.001f, 0.001f }),
                                  in, 512, 44100);
        EXPECT_TRUE (a == b) << effectName (type);
    }
}
