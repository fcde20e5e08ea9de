#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class ChangesLookAndFeel : public juce::LookAndFeel_V4
{
public:
    ChangesLookAndFeel();
    ~ChangesLookAndFeel() override;
};
