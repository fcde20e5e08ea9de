#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class NextLookAndFeel : public juce::LookAndFeel_V4
{
public:
    NextLookAndFeel();
    ~NextLookAndFeel() override;
};
