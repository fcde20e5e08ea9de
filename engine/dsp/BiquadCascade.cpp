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
    const float outputGain = gains[count];

    // Each sample goes through all sections before the next one is read. The arithmetic is the
    // same as running each section over the whole block in turn (every section sees the same
    // inputs in the same order), but the sections' recursions no longer wait for one another,
    // so the processor overlaps them.
    for (int i = 0; i < numSamples; ++i)
    {
        float x = samples[i];

        for (int s = 0; s < count; ++s)
        {
            const float* row = sections[s];
            float* state = sectionState[s];
            const float t = row[0] * x + state[0];
            const float y = std::abs ((double) t) < silenceThreshold ? 0.0f : t;
            state[0] = flushed ((row[1] * x + state[1]) - row[4] * y);
            state[1] = flushed (row[2] * x - row[5] * y);

            // A section gain other than 1 scales that section's output.
            x = gains[s] != 1.0f ? y * gains[s] : y;
        }

        samples[i] = outputGain != 1.0f ? x * outputGain : x;
    }
}
