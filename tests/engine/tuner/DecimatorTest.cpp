#include "engine/dsp/Decimator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace
{
constexpr double pi = 3.14159265358979323846;

BiquadCascade makeDecimatorFilter()
{
    BiquadCascade filter;
    filter.sections = decimatorSections;
    filter.gains = decimatorGains;
    filter.sectionCount = decimatorSectionCount;
    return filter;
}

/** Gain in dB of the cascade for a cosine at the given fraction of the sampling rate, measured on
    the settled output by projecting it onto the tone (so the float noise floor does not count
    as signal). */
double gainInDb (double requestedFrequency)
{
    const int settle = 4096;
    const int measure = 16384;
    // A whole number of cycles in the measured part keeps the projection free of leakage.
    const double frequency = std::round (requestedFrequency * measure) / measure;
    std::vector<float> samples ((size_t) (settle + measure));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = (float) std::cos (2.0 * pi * frequency * (double) i);

    auto filter = makeDecimatorFilter();
    filter.process (samples.data(), (int) samples.size());

    double re = 0.0, im = 0.0;
    for (int i = settle; i < settle + measure; ++i)
    {
        re += samples[(size_t) i] * std::cos (2.0 * pi * frequency * i);
        im += samples[(size_t) i] * std::sin (2.0 * pi * frequency * i);
    }
    // A cosine of amplitude g projects onto g * measure / 2 (at the Nyquist rate: g * measure).
    const double scale = frequency == 0.5 ? measure : measure / 2.0;
    return 20.0 * std::log10 (std::sqrt (re * re + im * im) / scale);
}
} // namespace

//==================================================================================================
TEST (BiquadCascadeTest, ConstantInputSettlesAtTheDcGain)
{
    auto filter = makeDecimatorFilter();
    std::vector<float> samples (20000, 1.0f);
    filter.process (samples.data(), (int) samples.size());
    EXPECT_NEAR (samples.back(), 0.9999976f, 2.0e-6f);
}

TEST (BiquadCascadeTest, PassBandAndTransitionFollowTheDesign)
{
    struct Point
    {
        double frequency, db, tolerance;
    };
    // Fractions of the sampling rate; the transition values are rounded as the design states them.
    for (const auto& point :
         { Point { 0.01, 0.0, 0.001 }, Point { 0.1, 0.0, 0.001 }, Point { 0.1096, 0.0, 0.0012 },
           Point { 0.1165, -0.1, 0.01 }, Point { 0.12, -1.2, 0.05 }, Point { 0.1215, -3.0, 0.1 },
           Point { 0.125, -13.0, 0.1 }, Point { 0.13, -35.0, 0.1 } })
        EXPECT_NEAR (gainInDb (point.frequency), point.db, point.tolerance)
            << "at " << point.frequency << " of the rate";
}

TEST (BiquadCascadeTest, StopBandIsAtLeast80DbDownFrom0135OfTheRate)
{
    // The equiripple stop band touches -80 dB at its edge; 0.01 dB covers the coefficients'
    // single-precision rounding.
    for (double f = 0.135; f <= 0.5; f += 0.0025)
        EXPECT_LE (gainInDb (f), -79.99) << "at " << f << " of the rate";
    EXPECT_LE (gainInDb (0.5), -79.99) << "at the Nyquist rate";
}

TEST (BiquadCascadeTest, BlockSplitDoesNotChangeTheOutput)
{
    std::vector<float> whole (3000);
    for (size_t i = 0; i < whole.size(); ++i)
        whole[i] = (float) std::sin (0.013 * (double) (i * i % 9973));
    auto pieces = whole;

    auto a = makeDecimatorFilter();
    a.process (whole.data(), (int) whole.size());

    auto b = makeDecimatorFilter();
    int start = 0;
    for (int length : { 1, 0, 7, 512, 100, 1380, 1000 })
    {
        b.process (pieces.data() + start, length);
        start += length;
    }
    ASSERT_EQ (start, 3000);

    for (size_t i = 0; i < whole.size(); ++i)
        ASSERT_EQ (pieces[i], whole[i]) << "sample " << i;
}

TEST (BiquadCascadeTest, TinyValuesGiveExactZerosAndNoDenormalStaysInTheState)
{
    auto filter = makeDecimatorFilter();

    // An impulse whose first intermediate value is below 1e-10 comes out as exact zeros.
    std::vector<float> tiny (64, 0.0f);
    tiny[0] = 5.0e-11f;
    filter.process (tiny.data(), (int) tiny.size());
    for (size_t i = 0; i < tiny.size(); ++i)
        ASSERT_EQ (tiny[i], 0.0f) << "sample " << i;

    // After a loud burst, silence leaves every state at 0 or on the grid of 2^-24 (a tiny limit
    // cycle at most), never on a denormal.
    std::vector<float> burst (256);
    for (size_t i = 0; i < burst.size(); ++i)
        burst[i] = (float) std::sin (0.05 * (double) i);
    filter.process (burst.data(), (int) burst.size());

    std::vector<float> silence (8192, 0.0f);
    for (int block = 0; block < 4; ++block)
    {
        filter.process (silence.data(), (int) silence.size());
        for (int s = 0; s < decimatorSectionCount; ++s)
            for (float z : filter.sectionState[s])
            {
                const double steps = (double) z * 16777216.0;
                ASSERT_EQ (steps, std::round (steps))
                    << "section " << s << " holds " << z << " after silent block " << block;
                ASSERT_LT (std::abs (z), 1.0e-5f)
                    << "section " << s << " holds " << z << " after silent block " << block;
            }
    }
    EXPECT_LT (std::abs (silence.back()), 1.0e-8f);
}

TEST (BiquadCascadeTest, NonUnitGainsScaleSectionAndOutput)
{
    const float sections[1][6] = { { 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f } }; // y = x
    const float gains[2] = { 2.0f, 0.25f };
    BiquadCascade filter;
    filter.sections = sections;
    filter.gains = gains;
    filter.sectionCount = 1;

    float samples[3] = { 1.0f, -2.0f, 0.5f };
    filter.process (samples, 3);
    EXPECT_EQ (samples[0], 0.5f);
    EXPECT_EQ (samples[1], -1.0f);
    EXPECT_EQ (samples[2], 0.25f);
}

//==================================================================================================
TEST (DecimatorTest, TwoStagesDivideSampleCountsAndRates)
{
    struct Case
    {
        int numSamples, rate, count1, rate1, count2, rate2;
    };
    for (const auto& c :
         { Case { 1000, 44100, 250, 11025, 62, 2756 }, Case { 8192, 48000, 2048, 12000, 512, 3000 },
           Case { 512, 96000, 128, 24000, 32, 6000 }, Case { 15, 44100, 3, 11025, 0, 2756 },
           Case { 0, 48000, 0, 12000, 0, 3000 } })
    {
        auto stage1 = std::make_unique<Decimator>();
        auto stage2 = std::make_unique<Decimator>();
        std::vector<float> input ((size_t) (c.numSamples > 0 ? c.numSamples : 1), 0.25f);
        MonoBlock block { input.data(), c.numSamples, c.rate };

        stage1->process (block);
        EXPECT_EQ (block.samples, stage1->buffer) << c.numSamples << " samples at " << c.rate;
        EXPECT_EQ (block.numSamples, c.count1) << c.numSamples << " samples at " << c.rate;
        EXPECT_EQ (block.sampleRate, c.rate1) << c.numSamples << " samples at " << c.rate;

        stage2->process (block);
        EXPECT_EQ (block.samples, stage2->buffer) << c.numSamples << " samples at " << c.rate;
        EXPECT_EQ (block.numSamples, c.count2) << c.numSamples << " samples at " << c.rate;
        EXPECT_EQ (block.sampleRate, c.rate2) << c.numSamples << " samples at " << c.rate;
    }
}

TEST (DecimatorTest, EmptyBlockLeavesTheFilterAsItWas)
{
    auto stage = std::make_unique<Decimator>();
    std::vector<float> input (100, 1.0f);
    MonoBlock block { input.data(), 100, 48000 };
    stage->process (block);
    const auto before = stage->filter;

    MonoBlock empty { input.data(), 0, 48000 };
    stage->process (empty);
    EXPECT_EQ (empty.numSamples, 0);
    EXPECT_EQ (empty.sampleRate, 12000);
    for (int s = 0; s < decimatorSectionCount; ++s)
    {
        EXPECT_EQ (stage->filter.sectionState[s][0], before.sectionState[s][0]) << "section " << s;
        EXPECT_EQ (stage->filter.sectionState[s][1], before.sectionState[s][1]) << "section " << s;
    }
}

TEST (DecimatorTest, KeepsEveryFourthFilteredSampleFromTheFirstOfEachBlock)
{
    auto stage = std::make_unique<Decimator>();
    auto reference = makeDecimatorFilter();

    std::vector<float> signal (1000);
    for (size_t i = 0; i < signal.size(); ++i)
        signal[i] = (float) std::sin (0.07 * (double) i);
    auto filtered = signal;
    reference.process (filtered.data(), (int) filtered.size());

    // Blocks of 10: 2 samples of each are filtered but dropped, and the picking restarts.
    auto input = signal;
    for (int start = 0; start < 1000; start += 10)
    {
        MonoBlock block { input.data() + start, 10, 44100 };
        stage->process (block);
        ASSERT_EQ (block.numSamples, 2);
        EXPECT_EQ (block.samples[0], filtered[(size_t) start]) << "block at " << start;
        EXPECT_EQ (block.samples[1], filtered[(size_t) start + 4]) << "block at " << start;
    }

    // The caller's samples were filtered in place, all of them.
    for (size_t i = 0; i < input.size(); ++i)
        ASSERT_EQ (input[i], filtered[i]) << "sample " << i;
}

TEST (DecimatorTest, UpsamplingRepeatsThenFiltersAndStopsAtTheBuffer)
{
    auto stage = std::make_unique<Decimator>();
    stage->downsample = false;

    std::vector<float> input { 1.0f, -1.0f, 0.5f };
    MonoBlock block { input.data(), 3, 11025 };
    stage->process (block);
    EXPECT_EQ (block.numSamples, 12);
    EXPECT_EQ (block.sampleRate, 44100);

    std::vector<float> expected { 1, 1, 1, 1, -1, -1, -1, -1, 0.5f, 0.5f, 0.5f, 0.5f };
    auto filter = makeDecimatorFilter();
    filter.process (expected.data(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ (block.samples[i], expected[(size_t) i]) << "sample " << i;

    std::vector<float> longInput (8192, 0.1f);
    MonoBlock longBlock { longInput.data(), 8192, 48000 };
    stage->process (longBlock);
    EXPECT_EQ (longBlock.numSamples, Decimator::bufferSize);
}
