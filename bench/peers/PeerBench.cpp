// Our effects against Linux peer plug-ins from Debian, side by side on the same 60-second
// 48 kHz guitar-like signal, at block sizes 64 and 256. Each benchmark is one contender at one
// block size; an iteration is one whole 60-second pass, timed as thread CPU time, so the
// reported time is the CPU cost of 60 s of audio (cpu_ms_per_60s: the cheapest of three passes).
// The timed loop holds the contenders' run calls and no copying or level measuring: the plug-ins
// read and write the signal in place (see timedPass). Reading the thread clock around every
// block instead would cost more than a light plug-in's block, so the clock is read once a pass.
// After the runs a Markdown table of the ratios (ours / peer) is printed; bench/README.md holds the
// figures of the last run.
//
//   ./build/bench/peers/StompvalePeerBench                  all effects, both block sizes
//   ./build/bench/peers/StompvalePeerBench --benchmark_filter=Delay
//   STOMPVALE_PEER_SECONDS=5 ./build/bench/peers/StompvalePeerBench    a short smoke run
//
// Ours is measured twice: as the built LV2 loaded through lilv like the peers (its parameters
// are set with patch:Set messages, as JUCE's LV2 wrapper takes them), and as the processor run
// directly. The peers come from the Debian packages guitarix-lv2, calf-plugins, swh-lv2,
// mda-lv2, x42-plugins and invada-studio-plugins-lv2.

#include "GuitarTestSignal.h"
#include "LilvHost.h"
#include "LilvPluginRunner.h"
#include "StompvaleDirectRunner.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#ifndef STOMPVALE_LV2_BUNDLE_DIR
#error "STOMPVALE_LV2_BUNDLE_DIR names the built Stompvale.lv2 folder"
#endif

namespace
{
constexpr double sampleRate = 48000.0;
const std::string ourUri = "https://stompvale.example.org/plugins/stompvale";

using Settings = std::vector<LilvPluginRunner::Setting>;

/** One peer plug-in with the control values we give it (everything else at its default). */
struct Peer
{
    std::string label;
    std::string uri;
    Settings controls;
};

/** One line of the table: our setting (as parameter ID and natural value) and its peers. A
    chain of peers is run in series, each feeding the next. */
struct Row
{
    std::string effect;
    std::vector<StompvaleDirectRunner::Setting> ours;
    std::vector<std::vector<Peer>> peers;
};

/** The ID prefix of pedal i, as the processor registers it. */
std::string pedalPrefix (int pedal)
{
    static const char* stems[8] = { "PEDAL_CHOR", "PEDAL_REVE", "PEDAL_TREM", "PEDAL_Dela",
                                    "PEDAL_Comp", "PEDAL_Fuzz", "PEDAL_driv", "PEDAL_707" };
    return "PEDAL" + std::to_string (pedal) + stems[pedal % 8];
}

/** Pedal `pedal` (its effect type is pedal mod 8) on, in position 0, knobs at their defaults. */
std::vector<StompvaleDirectRunner::Setting> onePedal (int pedal)
{
    return { { "PEDAL_BEFORE_SLOT0", (float) pedal }, { pedalPrefix (pedal) + "_ONOFF_", 1.0f } };
}

const Peer gxChorus { "gx chorus (stereo)",
                      "http://guitarix.sourceforge.net/plugins/gx_chorus_stereo#_chorus_stereo",
                      {} };
const Peer calfChorus { "Calf MultiChorus (stereo)",
                        "http://calf.sourceforge.net/plugins/MultiChorus",
                        {} };
const Peer gxReverb { "gx reverb (stereo)",
                      "http://guitarix.sourceforge.net/plugins/gx_reverb_stereo#_reverb_stereo",
                      {} };
const Peer calfReverb { "Calf Reverb (stereo)", "http://calf.sourceforge.net/plugins/Reverb", {} };
const Peer gxTremolo { "gx tremolo",
                       "http://guitarix.sourceforge.net/plugins/gx_tremolo#_tremolo",
                       {} };
const Peer calfPulsator { "Calf Pulsator (stereo)",
                          "http://calf.sourceforge.net/plugins/Pulsator",
                          {} };
// Our Delay at its default knobs: Delay 0.5 of 2000 ms, Feedback 0.5, Mix 0.5. A delay's cost can
// depend on its time, so the delay peers get the same time and feedback.
constexpr float delaySeconds = 0.5f * 2.0f;
constexpr float delayFeedback = 0.5f;
const Peer invadaDelay { "invada delay (mono in)",
                         "http://invadarecords.com/plugins/lv2/delay/mono",
                         { { "delay1", delaySeconds },
                           { "delay2", delaySeconds },
                           { "fb1", 100.0f * delayFeedback },
                           { "fb2", 100.0f * delayFeedback } } };
const Peer swhFadDelay { "swh fadDelay",
                         "http://plugin.org.uk/swh-plugins/fadDelay",
                         { { "delay", delaySeconds },
                           { "fb_db", 20.0f * std::log10 (delayFeedback) } } };
const Peer gxCompressor { "gx compressor",
                          "http://guitarix.sourceforge.net/plugins/gx_compressor#_compressor",
                          {} };
const Peer calfCompressor { "Calf MonoCompressor",
                            "http://calf.sourceforge.net/plugins/MonoCompressor",
                            {} };
const Peer swhSc4 { "swh sc4 (stereo)",
                    "http://plugin.org.uk/swh-plugins/sc4",
                    { { "threshold", -20.0f }, { "ratio", 4.0f } } };
const Peer gxFuzz { "gx fuzz", "http://guitarix.sourceforge.net/plugins/gx_fuzz_#fuzz_", {} };
const Peer mdaOverdrive { "mda Overdrive (stereo)",
                          "http://drobilla.net/plugins/mda/Overdrive",
                          { { "drive", 0.5f }, { "muffle", 0.5f } } };
const Peer gxTuner { "gx tuner", "http://guitarix.sourceforge.net/plugins/gxtuner#tuner", {} };
const Peer x42Tuna { "x42 tuna", "http://gareus.org/oss/lv2/tuna#one", {} };

std::vector<Row> makeRows()
{
    std::vector<Row> rows;
    rows.push_back ({ "Vibrato/Chorus", onePedal (0), { { gxChorus }, { calfChorus } } });
    rows.push_back ({ "Digital reverb", onePedal (1), { { gxReverb }, { calfReverb } } });
    rows.push_back ({ "Tremolo", onePedal (2), { { gxTremolo }, { calfPulsator } } });
    rows.push_back ({ "Delay", onePedal (3), { { invadaDelay }, { swhFadDelay } } });
    rows.push_back (
        { "Compressor", onePedal (4), { { gxCompressor }, { calfCompressor }, { swhSc4 } } });
    rows.push_back ({ "Fuzz Fake", onePedal (5), { { gxFuzz }, { mdaOverdrive } } });
    rows.push_back ({ "Tone Drive", onePedal (6), { { mdaOverdrive }, { gxFuzz } } });
    rows.push_back ({ "707 Drive", onePedal (7), { { mdaOverdrive }, { gxFuzz } } });
    rows.push_back ({ "Tuner", { { "tuner", 1.0f } }, { { gxTuner }, { x42Tuna } } });

    // Six positions: compressor, fuzz, drive, chorus, delay, reverb; the peers in the same order.
    std::vector<StompvaleDirectRunner::Setting> chain;
    const int pedals[6] = { 4, 5, 6, 0, 3, 1 };
    for (int slot = 0; slot < 6; ++slot)
    {
        chain.push_back ({ "PEDAL_BEFORE_SLOT" + std::to_string (slot), (float) pedals[slot] });
        chain.push_back ({ pedalPrefix (pedals[slot]) + "_ONOFF_", 1.0f });
    }
    rows.push_back (
        { "Full chain (6 pedals)",
          chain,
          { { gxCompressor, gxFuzz, mdaOverdrive, gxChorus, invadaDelay, gxReverb } } });

    rows.push_back ({ "Empty chain (ours only)", {}, {} });
    return rows;
}

double seconds()
{
    const char* text = std::getenv ("STOMPVALE_PEER_SECONDS");
    const double value = text != nullptr ? std::atof (text) : 60.0;
    return value > 0.0 ? value : 60.0;
}

const std::vector<float>& testSignal()
{
    static const std::vector<float> signal = GuitarTestSignal::make (seconds(), sampleRate);
    return signal;
}

double threadCpuSeconds()
{
    timespec now {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now);
    return (double) now.tv_sec + 1.0e-9 * (double) now.tv_nsec;
}

/** A contender's work on one block: it reads count samples at input and writes them at output.
    The output already holds a copy of the input, so a contender may instead process it in
    place; one that only analyses (a tuner) leaves it as it is. */
using Process = std::function<void (const float* input, float* output, int count)>;

/** Runs the whole test signal through process in blocks, into output (one buffer as long as the
    signal, filled with a copy of it first); returns the thread CPU seconds of the blocks alone. */
double timedPass (int blockSize, const Process& process, std::vector<float>& output)
{
    const auto& input = testSignal();
    output = input;
    const double start = threadCpuSeconds();
    for (size_t offset = 0; offset < input.size(); offset += (size_t) blockSize)
    {
        const int count = (int) std::min<size_t> ((size_t) blockSize, input.size() - offset);
        process (input.data() + offset, output.data() + offset, count);
    }
    return threadCpuSeconds() - start;
}

double rootMeanSquare (const std::vector<float>& samples)
{
    double sumOfSquares = 0.0;
    for (const float sample : samples)
        sumOfSquares += (double) sample * sample;
    return samples.empty() ? 0.0 : std::sqrt (sumOfSquares / (double) samples.size());
}

/** Keeps the cheapest of the passes: on a shared machine the other passes only add noise. */
struct PassTimes
{
    double best = 1.0e30;
    double rms = 0.0;

    void add (benchmark::State& state, double cpuSeconds, double outputRms)
    {
        state.SetIterationTime (cpuSeconds);
        best = std::min (best, cpuSeconds);
        rms = outputRms;
    }

    void report (benchmark::State& state) const
    {
        // Scaled to 60 s of audio whatever the signal length, so short smoke runs read the same.
        state.counters["cpu_ms_per_60s"] = 1000.0 * best * 60.0 / seconds();
        state.counters["out_rms"] = rms;
    }
};

/** Times one pass of the whole signal per benchmark iteration and reports the cheapest. */
void measurePasses (benchmark::State& state, int blockSize, const Process& process)
{
    PassTimes times;
    std::vector<float> output;
    for (auto _ : state)
    {
        const double cpu = timedPass (blockSize, process, output);
        times.add (state, cpu, rootMeanSquare (output));
    }
    times.report (state);
}

void runOursLv2 (benchmark::State& state, Row row, int blockSize)
{
    LilvHost host (sampleRate, blockSize);
    host.loadBundle (STOMPVALE_LV2_BUNDLE_DIR);
    Settings properties;
    for (const auto& setting : row.ours)
        properties.push_back ({ ourUri + ":" + setting.id, setting.value });
    LilvPluginRunner runner (host, ourUri, {}, properties);
    if (! runner.isValid() || ! runner.getError().empty())
    {
        state.SkipWithError (("Stompvale LV2: " + runner.getError()).c_str());
        return;
    }
    measurePasses (state, blockSize, [&] (const float* in, float* out, int n) {
        runner.connectAudio (in, out);
        runner.run (n);
    });
}

/** The whole signal through a fresh processor with the given settings, untimed. Leaves in
    tunerFrequency the median of the tuner's readings taken after every block (0 if none). */
std::vector<float> renderOurs (const std::vector<StompvaleDirectRunner::Setting>& settings,
                               int blockSize, float& tunerFrequency)
{
    StompvaleDirectRunner runner (sampleRate, blockSize, settings);
    const auto& input = testSignal();
    std::vector<float> output (input);
    std::vector<float> readings;
    for (size_t offset = 0; offset < input.size(); offset += (size_t) blockSize)
    {
        const int count = (int) std::min<size_t> ((size_t) blockSize, input.size() - offset);
        runner.run (output.data() + offset, count);
        if (runner.getTunerFrequency() > 0.0f)
            readings.push_back (runner.getTunerFrequency());
    }
    tunerFrequency = 0.0f;
    if (! readings.empty())
    {
        std::nth_element (readings.begin(), readings.begin() + (long) readings.size() / 2,
                          readings.end());
        tunerFrequency = readings[readings.size() / 2];
    }
    return output;
}

/** Whether our setting was really at work when measured: effects still being written pass the
    signal through untouched, and a tuner that is not in yet detects nothing. Keyed by effect. */
std::map<std::string, std::string>& realness()
{
    static std::map<std::string, std::string> notes;
    return notes;
}

void noteRealness (const Row& row, int blockSize)
{
    if (row.ours.empty() || realness().count (row.effect) != 0)
        return;
    float tunerFrequency = 0.0f, unused = 0.0f;
    const auto dry = renderOurs ({}, blockSize, unused);
    const auto wet = renderOurs (row.ours, blockSize, tunerFrequency);
    float difference = 0.0f;
    for (size_t i = 0; i < dry.size(); ++i)
        difference = std::max (difference, std::abs (wet[i] - dry[i]));

    char text[128];
    if (row.effect == "Tuner")
        std::snprintf (text, sizeof (text),
                       tunerFrequency > 0.0f ? "real: median reading %.1f Hz"
                                             : "not in yet: no reading",
                       (double) tunerFrequency);
    else
        std::snprintf (text, sizeof (text),
                       difference > 1.0e-6f ? "real" : "not in yet: passes dry");
    realness()[row.effect] = text;
}

void runOursDirect (benchmark::State& state, Row row, int blockSize)
{
    noteRealness (row, blockSize);
    StompvaleDirectRunner runner (sampleRate, blockSize, row.ours);
    measurePasses (state, blockSize,
                   [&] (const float*, float* out, int n) { runner.run (out, n); });
}

void runPeers (benchmark::State& state, std::vector<Peer> chain, int blockSize)
{
    LilvHost host (sampleRate, blockSize);
    std::vector<std::unique_ptr<LilvPluginRunner>> runners;
    for (const auto& peer : chain)
    {
        runners.push_back (
            std::make_unique<LilvPluginRunner> (host, peer.uri, peer.controls, Settings {}));
        if (! runners.back()->isValid())
        {
            state.SkipWithError ((peer.label + ": " + runners.back()->getError()).c_str());
            return;
        }
    }
    // Each plug-in reads what the last one before it wrote; the last to write writes the output,
    // the others their own buffer. An analyser passes on what it read.
    size_t lastWriter = runners.size();
    for (size_t i = 0; i < runners.size(); ++i)
        if (runners[i]->hasAudioOutput())
            lastWriter = i;
    std::vector<std::vector<float>> between (runners.size(),
                                             std::vector<float> ((size_t) blockSize));
    measurePasses (state, blockSize, [&] (const float* in, float* out, int n) {
        const float* stageInput = in;
        for (size_t i = 0; i < runners.size(); ++i)
        {
            float* stageOutput = i == lastWriter ? out : between[i].data();
            runners[i]->connectAudio (stageInput, stageOutput);
            runners[i]->run (n);
            if (runners[i]->hasAudioOutput())
                stageInput = stageOutput;
        }
    });
}

std::string chainLabel (const std::vector<Peer>& chain)
{
    if (chain.size() == 1)
        return chain.front().label;
    std::string label;
    for (const auto& peer : chain)
        label += (label.empty() ? "" : " > ") + peer.label;
    return label;
}

/** Console output as usual, and every result kept for the ratio table. */
class CollectingReporter final : public benchmark::ConsoleReporter
{
public:
    void ReportRuns (const std::vector<Run>& runs) override
    {
        for (const auto& run : runs)
        {
            const auto found = run.counters.find ("cpu_ms_per_60s");
            if (! run.error_occurred && found != run.counters.end())
                cpuMs[run.run_name.function_name] = found->second.value;
        }
        ConsoleReporter::ReportRuns (runs);
    }

    std::map<std::string, double> cpuMs;
};

std::string benchmarkName (const std::string& effect, const std::string& who, int blockSize)
{
    return effect + " | " + who + " | block " + std::to_string (blockSize);
}
} // namespace

int main (int argc, char** argv)
{
    const std::vector<int> blockSizes { 64, 256 };
    const auto rows = makeRows();

    for (const auto& row : rows)
        for (int blockSize : blockSizes)
        {
            benchmark::RegisterBenchmark (
                benchmarkName (row.effect, "ours (LV2)", blockSize).c_str(), runOursLv2, row,
                blockSize)
                ->Iterations (3)
                ->UseManualTime()
                ->Unit (benchmark::kMillisecond);
            benchmark::RegisterBenchmark (
                benchmarkName (row.effect, "ours (processor)", blockSize).c_str(), runOursDirect,
                row, blockSize)
                ->Iterations (3)
                ->UseManualTime()
                ->Unit (benchmark::kMillisecond);
            for (const auto& chain : row.peers)
                benchmark::RegisterBenchmark (
                    benchmarkName (row.effect, chainLabel (chain), blockSize).c_str(), runPeers,
                    chain, blockSize)
                    ->Iterations (3)
                    ->UseManualTime()
                    ->Unit (benchmark::kMillisecond);
        }

    benchmark::Initialize (&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks (&reporter);
    benchmark::Shutdown();

    // The tables, in Markdown, for bench/README.md. Times are CPU milliseconds per 60 s of audio.
    const auto find = [&reporter] (const std::string& name) -> const double* {
        const auto found = reporter.cpuMs.find (name);
        return found != reporter.cpuMs.end() ? &found->second : nullptr;
    };
    const auto cell = [] (const double* value) {
        char text[32];
        std::snprintf (text, sizeof (text), value != nullptr ? "%.1f" : "-",
                       value != nullptr ? *value : 0.0);
        return std::string (text);
    };
    const auto ratioCell = [] (const double* ours, const double* peer) {
        if (ours == nullptr || peer == nullptr || *peer <= 0.0)
            return std::string ("-");
        const double ratio = *ours / *peer;
        char text[32];
        std::snprintf (text, sizeof (text), "**%.*f**", ratio < 0.1 ? 3 : 2, ratio);
        return std::string (text);
    };

    std::printf ("\n| effect (ours when measured) | peer | ours 64 | peer 64 | ours/peer 64 | ours "
                 "256 | peer 256 | ours/peer 256 |\n"
                 "|---|---|---:|---:|---:|---:|---:|---:|\n");
    for (const auto& row : rows)
    {
        const auto note =
            realness().count (row.effect) != 0 ? realness()[row.effect] : std::string ("-");
        for (const auto& chain : row.peers)
        {
            const auto label = chainLabel (chain);
            const double* ours64 = find (benchmarkName (row.effect, "ours (LV2)", 64));
            const double* ours256 = find (benchmarkName (row.effect, "ours (LV2)", 256));
            const double* peer64 = find (benchmarkName (row.effect, label, 64));
            const double* peer256 = find (benchmarkName (row.effect, label, 256));
            if (ours64 == nullptr && ours256 == nullptr)
                continue; // filtered out of this run
            std::printf ("| %s (%s) | %s | %s | %s | %s | %s | %s | %s |\n", row.effect.c_str(),
                         note.c_str(), label.c_str(), cell (ours64).c_str(), cell (peer64).c_str(),
                         ratioCell (ours64, peer64).c_str(), cell (ours256).c_str(),
                         cell (peer256).c_str(), ratioCell (ours256, peer256).c_str());
        }
    }

    std::printf ("\n| our setting | LV2 64 | processor 64 | LV2 256 | processor 256 |\n"
                 "|---|---:|---:|---:|---:|\n");
    for (const auto& row : rows)
    {
        const double* lv2At64 = find (benchmarkName (row.effect, "ours (LV2)", 64));
        const double* lv2At256 = find (benchmarkName (row.effect, "ours (LV2)", 256));
        if (lv2At64 == nullptr && lv2At256 == nullptr)
            continue;
        std::printf ("| %s | %s | %s | %s | %s |\n", row.effect.c_str(), cell (lv2At64).c_str(),
                     cell (find (benchmarkName (row.effect, "ours (processor)", 64))).c_str(),
                     cell (lv2At256).c_str(),
                     cell (find (benchmarkName (row.effect, "ours (processor)", 256))).c_str());
    }
    return 0;
}
