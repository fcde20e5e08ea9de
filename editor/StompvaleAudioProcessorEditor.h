#pragma once

#include "engine/StompvaleAudioProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>

/** The plug-in's window: the pedal board. */
class StompvaleAudioProcessorEditor final : public juce::AudioProcessorEditor
{
public:
    explicit StompvaleAudioProcessorEditor (StompvaleAudioProcessor&);
    ~StompvaleAudioProcessorEditor() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    /** Raised by the engine after a preset load or a host state restore (any thread); the
        timer lays the board out again and clears it. */
    std::atomic<bool> stateRestored { false };

private:
    StompvaleAudioProcessor& audioProcessor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StompvaleAudioProcessorEditor)
};
