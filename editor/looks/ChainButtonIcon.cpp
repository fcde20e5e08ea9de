#include "editor/looks/ChainButtonIcon.h"

namespace chainButtonIcon
{
juce::Path leftTriangle()
{
    juce::Path p;
    p.startNewSubPath (0.0f, 50.0f);
    p.lineTo (150.0f, 100.0f);
    p.lineTo (150.0f, 0.0f);
    p.closeSubPath();
    return p;
}

void fillInButton (juce::Graphics& g, juce::Path icon, const juce::Button& button)
{
    g.setColour (colour);
    icon.scaleToFit (0.0f, 0.0f, (float) button.getWidth(), (float) button.getHeight(), true);
    g.fillPath (icon);
}
} // namespace chainButtonIcon
