#include "BenchProcessor.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
/** processBlock with an empty chain at 48 kHz; items are samples, so the report shows the
    per-sample cost next to the per-block time. */
void emptyChain (benchmark::State& state)
{
    const int blockSize = (int) state.range (0);
    auto processor = makeBenchProcessor (48000.0, blockSize);

    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;
    juce::Random random (1);
    for (int i = 0; i < blockSize; ++i)
        buffer.setSample (0, i, random.nextFloat() * 0.5f - 0.25f);

    for (auto _ : state)
    {
        processor->processBlock (buffer, midi);
        benchmark::DoNotOptimize (buffer.getReadPointer (1));
    }

    reportPerSample (state, blockSize);
}
} // namespace

BENCHMARK (emptyChain)->Arg (64)->Arg (256)->Arg (1024)->Unit (benchmark::kMicrosecond);

BENCHMARK_MAIN();
