// The 33 ms refresh from the engine, and what the user's gestures write: knobs, switches, the
// chain-editing buttons and the bank buttons.

#include "tests/editor/EditorTestAccess.h"

using namespace editor_testing;

using RefreshTest = EditorTest;
using ChainButtonTest = EditorTest;

TEST_F (RefreshTest, TickCopiesEveryParameterAndReadingIntoTheControls)
{
    auto& e = openEditor();
    HostNotificationCounter counter;

    auto& pedal = processor->pedalUnits[3];
    testing_helpers::setNatural (*processor->volumeParameter, 1.5f);
    testing_helpers::setNatural (*pedal.knobParameters[1], 0.25f);
    testing_helpers::setOn (*pedal.onOff, true);
    testing_helpers::setOn (*processor->presetButtonParameters[17], true);
    testing_helpers::setOn (*processor->recordPresetParameter, true);
    testing_helpers::setOn (*processor->tunerParameter, true);
    processor->inputLevel = 42.0f;
    processor->outputLevel = 250.0f;
    processor->tunerDeviation = -12.0f;
    processor->tunerNoteName.setNote (13); // "C" (note-table entry 13 is C)

    processor->addListener (&counter);
    Access::tick (e);
    processor->removeListener (&counter);

    auto& list = Access::controlList (e);
    EXPECT_NEAR (static_cast<juce::Slider*> (list[0])->getValue(), 1.5, 1.0e-6);
    EXPECT_NEAR (Access::knobs (e, 3)[1]->getValue(), 0.25, 1.0e-6);
    EXPECT_TRUE (Access::footswitches (e, 3)[0]->getToggleState());
    EXPECT_TRUE (Access::presetButtons (e)[17]->getToggleState());
    EXPECT_FALSE (Access::presetButtons (e)[16]->getToggleState());
    EXPECT_TRUE (static_cast<juce::Button*> (list[3])->getToggleState()) << "recordpreset";
    EXPECT_TRUE (static_cast<juce::Button*> (list[1])->getToggleState()) << "tuner toggle";

    // The tuner toggle moved, but only a click on it shows the meter.
    EXPECT_FALSE (Access::tunerSlider (e).isVisible());

    EXPECT_NEAR (Access::levelIn (e).getValue(), 42.0, 1.0e-6);
    EXPECT_NEAR (Access::levelOut (e).getValue(), 100.0, 1.0e-6) << "the range bounds the meter";
    EXPECT_NEAR (Access::tunerSlider (e).getValue(), -12.0, 1.0e-6);
    EXPECT_EQ (Access::tunerSlider (e).getName(), "C");

    // Nothing goes back to the host from a refresh.
    EXPECT_EQ (counter.count, 0);

    processor->tunerNoteName.setNote (-1);
    Access::tick (e);
    EXPECT_EQ (Access::tunerSlider (e).getName(), "");
}

TEST_F (RefreshTest, StateRestoredLaysTheChainOutAgainAndIsCleared)
{
    auto& e = openEditor();
    EXPECT_EQ (faceIn (0), nullptr);

    // A chain change from the host is heard at once but shown only at the next layout pass.
    setSlot (0, 7);
    Access::tick (e);
    EXPECT_EQ (faceIn (0), nullptr);

    e.stateRestored = true;
    Access::tick (e);
    EXPECT_EQ (faceIn (0), &Access::face (e, 7));
    EXPECT_FALSE (e.stateRestored.load());

    // Raised twice before a tick: one layout pass, and the flag is clear afterwards.
    setSlot (0, 8);
    e.stateRestored = true;
    e.stateRestored = true;
    Access::tick (e);
    EXPECT_EQ (faceIn (0), &Access::face (e, 8));
    EXPECT_FALSE (e.stateRestored.load());
}

TEST_F (RefreshTest, ABankChangeFromTheHostMovesLetterAndPageWithinOneTick)
{
    auto& e = openEditor();
    setBank (2);
    Access::tick (e);

    EXPECT_EQ (Access::bankLabel (e).getText(), "C");
    EXPECT_EQ (Access::shownBank (e), 2);
    EXPECT_EQ (Access::presetPage (e, 2).getParentComponent(), &Access::presetBoard (e));
    EXPECT_EQ (Access::presetPage (e, 0).getParentComponent(), nullptr);

    setBank (3);
    Access::tick (e);
    EXPECT_EQ (Access::bankLabel (e).getText(), "D");

    for (int b = 0; b < 3; ++b)
        EXPECT_EQ (Access::presetPage (e, b).getParentComponent(), nullptr) << "bank 3, page " << b;
}

TEST_F (RefreshTest, KnobMovesWriteTheirParameterOnlyWhenItChanges)
{
    auto& e = openEditor();
    HostNotificationCounter counter;
    processor->addListener (&counter);

    auto* knob = Access::knobs (e, 5)[0];
    knob->setValue (0.75, juce::dontSendNotification);
    Access::sliderMoved (e, *knob);
    EXPECT_NEAR (processor->pedalUnits[5].knobParameters[0]->get(), 0.75f, 1.0e-6f);
    EXPECT_EQ (counter.count, 1);

    // Reporting the value the parameter already holds writes nothing.
    Access::sliderMoved (e, *knob);
    EXPECT_EQ (counter.count, 1);

    // The meters are no parameter's control.
    Access::sliderMoved (e, Access::levelIn (e));
    Access::sliderMoved (e, Access::tunerSlider (e));
    EXPECT_EQ (counter.count, 1);

    auto* volume = static_cast<juce::Slider*> (Access::controlList (e)[0]);
    volume->setValue (1.25, juce::sendNotificationSync);
    EXPECT_NEAR (processor->volumeParameter->get(), 1.25f, 1.0e-6f);
    EXPECT_EQ (counter.count, 2);

    processor->removeListener (&counter);
}

TEST_F (RefreshTest, SwitchClicksWriteTheirParameterAndShowTheBoardAndTuner)
{
    auto& e = openEditor();
    auto& list = Access::controlList (e);

    click (*Access::footswitches (e, 11)[0]);
    EXPECT_TRUE (processor->pedalUnits[11].onOff->get());
    click (*Access::presetButtons (e)[4]);
    EXPECT_TRUE (processor->presetButtonParameters[4]->get());

    auto& tuner = *static_cast<juce::Button*> (list[1]);
    click (tuner);
    EXPECT_TRUE (processor->tunerParameter->get());
    EXPECT_TRUE (Access::tunerSlider (e).isVisible());
    click (tuner);
    EXPECT_FALSE (Access::tunerSlider (e).isVisible());

    auto& board = *static_cast<juce::Button*> (list[2]);
    click (board);
    EXPECT_TRUE (processor->presetBoardParameter->get());
    EXPECT_TRUE (Access::presetBoard (e).isVisible());
    EXPECT_TRUE (Access::presetBoardShown (e));
    EXPECT_EQ (e.getHeight(), 620);

    // The host switches the board off: the toggle follows at the next tick, the board waits for
    // the next click on it.
    testing_helpers::setOn (*processor->presetBoardParameter, false);
    Access::tick (e);
    EXPECT_FALSE (board.getToggleState());
    EXPECT_TRUE (Access::presetBoard (e).isVisible());

    click (board); // on again
    EXPECT_TRUE (Access::presetBoard (e).isVisible());
    EXPECT_EQ (e.getHeight(), 620);
    click (board);
    EXPECT_FALSE (Access::presetBoard (e).isVisible());
    EXPECT_EQ (e.getHeight(), 400);
}

TEST_F (ChainButtonTest, NextSkipsPedalsTakenByOtherPositions)
{
    setSlot (0, 5);
    setSlot (2, 6);
    setSlot (4, 7);
    auto& e = openEditor();

    click (*Access::nextButton (e, 0)); // "NEXTB1"
    EXPECT_EQ (slotValue (0), 8);
    EXPECT_EQ (faceIn (0), &Access::face (e, 8)) << "the click lays the chain out again";

    click (*Access::previousButton (e, 0)); // back over 7 and 6, which are taken, to 5
    EXPECT_EQ (slotValue (0), 5);
}

TEST_F (ChainButtonTest, StepsWrapAroundAtTheEnds)
{
    setSlot (3, 23);
    auto& e = openEditor();

    click (*Access::nextButton (e, 3));
    EXPECT_EQ (slotValue (3), 0);

    click (*Access::previousButton (e, 3));
    EXPECT_EQ (slotValue (3), 23);
}

TEST_F (ChainButtonTest, FromAnEmptyPositionPedal23IsNeverACandidate)
{
    // Next from empty tries 0, 1, ..., 22.
    for (int s = 1; s < 6; ++s)
        setSlot (s, s - 1); // 0 to 4 taken
    auto& e = openEditor();

    click (*Access::nextButton (e, 0));
    EXPECT_EQ (slotValue (0), 5);

    // Previous from empty tries 22, 21, ..., 0: with 18 to 22 taken it lands on 17, not 23.
    for (int s = 1; s < 6; ++s)
        setSlot (s, 17 + s);

    setSlot (0, -1);
    click (*Access::previousButton (e, 0));
    EXPECT_EQ (slotValue (0), 17);
}

TEST_F (ChainButtonTest, SwapExchangesTheTwoPositionsEvenWhenOneIsEmpty)
{
    setSlot (2, 4);
    auto& e = openEditor();

    click (*Access::swapButton (e, 2)); // "SWAPB3": positions 2 and 3
    EXPECT_EQ (slotValue (2), -1);
    EXPECT_EQ (slotValue (3), 4);
    EXPECT_EQ (faceIn (2), nullptr);
    EXPECT_EQ (faceIn (3), &Access::face (e, 4));

    setSlot (2, 10);
    click (*Access::swapButton (e, 2));
    EXPECT_EQ (slotValue (2), 4);
    EXPECT_EQ (slotValue (3), 10);
}

TEST_F (ChainButtonTest, RemovingAnEmptyPositionWritesNothingButStillLaysOut)
{
    setSlot (1, 12);
    auto& e = openEditor();
    HostNotificationCounter counter;
    processor->addListener (&counter);

    click (*Access::changeButton (e, 1)); // "CHANGEB2"
    EXPECT_EQ (slotValue (1), -1);
    EXPECT_EQ (counter.count, 1);
    EXPECT_EQ (faceIn (1), nullptr);

    // Position 4 changed by the host: not shown yet; a click on an empty position's bin writes
    // nothing, yet lays the chain out, so the change shows.
    setSlot (4, 20);
    EXPECT_EQ (faceIn (4), nullptr);
    counter.count = 0;
    click (*Access::changeButton (e, 0));
    EXPECT_EQ (counter.count, 0);
    EXPECT_EQ (faceIn (4), &Access::face (e, 20));

    processor->removeListener (&counter);
}

TEST_F (ChainButtonTest, BankButtonsStepThroughTheThreePages)
{
    struct Step
    {
        int from, up, down;
    };

    // Bank 3 has no page; both buttons lead back into A to C.
    const Step table[] = { { 0, 1, 2 }, { 1, 2, 0 }, { 2, 0, 1 }, { 3, 1, 2 } };
    auto& e = openEditor();

    for (const auto& step : table)
    {
        setBank (step.from);
        click (Access::bankUp (e));
        EXPECT_EQ (processor->bankParameter->get(), step.up) << "bankUp from " << step.from;

        const auto page = StompvaleAudioProcessorEditor::pageForBank (step.up);
        EXPECT_EQ (Access::presetPage (e, page).getParentComponent(), &Access::presetBoard (e))
            << "the page moves with the click, from " << step.from;

        setBank (step.from);
        click (Access::bankDown (e));
        EXPECT_EQ (processor->bankParameter->get(), step.down) << "bankDown from " << step.from;
    }

    // The letter follows within one tick.
    setBank (0);
    click (Access::bankDown (e));
    Access::tick (e);
    EXPECT_EQ (Access::bankLabel (e).getText(), "C");
    click (Access::bankUp (e));
    Access::tick (e);
    EXPECT_EQ (Access::bankLabel (e).getText(), "A");
}
