#include "editor/components/PresetContainerComponent.h"

PresetContainerComponent::PresetContainerComponent() = default;
PresetContainerComponent::~PresetContainerComponent() = default;

void PresetContainerComponent::paint (juce::Graphics& g)
{
    const auto w = (float) getWidth();
    const auto h = (float) getHeight();

    // A linear gradient along the diagonal, so the board darkens towards the bottom right.
    g.setGradientFill (juce::ColourGradient (juce::Colour (topLeftColour), 0.0f, 0.0f,
                                             juce::Colour (bottomRightColour), w, h, false));
    g.fillRect (0.0f, 0.0f, w, h);
}
