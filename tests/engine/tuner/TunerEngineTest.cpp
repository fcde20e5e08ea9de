#include "engine/tuner/TunerEngine.h"
#include "helpers/ProcessorFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace
{
constexpr double pi = 3.14159265358979323846;

/** A TunerEngine (1.4 MB, so on the heap) with its three published readings. */
struct Tuner
{
    std::unique_ptr<TunerEngine> engine = std::make_unique<TunerEngine>();
    std::atomic<float> frequency { 0.0f };
    TunerNoteName noteName;
    std::atomic<float> deviation { 0.0f };

    void process (const float* samples, int numSamples, int sampleRate)
    {
        engine->process (samples, numSamples, sampleRate, frequency, noteName, deviation);
    }
};

/** A continuous sine, cut into blocks. */
struct Tone
{
    double frequency;
    double sampleRate;
    double phase = 0.0;

    void fill (float* samples, int numSamples, float amplitude = 0.5f)
    {
        for (int i = 0; i < numSamples; ++i)
        {
            samples[i] = amplitude * (float) std::sin (phase);
            phase = std::fmod (phase + 2.0 * pi * frequency / sampleRate, 2.0 * pi);
        }
    }
};

/** Runs numBlocks blocks of the tone through the tuner. */
void play (Tuner& tuner, Tone& tone, int blockSize, int numBlocks)
{
    std::vector<float> block ((size_t) blockSize);
    for (int b = 0; b < numBlocks; ++b)
    {
        tone.fill (block.data(), blockSize);
        tuner.process (block.data(), blockSize, (int) tone.sampleRate);
    }
}

double centsBetween (double f, double reference) { return 1200.0 * std::log2 (f / reference); }

int noteIndexOf (const char* name)
{
    for (int i = 0; i < TunerNoteName::numNames; ++i)
        if (juce::String (TunerNoteName::names[i]) == name)
            return i;
    return -1;
}
} // namespace

//==================================================================================================
TEST (TunerNoteTableTest, CentresBoundsAndNames)
{
    auto engine = std::make_unique<TunerEngine>();

    EXPECT_FLOAT_EQ (engine->noteFrequencies[0], 30.867706f);
    EXPECT_FLOAT_EQ (engine->noteUpperBounds[0], 31.7722f);
    EXPECT_FLOAT_EQ (engine->noteLowerBounds[0], 29.988962f);
    EXPECT_EQ (engine->noteFrequencies[46], 440.0f);
    EXPECT_FLOAT_EQ (engine->noteFrequencies[54], 698.45648f);
    EXPECT_FLOAT_EQ (engine->noteUpperBounds[54], 718.92279f);
    EXPECT_FLOAT_EQ (engine->noteLowerBounds[54], 678.57275f);
    EXPECT_EQ (engine->noteUpperBounds[17], 84.821594f); // E2 | F2

    for (int k = 1; k < TunerEngine::numNotes; ++k)
        EXPECT_EQ (engine->noteLowerBounds[k], engine->noteUpperBounds[k - 1])
            << "lower edge of note " << k << " is not the upper edge of the note below";

    EXPECT_STREQ (engine->noteNames[0], "B");
    EXPECT_STREQ (engine->noteNames[1], "C");
    EXPECT_STREQ (engine->noteNames[17], "E"); // E2
    EXPECT_STREQ (engine->noteNames[46], "A"); // A4
    EXPECT_STREQ (engine->noteNames[44], "G"); // G4
    EXPECT_STREQ (engine->noteNames[45], "G#");
    EXPECT_STREQ (engine->noteNames[47], "Bb");
    EXPECT_STREQ (engine->noteNames[54], "F"); // F5
}

TEST (TunerNoteTableTest, BandEdgesAndOutsideMatchNoNote)
{
    auto engine = std::make_unique<TunerEngine>();
    EXPECT_EQ (engine->findNote (84.821594f), -1);
    EXPECT_EQ (engine->findNote (std::nextafter (84.821594f, 0.0f)), 17);   // E2
    EXPECT_EQ (engine->findNote (std::nextafter (84.821594f, 100.0f)), 18); // F2

    for (int k = 0; k < TunerEngine::numNotes; ++k)
    {
        EXPECT_EQ (engine->findNote (engine->noteUpperBounds[k]), -1) << "upper edge of " << k;
        EXPECT_EQ (engine->findNote (engine->noteLowerBounds[k]), -1) << "lower edge of " << k;
        EXPECT_EQ (engine->findNote (engine->noteFrequencies[k]), k) << "centre of " << k;
    }

    EXPECT_EQ (engine->findNote (0.0f), -1);
    EXPECT_EQ (engine->findNote (29.0f), -1);
    EXPECT_EQ (engine->findNote (718.92279f), -1);
    EXPECT_EQ (engine->findNote (1000.0f), -1);
    EXPECT_EQ (engine->findNote (std::numeric_limits<float>::quiet_NaN()), -1);
}

TEST (TunerNoteTableTest, DeviationIsZeroAtTheCentreAndLinearInEachHalf)
{
    auto engine = std::make_unique<TunerEngine>();
    for (int k = 0; k < TunerEngine::numNotes; ++k)
    {
        const float centre = engine->noteFrequencies[k];
        EXPECT_EQ (engine->deviationFrom (k, centre), 0.0f) << "note " << k;
        EXPECT_NEAR (engine->deviationFrom (k, engine->noteUpperBounds[k]), 50.0f, 1.0e-4f)
            << "note " << k;
        EXPECT_NEAR (engine->deviationFrom (k, engine->noteLowerBounds[k]), -50.0f, 1.0e-4f)
            << "note " << k;
    }

    // 10 cents either side of A4.
    const float up = (float) (440.0 * std::pow (2.0, 10.0 / 1200.0));
    const float down = (float) (440.0 * std::pow (2.0, -10.0 / 1200.0));
    EXPECT_NEAR (engine->deviationFrom (46, up), 9.885f, 1.0e-3f);
    EXPECT_NEAR (engine->deviationFrom (46, down), -10.116f, 1.0e-3f);
}

TEST (TunerNoteTableTest, NumberOfSearchedBins)
{
    EXPECT_EQ (TunerEngine::numBinsFor (2756), 1070); // 44100 Hz
    EXPECT_EQ (TunerEngine::numBinsFor (3000), 983);  // 48000 Hz
    EXPECT_EQ (TunerEngine::numBinsFor (6000), 491);  // 96000 Hz
    EXPECT_EQ (TunerEngine::numBinsFor (12000), 245); // 192000 Hz
    EXPECT_EQ (TunerEngine::numBinsFor (720), 4096);  // 11520 Hz: half the transform
    EXPECT_EQ (TunerEngine::numBinsFor (500), 5898);  // 8000 Hz: beyond it, into the zero tail
    EXPECT_EQ (TunerEngine::numBinsFor (0), 0);
    EXPECT_EQ (TunerEngine::numBinsFor (1), TunerEngine::maxBins);
}

//==================================================================================================
TEST (TunerDetectionTest, SteadyA2At44100SettlesOnA)
{
    Tuner tuner;
    Tone tone { 110.0, 44100.0 };
    play (tuner, tone, 512, 400);

    EXPECT_EQ (tuner.noteName.get(), "A");
    // The decimated rate is taken as 2756 Hz for 2756.25 Hz: the reading is 0.16 cents flat.
    EXPECT_NEAR (tuner.frequency.load(), 110.0f, 0.02f);
    EXPECT_NEAR (tuner.deviation.load(), 0.0f, 0.3f);
}

TEST (TunerDetectionTest, OpenStringsAreNamedAt48000)
{
    struct String
    {
        double frequency;
        const char* name;
    };
    for (const auto& string :
         { String { 82.4069, "E" }, String { 110.0, "A" }, String { 146.8324, "D" },
           String { 195.9977, "G" }, String { 246.9417, "B" }, String { 329.6276, "E" },
           String { 41.2034, "E" }, String { 61.7354, "B" } })
    {
        for (int blockSize : { 64, 256, 1024 })
        {
            Tuner tuner;
            Tone tone { string.frequency, 48000.0 };
            play (tuner, tone, blockSize, 300 + 40000 / blockSize);

            EXPECT_EQ (tuner.noteName.get(), string.name)
                << string.frequency << " Hz in blocks of " << blockSize;
            EXPECT_NEAR (centsBetween (tuner.frequency.load(), string.frequency), 0.0, 0.2)
                << string.frequency << " Hz in blocks of " << blockSize;
            EXPECT_NEAR (tuner.deviation.load(), 0.0f, 0.2f)
                << string.frequency << " Hz in blocks of " << blockSize;
        }
    }
}

TEST (TunerDetectionTest, DetunedToneReadsItsDeviation)
{
    for (const double cents : { -30.0, -10.0, 10.0, 30.0 })
    {
        Tuner tuner;
        const double frequency = 110.0 * std::pow (2.0, cents / 1200.0);
        Tone tone { frequency, 48000.0 };
        play (tuner, tone, 256, 500);

        EXPECT_EQ (tuner.noteName.get(), "A") << cents << " cents";
        // Linear in Hz within each half of the band (A2 is note 22), so not quite the cents.
        const float expected = tuner.engine->deviationFrom (22, (float) frequency);
        EXPECT_NEAR (tuner.deviation.load(), expected, 0.2f) << cents << " cents";
        EXPECT_NEAR (expected, (float) cents, 0.5f) << cents << " cents";
    }
}

TEST (TunerDetectionTest, A4AndAboveAreNeverDetected)
{
    for (const double frequency : { 440.0, 523.25, 698.46 })
    {
        Tuner tuner;
        Tone tone { frequency, 48000.0 };
        std::vector<float> block (256);
        for (int b = 0; b < 600; ++b)
        {
            tone.fill (block.data(), 256);
            tuner.process (block.data(), 256, 48000);
            ASSERT_LT (tuner.frequency.load(), 360.0f) << frequency << " Hz, block " << b;
            ASSERT_NE (tuner.noteName.getNameIndex(), noteIndexOf ("A"))
                << frequency << " Hz, block " << b;
        }
    }
}

TEST (TunerDetectionTest, SilenceLeavesTheReadingEmpty)
{
    for (int rate : { 44100, 48000, 96000 })
    {
        Tuner tuner;
        std::vector<float> silence (512, 0.0f);
        for (int b = 0; b < 200; ++b)
            tuner.process (silence.data(), 512, rate);

        EXPECT_EQ (tuner.frequency.load(), 0.0f) << rate << " Hz";
        EXPECT_TRUE (tuner.noteName.isEmpty()) << rate << " Hz";
        EXPECT_EQ (tuner.deviation.load(), 0.0f) << rate << " Hz";
    }
}

TEST (TunerDetectionTest, ReadingHoldsAfterTheToneStops)
{
    Tuner tuner;
    Tone tone { 146.8324, 48000.0 };
    play (tuner, tone, 256, 400);
    ASSERT_EQ (tuner.noteName.get(), "D");

    std::vector<float> silence (256, 0.0f);
    for (int b = 0; b < 200; ++b)
        tuner.process (silence.data(), 256, 48000);
    EXPECT_EQ (tuner.noteName.get(), "D");
}

TEST (TunerDetectionTest, ShortBlocksAddNothingToTheWindowButStillAnalyse)
{
    Tuner tuner;
    Tone tone { 110.0, 48000.0 };
    play (tuner, tone, 256, 100);

    std::vector<float> history (tuner.engine->history, tuner.engine->history + 512);
    std::vector<float> magnitudes (tuner.engine->magnitudes, tuner.engine->magnitudes + 983);

    std::vector<float> shortBlock (15);
    tone.fill (shortBlock.data(), 15);
    tuner.process (shortBlock.data(), 15, 48000);

    for (int i = 0; i < 512; ++i)
        ASSERT_EQ (tuner.engine->history[i], history[(size_t) i]) << "history entry " << i;

    int changed = 0;
    for (int k = 0; k < 983; ++k)
        changed += tuner.engine->magnitudes[k] != magnitudes[(size_t) k] ? 1 : 0;
    EXPECT_GT (changed, 900) << "the smoothing ran on the unchanged window";
}

TEST (TunerDetectionTest, WindowHoldsTheLastDecimatedSamplesOldestFirst)
{
    Tuner tuner;
    std::vector<float> block (256);
    for (int b = 0; b < 40; ++b)
    {
        for (int i = 0; i < 256; ++i)
            block[(size_t) i] = (float) std::sin (0.01 * (b * 256 + i));
        tuner.process (block.data(), 256, 48000);

        // The second stage's output of this block is the window's newest 16 samples.
        for (int i = 0; i < 16; ++i)
            ASSERT_EQ (tuner.engine->history[496 + i], tuner.engine->stage2.buffer[i])
                << "block " << b << ", sample " << i;
    }
    // 40 blocks of 16 new samples have filled the window of 512: it no longer starts with zeros.
    EXPECT_NE (tuner.engine->history[0], 0.0f);
}

//==================================================================================================
TEST (TunerRobustnessTest, HostileSamplesDoNotStopTheTuner)
{
    Tuner tuner;
    std::vector<float> garbage (256);
    for (int i = 0; i < 256; ++i)
        garbage[(size_t) i] = i % 3 == 0   ? std::numeric_limits<float>::quiet_NaN()
                              : i % 3 == 1 ? std::numeric_limits<float>::infinity()
                                           : 3.0e38f;
    for (int b = 0; b < 5; ++b)
        tuner.process (garbage.data(), 256, 48000);

    EXPECT_TRUE (std::isfinite (tuner.frequency.load()));
    EXPECT_TRUE (std::isfinite (tuner.deviation.load()));

    // The garbage has left the window and faded from the smoothed spectrum.
    Tone tone { 110.0, 48000.0 };
    play (tuner, tone, 256, 3000);
    EXPECT_EQ (tuner.noteName.get(), "A");
    EXPECT_NEAR (tuner.frequency.load(), 110.0f, 0.5f);
}

TEST (TunerRobustnessTest, OddRatesAndSizesStayInBounds)
{
    // Rates without a frequency scale (below 16 Hz) leave the reading alone; very low rates
    // search more bins than the transform has, and the lowest are capped at the spectrum's room.
    for (int rate : { 0, 15, 16, 1000, 8000, 11025, 192000, 768000 })
    {
        for (int blockSize : { 0, 1, 15, 17, 100, 8192 })
        {
            Tuner tuner;
            Tone tone { 110.0, juce::jmax (rate, 1) * 1.0 };
            std::vector<float> block ((size_t) juce::jmax (blockSize, 1));
            for (int b = 0; b < 3; ++b)
            {
                tone.fill (block.data(), blockSize);
                tuner.process (block.data(), blockSize, rate);
            }
            EXPECT_TRUE (std::isfinite (tuner.frequency.load()))
                << rate << " Hz, blocks of " << blockSize;
            const float d = tuner.deviation.load();
            EXPECT_TRUE (d >= -50.0f && d <= 50.0f) << rate << " Hz, blocks of " << blockSize;
        }
    }

    Tuner tuner;
    std::vector<float> tooLong (8193, 0.5f);
    tuner.process (tooLong.data(), 8193, 48000);
    EXPECT_EQ (tuner.engine->stage1.filter.sectionState[0][0], 0.0f) << "a block over 8192 ran";
}

//==================================================================================================
TEST (TunerProcessorTest, RunsOnlyWhileTheTunerIsOnAndLeavesTheSignalAlone)
{
    auto processor = testing_helpers::makeProcessor (1, 2, 48000.0, 256);
    auto& p = *processor;
    testing_helpers::setNatural (*p.volumeParameter, 1.0f);

    juce::AudioBuffer<float> buffer (2, 256);
    Tone tone { 110.0, 48000.0 };
    std::vector<float> input (256);

    auto run = [&] (int numBlocks) {
        for (int b = 0; b < numBlocks; ++b)
        {
            tone.fill (input.data(), 256);
            buffer.copyFrom (0, 0, input.data(), 256);
            testing_helpers::process (p, buffer);
            for (int i = 0; i < 256; ++i)
                ASSERT_EQ (buffer.getSample (0, i), input[(size_t) i]) << "sample " << i;
        }
    };

    run (50);
    EXPECT_TRUE (p.tunerNoteName.isEmpty()) << "the tuner ran while off";
    EXPECT_EQ (p.tunerFrequency.load(), 0.0f);

    testing_helpers::setOn (*p.tunerParameter, true);
    run (400);
    EXPECT_EQ (p.tunerNoteName.get(), "A");
    EXPECT_NEAR (p.tunerFrequency.load(), 110.0f, 0.2f);

    // Switched off, the reading keeps its last values while another note plays.
    testing_helpers::setOn (*p.tunerParameter, false);
    const float frequency = p.tunerFrequency.load();
    const float deviation = p.tunerDeviation.load();
    tone.frequency = 146.8324;
    run (400);
    EXPECT_EQ (p.tunerNoteName.get(), "A");
    EXPECT_EQ (p.tunerFrequency.load(), frequency);
    EXPECT_EQ (p.tunerDeviation.load(), deviation);
}
