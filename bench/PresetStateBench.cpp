#include "engine/StompvaleAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <memory>

// The preset manager's pass when no button changed runs at the start of every block, so it must
// cost next to nothing; a host restore holds the render thread for as long as it takes.

namespace
{
std::unique_ptr<StompvaleAudioProcessor> preparedProcessor()
{
    auto processor = std::make_unique<StompvaleAudioProcessor>();
    processor->setRateAndBufferSizeDetails (48000.0, 256);
    processor->prepareToPlay (48000.0, 256);
    return processor;
}

/** updatePresets with preset 7 current and no new selection. */
void idlePresetPass (benchmark::State& state)
{
    auto processor = preparedProcessor();
    processor->presetIndex = 7;
    processor->presetButtonParameters[7]->setValueNotifyingHost (1.0f);

    for (auto _ : state)
    {
        processor->updatePresets();
        benchmark::DoNotOptimize (processor->presetIndex);
    }
}

/** getStateInformation of the whole parameter set. */
void writeState (benchmark::State& state)
{
    auto processor = preparedProcessor();
    juce::MemoryBlock block;

    for (auto _ : state)
    {
        processor->getStateInformation (block);
        benchmark::DoNotOptimize (block.getData());
    }
}

/** setStateInformation of a full block, including the reset of the pedals' memories. */
void restoreState (benchmark::State& state)
{
    auto processor = preparedProcessor();
    juce::MemoryBlock block;
    processor->getStateInformation (block);

    for (auto _ : state)
        processor->setStateInformation (block.getData(), (int) block.getSize());
}
} // namespace

BENCHMARK (idlePresetPass);
BENCHMARK (writeState)->Unit (benchmark::kMicrosecond);
BENCHMARK (restoreState)->Unit (benchmark::kMicrosecond);
BENCHMARK_MAIN();
