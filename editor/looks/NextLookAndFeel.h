#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Draws the "NEXTB" chain buttons: the previous-button triangle turned half a turn, pointing
   right. Only the pale icon is drawn: no box, tick or text, and the same picture whether the button
   is on, hovered, pressed or disabled. One instance serves every button of its kind; it holds no
    state. */
class NextLookAndFeel : public juce::LookAndFeel_V4
{
public:
    NextLookAndFeel();
    ~NextLookAndFeel() override;

    void drawToggleButton (juce::Graphics&, juce::ToggleButton&, bool shouldDrawButtonAsHighlighted,
                           bool shouldDrawButtonAsDown) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (NextLookAndFeel)
};
