#include "StateTestHelpers.h"

#include "EditorFlagProbe.h"

// The preset manager: the selection pass, SAVE and LOAD of the preset files.

namespace
{
using namespace state_testing;
using testing_helpers::setNatural;
using testing_helpers::setOn;

constexpr int recordPresetIndex = 3;
constexpr int firstButtonIndex = 107;
constexpr int meterSentinel = 777; // prepareToPlay restarts the meter count; a block adds 64

// The volume snaps to steps of 0.01 in single precision, so a loaded value can miss the decimal
// by a rounding step.
constexpr float volumeTolerance = 1.0e-6f;

juce::String textOf (const juce::File& file)
{
    const auto bytes = readBytes (file);
    return juce::String::fromUTF8 (static_cast<const char*> (bytes.getData()),
                                   (int) bytes.getSize());
}

/** The text a preset file must hold for these values, built by the layout rules: header, two
    CR LF, the tag, each attribute as space, name, equals sign and quoted value, a CR LF and 16
    spaces before an attribute once the line's attributes exceed 60 characters, "/>" and CR LF. */
juce::String expectedPresetText (const juce::AudioProcessor& processor)
{
    juce::String text ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<STVLQX41presets");
    int lineLength = 0;

    for (auto* parameter : processor.getParameters())
    {
        if (lineLength > 60)
        {
            text << "\r\n" << juce::String::repeatedString (" ", 16);
            lineLength = 0;
        }

        const auto piece = " " + idOf (parameter) + "=\""
                           + juce::var ((double) parameter->getValue()).toString() + "\"";
        text << piece;
        lineLength += piece.length();
    }

    return text + "/>\r\n";
}

class PresetManager : public PresetTest
{
};
} // namespace

TEST_F (PresetManager, FreshInstanceWithNoFilesSelectsWithoutLoading)
{
    EXPECT_EQ (p().presetIndex, StompvaleAudioProcessor::noPreset);
    runBlock();
    EXPECT_EQ (p().presetIndex, StompvaleAudioProcessor::noPreset) << "no button on, no selection";

    setOn (button (0), true);
    const auto before = snapshot (p());
    p().meterSampleCount = meterSentinel;
    runBlock();

    EXPECT_EQ (p().presetIndex, 0);
    EXPECT_EQ (buttonsOn(), std::vector<int> { 0 });
    EXPECT_TRUE (differences (before, snapshot (p())).empty()) << "nothing may be loaded";
    EXPECT_EQ (p().meterSampleCount, meterSentinel + 64)
        << "a missing file neither prepares nor resets";
    EXPECT_FALSE (presetFile (0).exists());
    EXPECT_TRUE (strayFiles().isEmpty());
}

TEST_F (PresetManager, ClickingTheCurrentPresetAgainReloadsIt)
{
    setNatural (*p().volumeParameter, 1.2f);
    saveInto (5);
    ASSERT_TRUE (presetFile (5).existsAsFile());

    setNatural (*p().volumeParameter, 0.3f);
    setNatural (*p().slotParameters[1], 7.0f);
    click (5);
    ASSERT_FALSE (button (5).get());
    runBlock();

    EXPECT_NEAR (p().volumeParameter->get(), 1.2f, volumeTolerance)
        << "the changes since the save are discarded";
    EXPECT_EQ (p().slotParameters[1]->get(), -1);
    EXPECT_EQ (buttonsOn(), std::vector<int> { 5 }) << "its button is on again after the block";
    EXPECT_EQ (p().presetIndex, 5);
}

TEST_F (PresetManager, SaveIntoB3WritesEveryParameterInTheFileLayout)
{
    click (2); // current preset A2, no file: loads nothing
    runBlock();
    ASSERT_EQ (p().presetIndex, 2);

    setNatural (*p().volumeParameter, 1.5f);
    setNatural (*p().slotParameters[0], 4.0f);
    setOn (*p().pedalUnits[4].onOff, true);
    setNatural (*p().pedalUnits[4].knobParameters[2], 0.25f);
    setNatural (*p().bankParameter, 1.0f);
    setOn (*p().tunerParameter, true);
    setOn (*p().recordPresetParameter, true);
    setOn (button (13), true);
    const auto before = snapshot (p());
    runBlock();

    EXPECT_FALSE (p().recordPresetParameter->get());
    EXPECT_EQ (p().presetIndex, 13);
    EXPECT_EQ (buttonsOn(), std::vector<int> { 13 });
    EXPECT_EQ (differences (before, snapshot (p())),
               (std::vector<int> { recordPresetIndex, firstButtonIndex + 2 }))
        << "only \"Save Preset\" and the former button change";

    const auto file = TemporaryHome::presetFolder().getChildFile ("STVLQX41presets13.xml");
    ASSERT_TRUE (file.existsAsFile());
    EXPECT_EQ (textOf (file), expectedPresetText (p()));

    const auto element = juce::parseXML (file);
    ASSERT_NE (element, nullptr);
    EXPECT_EQ (element->getTagName(), "STVLQX41presets");
    ASSERT_EQ (element->getNumAttributes(), 143);
    for (int i = 0; i < 143; ++i)
        EXPECT_EQ (element->getAttributeName (i), idOf (p().getParameters()[i]))
            << "attribute " << i;

    EXPECT_EQ (element->getStringAttribute ("recordpreset"), "0.0");
    EXPECT_EQ (element->getStringAttribute ("PRESET_BUTTONB3"), "1.0");
    EXPECT_EQ (element->getStringAttribute ("PRESET_BUTTONA2"), "0.0");
    EXPECT_EQ (element->getStringAttribute ("volume"), "0.75");
    EXPECT_EQ (element->getStringAttribute ("tuner"), "1.0");
    EXPECT_TRUE (strayFiles().isEmpty()) << strayFiles().joinIntoString (", ");
}

TEST_F (PresetManager, SecondClickWhileSavingStoresTheButtonOffAndStillEndsWithItOn)
{
    saveInto (13);
    ASSERT_EQ (juce::parseXML (presetFile (13))->getStringAttribute ("PRESET_BUTTONB3"), "1.0");

    saveInto (13); // the current preset's button is switched off during this save
    EXPECT_EQ (juce::parseXML (presetFile (13))->getStringAttribute ("PRESET_BUTTONB3"), "0.0");
    EXPECT_EQ (buttonsOn(), std::vector<int> { 13 });
    EXPECT_EQ (p().presetIndex, 13);
    EXPECT_FALSE (p().recordPresetParameter->get());

    click (4); // no file
    runBlock();
    ASSERT_EQ (p().presetIndex, 4);

    click (13);
    runBlock();
    EXPECT_EQ (buttonsOn(), std::vector<int> { 13 }) << "the file's B3 off is not loaded";
    EXPECT_EQ (p().presetIndex, 13);
}

TEST_F (PresetManager, TwoButtonsOnTheLowestWins)
{
    writePresetText (4, "<STVLQX41presets volume=\"0.5\"/>");
    writePresetText (20, "<STVLQX41presets volume=\"0.9\"/>");

    setOn (button (4), true);
    setOn (button (20), true);
    runBlock();

    EXPECT_EQ (p().presetIndex, 4);
    EXPECT_EQ (buttonsOn(), std::vector<int> { 4 });
    EXPECT_NEAR (p().volumeParameter->get(), 1.0f, volumeTolerance)
        << "preset 4 is loaded (0.5 of 0 to 2)";
}

TEST_F (PresetManager, CurrentSwitchedOffAndAnotherOnInOneBlockReloadsTheCurrent)
{
    writePresetText (3, "<STVLQX41presets volume=\"0.5\"/>");
    writePresetText (7, "<STVLQX41presets volume=\"0.1\"/>");
    click (3);
    runBlock();
    setNatural (*p().volumeParameter, 1.7f);

    setOn (button (3), false);
    setOn (button (7), true);
    runBlock();

    EXPECT_EQ (p().presetIndex, 3);
    EXPECT_EQ (buttonsOn(), std::vector<int> { 3 });
    EXPECT_NEAR (p().volumeParameter->get(), 1.0f, volumeTolerance);
}

TEST_F (PresetManager, AFileThatHoldsAnotherButtonOnLoadsOnceAndLeavesTheSelection)
{
    // A file copied into another slot holds its first slot's button on, and two swapped files
    // hold each other's. The file carries the settings, not the selection: the pressed button
    // stays the only one on, its file is loaded once, and later blocks load nothing, even once
    // the files have changed.
    struct Row
    {
        const char* what;
        int pressed;
        int other;
        const char* pressedFile;
        const char* otherFile;
    };

    const Row rows[] {
        { "a higher button", 2, 8, "<STVLQX41presets volume=\"0.2\" PRESET_BUTTONA8=\"1\"/>",
          "<STVLQX41presets volume=\"0.8\"/>" },
        { "a lower button", 9, 1, "<STVLQX41presets volume=\"0.2\" PRESET_BUTTONA1=\"1\"/>",
          "<STVLQX41presets volume=\"0.8\"/>" },
        { "swapped files", 3, 5,
          "<STVLQX41presets volume=\"0.2\" PRESET_BUTTONA3=\"0\" PRESET_BUTTONA5=\"1\"/>",
          "<STVLQX41presets volume=\"0.8\" PRESET_BUTTONA3=\"1\" PRESET_BUTTONA5=\"0\"/>" },
    };

    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.what);
        writePresetText (row.pressed, row.pressedFile);
        writePresetText (row.other, row.otherFile);
        click (row.pressed);
        runBlock();

        EXPECT_EQ (p().presetIndex, row.pressed);
        EXPECT_EQ (buttonsOn(), std::vector<int> { row.pressed });
        EXPECT_NEAR (p().volumeParameter->get(), 0.4f, volumeTolerance);

        writePresetText (row.pressed, row.otherFile);
        writePresetText (row.other, row.pressedFile);
        ChangeCounter changes (p());
        for (int block = 0; block < 10; ++block)
            runBlock();

        EXPECT_EQ (changes.total(), 0) << "nothing is loaded again";
        EXPECT_EQ (p().presetIndex, row.pressed);
        EXPECT_EQ (buttonsOn(), std::vector<int> { row.pressed });
        EXPECT_NEAR (p().volumeParameter->get(), 0.4f, volumeTolerance);
    }
}

TEST_F (PresetManager, RootTagIsComparedIgnoringCaseAndAnyOtherNameLoadsNothing)
{
    writePresetText (0, "<stvlqx41presets volume=\"0.8\"/>");
    writePresetText (1, "<STVLQX41preset volume=\"0.3\"/>");

    click (0);
    runBlock();
    EXPECT_NEAR (p().volumeParameter->get(), 1.6f, volumeTolerance)
        << "lower-case root is accepted";

    const auto before = snapshot (p());
    p().meterSampleCount = meterSentinel;
    click (1);
    runBlock();
    EXPECT_EQ (differences (before, snapshot (p())),
               (std::vector<int> { firstButtonIndex + 0, firstButtonIndex + 1 }))
        << "only the selection changes";
    EXPECT_EQ (p().presetIndex, 1);
    EXPECT_EQ (p().meterSampleCount, meterSentinel + 64);
}

TEST_F (PresetManager, MissingAttributesKeepTheirValuesButEveryLoadedParameterIsReported)
{
    setOn (*p().tunerParameter, true);
    setNatural (*p().pedalUnits[0].knobParameters[1], 0.3f);
    writePresetText (6, "<STVLQX41presets volume=\"0.9\" PEDAL_BEFORE_SLOT2=\"0.5\""
                        " presetboard=\"1\" recordpreset=\"1\" unknown=\"0.7\"/>");
    click (6);
    const auto before = snapshot (p());
    ChangeCounter changes (p());
    runBlock();

    EXPECT_NEAR (p().volumeParameter->get(), 1.8f, volumeTolerance);
    EXPECT_EQ (p().slotParameters[2]->get(), 11) << "0.5 of -1 to 23";
    EXPECT_TRUE (p().tunerParameter->get());
    EXPECT_FALSE (p().presetBoardParameter->get())
        << "IDs containing \"preset\" in any case are not loaded";
    EXPECT_FALSE (p().recordPresetParameter->get());
    EXPECT_EQ (differences (before, snapshot (p())), (std::vector<int> { 0, 137 + 2 }));

    for (int i = 0; i < 143; ++i)
    {
        const auto id = idOf (p().getParameters()[i]);
        if (id.containsIgnoreCase ("preset"))
            EXPECT_EQ (changes.counts[(size_t) i], 0) << id;
        else
            EXPECT_GE (changes.counts[(size_t) i], 1) << id << " must be reported to the host";
    }
}

TEST_F (PresetManager, LoadTurnsTheBoardToTheStoredBank)
{
    writePresetText (25, "<STVLQX41presets currentBank=\"0.6666667\"/>");
    click (25);
    runBlock();
    EXPECT_EQ (p().bankParameter->get(), 2);
}

TEST_F (PresetManager, BlocksLongerThanTheLimitStillRunTheManager)
{
    writePresetText (11, "<STVLQX41presets volume=\"0.05\"/>");
    click (11);
    runBlock (8193);
    EXPECT_EQ (p().presetIndex, 11);
    EXPECT_NEAR (p().volumeParameter->get(), 0.1f, volumeTolerance);
}

TEST_F (PresetManager, LoadRaisesTheEditorFlagAndPreparesAndResetsTheEngine)
{
    OpenEditor editor (p());
    ASSERT_NE (editor.editor, nullptr);

    auto& delayLine = p().pedalUnits[3].delayLine.line;
    std::fill (std::begin (delayLine), std::end (delayLine), 0.5f);

    click (7); // no file: no flag, no reset
    runBlock();
    EXPECT_FALSE (editor.flagRaised());
    EXPECT_EQ (delayLine[1000], 0.5f);

    writePresetText (8, "<STVLQX41presets volume=\"0.5\"/>");
    p().meterSampleCount = meterSentinel;
    click (8);
    runBlock();
    EXPECT_TRUE (editor.flagRaised());
    EXPECT_EQ (p().meterSampleCount, 64) << "prepareToPlay restarted the meter window";
    EXPECT_TRUE (std::all_of (std::begin (delayLine), std::end (delayLine), [] (float s) {
        return s == 0.0f;
    })) << "reset cleared the delay line";

    editor.lowerFlag();
    saveInto (9);
    EXPECT_FALSE (editor.flagRaised()) << "a save raises no flag";
}

TEST_F (PresetManager, WithoutASelectionNoParameterIsTouched)
{
    click (3);
    runBlock();
    ChangeCounter changes (p());
    for (int block = 0; block < 10; ++block)
        runBlock();
    EXPECT_EQ (changes.total(), 0);
}

TEST_F (PresetManager, ABypassedPluginSelectsNothingUntilTheBypassEnds)
{
    writePresetText (14, "<STVLQX41presets volume=\"0.3\"/>");
    click (14);

    juce::AudioBuffer<float> buffer (2, 64);
    juce::MidiBuffer midi;
    buffer.clear();
    p().processBlockBypassed (buffer, midi);
    EXPECT_EQ (p().presetIndex, StompvaleAudioProcessor::noPreset);

    runBlock();
    EXPECT_EQ (p().presetIndex, 14);
    EXPECT_NEAR (p().volumeParameter->get(), 0.6f, volumeTolerance);
}
