#include "editor/looks/SwapLookAndFeel.h"

#include "editor/EmbeddedResources.h"
#include "editor/looks/ChainButtonIcon.h"

SwapLookAndFeel::SwapLookAndFeel() = default;
SwapLookAndFeel::~SwapLookAndFeel() = default;

void SwapLookAndFeel::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool, bool)
{
    juce::Path icon;
    icon.loadPathFromData (embedded::swapIconPath.data, (size_t) embedded::swapIconPath.size);
    chainButtonIcon::fillInButton (g, icon, button);
}
