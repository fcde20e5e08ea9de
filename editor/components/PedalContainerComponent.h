#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** One chain position on the board. Its children are the position's "PREVB", "NEXTB" and
    "CHANGEB" buttons (indices 0 to 2) and at most one pedal face (index 3), which the editor's
    layout pass puts in and takes out. It draws nothing itself, so the wooden floor painted by
    the editor shows around and behind its children. Message thread only. */
class PedalContainerComponent : public juce::Component
{
public:
    PedalContainerComponent();
    ~PedalContainerComponent() override;

    void paint (juce::Graphics&) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PedalContainerComponent)
};
