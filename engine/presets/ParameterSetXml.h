#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

/** The parameter set as one XML element: one attribute per parameter, named by its ID, holding
    its normalised value (0 to 1) as the framework writes a double. Preset files and the host
    state block are both made of it. */
class ParameterSetXml
{
public:
    /** Which parameters a restore sets. */
    enum class Scope
    {
        everyParameter,    /**< the host state block */
        skipPresetSwitches /**< a preset file: IDs containing "preset" in any letter case are
                                left ("presetboard", "recordpreset" and the 30 preset buttons),
                                so that a file carries the settings but never the selection */
    };

    /** An element named tagName with every parameter of the processor, in parameter order.
        Reads each value once and writes it limited to 0 to 1; one that is not a finite number
        is written as the parameter's default. Any thread; allocates. */
    static std::unique_ptr<juce::XmlElement> createElement (const juce::AudioProcessor& processor,
                                                            const juce::String& tagName);

    /** Sets the parameters of the scope from the element and tells the host about each one,
        also when its value does not change. A parameter takes the first attribute named exactly
        by its ID; one that has none, or whose text reads as no finite number, keeps its current
        value; others are limited to 0 to 1. Every value is worked out before the first is set.
        The caller serialises this with the render thread. */
    static void restore (const juce::XmlElement& element, juce::AudioProcessor& processor,
                         Scope scope);

    /** The value restore() gives a parameter whose current normalised value is current. */
    static float valueFor (const juce::XmlElement& element, const juce::String& parameterId,
                           float current);
};
