#include "StateTestHelpers.h"

#include "EditorFlagProbe.h"

// The host state block: its layout, a full round trip, what a restore does to the preset
// selection, and blocks that are not ours.

namespace
{
using namespace state_testing;
using testing_helpers::setNatural;
using testing_helpers::setOn;

constexpr int meterSentinel = 777;

void restore (StompvaleAudioProcessor& processor, const juce::MemoryBlock& block)
{
    processor.setStateInformation (block.getData(), (int) block.getSize());
}

void setLengthWord (juce::MemoryBlock& block, uint32_t length)
{
    static_cast<uint32_t*> (block.getData())[1] = juce::ByteOrder::swapIfBigEndian (length);
}

class StateBlock : public PresetTest
{
protected:
    /** The state of a second processor after the given changes. */
    juce::MemoryBlock blockWith (std::function<void (StompvaleAudioProcessor&)> change)
    {
        auto other = testing_helpers::makeProcessor();
        change (*other);
        return stateOf (*other);
    }

    /** The state of a default processor whose volume has the given normalised value. */
    juce::MemoryBlock stateWithVolume (float normalised)
    {
        return blockWith ([normalised] (StompvaleAudioProcessor& other) {
            other.volumeParameter->setValueNotifyingHost (normalised);
        });
    }

    float volume() { return p().volumeParameter->get(); }
};
} // namespace

TEST_F (StateBlock, DefaultBlockHasTheFrameworkLayoutOnOneLine)
{
    juce::MemoryBlock block (100000, true);
    juce::FloatVectorOperations::fill (static_cast<float*> (block.getData()), -1.0f, 25000);
    p().getStateInformation (block);

    ASSERT_GT (block.getSize(), 9u);
    const auto* bytes = static_cast<const uint8_t*> (block.getData());
    EXPECT_EQ (std::string ((const char*) bytes, 4), "VC2!");
    EXPECT_EQ (juce::ByteOrder::littleEndianInt (bytes + 4), (uint32_t) block.getSize() - 9)
        << "the block's former content is replaced and the length word counts the text";
    EXPECT_EQ (bytes[block.getSize() - 1], 0);

    juce::String expected ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <STOMPVALESETTINGS");
    for (auto* parameter : p().getParameters())
        expected << " " << idOf (parameter) << "=\""
                 << juce::var ((double) parameter->getValue()).toString() << "\"";
    expected << "/>";

    const auto text = textOfBlock (block);
    EXPECT_EQ (juce::String (text), expected);
    EXPECT_EQ (text.find_first_of ("\r\n"), std::string::npos);
    EXPECT_NE (text.find (" volume=\"0.25\" tuner=\"0.0\" presetboard=\"0.0\""), std::string::npos);
    EXPECT_NE (text.find (" PEDAL_BEFORE_SLOT5=\"0.0\"/>"), std::string::npos);
}

TEST_F (StateBlock, RoundTripRestoresEveryParameter)
{
    for (const int current : { 17, -1 })
    {
        SCOPED_TRACE (current < 0 ? "no preset button on" : "button 17 on");
        auto source = testing_helpers::makeProcessor();
        juce::Random random (4711 + current);

        for (auto* parameter : source->getParameters())
            parameter->setValueNotifyingHost (random.nextFloat());

        for (auto* button : source->presetButtonParameters)
            setOn (*button, false);
        if (current >= 0)
            setOn (*source->presetButtonParameters[current], true);
        setOn (*source->recordPresetParameter, true);
        setOn (*source->presetBoardParameter, true);

        auto target = testing_helpers::makeProcessor();
        restore (*target, stateOf (*source));

        const auto expected = snapshot (*source);
        const auto restored = snapshot (*target);
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ (restored[i], expected[i]) << idOf (source->getParameters()[(int) i]);

        EXPECT_EQ (target->presetIndex, current < 0 ? StompvaleAudioProcessor::noPreset : current);
    }
}

TEST_F (StateBlock, RestoredCurrentPresetIsNotLoadedAgain)
{
    writePresetText (13, "<STVLQX41presets volume=\"0.9\"/>");
    const auto block = blockWith ([] (StompvaleAudioProcessor& other) {
        setOn (*other.presetButtonParameters[13], true);
        setNatural (*other.volumeParameter, 0.4f);
    });

    restore (p(), block);
    EXPECT_EQ (p().presetIndex, 13);
    runBlock();
    EXPECT_NEAR (volume(), 0.4f, 1.0e-6f) << "the next block loads no preset file";
    EXPECT_EQ (buttonsOn(), std::vector<int> { 13 });
}

TEST_F (StateBlock, TwoRestoredButtonsMakeTheHighestCurrentAndTheNextBlockSelectsTheLower)
{
    writePresetText (2, "<STVLQX41presets volume=\"0.9\"/>");
    const auto block = blockWith ([] (StompvaleAudioProcessor& other) {
        setOn (*other.presetButtonParameters[2], true);
        setOn (*other.presetButtonParameters[7], true);
        setNatural (*other.volumeParameter, 0.4f);
    });

    restore (p(), block);
    EXPECT_EQ (p().presetIndex, 7);
    runBlock();
    EXPECT_EQ (p().presetIndex, 2);
    EXPECT_EQ (buttonsOn(), std::vector<int> { 2 });
    EXPECT_NEAR (volume(), 1.8f, 1.0e-6f) << "preset 2 was loaded";
}

TEST_F (StateBlock, RootTagIsComparedIgnoringCase)
{
    restore (p(), blockAround ("<stompvalesettings volume=\"0.3\" tuner=\"1.0\"/>"));
    EXPECT_NEAR (volume(), 0.6f, 1.0e-6f);
    EXPECT_TRUE (p().tunerParameter->get());
}

TEST_F (StateBlock, AnotherRootSetsNothingButStillRaisesTheFlagAndResets)
{
    OpenEditor editor (p());
    ASSERT_NE (editor.editor, nullptr);
    auto& delayLine = p().pedalUnits[11].delayLine.line;
    std::fill (std::begin (delayLine), std::end (delayLine), 0.5f);
    setOn (button (4), true);
    setOn (button (9), true);
    const auto before = snapshot (p());
    p().meterSampleCount = meterSentinel;

    restore (p(), blockAround ("<OTHERSETTINGS volume=\"0.3\" PRESET_BUTTONA9=\"0\"/>"));

    EXPECT_TRUE (differences (before, snapshot (p())).empty());
    EXPECT_TRUE (editor.flagRaised());
    EXPECT_EQ (p().presetIndex, 9) << "recomputed from the buttons as they are";
    EXPECT_EQ (p().meterSampleCount, 0);
    EXPECT_EQ (delayLine[5000], 0.0f);
}

TEST_F (StateBlock, BlocksThatAreNotOursChangeNothing)
{
    OpenEditor editor (p());
    ASSERT_NE (editor.editor, nullptr);
    setOn (button (5), true);
    runBlock();
    ASSERT_EQ (p().presetIndex, 5);
    setNatural (*p().volumeParameter, 1.3f);

    auto good = blockAround ("<STOMPVALESETTINGS volume=\"0.1\" PRESET_BUTTONA5=\"0\"/>");
    auto wrongMagic = good;
    static_cast<char*> (wrongMagic.getData())[3] = '?';
    auto zeroLength = good;
    setLengthWord (zeroLength, 0);
    auto negativeLength = good;
    setLengthWord (negativeLength, 0x80000000u);
    auto zeroAtTheStart = good;
    static_cast<char*> (zeroAtTheStart.getData())[8] = 0;

    const std::vector<std::pair<juce::MemoryBlock, std::string>> cases {
        { juce::MemoryBlock(), "no bytes" },
        { juce::MemoryBlock (good.getData(), 8), "8 bytes" },
        { juce::MemoryBlock (good.getData(), 9), "9 bytes" },
        { wrongMagic, "another magic" },
        { zeroLength, "a length word of 0" },
        { negativeLength, "a negative length word" },
        { zeroAtTheStart, "an empty text" },
        { blockAround ("hello"), "text that is not XML" },
        { blockAround ("<STOMPVALESETTINGS volume=\"0.1\""), "a tag that breaks off" },
        { blockAround ("<STOMPVALESETTINGS volume=\"0.1\" tuner=\"1"), "a value that breaks off" },
        { blockAround ("<STOMPVALESETTINGS volume=\"0.1\"><a></STOMPVALESETTINGS>"),
          "unmatched tags" },
        { blockAround ("<STOMPVALESETTINGS volume=\"\xff\"/>"), "bytes that are not UTF-8" },
    };

    for (const auto& [block, what] : cases)
    {
        SCOPED_TRACE (what);
        const auto before = snapshot (p());
        p().meterSampleCount = meterSentinel;
        restore (p(), block);

        EXPECT_TRUE (differences (before, snapshot (p())).empty());
        EXPECT_EQ (p().presetIndex, 5);
        EXPECT_EQ (p().meterSampleCount, meterSentinel) << "no prepare, no reset";
        EXPECT_FALSE (editor.flagRaised());
    }

    p().setStateInformation (nullptr, 100);
    EXPECT_EQ (p().meterSampleCount, meterSentinel);
}

TEST_F (StateBlock, MissingAttributesFallBackToTheCurrentValueAndAreReported)
{
    setOn (*p().tunerParameter, true);
    setNatural (*p().slotParameters[3], 12.0f);
    const auto before = snapshot (p());
    ChangeCounter changes (p());

    restore (p(), blockAround ("<STOMPVALESETTINGS volume=\"0.3\" volume=\"0.9\" bogus=\"1\"/>"));

    EXPECT_NEAR (volume(), 0.6f, 1.0e-6f) << "the first attribute of a name counts";
    EXPECT_EQ (differences (before, snapshot (p())), std::vector<int> { 0 });
    for (int i = 0; i < 143; ++i)
        EXPECT_GE (changes.counts[(size_t) i], 1) << idOf (p().getParameters()[i]);
}

TEST_F (StateBlock, ALengthWordBeyondTheBlockCutsTheTextAtItsEnd)
{
    auto block = stateWithVolume (0.3f);
    setLengthWord (block, 0x7fffffffu);
    restore (p(), block);
    EXPECT_NEAR (volume(), 0.6f, 1.0e-6f) << "the text still ends at the zero byte";

    auto withoutZero = stateWithVolume (0.7f);
    withoutZero.setSize (withoutZero.getSize() - 1);
    restore (p(), withoutZero);
    EXPECT_NEAR (volume(), 1.4f, 1.0e-6f) << "a block without its zero byte is read to its end";

    auto cut = stateWithVolume (0.9f);
    cut.setSize (cut.getSize() / 2);
    const auto before = snapshot (p());
    restore (p(), cut);
    EXPECT_TRUE (differences (before, snapshot (p())).empty()) << "half a block sets nothing";
}
