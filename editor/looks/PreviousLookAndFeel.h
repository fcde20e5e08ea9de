#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class PreviousLookAndFeel : public juce::LookAndFeel_V4
{
public:
    PreviousLookAndFeel();
    ~PreviousLookAndFeel() override;
};
