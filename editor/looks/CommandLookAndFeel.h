#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class CommandLookAndFeel : public juce::LookAndFeel_V4
{
public:
    CommandLookAndFeel();
    ~CommandLookAndFeel() override;
};
