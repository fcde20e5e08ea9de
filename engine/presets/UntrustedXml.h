#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <memory>

/** Parses XML that comes from outside the plug-in (a host's state block, a preset file) with the
    framework's XmlDocument, after turning away the texts that parser cannot take safely.

    juce::XmlDocument recurses once per nested element, walks malformed UTF-8 past the end of its
    text, reads past the end of a text that stops inside a hexadecimal character reference, and
    expands DTD entities recursively (loading external ones from files beside a parsed file).
    A text is therefore refused, exactly as one that does not parse, when it

    - is longer than maxTextBytes (our own documents are about 7 kB),
    - is not well-formed UTF-8,
    - contains a document type declaration,
    - holds more than maxElementOpenings '>' characters that could open an element (a bound on
      the parser's recursion depth),
    - holds more than maxEqualsSigns '=' characters (a bound on the attribute count),
    - ends inside a hexadecimal character reference, or
    - does not end with '>' (apart from white space).

    The last rule turns away documents that were cut short: the framework's parser accepts an
    element whose tag breaks off after any complete attribute, which would set half a setting.
    Neither of our writers ever produces a text that is refused. Any thread; allocates. */
class UntrustedXml
{
public:
    static constexpr size_t maxTextBytes = 65536;
    static constexpr int maxElementOpenings = 64;
    static constexpr int maxEqualsSigns = 1024;

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

    /** True when parse() would hand the text to the parser: none of the rules above refuses it.
        The text is size bytes without zero bytes. */
    static bool isAcceptable (const char* utf8, size_t size) noexcept;
};
