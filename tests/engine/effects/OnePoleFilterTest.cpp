#include "engine/dsp/OnePoleFilter.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
/** The kept state must be 0 or on the float grid around 1.0: never a denormal, never below
    2^-24 in magnitude. */
bool onStateGrid (float y1) { return y1 == 0.0f || std::abs (y1) >= std::ldexp (1.0f, -24); }
} // namespace

TEST (OnePoleFilterTest, CoefficientsFollowTheMode)
{
    OnePoleFilter low, high;
    low.prepare (true, 1.0f);
    high.prepare (false, 3.0f);
    EXPECT_EQ (low.a, 0.5f) << "low-pass w / (w + 1) at w = 1";
    EXPECT_EQ (high.a, 0.25f) << "high-pass 1 / (w + 1) at w = 3";

    // setCutoff keeps the mode and the state.
    float x = 0.8f;
    high.process (&x, 1);
    const float kept = high.y1;
    high.setCutoff (1.0f);
    EXPECT_EQ (high.a, 0.5f);
    EXPECT_FALSE (high.lowpass);
    EXPECT_EQ (high.y1, kept);
    EXPECT_EQ (high.x1, 0.8f);
}

TEST (OnePoleFilterTest, StateIsNeverDenormal)
{
    // Without flush-to-zero from the host (these tests run outside processBlock), the
    // (y + 1) - 1 step alone must keep denormals out of the feedback.
    juce::Random random (17);

    for (bool lowpass : { true, false })
    {
        for (float w : { 0.001f, 0.05f, 0.7f, 20.0f })
        {
            OnePoleFilter filter;
            filter.prepare (lowpass, w);

            for (int i = 0; i < 20000; ++i)
            {
                float x;
                switch (i % 4)
                {
                    case 0: x = (random.nextFloat() - 0.5f) * 1.0e-30f; break;
                    case 1: x = std::ldexp (random.nextFloat() - 0.5f, -130); break; // denormal
                    case 2: x = i < 10000 ? (random.nextFloat() - 0.5f) : 0.0f; break;
                    default: x = 0.0f; break;
                }
                filter.process (&x, 1);
                ASSERT_TRUE (onStateGrid (filter.y1))
                    << (lowpass ? "low-pass" : "high-pass") << " w " << w << " sample " << i
                    << " y1 " << filter.y1;
            }

            // Silence after a loud impulse: the state settles (possibly on a grid step) and
            // never passes through a denormal.
            float loud = 1.0f;
            filter.process (&loud, 1);
            std::vector<float> silence (100000, 0.0f);
            for (auto& s : silence)
            {
                filter.process (&s, 1);
                ASSERT_TRUE (onStateGrid (filter.y1))
                    << (lowpass ? "low-pass" : "high-pass") << " w " << w;
            }
        }
    }
}

TEST (OnePoleFilterTest, HighPassDecaysAndLowPassSettles)
{
    for (float level : { 0.5f, -0.9f, 1.0e-3f })
    {
        for (float w : { 0.01f, 0.3f })
        {
            OnePoleFilter low, high;
            low.prepare (true, w);
            high.prepare (false, w);
            std::vector<float> a (20000, level), b (20000, level);
            low.process (a.data(), (int) a.size());
            high.process (b.data(), (int) b.size());

            // Both settle until a step falls below about a grid step of the kept state (2^-23
            // near 1) and rounds away: within 2^-23 / (w / (w + 1)) of their goal.
            const float tolerance = std::ldexp (1.0f, -23) * ((w + 1.0f) / w + 1.0f);
            EXPECT_NEAR (a.back(), level, tolerance) << "low-pass, level " << level << ", w " << w;
            EXPECT_NEAR (b.back(), 0.0f, tolerance) << "high-pass, level " << level << ", w " << w;
            EXPECT_GT (std::abs (b.front()), std::abs (level) * 0.5f)
                << "the high-pass passes the step";
        }
    }
}

TEST (OnePoleFilterTest, EmptyOrNegativeCountChangesNothing)
{
    OnePoleFilter filter;
    filter.prepare (false, 0.2f);
    float x = 0.6f;
    filter.process (&x, 1);
    const OnePoleFilter before = filter;

    float untouched = 0.4f;
    for (int count : { 0, -1, -8192 })
    {
        filter.process (&untouched, count);
        EXPECT_EQ (untouched, 0.4f) << "count " << count;
        EXPECT_EQ (filter.x1, before.x1);
        EXPECT_EQ (filter.y1, before.y1);
        EXPECT_EQ (filter.a, before.a);
    }
}
