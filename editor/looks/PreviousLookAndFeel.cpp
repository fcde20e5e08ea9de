#include "editor/looks/PreviousLookAndFeel.h"

#include "editor/looks/ChainButtonIcon.h"

PreviousLookAndFeel::PreviousLookAndFeel() = default;
PreviousLookAndFeel::~PreviousLookAndFeel() = default;

void PreviousLookAndFeel::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool,
                                            bool)
{
    chainButtonIcon::fillInButton (g, chainButtonIcon::leftTriangle(), button);
}
