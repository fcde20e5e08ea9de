#include "engine/StompvaleAudioProcessor.h"

#include "editor/StompvaleAudioProcessorEditor.h"
#include "engine/presets/ParameterSetXml.h"
#include "engine/presets/PresetFile.h"
#include "engine/presets/UntrustedXml.h"

// The preset manager and the host state block.

namespace
{
constexpr const char* stateTag = "STOMPVALESETTINGS";

constexpr uint32_t stateMagic = 0x21324356; // "VC2!" read as a little-endian word
constexpr int stateHeaderBytes = 8;         // magic and length word

//==================================================================================================
// juce::AudioProcessor keeps the lock that guards its active-editor pointer private, and
// getActiveEditor() lets go of it before it returns. The wrappers call editorBeingDeleted(), which
// takes that lock, before they delete the editor, so an editor found while the lock is held lives
// at least until the lock is released. An explicit instantiation may name a private member
// ([temp.explicit]), which is how the member pointer below is obtained.
struct ActiveEditorLockTag
{
    using Type = juce::CriticalSection juce::AudioProcessor::*;
};

ActiveEditorLockTag::Type memberPointer (ActiveEditorLockTag);

template <typename Tag, typename Tag::Type member>
struct PrivateMember
{
    friend typename Tag::Type memberPointer (Tag) { return member; }
};

template struct PrivateMember<ActiveEditorLockTag, &juce::AudioProcessor::activeEditorLock>;

/** Raises the open editor's stateRestored flag, written while the editor cannot be deleted.
    Any thread; takes the framework's editor lock (a recursive one) for the look-up and the
    write. */
void raiseStateRestoredFlag (juce::AudioProcessor& processor)
{
    const juce::ScopedLock editorLock (processor.*memberPointer (ActiveEditorLockTag {}));

    if (auto* editor = dynamic_cast<StompvaleAudioProcessorEditor*> (processor.getActiveEditor()))
        editor->stateRestored = true;
}

bool isOn (const juce::AudioParameterBool* parameter) { return parameter->get(); }

void switchOff (juce::AudioParameterBool* parameter) { parameter->setValueNotifyingHost (0.0f); }

/** Highest-numbered preset button that is on, or -1. */
int highestButtonOn (const StompvaleAudioProcessor& processor)
{
    int highest = -1;

    for (int g = 0; g < StompvaleAudioProcessor::numPresets; ++g)
        if (isOn (processor.presetButtonParameters[g]))
            highest = g;

    return highest;
}

/** The XML text of a state block, or nullptr when the block is not one of ours: fewer than 9
    bytes, another magic, or a length word of 0 or less (as a signed number). The text is the
    first min (length, size - 8) bytes after the header, up to the first zero byte. */
std::unique_ptr<juce::XmlElement> parseStateBlock (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= stateHeaderBytes)
        return {};

    if (juce::ByteOrder::littleEndianInt (data) != stateMagic)
        return {};

    const auto* lengthWord = juce::addBytesToPointer (data, 4);
    const auto length = (int32_t) juce::ByteOrder::littleEndianInt (lengthWord);

    if (length <= 0)
        return {};

    const auto available = sizeInBytes - stateHeaderBytes;
    return UntrustedXml::parse (static_cast<const char*> (data) + stateHeaderBytes,
                                (size_t) juce::jmin (available, (int) length));
}

//==================================================================================================
juce::File presetFileOf (const StompvaleAudioProcessor& processor, int presetNumber)
{
    return processor.presetFolder.getChildFile (PresetFile::fileName (presetNumber));
}

void savePreset (StompvaleAudioProcessor& processor, int presetNumber)
{
    switchOff (processor.recordPresetParameter);

    // A failed save is not reported anywhere; the former file stays as it was.
    const auto element = ParameterSetXml::createElement (processor, PresetFile::rootTag);
    PresetFile::write (*element, presetFileOf (processor, presetNumber));
}

void loadPreset (StompvaleAudioProcessor& processor, int presetNumber)
{
    const auto element = PresetFile::read (presetFileOf (processor, presetNumber));

    if (element == nullptr)
        return;

    // A file carries the settings, not the selection: its preset buttons are left as they are,
    // so a file copied or moved into another slot loads there, once, and the pressed button
    // stays the only one on.
    ParameterSetXml::restore (*element, processor, ParameterSetXml::Scope::skipPresetSwitches);
    raiseStateRestoredFlag (processor);
    processor.prepareToPlay (processor.getSampleRate(), processor.lastBlockSize);
    processor.reset();

    if (isOn (processor.recordPresetParameter))
        switchOff (processor.recordPresetParameter);
}
} // namespace

//==================================================================================================
void StompvaleAudioProcessor::updatePresets()
{
    // Render thread, first thing in every block. Without a new selection this only compares
    // the 30 buttons with presetIndex: no file, no allocation, no parameter write.
    int selected = -1;

    for (int g = 0; g < numPresets; ++g)
    {
        auto* button = presetButtonParameters[g];
        const bool on = isOn (button);

        if ((on && g != presetIndex) || (g == presetIndex && ! on))
        {
            for (int k = 0; k < numPresets; ++k)
                if (k != g && isOn (presetButtonParameters[k]))
                    switchOff (presetButtonParameters[k]);

            presetIndex = g;
            selected = g;

            if (isOn (recordPresetParameter))
                savePreset (*this, g);
            else
                loadPreset (*this, g);
        }

        if (selected >= 0 && ! isOn (presetButtonParameters[selected]))
            presetButtonParameters[selected]->setValueNotifyingHost (1.0f);
    }
}

//==================================================================================================
void StompvaleAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    // Host's thread, no lock: each value is read once, whole.
    const auto element = ParameterSetXml::createElement (*this, stateTag);
    copyXmlToBinary (*element, destData);
}

void StompvaleAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    // Parsed before the render thread is held up; a block that is not ours changes nothing.
    const auto element = parseStateBlock (data, sizeInBytes);

    if (element == nullptr)
        return;

    const bool isOurs = element->hasTagName (stateTag);

    // Held from the first parameter set through reset(), so that no block runs on a half
    // restored setting and reset() never clears a pedal while it is processing.
    const juce::ScopedLock renderLock (getCallbackLock());

    if (isOurs)
        ParameterSetXml::restore (*element, *this, ParameterSetXml::Scope::everyParameter);

    raiseStateRestoredFlag (*this);

    // The highest button that is on becomes current, so that the next block does not take it for
    // a new selection and load its file over the restored setting.
    const int highest = highestButtonOn (*this);

    if (highest >= 0)
    {
        presetIndex = highest;

        // A lower button also on is selected by the next block. That is no choice of the user's,
        // so it must not save the restored setting over the lower preset's file: it loads it
        // instead, which leaves "Save Preset" off just as a load under "Save Preset" does.
        if (isOurs && isOn (recordPresetParameter))
        {
            for (int g = 0; g < highest; ++g)
            {
                if (isOn (presetButtonParameters[g]))
                {
                    switchOff (recordPresetParameter);
                    break;
                }
            }
        }
    }
    else if (isOurs)
    {
        // A restored setting with no preset selected has no current preset either; keeping the
        // former number would make the next block reload that preset over the restored setting,
        // or, with "Save Preset" on, write the restored setting into its file.
        presetIndex = noPreset;
    }

    prepareToPlay (getSampleRate(), lastBlockSize);
    reset();
}
