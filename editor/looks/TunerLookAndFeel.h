#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Draws the tuner slider as a cents meter: the lower half is a band with a bar growing from the
    centre towards the side of the deviation (green within 2 cents, orange up to 9, red beyond) and
    two black marks at the edges of the green zone; the upper half shows the note name.

    The slider carries the reading: its value is the deviation in cents (-50 to 50) and its
    component name the note's name, both stored by the editor's timer. Drawing always starts at
    the slider's own origin, whatever area the framework passes. Holds no state. */
class TunerLookAndFeel : public juce::LookAndFeel_V4
{
public:
    TunerLookAndFeel();
    ~TunerLookAndFeel() override;

    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                           float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle,
                           juce::Slider&) override;

    static constexpr juce::uint32 bandColour = 0xfff0e9de; /**< meter band when not in tune */
    static constexpr juce::uint32 noteNameColour = 0xff4b3062;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TunerLookAndFeel)
};
