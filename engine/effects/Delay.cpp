#include "engine/Pedal.h"
#include "engine/effects/EffectHelpers.h"
#include "engine/effects/Effects.h"

void effects::processDelay (Pedal& pedal, const EffectKnobs& knobs, const MonoBlock& block) noexcept
{
    // An empty block changes neither the block nor the line.
    if (! isProcessable (block) || block.numSamples <= 0)
        return;

    const float mix = knobs[0], delay = knobs[1], feedback = knobs[2];
    const int32_t n = block.numSamples;
    float* x = block.samples;
    auto& line = pedal.delayLine;

    // Delay in samples, single precision in this order: 2 ms to 2 s. Above about 187.9 kHz the
    // longest settings would not leave room for the block, so D is bounded to capacity - n.
    const float timeMs = delay * 2000.0f;
    const int32_t D =
        boundedDelay ((float) block.sampleRate * timeMs * 0.001f, line.maxDelayFor (n));

    // The feedback takes the previous block's delayed samples at the same index, so repeats
    // follow each other D + n samples apart. The line takes its input bounded: a runaway (this
    // pedal twice in the chain at Feedback 1) levels off instead of turning infinite, and a
    // non-number never circulates (prev even survives a reset).
    for (int32_t i = 0; i < n; ++i)
        line.input[i] = boundedSample (line.prev[i] * feedback + x[i]);

    line.advance (D, n);

    for (int32_t i = 0; i < n; ++i)
        x[i] = line.prev[i] * mix + x[i];
}
