#pragma once

#include "engine/StompvaleAudioProcessor.h"

#include <memory>

/** A processor on the heap, laid out 1 in / 2 out and prepared for the rate and block size, as a
    host would leave it before its first block. */
inline std::unique_ptr<StompvaleAudioProcessor> makeBenchProcessor (double sampleRate,
                                                                    int blockSize)
{
    auto processor = std::make_unique<StompvaleAudioProcessor>();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::mono());
    layout.outputBuses.add (juce::AudioChannelSet::stereo());
    processor->setBusesLayout (layout);
    processor->setRateAndBufferSizeDetails (sampleRate, blockSize);
    processor->prepareToPlay (sampleRate, blockSize);
    return processor;
}
