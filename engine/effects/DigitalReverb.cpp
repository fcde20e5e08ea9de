#include "engine/Pedal.h"
#include "engine/effects/EffectHelpers.h"
#include "engine/effects/Effects.h"

namespace
{
/** All-pass stage lengths, in 1618ths of the room time. */
constexpr int32_t allpassTuning[3] { 225, 341, 441 };
} // namespace

void effects::processDigitalReverb (Pedal& pedal, const EffectKnobs& knobs,
                                    const MonoBlock& block) noexcept
{
    // An empty block leaves every line as it was.
    if (! isProcessable (block) || block.numSamples <= 0)
        return;

    const float roomSize = knobs[0], reflection = knobs[1], mix = knobs[2], earlyLate = knobs[3];
    const int32_t n = block.numSamples;
    float* x = block.samples;

    // Room time in seconds: 0.0294 s to 0.147 s in 41 steps.
    const auto R = (int32_t) (roomSize * 40.0f + 10.0f);
    const auto t = (float) ((double) R * 0.00294);
    const auto srf = (float) block.sampleRate;

    // The lines hold 0.3 s at 192 kHz; above about 336 kHz the longest comb is bounded.
    const int32_t maxDelay = ReverbComb::maxDelayFor (n);

    // Early part: four parallel feedback combs, all fed by the block as it came in.
    for (int c = 0; c < 4; ++c)
    {
        auto& comb = pedal.combs[c];
        const float tc = (float) pedal.combTuning[c] * t / 1618.0f;
        const auto gc = (float) ((double) (pedal.combGains[c] * reflection) / 0.828);
        const int32_t Dc = boundedDelay (tc * srf, maxDelay);

        for (int32_t i = 0; i < n; ++i)
            comb.input[i] = boundedSample (comb.prev[i] * gc + x[i]);

        comb.advance (Dc, n);
    }

    const float early = 1.0f - earlyLate;

    for (auto& comb : pedal.combs)
        for (int32_t i = 0; i < n; ++i)
            x[i] = ((comb.prev[i] * 0.25f) * mix) * early + x[i];

    // Late part: three all-pass stages in series, each fed by the block as the steps before it
    // left it; the same gain serves as feedback and feed-forward.
    const auto g = (float) ((double) (reflection * 0.7f) / 0.828);

    for (int s = 0; s < 3; ++s)
    {
        auto& stage = pedal.allpasses[s];
        const float ts = (float) allpassTuning[s] * t / 1618.0f;
        const int32_t Ds = boundedDelay (ts * srf, maxDelay);

        for (int32_t i = 0; i < n; ++i)
            stage.input[i] = boundedSample (x[i] - stage.prev[i] * g);

        stage.advance (Ds, n);

        for (int32_t i = 0; i < n; ++i)
        {
            stage.out[i] = stage.input[i] * g + stage.prev[i];
            x[i] = ((stage.out[i] * 0.25f) * mix) * earlyLate + x[i];
        }
    }
}
