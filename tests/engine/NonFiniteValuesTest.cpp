#include "effects/EffectTestHelpers.h"
#include "engine/state/StateTestHelpers.h"
#include "helpers/ProcessorFixture.h"
#include "helpers/TimeLimit.h"

#include "engine/dsp/BoundedSample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <string>

// Non-numbers and infinities from the host (parameter values, samples) and a feedback that runs
// away: the output, the meters, the pedals' memories and the written state stay finite.

namespace
{
using namespace effect_testing;
using namespace testing_helpers;

constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float infinity = std::numeric_limits<float>::infinity();

/** Sets a normalised value as a host does: straight, with no notification and no limit of ours. */
void setAsHost (juce::AudioProcessorParameter& parameter, float normalised)
{
    parameter.setValue (normalised);
}

constexpr std::chrono::seconds secondsPerCase { 300 }; // generous: the sanitizer build is slow

template <size_t N>
bool allFinite (const float (&values)[N])
{
    return std::all_of (std::begin (values), std::end (values),
                        [] (float v) { return std::isfinite (v); });
}

template <typename Line>
bool lineFinite (const Line& l)
{
    return allFinite (l.line) && allFinite (l.prev) && allFinite (l.input);
}

/** Every memory of the record: lines, history, phases, envelope, gain, filter states and the
    drives' work buffers. */
bool memoriesFinite (const Pedal& p)
{
    bool finite = lineFinite (p.delayLine) && allFinite (p.chorusHistory)
                  && allFinite (p.toneDriveBuffer) && allFinite (p.drive707Buffer)
                  && allFinite (p.drive707ToneBuffer);

    for (const auto& comb : p.combs)
        finite = finite && lineFinite (comb);

    for (const auto& stage : p.allpasses)
        finite = finite && lineFinite (stage) && allFinite (stage.out);

    for (const auto& f : p.toneDriveFilters)
        finite = finite && std::isfinite (f.x1) && std::isfinite (f.y1);

    for (const auto& f : p.drive707Filters)
        finite = finite && std::isfinite (f.x1) && std::isfinite (f.y1);

    const float scalars[] { p.chorusPhase, p.tremoloPhase, p.compressorEnvelope, p.compressorGain };
    return finite && allFinite (scalars);
}

/** Noise with the given value planted at every 61st sample. */
std::vector<float> plantedNoise (size_t length, float planted, juce::int64 seed)
{
    auto v = noise (length, 0.5f, seed);
    for (size_t i = 5; i < length; i += 61)
        v[i] = planted;
    return v;
}

/** The attribute values of a written parameter set: every one a finite number, the parameter's
    value limited to 0 to 1, or its default where that value is not finite. */
void expectOnlyFiniteNumbers (const juce::XmlElement& element, const juce::AudioProcessor& p,
                              const char* what)
{
    for (auto* parameter : p.getParameters())
    {
        const auto id = state_testing::idOf (parameter);
        ASSERT_TRUE (element.hasAttribute (id)) << what << ": " << id;

        const double written = element.getStringAttribute (id).getDoubleValue();
        ASSERT_TRUE (std::isfinite (written)) << what << ": " << id;

        const float value = parameter->getValue();
        const float expected =
            std::isfinite (value) ? juce::jlimit (0.0f, 1.0f, value) : parameter->getDefaultValue();
        EXPECT_EQ ((float) written, expected) << what << ": " << id;
    }
}
} // namespace

TEST (NonFiniteValues, NeverReachTheOutputTheMetersTheMemoriesOrTheWriter)
{
    // Parameter values as a host writes them (normalised, through setValue, which lets a
    // non-number through), and a value planted into the input at every 61st sample.
    struct Row
    {
        const char* what;
        float volume;
        float knobs;
        float planted;
    };

    const Row rows[] {
        { "NaN volume", notANumber, 0.5f, 0.25f },
        { "infinite volume", infinity, 0.5f, 0.25f },
        { "minus infinite volume", -infinity, 0.5f, 0.25f },
        { "NaN knobs", 0.5f, notANumber, 0.25f },
        { "infinite knobs", 0.5f, infinity, 0.25f },
        { "minus infinite knobs", 0.5f, -infinity, 0.25f },
        { "NaN samples", 0.5f, 0.5f, notANumber },
        { "infinite samples", 0.5f, 0.5f, infinity },
        { "minus infinite samples", 0.5f, 0.5f, -infinity },
        { "huge samples", 0.5f, 0.5f, 3.0e38f },
        { "all at once", notANumber, notANumber, infinity },
    };

    constexpr int blockSize = 4096;
    TimeLimit timeLimit (secondsPerCase);

    for (const auto& row : rows)
    {
        timeLimit.start (row.what);
        auto processor = makeProcessor (1, 2, 48000.0, blockSize);
        auto& p = *processor;
        setAsHost (*p.volumeParameter, row.volume);

        // -1: the empty chain, where only the volume and the clip act on the planted value.
        for (int type = -1; type < numEffectTypes; ++type)
        {
            const auto where =
                std::string (row.what) + ", " + (type < 0 ? "empty chain" : effectName (type));
            setNatural (*p.slotParameters[0], (float) type);

            if (type >= 0)
            {
                auto& pedal = p.pedalUnits[type];
                setOn (*pedal.onOff, true);
                for (int j = 0; j < pedal.numParams; ++j)
                    setAsHost (*pedal.knobParameters[j], row.knobs);
            }

            for (int b = 0; b < 6; ++b) // more than one meter window
            {
                const auto in = plantedNoise (blockSize, row.planted, 10 * type + b);
                juce::AudioBuffer<float> buffer (2, blockSize);
                buffer.copyFrom (0, 0, in.data(), blockSize);
                process (p, buffer);

                for (int channel = 0; channel < 2; ++channel)
                    for (int i = 0; i < blockSize; ++i)
                    {
                        const float s = buffer.getSample (channel, i);
                        ASSERT_TRUE (std::isfinite (s) && std::abs (s) <= 1.0f)
                            << where << ", block " << b << ", channel " << channel << ", sample "
                            << i << ": " << s;
                    }

                ASSERT_TRUE (std::isfinite (p.inputLevel.load())) << where;
                ASSERT_TRUE (std::isfinite (p.outputLevel.load())) << where;
                ASSERT_TRUE (std::isfinite (p.inputPeak) && std::isfinite (p.outputPeak)) << where;

                // The clip: a non-number becomes silence, an infinity the limit of its sign, and
                // a volume that is not a number is the lowest volume.
                if (type < 0)
                {
                    const float volume = std::isnan (row.volume) ? 0.0f : 1.0f;
                    const float planted = std::isnan (row.planted) || volume == 0.0f
                                              ? 0.0f
                                              : std::copysign (1.0f, row.planted);
                    if (std::isfinite (row.volume) && ! (std::abs (row.planted) <= 1.0f))
                    {
                        EXPECT_EQ (buffer.getSample (0, 5), planted) << where;
                    }

                    if (std::isnan (row.volume))
                    {
                        EXPECT_EQ (buffer.getMagnitude (0, 0, blockSize), 0.0f) << where;
                    }
                }
            }

            if (type >= 0)
            {
                EXPECT_TRUE (memoriesFinite (p.pedalUnits[type])) << where;

                // The same values handed straight to the effect, as no parameter range would
                // let them through (an infinite knob, say).
                auto pedal = makePedal (type);
                const auto k = knobs ({ row.knobs, row.knobs, row.knobs, row.knobs, row.knobs });
                runSignal (*pedal, k, plantedNoise (blockSize * 4, row.planted, type), 512, 48000);
                EXPECT_TRUE (memoriesFinite (*pedal)) << where << ", effect alone";
            }
        }
    }

    // The writer: a host's non-number is written as the parameter's default, and a switch the
    // host set outside 0 to 1 (which the wrapper hands on as it came) as the nearer end, into the
    // state block and into a saved preset file alike.
    const state_testing::TemporaryHome home;
    ASSERT_TRUE (home.isInUse());

    timeLimit.start ("writer");
    auto processor = makeProcessor();
    auto& p = *processor;
    setAsHost (*p.volumeParameter, notANumber);
    setAsHost (*p.pedalUnits[3].knobParameters[2], notANumber);
    setAsHost (*p.tunerParameter, infinity);
    setAsHost (*p.presetBoardParameter, -infinity);
    setAsHost (*p.pedalUnits[5].onOff, 2.0f);
    setAsHost (*p.pedalUnits[6].onOff, -1.0f);
    setAsHost (*p.pedalUnits[7].onOff, 1.0e30f);

    juce::MemoryBlock state;
    p.getStateInformation (state);
    const auto stateElement =
        juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize());
    ASSERT_NE (stateElement, nullptr);
    expectOnlyFiniteNumbers (*stateElement, p, "state block");

    // What is written reads back as itself: save, restore, save gives the same block.
    auto restored = makeProcessor();
    restored->setStateInformation (state.getData(), (int) state.getSize());
    juce::MemoryBlock again;
    restored->getStateInformation (again);
    EXPECT_EQ (again, state) << "a restored state is saved as the same text";

    setOn (*p.recordPresetParameter, true);
    setOn (*p.presetButtonParameters[4], true);
    juce::AudioBuffer<float> buffer (2, 64);
    buffer.clear();
    process (p, buffer);

    const auto file = state_testing::presetFile (4);
    ASSERT_TRUE (file.existsAsFile());
    const auto presetElement = juce::parseXML (file);
    ASSERT_NE (presetElement, nullptr);
    expectOnlyFiniteNumbers (*presetElement, p, "preset file");
}

TEST (NonFiniteValues, ARunawayDelayLevelsOffAndStaysFinite)
{
    // The same Delay in two chain positions at Feedback 1 doubles its signal on every pass; a
    // chorus after it. Unbounded, the line would pass the float range within a minute at the
    // shortest delay; the growth is kept, up to the bound of what a line takes in.
    const TimeLimit timeLimit (secondsPerCase);
    constexpr int blockSize = MonoBlock::maxBlockSize;
    constexpr int rate = 48000;

    auto processor = makeProcessor (1, 2, rate, blockSize);
    auto& p = *processor;
    auto& delay = p.pedalUnits[3];
    auto& chorus = p.pedalUnits[0];
    setOn (*delay.onOff, true);
    setOn (*chorus.onOff, true);
    setNatural (*delay.knobParameters[1], 0.001f); // 2 ms
    setNatural (*delay.knobParameters[2], 1.0f);   // Feedback 1; Mix 0.5 as it is
    setNatural (*p.volumeParameter, 1.0f);
    setNatural (*p.slotParameters[0], 3.0f);
    setNatural (*p.slotParameters[1], 3.0f);
    setNatural (*p.slotParameters[2], 0.0f);

    const auto run = [&] (int seconds, const char* what) {
        for (int b = 0; b < seconds * rate / blockSize; ++b)
        {
            const auto in = noise (blockSize, 0.5f, b);
            juce::AudioBuffer<float> buffer (2, blockSize);
            buffer.copyFrom (0, 0, in.data(), blockSize);
            process (p, buffer);

            for (int i = 0; i < blockSize; ++i)
                ASSERT_TRUE (std::isfinite (buffer.getSample (0, i))
                             && std::abs (buffer.getSample (0, i)) <= 1.0f)
                    << what << ", block " << b << ", sample " << i;

            ASSERT_TRUE (std::isfinite (p.outputLevel.load())) << what << ", block " << b;
        }

        EXPECT_TRUE (memoriesFinite (delay)) << what;
        EXPECT_TRUE (memoriesFinite (chorus)) << what;
    };

    run (60, "twice in the chain");
    const auto loudest = std::abs (
        *std::max_element (std::begin (delay.delayLine.line), std::end (delay.delayLine.line),
                           [] (float a, float b) { return std::abs (a) < std::abs (b); }));
    EXPECT_EQ (loudest, sampleBound) << "the growth levels off at the bound";

    setNatural (*p.slotParameters[1], -1.0f);
    run (10, "after the second position is emptied");
}
