#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** What the four chain-button looks (previous, next, swap, remove) share: one pale translucent
    colour, and the rule that the icon is scaled, proportions kept, to fill the whole button. */
namespace chainButtonIcon
{
/** Azure with its alpha byte replaced by 0x80 (ARGB 0x80f0ffff). */
const juce::Colour colour { 0x80f0ffff };

/** The triangle of the previous/next buttons, apex (0, 50) on the left, base the edge x = 150. */
juce::Path leftTriangle();

/** Scales the icon uniformly to the largest size that fits the button's own area (0, 0, width,
    height), centred on both axes, and fills it. An icon or button with no area is drawn unscaled,
    which the button's clip then hides. Message thread, from the button's paint. */
void fillInButton (juce::Graphics& g, juce::Path icon, const juce::Button& button);
} // namespace chainButtonIcon
