#include "engine/effects/Effects.h"
#include "engine/Pedal.h"

#include <algorithm>

void effects::processFuzzFake (Pedal&, const EffectKnobs& knobs, const MonoBlock& block) noexcept
{
    const float fuzz = knobs[0], symmetry = knobs[1], gain = knobs[2];

    // The clipping window [symmetry - 1, symmetry + 1] sits above zero by `symmetry`, so the
    // negative half clips earlier than the positive one.
    const float g = fuzz * 50.0f + 1.0f;
    const float hi = symmetry + 1.0f;
    const float lo = symmetry - 1.0f;
    const float out = gain + gain;

    for (int i = 0; i < block.numSamples; ++i)
        block.samples[i] = std::max (lo, std::min (hi, block.samples[i] * g)) * out;
}

void effects::processToneDrive (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept {}
void effects::processDrive707 (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept {}
