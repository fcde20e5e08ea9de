#include "engine/dsp/BiquadCascade.h"

#include <cmath>

namespace
{
/** Puts a fed-back value on the single-precision grid near 1.0: anything below about 6e-8 in
    magnitude becomes exactly 0. Built with -fno-fast-math, so the compiler keeps both steps. */
inline float flushed (float value) noexcept
{
    const float raised = value + 1.0f;
    return raised - 1.0f;
}

/** Intermediate values below this magnitude give an output sample of exactly 0. */
constexpr double silenceThreshold = 1.0e-10;
} // namespace

void BiquadCascade::process (float* samples, int numSamples) noexcept
{
    if (numSamples <= 0 || sections == nullptr || gains == nullptr)
        return;

    const int count = sectionCount < maxSections ? sectionCount : maxSections;

    for (int s = 0; s < count; ++s)
    {
        const float b0 = sections[s][0];
        const float b1 = sections[s][1];
        const float b2 = sections[s][2];
        const float a1 = sections[s][4];
        const float a2 = sections[s][5];
        float z1 = sectionState[s][0];
        float z2 = sectionState[s][1];

        for (int i = 0; i < numSamples; ++i)
        {
            const float x = samples[i];
            const float t = b0 * x + z1;
            const float y = std::abs ((double) t) < silenceThreshold ? 0.0f : t;
            z1 = flushed ((b1 * x + z2) - a1 * y);
            z2 = flushed (b2 * x - a2 * y);
            samples[i] = y;
        }

        sectionState[s][0] = z1;
        sectionState[s][1] = z2;

        // A section gain other than 1 scales that section's output.
        const float sectionGain = gains[s];
        if (sectionGain != 1.0f)
            for (int i = 0; i < numSamples; ++i)
                samples[i] *= sectionGain;
    }

    const float outputGain = gains[count];
    if (outputGain != 1.0f)
        for (int i = 0; i < numSamples; ++i)
            samples[i] *= outputGain;
}
