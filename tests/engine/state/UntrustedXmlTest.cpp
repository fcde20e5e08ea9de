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
    std::string attributes = "<r";
    for (int i = 0; i < UntrustedXml::maxAttributes; ++i)
        attributes += " a" + std::to_string (i) + "=\"1\"";
    EXPECT_TRUE (acceptable (attributes + "/>"));
    EXPECT_FALSE (acceptable (attributes + " b=\"1\"/>"));

    const auto padded = [] (size_t size) { return "<r" + std::string (size - 4, ' ') + "/>"; };
    EXPECT_TRUE (acceptable (padded (UntrustedXml::maxTextBytes)));
    EXPECT_FALSE (acceptable (padded (UntrustedXml::maxTextBytes + 1)));
}

TEST (UntrustedXml, AnElementWithContentIsRefused)
{
    // Our files hold one element without content. Inside an element the framework's parser
    // loops for ever on an instruction followed by text, and recurses once per level.
    std::string text = "<?xml version=\"1.0\"?><r>";
    for (int i = 0; i < 1000; ++i)
        text += "<?p?><a/>";
    text += "</r>";
    EXPECT_FALSE (acceptable (text));
    EXPECT_EQ (UntrustedXml::parse (text.data(), text.size()), nullptr);

    EXPECT_FALSE (acceptable ("<r><!--c--></r>")) << "a comment";
    EXPECT_TRUE (acceptable ("<r a='1'> \r\n\t</r >")) << "white space only";
    EXPECT_FALSE (acceptable ("<r a='1'></s>")) << "another end tag";
}

TEST (UntrustedXml, RefusesWhatTheParserCannotTakeSafely)
{
    EXPECT_FALSE (acceptable ("<!DOCTYPE r><r/>"));
    EXPECT_FALSE (acceptable ("<r a=\"&#x"));
    EXPECT_FALSE (acceptable ("<r a=\"&#X12345678"));
    EXPECT_FALSE (acceptable ("<r a=\"&#x123456789\"/>"))
        << "the reader stops after eight digits and steps over the next character";
    EXPECT_FALSE (acceptable ("<r a=\"&#x1\"b=\">\"></r>")) << "... which may be the quote";
    EXPECT_TRUE (acceptable ("<r a=\"&#x12345678;&#123456789012;&AMP;&lt;&gt;&quot;&apos;\"/>"));
    EXPECT_FALSE (acceptable ("<r a=\"R&B\"/>"));
    EXPECT_FALSE (acceptable ("<r a=\"&e;\"/>")) << "an entity from a document type";
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
