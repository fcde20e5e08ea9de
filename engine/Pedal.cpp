#include "engine/Pedal.h"

#include "engine/effects/Effects.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace
{
struct EffectDescription
{
    const char* codeName;
    const char* displayName;
    int32_t numParams;
    const char* knobNames[pedalDefinition::maxKnobs];
};

constexpr EffectDescription effectDescriptions[numEffectTypes] = {
    { "PEDAL_CHORUS", "Vibrato/Chorus", 3, { "Phase Mix", "Speed", "Amplitude" } },
    { "PEDAL_REVERB",
      "Digital reverb",
      4,
      { "RoomSize", "Reflection Factor", "Mix", "Early/Late Mix" } },
    { "PEDAL_TREMOLO", "Tremolo", 2, { "Speed", "Amplitude" } },
    { "PEDAL_Delay", "Delay", 3, { "Mix", "Delay", "Feedback" } },
    { "PEDAL_Compressor", "Compressor", 5, { "Attack", "Release", "Input", "Ratio", "Gain" } },
    { "PEDAL_Fuzz", "Fuzz Fake", 3, { "Fuzz", "Symetrical", "Gain" } },
    { "PEDAL_drive", "Tone Drive", 3, { "Gain", "Tone", "Mix" } },
    { "PEDAL_707", "707 Drive", 3, { "Gain", "Tone", "Volume" } },
};
} // namespace

void Pedal::init (int newType)
{
    type = newType;

    if (newType < 0 || newType >= numEffectTypes)
        return;

    const auto& description = effectDescriptions[newType];
    numParams = description.numParams;
    codeName = description.codeName;
    displayName = description.displayName;

    for (int j = 0; j < numParams; ++j)
        paramNames[j] = description.knobNames[j];
}

void Pedal::process (const MonoBlock& block) noexcept
{
    if (onOff == nullptr || onOff->get() == false)
        return;

    EffectKnobs knobs;
    for (int j = 0; j < numParams; ++j)
        knobs.values[j] = knobParameters[j]->get();

    // clang-format off
    switch (type)
    {
        case vibratoChorusEffect: effects::processVibratoChorus (*this, knobs, block); break;
        case digitalReverbEffect: effects::processDigitalReverb (*this, knobs, block); break;
        case tremoloEffect:       effects::processTremolo (*this, knobs, block); break;
        case delayEffect:         effects::processDelay (*this, knobs, block); break;
        case compressorEffect:    effects::processCompressor (*this, knobs, block); break;
        case fuzzFakeEffect:      effects::processFuzzFake (*this, knobs, block); break;
        case toneDriveEffect:     effects::processToneDrive (*this, knobs, block); break;
        case drive707Effect:      effects::processDrive707 (*this, knobs, block); break;
        default: break;
    }
    // clang-format on
}

void Pedal::clearMemories() noexcept
{
    if (type == delayEffect)
    {
        delayLine.clearLine();
    }
    else if (type == digitalReverbEffect)
    {
        for (auto& comb : combs)
            comb.clearAll();

        for (auto& stage : allpasses)
        {
            stage.clearAll();
            std::fill (std::begin (stage.out), std::end (stage.out), 0.0f);
        }
    }
}
