// Which drawing class each control of the open editor is drawn by, and what the window shows
// through them once laid out.

#include "LookTestHelpers.h"

#include "editor/EditorTestAccess.h"
#include "editor/looks/ChangesLookAndFeel.h"
#include "editor/looks/CommandLookAndFeel.h"
#include "editor/looks/NextLookAndFeel.h"
#include "editor/looks/PedalLookAndFeel.h"
#include "editor/looks/PreviousLookAndFeel.h"
#include "editor/looks/SwapLookAndFeel.h"
#include "editor/looks/TunerLookAndFeel.h"

using namespace editor_testing;

namespace
{
enum class Look
{
    standard,
    pedal,
    command,
    tuner,
    previous,
    next,
    changes,
    swap
};

const char* lookName (Look l)
{
    switch (l)
    {
        case Look::standard: return "the framework's default";
        case Look::pedal: return "PedalLookAndFeel";
        case Look::command: return "CommandLookAndFeel";
        case Look::tuner: return "TunerLookAndFeel";
        case Look::previous: return "PreviousLookAndFeel";
        case Look::next: return "NextLookAndFeel";
        case Look::changes: return "ChangesLookAndFeel";
        case Look::swap: return "SwapLookAndFeel";
    }
    return "?";
}

/** Which of the plug-in's drawing classes draws the component (the framework's default when none).
 */
Look lookOf (juce::Component& c)
{
    auto* lf = &c.getLookAndFeel();
    if (dynamic_cast<PedalLookAndFeel*> (lf) != nullptr)
        return Look::pedal;
    if (dynamic_cast<CommandLookAndFeel*> (lf) != nullptr)
        return Look::command;
    if (dynamic_cast<TunerLookAndFeel*> (lf) != nullptr)
        return Look::tuner;
    if (dynamic_cast<PreviousLookAndFeel*> (lf) != nullptr)
        return Look::previous;
    if (dynamic_cast<NextLookAndFeel*> (lf) != nullptr)
        return Look::next;
    if (dynamic_cast<ChangesLookAndFeel*> (lf) != nullptr)
        return Look::changes;
    if (dynamic_cast<SwapLookAndFeel*> (lf) != nullptr)
        return Look::swap;
    return Look::standard;
}

void expectLook (juce::Component& c, Look expected)
{
    EXPECT_EQ (lookOf (c), expected) << "\"" << c.getName() << "\" is drawn by "
                                     << lookName (lookOf (c)) << ", not " << lookName (expected);
}
} // namespace

class LookInstallation : public EditorTest
{
};

TEST_F (LookInstallation, EveryControlHasItsOwnLook)
{
    auto& e = openEditor();

    for (int t = 0; t < 24; ++t)
    {
        ASSERT_GE (Access::knobs (e, t).size(), 2) << "pedal " << t;
        for (auto* knob : Access::knobs (e, t))
            expectLook (*knob, Look::pedal);
        for (auto* footswitch : Access::footswitches (e, t))
            expectLook (*footswitch, Look::pedal);
        EXPECT_EQ (lookOf (Access::face (e, t)), Look::standard) << "the face paints itself";
    }
    ASSERT_EQ (Access::presetButtons (e).size(), 30);
    for (auto* preset : Access::presetButtons (e))
        expectLook (*preset, Look::pedal);

    for (auto* button : Access::namedButtons (e))
    {
        const auto name = button->getName();
        expectLook (*button,
                    (name == "tuner" || name == "presetboard") ? Look::standard : Look::pedal);
    }
    expectLook (Access::bankUp (e), Look::pedal);
    expectLook (Access::bankDown (e), Look::pedal);
    expectLook (Access::bankLabel (e), Look::pedal);

    expectLook (Access::levelIn (e), Look::command);
    expectLook (Access::levelOut (e), Look::command);
    expectLook (Access::tunerSlider (e), Look::tuner);

    for (int k = 0; k < 6; ++k)
    {
        expectLook (*Access::previousButton (e, k), Look::previous);
        expectLook (*Access::nextButton (e, k), Look::next);
        expectLook (*Access::changeButton (e, k), Look::changes);
        if (k < 5)
            expectLook (*Access::swapButton (e, k), Look::swap);
    }

    for (auto* slider : Access::namedSliders (e))
        if (slider->getName() == "volume")
            expectLook (*slider, Look::standard);
    expectLook (Access::volumeCaption (e), Look::standard);
    expectLook (Access::websiteLink (e), Look::standard);
    expectLook (Access::donationLink (e), Look::standard);
}

TEST_F (LookInstallation, OneSharedInstancePerKind)
{
    auto& e = openEditor();
    auto* pedalLook = &Access::knobs (e, 0)[0]->getLookAndFeel();
    EXPECT_EQ (&Access::presetButtons (e)[29]->getLookAndFeel(), pedalLook);
    EXPECT_EQ (&Access::bankLabel (e).getLookAndFeel(), pedalLook);
    EXPECT_EQ (&Access::footswitches (e, 23)[0]->getLookAndFeel(), pedalLook);
    EXPECT_EQ (&Access::levelIn (e).getLookAndFeel(), &Access::levelOut (e).getLookAndFeel());
    EXPECT_EQ (&Access::nextButton (e, 0)->getLookAndFeel(),
               &Access::nextButton (e, 5)->getLookAndFeel());
}

TEST_F (LookInstallation, ReopeningTheEditorLeavesNoLookBehind)
{
    // Each editor detaches its looks from its controls before they die; opening and closing it
    // repeatedly (and painting in between) must stay clean, as the sanitizer build checks.
    for (int round = 0; round < 3; ++round)
    {
        auto& e = openEditor();
        auto image = e.createComponentSnapshot (e.getLocalBounds(), true, 0.5f);
        EXPECT_TRUE (image.isValid());
    }
    editor.reset();
}

TEST_F (LookInstallation, TheBoardShowsFacesKnobsAndMeters)
{
    // Six pedals of six types, the preset board and the tuner shown, one pedal and one preset on.
    const int chain[] = { 0, 9, 2, 11, 4, 13 };
    for (int k = 0; k < 6; ++k)
        setSlot (k, chain[k]);
    testing_helpers::setOn (*processor->presetBoardParameter, true);
    testing_helpers::setOn (*processor->tunerParameter, true);
    testing_helpers::setOn (*processor->presetButtonParameters[2], true);
    testing_helpers::setOn (*processor->pedalUnits[9].onOff, true);
    auto& e = openEditor();
    e.setSize (1285, 620);
    Access::tunerSlider (e).setName ("A#");
    Access::tunerSlider (e).setValue (-7.0, juce::dontSendNotification);
    Access::levelIn (e).setValue (40.0, juce::dontSendNotification);
    Access::levelOut (e).setValue (12.0, juce::dontSendNotification);
    auto image = e.createComponentSnapshot (e.getLocalBounds(), true, 1.0f);
    ASSERT_EQ (image.getWidth(), 1285);
    ASSERT_EQ (image.getHeight(), 620);

    // Each face (at (25, 40) of its position, or (40, 40) for the two-knob tremolo; positions at
    // x = 17 + 210k, y = 5 in the chain area at y = 50) shows its type's colour between its knobs
    // and its name, at face y = 170.
    const juce::uint32 colours[] = { 0xff0000ff, 0xff800080, 0xffb8860b,
                                     0xff006400, 0xff555555, 0xff8b0000 };
    const int faceX[] = { 25, 25, 40, 25, 10, 25 };
    for (int k = 0; k < 6; ++k)
    {
        auto c = image.getPixelAt (17 + 210 * k + faceX[k] + 60, 50 + 5 + 40 + 170);
        EXPECT_TRUE (look_test::sameColour (c, juce::Colour (colours[k])))
            << "position " << k << ": " << c.toDisplayString (true);
    }

    // The meters on the board (at y = 400; sliders at (15, 20) and (1255, 20)): at 40 % the input
    // meter's red top segment is dark and the orange one below lit; at 12 % the output meter's
    // segments down to k = 4 are dark.
    EXPECT_TRUE (
        look_test::sameColour (image.getPixelAt (20, 400 + 20 + 7 + 4), juce::Colour (0xffb60000)));
    EXPECT_TRUE (look_test::sameColour (image.getPixelAt (20, 400 + 20 + 21 + 4),
                                        juce::Colour (0xffffbe48)));
    EXPECT_TRUE (look_test::sameColour (image.getPixelAt (1260, 400 + 20 + 63 + 4),
                                        juce::Colour (0xff005b00)));
    EXPECT_TRUE (look_test::sameColour (image.getPixelAt (1260, 400 + 20 + 77 + 4),
                                        juce::Colour (0xff48a448)));

    // The tuner meter at (200, 0): -7 cents is an orange bar left of the centre at x = 98 + 200.
    EXPECT_TRUE (look_test::sameColour (image.getPixelAt (200 + 90, 30), juce::Colours::orange));
    EXPECT_TRUE (
        look_test::sameColour (image.getPixelAt (200 + 110, 30), juce::Colour (0xfff0e9de)));

    // For people: with STOMPVALE_BOARD_PICTURE set to a file name, the board is written there as
    // PNG (this is how docs/board.png is made).
    auto target = juce::SystemStats::getEnvironmentVariable ("STOMPVALE_BOARD_PICTURE", {});
    if (target.isNotEmpty())
    {
        juce::File file (target);
        file.deleteFile();
        juce::FileOutputStream out (file);
        ASSERT_TRUE (out.openedOk()) << target;
        juce::PNGImageFormat().writeImageToStream (image, out);
    }
}
