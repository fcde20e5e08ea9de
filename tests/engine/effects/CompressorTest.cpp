#include "EffectTestHelpers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace effect_testing;

namespace
{
/** Attack, Release, Input, Ratio, Gain. */
EffectKnobs compressorKnobs (float attack, float release, float input, float ratio, float gain)
{
    return knobs ({ attack, release, input, ratio, gain });
}

/** Runs one single-sample block and returns the output sample. */
float step (Pedal& pedal, const EffectKnobs& k, float x, int rate = 48000)
{
    runEffect (pedal, k, &x, 1, rate);
    return x;
}
} // namespace

TEST (CompressorEffect, FirstSampleOfAFreshCompressorRisesWithTheRelease)
{
    // Below the threshold gt = 1: the gain starts at 0 and takes one release step toward it.
    auto pedal = makePedal (compressorEffect);
    const float makeup = 0.5f * 5.0f + 1.0f;
    const float out = step (*pedal, compressorKnobs (0.5f, 0.5f, 0.001f, 0.2f, 0.5f), 0.5f);

    const double cR = 1.0 - (double) out / (0.5 * makeup);
    EXPECT_NEAR (cR, 0.9999583, 1.0e-7) << "Release 0.5 at 48 kHz";

    // Above the threshold the first sample is x * gt * (1 - cR) * makeup, gt = 0.2759459 for an
    // envelope of 0.5 against 0.1 with ratio 5 (cR is quoted to seven decimals: 5e-8).
    auto loud = makePedal (compressorEffect);
    const float first = step (*loud, compressorKnobs (0.5f, 0.5f, 0.5f, 0.2f, 0.5f), 0.5f);
    EXPECT_NEAR (first / (0.5 * 0.2759459 * makeup), 1.0 - 0.9999583, 5.0e-8)
        << "Input 0.5, Ratio 0.2, Release 0.5 at 48 kHz";
}

TEST (CompressorEffect, TargetGainAndAttackCoefficient)
{
    // Let the gain reach 1 on silence (Release 0.001: releaseMs 1), then hold an envelope of 0.5
    // against a threshold of 0.1 with ratio 5: the gain falls toward gt = 0.2759459 with cA.
    auto pedal = makePedal (compressorEffect);
    const auto fastRelease = compressorKnobs (0.5f, 0.001f, 0.5f, 0.2f, 0.0f);
    for (int i = 0; i < 4000; ++i)
        step (*pedal, fastRelease, 0.0f);
    ASSERT_NEAR (pedal->compressorGain, 1.0f, 2.0e-6f) << "the last steps round away near 1";

    const auto k = compressorKnobs (0.5f, 0.5f, 0.5f, 0.2f, 0.0f);
    const double gt = 0.2759459;
    double previous = pedal->compressorGain;

    for (int i = 0; i < 5; ++i)
    {
        step (*pedal, k, 0.5f);
        const double current = pedal->compressorGain;
        EXPECT_NEAR ((current - gt) / (previous - gt), 0.9979188, 3.0e-7)
            << "Attack 0.5, step " << i;
        previous = current;
    }

    // With the shortest attack (cA about 0.81) the single-precision steps come to rest within
    // 2^-25 / (1 - cA) of gt; with Attack 0.5 they would stall 7e-6 away.
    const auto fastAttack = compressorKnobs (0.001f, 0.5f, 0.5f, 0.2f, 0.0f);
    for (int i = 0; i < 1000; ++i)
        step (*pedal, fastAttack, 0.5f);
    EXPECT_NEAR (pedal->compressorGain, gt, 1.5e-7) << "gain settles at gt";
    EXPECT_NEAR (0.5 * pedal->compressorGain, 0.1379730, 1.0e-7) << "output level before make-up";
}

TEST (CompressorEffect, ShortestAttackAndEnvelopeDecay)
{
    auto pedal = makePedal (compressorEffect);
    const auto release = compressorKnobs (0.004f, 0.001f, 0.5f, 1.0f, 0.0f);
    for (int i = 0; i < 4000; ++i)
        step (*pedal, release, 0.0f);

    // Attack below 0.005 is held at 1 ms: cA = exp (-10000 / sr / 1), a time constant of 0.1 ms.
    const double previous = pedal->compressorGain;
    step (*pedal, release, 0.9f);
    const float env = pedal->compressorEnvelope;
    const double gt = std::exp (std::log (env / 0.1f) / 21.0f) * 0.1f / env;
    EXPECT_NEAR ((pedal->compressorGain - gt) / (previous - gt), std::exp (-10000.0 / 48000.0),
                 1.0e-6)
        << "Attack 0.004 at 48 kHz";

    // On silence the envelope decays by cE = 0.9995834 per sample.
    for (int i = 0; i < 10; ++i)
    {
        const double before = pedal->compressorEnvelope;
        EXPECT_EQ (step (*pedal, release, 0.0f), 0.0f) << "silence stays silent";
        EXPECT_NEAR (pedal->compressorEnvelope / before, 0.9995834, 1.5e-7) << "sample " << i;
    }
}

TEST (CompressorEffect, SilenceStaysSilentWhileTheGainRecovers)
{
    auto pedal = makePedal (compressorEffect);
    std::vector<float> silence (48000, 0.0f);
    const auto out =
        runSignal (*pedal, compressorKnobs (0.5f, 0.1f, 0.5f, 0.5f, 1.0f), silence, 480, 48000);

    EXPECT_TRUE (peaksAbove (out, 0.0f).empty());
    // exp (-10) of the way left, and the single-precision steps stall within (2^-24 / (1 - cR)).
    EXPECT_NEAR (pedal->compressorGain, 1.0f, 2.0e-4f) << "1 s of silence with releaseMs 100";
    EXPECT_EQ (pedal->compressorEnvelope, 0.0f);
}
