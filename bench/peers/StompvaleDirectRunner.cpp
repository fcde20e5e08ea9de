#include "StompvaleDirectRunner.h"

#include "../BenchProcessor.h"

#include <stdexcept>

StompvaleDirectRunner::StompvaleDirectRunner (double sampleRate, int blockSize,
                                              const std::vector<Setting>& settings)
    : processor (makeBenchProcessor (sampleRate, blockSize)), secondChannel ((size_t) blockSize)
{
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
        if (! found)
            throw std::runtime_error ("no parameter " + setting.id);
    }
}

StompvaleDirectRunner::~StompvaleDirectRunner() = default;

void StompvaleDirectRunner::run (float* samples, int numSamples)
{
    float* channels[] = { samples, secondChannel.data() };
    juce::AudioBuffer<float> buffer (channels, 2, numSamples);
    juce::MidiBuffer midi;
    processor->processBlock (buffer, midi);
}

float StompvaleDirectRunner::getTunerFrequency() const { return processor->tunerFrequency.load(); }
