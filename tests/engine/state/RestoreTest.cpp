#include "StateTestHelpers.h"

#include <atomic>
#include <thread>

// A host restore never writes or replaces a stored preset file on its own: only a preset the
// user selects is loaded or saved. And a restore never overlaps a block.

namespace
{
using namespace state_testing;
using testing_helpers::setNatural;
using testing_helpers::setOn;

class Restore : public PresetTest
{
protected:
    /** Preset 5 saved at volume 1.0 and current; returns the file's bytes. */
    juce::MemoryBlock currentPresetFive()
    {
        setNatural (*p().volumeParameter, 1.0f);
        saveInto (5);
        EXPECT_EQ (p().presetIndex, 5);
        return readBytes (presetFile (5));
    }

    /** A block from another processor: volume 0.4, no preset button on. */
    juce::MemoryBlock blockWithoutButtons (bool savePresetOn)
    {
        auto other = testing_helpers::makeProcessor();
        setNatural (*other->volumeParameter, 0.4f);
        setOn (*other->recordPresetParameter, savePresetOn);
        return stateOf (*other);
    }

    void restore (const juce::MemoryBlock& block)
    {
        p().setStateInformation (block.getData(), (int) block.getSize());
    }
};
} // namespace

TEST_F (Restore, NoButtonOnDoesNotReloadTheFormerPresetOverTheRestoredSetting)
{
    const auto file = currentPresetFive();
    restore (blockWithoutButtons (false));

    EXPECT_EQ (p().presetIndex, StompvaleAudioProcessor::noPreset)
        << "a restored setting with no preset button on has no current preset";
    for (int block = 0; block < 3; ++block)
        runBlock();

    EXPECT_NEAR (p().volumeParameter->get(), 0.4f, 1.0e-6f) << "preset 5 must not be loaded";
    EXPECT_TRUE (buttonsOn().empty());
    EXPECT_EQ (readBytes (presetFile (5)), file);
}

TEST_F (Restore, NoButtonOnWithSavePresetOnDoesNotWriteTheFormerPresetsFile)
{
    const auto file = currentPresetFive();
    restore (blockWithoutButtons (true));

    for (int block = 0; block < 3; ++block)
        runBlock();

    EXPECT_EQ (readBytes (presetFile (5)), file) << "preset 5's file is untouched";
    EXPECT_TRUE (strayFiles().isEmpty());
    EXPECT_TRUE (p().recordPresetParameter->get()) << "\"Save Preset\" comes back as it was";
    EXPECT_NEAR (p().volumeParameter->get(), 0.4f, 1.0e-6f);

    // The user's own selection then saves.
    click (6);
    runBlock();
    ASSERT_TRUE (presetFile (6).existsAsFile());
    const auto saved = juce::parseXML (presetFile (6));
    EXPECT_NEAR (saved->getDoubleAttribute ("volume"), 0.2, 1.0e-7);
    EXPECT_FALSE (p().recordPresetParameter->get());

    // And clicking the former preset loads it.
    click (5);
    runBlock();
    EXPECT_NEAR (p().volumeParameter->get(), 1.0f, 1.0e-6f);
}

TEST_F (Restore, ALowerButtonWithSavePresetOnIsLoadedNotOverwritten)
{
    writePresetText (2, "<STVLQX41presets volume=\"0.9\"/>");
    writePresetText (7, "<STVLQX41presets volume=\"0.1\"/>");
    const auto file2 = readBytes (presetFile (2));
    const auto file7 = readBytes (presetFile (7));

    auto other = testing_helpers::makeProcessor();
    setOn (*other->presetButtonParameters[2], true);
    setOn (*other->presetButtonParameters[7], true);
    setOn (*other->recordPresetParameter, true);
    setNatural (*other->volumeParameter, 0.4f);
    restore (stateOf (*other));

    EXPECT_EQ (p().presetIndex, 7);
    runBlock();

    EXPECT_EQ (p().presetIndex, 2);
    EXPECT_EQ (buttonsOn(), std::vector<int> { 2 });
    EXPECT_NEAR (p().volumeParameter->get(), 1.8f, 1.0e-6f) << "preset 2 is loaded";
    EXPECT_FALSE (p().recordPresetParameter->get());
    EXPECT_EQ (readBytes (presetFile (2)), file2);
    EXPECT_EQ (readBytes (presetFile (7)), file7);
}

TEST_F (Restore, OneButtonOnWithSavePresetOnKeepsItForTheUsersNextClick)
{
    auto other = testing_helpers::makeProcessor();
    setOn (*other->presetButtonParameters[21], true);
    setOn (*other->recordPresetParameter, true);
    restore (stateOf (*other));
    runBlock();

    EXPECT_EQ (p().presetIndex, 21);
    EXPECT_TRUE (p().recordPresetParameter->get());
    EXPECT_FALSE (presetFile (21).exists());
}

TEST_F (Restore, RightAfterCreationWithNoButtonOnNothingIsSelected)
{
    restore (blockWithoutButtons (true));
    runBlock();
    EXPECT_EQ (p().presetIndex, StompvaleAudioProcessor::noPreset);
    EXPECT_TRUE (strayFiles().isEmpty());
    EXPECT_FALSE (TemporaryHome::presetFolder().exists());
}

TEST_F (Restore, WaitsForTheBlockInProgress)
{
    const auto block = blockWithoutButtons (false);
    std::atomic<bool> started { false }, finished { false };

    {
        // The wrapper holds the callback lock around every block.
        const juce::ScopedLock renderThreadInABlock (p().getCallbackLock());

        std::thread host ([&] {
            started = true;
            restore (block);
            finished = true;
        });

        while (! started)
            std::this_thread::yield();

        std::this_thread::sleep_for (std::chrono::milliseconds (200));
        EXPECT_FALSE (finished.load()) << "the restore went ahead while a block was running";
        EXPECT_NEAR (normalised (*p().volumeParameter), 0.25f, 1.0e-6f)
            << "no parameter may change during the block";

        const juce::ScopedUnlock blockEnds (p().getCallbackLock());
        host.join();
    }

    EXPECT_TRUE (finished.load());
    EXPECT_NEAR (p().volumeParameter->get(), 0.4f, 1.0e-6f);
}
