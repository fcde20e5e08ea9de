#pragma once

#include "engine/MonoBlock.h"
#include "engine/Pedal.h"
#include "engine/presets/PresetFile.h"
#include "engine/tuner/TunerEngine.h"
#include "engine/tuner/TunerNoteName.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

/** The plug-in's processor: the parameter set, the 24 pedals, the six-position chain, the meters,
    the tuner, the preset files and the host state.

    About 100 MB of signal state is held inline, so an instance is created once, on the heap, and
    nothing is allocated per block. processBlock runs on the render thread; the editor reads the
    levels and the tuner reading from the message thread through the atomics below. */
class StompvaleAudioProcessor final : public juce::AudioProcessor
{
public:
    static constexpr int numPedals = 24;
    static constexpr int numSlots = 6;
    static constexpr int numBanks = 3;
    static constexpr int presetsPerBank = 10;
    static constexpr int numPresets = numBanks * presetsPerBank;
    static constexpr int numParametersTotal = 143;
    static constexpr int noPreset = 99;

    StompvaleAudioProcessor();
    ~StompvaleAudioProcessor() override;

    //==============================================================================================
    const juce::String getName() const override;

    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using juce::AudioProcessor::processBlock;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool isMidiEffect() const override;

    /** Clears the delay lines and reverb memories. Takes the callback lock, so it never
        overlaps a block that a wrapper runs under that lock. Any thread. */
    void reset() override;

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int) override;
    const juce::String getProgramName (int) override;
    void changeProgramName (int, const juce::String&) override;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    //==============================================================================================
    /** The preset manager: reacts to a newly pressed preset button by loading or saving its file.
        Runs first in every block, on the render thread. */
    void updatePresets();

    /** Nearest integer to a chain position or bank value, halfway values to the even neighbour. */
    static int roundHalfToEven (float value) noexcept;

    /** Current natural value of an int parameter, unrounded. */
    static float naturalValue (const juce::AudioParameterInt& parameter) noexcept;

    //==============================================================================================
    int lastBlockSize = 0;                   /**< samples of the most recent block */
    std::atomic<float> inputLevel { 0.0f };  /**< percent of full scale; written by processBlock */
    std::atomic<float> outputLevel { 0.0f }; /**< percent, before the clip, so it may exceed 100 */

    juce::AudioParameterBool* tunerParameter = nullptr;
    juce::AudioParameterBool* presetBoardParameter = nullptr;
    juce::AudioParameterFloat* volumeParameter = nullptr;
    juce::AudioParameterInt* slotParameters[numSlots] {};
    juce::AudioParameterBool* presetButtonParameters[numPresets] {};
    juce::AudioParameterBool* recordPresetParameter = nullptr;
    juce::AudioParameterInt* bankParameter = nullptr;

    Pedal pedalUnits[numPedals];

    /** Where the preset files are, looked up once when the processor is made. */
    const juce::File presetFolder = PresetFile::findFolder();

    int presetIndex = noPreset; /**< current preset 0 to 29, or noPreset */
    float inputPeak = 0.0f;     /**< running peaks of the current meter window */
    float outputPeak = 0.0f;
    int meterSampleCount = 0; /**< samples counted in the current meter window */
    int meterPeriod = 0;      /**< meter window length in samples (0.3 s) */

    std::atomic<float> tunerFrequency { 0.0f }; /**< Hz; not shown */
    TunerNoteName tunerNoteName;                /**< empty until the first detection */
    std::atomic<float> tunerDeviation { 0.0f }; /**< -50 to 50, 0 at the note's centre */

    TunerEngine tunerEngine;

private:
    void registerParameters();
    void runChain (const MonoBlock& block) noexcept;
    void updateMeterWindows (int numSamples) noexcept;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StompvaleAudioProcessor)
};
