#pragma once

#include "engine/Pedal.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The face of one pedal on the board. */
class PedalNewComponent : public juce::Component
{
public:
    PedalNewComponent();
    ~PedalNewComponent() override;

    void paint (juce::Graphics&) override;

    /** The pedal shown; set once by the editor before the face is first shown. Not owned. */
    Pedal* pedal = nullptr;
};
