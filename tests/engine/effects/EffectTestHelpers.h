#pragma once

#include "engine/Pedal.h"
#include "engine/dsp/TransferCurve.h"
#include "engine/effects/Effects.h"

#include <juce_core/juce_core.h>

#include <memory>
#include <string>
#include <vector>

namespace effect_testing
{
/** A pedal record of the given type on the heap (it is about 4 MB), with its waveshapers pointed
    at the transfer curve as the processor's constructor does. Not connected to parameters: the
    tests call the effect functions directly with their knob values. */
inline std::unique_ptr<Pedal> makePedal (int type)
{
    auto pedal = std::make_unique<Pedal>();
    pedal->init (type);
    pedal->toneDriveShaper.setTable (transferCurve);
    pedal->drive707Shaper.setTable (transferCurve);
    return pedal;
}

inline EffectKnobs knobs (std::initializer_list<float> values)
{
    EffectKnobs k;
    int j = 0;
    for (auto v : values)
        k.values[j++] = v;
    return k;
}

/** Runs the effect of the pedal's type on the samples in place, as Pedal::process would. */
inline void runEffect (Pedal& pedal, const EffectKnobs& k, float* samples, int numSamples,
                       int sampleRate)
{
    const MonoBlock block { samples, numSamples, sampleRate };

    switch (pedal.type)
    {
        case vibratoChorusEffect: effects::processVibratoChorus (pedal, k, block); break;
        case digitalReverbEffect: effects::processDigitalReverb (pedal, k, block); break;
        case tremoloEffect: effects::processTremolo (pedal, k, block); break;
        case delayEffect: effects::processDelay (pedal, k, block); break;
        case compressorEffect: effects::processCompressor (pedal, k, block); break;
        case fuzzFakeEffect: effects::processFuzzFake (pedal, k, block); break;
        case toneDriveEffect: effects::processToneDrive (pedal, k, block); break;
        case drive707Effect: effects::processDrive707 (pedal, k, block); break;
        default: break;
    }
}

/** Runs a whole signal through the effect in consecutive blocks and returns the output. */
inline std::vector<float> runSignal (Pedal& pedal, const EffectKnobs& k, std::vector<float> signal,
                                     int blockSize, int sampleRate)
{
    for (size_t start = 0; start < signal.size(); start += (size_t) blockSize)
    {
        const auto n = (int) std::min (signal.size() - start, (size_t) blockSize);
        runEffect (pedal, k, signal.data() + start, n, sampleRate);
    }
    return signal;
}

inline std::vector<float> impulse (size_t length)
{
    std::vector<float> v (length, 0.0f);
    v[0] = 1.0f;
    return v;
}

inline std::vector<float> noise (size_t length, float amplitude, juce::int64 seed)
{
    juce::Random random (seed);
    std::vector<float> v (length);
    for (auto& s : v)
        s = (random.nextFloat() * 2.0f - 1.0f) * amplitude;
    return v;
}

/** Indices of the samples whose magnitude exceeds the threshold. */
inline std::vector<size_t> peaksAbove (const std::vector<float>& v, float threshold)
{
    std::vector<size_t> at;
    for (size_t i = 0; i < v.size(); ++i)
        if (std::abs (v[i]) > threshold)
            at.push_back (i);
    return at;
}

/** The whole record as bytes, to show that a call changed nothing at all. */
inline std::vector<unsigned char> snapshot (const Pedal& pedal)
{
    const auto* bytes = reinterpret_cast<const unsigned char*> (&pedal);
    return { bytes, bytes + sizeof (Pedal) };
}

inline const char* effectName (int type)
{
    static const char* names[] = { "Vibrato/Chorus", "Digital reverb", "Tremolo",    "Delay",
                                   "Compressor",     "Fuzz Fake",      "Tone Drive", "707 Drive" };
    return type >= 0 && type < 8 ? names[type] : "?";
}
} // namespace effect_testing
