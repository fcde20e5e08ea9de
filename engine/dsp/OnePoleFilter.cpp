#include "engine/dsp/OnePoleFilter.h"

void OnePoleFilter::prepare (bool isLowpass, float w) noexcept
{
    lowpass = isLowpass;
    x1 = 0.0f;
    y1 = 0.0f;
    setCutoff (w);
}

void OnePoleFilter::setCutoff (float) noexcept {}

void OnePoleFilter::process (float*, int) noexcept {}
