#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/** The 30 preset files: "STVLQX41presets" + number + ".xml" in the folder that the framework
    names as the user's application-data folder (on Linux ~/.config, on macOS ~/Library), each
    holding one element "STVLQX41presets" with the whole parameter set.

    Read and written on the render thread by the preset manager, which is the one place allowed
    to do file work there; every call here touches the file system. */
class PresetFile
{
public:
    static constexpr int numPresets = 30;
    static constexpr const char* rootTag = "STVLQX41presets";

    /** "STVLQX41presets0.xml" to "STVLQX41presets29.xml". */
    static juce::String fileName (int presetNumber);

    /** Where preset presetNumber (0 to 29) is kept. */
    static juce::File locate (int presetNumber);

    /** Writes the element into the preset's file, creating missing parent folders. The text goes
        into a temporary file beside the target, which then replaces the target in one step, so
        a save that fails anywhere leaves the former file as it was. Returns true on success. */
    static bool write (const juce::XmlElement& element, int presetNumber);

    /** The preset's element, or nullptr when the file does not exist, is not a plain file, is
        empty or larger than any preset file can be (by its reported size or by what a read
        finds), cannot be read without waiting, or does not hold the shape of document that
        UntrustedXml takes, with a root named "STVLQX41presets" in any letter case. */
    static std::unique_ptr<juce::XmlElement> read (int presetNumber);

    /** What read() makes of a file's bytes. */
    static std::unique_ptr<juce::XmlElement> parse (const void* data, size_t size);
};
