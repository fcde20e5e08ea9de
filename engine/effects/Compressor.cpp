#include "engine/Pedal.h"
#include "engine/effects/EffectHelpers.h"
#include "engine/effects/Effects.h"

#include <algorithm>
#include <cmath>

void effects::processCompressor (Pedal& pedal, const EffectKnobs& knobs,
                                 const MonoBlock& block) noexcept
{
    if (! isProcessable (block))
        return;

    const float attack = knobs[0], release = knobs[1], input = knobs[2], ratioKnob = knobs[3],
                gain = knobs[4];

    const float attackMs = std::max (1.0f, attack * 200.0f);    // 1 to 200 ms
    const float releaseMs = std::max (1.0f, release * 1000.0f); // 1 to 1000 ms

    // Threshold: about -0.04 dB at the lowest Input down to -40 dB at Input 1.
    const double thr = std::pow (10.0, (double) (input * -2.0f));
    const auto thrF = (float) thr;

    // Smoothing coefficients: the gain falls with a time constant of attackMs / 10, rises with
    // releaseMs; the envelope decays with 50 ms.
    const double sr = (double) block.sampleRate;
    const double cA = std::exp ((-10000.0 / sr) / (double) attackMs);
    const double cR = std::exp ((-1000.0 / sr) / (double) releaseMs);
    const double cE = std::exp ((-1000.0 / sr) / 50.0);

    if (block.numSamples == 0)
        return;

    const float ratio = ratioKnob * 20.0f + 1.0f; // 1.02 to 21
    const float makeup = gain * 5.0f + 1.0f;      // 1.005 to 6
    float envelope = pedal.compressorEnvelope;
    float smoothedGain = pedal.compressorGain;
    float* x = block.samples;

    for (int32_t i = 0; i < block.numSamples; ++i)
    {
        // The envelope takes the level bounded: no infinity or non-number ever reaches it or
        // the gain, which are never cleared. The test first keeps real signals on a branch the
        // processor predicts.
        float a = std::abs (x[i]);

        if (! (a <= sampleBound))
            a = boundedSample (a);

        if (a > envelope)
            envelope = a;
        else
            envelope = (float) ((double) envelope * cE + (double) a * (1.0 - cE));

        // Hard knee: above the threshold the envelope goes to thrF * (env / thrF)^(1 / ratio).
        float gt = 1.0f;
        if (envelope > thrF)
            gt = std::exp (std::log (envelope / thrF) / ratio) * thrF / envelope;

        const double c = smoothedGain > gt ? cA : cR;
        smoothedGain = (float) ((double) gt * (1.0 - c) + (double) smoothedGain * c);

        x[i] = (smoothedGain * makeup) * x[i];
    }

    pedal.compressorEnvelope = envelope;
    pedal.compressorGain = smoothedGain;
}
