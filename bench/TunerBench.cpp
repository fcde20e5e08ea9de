#include "BenchProcessor.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

// The tuner's cost per block at 48 kHz next to the cost of the rest of processBlock. Every block
// runs the two decimators and one 8192-point transform whatever its length, so the tuner's share
// grows as the blocks get shorter. See bench/README.md for the figures.

namespace
{
constexpr double sampleRate = 48000.0;

/** A 110 Hz sine at half scale: the tuner's usual material. */
std::vector<float> tone (int numSamples)
{
    std::vector<float> samples ((size_t) numSamples);
    for (int i = 0; i < numSamples; ++i)
        samples[(size_t) i] =
            0.5f * (float) std::sin (2.0 * 3.14159265358979 * 110.0 * i / sampleRate);
    return samples;
}

/** A processor at 48 kHz, 1 in and 2 out, with six pedals of six different types switched on in
    the six chain positions, and the tuner on or off. */
std::unique_ptr<StompvaleAudioProcessor> makeBoard (int blockSize, bool tunerOn)
{
    auto processor = makeBenchProcessor (sampleRate, blockSize);

    // Chorus, reverb, tremolo, delay, compressor, tone drive.
    const int pedals[StompvaleAudioProcessor::numSlots] = { 0, 1, 2, 3, 4, 6 };
    for (int slot = 0; slot < StompvaleAudioProcessor::numSlots; ++slot)
    {
        auto& position = *processor->slotParameters[slot];
        position.setValueNotifyingHost (position.convertTo0to1 ((float) pedals[slot]));
        processor->pedalUnits[pedals[slot]].onOff->setValueNotifyingHost (1.0f);
    }

    processor->tunerParameter->setValueNotifyingHost (tunerOn ? 1.0f : 0.0f);
    return processor;
}

/** The tuner step alone, as processBlock calls it. */
void tunerStep (benchmark::State& state)
{
    const int blockSize = (int) state.range (0);
    auto processor = makeBoard (blockSize, true);
    auto& p = *processor;
    const auto input = tone (blockSize);

    for (auto _ : state)
    {
        p.tunerEngine.process (input.data(), blockSize, (int) sampleRate, p.tunerFrequency,
                               p.tunerNoteName, p.tunerDeviation);
        benchmark::ClobberMemory();
    }
    reportPerSample (state, blockSize);
}

/** processBlock with the six-pedal chain, tuner off or on. */
void processBlockWith (benchmark::State& state, bool tunerOn)
{
    const int blockSize = (int) state.range (0);
    auto processor = makeBoard (blockSize, tunerOn);
    const auto input = tone (blockSize);
    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;

    for (auto _ : state)
    {
        buffer.copyFrom (0, 0, input.data(), blockSize);
        processor->processBlock (buffer, midi);
        benchmark::DoNotOptimize (buffer.getReadPointer (1));
    }
    reportPerSample (state, blockSize);
}

void chainTunerOff (benchmark::State& state) { processBlockWith (state, false); }
void chainTunerOn (benchmark::State& state) { processBlockWith (state, true); }
} // namespace

BENCHMARK (tunerStep)->Arg (32)->Arg (64)->Arg (256)->Arg (1024)->Unit (benchmark::kMicrosecond);
BENCHMARK (chainTunerOff)
    ->Arg (32)
    ->Arg (64)
    ->Arg (256)
    ->Arg (1024)
    ->Unit (benchmark::kMicrosecond);
BENCHMARK (chainTunerOn)->Arg (32)->Arg (64)->Arg (256)->Arg (1024)->Unit (benchmark::kMicrosecond);

BENCHMARK_MAIN();
