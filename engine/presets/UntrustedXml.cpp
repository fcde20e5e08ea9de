#include "engine/presets/UntrustedXml.h"

#include <cstring>
#include <string_view>

namespace
{
bool isContinuation (unsigned char byte) noexcept { return (byte & 0xc0) == 0x80; }

bool isDecimalDigit (char c) noexcept { return c >= '0' && c <= '9'; }

bool isHexDigit (char c) noexcept
{
    return isDecimalDigit (c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

char toLowerAscii (char c) noexcept { return c >= 'A' && c <= 'Z' ? (char) (c - 'A' + 'a') : c; }

/** Reads a text of the accepted shape from front to back, the way the framework's parser reads
    it. Each step returns false, leaving the position anywhere, where the text takes another
    shape. The text is well-formed UTF-8. */
class ShapeReader
{
public:
    ShapeReader (const char* utf8, size_t size) noexcept : position (utf8), end (utf8 + size) {}

    bool isAtEnd() const noexcept { return position == end; }

    void skipWhiteSpace() noexcept
    {
        while (position < end && juce::CharacterFunctions::isWhitespace (*position))
            ++position;
    }

    /** Steps over the literal when the text continues with it. */
    bool skip (const char* literal) noexcept { return skip (literal, false); }

    /** Nothing, unless the text continues with "<?": then "<?xml", white space, and anything
        but '<' up to the first "?>". */
    bool skipDeclarationIfAny() noexcept
    {
        if (end - position < 2 || position[0] != '<' || position[1] != '?')
            return true;

        if (! skip ("<?xml") || position == end
            || ! juce::CharacterFunctions::isWhitespace (*position))
            return false;

        for (; position < end && *position != '<'; ++position)
            if (skip ("?>"))
                return true;

        return false;
    }

    /** One or more name characters. */
    bool skipName (std::string_view& name) noexcept
    {
        const auto* start = position;

        while (position < end && isNameCharacter (codePoint()))
            position += juce::CharPointer_UTF8::getBytesRequiredFor (codePoint());

        name = std::string_view (start, (size_t) (position - start));
        return ! name.empty();
    }

    /** A value in double or single quotes, holding no '<' and no '&' but bounded references. */
    bool skipQuotedValue() noexcept
    {
        if (position == end || (*position != '"' && *position != '\''))
            return false;

        const char quote = *position++;

        while (position < end && *position != quote)
        {
            if (*position == '<')
                return false;

            if (*position != '&')
                ++position;
            else if (! skipReference())
                return false;
        }

        if (position == end)
            return false;

        ++position;
        return true;
    }

private:
    bool skip (const char* literal, bool ignoringCase) noexcept
    {
        const auto length = std::strlen (literal);

        if ((size_t) (end - position) < length)
            return false;

        for (size_t i = 0; i < length; ++i)
            if ((ignoringCase ? toLowerAscii (position[i]) : position[i]) != literal[i])
                return false;

        position += length;
        return true;
    }

    juce::juce_wchar codePoint() const noexcept
    {
        // Well-formed UTF-8: a sequence never runs past the end.
        return *juce::CharPointer_UTF8 (position);
    }

    /** The framework's name characters: ASCII letters and digits, '_', '-', ':' and '.', and
        every letter or digit from U+00A0 on. */
    static bool isNameCharacter (juce::juce_wchar c) noexcept
    {
        if (c < 0x80)
            return juce::CharacterFunctions::isLetterOrDigit ((char) c) || c == '_' || c == '-'
                   || c == ':' || c == '.';

        return c >= 0xa0 && juce::CharacterFunctions::isLetterOrDigit (c);
    }

    /** "&amp;", "&quot;", "&apos;", "&lt;" or "&gt;" in any letter case, or "&#" and 1 to 12
        decimal digits, or "&#x" and 1 to 8 hexadecimal digits, then ';'. The framework's reader
        ends any other reference at a character that it then steps over, which may be the quote
        closing the value or the end of the text. */
    bool skipReference() noexcept
    {
        ++position;

        for (auto* name : { "amp;", "quot;", "apos;", "lt;", "gt;" })
            if (skip (name, true))
                return true;

        if (! skip ("#"))
            return false;

        const bool hexadecimal = skip ("x") || skip ("X");
        const int maxDigits = hexadecimal ? 8 : 12;
        int digits = 0;

        while (position < end && digits < maxDigits
               && (hexadecimal ? isHexDigit (*position) : isDecimalDigit (*position)))
        {
            ++position;
            ++digits;
        }

        return digits > 0 && skip (";");
    }

    const char* position;
    const char* end;
};
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

    ShapeReader reader (utf8, size);
    reader.skipWhiteSpace();

    if (! reader.skipDeclarationIfAny())
        return false;

    reader.skipWhiteSpace();
    std::string_view tagName, name;

    if (! reader.skip ("<") || ! reader.skipName (tagName))
        return false;

    for (int attributes = 0;; ++attributes)
    {
        reader.skipWhiteSpace();

        if (reader.skip ("/>"))
            break;

        if (reader.skip (">"))
        {
            // Only white space between the start and the end tag, whose name must match.
            reader.skipWhiteSpace();

            if (! reader.skip ("</") || ! reader.skipName (name) || name != tagName)
                return false;

            reader.skipWhiteSpace();

            if (! reader.skip (">"))
                return false;

            break;
        }

        if (attributes == maxAttributes || ! reader.skipName (name))
            return false;

        reader.skipWhiteSpace();

        if (! reader.skip ("="))
            return false;

        reader.skipWhiteSpace();

        if (! reader.skipQuotedValue())
            return false;
    }

    reader.skipWhiteSpace();
    return reader.isAtEnd();
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
