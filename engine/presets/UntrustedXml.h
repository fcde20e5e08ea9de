#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <memory>

/** Parses XML that comes from outside the plug-in (a host's state block, a preset file) with the
    framework's XmlDocument, but only texts of the one shape that our writers produce:

        white space, optionally an XML declaration "<?xml ...?>" and white space,
        one element "<Name attribute="value" ... />" (or "<Name ...>", white space, "</Name>"),
        then nothing but white space.

    Names are made of the characters the framework's parser takes for names. Attributes are
    separated by white space or not at all, with white space allowed around '='. A value is quoted
    with " or ', holds no '<', and uses '&' only for the five predefined entities (amp, quot,
    apos, lt, gt in any letter case) and for character references of up to 12 decimal or 8
    hexadecimal digits, closed by ';'. White space is space, tab, LF, vertical tab, form feed and
    CR.

    Any other text is refused, exactly as one that does not parse. juce::XmlDocument never
    returns from an element that holds a processing instruction followed by more content,
    recurses once per nested element, expands DTD entities (loading external ones from files
    beside a parsed file), reads past the end of a text cut inside a hexadecimal character
    reference, lets a malformed reference swallow the quote that closes a value, and accepts a
    tag that breaks off after any complete attribute, which would set half a setting; none of
    that can happen within this shape. Texts longer than maxTextBytes, texts that are not
    well-formed UTF-8 and elements with more than maxAttributes attributes are refused too.
    Any thread; allocates. */
class UntrustedXml
{
public:
    static constexpr size_t maxTextBytes = 65536;
    static constexpr int maxAttributes = 1024;

    /** Parses size bytes of UTF-8 text (not necessarily zero-terminated; the text ends at the
        first zero byte). Returns the document element, or nullptr when the text is refused or
        does not parse. */
    static std::unique_ptr<juce::XmlElement> parse (const char* utf8, size_t size);

    /** Parses the content of a file as the framework's file parser reads it: a UTF-16 text
        (recognised by its byte-order mark) is converted, a UTF-8 byte-order mark is skipped,
        and the rest is taken as UTF-8, as parse() does. */
    static std::unique_ptr<juce::XmlElement> parseFileContent (const void* data, size_t size);

    /** True when the bytes are well-formed UTF-8 (RFC 3629: shortest forms only, no surrogates,
        nothing above U+10FFFF). */
    static bool isWellFormedUtf8 (const char* utf8, size_t size) noexcept;

    /** True when parse() would hand the text to the parser: it has the shape above and none of
        the limits refuses it. The text is size bytes without zero bytes. */
    static bool isAcceptable (const char* utf8, size_t size) noexcept;
};
