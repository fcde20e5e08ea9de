#include "engine/StompvaleAudioProcessor.h"

#include "editor/StompvaleAudioProcessorEditor.h"
#include "engine/dsp/BoundedSample.h"
#include "engine/dsp/TransferCurve.h"

#include <cmath>
#include <limits>

namespace
{
constexpr int parameterVersion = 1;

/** A whole count from a double, truncated toward zero: 0 for anything not positive (a non-number
    too), at most the largest int32. The sample rate as the pedals and the tuner see it (whole Hz)
    and the meter window are made with it. */
int32_t truncatedCount (double value) noexcept
{
    if (! (value > 0.0))
        return 0;

    if (value >= (double) std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();

    return (int32_t) value;
}

/** The largest magnitude in the block, or peak if that is larger, as the meters take it: a
    non-number counts as nothing and the result is at most sampleBound, so that no peak or
    published level ever becomes infinite or a non-number. */
float meterPeak (const float* samples, int numSamples, float peak) noexcept
{
    for (int i = 0; i < numSamples; ++i)
        peak = juce::jmax (peak, std::abs (samples[i])); // a non-number fails the comparison

    return std::min (peak, sampleBound);
}

/** The hard clip to -1 to 1, the output's last line of defence: an infinity becomes the limit of
    its sign and a non-number silence. */
float clipped (float sample) noexcept
{
    return sample == sample ? juce::jlimit (-1.0f, 1.0f, sample) : 0.0f;
}

juce::String decimal (int value) { return juce::String (value); }
} // namespace

//==================================================================================================
StompvaleAudioProcessor::StompvaleAudioProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), false)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), false))
{
    // Both drives of every pedal shape through the compiled-in transfer curve.
    for (auto& pedal : pedalUnits)
    {
        pedal.toneDriveShaper.setTable (transferCurve);
        pedal.drive707Shaper.setTable (transferCurve);
    }

    registerParameters();
}

StompvaleAudioProcessor::~StompvaleAudioProcessor() = default;

void StompvaleAudioProcessor::registerParameters()
{
    using Float = juce::AudioParameterFloat;
    using Bool = juce::AudioParameterBool;
    using Int = juce::AudioParameterInt;
    using juce::ParameterID;

    volumeParameter = new Float (ParameterID { "volume", parameterVersion }, "Main Volume",
                                 juce::NormalisableRange<float> (0.0f, 2.0f, 0.01f, 1.0f), 0.5f);
    addParameter (volumeParameter);

    tunerParameter = new Bool (ParameterID { "tuner", parameterVersion }, "Tuner", false);
    addParameter (tunerParameter);

    presetBoardParameter =
        new Bool (ParameterID { "presetboard", parameterVersion }, "Board", false);
    addParameter (presetBoardParameter);

    recordPresetParameter =
        new Bool (ParameterID { "recordpreset", parameterVersion }, "Save Preset", false);
    addParameter (recordPresetParameter);

    bankParameter =
        new Int (ParameterID { "currentBank", parameterVersion }, "currentBank", 0, 3, 0);
    addParameter (bankParameter);

    for (int i = 0; i < numPedals; ++i)
    {
        auto& pedal = pedalUnits[i];
        pedal.init (i % numEffectTypes);

        juce::String prefix ("PEDAL");
        prefix.append (decimal (i), 2);
        prefix.append (pedal.codeName, 10);

        for (int j = 0; j < pedal.numParams; ++j)
        {
            auto id = prefix;
            id.append ("_PARAM_", 7);
            id.append (decimal (j), 2);

            auto* knob = new Float (ParameterID { id, parameterVersion }, pedal.paramNames[j],
                                    juce::NormalisableRange<float> (0.001f, 1.0f, 0.0f, 1.0f), 0.5f,
                                    juce::AudioParameterFloatAttributes().withLabel (decimal (i)));
            pedal.knobParameters[j] = knob;
            addParameter (knob);
        }

        auto id = prefix;
        id.append ("_ONOFF_", 7);
        pedal.onOff = new Bool (ParameterID { id, parameterVersion }, "On/Off", false,
                                juce::AudioParameterBoolAttributes().withLabel (decimal (i)));
        addParameter (pedal.onOff);
    }

    const juce::String bankLetters ("ABCDEFGHIJKLMNOPQ");

    for (int b = 0; b < numBanks; ++b)
    {
        const auto letter = bankLetters.substring (b, b + 1);

        for (int k = 0; k < presetsPerBank; ++k)
        {
            juce::String id ("PRESET_BUTTON");
            id.append (letter, 1);
            id.append (decimal (k), 1);

            auto name = letter;
            name.append (decimal (k), 2);

            const int index = b * presetsPerBank + k;
            presetButtonParameters[index] =
                new Bool (ParameterID { id, parameterVersion }, name, false,
                          juce::AudioParameterBoolAttributes().withLabel (decimal (index)));
            addParameter (presetButtonParameters[index]);
        }
    }

    for (int n = 0; n < numSlots; ++n)
    {
        juce::String id ("PEDAL_BEFORE_SLOT");
        id.append (decimal (n), 3);

        slotParameters[n] = new Int (ParameterID { id, parameterVersion }, id, -1, 23, -1,
                                     juce::AudioParameterIntAttributes().withLabel (decimal (n)));
        addParameter (slotParameters[n]);
    }
}

//==================================================================================================
const juce::String StompvaleAudioProcessor::getName() const
{
    return juce::String ("Stompvale") + " v" + "1";
}

double StompvaleAudioProcessor::getTailLengthSeconds() const { return 0.0; }
bool StompvaleAudioProcessor::acceptsMidi() const { return false; }
bool StompvaleAudioProcessor::producesMidi() const { return false; }
bool StompvaleAudioProcessor::isMidiEffect() const { return false; }

juce::AudioProcessorEditor* StompvaleAudioProcessor::createEditor()
{
    return new StompvaleAudioProcessorEditor (*this);
}

bool StompvaleAudioProcessor::hasEditor() const { return true; }

int StompvaleAudioProcessor::getNumPrograms() { return 1; }
int StompvaleAudioProcessor::getCurrentProgram() { return 0; }
void StompvaleAudioProcessor::setCurrentProgram (int) {}
const juce::String StompvaleAudioProcessor::getProgramName (int) { return {}; }
void StompvaleAudioProcessor::changeProgramName (int, const juce::String&) {}

//==================================================================================================
int StompvaleAudioProcessor::roundHalfToEven (float value) noexcept
{
    if (! std::isfinite (value))
        return -1;

    const auto nearest = std::nearbyint (std::clamp (value, -1.0e6f, 1.0e6f));
    return (int) nearest;
}

float StompvaleAudioProcessor::naturalValue (const juce::AudioParameterInt& parameter) noexcept
{
    const auto& base = static_cast<const juce::AudioProcessorParameter&> (parameter);
    return parameter.convertFrom0to1 (base.getValue());
}

void StompvaleAudioProcessor::prepareToPlay (double sampleRate, int)
{
    inputPeak = 0.0f;
    outputPeak = 0.0f;
    meterSampleCount = 0;
    // The count grows by a block past the period before a window closes, so the period leaves
    // room for one block below the int range.
    meterPeriod = juce::jmin (truncatedCount (sampleRate * (double) 0.3f),
                              std::numeric_limits<int32_t>::max() - MonoBlock::maxBlockSize);
}

void StompvaleAudioProcessor::releaseResources() {}

void StompvaleAudioProcessor::reset()
{
    // Hosts may call this from a thread of their own while a block runs (the VST3 wrapper does
    // when processing stops). Every wrapper holds the callback lock around processBlock, and the
    // lock is recursive, so a reset from the preset manager or a state restore, which already
    // hold it, takes it again at no cost.
    const juce::ScopedLock renderLock (getCallbackLock());

    for (auto& pedal : pedalUnits)
        pedal.clearMemories();
}

void StompvaleAudioProcessor::updateMeterWindows (int numSamples) noexcept
{
    if (meterSampleCount > meterPeriod)
    {
        inputLevel = (inputPeak * 0.3f) * 100.0f + inputLevel.load() * 0.7f;
        outputLevel = (outputPeak * 0.3f) * 100.0f + outputLevel.load() * 0.7f;
        meterSampleCount = 0;
        inputPeak = 0.0f;
        outputPeak = 0.0f;
        return;
    }

    if (inputPeak * 100.0f > inputLevel.load())
        inputLevel = inputPeak * 100.0f;

    if (outputPeak * 100.0f > outputLevel.load())
        outputLevel = outputPeak * 100.0f;

    meterSampleCount += numSamples;
}

void StompvaleAudioProcessor::runChain (const MonoBlock& block) noexcept
{
    for (auto* slot : slotParameters)
    {
        const int pedalNumber = roundHalfToEven (naturalValue (*slot));

        if (pedalNumber >= 0 && pedalNumber < numPedals)
            pedalUnits[pedalNumber].process (block);
    }
}

void StompvaleAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    const int totalIn = getTotalNumInputChannels();
    const int totalOut = getTotalNumOutputChannels();
    const int numChannels = buffer.getNumChannels();
    const int n = buffer.getNumSamples();

    const auto clearExtraOutputs = [&] {
        for (int channel = totalIn; channel < juce::jmin (totalOut, numChannels); ++channel)
            buffer.clear (channel, 0, n);
    };

    clearExtraOutputs();
    updatePresets();
    lastBlockSize = n;

    if (n > MonoBlock::maxBlockSize)
    {
        clearExtraOutputs();
        return;
    }

    if (numChannels < 1)
        return;

    updateMeterWindows (n);

    float* samples = buffer.getWritePointer (0);
    const MonoBlock block { samples, n, truncatedCount (getSampleRate()) };

    if (tunerParameter->get())
        tunerEngine.process (samples, n, block.sampleRate, tunerFrequency, tunerNoteName,
                             tunerDeviation);

    inputPeak = meterPeak (samples, n, inputPeak);

    runChain (block);

    // A non-number volume (the parameter lets one through when a host writes it) reads as the
    // lowest volume, silence, as a knob that is not a number reads as its lowest value.
    const float setVolume = volumeParameter->get();
    const float volume = setVolume == setVolume ? setVolume : 0.0f;

    for (int i = 0; i < n; ++i)
        samples[i] *= volume;

    outputPeak = meterPeak (samples, n, outputPeak);

    if (n < 1)
        return;

    for (int i = 0; i < n; ++i)
        samples[i] = clipped (samples[i]);

    if (totalOut == 2 && numChannels >= 2)
        buffer.copyFrom (1, 0, samples, n);
}

//==================================================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter() { return new StompvaleAudioProcessor(); }
