#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Draws the "CHANGEB" chain buttons, which empty a position: a waste bin (changesIconPath).
    Only the pale icon is drawn: no box, tick or text, and the same picture whether the button is
    on, hovered, pressed or disabled. One instance serves every button of its kind; it holds no
    state. */
class ChangesLookAndFeel : public juce::LookAndFeel_V4
{
public:
    ChangesLookAndFeel();
    ~ChangesLookAndFeel() override;

    void drawToggleButton (juce::Graphics&, juce::ToggleButton&, bool shouldDrawButtonAsHighlighted,
                           bool shouldDrawButtonAsDown) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChangesLookAndFeel)
};
