// The level meter (CommandLookAndFeel) and the tuner meter (TunerLookAndFeel), rendered through
// sliders set up as the editor sets them up, checked pixel by pixel.

#include "LookTestHelpers.h"

#include "editor/looks/CommandLookAndFeel.h"
#include "editor/looks/TunerLookAndFeel.h"

using namespace look_test;

namespace
{
/** A level slider as on the preset board: 0 to 100, linear vertical, default text box, 15 x 160. */
struct LevelMeter
{
    CommandLookAndFeel look;
    juce::Slider slider { "levelIn" };

    LevelMeter()
    {
        slider.setRange (0.0, 100.0, 0.0);
        slider.setSliderStyle (juce::Slider::LinearVertical);
        slider.setLookAndFeel (&look);
        slider.setBounds (0, 0, 15, 160);
    }
    ~LevelMeter() { slider.setLookAndFeel (nullptr); }

    juce::Image renderAt (double percent)
    {
        slider.setValue (percent, juce::dontSendNotification);
        return render (slider);
    }
};

// Lit and dark colours of the segments: red k = 0, orange k = 1 and 2, green below.
const juce::Colour litColours[] = { juce::Colour (0xffff4848), juce::Colour (0xffffbe48),
                                    juce::Colour (0xff48a448) };
const juce::Colour darkColours[] = { juce::Colour (0xffb60000), juce::Colour (0xffb67500),
                                     juce::Colour (0xff005b00) };

int colourGroup (int k) { return k == 0 ? 0 : (k <= 2 ? 1 : 2); }

/** Checks the column: segment k is a 15 x 9 block at y = 7 + 14k, lit exactly when k >= firstLit;
    the 5-row gaps, the rows above the first segment and those below the last stay empty. */
void expectSegments (const juce::Image& image, int firstLit, double percent)
{
    SCOPED_TRACE ("level " + juce::String (percent) + " %");
    for (int y = 0; y < 160; ++y)
    {
        const int k = (y - 7) / 14;
        const bool inSegment = y >= 7 && k <= 10 && (y - 7) % 14 < 9;
        for (int x : { 0, 7, 14 })
        {
            auto c = image.getPixelAt (x, y);
            if (! inSegment)
            {
                EXPECT_TRUE (isTransparent (c)) << "x " << x << ", y " << y << " should be empty";
                continue;
            }
            auto expected =
                k >= firstLit ? litColours[colourGroup (k)] : darkColours[colourGroup (k)];
            EXPECT_TRUE (sameColour (c, expected))
                << "segment " << k << " at x " << x << ", y " << y << ": "
                << c.toDisplayString (true) << " instead of " << expected.toDisplayString (true);
        }
    }
}
} // namespace

TEST (LevelMeterLook, SegmentsLitByLevelAtTheWorkedSizes)
{
    LevelMeter meter;
    expectSegments (meter.renderAt (100.0), 0, 100.0); // full scale: all eleven lit
    expectSegments (meter.renderAt (60.0), 0, 60.0);   // above -6 dB: all lit
    expectSegments (meter.renderAt (50.0), 1, 50.0);   // -6.02 dB: the red segment goes dark
    expectSegments (meter.renderAt (0.0), 11, 0.0);    // silence: all dark
}

TEST (LevelMeterLook, ThresholdsFollowThreeDecibelSteps)
{
    LevelMeter meter;
    // Segment k lights above about -3 (k + 2) dB; check just above and below a few thresholds.
    struct Case
    {
        double percent;
        int firstLit;
    };
    for (auto c : { Case { 35.6, 1 }, Case { 35.4, 2 }, Case { 17.9, 3 }, Case { 17.7, 4 },
                    Case { 1.6, 10 }, Case { 1.5, 11 }, Case { 1.0e-30, 11 } })
        expectSegments (meter.renderAt (c.percent), c.firstLit, c.percent);
}

TEST (LevelMeterLook, HostileLevelsLightNothingOrEverything)
{
    EXPECT_LT (CommandLookAndFeel::levelStep (0.0), -11);
    EXPECT_LT (CommandLookAndFeel::levelStep (-5.0), -11);
    EXPECT_LT (CommandLookAndFeel::levelStep (std::numeric_limits<double>::quiet_NaN()), -11);
    EXPECT_LT (CommandLookAndFeel::levelStep (std::numeric_limits<double>::denorm_min()), -11);
    EXPECT_GE (CommandLookAndFeel::levelStep (std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ (CommandLookAndFeel::levelStep (100.0), 0);
    EXPECT_EQ (CommandLookAndFeel::levelStep (50.0), -2);
}

TEST (LevelMeterLook, TooShortMeterDrawsNothing)
{
    CommandLookAndFeel look;
    juce::Slider slider;
    slider.setRange (0.0, 100.0, 0.0);
    slider.setSliderStyle (juce::Slider::LinearVertical);
    slider.setLookAndFeel (&look);
    slider.setBounds (0, 0, 15, 30); // passed height 16: segment pitch 1, lit height 0
    slider.setValue (100.0, juce::dontSendNotification);
    auto image = render (slider);
    EXPECT_TRUE (drawnBounds (image).isEmpty()) << drawnBounds (image).toString();
    slider.setLookAndFeel (nullptr);
}

//==============================================================================
namespace
{
/** The tuner slider as the editor builds it: -50 to 50 in whole cents, linear horizontal, no text
    box, 220 x 40; its name carries the note. */
struct TunerMeter
{
    TunerLookAndFeel look;
    juce::Slider slider;

    TunerMeter()
    {
        slider.setRange (-50.0, 50.0, 1.0);
        slider.setSliderStyle (juce::Slider::LinearHorizontal);
        slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 80, 20);
        slider.setLookAndFeel (&look);
        slider.setBounds (200, 0, 220, 40);
    }
    ~TunerMeter() { slider.setLookAndFeel (nullptr); }

    juce::Image renderAt (double cents, const juce::String& note = "A")
    {
        slider.setName (note);
        slider.setValue (cents, juce::dontSendNotification);
        return render (slider);
    }
};

const juce::Colour band (0xfff0e9de);

/** What row y = 30 of the lower half shows, from x = 0 to 219, as a string of codes:
    b = band, g = green, o = orange, r = red, k = black mark, . = undrawn. */
juce::String lowerRow (const juce::Image& image, int y = 30)
{
    juce::String s;
    for (int x = 0; x < image.getWidth(); ++x)
    {
        auto c = image.getPixelAt (x, y);
        if (isTransparent (c))
            s << ".";
        else if (sameColour (c, band))
            s << "b";
        else if (sameColour (c, juce::Colours::green))
            s << "g";
        else if (sameColour (c, juce::Colours::orange))
            s << "o";
        else if (sameColour (c, juce::Colours::red))
            s << "r";
        else if (sameColour (c, juce::Colours::black))
            s << "k";
        else
            s << "?";
    }
    return s;
}

juce::String run (char code, int n)
{
    return juce::String::repeatedString (juce::String::charToString ((juce::juce_wchar) code), n);
}

/** The expected row: band from 0 to 195 with the given bar, marks at 95 and 101, 24 undrawn. */
juce::String expectedRow (char bandCode, char barCode, int barFrom, int barTo)
{
    juce::String s;
    for (int x = 0; x < 196; ++x)
        s << juce::String::charToString ((juce::juce_wchar) (
            x == 95 || x == 101 ? 'k' : (x >= barFrom && x < barTo ? barCode : bandCode)));
    return s + run ('.', 24);
}
} // namespace

TEST (TunerLook, BandBarAndMarksAtTheWorkedValues)
{
    TunerMeter tuner;
    // In tune: green band, no bar, the two marks at half +- 3 = 101 and 95.
    EXPECT_EQ (lowerRow (tuner.renderAt (0.0)), expectedRow ('g', 'g', 98, 98));
    // +2 cents: a 3-pixel green bar from 98 to 101, on a green band.
    EXPECT_EQ (lowerRow (tuner.renderAt (2.0)), expectedRow ('g', 'g', 98, 101));
    // -10 cents: a 19-pixel red bar from 79 to 98 on the light band (0.2f is above 0.2).
    EXPECT_EQ (lowerRow (tuner.renderAt (-10.0)), expectedRow ('b', 'r', 79, 98));
    // +50 cents: a 98-pixel red bar from 98 to the end of the meter.
    EXPECT_EQ (lowerRow (tuner.renderAt (50.0)), expectedRow ('b', 'r', 98, 196));
    // Near: 3 to 9 cents is orange.
    EXPECT_EQ (lowerRow (tuner.renderAt (-3.0)), expectedRow ('b', 'o', 93, 98));
    EXPECT_EQ (lowerRow (tuner.renderAt (9.0)), expectedRow ('b', 'o', 98, 115));

    // The lower half is painted on all its 20 rows, the same as row 30.
    auto image = tuner.renderAt (-10.0);
    for (int y = 20; y < 40; ++y)
        EXPECT_EQ (lowerRow (image, y), lowerRow (image, 30)) << "row " << y;
}

TEST (TunerLook, NoteNameInTheUpperHalfOnly)
{
    TunerMeter tuner;
    const juce::Colour noteColour (0xff4b3062);
    auto named = tuner.renderAt (0.0, "C#");
    auto text = drawnBounds (named, 0, { 0, 0, 220, 20 });
    ASSERT_FALSE (text.isEmpty());
    EXPECT_NEAR (text.getCentreX(), 98, 3)
        << "centred over the 196-pixel meter: " << text.toString();
    EXPECT_GT (countPixels (named, { 0, 0, 196, 20 },
                            [&] (juce::Colour c) { return sameColour (c, noteColour, 2); }),
               10);
    EXPECT_EQ (countPixels (named, { 0, 0, 220, 20 },
                            [&] (juce::Colour c) {
                                return c.getAlpha() > 128
                                       && ! sameColour (c.withAlpha ((juce::uint8) 255), noteColour,
                                                        8);
                            }),
               0)
        << "only the note colour is drawn above the meter";

    // Before the first reading the name is empty: the meter alone.
    auto unnamed = tuner.renderAt (0.0, {});
    EXPECT_TRUE (drawnBounds (unnamed, 0, { 0, 0, 220, 20 }).isEmpty());
    EXPECT_EQ (drawnBounds (unnamed), juce::Rectangle<int> (0, 20, 196, 20));

    // A long name stays on one line, squeezed into the upper half.
    auto longName = tuner.renderAt (0.0, "A very long note name indeed");
    auto longText = drawnBounds (longName, 0, { 0, 0, 220, 20 });
    EXPECT_LE (longText.getBottom(), 20);
    EXPECT_LE (longText.getRight(), 196);
}

TEST (TunerLook, ValueBeyondTheRangeStopsAtTheEdge)
{
    TunerLookAndFeel look;
    juce::Slider slider;
    slider.setRange (-500.0, 500.0, 1.0);
    slider.setSliderStyle (juce::Slider::LinearHorizontal);
    slider.setTextBoxStyle (juce::Slider::NoTextBox, true, 80, 20);
    slider.setLookAndFeel (&look);
    slider.setBounds (0, 0, 220, 40);
    slider.setValue (-400.0, juce::dontSendNotification);
    EXPECT_EQ (lowerRow (render (slider)), expectedRow ('b', 'r', 0, 98));
    slider.setLookAndFeel (nullptr);
}
