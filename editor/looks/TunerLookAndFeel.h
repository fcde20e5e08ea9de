#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class TunerLookAndFeel : public juce::LookAndFeel_V4
{
public:
    TunerLookAndFeel();
    ~TunerLookAndFeel() override;
};
