#include "editor/looks/ChangesLookAndFeel.h"

#include "editor/EmbeddedResources.h"
#include "editor/looks/ChainButtonIcon.h"

ChangesLookAndFeel::ChangesLookAndFeel() = default;
ChangesLookAndFeel::~ChangesLookAndFeel() = default;

void ChangesLookAndFeel::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool,
                                           bool)
{
    juce::Path icon;
    icon.loadPathFromData (embedded::changesIconPath.data, (size_t) embedded::changesIconPath.size);
    chainButtonIcon::fillInButton (g, icon, button);
}
