#include "engine/presets/PresetFile.h"

#include "engine/presets/UntrustedXml.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
/** Reads an open file to its end, or returns false when there is more than limit bytes or a
    read fails or would have to wait. */
bool readToEnd (int fd, size_t limit, juce::MemoryBlock& content)
{
    content.setSize (limit + 1);
    size_t size = 0;

    for (;;)
    {
        const auto n =
            ::read (fd, static_cast<char*> (content.getData()) + size, content.getSize() - size);

        if (n == 0)
            break;

        if (n > 0)
        {
            size += (size_t) n;

            if (size > limit)
                return false;
        }
        else if (errno != EINTR)
        {
            return false;
        }
    }

    content.setSize (size);
    return true;
}
} // namespace

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
    const auto path = locate (presetNumber).getFullPathName();
    constexpr auto maxFileBytes = 2 * UntrustedXml::maxTextBytes + 2; // UTF-16 and its mark

    // A FIFO or device in place of the file could block the render thread or never end, and
    // merely opening some devices does something, so only a regular file is opened.
    struct stat status;

    if (::stat (path.toRawUTF8(), &status) != 0 || ! S_ISREG (status.st_mode))
        return {};

    const int fd = ::open (path.toRawUTF8(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);

    if (fd < 0)
        return {};

    // The open file is checked again, as the path may have changed in between. Files of the
    // kernel's virtual file systems are regular but report a size of 0 (or a wrong one), and
    // may never end or make a read wait. An empty file holds no preset, so those are not read
    // at all, and a read stops after the largest preset file plus one byte in any case.
    juce::MemoryBlock content;
    const bool complete = ::fstat (fd, &status) == 0 && S_ISREG (status.st_mode)
                          && status.st_size > 0 && (size_t) status.st_size <= maxFileBytes
                          && readToEnd (fd, maxFileBytes, content);
    ::close (fd);

    if (! complete)
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
