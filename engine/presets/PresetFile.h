#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/** The 30 preset files: "STVLQX41presets" + number + ".xml" in the folder that the framework
    names as the user's application-data folder (on Linux ~/.config, on macOS ~/Library), each
    holding one element "STVLQX41presets" with the whole parameter set.

    The processor looks the folder up once, when it is made. The files are read and written on
    the render thread by the preset manager, which is the one place allowed to do file work
    there; every call here except fileName() touches the file system. */
class PresetFile
{
public:
    static constexpr int numPresets = 30;
    static constexpr const char* rootTag = "STVLQX41presets";

    /** "STVLQX41presets0.xml" to "STVLQX41presets29.xml". */
    static juce::String fileName (int presetNumber);

    /** The folder that holds the preset files: the one the framework names as the user's
        application-data folder. On Linux the framework reads ~/.config/user-dirs.dirs for it,
        to its end and waiting as long as the read takes; here that file is read only when it
        is a plain file, without waiting and up to a small limit, and otherwise counts as one
        without an XDG_CONFIG_HOME entry, so the folder is ~/.config. An entry longer than any
        path can be names no folder here. For every other file the folder is the framework's,
        found in time linear in the file's size. Reads a file: not for the render thread. */
    static juce::File findFolder();

    /** Writes the element into the file, creating only the missing parent folders. The text goes
        into a temporary file beside the target, which is then renamed over the target, once:
        the target's own path is never opened, so whatever cannot be replaced (a folder, say) is
        left as it was, and a link there is replaced, never followed. A save that fails anywhere
        leaves the former file as it was and no temporary file behind. Returns true on success. */
    static bool write (const juce::XmlElement& element, const juce::File& file);

    /** The file's element, or nullptr when the file does not exist, is not a plain file, is
        empty or larger than any preset file can be (by its reported size or by what a read
        finds), cannot be read without waiting, or does not hold the shape of document that
        UntrustedXml takes, with a root named "STVLQX41presets" in any letter case. */
    static std::unique_ptr<juce::XmlElement> read (const juce::File& file);

    /** What read() makes of a file's bytes. */
    static std::unique_ptr<juce::XmlElement> parse (const void* data, size_t size);
};
