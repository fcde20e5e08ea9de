#pragma once

#include "helpers/ProcessorFixture.h"

#include "engine/presets/PresetFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <stdlib.h>
#include <sys/stat.h>

namespace state_testing
{
/** Points HOME at a fresh temporary folder for the life of the object, so that the preset files
    (in ~/.config on Linux, where the folder is looked up in no XDG variable but only in
    ~/.config/user-dirs.dirs) never touch the real ones. The folder is traversable by everyone,
    which the unwritable-folder tests need. */
class TemporaryHome
{
public:
    TemporaryHome()
    {
        auto pattern = (std::filesystem::temp_directory_path() / "stompvale-home-XXXXXX").string();

        if (mkdtemp (pattern.data()) == nullptr)
            return;

        path = pattern;
        ::chmod (path.c_str(), 0755);

        if (const char* old = getenv ("HOME"))
            oldHome = std::make_unique<std::string> (old);

        setenv ("HOME", path.c_str(), 1);
    }

    ~TemporaryHome()
    {
        if (oldHome != nullptr)
            setenv ("HOME", oldHome->c_str(), 1);
        else
            unsetenv ("HOME");

        if (path.empty())
            return;

        // Undo what the unwritable-folder tests may have left, then remove everything.
        std::error_code error;
        for (auto& entry : std::filesystem::recursive_directory_iterator (path, error))
            if (entry.is_directory (error))
                std::filesystem::permissions (entry.path(), std::filesystem::perms::owner_all,
                                              std::filesystem::perm_options::add, error);

        std::filesystem::remove_all (path, error);
    }

    /** True when the preset folder lies inside the temporary home. */
    bool isInUse() const
    {
        return ! path.empty() && presetFolder().isAChildOf (juce::File (juce::String (path)));
    }

    static juce::File presetFolder() { return PresetFile::findFolder(); }

private:
    std::string path;
    std::unique_ptr<std::string> oldHome;

    JUCE_DECLARE_NON_COPYABLE (TemporaryHome)
};

/** Counts the parameter changes a processor reports to the host, by index. */
class ChangeCounter final : public juce::AudioProcessorListener
{
public:
    explicit ChangeCounter (juce::AudioProcessor& p) : processor (p), counts ((size_t) 143, 0)
    {
        processor.addListener (this);
    }

    ~ChangeCounter() override { processor.removeListener (this); }

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float) override
    {
        if (index >= 0 && index < (int) counts.size())
            ++counts[(size_t) index];
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    int total() const
    {
        int sum = 0;
        for (auto c : counts)
            sum += c;
        return sum;
    }

    juce::AudioProcessor& processor;
    std::vector<int> counts;
};

/** A parameter's normalised value (the parameter classes hide getValue). */
inline float normalised (const juce::AudioProcessorParameter& parameter)
{
    return parameter.getValue();
}

/** Every parameter's normalised value, in parameter order. */
inline std::vector<float> snapshot (const juce::AudioProcessor& processor)
{
    std::vector<float> values;
    for (auto* parameter : processor.getParameters())
        values.push_back (parameter->getValue());
    return values;
}

inline juce::String idOf (const juce::AudioProcessorParameter* parameter)
{
    return dynamic_cast<const juce::AudioProcessorParameterWithID*> (parameter)->paramID;
}

/** Indices at which two snapshots differ. */
inline std::vector<int> differences (const std::vector<float>& a, const std::vector<float>& b)
{
    std::vector<int> indices;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (! (a[i] == b[i]) && ! (std::isnan (a[i]) && std::isnan (b[i])))
            indices.push_back ((int) i);
    return indices;
}

/** Index of a parameter in the registration order, by ID. */
inline int indexOf (const juce::AudioProcessor& processor, const juce::String& id)
{
    const auto& parameters = processor.getParameters();
    for (int i = 0; i < parameters.size(); ++i)
        if (idOf (parameters[i]) == id)
            return i;
    return -1;
}

/** The processor's state block. */
inline juce::MemoryBlock stateOf (StompvaleAudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

/** A block in the state layout around any text: magic, length word, text and, unless left out,
    the zero byte. */
inline juce::MemoryBlock blockAround (const std::string& text, uint32_t length, bool zeroByte)
{
    juce::MemoryOutputStream out;
    out.writeInt (0x21324356);
    out.writeInt ((int) length);
    out.write (text.data(), text.size());
    if (zeroByte)
        out.writeByte (0);
    return out.getMemoryBlock();
}

inline juce::MemoryBlock blockAround (const std::string& text)
{
    return blockAround (text, (uint32_t) text.size(), true);
}

/** The XML text of a block written by getStateInformation. */
inline std::string textOfBlock (const juce::MemoryBlock& block)
{
    return std::string (static_cast<const char*> (block.getData()) + 8, block.getSize() - 9);
}

/** Where preset presetNumber is kept: in the folder a processor made now would use. */
inline juce::File presetFile (int presetNumber)
{
    return TemporaryHome::presetFolder().getChildFile (PresetFile::fileName (presetNumber));
}

/** Writes a preset file's bytes as they are, creating the folder. */
inline void writePresetBytes (int presetNumber, const void* data, size_t size)
{
    const auto file = presetFile (presetNumber);
    file.getParentDirectory().createDirectory();
    file.replaceWithData (data, size);
}

inline void writePresetText (int presetNumber, const std::string& text)
{
    writePresetBytes (presetNumber, text.data(), text.size());
}

inline juce::MemoryBlock readBytes (const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData (block);
    return block;
}

/** Files in the preset folder other than the 30 preset files (temporary leftovers). */
inline juce::StringArray strayFiles()
{
    juce::StringArray names;
    const juce::RangedDirectoryIterator entries (TemporaryHome::presetFolder(), false, "*",
                                                 juce::File::findFilesAndDirectories);
    for (const auto& entry : entries)
    {
        const auto name = entry.getFile().getFileName();
        bool isPreset = false;
        for (int g = 0; g < PresetFile::numPresets; ++g)
            isPreset = isPreset || name == PresetFile::fileName (g);
        if (! isPreset)
            names.add (name);
    }
    return names;
}

/** A processor in a temporary home, run block by block. */
class PresetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE (home.isInUse()) << "the preset folder must lie in the temporary home, not in "
                                     << TemporaryHome::presetFolder().getFullPathName();
        processor = testing_helpers::makeProcessor (1, 2, 48000.0, 64);
    }

    void TearDown() override { processor.reset(); }

    StompvaleAudioProcessor& p() { return *processor; }

    void runBlock (int samples = 64)
    {
        juce::AudioBuffer<float> buffer (2, samples);
        buffer.clear();
        testing_helpers::process (*processor, buffer);
    }

    juce::AudioParameterBool& button (int g) { return *processor->presetButtonParameters[g]; }

    /** Clicks preset button g with "Save Preset" on and runs a block: a click on the current
        preset switches its button off, any other click switches it on. */
    void saveInto (int g)
    {
        testing_helpers::setOn (*processor->recordPresetParameter, true);
        click (g);
        runBlock();
    }

    /** What the preset board's button does: switches the current preset's button off, any
        other one on. */
    void click (int g)
    {
        const bool isCurrent = g == processor->presetIndex && button (g).get();
        testing_helpers::setOn (button (g), ! isCurrent);
    }

    std::vector<int> buttonsOn()
    {
        std::vector<int> on;
        for (int g = 0; g < StompvaleAudioProcessor::numPresets; ++g)
            if (button (g).get())
                on.push_back (g);
        return on;
    }

    TemporaryHome home;
    std::unique_ptr<StompvaleAudioProcessor> processor;
};
} // namespace state_testing
