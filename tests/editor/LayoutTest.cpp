// Where the layout pass puts everything in the 1285-unit design frame, and how the frame is
// scaled to the window.

#include "tests/editor/EditorTestAccess.h"

using namespace editor_testing;

namespace
{
using Rect = juce::Rectangle<int>;

/** A pedal of each knob count: tremolo 2, vibrato/chorus 3, digital reverb 4, compressor 5. */
int pedalWithKnobs (int n)
{
    switch (n)
    {
        case 2: return 2;
        case 3: return 0;
        case 4: return 1;
        default: return 4;
    }
}

struct FaceLayout
{
    int knobs;
    Rect face;
    std::vector<juce::Point<int>> knobPositions;
    Rect footswitch;
};

const std::vector<FaceLayout> faceLayouts {
    { 2, { 40, 40, 140, 300 }, { { 30, 10 }, { 30, 80 } }, { 35, 215, 50, 50 } },
    { 3, { 25, 40, 170, 300 }, { { 10, 10 }, { 80, 10 }, { 45, 80 } }, { 50, 215, 50, 50 } },
    { 4,
      { 25, 40, 170, 300 },
      { { 10, 10 }, { 80, 10 }, { 10, 80 }, { 80, 80 } },
      { 50, 215, 50, 50 } },
    { 5,
      { 10, 40, 200, 300 },
      { { 10, 0 }, { 110, 0 }, { 60, 50 }, { 10, 100 }, { 110, 100 } },
      { 65, 215, 50, 50 } },
};
} // namespace

using LayoutTest = EditorTest;

TEST_F (LayoutTest, FacesKnobsAndFootswitchesFollowTheKnobCount)
{
    auto& e = openEditor();

    for (const auto& expected : faceLayouts)
    {
        for (int t = 0; t < 24; ++t)
        {
            if (processor->pedalUnits[t].numParams != expected.knobs)
                continue;

            EXPECT_EQ (Access::face (e, t).getBounds(), expected.face)
                << "pedal " << t << " with " << expected.knobs << " knobs";

            auto& knobs = Access::knobs (e, t);
            ASSERT_EQ (knobs.size(), (int) expected.knobPositions.size()) << "pedal " << t;

            for (size_t k = 0; k < expected.knobPositions.size(); ++k)
            {
                const auto p = expected.knobPositions[k];
                EXPECT_EQ (knobs[(int) k]->getBounds(), Rect (p.x, p.y, 60, 80))
                    << "pedal " << t << " knob " << k << " of " << expected.knobs;
            }

            EXPECT_EQ (Access::footswitches (e, t)[0]->getBounds(), expected.footswitch)
                << "pedal " << t;
        }

        // The sample pedal has that many knobs, so every row of the table was checked.
        EXPECT_EQ (processor->pedalUnits[pedalWithKnobs (expected.knobs)].numParams,
                   expected.knobs);
    }
}

TEST_F (LayoutTest, ChainPositionsAndSwapButtonsFollowTheTable)
{
    auto& e = openEditor();
    EXPECT_EQ (Access::chainArea (e).getBounds(), Rect (0, 50, 1285, 350));

    const int positionX[] = { 17, 227, 437, 647, 857, 1067 };

    for (int k = 0; k < 6; ++k)
    {
        EXPECT_EQ (Access::slot (e, k).getBounds(), Rect (positionX[k], 5, 200, 340)) << k;
        EXPECT_EQ (Access::previousButton (e, k)->getBounds(), Rect (20, 10, 30, 30)) << k;
        EXPECT_EQ (Access::nextButton (e, k)->getBounds(), Rect (150, 10, 30, 30)) << k;
        EXPECT_EQ (Access::changeButton (e, k)->getBounds(), Rect (90, 0, 20, 20)) << k;
    }

    const int swapX[] = { 207, 417, 627, 837, 1047 };

    for (int k = 0; k < 5; ++k)
    {
        auto* swap = Access::swapButton (e, k);
        EXPECT_EQ (swap->getName(), "SWAPB" + juce::String (k + 1));
        EXPECT_EQ (swap->getBounds(), Rect (swapX[k], 150, 30, 30)) << k;
    }
}

TEST_F (LayoutTest, NamedSlidersTogglesAndPagesHaveTheirPlaces)
{
    auto& e = openEditor();

    std::map<juce::String, Rect> expected {
        { "volume", { 640, 10, 200, 40 } },    { "levelIn", { 15, 20, 15, 160 } },
        { "levelOut", { 1255, 20, 15, 160 } }, { "tuner", { 110, 10, 80, 40 } },
        { "presetboard", { 25, 10, 80, 40 } }, { "recordpreset", { 50, 60, 100, 100 } },
        { "bankUp", { 170, 10, 100, 100 } },   { "bankDown", { 170, 110, 100, 100 } },
    };

    int seen = 0;

    for (auto* slider : Access::namedSliders (e))
    {
        EXPECT_EQ (slider->getBounds(), expected.at (slider->getName())) << slider->getName();
        ++seen;
    }

    for (auto* button : Access::namedButtons (e))
    {
        EXPECT_EQ (button->getBounds(), expected.at (button->getName())) << button->getName();
        ++seen;
    }

    EXPECT_EQ (seen, 8);
    EXPECT_EQ (Access::presetBoard (e).getBounds(), Rect (0, 400, 1285, 220));
    EXPECT_EQ (Access::tunerSlider (e).getBounds(), Rect (200, 0, 220, 40));

    for (int b = 0; b < 3; ++b)
    {
        EXPECT_EQ (Access::presetPage (e, b).getBounds(), Rect (380, 10, 800, 200)) << "page " << b;

        for (int i = 0; i < 10; ++i)
        {
            const Rect place (150 * (i % 5), 100 * (i / 5), 100, 100);
            EXPECT_EQ (Access::presetButtons (e)[10 * b + i]->getBounds(), place)
                << "page " << b << " button " << i;
        }
    }
}

TEST_F (LayoutTest, TheWidthSetsTheScaleAndTheHeightFollowsTheFrame)
{
    struct Case
    {
        bool board;
        int width;
        int expectedHeight;
        float expectedScale;
    };

    const Case cases[] = {
        { false, 1285, 400, 1.0f },
        { true, 1285, 620, 1.0f },
        { false, 2570, 800, 2.0f },
        { true, 2570, 1240, 2.0f },
    };

    for (const auto& c : cases)
    {
        testing_helpers::setOn (*processor->presetBoardParameter, c.board);
        auto& e = openEditor();
        e.setSize (c.width, 300);

        const auto context = "board " + juce::String (c.board ? "shown" : "hidden") + ", width "
                             + juce::String (c.width);
        EXPECT_EQ (e.getWidth(), c.width) << context;
        EXPECT_EQ (e.getHeight(), c.expectedHeight) << context;

        const auto t = Access::content (e).getTransform();
        EXPECT_NEAR (t.mat00, c.expectedScale, 1.0e-6f) << context;
        EXPECT_NEAR (t.mat11, c.expectedScale, 1.0e-6f) << context;
        EXPECT_NEAR (t.mat02, 0.0f, 1.0e-4f) << context;
        EXPECT_NEAR (t.mat12, 0.0f, 1.0e-4f) << context;
    }
}

TEST_F (LayoutTest, OpeningGivesTheFrameRatioAndHidingTheBoardShrinksAtOnce)
{
    testing_helpers::setOn (*processor->presetBoardParameter, true);
    auto& e = openEditor();
    EXPECT_EQ (e.getBounds().getWidth(), 1285);
    EXPECT_EQ (e.getHeight(), 620);

    click (*static_cast<juce::Button*> (Access::controlList (e)[2]));
    EXPECT_FALSE (Access::presetBoard (e).isVisible());
    EXPECT_EQ (e.getHeight(), 400);
}

TEST_F (LayoutTest, WidthsThatDoNotDivideEvenlyStayAsTheHostGaveThem)
{
    auto& e = openEditor();

    // 1285 x (w / 1285) lands a hair under w in single precision for these widths; the window
    // must not creep narrower with every layout pass.
    for (int w : { 45, 90, 1000, 1927, 3000 })
    {
        e.setSize (w, 500);
        e.resized();
        EXPECT_EQ (e.getWidth(), w) << "width " << w;
        EXPECT_EQ (e.getHeight(), (int) (400.0 * w / 1285.0 + 1.0e-3)) << "width " << w;
    }
}

TEST_F (LayoutTest, BankPageFollowsTheBankAtTheNextLayout)
{
    auto& e = openEditor();
    auto& board = Access::presetBoard (e);
    EXPECT_EQ (Access::presetPage (e, 0).getParentComponent(), &board);

    setBank (1);
    e.resized();
    EXPECT_EQ (Access::presetPage (e, 0).getParentComponent(), nullptr);
    EXPECT_EQ (Access::presetPage (e, 1).getParentComponent(), &board);
    EXPECT_EQ (board.getChildComponent (board.getNumChildComponents() - 1),
               &Access::presetPage (e, 1));
    EXPECT_EQ (Access::presetButtons (e)[10]->getParentComponent(), &Access::presetPage (e, 1));

    setBank (3);
    e.resized();

    for (int b = 0; b < 3; ++b)
        EXPECT_EQ (Access::presetPage (e, b).getParentComponent(), nullptr) << "bank 3, page " << b;
}

TEST_F (LayoutTest, PaintDrawsTheFloorTheTunerBarAndPlacesTheLinks)
{
    auto& e = openEditor();
    ASSERT_EQ (e.getHeight(), 400);

    juce::Image image (juce::Image::ARGB, 1285, 400, true);
    {
        juce::Graphics g (image);
        e.paintEntireComponent (g, true);
    }

    // Grey bar under the (hidden) tuner meter, at (200, 20, 195, 20).
    EXPECT_EQ (image.getPixelAt (300, 30).getARGB(), 0xff808080u);
    EXPECT_EQ (image.getPixelAt (394, 39).getARGB(), 0xff808080u);
    EXPECT_NE (image.getPixelAt (396, 30).getARGB(), 0xff808080u);

    // The floor covers the frame: nothing of the dark fill shows inside it.
    EXPECT_NE (image.getPixelAt (5, 395).getARGB(), 0xff0a0a0au);
    EXPECT_EQ (image.getPixelAt (5, 395).getAlpha(), 255);

    auto& site = Access::websiteLink (e);
    auto& donation = Access::donationLink (e);
    EXPECT_EQ (site.getBounds(), Rect (1135, 10, 130, 18));
    EXPECT_EQ (donation.getBounds(), Rect (1135, 30, 130, 18));
    EXPECT_EQ (site.getButtonText(), "Visit stompvale.example.org");
    EXPECT_EQ (site.getURL().toString (false), "https://stompvale.example.org");
    EXPECT_EQ (donation.getButtonText(), "Pay me a beer");
    EXPECT_EQ (donation.getURL().toString (true), "https://stompvale.example.org/#/paypal");
    EXPECT_EQ (site.findColour (juce::HyperlinkButton::textColourId), juce::Colour (0xfff5f5f5));
    EXPECT_EQ (site.getJustificationType().getFlags(), juce::Justification::centredRight);
}

TEST (PresetBoardPaint, DarkensDiagonallyAcrossItsOwnSize)
{
    PresetContainerComponent board;
    board.setSize (1285, 220);
    juce::Image image (juce::Image::ARGB, 1285, 220, true);
    {
        juce::Graphics g (image);
        board.paintEntireComponent (g, true);
    }

    const auto topLeft = image.getPixelAt (0, 0);
    const auto bottomRight = image.getPixelAt (1284, 219);
    // Gradient ends: 0xff70736b at (0, 0), 0xff52554d at (1285, 220); one step of tolerance for
    // the gradient table.
    EXPECT_NEAR (topLeft.getRed(), 0x70, 1);
    EXPECT_NEAR (topLeft.getGreen(), 0x73, 1);
    EXPECT_NEAR (topLeft.getBlue(), 0x6b, 1);
    EXPECT_NEAR (bottomRight.getRed(), 0x52, 2);
    EXPECT_NEAR (bottomRight.getGreen(), 0x55, 2);
    EXPECT_NEAR (bottomRight.getBlue(), 0x4d, 2);
    EXPECT_EQ (bottomRight.getAlpha(), 255);
}
