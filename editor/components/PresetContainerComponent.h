#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The preset board: the panel under the pedal chain that holds the current bank's page of
    preset buttons, the bank buttons and letter, the "Save Preset" switch and the two level
    meters. It paints a grey panel darkening diagonally from its top-left to its bottom-right
    corner, in its own coordinates, whatever the editor's scale. Message thread only. */
class PresetContainerComponent : public juce::Component
{
public:
    /** Panel colour at the top-left corner (0, 0). */
    static constexpr juce::uint32 topLeftColour = 0xff70736b;
    /** Panel colour at the bottom-right corner (width, height). */
    static constexpr juce::uint32 bottomRightColour = 0xff52554d;

    PresetContainerComponent();
    ~PresetContainerComponent() override;

    void paint (juce::Graphics&) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetContainerComponent)
};
