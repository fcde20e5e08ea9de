#include "engine/presets/UntrustedXml.h"

#include <cstring>

namespace
{
bool isContinuation (unsigned char byte) noexcept { return (byte & 0xc0) == 0x80; }

bool isHexDigit (char c) noexcept
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool contains (const char* text, size_t size, const char* pattern) noexcept
{
    const auto patternSize = std::strlen (pattern);

    if (patternSize > size)
        return false;

    for (size_t i = 0; i + patternSize <= size; ++i)
        if (std::memcmp (text + i, pattern, patternSize) == 0)
            return true;

    return false;
}

/** True when the text ends with "&#x" and at most eight hexadecimal digits: the framework's
    reader of such a reference steps over the terminating zero. */
bool endsInsideHexReference (const char* text, size_t size) noexcept
{
    size_t digits = 0;

    while (digits < size && digits <= 8 && isHexDigit (text[size - 1 - digits]))
        ++digits;

    for (size_t d = 0; d <= digits && d <= 8; ++d)
    {
        // Each split of the trailing digits into "x"/"X" plus the digits after it.
        if (size < d + 3)
            break;

        const char* start = text + size - d - 3;

        if (start[0] == '&' && start[1] == '#' && (start[2] == 'x' || start[2] == 'X'))
            return true;
    }

    return false;
}
} // namespace

//==================================================================================================
bool UntrustedXml::isWellFormedUtf8 (const char* utf8, size_t size) noexcept
{
    const auto* bytes = reinterpret_cast<const unsigned char*> (utf8);
    size_t i = 0;

    while (i < size)
    {
        const unsigned char lead = bytes[i];

        if (lead < 0x80)
        {
            ++i;
            continue;
        }

        size_t extra = 0;
        uint32_t minimum = 0;
        uint32_t codePoint = 0;

        if (lead >= 0xc2 && lead <= 0xdf)
        {
            extra = 1;
            minimum = 0x80;
            codePoint = lead & 0x1fu;
        }
        else if (lead >= 0xe0 && lead <= 0xef)
        {
            extra = 2;
            minimum = 0x800;
            codePoint = lead & 0x0fu;
        }
        else if (lead >= 0xf0 && lead <= 0xf4)
        {
            extra = 3;
            minimum = 0x10000;
            codePoint = lead & 0x07u;
        }
        else
        {
            return false; // a continuation byte, an overlong lead (c0, c1) or f5 to ff
        }

        if (size - i <= extra)
            return false;

        for (size_t k = 1; k <= extra; ++k)
        {
            if (! isContinuation (bytes[i + k]))
                return false;

            codePoint = (codePoint << 6) | (bytes[i + k] & 0x3fu);
        }

        if (codePoint < minimum || codePoint > 0x10ffff
            || (codePoint >= 0xd800 && codePoint <= 0xdfff))
            return false;

        i += extra + 1;
    }

    return true;
}

bool UntrustedXml::isAcceptable (const char* utf8, size_t size) noexcept
{
    if (size > maxTextBytes || ! isWellFormedUtf8 (utf8, size))
        return false;

    auto end = size;
    while (end > 0 && juce::CharacterFunctions::isWhitespace (utf8[end - 1]))
        --end;

    if (end == 0 || utf8[end - 1] != '>')
        return false;

    if (contains (utf8, size, "<!DOCTYPE") || endsInsideHexReference (utf8, size))
        return false;

    // Every level of element nesting consumes a '>' of its own, and never one that directly
    // follows '/' or '?' (those close an empty tag or a processing instruction).
    int openings = 0;
    int equalsSigns = 0;

    for (size_t i = 0; i < size; ++i)
    {
        if (utf8[i] == '>' && (i == 0 || (utf8[i - 1] != '/' && utf8[i - 1] != '?')))
            if (++openings > maxElementOpenings)
                return false;

        if (utf8[i] == '=' && ++equalsSigns > maxEqualsSigns)
            return false;
    }

    return true;
}

std::unique_ptr<juce::XmlElement> UntrustedXml::parse (const char* utf8, size_t size)
{
    if (utf8 == nullptr)
        return {};

    if (const auto* zero = static_cast<const char*> (std::memchr (utf8, 0, size)))
        size = (size_t) (zero - utf8);

    if (size == 0 || ! isAcceptable (utf8, size))
        return {};

    return juce::parseXML (juce::String::fromUTF8 (utf8, (int) size));
}

std::unique_ptr<juce::XmlElement> UntrustedXml::parseFileContent (const void* data, size_t size)
{
    const auto* text = static_cast<const char*> (data);

    if (text == nullptr || size <= 2) // the framework's file reader parses nothing this short
        return {};

    if (juce::CharPointer_UTF16::isByteOrderMarkBigEndian (text)
        || juce::CharPointer_UTF16::isByteOrderMarkLittleEndian (text))
    {
        if (size > 2 * maxTextBytes + 2)
            return {};

        // The framework's UTF-16 reader pairs surrogates and stops at a zero; what it cannot
        // pair comes out as a lone surrogate, which parse() then refuses.
        const auto converted = juce::String::createStringFromData (text, (int) size);
        return parse (converted.toRawUTF8(), converted.getNumBytesAsUTF8());
    }

    if (size >= 3 && juce::CharPointer_UTF8::isByteOrderMark (text))
    {
        text += 3;
        size -= 3;
    }

    return parse (text, size);
}
