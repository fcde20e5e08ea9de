#include "BenchProcessor.h"
#include "engine/dsp/TransferCurve.h"
#include "engine/effects/Effects.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

// Cost of the effects at 48 kHz: each effect alone on a pedal record, and the heaviest full
// chain through processBlock. Items are samples; two counters are added:
//   ns_per_sample     CPU nanoseconds per sample of the first channel
//   x_realtime        seconds of audio processed per CPU second (48 kHz)
namespace
{
constexpr int benchRate = 48000;

void addCounters (benchmark::State& state, int blockSize)
{
    const auto samples = (double) state.iterations() * blockSize;
    state.SetItemsProcessed ((int64_t) samples);
    state.counters["ns_per_sample"] = benchmark::Counter (
        samples * 1.0e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["x_realtime"] =
        benchmark::Counter (samples / benchRate, benchmark::Counter::kIsRate);
}

std::vector<float> noiseBlock (int blockSize)
{
    juce::Random random (1);
    std::vector<float> block ((size_t) blockSize);
    for (auto& s : block)
        s = random.nextFloat() * 0.5f - 0.25f;
    return block;
}

/** Knobs at mid range, the Delay and the Digital reverb at their longest (most costly) settings. */
EffectKnobs benchKnobs (int type)
{
    EffectKnobs k;
    for (auto& v : k.values)
        v = 0.5f;
    if (type == delayEffect)
        k.values[1] = 1.0f; // 2000 ms
    if (type == digitalReverbEffect)
        k.values[0] = 1.0f; // RoomSize 1
    return k;
}

using EffectFunction = void (*) (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept;

constexpr EffectFunction effectFunctions[numEffectTypes] = {
    effects::processVibratoChorus, effects::processDigitalReverb, effects::processTremolo,
    effects::processDelay,         effects::processCompressor,    effects::processFuzzFake,
    effects::processToneDrive,     effects::processDrive707,
};

/** One effect alone; range(0) is the effect type, range(1) the block size. The same noise
    block is fed every time, as a fresh copy, so the effect never runs on its own output. */
void effectAlone (benchmark::State& state)
{
    const int type = (int) state.range (0);
    const int blockSize = (int) state.range (1);
    auto pedal = std::make_unique<Pedal>();
    pedal->init (type);
    pedal->toneDriveShaper.setTable (transferCurve);
    pedal->drive707Shaper.setTable (transferCurve);

    const auto input = noiseBlock (blockSize);
    auto block = input;
    const MonoBlock monoBlock { block.data(), blockSize, benchRate };
    const auto knobs = benchKnobs (type);
    const auto process = effectFunctions[type];

    for (auto _ : state)
    {
        std::copy (input.begin(), input.end(), block.begin());
        process (*pedal, knobs, monoBlock);
        benchmark::DoNotOptimize (block.data());
        benchmark::ClobberMemory();
    }

    state.SetLabel (pedal->displayName.toStdString());
    addCounters (state, blockSize);
}

/** The heaviest chain: six pedals on, Digital reverb at RoomSize 1, Delay at 2000 ms, Vibrato/
    Chorus, Compressor, Tone Drive and 707 Drive, through processBlock (1 in, 2 out). */
void heaviestChain (benchmark::State& state)
{
    const int blockSize = (int) state.range (0);
    auto processor = makeBenchProcessor (benchRate, blockSize);

    const int chain[StompvaleAudioProcessor::numSlots] { 1, 3, 0, 4, 6, 7 };
    for (int slot = 0; slot < StompvaleAudioProcessor::numSlots; ++slot)
    {
        auto& pedal = processor->pedalUnits[chain[slot]];
        const auto knobs = benchKnobs (pedal.type);
        for (int j = 0; j < pedal.numParams; ++j)
            pedal.knobParameters[j]->setValueNotifyingHost (
                pedal.knobParameters[j]->convertTo0to1 (knobs[j]));
        pedal.onOff->setValueNotifyingHost (1.0f);

        auto* position = processor->slotParameters[slot];
        position->setValueNotifyingHost (position->convertTo0to1 ((float) chain[slot]));
    }

    const auto input = noiseBlock (blockSize);
    juce::AudioBuffer<float> buffer (2, blockSize);
    juce::MidiBuffer midi;

    for (auto _ : state)
    {
        buffer.copyFrom (0, 0, input.data(), blockSize);
        processor->processBlock (buffer, midi);
        benchmark::DoNotOptimize (buffer.getReadPointer (1));
    }

    addCounters (state, blockSize);
}

void effectArguments (benchmark::internal::Benchmark* b)
{
    for (int type = 0; type < numEffectTypes; ++type)
        for (int blockSize : { 32, 64, 256, 1024 })
            b->Args ({ type, blockSize });
}
} // namespace

BENCHMARK (effectAlone)->Apply (effectArguments)->Unit (benchmark::kMicrosecond);
BENCHMARK (heaviestChain)
    ->Arg (32)
    ->Arg (64)
    ->Arg (256)
    ->Arg (1024)
    ->Unit (benchmark::kMicrosecond);

BENCHMARK_MAIN();
