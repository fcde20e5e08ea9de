#include "StompvaleDirectRunner.h"

#include "engine/StompvaleAudioProcessor.h"

#include <cstring>
#include <stdexcept>

StompvaleDirectRunner::StompvaleDirectRunner (double sampleRate, int blockSize,
                                              const std::vector<Setting>& settings)
    : processor (std::make_unique<StompvaleAudioProcessor>()), scratch ((size_t)blockSize)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::mono());
    layout.outputBuses.add (juce::AudioChannelSet::mono());
    processor->setBusesLayout (layout);
    processor->setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor->prepareToPlay (sampleRate, blockSize);

    for (const auto& setting : settings)
    {
        bool found = false;
        for (auto* parameter : processor->getParameters())
        {
            auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter);
            if (ranged != nullptr && ranged->getParameterID() == juce::String (setting.id))
            {
                ranged->setValueNotifyingHost (ranged->convertTo0to1 (setting.value));
                found = true;
            }
        }
        if (!found)
            throw std::runtime_error ("no parameter " + setting.id);
    }
}

StompvaleDirectRunner::~StompvaleDirectRunner() = default;

void StompvaleDirectRunner::run (const float* input, float* output, int numSamples)
{
    std::memcpy (scratch.data(), input, (size_t)numSamples * sizeof (float));
    float* channels[] = {scratch.data()};
    juce::AudioBuffer<float> buffer (channels, 1, numSamples);
    juce::MidiBuffer midi;
    processor->processBlock (buffer, midi);
    std::memcpy (output, scratch.data(), (size_t)numSamples * sizeof (float));
}

float StompvaleDirectRunner::getTunerFrequency() const { return processor->tunerFrequency.load(); }
