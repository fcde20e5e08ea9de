#include "EffectTestHelpers.h"
#include "helpers/ProcessorFixture.h"

#include <gtest/gtest.h>

using namespace effect_testing;

namespace
{
/** RoomSize, Reflection Factor, Mix, Early/Late Mix. */
EffectKnobs reverbKnobs (float roomSize, float reflection, float mix, float earlyLate)
{
    return knobs ({ roomSize, reflection, mix, earlyLate });
}

/** The delay a line was advanced with: after one block whose first line input is the only
    non-zero one, that input stands at index D of the line. */
template <typename Line>
int firstNonZero (const Line& line)
{
    for (int i = 0; i < Line::capacity; ++i)
        if (line.line[i] != 0.0f)
            return i;
    return -1;
}

struct LineDelays
{
    int combs[4];
    int stages[3];
};

LineDelays delaysAfterOneImpulse (float roomSize, int rate, int blockSize = 512)
{
    auto pedal = makePedal (digitalReverbEffect);
    auto block = impulse ((size_t) blockSize);
    runEffect (*pedal, reverbKnobs (roomSize, 0.5f, 0.5f, 0.5f), block.data(), blockSize, rate);

    LineDelays d {};
    for (int c = 0; c < 4; ++c)
        d.combs[c] = firstNonZero (pedal->combs[c]);
    for (int s = 0; s < 3; ++s)
        d.stages[s] = firstNonZero (pedal->allpasses[s]);
    return d;
}
} // namespace

TEST (DigitalReverbEffect, DelaysOfTheTableAt44And48kHz)
{
    struct Row
    {
        int rate;
        int combs[4];
        int stages[3];
    };
    const Row rows[] { { 44100, { 2681, 3258, 3417, 3886 }, { 539, 818, 1059 } },
                       { 48000, { 2919, 3547, 3719, 4229 }, { 587, 891, 1152 } } };

    for (const auto& row : rows)
    {
        const auto d = delaysAfterOneImpulse (0.5f, row.rate);
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ (d.combs[c], row.combs[c])
                << "comb " << c << ", RoomSize 0.5, " << row.rate << " Hz";
        for (int s = 0; s < 3; ++s)
            EXPECT_EQ (d.stages[s], row.stages[s])
                << "stage " << s << ", RoomSize 0.5, " << row.rate << " Hz";
    }
}

TEST (DigitalReverbEffect, RoomTimeSteps)
{
    // R = 10 for RoomSize 0.001 and 0.024 alike: t = 0.0294 s, comb 0 at 1116 / 1618 of it.
    const auto smallest = delaysAfterOneImpulse (0.001f, 44100);
    const auto nearlySmallest = delaysAfterOneImpulse (0.024f, 44100);
    EXPECT_EQ (smallest.combs[0], 893);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ (smallest.combs[c], nearlySmallest.combs[c]) << "comb " << c;

    // R = 50 at RoomSize 1: the longest comb and stage at 44.1 kHz.
    const auto largest = delaysAfterOneImpulse (1.0f, 44100);
    EXPECT_EQ (largest.combs[3], 6477);
    EXPECT_EQ (largest.stages[2], 1765);
}

TEST (DigitalReverbEffect, GainsAtFullReflection)
{
    // A comb's line input is prev * gc + x: with silence after an impulse, the block after the
    // one in which the impulse comes out of the comb feeds exactly gc back at the same index.
    const float combGains[4] { 0.9722222f, 0.9987923f, 0.9456522f, 0.9227053f };
    const float stageGain = 0.8454106f;
    const int n = 512;

    auto pedal = makePedal (digitalReverbEffect);
    const auto k = reverbKnobs (0.5f, 1.0f, 0.5f, 0.5f);
    auto block = impulse ((size_t) n);
    runEffect (*pedal, k, block.data(), n, 48000);

    int emergedAt[4] { -1, -1, -1, -1 };
    int stageEmergedAt = -1;
    bool stageChecked = false;

    for (int b = 1; b < 12; ++b)
    {
        std::fill (block.begin(), block.end(), 0.0f);
        runEffect (*pedal, k, block.data(), n, 48000);

        for (int c = 0; c < 4; ++c)
        {
            auto& comb = pedal->combs[c];
            if (emergedAt[c] >= 0)
            {
                EXPECT_NEAR (comb.input[emergedAt[c]], combGains[c], 5.0e-8f) << "comb " << c;
                emergedAt[c] = -2;
            }
            else if (emergedAt[c] == -1)
            {
                for (int i = 0; i < n; ++i)
                    if (comb.prev[i] == 1.0f)
                        emergedAt[c] = i;
            }
        }

        // Stage 0 sees nothing but the dry impulse until the first comb echo (2919 samples).
        auto& stage = pedal->allpasses[0];
        if (stageEmergedAt >= 0 && ! stageChecked)
        {
            EXPECT_NEAR (-stage.input[stageEmergedAt], stageGain, 5.0e-8f) << "stage gain";
            stageChecked = true;
        }
        else if (stageEmergedAt < 0)
        {
            for (int i = 0; i < n; ++i)
                if (stage.prev[i] == 1.0f)
                    stageEmergedAt = i;
        }
    }

    for (int c = 0; c < 4; ++c)
        EXPECT_EQ (emergedAt[c], -2) << "comb " << c << " never fed its echo back";
    EXPECT_TRUE (stageChecked);
}

TEST (DigitalReverbEffect, ImpulseGivesTheCombEchoesAndTheirRepeats)
{
    const int n = 512;
    auto pedal = makePedal (digitalReverbEffect);
    const auto out =
        runSignal (*pedal, reverbKnobs (0.5f, 1.0f, 1.0f, 0.001f), impulse (12000), n, 44100);

    // Each comb's first echo carries Mix x 0.999 / 4; the stages add only Mix x 0.001 / 4 parts.
    const int D[4] { 2681, 3258, 3417, 3886 };
    const float gc[4] { 0.9722222f, 0.9987923f, 0.9456522f, 0.9227053f };
    const float echo = 0.25f * 0.999f;

    for (int c = 0; c < 4; ++c)
    {
        EXPECT_NEAR (out[(size_t) D[c]], echo, 1.0e-3f) << "first echo of comb " << c;
        EXPECT_NEAR (out[(size_t) (2 * D[c] + n)], echo * gc[c], 1.0e-3f) << "repeat of comb " << c;
    }

    EXPECT_NEAR (out[0], 1.0f, 1.0e-3f) << "dry impulse";
    EXPECT_NEAR (out[(size_t) D[0] - 1], 0.0f, 1.0e-3f);
}

TEST (DigitalReverbEffect, SilenceAfterResetIsExact)
{
    auto processor = testing_helpers::makeProcessor (1, 2, 48000.0, 256);
    auto& p = *processor;
    auto& reverb = p.pedalUnits[9];
    testing_helpers::setNatural (*p.slotParameters[0], 9.0f);
    testing_helpers::setOn (*reverb.onOff, true);
    testing_helpers::setNatural (*reverb.knobParameters[0], 1.0f);
    testing_helpers::setNatural (*reverb.knobParameters[1], 1.0f);
    testing_helpers::setNatural (*reverb.knobParameters[2], 1.0f);

    juce::AudioBuffer<float> buffer (2, 256);
    const auto input = noise (256, 0.8f, 11);
    for (int b = 0; b < 40; ++b)
    {
        buffer.copyFrom (0, 0, input.data(), 256);
        testing_helpers::process (p, buffer);
    }

    p.reset();

    for (int b = 0; b < 60; ++b)
    {
        buffer.clear();
        testing_helpers::process (p, buffer);
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ (buffer.getSample (0, i), 0.0f)
                << "block " << b << " sample " << i << " (exact)";
    }
}

TEST (DigitalReverbEffect, LongestRoomStaysInsideTheLinesAtHighRates)
{
    const int bound = pedalCapacity::reverbLine - MonoBlock::maxBlockSize;

    for (int rate : { 192000, 384000 })
    {
        auto pedal = makePedal (digitalReverbEffect);
        auto block = impulse (MonoBlock::maxBlockSize);
        runEffect (*pedal, reverbKnobs (1.0f, 1.0f, 1.0f, 0.5f), block.data(),
                   MonoBlock::maxBlockSize, rate);

        // At 192 kHz every line fits (comb 3: 0.147 s); at 384 kHz the longer combs are bounded.
        const int comb3 = firstNonZero (pedal->combs[3]);
        if (rate == 192000)
            EXPECT_EQ (comb3,
                       (int) ((float) 1617 * (float) (50 * 0.00294) / 1618.0f * 192000.0f) - 1);
        else
            EXPECT_EQ (comb3, bound) << "384 kHz, RoomSize 1";

        for (int b = 0; b < 10; ++b)
        {
            auto signal = noise (MonoBlock::maxBlockSize, 1.0f, b);
            runEffect (*pedal, reverbKnobs ((b % 2) ? 1.0f : 0.001f, 1.0f, 1.0f, 0.5f),
                       signal.data(), MonoBlock::maxBlockSize, rate);
            for (float s : signal)
                ASSERT_TRUE (std::isfinite (s)) << rate << " Hz, block " << b;
        }
    }
}
