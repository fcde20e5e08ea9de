// PedalLookAndFeel: footswitches, preset/bank/save buttons, the LED bank letter and the knob.

#include "LookTestHelpers.h"

#include "editor/EmbeddedResources.h"
#include "editor/looks/PedalLookAndFeel.h"

#include <cmath>

using namespace look_test;

namespace
{
juce::Image decode (const EmbeddedData& d)
{
    return juce::ImageCache::getFromMemory (d.data, d.size);
}

/** Where the picture's drawn pixels land when it is scaled by `scale` and put at (dx, dy). */
juce::Rectangle<int> expectedDrawnBounds (const juce::Image& picture, double scale, double dx,
                                          double dy)
{
    auto r = drawnBounds (picture);
    return juce::Rectangle<double> (dx + r.getX() * scale, dy + r.getY() * scale,
                                    r.getWidth() * scale, r.getHeight() * scale)
        .getSmallestIntegerContainer();
}

void expectBoundsNear (juce::Rectangle<int> actual, juce::Rectangle<int> expected, int tolerance,
                       const char* what)
{
    EXPECT_NEAR (actual.getX(), expected.getX(), tolerance)
        << what << ": " << actual.toString() << " vs " << expected.toString();
    EXPECT_NEAR (actual.getY(), expected.getY(), tolerance)
        << what << ": " << actual.toString() << " vs " << expected.toString();
    EXPECT_NEAR (actual.getRight(), expected.getRight(), tolerance)
        << what << ": " << actual.toString() << " vs " << expected.toString();
    EXPECT_NEAR (actual.getBottom(), expected.getBottom(), tolerance)
        << what << ": " << actual.toString() << " vs " << expected.toString();
}

bool isWhitesmoke (juce::Colour c)
{
    return c.getAlpha() > 128
           && sameColour (c.withAlpha ((juce::uint8) 255), juce::Colour (0xfff5f5f5), 6);
}
} // namespace

//==============================================================================
TEST (PedalLook, FootswitchScaledIntoFiftyByFifty)
{
    PedalLookAndFeel look;
    auto picture = decode (embedded::footswitchOnImage);
    auto on = renderToggle (look, "PEDAL0PEDAL_CHOR_ONOFF_", "Chorus On", 50, 50, true);
    auto off = renderToggle (look, "PEDAL0PEDAL_CHOR_ONOFF_", "Chorus On", 50, 50, false);

    // 75 x 100 scaled by 0.5 to 37.5 x 50, centred: it starts at x = 6.25. No text anywhere.
    expectBoundsNear (drawnBounds (on), expectedDrawnBounds (picture, 0.5, 6.25, 0.0), 1,
                      "lit footswitch");
    expectBoundsNear (drawnBounds (off), expectedDrawnBounds (picture, 0.5, 6.25, 0.0), 1,
                      "dark footswitch");

    // The LED at (37.5, 89) of the picture lands at (25, 44.5): lit when on, dark when off.
    EXPECT_TRUE (isRed (on.getPixelAt (25, 44))) << on.getPixelAt (25, 44).toDisplayString (true);
    EXPECT_FALSE (isRed (off.getPixelAt (25, 44)))
        << off.getPixelAt (25, 44).toDisplayString (true);
    // The switch itself is the same chrome in both.
    EXPECT_TRUE (sameColour (on.getPixelAt (25, 19), off.getPixelAt (25, 19)));
}

TEST (PedalLook, PresetButtonHasTextBandAndPictureBox)
{
    PedalLookAndFeel look;
    auto picture = decode (embedded::footswitchOnImage);
    for (bool isOn : { true, false })
    {
        SCOPED_TRACE (isOn ? "on" : "off");
        auto image = renderToggle (look, "PRESET_BUTTONA3", "A3", 100, 100, isOn);

        // Text in the top 30 rows, centred, in whitesmoke.
        auto text = drawnBounds (image, 0, { 0, 0, 100, 30 });
        ASSERT_FALSE (text.isEmpty());
        EXPECT_NEAR (text.getCentreX(), 50, 2) << text.toString();
        EXPECT_GT (countPixels (image, { 0, 0, 100, 30 }, isWhitesmoke), 10);

        // The picture scaled by 0.7 to 52.5 x 70 in the 100 x 70 box below: from x = 23.75, y = 30.
        expectBoundsNear (drawnBounds (image, 0, { 0, 30, 100, 70 }),
                          expectedDrawnBounds (picture, 0.7, 23.75, 30.0), 1, "preset picture");
        // The LED lands at (50, 92.3).
        EXPECT_EQ (isRed (image.getPixelAt (50, 92)), isOn)
            << image.getPixelAt (50, 92).toDisplayString (true);
    }

    // "recordpreset" (no upper-case PRESET) is drawn the same way.
    auto save = renderToggle (look, "recordpreset", "Save Preset", 100, 100, true);
    expectBoundsNear (drawnBounds (save, 0, { 0, 30, 100, 70 }),
                      expectedDrawnBounds (picture, 0.7, 23.75, 30.0), 1, "save picture");
    EXPECT_FALSE (drawnBounds (save, 0, { 0, 0, 100, 30 }).isEmpty());
}

TEST (PedalLook, BankButtonsShowTheSwitchWithoutItsLed)
{
    PedalLookAndFeel look;
    auto top = decode (embedded::footswitchOnImage).getClippedImage ({ 0, 0, 75, 80 });
    for (auto name : { "bankUp", "bankDown" })
    {
        SCOPED_TRACE (name);
        auto on = renderToggle (look, name, "UP", 100, 100, true);
        auto off = renderToggle (look, name, "UP", 100, 100, false);
        // 75 x 80 scaled by 0.875 to 65.6 x 70, from x = 17.19, y = 30.
        expectBoundsNear (drawnBounds (on, 0, { 0, 30, 100, 70 }),
                          expectedDrawnBounds (top, 0.875, 17.1875, 30.0), 1,
                          "bank button picture");
        EXPECT_EQ (countPixels (on, { 0, 30, 100, 70 }, isRed), 0) << "no LED";
        EXPECT_TRUE (imagesEqual (on, off))
            << "on and off differ only in the LED, which is cut away";
        EXPECT_FALSE (drawnBounds (on, 0, { 0, 0, 100, 30 }).isEmpty()) << "caption";
    }
}

//==============================================================================
namespace
{
juce::Image renderBankLabel (PedalLookAndFeel& look, const juce::String& text)
{
    juce::Label label ("currentBank", text);
    label.setLookAndFeel (&look);
    label.setBounds (270, 10, 100, 200);
    auto image = render (label);
    label.setLookAndFeel (nullptr);
    return image;
}
} // namespace

TEST (PedalLook, BankLabelShowsTheLedLetter)
{
    PedalLookAndFeel look;
    auto image = renderBankLabel (look, "C");

    // "Bank" in (0, 40, 100, 30).
    auto caption = drawnBounds (image, 0, { 0, 0, 100, 70 });
    ASSERT_FALSE (caption.isEmpty());
    EXPECT_GE (caption.getY(), 40);
    EXPECT_LE (caption.getBottom(), 70);
    EXPECT_NEAR (caption.getCentreX(), 50, 2);
    EXPECT_GT (countPixels (image, caption, isWhitesmoke), 10);

    // The 75 x 107 letter, scaled by 60/107 to 42.06 x 60, centred in (0, 70, 100, 60).
    auto letter = drawnBounds (image, 128, { 0, 70, 100, 130 });
    expectBoundsNear (letter, { 29, 70, 42, 60 }, 1, "letter box");
    EXPECT_TRUE (drawnBounds (image, 0, { 0, 131, 100, 69 }).isEmpty())
        << "nothing below the letter";

    // It is the "C" from columns 200 to 274 of the strip: compare dot by dot (dot (col, row) of a
    // letter is at strip x = 7.5 + 15 col, y = 53.5 + 15 (row - 3)).
    const char* rowsOfC[] = { "01110", "10001", "10000", "10000", "10000", "10001", "01110" };
    const double scale = 60.0 / 107.0, left = (100.0 - 75.0 * scale) / 2.0;
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
        {
            const int x = (int) (left + (7.5 + 15 * col) * scale);
            const int y = (int) (70.0 + (53.5 + 15 * (row - 3)) * scale);
            EXPECT_EQ (isRed (image.getPixelAt (x, y)), rowsOfC[row][col] == '1')
                << "dot col " << col << ", row " << row << ": "
                << image.getPixelAt (x, y).toDisplayString (true);
        }
}

TEST (PedalLook, BankLabelBeyondTheStripShowsOnlyTheCaption)
{
    PedalLookAndFeel look;
    for (auto text : { "J", "Q", "", "@", "0",
                       "\xc3\xa9" /* e acute: low byte 0xe9, negative as a signed char */ })
    {
        SCOPED_TRACE (juce::String ("text \"") + juce::String (juce::CharPointer_UTF8 (text))
                      + "\"");
        auto image = renderBankLabel (look, juce::CharPointer_UTF8 (text));
        EXPECT_TRUE (drawnBounds (image, 0, { 0, 70, 100, 130 }).isEmpty());
        EXPECT_FALSE (drawnBounds (image, 0, { 0, 40, 100, 30 }).isEmpty());
    }
    // The letter is the text's last character.
    auto lastOfTwo = renderBankLabel (look, "AI");
    auto onlyI = renderBankLabel (look, "I");
    EXPECT_TRUE (imagesEqual (lastOfTwo, onlyI));
}

//==============================================================================
namespace
{
/** A pedal knob as the editor builds it: rotary, no text box, 60 x 80, range 0 to 1. */
juce::Image renderKnob (PedalLookAndFeel& look, double proportion, int w = 60, int h = 80)
{
    juce::Slider knob ("PEDAL0PEDAL_CHOR_PARAM_0");
    knob.setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
    knob.setTextBoxStyle (juce::Slider::NoTextBox, true, 80, 20);
    knob.setRange (0.0, 1.0, 0.0);
    knob.setComponentID ("Rate");
    knob.setValue (proportion, juce::dontSendNotification);
    knob.setLookAndFeel (&look);
    knob.setBounds (0, 0, w, h);
    auto image = render (knob);
    knob.setLookAndFeel (nullptr);
    return image;
}

/** Antique white, allowing for the edge pixels where the pointer is blended over the dark cap. */
bool isAntiqueWhite (juce::Colour c)
{
    return c.getAlpha() > 100
           && sameColour (c.withAlpha ((juce::uint8) 255), juce::Colour (0xfffaebd7), 40);
}

/** Clockwise angle from 12 o'clock of a point seen from the pivot, in degrees 0 to 360. */
double clockAngle (double x, double y, double cx, double cy)
{
    auto a = std::atan2 (x - cx, -(y - cy)) * 180.0 / juce::MathConstants<double>::pi;
    return a < 0 ? a + 360.0 : a;
}

/** Mean angle of the antique-white pixels in a ring around the pivot. */
double meanAngleInRing (const juce::Image& image, double cx, double cy, double r0, double r1,
                        int& count)
{
    double sx = 0, sy = 0;
    count = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const double px = x + 0.5, py = y + 0.5, r = std::hypot (px - cx, py - cy);
            if (r >= r0 && r <= r1 && isAntiqueWhite (image.getPixelAt (x, y)))
            {
                auto a = clockAngle (px, py, cx, cy) * juce::MathConstants<double>::pi / 180.0;
                sx += std::sin (a);
                sy += std::cos (a);
                ++count;
            }
        }
    auto mean = std::atan2 (sx, sy) * 180.0 / juce::MathConstants<double>::pi;
    return mean < 0 ? mean + 360.0 : mean;
}

/** Angles (degrees) of the separate groups of antique-white pixels in the tick ring. */
std::vector<double> tickAngles (const juce::Image& image, double cx, double cy, double scale = 1.0)
{
    // Sample the ring every half degree; a run of lit samples is one tick.
    std::vector<double> ticks;
    bool inTick = false;
    double start = 0;
    for (int i = 0; i <= 720; ++i)
    {
        const double a = i * 0.5;
        bool lit = false;
        for (double r = 23.0 * scale; r <= 26.0 * scale && ! lit; r += 0.5)
        {
            const double rad = a * juce::MathConstants<double>::pi / 180.0;
            const int x = (int) std::floor (cx + r * std::sin (rad)),
                      y = (int) std::floor (cy - r * std::cos (rad));
            lit = isAntiqueWhite (image.getPixelAt (x, y));
        }
        if (lit && ! inTick)
            start = a;
        if (! lit && inTick)
            ticks.push_back ((start + a - 0.5) / 2.0);
        inTick = lit;
    }
    return ticks;
}

double angleDifference (double a, double b)
{
    auto d = std::fmod (std::abs (a - b), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}
} // namespace

TEST (PedalLook, KnobPointerFollowsTheValueOverTheTicks)
{
    PedalLookAndFeel look;
    const double cx = 30.0, cy = 40.0; // pivot of a 60 x 80 knob

    // Eleven ticks from 216 degrees (lower left) in steps of 28.8 to 504 = 144 (lower right).
    auto ticks = tickAngles (renderKnob (look, 0.5), cx, cy);
    ASSERT_EQ (ticks.size(), 11u);
    std::sort (ticks.begin(), ticks.end());
    // Sorted clockwise from 12 o'clock: 0 (the sixth), 28.8, ... 144, then 216 ... 331.2.
    const double expected[] = { 0.0,   28.8,  57.6,  86.4,  115.2, 144.0,
                                216.0, 244.8, 273.6, 302.4, 331.2 };
    for (size_t i = 0; i < ticks.size(); ++i)
        EXPECT_LT (angleDifference (ticks[i], expected[i]), 3.0)
            << "tick " << i << " at " << ticks[i];

    struct Case
    {
        double proportion, angle;
        const char* where;
    };
    for (auto c :
         { Case { 0.5, 0.0, "straight up over the sixth tick" },
           Case { 0.0, 216.0, "over the first tick" }, Case { 1.0, 144.0, "over the last tick" } })
    {
        SCOPED_TRACE (c.where);
        auto image = renderKnob (look, c.proportion);
        int count = 0;
        // The pointer runs from 8 to 16 units from the pivot; between 10 and 13 it lies on the dark
        // cap.
        auto angle = meanAngleInRing (image, cx, cy, 10.0, 13.0, count);
        EXPECT_GT (count, 4);
        EXPECT_LT (angleDifference (angle, c.angle), 3.0) << "pointer at " << angle;
        auto tickNear = std::find_if (ticks.begin(), ticks.end(),
                                      [&] (double t) { return angleDifference (t, angle) < 3.0; });
        EXPECT_NE (tickNear, ticks.end()) << "a tick lies in the pointer's direction";
    }

    // p = 0.5 stands straight up: the pointer column x = 29..30 is light above the pivot.
    auto upright = renderKnob (look, 0.5);
    EXPECT_TRUE (isAntiqueWhite (upright.getPixelAt (29, 28))
                 || isAntiqueWhite (upright.getPixelAt (30, 28)));
    EXPECT_FALSE (isAntiqueWhite (upright.getPixelAt (25, 28)));
    EXPECT_FALSE (isAntiqueWhite (upright.getPixelAt (30, 52))) << "not below the pivot";
}

TEST (PedalLook, KnobLayersAndCaption)
{
    PedalLookAndFeel look;
    auto image = renderKnob (look, 0.5);

    // Caption "Rate" in the bottom 16 rows, white, centred.
    auto caption = drawnBounds (image, 0, { 0, 64, 60, 16 });
    ASSERT_FALSE (caption.isEmpty());
    EXPECT_NEAR (caption.getCentreX(), 30, 2);

    // Skirt: diameter 32.4 about the pivot, light towards the upper left and darker lower right.
    auto skirtLeft = image.getPixelAt (15, 40), skirtRight = image.getPixelAt (44, 40);
    EXPECT_EQ (skirtLeft.getAlpha(), 255);
    EXPECT_EQ (image.getPixelAt (12, 40).getAlpha() < 255, true)
        << "outside the skirt only its shadow";
    EXPECT_GT (skirtLeft.getBrightness(), skirtRight.getBrightness());

    // Cap: dark, 27 wide; disc: grey, 18.9 across, lighter at its rim than at its middle.
    auto capPixel = image.getPixelAt (19, 40);
    EXPECT_LT (capPixel.getBrightness(), 0.25f) << capPixel.toDisplayString (true);
    auto discMiddle = image.getPixelAt (28, 38), discRim = image.getPixelAt (37, 44);
    EXPECT_GT (discMiddle.getBrightness(), 0.3f);
    EXPECT_GT (discRim.getBrightness(), discMiddle.getBrightness());

    // Nothing above the ticks' ring: the top rows stay empty.
    EXPECT_TRUE (drawnBounds (image, 0, { 0, 0, 60, 12 }).isEmpty());
}

TEST (PedalLook, KnobKeepsItsProportionsAtTwiceTheSize)
{
    PedalLookAndFeel look;
    auto small = renderKnob (look, 0.0);
    auto large = renderKnob (look, 0.0, 120, 160);
    int countSmall = 0, countLarge = 0;
    auto a = meanAngleInRing (small, 30.0, 40.0, 10.0, 13.0, countSmall);
    auto b = meanAngleInRing (large, 60.0, 80.0, 20.0, 26.0, countLarge);
    EXPECT_LT (angleDifference (a, b), 2.0);
    EXPECT_NEAR (countLarge, 4 * countSmall, 2 * countSmall);
    EXPECT_EQ (tickAngles (large, 60.0, 80.0, 2.0).size(), 11u)
        << "the tick ring scales with the knob";
}
