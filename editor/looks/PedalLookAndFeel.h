#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class PedalLookAndFeel : public juce::LookAndFeel_V4
{
public:
    PedalLookAndFeel();
    ~PedalLookAndFeel() override;
};
