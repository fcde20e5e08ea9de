#include "StateTestHelpers.h"

#include "helpers/TimeLimit.h"

#include "engine/presets/UntrustedXml.h"

#include <cstdlib>

// setStateInformation and the preset-file reader on random and mutated input. The count comes
// from STOMPVALE_FUZZ_ITERATIONS (the sanitizer build of tools/test.sh runs 100,000); without it
// a short run keeps the default test command quick. Every input has a few seconds: an input that
// never returns fails the test.

namespace
{
using namespace state_testing;

int fuzzIterations()
{
    if (const char* text = std::getenv ("STOMPVALE_FUZZ_ITERATIONS"))
        if (const int n = std::atoi (text); n > 0)
            return n;

    return 3000;
}

// clang-format off
const char* const snippets[] = {
    "<a>", "</a>", "<a/>", "/>", ">", "<", "=", "\"", "'", "&", "&amp;", "&#", "&#x", "&#x1",
    "&#xFFFFFFFF;", "&#99999999999;", "&#0;", "&unknown;", "<!--", "-->", "<![CDATA[", "]]>",
    "<?", "?>", "<!DOCTYPE a [<!ENTITY e \"&e;&e;\">]>", "<!DOCTYPE a SYSTEM \"/dev/zero\">",
    "\xff", "\xc3", "\xe2\x82", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xc0\x80", " ", "\r\n",
    "volume=\"nan\"", "tuner=\"1e999\"", "PRESET_BUTTONA3=\"1\"", "recordpreset=\"1\"",
    "PRESET_BUTTONC9=\"1\"", "PEDAL_BEFORE_SLOT0=\"-7\"",
};

/** Whole XML constructs and text, for the places where the framework's parser takes them. */
const char* const constructs[] = {
    "<?x?>", "<?xml version=\"1.0\"?>", "<?x ?>", "<!--c-->", "<!---->", "<![CDATA[t]]>",
    "<![CDATA[]]>", "&amp;", "&#60;", "&#x3c;", "&e;", "<a/>", "<a>t</a>", "<a><?x?>0</a>",
    "0", "t", " ", "\r\n", "\t", "<b x='1'/>", "</a>", "<",
};
// clang-format on

constexpr std::chrono::seconds secondsPerInput { 5 };

/** The attributes of the one element of a text, counted naively: the '=' signs after the XML
    declaration that stand outside quotes. */
int attributesCountedNaively (const std::string& text)
{
    auto i = text.find ('<');
    if (i != std::string::npos && text.compare (i, 2, "<?") == 0)
        i = text.find ('<', i + 1);

    int count = 0;
    char quote = 0;

    for (; i < text.size(); ++i)
    {
        if (quote != 0)
            quote = text[i] == quote ? 0 : quote;
        else if (text[i] == '"' || text[i] == '\'')
            quote = text[i];
        else if (text[i] == '=')
            ++count;
    }

    return count;
}

/** One input and whether our layout rules alone already make it one that must change nothing. */
struct Case
{
    juce::MemoryBlock block;
    bool mustBeRefused = false;
    const char* kind = "";
};

class Generator
{
public:
    explicit Generator (const std::vector<juce::MemoryBlock>& s) : seeds (s) {}

    Case next (int iteration)
    {
        const auto& seed = seeds[(size_t) random.nextInt ((int) seeds.size())];
        const auto text = textOfBlock (seed);

        switch (iteration % 12)
        {
            case 10:
            {
                // Constructs anywhere, mostly where they break the shape of our files.
                auto mutated = text;
                for (int edits = 1 + random.nextInt (4); --edits >= 0;)
                {
                    const auto position = (size_t) random.nextInt ((int) mutated.size() + 1);
                    mutated.insert (position, construct());
                }
                return { blockAround (mutated), false, "constructs" };
            }
            case 11:
            {
                // The element given content, its root in either letter case, with or without
                // what stands before it.
                auto open = text.find ('<');
                while (open != std::string::npos
                       && ! juce::CharacterFunctions::isLetter (text[open + 1]))
                    open = text.find ('<', open + 1);

                const auto close = text.rfind ("/>");
                if (open == std::string::npos || close == std::string::npos || close < open)
                    return { blockAround (text), false, "element content" };

                const auto nameEnd = text.find_first_of (" \t\r\n/>", open);
                auto root = text.substr (open + 1, nameEnd - open - 1);
                if (random.nextBool())
                    root = juce::String (root).toLowerCase().toStdString();

                auto mutated = random.nextBool() ? text.substr (0, open) : std::string();
                mutated += "<" + root + text.substr (nameEnd, close - nameEnd) + ">";
                for (int parts = random.nextInt (6); --parts >= 0;)
                    mutated += construct();
                mutated += "</" + root + ">";
                return { blockAround (mutated), false, "element content" };
            }
            case 0:
            {
                auto bytes = randomBytes (random.nextInt (48));
                return { bytes, bytes.getSize() < 9, "random bytes" };
            }
            case 1:
            {
                auto block = blockAround (std::string (randomString (random.nextInt (200))),
                                          (uint32_t) random.nextInt(), random.nextBool());
                const auto length = (int32_t) juce::ByteOrder::littleEndianInt (
                    juce::addBytesToPointer (block.getData(), 4));
                return { block, length <= 0, "magic and random text" };
            }
            case 2:
            {
                auto block = seed;
                auto* bytes = static_cast<uint8_t*> (block.getData());
                for (int flips = 1 + random.nextInt (8); --flips >= 0;)
                {
                    const auto bit = (uint8_t) (1 << random.nextInt (8));
                    bytes[random.nextInt ((int) block.getSize())] ^= bit;
                }
                return { block, false, "bit flips" };
            }
            case 3:
            {
                // A block cut anywhere short of its complete text sets nothing.
                const int size = random.nextInt ((int) seed.getSize() - 1);
                const auto complete = (int) text.find_last_not_of (" \r\n\t") + 1;
                return { juce::MemoryBlock (seed.getData(), (size_t) size), size < 8 + complete,
                         "truncated" };
            }
            case 4:
            {
                auto block = seed;
                const uint32_t words[] = { 0u,          1u,          0x7fffffffu,
                                           0x80000000u, 0xffffffffu, (uint32_t) random.nextInt() };
                const auto length = words[random.nextInt (6)];
                static_cast<uint32_t*> (block.getData())[1] =
                    juce::ByteOrder::swapIfBigEndian (length);
                return { block, (int32_t) length <= 0, "length word" };
            }
            case 5:
            {
                // Odd values in a block that stays well-formed.
                auto mutated = text;
                for (int edits = 1 + random.nextInt (6); --edits >= 0;)
                {
                    const auto from = (size_t) random.nextInt ((int) mutated.size());
                    const auto open = mutated.find ("=\"", from);
                    const auto close =
                        open == std::string::npos ? open : mutated.find ('"', open + 2);
                    if (close != std::string::npos)
                        mutated.replace (open + 2, close - open - 2, oddValue());
                }
                return { blockAround (mutated), false, "odd values" };
            }
            case 6:
            {
                auto mutated = text;
                for (int edits = 1 + random.nextInt (4); --edits >= 0;)
                    insertSnippet (mutated);
                return { blockAround (mutated), false, "snippets" };
            }
            case 7:
            {
                const int levels = 1 + random.nextInt (random.nextBool() ? 80 : 100000);
                std::string nested = text.substr (0, text.size() - 2) + ">";
                for (int i = 0; i < levels; ++i)
                    nested += "<a>";
                if (random.nextBool())
                    for (int i = 0; i < levels; ++i)
                        nested += "</a>";
                return { blockAround (nested + "</STOMPVALESETTINGS>"), false, "deep nesting" };
            }
            case 8:
            {
                auto mutated = text;
                auto position = (size_t) random.nextInt ((int) mutated.size());
                mutated.erase (position, (size_t) random.nextInt (64));
                position = (size_t) random.nextInt ((int) mutated.size() + 1);
                mutated.insert (position, randomString (random.nextInt (64)));
                return { blockAround (mutated), false, "erase and insert" };
            }
            default:
            {
                auto enormous = text.substr (0, text.size() - 2);
                const int attributes = random.nextInt (random.nextBool() ? 2000 : 20000);
                for (int i = 0; i < attributes; ++i)
                    enormous += " x" + std::to_string (i) + "=\"0.5\"";
                const int spaces = random.nextInt (random.nextBool() ? 40000 : 200000);
                enormous += std::string ((size_t) spaces, ' ');
                enormous += "/>";
                return { blockAround (enormous), false, "enormous" };
            }
        }
    }

private:
    juce::MemoryBlock randomBytes (int size)
    {
        juce::MemoryBlock block ((size_t) size);
        for (int i = 0; i < size; ++i)
            static_cast<uint8_t*> (block.getData())[i] = (uint8_t) random.nextInt (256);
        if (size >= 4 && random.nextBool())
            std::memcpy (block.getData(), "VC2!", 4);
        return block;
    }

    std::string randomString (int size)
    {
        std::string s;
        for (int i = 0; i < size; ++i)
            s += random.nextInt (4) == 0 ? (char) random.nextInt (256)
                                         : "<>/=\"' &#;xa1.-!?"[random.nextInt (17)];
        return s;
    }

    std::string oddValue()
    {
        const char* const values[] = { "nan",        "-inf",   "inf",
                                       "1e999",      "-1e999", "-0.5",
                                       "7",          "",       "  0.3abc",
                                       "0x1p-3",     "1e-320", "-0",
                                       "0.49999997", "0.5",    "99999999999999999999999" };
        if (random.nextBool())
            return values[random.nextInt ((int) std::size (values))];

        std::string digits = random.nextBool() ? "-" : "";
        for (int n = random.nextInt (40); --n >= 0;)
            digits += "0123456789.eE+-"[random.nextInt (15)];
        return digits;
    }

    const char* construct() { return constructs[random.nextInt ((int) std::size (constructs))]; }

    void insertSnippet (std::string& text)
    {
        const auto position = (size_t) random.nextInt ((int) text.size() + 1);
        text.insert (position, snippets[random.nextInt ((int) std::size (snippets))]);
    }

    const std::vector<juce::MemoryBlock>& seeds;
    juce::Random random { 0x5707 };
};

std::vector<juce::MemoryBlock> seedBlocks()
{
    std::vector<juce::MemoryBlock> seeds;
    auto source = testing_helpers::makeProcessor();
    juce::MemoryBlock block;

    source->getStateInformation (block);
    seeds.push_back (block);

    juce::Random random (99);
    for (auto* parameter : source->getParameters())
        parameter->setValueNotifyingHost (random.nextFloat());
    source->getStateInformation (block);
    seeds.push_back (block);

    seeds.push_back (blockAround ("<stompvalesettings volume=\"0.3\" PRESET_BUTTONB2=\"1\"/>"));
    seeds.push_back (blockAround ("<?xml version=\"1.0\"?>\n<!-- c -->\n<STOMPVALESETTINGS "
                                  "volume='0.1'><x>t &amp; u</x></STOMPVALESETTINGS>\n"));
    seeds.push_back (blockAround ("<OTHER volume=\"0.3\"/>"));
    return seeds;
}
} // namespace

TEST (StateFuzz, SetStateInformationSurvivesRandomAndMutatedBlocks)
{
    TemporaryHome home;
    ASSERT_TRUE (home.isInUse());
    auto processor = testing_helpers::makeProcessor();
    auto& p = *processor;

    const auto seeds = seedBlocks();
    Generator generator (seeds);
    const int iterations = fuzzIterations();
    testing_helpers::TimeLimit timeLimit (secondsPerInput);
    constexpr int sentinel = 4242;
    int failures = 0, accepted = 0;

    for (int i = 0; i < iterations && failures < 10; ++i)
    {
        const auto input = generator.next (i);
        timeLimit.start ("iteration " + std::to_string (i) + ", " + input.kind);
        const auto before = snapshot (p);
        const int indexBefore = p.presetIndex;
        p.meterSampleCount = sentinel;

        p.setStateInformation (input.block.getData(), (int) input.block.getSize());

        const auto after = snapshot (p);
        const bool acted = p.meterSampleCount != sentinel;
        accepted += acted ? 1 : 0;

        const auto fail = [&] (const char* what) {
            ++failures;
            ADD_FAILURE() << what << " (iteration " << i << ", " << input.kind << ", "
                          << input.block.getSize() << " bytes)";
        };

        if (! acted)
        {
            if (! differences (before, after).empty() || p.presetIndex != indexBefore)
                fail ("a refused block changed the setting");
        }
        else
        {
            if (input.mustBeRefused)
                fail ("a block that is not ours was restored");

            if (! std::all_of (after.begin(), after.end(),
                               [] (float value) { return value >= 0.0f && value <= 1.0f; }))
                fail ("a restored value lies outside 0 to 1");

            if (! ((p.presetIndex >= 0 && p.presetIndex < 30) || p.presetIndex == 99))
                fail ("presetIndex is no preset");
        }

        if (i % 64 == 0)
        {
            // Now and then a block runs on whatever was restored, as it would in a host.
            juce::AudioBuffer<float> buffer (2, 64);
            buffer.clear();
            testing_helpers::process (p, buffer);
        }
    }

    RecordProperty ("restored", accepted);
    EXPECT_GT (accepted, iterations / 20) << "the mutations should leave many blocks valid";
}

TEST (StateFuzz, PresetFileReaderSurvivesRandomAndMutatedFiles)
{
    const auto seeds = seedBlocks();
    Generator generator (seeds);
    const int iterations = fuzzIterations() / 4;
    testing_helpers::TimeLimit timeLimit (secondsPerInput);
    int loaded = 0;

    for (int i = 0; i < iterations; ++i)
    {
        // The text of each generated block as a file's content, with the preset root in place of
        // ours, and every third one in UTF-16.
        const auto input = generator.next (i);
        timeLimit.start ("iteration " + std::to_string (i) + ", " + input.kind);
        const auto* data = static_cast<const char*> (input.block.getData());
        const auto skip = juce::jmin ((size_t) 8, input.block.getSize());
        auto text = std::string (data + skip, input.block.getSize() - skip);

        if (const auto at = text.find ("STOMPVALESETTINGS"); at != std::string::npos)
            text.replace (at, 17, "STVLQX41presets");

        if (i % 3 == 2)
        {
            // Bytes that are not UTF-8 become one character each.
            juce::MemoryOutputStream utf16;
            utf16.writeShort ((short) 0xfeff);
            if (UntrustedXml::isWellFormedUtf8 (text.data(), text.size()))
                for (auto c : juce::String::fromUTF8 (text.data(), (int) text.size()))
                    utf16.writeShort ((short) c);
            else
                for (auto c : text)
                    utf16.writeShort ((short) (uint8_t) c);
            if (PresetFile::parse (utf16.getData(), utf16.getDataSize()) != nullptr)
                ++loaded;
            continue;
        }

        for (const auto& content :
             { std::string (data + skip, input.block.getSize() - skip), text })
        {
            if (auto element = PresetFile::parse (content.data(), content.size()))
            {
                ++loaded;
                ASSERT_TRUE (element->hasTagName ("STVLQX41presets")) << "iteration " << i;
            }

            // What the gate takes is read by the parser as one element with its attributes.
            const auto cut = content.substr (0, content.find ('\0'));

            if (! cut.empty() && UntrustedXml::isAcceptable (cut.data(), cut.size()))
            {
                const auto parsed = UntrustedXml::parse (cut.data(), cut.size());
                ASSERT_TRUE (parsed != nullptr && parsed->getNumChildElements() == 0
                             && parsed->getNumAttributes() == attributesCountedNaively (cut))
                    << "the parser read an accepted text otherwise (iteration " << i << ", "
                    << input.kind << ")";
            }
        }
    }

    EXPECT_GT (loaded, 0);
}
