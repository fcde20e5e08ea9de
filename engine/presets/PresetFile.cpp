#include "engine/presets/PresetFile.h"

#include "engine/presets/UntrustedXml.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <optional>
#include <string_view>

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

/** Reads the whole of a plain file of 1 to limit bytes, or returns false.

    A FIFO or device in place of the file could block or never end, and merely opening some
    devices does something, so only a regular file is opened, without waiting. The open file
    is checked again, as the path may have changed in between. Files of the kernel's virtual
    file systems are regular but report a size of 0 (or a wrong one), and may never end or
    make a read wait: an empty file is not read at all, and a read stops after limit plus one
    byte in any case. */
bool readPlainFile (const juce::File& file, size_t limit, juce::MemoryBlock& content)
{
    const auto path = file.getFullPathName();
    struct stat status;

    if (::stat (path.toRawUTF8(), &status) != 0 || ! S_ISREG (status.st_mode))
        return false;

    const int fd = ::open (path.toRawUTF8(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);

    if (fd < 0)
        return false;

    const bool complete = ::fstat (fd, &status) == 0 && S_ISREG (status.st_mode)
                          && status.st_size > 0 && (size_t) status.st_size <= limit
                          && readToEnd (fd, limit, content);
    ::close (fd);
    return complete;
}

/** Writes the bytes into a new file and reads them back: the stream does not notice a short
    write (a full disk, a file-size limit), so only what reads back whole counts as written. */
bool writeChecked (const juce::File& file, const juce::MemoryBlock& bytes)
{
    {
        juce::FileOutputStream out (file);

        if (! out.openedOk() || ! out.write (bytes.getData(), bytes.getSize()))
            return false;

        out.flush();

        if (out.getStatus().failed())
            return false;
    }

    juce::MemoryBlock written;
    return readPlainFile (file, bytes.getSize(), written) && written == bytes;
}

#if JUCE_LINUX || JUCE_BSD
/** The line with every "$HOME" replaced by the home folder's path, as the framework's look-up
    replaces it (left to right, never inside what was put in), or nothing when the result would
    be longer than maxBytes. The framework's String::replace copies the whole text once for each
    "$HOME", which takes time growing with the square of the line; this is one pass that stops
    as soon as the line is too long. */
std::optional<juce::String> withHomeReplaced (const juce::String& line, const juce::String& home,
                                              size_t maxBytes)
{
    constexpr std::string_view variable = "$HOME";
    const std::string_view text (line.toRawUTF8(), line.getNumBytesAsUTF8());
    const std::string_view homePath (home.toRawUTF8(), home.getNumBytesAsUTF8());
    std::string result;

    for (size_t from = 0;;)
    {
        const auto at = text.find (variable, from);
        result += text.substr (from, at == std::string_view::npos ? at : at - from);

        if (at != std::string_view::npos)
            result += homePath;

        if (result.size() > maxBytes)
            return std::nullopt;

        if (at == std::string_view::npos)
            return juce::String::fromUTF8 (result.data(), (int) result.size());

        from = at + variable.size();
    }
}
#endif
} // namespace

juce::String PresetFile::fileName (int presetNumber)
{
    return juce::String (rootTag) + juce::String (presetNumber) + ".xml";
}

juce::File PresetFile::findFolder()
{
#if JUCE_LINUX || JUCE_BSD
    // The framework's own look-up, line by line, but for the read of the file.
    constexpr size_t maxListBytes = 65536; // an ordinary list is under a kilobyte
    juce::MemoryBlock bytes;
    juce::StringArray lines;

    if (readPlainFile (juce::File ("~/.config/user-dirs.dirs"), maxListBytes, bytes))
    {
        // A zero after the text, so that the decoder never looks past a sequence cut at the end.
        bytes.append ("", 1);
        lines.addLines (
            juce::String::createStringFromData (bytes.getData(), (int) bytes.getSize() - 1));
    }

    // An entry names one path, and the system takes no path longer than PATH_MAX bytes: twice
    // that leaves room for the name, the equals sign, quotes and blanks. A longer entry is taken
    // to name no folder: it is not expanded to the end, nor handed to juce::File, whose clean-up
    // of "//" also takes time growing with the square of the text. So no list within the size
    // limit holds up the look-up for more than milliseconds.
    constexpr size_t maxEntryBytes = 2 * PATH_MAX;
    const auto home = juce::File ("~").getFullPathName();

    for (const auto& entry : lines)
    {
        const auto line = entry.trimStart();

        if (! line.startsWith ("XDG_CONFIG_HOME"))
            continue;

        // For example XDG_CONFIG_HOME="$HOME/.settings" names /home/user/.settings.
        if (const auto expanded = withHomeReplaced (line, home, maxEntryBytes))
        {
            const juce::File folder (
                expanded->fromFirstOccurrenceOf ("=", false, false).trim().unquoted());

            if (folder.isDirectory())
                return folder;
        }
    }

    return juce::File ("~/.config");
#else
    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);
#endif
}

bool PresetFile::write (const juce::XmlElement& element, const juce::File& file)
{
    const auto folder = file.getParentDirectory();

    if (folder.createDirectory().failed())
        return false;

    // The default format: the XML header, CR LF line ends, attributes wrapped after 60
    // characters.
    juce::MemoryOutputStream text;
    element.writeTo (text, juce::XmlElement::TextFormat());

    // Named as the framework names a temporary file beside its target. A generator of this
    // call's own (seeded through an atomic) is safe on any thread, unlike the shared one.
    const auto temporary =
        folder.getNonexistentChildFile (file.getFileNameWithoutExtension() + "_temp"
                                            + juce::String::toHexString (juce::Random().nextInt()),
                                        file.getFileExtension(), false);

    // One rename, which replaces the target as a whole (a link in its place included) or leaves
    // it as it was. The framework's own replacement makes five attempts and waits 100 ms after
    // each that fails, which would hold the render thread for half a second.
    const bool replaced =
        writeChecked (temporary, text.getMemoryBlock())
        && std::rename (temporary.getFullPathName().toRawUTF8(), file.getFullPathName().toRawUTF8())
               == 0;

    if (! replaced)
        temporary.deleteFile();

    return replaced;
}

std::unique_ptr<juce::XmlElement> PresetFile::read (const juce::File& file)
{
    constexpr auto maxFileBytes = 2 * UntrustedXml::maxTextBytes + 2; // UTF-16 and its mark
    juce::MemoryBlock content;

    if (! readPlainFile (file, maxFileBytes, content))
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
