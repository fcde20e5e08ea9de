#include "StateTestHelpers.h"

#include "EditorFlagProbe.h"

#include "helpers/TimeLimit.h"

#include <chrono>
#include <csignal>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

// Preset files that cannot be written, preset files of any content (and state blocks of the same
// texts), and preset files that are no files.

namespace
{
using namespace state_testing;
using testing_helpers::setNatural;
using testing_helpers::setOn;

constexpr int meterSentinel = 777;

/** Makes a folder unwritable for the calling thread. Permission bits alone do not stop root,
    so when the tests run as root this thread's file-system user also becomes "nobody"
    (setfsuid is per thread and drops the capability to override file permissions); both are
    undone on destruction. */
class UnwritableFolder
{
public:
    explicit UnwritableFolder (const juce::File& f) : folder (f)
    {
        ::chmod (folder.getFullPathName().toRawUTF8(), 0555);

        if (geteuid() == 0)
        {
            setfsuid (65534);
            switchedUser = setfsuid ((uid_t) -1) == 65534;
        }
    }

    ~UnwritableFolder()
    {
        if (switchedUser)
            setfsuid (0);

        ::chmod (folder.getFullPathName().toRawUTF8(), 0755);
    }

    /** True when this thread really cannot create a file in the folder. */
    bool holds() const
    {
        const auto probe = folder.getChildFile ("probe").getFullPathName();
        const int fd = ::open (probe.toRawUTF8(), O_CREAT | O_WRONLY, 0644);

        if (fd < 0)
            return true;

        ::close (fd);
        ::unlink (probe.toRawUTF8());
        return false;
    }

private:
    juce::File folder;
    bool switchedUser = false;
};

/** Lets no file grow past a few bytes (root included), so that writes come up short. */
class FileSizeLimit
{
public:
    explicit FileSizeLimit (rlim_t bytes)
    {
        oldHandler = std::signal (SIGXFSZ, SIG_IGN);
        getrlimit (RLIMIT_FSIZE, &oldLimit);
        rlimit limit = oldLimit;
        limit.rlim_cur = bytes;
        setrlimit (RLIMIT_FSIZE, &limit);
    }

    ~FileSizeLimit()
    {
        setrlimit (RLIMIT_FSIZE, &oldLimit);
        std::signal (SIGXFSZ, oldHandler);
    }

private:
    rlimit oldLimit {};
    void (*oldHandler) (int) = nullptr;
};

class PresetFileSafety : public PresetTest
{
protected:
    /** Saves the current setting into preset g and returns the file's bytes. */
    juce::MemoryBlock goodFile (int g)
    {
        setNatural (*p().volumeParameter, 0.7f);
        saveInto (g);
        const auto bytes = readBytes (presetFile (g));
        EXPECT_GT (bytes.getSize(), 1000u);
        return bytes;
    }

    /** Clicks preset g, which holds the given bytes, and expects that nothing is loaded. */
    void expectLoadsNothing (int g, const std::string& content, const std::string& what)
    {
        SCOPED_TRACE (what);
        writePresetText (g, content);
        expectChoosingLoadsNothing (g);
    }

    /** Clicks preset g and runs a block: g becomes the current preset, and nothing else changes
        (the former button goes off). */
    void expectChoosingLoadsNothing (int g)
    {
        click (g);
        const auto before = snapshot (p());
        p().meterSampleCount = meterSentinel;
        runBlock();

        EXPECT_EQ (p().presetIndex, g);
        EXPECT_EQ (buttonsOn(), std::vector<int> { g });

        auto changed = differences (before, snapshot (p()));
        changed.erase (std::remove_if (changed.begin(), changed.end(),
                                       [] (int i) { return i >= 107 && i < 137; }),
                       changed.end());
        EXPECT_TRUE (changed.empty()) << changed.size() << " parameters changed";
        EXPECT_EQ (p().meterSampleCount, meterSentinel + 64) << "no prepare or reset";
    }

    static constexpr std::chrono::seconds secondsToReturn { 10 };
};

std::string nested (int levels)
{
    std::string text = "<STVLQX41presets volume=\"0.9\">";
    for (int i = 0; i < levels; ++i)
        text += "<a>";
    for (int i = 0; i < levels; ++i)
        text += "</a>";
    return text + "</STVLQX41presets>";
}
} // namespace

TEST_F (PresetFileSafety, FailedSaveIntoAnUnwritableFolderKeepsTheFormerFile)
{
    const auto good = goodFile (4);
    setNatural (*p().volumeParameter, 1.9f);

    {
        UnwritableFolder guard (TemporaryHome::presetFolder());
        if (! guard.holds())
            GTEST_SKIP() << "this system lets the test write into a read-only folder";

        saveInto (4); // a second click on the current preset, with "Save Preset" on
    }

    EXPECT_EQ (readBytes (presetFile (4)), good);
    EXPECT_TRUE (strayFiles().isEmpty()) << strayFiles().joinIntoString (", ");
    EXPECT_FALSE (p().recordPresetParameter->get());
    EXPECT_EQ (p().presetIndex, 4);

    // The kept file still loads.
    click (4);
    runBlock();
    EXPECT_NEAR (p().volumeParameter->get(), 0.7f, 1.0e-6f);
}

TEST_F (PresetFileSafety, ShortWriteKeepsTheFormerFile)
{
    const auto good = goodFile (12);
    setNatural (*p().volumeParameter, 1.9f);

    {
        FileSizeLimit limit (100);
        saveInto (12);
    }

    EXPECT_EQ (readBytes (presetFile (12)), good)
        << "a temporary file that came out short must not replace the preset";
    EXPECT_TRUE (strayFiles().isEmpty()) << strayFiles().joinIntoString (", ");
}

TEST_F (PresetFileSafety, SaveCreatesTheMissingFolder)
{
    ASSERT_FALSE (TemporaryHome::presetFolder().exists());
    saveInto (29);
    EXPECT_TRUE (presetFile (29).existsAsFile());
    EXPECT_TRUE (strayFiles().isEmpty());
}

TEST_F (PresetFileSafety, AFolderInPlaceOfThePresetFileIsNeitherLoadedNorReplaced)
{
    const auto folder = presetFile (17);
    ASSERT_TRUE (folder.getChildFile ("keep.txt").create());

    click (17);
    runBlock();
    EXPECT_EQ (p().presetIndex, 17);

    saveInto (17);
    EXPECT_TRUE (folder.isDirectory());
    EXPECT_TRUE (folder.getChildFile ("keep.txt").existsAsFile());
    EXPECT_TRUE (strayFiles().isEmpty()) << strayFiles().joinIntoString (", ");
}

TEST_F (PresetFileSafety, SavesThatCannotRenameOrMeetALinkReturnAtOnceAndTouchNothingElse)
{
    // A folder with content in place of the preset file: the one rename fails, and the save
    // returns without waiting to try again (100 ms a try in the framework), keeping the folder's
    // content and leaving no temporary file.
    const auto folder = presetFile (10);
    ASSERT_TRUE (folder.getChildFile ("x").create());

    const auto started = std::chrono::steady_clock::now();
    saveInto (10);
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_LT (std::chrono::duration_cast<std::chrono::milliseconds> (took).count(), 100);
    EXPECT_TRUE (folder.getChildFile ("x").existsAsFile());
    EXPECT_TRUE (strayFiles().isEmpty()) << strayFiles().joinIntoString (", ");

    // A dangling link in place of the preset file: the save replaces the link with the preset,
    // and nothing is created where the link pointed.
    const juce::File target ("~/elsewhere.xml");
    ASSERT_TRUE (target.createSymbolicLink (presetFile (11), true));
    setNatural (*p().volumeParameter, 0.7f);
    saveInto (11);
    EXPECT_FALSE (target.exists());
    EXPECT_FALSE (presetFile (11).isSymbolicLink());

    setNatural (*p().volumeParameter, 1.9f);
    click (11);
    runBlock();
    EXPECT_NEAR (p().volumeParameter->get(), 0.7f, 1.0e-6f) << "the save is in the preset's place";
}

TEST_F (PresetFileSafety, ThePresetFolderIsFoundWithoutWaitingAndWhereTheFrameworkFindsIt)
{
    // An XDG_CONFIG_HOME entry in ~/.config/user-dirs.dirs moves the preset folder. A list that
    // cannot be read at once and whole counts as one without the entry, so the presets stay in
    // ~/.config; every ordinary list gives the folder the framework names. An entry longer than
    // any path names no folder, and costs no more time than a short one, whatever its "$HOME"s
    // grow to under a long home. A processor made then loads its presets from that folder:
    // preset 3 sets the volume to 0.3 in ~/.config and to 0.6 in ~/settings.
    const juce::File shortHome ("~");
    const juce::File config ("~/.config");
    const juce::File settings ("~/settings");
    const auto list = config.getChildFile ("user-dirs.dirs");
    const auto fifo = config.getChildFile ("fifo").getFullPathName();
    ASSERT_TRUE (config.createDirectory() && settings.createDirectory());
    ASSERT_EQ (::mkfifo (fifo.toRawUTF8(), 0644), 0);

    // A home of over 400 characters, whose last folder is a link back to this home.
    const auto longHome =
        shortHome.getChildFile (std::string (200, 'h')).getChildFile (std::string (200, 'h'));
    ASSERT_TRUE (longHome.getParentDirectory().createDirectory());
    ASSERT_TRUE (shortHome.createSymbolicLink (longHome, true));

    for (const auto& [folder, volume] : { std::pair (config, "0.3"), std::pair (settings, "0.6") })
        ASSERT_TRUE (
            folder.getChildFile (PresetFile::fileName (3))
                .replaceWithText (juce::String ("<STVLQX41presets volume=\"") + volume + "\"/>"));

    struct Row
    {
        const char* what;
        juce::String linkTo; // the list is a link to this, or else holds text
        std::string text;
        const char* folder; // in the home
        juce::File homeToUse;
    };

    const std::string usual = "# This file is written by xdg-user-dirs-update\n"
                              "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_MUSIC_DIR=\"$HOME/Music\"\n";
    std::string longEntry = "XDG_CONFIG_HOME="; // as long as a list may be
    while (longEntry.size() + 6 <= 65536)
        longEntry += "$HOME/";

    const Row rows[] {
        { "a FIFO", fifo, {}, ".config", shortHome },
        { "/dev/zero", "/dev/zero", {}, ".config", shortHome },
        { "the page map", "/proc/self/pagemap", {}, ".config", shortHome },
        { "the usual list", {}, usual, ".config", shortHome },
        { "an entry", {}, usual + "XDG_CONFIG_HOME=\"$HOME/settings\"\n", "settings", shortHome },
        { "CR LF, blanks, no quotes",
          {},
          "\r\n  XDG_CONFIG_HOME = $HOME/settings \r\n",
          "settings",
          shortHome },
        { "a missing folder first",
          {},
          "XDG_CONFIG_HOME=$HOME/no\nXDG_CONFIG_HOME=$HOME/settings",
          "settings",
          shortHome },
        { "only a missing folder", {}, "XDG_CONFIG_HOME=\"$HOME/no\"\n", ".config", shortHome },
        { "64 kB of $HOME under a long home", {}, longEntry, ".config", longHome },
    };

    testing_helpers::TimeLimit timeLimit (secondsToReturn);

    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.what);
        ASSERT_TRUE (list.deleteFile());

        if (row.linkTo.isNotEmpty())
        {
            ASSERT_TRUE (juce::File (row.linkTo).createSymbolicLink (list, true));
        }
        else
        {
            ASSERT_TRUE (list.replaceWithData (row.text.data(), row.text.size()));
        }

        setenv ("HOME", row.homeToUse.getFullPathName().toRawUTF8(), 1);
        const auto expected = row.homeToUse.getChildFile (row.folder);

        timeLimit.start (row.what);
        EXPECT_EQ (PresetFile::findFolder(), expected);

        // The framework's own look-up, for the lists it reads at once and in ordinary time.
        if (row.linkTo.isEmpty() && row.homeToUse == shortHome)
        {
            EXPECT_EQ (juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory),
                       expected)
                << "the framework's own look-up";
        }

        auto made = testing_helpers::makeProcessor (1, 2, 48000.0, 64);
        setOn (*made->presetButtonParameters[3], true);
        juce::AudioBuffer<float> buffer (2, 64);
        buffer.clear();
        testing_helpers::process (*made, buffer);
        EXPECT_FLOAT_EQ (normalised (*made->volumeParameter),
                         row.folder == std::string (".config") ? 0.3f : 0.6f);
    }

    setenv ("HOME", shortHome.getFullPathName().toRawUTF8(), 1);
}

TEST_F (PresetFileSafety, AFifoInPlaceOfThePresetFileDoesNotBlock)
{
    TemporaryHome::presetFolder().createDirectory();
    ASSERT_EQ (::mkfifo (presetFile (5).getFullPathName().toRawUTF8(), 0644), 0);
    click (5);
    runBlock();
    EXPECT_EQ (p().presetIndex, 5);
}

TEST_F (PresetFileSafety, DamagedAndHostileFilesLoadNothing)
{
    const std::string binary ("\x00\x01\xff\xfe\x80garbage\x00<STVLQX41presets", 30);
    std::string huge = "<STVLQX41presets volume=\"0.9\"" + std::string (300000, ' ') + "/>";
    std::string manyAttributes = "<STVLQX41presets volume=\"0.9\"";
    for (int i = 0; i < 2000; ++i)
        manyAttributes += " a" + std::to_string (i) + "=\"1\"";
    manyAttributes += "/>";

    const std::vector<std::pair<std::string, std::string>> cases {
        { "", "an empty file" },
        { "<a", "two characters" },
        { binary, "binary garbage" },
        { "<STVLQX41presets volume=\"0.9\"", "a truncated tag" },
        { "<STVLQX41presets volume=\"0.9/>", "an unmatched quote" },
        { "<STVLQX41presets volume=\"0.9\"><a></STVLQX41presets>", "unmatched tags" },
        { "<STVLQX41presets volume=\"0.9\" tuner=\"\xc3\"/>", "a cut UTF-8 sequence" },
        { "<STVLQX41presets volume=\"0.9\" tuner=\"\xed\xa0\x80\"/>", "an encoded surrogate" },
        { "<STVLQX41presets volume=\"0.9\" tuner=\"\xc0\xaf\"/>", "an overlong encoding" },
        { "<STVLQX41presets volume=\"0.9\" tuner=\"&#x1", "a cut hexadecimal reference" },
        { "<!DOCTYPE STVLQX41presets SYSTEM \"/dev/zero\"><STVLQX41presets volume=\"&z;\"/>",
          "an external entity" },
        { "<!DOCTYPE a [<!ENTITY a \"&a;&a;\">]><STVLQX41presets volume=\"&a;\"/>",
          "a recursive entity" },
        { nested (100000), "100000 nested elements" },
        { nested (64), "64 nested elements" },
        { huge, "300 kB of text" },
        { manyAttributes, "2000 attributes" },
        { "<other volume=\"0.9\"/>", "another root" },
        { "volume=\"0.9\"", "no element" },
        // Our files hold nothing but the element's attributes.
        { "<?xml version=\"1.0\"?>\n<!-- mine -->\n<STVLQX41presets\n  volume='0.25'\n/>\n",
          "a comment" },
        { "<STVLQX41presets volume=\"0.25\"><note>x &amp; y</note><a/><a/></STVLQX41presets>",
          "child elements" },
        { nested (30), "30 nested elements" },
    };

    int g = 0;
    for (const auto& [content, what] : cases)
        expectLoadsNothing (g++ % 30, content, what);
}

TEST_F (PresetFileSafety, HandEditedFilesStillLoad)
{
    const std::vector<std::pair<std::string, std::string>> cases {
        { "\xef\xbb\xbf<STVLQX41presets volume=\"0.25\"/>", "a UTF-8 byte-order mark" },
        { "<?xml version=\"1.0\"?>\n<STVLQX41presets\n  volume='0.25'\n/>\n",
          "single quotes and LF line ends" },
        { "<STVLQX41presets volume=\"0.25\"></STVLQX41presets>", "an end tag" },
        { "<STVLQX41presets volume=\"0.25\" volume=\"0.75\"/>", "a repeated attribute" },
    };

    int g = 0;
    for (const auto& [content, what] : cases)
    {
        SCOPED_TRACE (what);
        setNatural (*p().volumeParameter, 1.0f);
        writePresetText (g, content);
        click (g);
        runBlock();
        EXPECT_NEAR (p().volumeParameter->get(), 0.5f, 1.0e-6f);
        ++g;
    }
}

TEST_F (PresetFileSafety, Utf16FilesAreConvertedLikeTheFrameworkDoes)
{
    const juce::String text ("<STVLQX41presets volume=\"0.25\"/>");
    juce::MemoryOutputStream utf16;
    utf16.writeByte ((char) 0xff);
    utf16.writeByte ((char) 0xfe);
    for (auto c : text)
        utf16.writeShort ((short) c);

    writePresetBytes (3, utf16.getData(), utf16.getDataSize());
    click (3);
    runBlock();
    EXPECT_NEAR (p().volumeParameter->get(), 0.5f, 1.0e-6f);
}

TEST_F (PresetFileSafety, StoredValuesAreTakenOnlyAsNumbersWithinRange)
{
    setNatural (*p().volumeParameter, 1.4f);
    setNatural (*p().slotParameters[0], 3.0f);
    writePresetText (8, "<STVLQX41presets volume=\"nan\" tuner=\"7\" currentBank=\"-3\""
                        " PEDAL_BEFORE_SLOT0=\"1e999\" PEDAL0PEDAL_CHOR_PARAM_0=\"  0.25xyz\""
                        " PEDAL0PEDAL_CHOR_ONOFF_=\"-inf\"/>");
    click (8);
    runBlock();

    EXPECT_NEAR (p().volumeParameter->get(), 1.4f, 1.0e-6f) << "NaN keeps the current value";
    EXPECT_EQ (normalised (*p().tunerParameter), 1.0f) << "7 is limited to 1";
    EXPECT_EQ (p().bankParameter->get(), 0);
    EXPECT_EQ (p().slotParameters[0]->get(), 3) << "infinity keeps the current value";
    EXPECT_NEAR (normalised (*p().pedalUnits[0].knobParameters[0]), 0.25f, 1.0e-7f)
        << "the leading number is read, as the framework reads it";
    EXPECT_EQ (normalised (*p().pedalUnits[0].onOff), 0.0f);
}

TEST_F (PresetFileSafety, AFileInPlaceOfThePresetFolderStopsSavesQuietly)
{
    const auto folder = TemporaryHome::presetFolder();
    ASSERT_TRUE (folder.replaceWithText ("not a folder"));

    setNatural (*p().volumeParameter, 1.1f);
    saveInto (2);
    EXPECT_EQ (p().presetIndex, 2);
    EXPECT_FALSE (p().recordPresetParameter->get());
    EXPECT_EQ (folder.loadFileAsString(), "not a folder");

    click (3);
    runBlock();
    EXPECT_EQ (p().presetIndex, 3);
    EXPECT_NEAR (p().volumeParameter->get(), 1.1f, 1.0e-6f) << "nothing to load";
}

TEST_F (PresetFileSafety, TextsTheXmlParserNeverFinishesChangeNothingAndReturnAtOnce)
{
    // The framework's parser never returns from an element that holds a processing instruction
    // followed by more content. Each text goes into a state block (UTF-8) and into a preset file
    // (UTF-8, then UTF-16); {root} stands for the block's root, or the file's.
    const std::string header = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n";
    const std::vector<std::pair<std::string, std::string>> neverFinished {
        { "<a><?x?>0</a>", "the state block of 22 bytes" },
        { header + "<STVLQX41presets volume=\"0.3\"><?x?>0</STVLQX41presets>\r\n",
          "the preset file of A3" },
        { "<{root} volume=\"0.3\">\r\n  <?x?>\r\n  0\r\n</{root}>", "white space around" },
        { "<stvlqx41presets><?x?>0</stvlqx41presets>", "a lower-case preset root" },
        { "<stompvalesettings><?x?>0</stompvalesettings>", "a lower-case state root" },
        { "<{root}><!--c--><?x?><!--d-->0</{root}>", "comments around" },
        { "<{root}><![CDATA[t]]><?x?>0</{root}>", "CDATA before" },
        { "<{root}><?x?>&amp;</{root}>", "an entity after" },
        { "<{root}><a/><?x?>0<b/></{root}>", "elements around" },
        { "<{root}><?x?><?y?>0</{root}>", "a second instruction" },
        { "<{root}><a><?x?>0</a></{root}>", "inside a child element" },
        { "\xef\xbb\xbf<{root} volume='1'><?xml version=\"1.0\"?>t</{root}>  ",
          "a declaration inside, behind a byte-order mark" },
    };

    // And texts of the shape of our own, which still load: volume is 0.3 in each.
    const std::vector<std::pair<std::string, std::string>> ours {
        { header + "<{root} volume=\"0.3\"\r\n  tuner=\"nan\" currentBank='1e999'/>\r\n",
          "the header, CR LF, single quotes, odd numbers" },
        { " <{root}\tvolume = '0.3'x=\"&lt;&#38;&#x3e;\"></{root}>\n ",
          "an end tag and references" },
    };

    const auto withRoot = [] (std::string text, const std::string& root) {
        for (auto at = text.find ("{root}"); at != std::string::npos; at = text.find ("{root}"))
            text.replace (at, 6, root);
        return text;
    };

    const auto utf16 = [] (const std::string& text) {
        juce::MemoryOutputStream out;
        out.writeShort ((short) 0xfeff);
        for (auto c : juce::String::fromUTF8 (text.data(), (int) text.size()))
            out.writeShort ((short) c);
        return std::string (static_cast<const char*> (out.getData()), out.getDataSize());
    };

    testing_helpers::TimeLimit timeLimit (secondsToReturn);
    int g = 1; // the second text goes into A3's file

    for (const auto& [text, what] : neverFinished)
    {
        SCOPED_TRACE (what);
        timeLimit.start (what + ", state block");
        const auto block = blockAround (withRoot (text, "STOMPVALESETTINGS"));
        const auto before = snapshot (p());
        const int index = p().presetIndex;
        p().meterSampleCount = meterSentinel;
        p().setStateInformation (block.getData(), (int) block.getSize());
        EXPECT_TRUE (differences (before, snapshot (p())).empty()) << "state block";
        EXPECT_EQ (p().presetIndex, index) << "state block";
        EXPECT_EQ (p().meterSampleCount, meterSentinel) << "state block: no prepare or reset";

        timeLimit.start (what + ", UTF-8 file");
        expectLoadsNothing (g++, withRoot (text, "STVLQX41presets"), "UTF-8 file");
        timeLimit.start (what + ", UTF-16 file");
        expectLoadsNothing (g++, utf16 (withRoot (text, "STVLQX41presets")), "UTF-16 file");
    }

    for (const auto& [text, what] : ours)
    {
        SCOPED_TRACE (what);
        timeLimit.start (what);

        p().volumeParameter->setValueNotifyingHost (0.9f);
        const auto block = blockAround (withRoot (text, "stompvalesettings"));
        p().setStateInformation (block.getData(), (int) block.getSize());
        EXPECT_NEAR (normalised (*p().volumeParameter), 0.3f, 1.0e-6f) << "state block";

        p().volumeParameter->setValueNotifyingHost (0.9f);
        writePresetText (g, withRoot (text, "stvlqx41presets"));
        click (g++);
        runBlock();
        EXPECT_NEAR (normalised (*p().volumeParameter), 0.3f, 1.0e-6f) << "file";
    }
}

TEST_F (PresetFileSafety, KernelFilesWithoutAnEndLoadNothingAndReturnAtOnce)
{
    // Regular files of the proc file system report a size of 0: the kernel log (root only)
    // waits for the next message, and the page map of the process holds an entry for every page
    // of the address space (it refuses only reads whose length is not a multiple of 8). A device
    // that never ends stands beside them, and a sparse file of 4 GB that reports its true size,
    // which a reader without a limit would spend seconds and gigabytes on.
    std::vector<std::string> targets { "/proc/self/pagemap", "/dev/zero" };

    if (const int fd = ::open ("/proc/kmsg", O_RDONLY | O_NONBLOCK); fd >= 0)
    {
        ::close (fd);
        targets.push_back ("/proc/kmsg");
    }

    TemporaryHome::presetFolder().createDirectory();
    testing_helpers::TimeLimit timeLimit (secondsToReturn);
    int g = 0;

    for (const auto& target : targets)
    {
        SCOPED_TRACE (target);
        timeLimit.start (target);
        ASSERT_TRUE (juce::File (target).createSymbolicLink (presetFile (g), true));
        expectChoosingLoadsNothing (g++);
    }

    const int fd = ::open (presetFile (g).getFullPathName().toRawUTF8(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE (fd, 0);
    ASSERT_EQ (::ftruncate (fd, (off_t) 4 << 30), 0);
    ::close (fd);
    testing_helpers::TimeLimit atOnce (std::chrono::seconds (2)); // reading it all takes longer
    atOnce.start ("a sparse file of 4 GB");
    expectChoosingLoadsNothing (g);
}
