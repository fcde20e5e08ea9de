// The four chain-button looks: a pale translucent icon fitted to the button, nothing else.

#include "LookTestHelpers.h"

#include "editor/looks/ChangesLookAndFeel.h"
#include "editor/looks/NextLookAndFeel.h"
#include "editor/looks/PreviousLookAndFeel.h"
#include "editor/looks/SwapLookAndFeel.h"

using namespace look_test;

namespace
{
const juce::Colour iconColour (0x80f0ffff);

/** Renders a chain button; its text is its name, as the framework sets it. */
juce::Image renderButton (juce::LookAndFeel& look, const juce::String& name, int w, int h,
                          bool on = false)
{
    return renderToggle (look, name, name, w, h, on);
}

/** Covered height of column x in pixels: the sum of alpha over the icon's alpha of 0x80. */
double columnCoverage (const juce::Image& image, int x)
{
    double sum = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        sum += image.getPixelAt (x, y).getAlpha();
    return sum / 128.0;
}

/** Every drawn pixel has the icon's colour; fully covered ones also its alpha. */
void expectOnlyIconColour (const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
        {
            auto c = image.getPixelAt (x, y);
            EXPECT_LE (c.getAlpha(), 0x81) << "x " << x << ", y " << y;
            if (c.getAlpha() >= 0x7f)
            {
                EXPECT_TRUE (sameColour (c, iconColour, 3))
                    << c.toDisplayString (true) << " at " << x << ", " << y;
            }
        }
}

/** The triangle between its apex column and its base column, over the given band of x. For a left
    apex the covered height grows linearly from the apex to the full base height. */
void expectTriangle (const juce::Image& image, double apexX, double baseX, double baseHeight,
                     const char* what)
{
    SCOPED_TRACE (what);
    const double left = juce::jmin (apexX, baseX), right = juce::jmax (apexX, baseX);
    for (int x = 0; x < image.getWidth(); ++x)
    {
        // The height grows linearly away from the apex: integrate it over the part of the
        // column [x, x + 1] that the triangle spans.
        const double from = juce::jmax ((double) x, left), to = juce::jmin (x + 1.0, right);
        double expected = 0;
        if (to > from)
            expected =
                baseHeight * (to - from) * std::abs ((from + to) / 2.0 - apexX) / (right - left);
        EXPECT_NEAR (columnCoverage (image, x), expected, 0.75) << "column " << x;
    }
}
} // namespace

TEST (ChainButtonLooks, PreviousAndNextTrianglesIn30By30)
{
    PreviousLookAndFeel previous;
    NextLookAndFeel next;
    auto prev = renderButton (previous, "PREVB1", 30, 30);
    auto nxt = renderButton (next, "NEXTB1", 30, 30);

    // Scaled by 0.2 to 30 x 20 and centred: rows 0-4 and 25-29 stay empty.
    EXPECT_EQ (drawnBounds (prev), juce::Rectangle<int> (0, 5, 30, 20));
    EXPECT_EQ (drawnBounds (nxt), juce::Rectangle<int> (0, 5, 30, 20));
    expectTriangle (prev, 0.0, 30.0, 20.0, "PREVB: apex (0, 15), base x = 30 from y 5 to 25");
    expectTriangle (nxt, 30.0, 0.0, 20.0, "NEXTB: apex (30, 15), base x = 0 from y 5 to 25");
    expectOnlyIconColour (prev);
    expectOnlyIconColour (nxt);

    // Apex on the middle row: the first column is covered only around y = 15.
    EXPECT_GT (prev.getPixelAt (0, 15).getAlpha(), 0);
    EXPECT_EQ (prev.getPixelAt (0, 12).getAlpha(), 0);
    EXPECT_GT (nxt.getPixelAt (29, 15).getAlpha(), 0);
    EXPECT_EQ (nxt.getPixelAt (29, 12).getAlpha(), 0);
}

TEST (ChainButtonLooks, TrianglesKeepProportionsInAWideButton)
{
    PreviousLookAndFeel previous;
    NextLookAndFeel next;
    auto prev = renderButton (previous, "PREVB2", 60, 30);
    auto nxt = renderButton (next, "NEXTB2", 60, 30);
    // 45 x 30, centred along the width: x = 7.5 to 52.5.
    expectTriangle (prev, 7.5, 52.5, 30.0, "PREVB 60 x 30");
    expectTriangle (nxt, 52.5, 7.5, 30.0, "NEXTB 60 x 30");
    EXPECT_EQ (drawnBounds (prev).getX(), 7);
    EXPECT_EQ (drawnBounds (prev).getRight(), 53);
    EXPECT_TRUE (imagesEqual (nxt, renderButton (next, "NEXTB2", 60, 30)));
}

TEST (ChainButtonLooks, IconsFillTheButtonWhateverTheState)
{
    PreviousLookAndFeel previous;
    NextLookAndFeel next;
    SwapLookAndFeel swap;
    ChangesLookAndFeel changes;

    struct Case
    {
        juce::LookAndFeel& look;
        const char* name;
        int w, h;
    };
    for (auto c : { Case { previous, "PREVB3", 30, 30 }, Case { next, "NEXTB3", 30, 30 },
                    Case { swap, "SWAPB3", 30, 30 }, Case { changes, "CHANGEB3", 20, 20 } })
    {
        SCOPED_TRACE (c.name);
        auto off = renderButton (c.look, c.name, c.w, c.h, false);
        auto on = renderButton (c.look, c.name, c.w, c.h, true);
        EXPECT_TRUE (imagesEqual (off, on)) << "the toggle state is not shown";
        expectOnlyIconColour (off);
        auto drawn = drawnBounds (off);
        EXPECT_TRUE (drawn.getWidth() >= c.w - 2 || drawn.getHeight() >= c.h - 1)
            << drawn.toString();

        // Hovered and held down look the same too.
        juce::ToggleButton button (c.name);
        button.setLookAndFeel (&c.look);
        button.setBounds (0, 0, c.w, c.h);
        button.setState (juce::Button::buttonDown);
        EXPECT_TRUE (imagesEqual (off, render (button))) << "pressed";
        button.setState (juce::Button::buttonOver);
        EXPECT_TRUE (imagesEqual (off, render (button))) << "hovered";
        button.setEnabled (false);
        EXPECT_TRUE (imagesEqual (off, render (button))) << "disabled";
        button.setLookAndFeel (nullptr);
    }
}

TEST (ChainButtonLooks, SwapArrowsAndWasteBinShapes)
{
    SwapLookAndFeel swap;
    auto arrows = renderButton (swap, "SWAPB1", 30, 30);
    // 488 x 514 scaled to about 28.5 x 30, centred: columns 0 and 29 all but empty.
    EXPECT_EQ (drawnBounds (arrows).getY(), 0);
    EXPECT_EQ (drawnBounds (arrows).getBottom(), 30);
    EXPECT_LT (columnCoverage (arrows, 0), 0.5);
    EXPECT_LT (columnCoverage (arrows, 29), 0.5);
    EXPECT_GT (columnCoverage (arrows, 2), 3.0);
    EXPECT_GT (columnCoverage (arrows, 27), 3.0);
    // The upper arrow's head is on the left, the lower arrow's on the right.
    auto coverage = [&arrows] (juce::Rectangle<int> r) {
        return countPixels (arrows, r, [] (juce::Colour c) { return c.getAlpha() > 64; });
    };
    EXPECT_GT (coverage ({ 5, 0, 7, 15 }), 3 * coverage ({ 5, 15, 7, 15 }) / 2);
    EXPECT_GT (coverage ({ 18, 15, 7, 15 }), 3 * coverage ({ 18, 0, 7, 15 }) / 2);

    ChangesLookAndFeel changes;
    auto bin = renderButton (changes, "CHANGEB1", 20, 20);
    // 13 x 15 scaled by 4/3 to 17.3 x 20, centred from x = 1.33.
    auto drawn = drawnBounds (bin);
    EXPECT_EQ (drawn.getX(), 1);
    EXPECT_EQ (drawn.getRight(), 19);
    EXPECT_EQ (drawn.getHeight(), 20);
    // The three slots stay open in the body; the body shows between them.
    for (int slotX : { 6, 10, 13 })
    {
        EXPECT_LT (bin.getPixelAt (slotX, 13).getAlpha(), 70) << "slot at x " << slotX;
        EXPECT_GT (bin.getPixelAt (slotX + 2, 13).getAlpha(), 100)
            << "body right of slot at x " << slotX;
    }
}
