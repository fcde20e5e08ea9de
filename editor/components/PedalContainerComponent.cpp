#include "editor/components/PedalContainerComponent.h"

PedalContainerComponent::PedalContainerComponent()
{
    // Transparent: the floor behind the position must show through.
    setOpaque (false);
}

PedalContainerComponent::~PedalContainerComponent() = default;

void PedalContainerComponent::paint (juce::Graphics&) {}
