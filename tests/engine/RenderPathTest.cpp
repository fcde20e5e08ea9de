#include "helpers/ProcessorFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
using namespace testing_helpers;

juce::AudioBuffer<float> constantBuffer (int channels, int samples, float value)
{
    juce::AudioBuffer<float> buffer (channels, samples);
    for (int c = 0; c < channels; ++c)
        juce::FloatVectorOperations::fill (buffer.getWritePointer (c), value, samples);
    return buffer;
}

juce::AudioBuffer<float> rampBuffer (int channels, int samples, float from, float to)
{
    juce::AudioBuffer<float> buffer (channels, samples);
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < samples; ++i)
            buffer.setSample (c, i, from + (to - from) * (float) i / (float) (samples - 1));
    return buffer;
}

void setUnityVolume (StompvaleAudioProcessor& p) { setNatural (*p.volumeParameter, 1.0f); }
} // namespace

TEST (RenderPath, BlocksLongerThanTheLimitPassThroughUntouched)
{
    auto processor = makeProcessor (1, 2, 48000.0, 8193);
    auto& p = *processor;
    setUnityVolume (p);

    auto buffer = rampBuffer (2, 8193, -3.0f, 3.0f);
    const auto original = rampBuffer (1, 8193, -3.0f, 3.0f);
    process (p, buffer);

    for (int i = 0; i < 8193; ++i)
    {
        ASSERT_EQ (buffer.getSample (0, i), original.getSample (0, i)) << "sample " << i;
        ASSERT_EQ (buffer.getSample (1, i), 0.0f) << "channel 1 must be silent, sample " << i;
    }

    process (p, buffer);
    EXPECT_EQ (p.inputLevel.load(), 0.0f);
    EXPECT_EQ (p.outputLevel.load(), 0.0f);
    EXPECT_EQ (p.lastBlockSize, 8193);

    // One sample less is processed: clipped and copied.
    auto exact = rampBuffer (2, 8192, -3.0f, 3.0f);
    process (p, exact);
    EXPECT_EQ (exact.getSample (0, 0), -1.0f);
    EXPECT_EQ (exact.getSample (0, 8191), 1.0f);
    EXPECT_EQ (exact.getSample (1, 8191), 1.0f);
    EXPECT_EQ (p.lastBlockSize, 8192);
}

TEST (RenderPath, EmptyChainClipsAndCopiesInEveryConfiguration)
{
    struct Config
    {
        int inputs, outputs;
    };
    for (auto config : { Config { 1, 1 }, Config { 1, 2 }, Config { 2, 2 } })
    {
        auto processor = makeProcessor (config.inputs, config.outputs);
        auto& p = *processor;
        setUnityVolume (p);

        auto buffer = rampBuffer (config.outputs, 512, -2.0f, 2.0f);
        if (config.outputs == 2)
            juce::FloatVectorOperations::fill (buffer.getWritePointer (1), 0.25f, 512);

        process (p, buffer);

        for (int i = 0; i < 512; ++i)
        {
            const float in = -2.0f + 4.0f * (float) i / 511.0f;
            const float expected = juce::jlimit (-1.0f, 1.0f, in);
            ASSERT_EQ (buffer.getSample (0, i), expected)
                << config.inputs << " in, " << config.outputs << " out, sample " << i;

            if (config.outputs == 2)
            {
                ASSERT_EQ (buffer.getSample (1, i), expected)
                    << config.inputs << " in, 2 out: channel 1 must equal channel 0";
            }
        }
    }
}

TEST (RenderPath, OneOutputLeavesNoSecondChannelWritten)
{
    auto processor = makeProcessor (1, 1);
    auto& p = *processor;
    setUnityVolume (p);

    // A host may hand a wider buffer than the layout; only channel 0 is ours.
    auto buffer = constantBuffer (2, 64, 3.0f);
    process (p, buffer);
    EXPECT_EQ (buffer.getSample (0, 10), 1.0f);
    EXPECT_EQ (buffer.getSample (1, 10), 3.0f);
}

TEST (RenderPath, ChainPositionsSelectPedalsAndSkipOthers)
{
    auto processor = makeProcessor (1, 2);
    auto& p = *processor;
    setUnityVolume (p);

    // Pedal 21 is a Fuzz Fake: with Fuzz 0.001, Symetrical 1 and Gain 0.25 it maps
    // x to clamp (x * 1.05, 0, 2) * 0.5.
    auto& fuzz = p.pedalUnits[21];
    setNatural (*fuzz.knobParameters[0], 0.001f);
    setNatural (*fuzz.knobParameters[1], 1.0f);
    setNatural (*fuzz.knobParameters[2], 0.25f);
    setOn (*fuzz.onOff, true);

    const auto run = [&p] (float in) {
        auto buffer = constantBuffer (2, 16, in);
        process (p, buffer);
        return buffer.getSample (0, 5);
    };

    EXPECT_EQ (run (0.4f), 0.4f) << "empty chain";

    setNatural (*p.slotParameters[3], 21.0f);
    EXPECT_FLOAT_EQ (run (0.4f), 0.4f * 1.05f * 0.5f);
    EXPECT_EQ (run (-0.4f), 0.0f);

    // The same pedal in two positions runs twice.
    setNatural (*p.slotParameters[5], 21.0f);
    EXPECT_FLOAT_EQ (run (0.4f), (0.4f * 1.05f * 0.5f) * 1.05f * 0.5f);

    // Switched off, the pedal passes the block bit for bit.
    setOn (*fuzz.onOff, false);
    EXPECT_EQ (run (0.3f), 0.3f);
}

TEST (RenderPath, RoundsPositionsHalfToEven)
{
    EXPECT_EQ (StompvaleAudioProcessor::roundHalfToEven (0.5f), 0);
    EXPECT_EQ (StompvaleAudioProcessor::roundHalfToEven (1.5f), 2);
    EXPECT_EQ (StompvaleAudioProcessor::roundHalfToEven (2.5f), 2);
    EXPECT_EQ (StompvaleAudioProcessor::roundHalfToEven (-0.5f), 0);
    EXPECT_EQ (StompvaleAudioProcessor::roundHalfToEven (-1.5f), -2);
    EXPECT_EQ (StompvaleAudioProcessor::roundHalfToEven (22.5f), 22);
    EXPECT_EQ (StompvaleAudioProcessor::roundHalfToEven (23.5f), 24);
    EXPECT_EQ (StompvaleAudioProcessor::roundHalfToEven (std::nanf ("")), -1);
    EXPECT_EQ (StompvaleAudioProcessor::roundHalfToEven (INFINITY), -1);
}

TEST (RenderPath, MeterWindowsFollowTheirArithmetic)
{
    auto processor = makeProcessor (1, 2, 44100.0, 512);
    auto& p = *processor;
    setUnityVolume (p);
    EXPECT_EQ (p.meterPeriod, 13230);

    // 26 blocks at 0.5: the level follows the window's peak at once (one block late).
    for (int block = 1; block <= 26; ++block)
    {
        auto buffer = constantBuffer (2, 512, 0.5f);
        process (p, buffer);
        const float expected = block == 1 ? 0.0f : 50.0f;
        ASSERT_FLOAT_EQ (p.inputLevel.load(), expected) << "block " << block;
    }
    EXPECT_EQ (p.meterSampleCount, 26 * 512);

    // Silence from now on: the 27th block closes the window and the level moves 30 % of the
    // way to the window's peak; each following silent window multiplies it by 0.7.
    const float expected[] = { 50.0f, 35.0f, 24.5f };
    int closed = 0;
    for (int block = 27; closed < 3; ++block)
    {
        const bool closes = p.meterSampleCount > p.meterPeriod;
        auto buffer = constantBuffer (2, 512, 0.0f);
        process (p, buffer);
        if (closes)
        {
            if (closed == 0)
            {
                EXPECT_EQ (block, 27);
            }
            EXPECT_FLOAT_EQ (p.inputLevel.load(), expected[closed]) << "window " << closed;
            EXPECT_EQ (p.meterSampleCount, 0);
            ++closed;
        }
    }
}

TEST (RenderPath, OutputLevelIsMeasuredBeforeTheClip)
{
    auto processor = makeProcessor (1, 2, 48000.0, 256);
    auto& p = *processor;
    setNatural (*p.volumeParameter, 2.0f);

    for (int block = 0; block < 3; ++block)
    {
        auto buffer = constantBuffer (2, 256, 0.8f);
        process (p, buffer);
        EXPECT_EQ (buffer.getSample (0, 0), 1.0f);
        EXPECT_EQ (buffer.getSample (1, 255), 1.0f);
    }

    EXPECT_FLOAT_EQ (p.outputLevel.load(), 160.0f);
    EXPECT_FLOAT_EQ (p.inputLevel.load(), 80.0f);
}

TEST (RenderPath, PrepareRestartsTheWindowButKeepsTheLevels)
{
    auto processor = makeProcessor (1, 2, 48000.0, 256);
    auto& p = *processor;
    setUnityVolume (p);

    for (int block = 0; block < 2; ++block)
    {
        auto buffer = constantBuffer (2, 256, 0.5f);
        process (p, buffer);
    }

    p.prepareToPlay (48000.0, 256);
    EXPECT_EQ (p.meterPeriod, 14400);
    EXPECT_EQ (p.meterSampleCount, 0);
    EXPECT_EQ (p.inputPeak, 0.0f);
    EXPECT_FLOAT_EQ (p.inputLevel.load(), 50.0f);
}

TEST (RenderPath, EmptyAndChannelLessBuffersAreSafe)
{
    auto processor = makeProcessor (1, 2);
    auto& p = *processor;

    juce::AudioBuffer<float> empty (2, 0);
    process (p, empty);
    EXPECT_EQ (p.lastBlockSize, 0);

    juce::AudioBuffer<float> noChannels (0, 64);
    process (p, noChannels);
    EXPECT_EQ (p.lastBlockSize, 64);
}
