#pragma once

#include "engine/StompvaleAudioProcessor.h"

#include <memory>

namespace testing_helpers
{
/** A processor on the heap (it is about 100 MB), laid out for inputs -> outputs channels and
    prepared for the given rate and block size. */
inline std::unique_ptr<StompvaleAudioProcessor>
makeProcessor (int inputs = 1, int outputs = 2, double sampleRate = 48000.0, int blockSize = 512)
{
    auto processor = std::make_unique<StompvaleAudioProcessor>();

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::canonicalChannelSet (inputs));
    layout.outputBuses.add (juce::AudioChannelSet::canonicalChannelSet (outputs));
    processor->setBusesLayout (layout);
    processor->setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor->prepareToPlay (sampleRate, blockSize);
    return processor;
}

/** Sets a parameter from its natural (unnormalised) value and tells the host, as a user would. */
template <typename Parameter>
void setNatural (Parameter& parameter, float value)
{
    parameter.setValueNotifyingHost (parameter.convertTo0to1 (value));
}

inline void setOn (juce::AudioParameterBool& parameter, bool on)
{
    parameter.setValueNotifyingHost (on ? 1.0f : 0.0f);
}

/** Runs one block through the processor. */
inline void process (StompvaleAudioProcessor& processor, juce::AudioBuffer<float>& buffer)
{
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
}
} // namespace testing_helpers
