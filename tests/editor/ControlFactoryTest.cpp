// The controls the editor builds from the parameter list: one per parameter, in parameter order,
// each under its parent and drawn by its look.

#include "tests/editor/EditorTestAccess.h"

#include <functional>

using namespace editor_testing;

namespace
{
juce::String idOf (juce::AudioProcessorParameter* parameter)
{
    if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter))
        return withId->paramID;

    return {};
}

template <typename Look>
bool drawnBy (juce::Component& component)
{
    return dynamic_cast<Look*> (&component.getLookAndFeel()) != nullptr;
}

bool drawnByOneOfOurLooks (juce::Component& component)
{
    auto& look = component.getLookAndFeel();
    return dynamic_cast<PedalLookAndFeel*> (&look) != nullptr
           || dynamic_cast<CommandLookAndFeel*> (&look) != nullptr
           || dynamic_cast<TunerLookAndFeel*> (&look) != nullptr
           || dynamic_cast<PreviousLookAndFeel*> (&look) != nullptr
           || dynamic_cast<NextLookAndFeel*> (&look) != nullptr
           || dynamic_cast<SwapLookAndFeel*> (&look) != nullptr
           || dynamic_cast<ChangesLookAndFeel*> (&look) != nullptr;
}
} // namespace

using ControlFactoryTest = EditorTest;

TEST_F (ControlFactoryTest, ControlListHoldsOneControlPerParameterInParameterOrder)
{
    auto& e = openEditor();
    auto& list = Access::controlList (e);
    const auto& parameters = processor->getParameters();

    ASSERT_EQ (list.size(), 143);
    ASSERT_EQ (parameters.size(), 143);

    EXPECT_NE (dynamic_cast<juce::Slider*> (list[0]), nullptr);
    EXPECT_EQ (list[0]->getName(), "volume");
    EXPECT_EQ (list[1]->getName(), "tuner");
    EXPECT_EQ (list[2]->getName(), "presetboard");
    EXPECT_EQ (list[3]->getName(), "recordpreset");
    EXPECT_EQ (list[4], &Access::bankLabel (e));

    for (int j = 0; j < list.size(); ++j)
    {
        auto* control = list[j];
        auto* parameter = parameters[j];
        ASSERT_NE (control, nullptr) << "entry " << j;

        // Every control is named by its parameter's ID, so the pairing is visible by name.
        EXPECT_EQ (control->getName(), idOf (parameter)) << "entry " << j;

        if (dynamic_cast<juce::AudioParameterFloat*> (parameter) != nullptr)
            EXPECT_NE (dynamic_cast<juce::Slider*> (control), nullptr) << "entry " << j;
        else if (dynamic_cast<juce::AudioParameterBool*> (parameter) != nullptr)
            EXPECT_NE (dynamic_cast<juce::ToggleButton*> (control), nullptr) << "entry " << j;
        else
            EXPECT_NE (dynamic_cast<juce::Label*> (control), nullptr) << "entry " << j;
    }

    // The 30 preset buttons come after the pedals, the six position labels last; those labels
    // are never shown anywhere.
    for (int j = 107; j < 137; ++j)
        EXPECT_TRUE (idOf (parameters[j]).startsWith ("PRESET_BUTTON")) << "entry " << j;

    for (int j = 137; j < 143; ++j)
    {
        EXPECT_EQ (list[j]->getParentComponent(), nullptr) << "entry " << j;
        EXPECT_EQ (list[j]->getName(), "PEDAL_BEFORE_SLOT" + juce::String (j - 137));
    }
}

TEST_F (ControlFactoryTest, EachPedalHasItsKnobsAndFootswitchOnItsFace)
{
    auto& e = openEditor();

    for (int t = 0; t < 24; ++t)
    {
        auto& pedal = processor->pedalUnits[t];
        auto& face = Access::face (e, t);
        auto& knobs = Access::knobs (e, t);

        EXPECT_EQ (face.pedal, &pedal) << "pedal " << t;
        ASSERT_EQ (knobs.size(), pedal.numParams) << "pedal " << t;
        ASSERT_EQ (Access::footswitches (e, t).size(), 1) << "pedal " << t;

        for (int k = 0; k < knobs.size(); ++k)
        {
            auto* knob = knobs[k];
            EXPECT_EQ (knob->getName(), pedal.knobParameters[k]->paramID) << "pedal " << t;
            EXPECT_EQ (knob->getComponentID(), pedal.paramNames[k]) << "pedal " << t;
            EXPECT_EQ (knob->getParentComponent(), &face) << "pedal " << t << " knob " << k;
            EXPECT_EQ (knob->getSliderStyle(), juce::Slider::RotaryHorizontalVerticalDrag);
            EXPECT_EQ (knob->getTextBoxPosition(), juce::Slider::NoTextBox);
            EXPECT_DOUBLE_EQ (knob->getMinimum(), (double) 0.001f);
            EXPECT_DOUBLE_EQ (knob->getMaximum(), 1.0);
            EXPECT_TRUE (drawnBy<PedalLookAndFeel> (*knob));
        }

        auto* footswitch = Access::footswitches (e, t)[0];
        EXPECT_EQ (footswitch->getName(), pedal.onOff->paramID);
        EXPECT_EQ (footswitch->getParentComponent(), &face);
        EXPECT_TRUE (drawnBy<PedalLookAndFeel> (*footswitch));
    }

    // Pedal 0 is a vibrato/chorus with three knobs.
    EXPECT_EQ (Access::knobs (e, 0).size(), 3);
}

TEST_F (ControlFactoryTest, FixedControlsSitInTheirParentsWithTheirLooks)
{
    auto& e = openEditor();
    auto& content = Access::content (e);
    auto& board = Access::presetBoard (e);
    auto& list = Access::controlList (e);

    EXPECT_EQ (content.getParentComponent(), &e);
    EXPECT_EQ (Access::chainArea (e).getParentComponent(), &content);
    EXPECT_EQ (board.getParentComponent(), &content);
    EXPECT_EQ (Access::tunerSlider (e).getParentComponent(), &content);
    EXPECT_EQ (Access::tunerSlider (e).getComponentID(), "TunerVM");
    EXPECT_TRUE (drawnBy<TunerLookAndFeel> (Access::tunerSlider (e)));

    // Volume, tuner and board switches: on the content, in the framework's own drawing.
    for (int j = 0; j < 3; ++j)
    {
        EXPECT_EQ (list[j]->getParentComponent(), &content) << list[j]->getName();
        EXPECT_FALSE (drawnByOneOfOurLooks (*list[j])) << list[j]->getName();
    }

    EXPECT_EQ (static_cast<juce::Button*> (list[1])->getButtonText(), "Tuner");
    EXPECT_EQ (static_cast<juce::Button*> (list[2])->getButtonText(), "Board");
    EXPECT_EQ (Access::volumeCaption (e).getText(), "Volume");
    EXPECT_EQ (Access::volumeCaption (e).getParentComponent(), &content);
    EXPECT_EQ (Access::volumeCaption (e).getAttachedComponent(), list[0]);

    // "Save Preset" lies on the board, not on the content.
    EXPECT_EQ (list[3]->getParentComponent(), &board);
    EXPECT_TRUE (drawnBy<PedalLookAndFeel> (*list[3]));

    EXPECT_EQ (Access::bankLabel (e).getParentComponent(), &board);
    EXPECT_EQ (Access::bankLabel (e).getBounds(), juce::Rectangle<int> (270, 10, 100, 200));
    EXPECT_TRUE (drawnBy<PedalLookAndFeel> (Access::bankLabel (e)));

    for (auto* button : { &Access::bankUp (e), &Access::bankDown (e) })
    {
        EXPECT_EQ (button->getParentComponent(), &board);
        EXPECT_TRUE (drawnBy<PedalLookAndFeel> (*button));
        EXPECT_EQ (button->findColour (juce::ToggleButton::textColourId),
                   juce::Colour (0xff4b3062));
    }

    EXPECT_EQ (Access::bankUp (e).getButtonText(), "UP");
    EXPECT_EQ (Access::bankDown (e).getButtonText(), "DOWN");

    for (auto* meter : { &Access::levelIn (e), &Access::levelOut (e) })
    {
        EXPECT_EQ (meter->getParentComponent(), &board);
        EXPECT_EQ (meter->getComponentID(), "In");
        EXPECT_EQ (meter->getSliderStyle(), juce::Slider::LinearVertical);
        EXPECT_TRUE (drawnBy<CommandLookAndFeel> (*meter));
        EXPECT_EQ (list.indexOf (meter), -1);
    }

    EXPECT_EQ (Access::websiteLink (e).getParentComponent(), &content);
    EXPECT_EQ (Access::donationLink (e).getParentComponent(), &content);

    // Preset button k on page k / 10.
    auto& presets = Access::presetButtons (e);
    ASSERT_EQ (presets.size(), 30);

    for (int k = 0; k < 30; ++k)
    {
        EXPECT_EQ (presets[k]->getParentComponent(), &Access::presetPage (e, k / 10)) << k;
        EXPECT_EQ (presets[k]->getButtonText(), processor->presetButtonParameters[k]->name) << k;
        EXPECT_TRUE (drawnBy<PedalLookAndFeel> (*presets[k]));
    }

    EXPECT_EQ (presets[12]->getButtonText(), "B2");
}

TEST_F (ControlFactoryTest, ChainPositionsHoldTheirThreeButtonsAndSwapButtonsSitBetween)
{
    auto& e = openEditor();
    auto& chain = Access::chainArea (e);

    for (int k = 0; k < 6; ++k)
    {
        auto& position = Access::slot (e, k);
        const auto n = juce::String (k + 1);
        ASSERT_GE (position.getNumChildComponents(), 3) << "position " << k;
        EXPECT_EQ (position.getChildComponent (0)->getName(), "PREVB" + n);
        EXPECT_EQ (position.getChildComponent (1)->getName(), "NEXTB" + n);
        EXPECT_EQ (position.getChildComponent (2)->getName(), "CHANGEB" + n);
        EXPECT_EQ (position.getParentComponent(), &chain);

        EXPECT_TRUE (drawnBy<PreviousLookAndFeel> (*Access::previousButton (e, k)));
        EXPECT_TRUE (drawnBy<NextLookAndFeel> (*Access::nextButton (e, k)));
        EXPECT_TRUE (drawnBy<ChangesLookAndFeel> (*Access::changeButton (e, k)));
        EXPECT_EQ (Access::nextButton (e, k)->getButtonText(), "NEXTB" + n);
    }

    // SWAPB1, position 0, SWAPB2, position 1, ..., position 5: no swap button after the last.
    ASSERT_EQ (chain.getNumChildComponents(), 11);

    for (int k = 0; k < 5; ++k)
    {
        EXPECT_EQ (chain.getChildComponent (2 * k)->getName(), "SWAPB" + juce::String (k + 1));
        EXPECT_EQ (chain.getChildComponent (2 * k + 1), &Access::slot (e, k));
        EXPECT_TRUE (drawnBy<SwapLookAndFeel> (*Access::swapButton (e, k)));
    }

    EXPECT_EQ (chain.getChildComponent (10), &Access::slot (e, 5));
}

TEST_F (ControlFactoryTest, EmptyPositionsHoldNoFaceAndPlacedPedalsShowTheirs)
{
    setSlot (0, 3);
    setSlot (2, 17);
    auto& e = openEditor();

    EXPECT_EQ (faceIn (0), &Access::face (e, 3));
    EXPECT_EQ (faceIn (1), nullptr);
    EXPECT_EQ (Access::slot (e, 1).getNumChildComponents(), 3);
    EXPECT_EQ (faceIn (2), &Access::face (e, 17));
    EXPECT_EQ (Access::face (e, 5).getParentComponent(), nullptr);
}

TEST_F (ControlFactoryTest, APedalNamedByTwoPositionsShowsOnlyInTheLaterOne)
{
    setSlot (1, 9);
    setSlot (4, 9);
    auto& e = openEditor();

    EXPECT_EQ (faceIn (1), nullptr);
    EXPECT_EQ (faceIn (4), &Access::face (e, 9));

    // And again after a layout pass.
    e.resized();
    EXPECT_EQ (faceIn (1), nullptr);
    EXPECT_EQ (faceIn (4), &Access::face (e, 9));
}

TEST_F (ControlFactoryTest, OpeningShowsTheCurrentBankSwitchesAndBoard)
{
    {
        setBank (1);
        auto& e = openEditor();
        auto& board = Access::presetBoard (e);
        EXPECT_EQ (Access::bankLabel (e).getText(), "B");
        EXPECT_EQ (Access::presetPage (e, 1).getParentComponent(), &board);
        EXPECT_EQ (Access::presetPage (e, 0).getParentComponent(), nullptr);
        EXPECT_EQ (Access::presetPage (e, 2).getParentComponent(), nullptr);
        EXPECT_FALSE (Access::tunerSlider (e).isVisible()) << "tuner off";
        EXPECT_FALSE (board.isVisible()) << "board off";
        EXPECT_FALSE (Access::presetBoardShown (e));
        EXPECT_FALSE (e.stateRestored.load());
    }

    setBank (2);
    testing_helpers::setOn (*processor->tunerParameter, true);
    testing_helpers::setOn (*processor->presetBoardParameter, true);
    auto& e = openEditor();
    EXPECT_EQ (Access::bankLabel (e).getText(), "C");
    EXPECT_TRUE (Access::tunerSlider (e).isVisible()) << "tuner on";
    EXPECT_TRUE (Access::presetBoard (e).isVisible()) << "board on";
    EXPECT_TRUE (Access::presetBoardShown (e));
    EXPECT_TRUE (static_cast<juce::Button*> (Access::controlList (e)[1])->getToggleState());
}

TEST_F (ControlFactoryTest, BankThreeReadsDAndShowsNoPresetPage)
{
    // The bank parameter admits 3, but only banks A to C have buttons: the board shows the
    // letter and no page, rather than reading past the three pages.
    setBank (3);
    auto& e = openEditor();

    EXPECT_EQ (Access::bankLabel (e).getText(), "D");
    EXPECT_EQ (Access::shownBank (e), 3);

    for (int b = 0; b < 3; ++b)
        EXPECT_EQ (Access::presetPage (e, b).getParentComponent(), nullptr) << "page " << b;
}

TEST (BankLetter, FollowsTheLetterTableAndStaysInsideIt)
{
    using Editor = StompvaleAudioProcessorEditor;
    EXPECT_EQ (Editor::bankLetterFor (-5), "A");
    EXPECT_EQ (Editor::bankLetterFor (0), "A");
    EXPECT_EQ (Editor::bankLetterFor (2), "C");
    EXPECT_EQ (Editor::bankLetterFor (3), "D");
    EXPECT_EQ (Editor::bankLetterFor (16), "Q");
    EXPECT_EQ (Editor::bankLetterFor (17), "");
    EXPECT_EQ (Editor::bankLetterFor (1000), "");

    EXPECT_EQ (Editor::pageForBank (0), 0);
    EXPECT_EQ (Editor::pageForBank (2), 2);
    EXPECT_EQ (Editor::pageForBank (3), -1);
    EXPECT_EQ (Editor::pageForBank (-1), -1);
}

TEST_F (ControlFactoryTest, EveryCustomLookIsRecordedForDetachingAndEditorsComeAndGo)
{
    auto& e = openEditor();
    auto& users = Access::lookAndFeelUsers (e);

    int customLooks = 0;
    std::function<void (juce::Component&)> visit = [&] (juce::Component& c) {
        // Only looks set on the component itself, not those it inherits from its parent
        // (a slider's text box, for instance).
        auto* parent = c.getParentComponent();
        const auto inherited =
            parent != nullptr && &parent->getLookAndFeel() == &c.getLookAndFeel();

        if (drawnByOneOfOurLooks (c) && ! inherited)
        {
            ++customLooks;
            EXPECT_TRUE (users.contains (&c)) << c.getName();
        }

        for (auto* child : c.getChildren())
            visit (*child);
    };

    // Faces out of the chain and pages not shown are not reachable from the editor; visit them too.
    visit (e);

    for (int t = 0; t < 24; ++t)
        if (Access::face (e, t).getParentComponent() == nullptr)
            visit (Access::face (e, t));

    for (int b = 0; b < 3; ++b)
        if (Access::presetPage (e, b).getParentComponent() == nullptr)
            visit (Access::presetPage (e, b));

    // 1 tuner + 2 bank + 2 meters + knobs + 24 footswitches + 30 presets + save + label
    // + 18 chain buttons + 5 swaps, plus the two main toggles, which keep the default look.
    int knobs = 0;
    for (int t = 0; t < 24; ++t)
        knobs += processor->pedalUnits[t].numParams;

    EXPECT_EQ (customLooks, 1 + 2 + 2 + knobs + 24 + 30 + 1 + 1 + 18 + 5);
    EXPECT_EQ (users.size(), customLooks + 2);

    // Closing and opening again over the same processor: every look was let go first.
    openEditor();
    openEditor();
    EXPECT_EQ (Access::controlList (*editor).size(), 143);
}

TEST_F (ControlFactoryTest, ParametersOfNoKnownKindKeepTheListAligned)
{
    // Not in the plug-in's own set: a float of no recognised ID, and a knob whose label names a
    // pedal that does not exist. Each holds its place with an empty entry that the refresh and
    // the listeners pass over.
    using Float = juce::AudioParameterFloat;
    const juce::NormalisableRange<float> range (0.0f, 1.0f);
    processor->addParameter (
        new Float (juce::ParameterID { "mystery", 1 }, "Mystery", range, 0.5f));
    processor->addParameter (new Float (juce::ParameterID { "PEDAL99X_PARAM_0", 1 }, "Ghost", range,
                                        0.5f,
                                        juce::AudioParameterFloatAttributes().withLabel ("99")));

    auto& e = openEditor();
    auto& list = Access::controlList (e);
    ASSERT_EQ (list.size(), 145);
    EXPECT_EQ (list[143], nullptr);
    EXPECT_EQ (list[144], nullptr);
    EXPECT_EQ (list[142]->getName(), "PEDAL_BEFORE_SLOT5");

    testing_helpers::setNatural (*processor->volumeParameter, 0.25f);
    Access::tick (e);
    EXPECT_NEAR (static_cast<juce::Slider*> (list[0])->getValue(), 0.25, 1.0e-6);
}
