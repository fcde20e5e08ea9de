#include "EffectTestHelpers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace effect_testing;

namespace
{
std::vector<float> sine (size_t length, double frequency, int rate, float amplitude)
{
    std::vector<float> v (length);
    for (size_t i = 0; i < length; ++i)
        v[i] =
            amplitude * (float) std::sin (2.0 * 3.141592653589793 * frequency * (double) i / rate);
    return v;
}

bool statesCleared (const OnePoleFilter& f) { return f.x1 == 0.0f && f.y1 == 0.0f; }
} // namespace

//==================================================================================================
TEST (FuzzFakeEffect, SymmetricalOneClipsToTheWindowZeroToTwo)
{
    // Fuzz 1: g = 51; Gain 0.5: out = 1.
    auto pedal = makePedal (fuzzFakeEffect);
    std::vector<float> in { -0.5f, -0.001f, 0.0f, 0.01f, 0.039f, 0.5f, 3.0f };
    const auto out = runSignal (*pedal, knobs ({ 1.0f, 1.0f, 0.5f }), in, 64, 48000);

    EXPECT_EQ (out[0], 0.0f) << "negative products come out as 0";
    EXPECT_EQ (out[1], 0.0f);
    EXPECT_EQ (out[2], 0.0f);
    EXPECT_EQ (out[3], 0.01f * 51.0f);
    EXPECT_EQ (out[4], 0.039f * 51.0f);
    EXPECT_EQ (out[5], 2.0f) << "the positive side clips at 2 before the output gain";
    EXPECT_EQ (out[6], 2.0f);
}

TEST (FuzzFakeEffect, SmallestGainScalesByTwoThousandths)
{
    auto pedal = makePedal (fuzzFakeEffect);
    std::vector<float> in { -1.0f, -0.01f, 0.01f, 1.0f };
    const auto out = runSignal (*pedal, knobs ({ 0.001f, 0.5f, 0.001f }), in, 64, 48000);

    // Fuzz 0.001: g = 1.05; Symetrical 0.5: window [-0.5, 1.5].
    const float g = 0.001f * 50.0f + 1.0f;
    EXPECT_EQ (out[0], -0.5f * 0.002f);
    EXPECT_EQ (out[1], (-0.01f * g) * 0.002f);
    EXPECT_EQ (out[2], (0.01f * g) * 0.002f);
    EXPECT_EQ (out[3], g * 0.002f);
}

//==================================================================================================
TEST (ToneDriveEffect, SilenceGivesTheCurveAtZeroTimesGainTimesMix)
{
    for (int rate : { 10000, 44100, 48000 })
    {
        for (float gain : { 0.001f, 0.5f, 1.0f })
        {
            for (float mix : { 0.001f, 0.5f, 1.0f })
            {
                auto pedal = makePedal (toneDriveEffect);
                const auto out = runSignal (*pedal, knobs ({ gain, 0.5f, mix }),
                                            std::vector<float> (2048, 0.0f), 512, rate);
                const float expected = (-0.00000301f * gain) * mix;
                for (size_t i = 0; i < out.size(); ++i)
                    ASSERT_EQ (out[i], expected) << "Gain " << gain << " Mix " << mix << " at "
                                                 << rate << " Hz, sample " << i << " (exact)";
            }
        }
    }
}

TEST (ToneDriveEffect, MixExtremes)
{
    const auto in = sine (4800, 220.0, 48000, 0.5f);

    auto wetPedal = makePedal (toneDriveEffect);
    const auto wet = runSignal (*wetPedal, knobs ({ 0.8f, 0.5f, 1.0f }), in, 256, 48000);
    for (size_t i = 0; i < wet.size(); ++i)
        ASSERT_LE (std::abs (wet[i]), 0.99975204f * 0.8f)
            << "Mix 1: shaped path times Gain, sample " << i;

    auto dryPedal = makePedal (toneDriveEffect);
    const auto dry = runSignal (*dryPedal, knobs ({ 0.8f, 0.5f, 0.001f }), in, 256, 48000);
    for (size_t i = 0; i < dry.size(); ++i)
        ASSERT_NEAR (dry[i], in[i] * 0.999f, 0.001f * 0.8f + 1.0e-6f) << "Mix 0.001, sample " << i;
}

TEST (ToneDriveEffect, CacheFollowsRateAndToneChanges)
{
    auto pedal = makePedal (toneDriveEffect);
    auto& f = pedal->toneDriveFilters;
    runSignal (*pedal, knobs ({ 0.5f, 0.5f, 0.5f }), noise (1024, 0.5f, 9), 256, 48000);

    EXPECT_EQ (pedal->toneDriveLastRate, 48000);
    EXPECT_EQ (pedal->toneDriveLastTone, 0.5f);
    EXPECT_TRUE (f[0].lowpass && ! f[1].lowpass && f[2].lowpass && ! f[3].lowpass);
    for (int k = 0; k < 4; ++k)
        ASSERT_FALSE (statesCleared (f[k])) << "filter " << k << " should carry signal";

    // A Tone change restarts filters [2] and [3] only; [0] and [1] take the new cutoffs with
    // their states. A block of 0 samples still brings the cache up to date.
    const OnePoleFilter f0 = f[0], f1 = f[1];
    float none = 0.0f;
    runEffect (*pedal, knobs ({ 0.5f, 0.8f, 0.5f }), &none, 0, 48000);
    EXPECT_EQ (pedal->toneDriveLastTone, 0.8f);
    EXPECT_EQ (f[0].y1, f0.y1);
    EXPECT_EQ (f[1].y1, f1.y1);
    EXPECT_EQ (f[1].x1, f1.x1);
    EXPECT_NE (f[0].a, f0.a);
    EXPECT_NE (f[1].a, f1.a);
    EXPECT_TRUE (statesCleared (f[2]));
    EXPECT_TRUE (statesCleared (f[3]));
    EXPECT_EQ (f[2].a, f[0].a);
    EXPECT_EQ (f[3].a, f[1].a);

    // fc at Tone 0.8: 10^2.64 + 50 = 486 Hz; the low-passes at 1458 Hz.
    EXPECT_EQ (f[3].a, 1.0f / (486.0f * 6.2831855f / 48000.0f + 1.0f));

    // The same Tone again changes nothing.
    runSignal (*pedal, knobs ({ 0.5f, 0.8f, 0.5f }), noise (512, 0.5f, 10), 256, 48000);
    const OnePoleFilter f2 = f[2];
    runEffect (*pedal, knobs ({ 0.5f, 0.8f, 0.5f }), &none, 0, 48000);
    EXPECT_EQ (f[2].y1, f2.y1);

    // A rate change clears every filter.
    runEffect (*pedal, knobs ({ 0.5f, 0.8f, 0.5f }), &none, 0, 44100);
    EXPECT_EQ (pedal->toneDriveLastRate, 44100);
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE (statesCleared (f[k])) << "filter " << k << " after 48 -> 44.1 kHz";
    EXPECT_EQ (f[3].a, 1.0f / (486.0f * 6.2831855f / 44100.0f + 1.0f));
}

//==================================================================================================
TEST (Drive707Effect, CacheFollowsRateToneAndGainChanges)
{
    auto pedal = makePedal (drive707Effect);
    auto& f = pedal->drive707Filters;
    runSignal (*pedal, knobs ({ 0.5f, 0.5f, 0.5f }), noise (1024, 0.5f, 12), 256, 48000);

    EXPECT_TRUE (f[0].lowpass && ! f[1].lowpass && f[2].lowpass && ! f[3].lowpass && f[4].lowpass);
    for (int k = 0; k < 5; ++k)
        ASSERT_FALSE (statesCleared (f[k])) << "filter " << k << " should carry signal";

    // Tone: filters [0] and [1] take new cutoffs, no state is cleared.
    OnePoleFilter before[5];
    std::copy (std::begin (f), std::end (f), before);
    float none = 0.0f;
    runEffect (*pedal, knobs ({ 0.5f, 1.0f, 0.5f }), &none, 0, 48000);
    EXPECT_EQ (pedal->drive707LastTone, 1.0f);
    EXPECT_EQ (f[1].a, 1.0f / (2900.0f * 6.2831855f / 48000.0f + 1.0f)) << "toneFc 2900 Hz";
    EXPECT_EQ (f[4].a, before[4].a);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ (f[k].y1, before[k].y1) << "filter " << k;

    // Gain: filter [4] only.
    runEffect (*pedal, knobs ({ 1.0f, 1.0f, 0.5f }), &none, 0, 48000);
    const float w = 5600.0f * 6.2831855f / 48000.0f;
    EXPECT_EQ (f[4].a, w / (w + 1.0f)) << "gainFc 5600 Hz";
    EXPECT_EQ (pedal->drive707LastGain, 1.0f);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ (f[k].y1, before[k].y1) << "filter " << k;

    // Rate: every filter restarts.
    runEffect (*pedal, knobs ({ 1.0f, 1.0f, 0.5f }), &none, 0, 96000);
    EXPECT_EQ (pedal->drive707LastRate, 96000);
    for (int k = 0; k < 5; ++k)
        EXPECT_TRUE (statesCleared (f[k])) << "filter " << k << " after 48 -> 96 kHz";
    const float w720 = 4523.8936f / 96000.0f;
    EXPECT_EQ (f[3].a, 1.0f / (w720 + 1.0f));
}

TEST (Drive707Effect, SteadyInputKeepsOnlyTheDryTenth)
{
    // A constant is removed by the 720 Hz high-pass before the shaper; what remains is
    // v (0.1 x + A) with A the tiny shaped offset, v = 10^Volume x 0.2.
    auto pedal = makePedal (drive707Effect);
    const auto out = runSignal (*pedal, knobs ({ 0.5f, 0.5f, 1.0f }),
                                std::vector<float> (96000, 0.5f), 512, 48000);
    EXPECT_NEAR (out.back(), 2.0f * 0.05f, 1.0e-4f) << "Gain 0.5, Tone 0.5, Volume 1, DC 0.5";

    auto quiet = makePedal (drive707Effect);
    const auto low = runSignal (*quiet, knobs ({ 0.5f, 0.5f, 0.001f }),
                                std::vector<float> (96000, 0.5f), 512, 48000);
    EXPECT_NEAR (low.back(), (float) (std::pow (10.0, 0.001) * 0.2) * 0.05f, 1.0e-4f)
        << "Volume 0.001";
}

//==================================================================================================
TEST (DriveFirstBlock, PreparedAlsoAtTheCachedRateOfTenKilohertz)
{
    // A drive whose first block comes at exactly 10 kHz must sound as one whose filters were
    // prepared for 10 kHz by a rate change.
    const auto in = sine (4000, 440.0, 10000, 0.7f);

    for (int type : { toneDriveEffect, drive707Effect })
    {
        const auto k = knobs ({ 0.6f, 0.3f, 0.7f });
        auto fresh = makePedal (type);
        auto moved = makePedal (type);
        float none = 0.0f;
        runEffect (*moved, k, &none, 0, 44100);

        const auto a = runSignal (*fresh, k, in, 500, 10000);
        const auto b = runSignal (*moved, k, in, 500, 10000);
        EXPECT_TRUE (a == b) << effectName (type) << ": first block at 10000 Hz";

        const auto& filters =
            type == toneDriveEffect ? fresh->toneDriveFilters[1] : fresh->drive707Filters[3];
        EXPECT_FALSE (filters.lowpass) << effectName (type) << ": high-pass prepared as one";
    }
}

TEST (DriveFirstBlock, EmptyFirstBlockStillPrepares)
{
    auto pedal = makePedal (drive707Effect);
    float none = 0.0f;
    runEffect (*pedal, knobs ({ 0.25f, 0.75f, 0.5f }), &none, 0, 10000);
    EXPECT_EQ (pedal->drive707LastTone, 0.75f);
    EXPECT_EQ (pedal->drive707LastGain, 0.25f);
    EXPECT_EQ (pedal->drive707LastRate, 10000);
    EXPECT_EQ (pedal->drive707Filters[2].a,
               (4542.7432f / 10000.0f) / (4542.7432f / 10000.0f + 1.0f));
    EXPECT_EQ (pedal->drive707Filters[3].a, 1.0f / (4523.8936f / 10000.0f + 1.0f));
}
