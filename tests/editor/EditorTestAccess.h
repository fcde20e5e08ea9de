#pragma once

#include "editor/StompvaleAudioProcessorEditor.h"
#include "helpers/ProcessorFixture.h"

#include <gtest/gtest.h>

#include <memory>

/** Reaches into the editor for the tests: its members and its private listener overrides. */
struct StompvaleEditorTestAccess
{
    using Editor = StompvaleAudioProcessorEditor;

    static juce::Array<juce::Component*>& controlList (Editor& e) { return e.controlList; }
    static juce::Array<juce::Component*>& lookAndFeelUsers (Editor& e)
    {
        return e.lookAndFeelUsers;
    }
    static juce::Component& content (Editor& e) { return e.contentComponent; }
    static juce::Component& chainArea (Editor& e) { return e.chainArea; }
    static juce::Component& presetBoard (Editor& e) { return e.presetBoard; }
    static juce::Component& presetPage (Editor& e, int b) { return e.presetPages[b]; }
    static juce::Component& slot (Editor& e, int k) { return e.slotContainers[k]; }
    static PedalNewComponent& face (Editor& e, int t) { return e.pedalFaces[t]; }
    static juce::Slider& tunerSlider (Editor& e) { return e.tunerSlider; }
    static juce::Slider& levelIn (Editor& e) { return *e.levelInSlider; }
    static juce::Slider& levelOut (Editor& e) { return *e.levelOutSlider; }
    static juce::Label& bankLabel (Editor& e) { return *e.bankLabel; }
    static juce::Label& volumeCaption (Editor& e) { return e.volumeCaption; }
    static juce::OwnedArray<juce::Slider>& knobs (Editor& e, int t) { return e.knobSliders[t]; }
    static juce::OwnedArray<juce::ToggleButton>& footswitches (Editor& e, int t)
    {
        return e.footswitchButtons[t];
    }
    static juce::OwnedArray<juce::Slider>& namedSliders (Editor& e) { return e.namedSliders; }
    static juce::OwnedArray<juce::ToggleButton>& namedButtons (Editor& e) { return e.namedButtons; }
    static juce::OwnedArray<juce::ToggleButton>& presetButtons (Editor& e)
    {
        return e.presetButtons;
    }
    static juce::OwnedArray<juce::Label>& parameterLabels (Editor& e) { return e.parameterLabels; }
    static juce::ToggleButton& bankUp (Editor& e) { return *e.bankUpButton; }
    static juce::ToggleButton& bankDown (Editor& e) { return *e.bankDownButton; }
    static juce::HyperlinkButton& websiteLink (Editor& e) { return e.websiteLink; }
    static juce::HyperlinkButton& donationLink (Editor& e) { return e.donationLink; }
    static int shownBank (Editor& e) { return e.shownBank; }
    static bool presetBoardShown (Editor& e) { return e.presetBoardShown; }

    static juce::ToggleButton* previousButton (Editor& e, int k)
    {
        return e.slotButtons.previous[k][0];
    }
    static juce::ToggleButton* nextButton (Editor& e, int k) { return e.slotButtons.next[k][0]; }
    static juce::ToggleButton* changeButton (Editor& e, int k)
    {
        return e.slotButtons.change[k][0];
    }
    static juce::ToggleButton* swapButton (Editor& e, int k) { return e.slotButtons.swap[k][0]; }

    static void tick (Editor& e) { e.timerCallback(); }
    static void sliderMoved (Editor& e, juce::Slider& s) { e.sliderValueChanged (&s); }
};

namespace editor_testing
{
using Access = StompvaleEditorTestAccess;

/** A processor made in the test and an editor opened on it, as a host would: the editor is
    closed before the processor dies. */
class EditorTest : public ::testing::Test
{
protected:
    void SetUp() override { processor = testing_helpers::makeProcessor(); }

    void TearDown() override
    {
        editor.reset();
        processor.reset();
    }

    StompvaleAudioProcessorEditor& openEditor()
    {
        editor.reset();
        editor.reset (static_cast<StompvaleAudioProcessorEditor*> (processor->createEditor()));
        return *editor;
    }

    /** Sets a chain position as the host would: heard at once, shown at the next layout. */
    void setSlot (int slot, int pedal)
    {
        testing_helpers::setNatural (*processor->slotParameters[slot], (float) pedal);
    }

    int slotValue (int slot) const { return processor->slotParameters[slot]->get(); }

    void setBank (int bank)
    {
        testing_helpers::setNatural (*processor->bankParameter, (float) bank);
    }

    /** The face shown in a chain position, or nullptr: its child after the three buttons. */
    PedalNewComponent* faceIn (int slot) const
    {
        auto& position = Access::slot (*editor, slot);

        if (position.getNumChildComponents() <= 3)
            return nullptr;

        return dynamic_cast<PedalNewComponent*> (position.getChildComponent (3));
    }

    /** What a mouse click does to a toggle button: flip it and tell the listeners at once. */
    static void click (juce::Button& button)
    {
        button.setToggleState (! button.getToggleState(), juce::sendNotificationSync);
    }

    std::unique_ptr<StompvaleAudioProcessor> processor;
    std::unique_ptr<StompvaleAudioProcessorEditor> editor;
};

/** Counts the parameter changes reported to the host. */
struct HostNotificationCounter : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float) override
    {
        ++count;
        lastIndex = index;
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    int count = 0;
    int lastIndex = -1;
};

inline juce::String rectText (juce::Rectangle<int> r) { return r.toString(); }
} // namespace editor_testing
