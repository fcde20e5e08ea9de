#include "engine/presets/PresetFile.h"

#include "engine/presets/UntrustedXml.h"

#include <filesystem>

juce::String PresetFile::fileName (int presetNumber)
{
    return juce::String (rootTag) + juce::String (presetNumber) + ".xml";
}

juce::File PresetFile::locate (int presetNumber)
{
    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory)
        .getChildFile (fileName (presetNumber));
}

bool PresetFile::write (const juce::XmlElement& element, int presetNumber)
{
    const auto file = locate (presetNumber);

    // Creates the folders the temporary file needs (and an empty file when there was none);
    // an existing file is left alone.
    file.create();

    // The default format: the XML header, CR LF line ends, attributes wrapped after 60
    // characters.
    juce::MemoryOutputStream text;
    element.writeTo (text, juce::XmlElement::TextFormat());

    // The text goes into a temporary file beside the target, which is renamed over the target
    // only when all of it is there. The framework's own XmlElement::writeTo (File) does the same
    // but trusts the stream, which does not notice a short write (a full disk, a file-size
    // limit), so the temporary file is read back before it may replace anything.
    const juce::TemporaryFile temporary (file);

    {
        juce::FileOutputStream out (temporary.getFile());

        if (! out.openedOk() || ! out.write (text.getData(), text.getDataSize()))
            return false;

        out.flush();

        if (out.getStatus().failed())
            return false;
    }

    juce::MemoryBlock written;

    if (! temporary.getFile().loadFileAsData (written) || written != text.getMemoryBlock())
        return false;

    return temporary.overwriteTargetFileWithTemporary();
}

std::unique_ptr<juce::XmlElement> PresetFile::read (int presetNumber)
{
    const auto file = locate (presetNumber);

    // A FIFO or device in place of the file would block the render thread or never end.
    std::error_code error;
    const std::filesystem::path path (file.getFullPathName().toStdString());

    if (! std::filesystem::is_regular_file (path, error))
        return {};

    const auto size = std::filesystem::file_size (path, error);

    if (error || size > 2 * UntrustedXml::maxTextBytes + 2)
        return {};

    juce::MemoryBlock content;

    if (! file.loadFileAsData (content))
        return {};

    return parse (content.getData(), content.getSize());
}

std::unique_ptr<juce::XmlElement> PresetFile::parse (const void* data, size_t size)
{
    auto element = UntrustedXml::parseFileContent (data, size);

    if (element == nullptr || ! element->hasTagName (rootTag))
        return {};

    return element;
}
