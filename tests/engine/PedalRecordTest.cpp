#include "helpers/ProcessorFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>

TEST (PedalRecord, InitWritesTheTypeTable)
{
    auto pedal = std::make_unique<Pedal>();

    struct Row
    {
        const char* code;
        const char* display;
        int knobs;
        std::vector<const char*> names;
    };
    const Row rows[8] = {
        { "PEDAL_CHORUS", "Vibrato/Chorus", 3, { "Phase Mix", "Speed", "Amplitude" } },
        { "PEDAL_REVERB",
          "Digital reverb",
          4,
          { "RoomSize", "Reflection Factor", "Mix", "Early/Late Mix" } },
        { "PEDAL_TREMOLO", "Tremolo", 2, { "Speed", "Amplitude" } },
        { "PEDAL_Delay", "Delay", 3, { "Mix", "Delay", "Feedback" } },
        { "PEDAL_Compressor", "Compressor", 5, { "Attack", "Release", "Input", "Ratio", "Gain" } },
        { "PEDAL_Fuzz", "Fuzz Fake", 3, { "Fuzz", "Symetrical", "Gain" } },
        { "PEDAL_drive", "Tone Drive", 3, { "Gain", "Tone", "Mix" } },
        { "PEDAL_707", "707 Drive", 3, { "Gain", "Tone", "Volume" } },
    };

    for (int type = 0; type < 8; ++type)
    {
        pedal = std::make_unique<Pedal>();
        pedal->init (type);
        EXPECT_EQ (pedal->type, type);
        EXPECT_EQ (pedal->codeName, rows[type].code);
        EXPECT_EQ (pedal->displayName, rows[type].display);
        EXPECT_EQ (pedal->numParams, rows[type].knobs);
        for (int j = 0; j < 5; ++j)
        {
            const juce::String expected = j < rows[type].knobs ? rows[type].names[(size_t) j] : "";
            EXPECT_EQ (pedal->paramNames[j], expected) << "type " << type << " knob " << j;
        }
    }

    pedal = std::make_unique<Pedal>();
    pedal->init (9);
    EXPECT_EQ (pedal->type, 9);
    EXPECT_EQ (pedal->numParams, 0);
    EXPECT_TRUE (pedal->codeName.isEmpty());
}

TEST (PedalRecord, StartsZeroedWithItsTables)
{
    auto pedal = std::make_unique<Pedal>();
    EXPECT_EQ (pedal->combTuning[3], 1617);
    EXPECT_FLOAT_EQ (pedal->combGains[1], 0.827f);
    EXPECT_EQ (pedal->toneDriveLastTone, -1.0f);
    EXPECT_EQ (pedal->toneDriveLastRate, 10000);
    EXPECT_EQ (pedal->drive707LastGain, -1.0f);
    EXPECT_EQ (pedal->drive707LastRate, 10000);

    const auto allZero = [] (const float* data, size_t count) {
        return std::all_of (data, data + count, [] (float v) { return v == 0.0f; });
    };

    EXPECT_TRUE (allZero (pedal->delayLine.line, pedalCapacity::delayLine));
    EXPECT_TRUE (allZero (pedal->combs[3].line, pedalCapacity::reverbLine));
    EXPECT_TRUE (allZero (pedal->allpasses[2].out, MonoBlock::maxBlockSize));
    EXPECT_TRUE (allZero (pedal->chorusHistory, pedalCapacity::chorusHistory));
    EXPECT_TRUE (allZero (pedal->drive707ToneBuffer, pedalCapacity::driveBuffer));
}

TEST (BlockDelayLineTest, AdvanceMovesKeepsAndCopies)
{
    auto line = std::make_unique<BlockDelayLine<64>>();
    std::iota (std::begin (line->line), std::end (line->line), 0.0f);

    // n = 0 changes nothing.
    line->advance (10, 0);
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ (line->line[i], (float) i);

    // D = 0: prev becomes the input.
    for (int i = 0; i < 4; ++i)
        line->input[i] = 100.0f + (float) i;
    line->advance (0, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ (line->prev[i], 100.0f + (float) i);

    // D = 3, n = 2: line[2..4] moves to the front, the input follows.
    std::iota (std::begin (line->line), std::end (line->line), 0.0f);
    line->input[0] = -1.0f;
    line->input[1] = -2.0f;
    line->advance (3, 2);
    const float expected[] = { 2, 3, 4, -1, -2 };
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ (line->line[i], expected[i]) << "index " << i;
    EXPECT_EQ (line->prev[0], 2.0f);
    EXPECT_EQ (line->prev[1], 3.0f);
}

TEST (BlockDelayLineTest, DelayIsTheLineInputOfDSamplesEarlier)
{
    auto line = std::make_unique<BlockDelayLine<256>>();
    constexpr int D = 37, n = 16;
    float time = 0.0f;
    for (int block = 0; block < 12; ++block)
    {
        for (int i = 0; i < n; ++i)
            line->input[i] = time + (float) i;
        line->advance (D, n);
        for (int i = 0; i < n; ++i)
        {
            const float expected = time + (float) i - (float) D;
            if (expected >= 0.0f)
            {
                ASSERT_EQ (line->prev[i], expected) << "block " << block << " sample " << i;
            }
        }
        time += (float) n;
    }
}

TEST (BlockDelayLineTest, ADelayTooLongForTheLineIsBounded)
{
    auto line = std::make_unique<BlockDelayLine<64>>();
    std::fill (std::begin (line->input), std::end (line->input), 1.0f);
    line->advance (1000, 16); // would write past the end; kept within 64
    EXPECT_EQ (line->line[63], 1.0f);
    EXPECT_EQ (line->line[47], 0.0f);
    line->advance (-5, 100000); // negative delay and an over-long block are clamped as well
    SUCCEED();
}

TEST (ProcessorReset, ClearsOnlyDelayAndReverbMemories)
{
    auto processor = testing_helpers::makeProcessor();
    auto& p = *processor;

    for (auto& pedal : p.pedalUnits)
    {
        std::fill (std::begin (pedal.delayLine.line), std::end (pedal.delayLine.line), 1.0f);
        std::fill (std::begin (pedal.delayLine.prev), std::end (pedal.delayLine.prev), 1.0f);
        std::fill (std::begin (pedal.delayLine.input), std::end (pedal.delayLine.input), 1.0f);
        for (auto& comb : pedal.combs)
        {
            comb.line[5] = comb.prev[5] = comb.input[5] = 1.0f;
        }
        for (auto& stage : pedal.allpasses)
            stage.line[7] = stage.prev[7] = stage.input[7] = stage.out[7] = 1.0f;
        pedal.chorusHistory[3] = 1.0f;
        pedal.chorusPhase = 0.25f;
        pedal.tremoloPhase = 0.5f;
        pedal.compressorEnvelope = 0.5f;
        pedal.compressorGain = 0.5f;
        pedal.toneDriveBuffer[2] = 1.0f;
    }

    p.reset();

    for (int i = 0; i < 24; ++i)
    {
        const auto& pedal = p.pedalUnits[i];
        const bool isDelay = i % 8 == 3, isReverb = i % 8 == 1;

        EXPECT_EQ (pedal.delayLine.line[100], isDelay ? 0.0f : 1.0f) << "pedal " << i;
        EXPECT_EQ (pedal.delayLine.prev[100], 1.0f) << "prev survives, pedal " << i;
        EXPECT_EQ (pedal.delayLine.input[100], 1.0f) << "input survives, pedal " << i;

        for (const auto& comb : pedal.combs)
        {
            EXPECT_EQ (comb.line[5], isReverb ? 0.0f : 1.0f);
            EXPECT_EQ (comb.prev[5], isReverb ? 0.0f : 1.0f);
            EXPECT_EQ (comb.input[5], isReverb ? 0.0f : 1.0f);
        }
        for (const auto& stage : pedal.allpasses)
            EXPECT_EQ (stage.out[7] + stage.line[7] + stage.prev[7] + stage.input[7],
                       isReverb ? 0.0f : 4.0f);

        EXPECT_EQ (pedal.chorusHistory[3], 1.0f);
        EXPECT_EQ (pedal.chorusPhase, 0.25f);
        EXPECT_EQ (pedal.tremoloPhase, 0.5f);
        EXPECT_EQ (pedal.compressorEnvelope, 0.5f);
        EXPECT_EQ (pedal.compressorGain, 0.5f);
        EXPECT_EQ (pedal.toneDriveBuffer[2], 1.0f);
    }
}
