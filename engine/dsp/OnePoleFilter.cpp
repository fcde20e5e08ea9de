#include "engine/dsp/OnePoleFilter.h"

#include "engine/dsp/BoundedSample.h"

// The feedback flush below relies on IEEE single-precision rounding of each operation.
#if defined(__FAST_MATH__)
#error "OnePoleFilter must be built without fast-math: the (y + 1) - 1 flush would be folded away"
#endif

void OnePoleFilter::prepare (bool isLowpass, float w) noexcept
{
    lowpass = isLowpass;
    x1 = 0.0f;
    y1 = 0.0f;
    setCutoff (w);
}

void OnePoleFilter::setCutoff (float w) noexcept
{
    a = lowpass ? w / (w + 1.0f) : 1.0f / (w + 1.0f);
}

void OnePoleFilter::process (float* samples, int numSamples) noexcept
{
    if (numSamples <= 0)
        return;

    // (y + 1) - 1 puts the kept state on the float grid around 1.0 (steps of 2^-24 below zero,
    // 2^-23 above), so no denormal ever enters the feedback, even without flush-to-zero.
    // The written sample itself is not flushed.
    //
    // Each input is taken bounded (outside the feedback path, so it costs next to nothing): the
    // low-pass output is then a mix of two bounded values and the high-pass output stays below
    // twice the bound, so no state, which is seldom cleared, ever becomes infinite or a
    // non-number.
    float state = y1;
    const float coefficient = a; // kept in a register: the samples might alias the record

    if (lowpass)
    {
        for (int i = 0; i < numSamples; ++i)
        {
            const float y = (boundedSample (samples[i]) - state) * coefficient + state;
            samples[i] = y;
            state = (y + 1.0f) - 1.0f;
        }
    }
    else
    {
        float previousInput = x1;

        for (int i = 0; i < numSamples; ++i)
        {
            const float x = boundedSample (samples[i]);
            const float y = ((state + x) - previousInput) * coefficient;
            samples[i] = y;
            state = (y + 1.0f) - 1.0f;
            previousInput = x;
        }

        x1 = previousInput;
    }

    y1 = state;
}
