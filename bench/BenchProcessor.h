#pragma once

#include "engine/StompvaleAudioProcessor.h"

#include <benchmark/benchmark.h>

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

/** Counts a run's items as samples and adds ns_per_sample, the CPU time per sample. */
inline void reportPerSample (benchmark::State& state, int blockSize)
{
    state.SetItemsProcessed (state.iterations() * blockSize);
    state.counters["ns_per_sample"] =
        benchmark::Counter ((double) state.iterations() * blockSize,
                            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
