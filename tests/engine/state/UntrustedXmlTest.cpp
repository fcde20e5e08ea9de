#include "engine/presets/UntrustedXml.h"

#include <gtest/gtest.h>

#include <string>

// The gate in front of the framework's XML parser, at the edges of each rule.

namespace
{
bool acceptable (const std::string& text)
{
    return UntrustedXml::isAcceptable (text.data(), text.size());
}

bool wellFormed (const std::string& bytes)
{
    return UntrustedXml::isWellFormedUtf8 (bytes.data(), bytes.size());
}

std::string withOpenings (int count)
{
    std::string text = "<r>";
    for (int i = 1; i < count; ++i)
        text += "<!--c-->";
    return text + "</r>"; // the closing tag's '>' is counted too
}
} // namespace

TEST (UntrustedXml, Utf8IsCheckedByRfc3629)
{
    EXPECT_TRUE (wellFormed ("plain"));
    EXPECT_TRUE (wellFormed ("\xc2\x80 \xdf\xbf \xe0\xa0\x80 \xef\xbf\xbf"));
    EXPECT_TRUE (wellFormed ("\xf0\x90\x80\x80 \xf4\x8f\xbf\xbf"));
    EXPECT_FALSE (wellFormed ("\xc0\xaf")) << "overlong '/'";
    EXPECT_FALSE (wellFormed ("\xe0\x9f\xbf")) << "overlong three-byte form";
    EXPECT_FALSE (wellFormed ("\xed\xa0\x80")) << "a surrogate";
    EXPECT_FALSE (wellFormed ("\xf4\x90\x80\x80")) << "above U+10FFFF";
    EXPECT_FALSE (wellFormed ("\xf5\x80\x80\x80"));
    EXPECT_FALSE (wellFormed ("\x80")) << "a lone continuation byte";
    EXPECT_FALSE (wellFormed ("ab\xe2\x82")) << "a sequence cut by the end";
    EXPECT_FALSE (wellFormed ("\xe2\x82z"));
}

TEST (UntrustedXml, LimitsAreInclusive)
{
    // 64 openings: 63 comments and the closing tag... plus the opening tag's own '>'.
    EXPECT_TRUE (acceptable (withOpenings (UntrustedXml::maxElementOpenings - 1)));
    EXPECT_FALSE (acceptable (withOpenings (UntrustedXml::maxElementOpenings)));

    std::string attributes = "<r";
    for (int i = 0; i < UntrustedXml::maxEqualsSigns; ++i)
        attributes += " a" + std::to_string (i) + "=\"1\"";
    EXPECT_TRUE (acceptable (attributes + "/>"));
    EXPECT_FALSE (acceptable (attributes + " b=\"1\"/>"));

    const auto padded = [] (size_t size) { return "<r" + std::string (size - 4, ' ') + "/>"; };
    EXPECT_TRUE (acceptable (padded (UntrustedXml::maxTextBytes)));
    EXPECT_FALSE (acceptable (padded (UntrustedXml::maxTextBytes + 1)));
}

TEST (UntrustedXml, EmptyTagsAndProcessingInstructionsOpenNothing)
{
    std::string text = "<?xml version=\"1.0\"?><r>";
    for (int i = 0; i < 1000; ++i)
        text += "<?p?><a/>"; // the framework's parser wants an element after an instruction
    text += "</r>";
    EXPECT_TRUE (acceptable (text));
    EXPECT_NE (UntrustedXml::parse (text.data(), text.size()), nullptr);
}

TEST (UntrustedXml, RefusesWhatTheParserCannotTakeSafely)
{
    EXPECT_FALSE (acceptable ("<!DOCTYPE r><r/>"));
    EXPECT_FALSE (acceptable ("<r a=\"&#x"));
    EXPECT_FALSE (acceptable ("<r a=\"&#X12345678"));
    EXPECT_TRUE (acceptable ("<r a=\"&#x123456789\"/>")) << "nine digits stop the reader in time";
    EXPECT_FALSE (acceptable ("<r a=\"1\"")) << "a tag that breaks off";
    EXPECT_FALSE (acceptable ("<r a=\"1\"/> <!-- x")) << "trailing text that breaks off";
    EXPECT_TRUE (acceptable ("<r a=\"1\"/>\r\n\t "));
    EXPECT_FALSE (acceptable (""));
}

TEST (UntrustedXml, ParseStopsAtTheFirstZeroByte)
{
    const std::string text ("<r a=\"1\"/>\0<<garbage\xff", 21);
    auto element = UntrustedXml::parse (text.data(), text.size());
    ASSERT_NE (element, nullptr);
    EXPECT_EQ (element->getStringAttribute ("a"), "1");

    EXPECT_EQ (UntrustedXml::parse (nullptr, 10), nullptr);
    EXPECT_EQ (UntrustedXml::parse ("\0<r/>", 5), nullptr);
}
