#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class SwapLookAndFeel : public juce::LookAndFeel_V4
{
public:
    SwapLookAndFeel();
    ~SwapLookAndFeel() override;
};
