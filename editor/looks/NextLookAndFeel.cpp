#include "editor/looks/NextLookAndFeel.h"

#include "editor/looks/ChainButtonIcon.h"

NextLookAndFeel::NextLookAndFeel() = default;
NextLookAndFeel::~NextLookAndFeel() = default;

void NextLookAndFeel::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool, bool)
{
    // A half turn about the origin (in single precision) puts the apex on the right; the fit to the
    // button then centres it again.
    auto icon = chainButtonIcon::leftTriangle();
    icon.applyTransform (juce::AffineTransform::rotation (juce::MathConstants<float>::pi));
    chainButtonIcon::fillInButton (g, icon, button);
}
