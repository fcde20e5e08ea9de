#pragma once

/** The pictures and vector shapes compiled into the plug-in, each a (pointer, length) pair.
    Pictures are decoded through juce::ImageCache::getFromMemory, paths loaded with
    juce::Path::loadPathFromData, every time they are needed. */
struct EmbeddedData
{
    const void* data;
    int size;
};

namespace embedded
{
extern const EmbeddedData ledLettersImage;      /**< JPEG 900 x 107: LED letters A to I */
extern const EmbeddedData pedalBodyImage;       /**< PNG 300 x 560: enclosure outline */
extern const EmbeddedData footswitchOnImage;    /**< PNG 75 x 100: footswitch, LED lit */
extern const EmbeddedData footswitchOffImage;   /**< PNG 75 x 100: footswitch, LED dark */
extern const EmbeddedData boardBackgroundImage; /**< JPEG 1200 x 620: wooden floor */
extern const EmbeddedData makerWordmarkImage;   /**< PNG 176 x 30: the "Stompvale" lettering */

extern const EmbeddedData knobPathA;       /**< knob cap */
extern const EmbeddedData knobPathB;       /**< circle: knob skirt and centre disc */
extern const EmbeddedData swapIconPath;    /**< two opposed arrows */
extern const EmbeddedData changesIconPath; /**< waste bin */
} // namespace embedded
