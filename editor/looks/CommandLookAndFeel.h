#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Draws the input and output level meters (linear vertical sliders, value = level in percent of
    full scale) as columns of eleven LED segments in 3 dB steps: one red at the top, two orange,
    eight green. Nothing is held between paints: the meter shows the slider's current value. */
class CommandLookAndFeel : public juce::LookAndFeel_V4
{
public:
    CommandLookAndFeel();
    ~CommandLookAndFeel() override;

    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                           float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle,
                           juce::Slider&) override;

    static constexpr int numSegments = 11;

    /** Segment k (0 = top) lights when the level is above about -3 (k + 2) dB. Returns the step
        count below full scale in whole 3 dB steps (0 at 100 %, -1 just below -3 dB, ...); a level
        of zero, below zero or not a number gives a step that lights nothing. */
    static int levelStep (double percent);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CommandLookAndFeel)
};
