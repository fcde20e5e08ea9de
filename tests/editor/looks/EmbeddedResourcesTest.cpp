// The compiled-in pictures and vector shapes: encodings, pixel sizes, the letter grid of the LED
// strip, and the path data's structure, bounds and byte format.

#include "editor/EmbeddedResources.h"

#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

namespace
{
const juce::uint8* bytes (const EmbeddedData& d)
{
    return static_cast<const juce::uint8*> (d.data);
}

juce::Image decode (const EmbeddedData& d)
{
    return juce::ImageCache::getFromMemory (d.data, d.size);
}

/** True when the JPEG stream has a progressive start-of-frame (SOF2) with 8-bit samples and three
    components. */
bool isProgressiveColourJpeg (const EmbeddedData& d)
{
    auto* b = bytes (d);
    for (int i = 2; i + 9 < d.size; ++i)
        if (b[i] == 0xff && b[i + 1] == 0xc2)
            return b[i + 4] == 8 && b[i + 9] == 3;
    return false;
}

/** PNG header: 8-bit depth, colour type 6 (RGBA), not interlaced. */
bool isRgbaPng (const EmbeddedData& d)
{
    auto* b = bytes (d);
    return d.size > 29 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G' && b[24] == 8 && b[25] == 6
           && b[28] == 0;
}

/** Brightness-independent "red LED" test of one pixel. */
bool isLitRed (juce::Colour c)
{
    return c.getRed() > 180 && c.getRed() > c.getGreen() + 60 && c.getRed() > c.getBlue() + 60;
}

juce::Path loadPath (const EmbeddedData& d)
{
    juce::Path p;
    p.loadPathFromData (d.data, (size_t) d.size);
    return p;
}

/** The path's bounds (control points included) as given to two decimals. */
void expectBounds (const juce::Path& p, float left, float right, float top, float bottom)
{
    constexpr float tol = 0.01f;
    auto r = p.getBounds();
    EXPECT_NEAR (r.getX(), left, tol);
    EXPECT_NEAR (r.getRight(), right, tol);
    EXPECT_NEAR (r.getY(), top, tol);
    EXPECT_NEAR (r.getBottom(), bottom, tol);
}

struct PathCounts
{
    int subPaths = 0, lines = 0, cubics = 0, quads = 0, closes = 0;
    juce::Array<int> linesPerSubPath;
};

PathCounts countElements (const juce::Path& p)
{
    PathCounts c;
    juce::Path::Iterator it (p);
    while (it.next())
    {
        switch (it.elementType)
        {
            case juce::Path::Iterator::startNewSubPath:
                ++c.subPaths;
                c.linesPerSubPath.add (0);
                break;
            case juce::Path::Iterator::lineTo:
                ++c.lines;
                c.linesPerSubPath.getReference (c.subPaths - 1)++;
                break;
            case juce::Path::Iterator::quadraticTo: ++c.quads; break;
            case juce::Path::Iterator::cubicTo: ++c.cubics; break;
            case juce::Path::Iterator::closePath: ++c.closes; break;
            default: break;
        }
    }
    return c;
}
} // namespace

//==============================================================================
TEST (EmbeddedResources, PicturesDecodeAtTheirSizesAndEncodings)
{
    struct Expected
    {
        const char* name;
        const EmbeddedData& data;
        int width, height;
        bool png;
    };
    const Expected pictures[] = {
        { "ledLettersImage", embedded::ledLettersImage, 900, 107, false },
        { "pedalBodyImage", embedded::pedalBodyImage, 300, 560, true },
        { "footswitchOnImage", embedded::footswitchOnImage, 75, 100, true },
        { "footswitchOffImage", embedded::footswitchOffImage, 75, 100, true },
        { "boardBackgroundImage", embedded::boardBackgroundImage, 1200, 620, false },
        { "makerWordmarkImage", embedded::makerWordmarkImage, 176, 30, true },
    };

    for (auto& p : pictures)
    {
        auto image = decode (p.data);
        ASSERT_TRUE (image.isValid()) << p.name;
        EXPECT_EQ (image.getWidth(), p.width) << p.name;
        EXPECT_EQ (image.getHeight(), p.height) << p.name;
        if (p.png)
        {
            EXPECT_TRUE (isRgbaPng (p.data))
                << p.name << ": must be an 8-bit RGBA, non-interlaced PNG";
            EXPECT_TRUE (image.hasAlphaChannel()) << p.name;
            EXPECT_EQ (image.getPixelAt (0, 0).getAlpha(), 0)
                << p.name << ": corner must be transparent";
        }
        else
        {
            EXPECT_TRUE (isProgressiveColourJpeg (p.data))
                << p.name << ": must be a progressive 3-component JPEG";
        }
    }
}

TEST (EmbeddedResources, LedStripHasNineLettersOnTheHundredPixelGrid)
{
    auto strip = decode (embedded::ledLettersImage);
    ASSERT_EQ (strip.getWidth(), 900);

    for (int k = 0; k < 9; ++k)
    {
        int litInLetter = 0, litInGap = 0;
        for (int y = 0; y < strip.getHeight(); ++y)
        {
            for (int x = 100 * k; x < 100 * k + 75; ++x)
                litInLetter += isLitRed (strip.getPixelAt (x, y)) ? 1 : 0;
            for (int x = 100 * k + 77; x < 100 * k + 100; ++x)
                litInGap += strip.getPixelAt (x, y).getBrightness() > 0.35f ? 1 : 0;
        }
        EXPECT_GT (litInLetter, 500) << "letter " << (char) ('A' + k) << " has too few lit pixels";
        EXPECT_EQ (litInGap, 0) << "the 25 columns after letter " << (char) ('A' + k)
                                << " must be dark panel";
    }

    // Dot centres of the 5 x 7 grid of letter k: x = 100k + 7 + 15 col, y = 53 + 15 (row - 3).
    auto dot = [&strip] (int k, int col, int row) {
        return strip.getPixelAt (100 * k + 7 + 15 * col, 53 + 15 * (row - 3));
    };
    // "A": the crossbar (row 3) is lit across, the apex corners (row 0, columns 0 and 4) are not.
    for (int col = 0; col < 5; ++col)
        EXPECT_TRUE (isLitRed (dot (0, col, 3))) << "A crossbar, column " << col;
    EXPECT_FALSE (isLitRed (dot (0, 0, 0)));
    EXPECT_FALSE (isLitRed (dot (0, 4, 0)));
    // "I" (k = 8): the middle column is lit top to bottom, the left column nowhere.
    for (int row = 0; row < 7; ++row)
    {
        EXPECT_TRUE (isLitRed (dot (8, 2, row))) << "I stem, row " << row;
        EXPECT_FALSE (isLitRed (dot (8, 0, row))) << "I, left column, row " << row;
    }
    // Unlit dots are still visible as dots: lighter than the panel between them.
    EXPECT_GT (dot (8, 0, 3).getBrightness(), strip.getPixelAt (800, 46).getBrightness());
}

TEST (EmbeddedResources, FootswitchPicturesDifferOnlyInTheLed)
{
    auto on = decode (embedded::footswitchOnImage);
    auto off = decode (embedded::footswitchOffImage);

    // The bank buttons show the top 80 rows, whichever picture: they must be identical.
    int differing = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 75; ++x)
            differing += on.getPixelAt (x, y) != off.getPixelAt (x, y) ? 1 : 0;
    EXPECT_EQ (differing, 0);

    // The LED sits below the switch, centred, in rows 80 to 99: lit red when on, dark when off.
    auto ledOn = on.getPixelAt (37, 90);
    auto ledOff = off.getPixelAt (37, 90);
    EXPECT_TRUE (isLitRed (ledOn)) << ledOn.toDisplayString (true);
    EXPECT_LT (ledOff.getBrightness(), 0.5f) << ledOff.toDisplayString (true);
    EXPECT_GT (ledOff.getRed(), ledOff.getGreen()) << "a dark LED is still a red lens";

    // The switch is round, centred horizontally in the upper part, and opaque chrome (grey).
    auto centre = on.getPixelAt (37, 38);
    EXPECT_EQ (centre.getAlpha(), 255);
    EXPECT_NEAR (centre.getRed(), centre.getBlue(), 30) << "chrome is neutral grey";
    EXPECT_EQ (on.getPixelAt (37 + 30, 38 + 30).getAlpha() < 128, true)
        << "outside the round switch";
}

TEST (EmbeddedResources, PedalBodyIsAThinOutlineOnTransparency)
{
    auto body = decode (embedded::pedalBodyImage);
    EXPECT_EQ (body.getPixelAt (150, 280).getAlpha(), 0)
        << "the middle shows the face's own colour";

    // Along the middle row: transparent, then one thin light line near each side, then transparent.
    int opaqueRun = 0, runs = 0;
    bool inside = false;
    for (int x = 0; x < 300; ++x)
    {
        auto c = body.getPixelAt (x, 280);
        bool lit = c.getAlpha() > 100;
        if (lit)
        {
            ++opaqueRun;
            EXPECT_GT (c.getBrightness(), 0.8f) << "outline pixel at x = " << x;
        }
        if (lit && ! inside)
            ++runs;
        inside = lit;
    }
    EXPECT_EQ (runs, 2) << "one outline crossing on each side";
    EXPECT_LE (opaqueRun, 12) << "the outline is thin";

    // Two jack stubs rise above the outline's top edge.
    int stubColumns = 0;
    for (int x = 0; x < 300; ++x)
        stubColumns += body.getPixelAt (x, 15).getAlpha() > 200 ? 1 : 0;
    EXPECT_GT (stubColumns, 40);
    EXPECT_GT (body.getPixelAt (88, 15).getAlpha(), 200);
    EXPECT_GT (body.getPixelAt (212, 15).getAlpha(), 200);
    EXPECT_EQ (body.getPixelAt (150, 15).getAlpha(), 0);
}

TEST (EmbeddedResources, WoodenFloorIsDarkerAtTheEdges)
{
    auto floor = decode (embedded::boardBackgroundImage);
    auto meanBrightness = [&floor] (juce::Rectangle<int> area) {
        double sum = 0;
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                sum += floor.getPixelAt (x, y).getBrightness();
        return sum / area.getWidth() / area.getHeight();
    };
    auto middle = meanBrightness ({ 500, 250, 200, 120 });
    EXPECT_GT (middle, meanBrightness ({ 0, 250, 40, 120 }) + 0.1);
    EXPECT_GT (middle, meanBrightness ({ 1160, 250, 40, 120 }) + 0.1);
    EXPECT_GT (middle, meanBrightness ({ 500, 0, 200, 20 }) + 0.1);

    // Wood, not grey: red over green over blue in the middle.
    auto c = floor.getPixelAt (600, 300);
    EXPECT_GT (c.getRed(), c.getGreen());
    EXPECT_GT (c.getGreen(), c.getBlue());
}

TEST (EmbeddedResources, WordmarkIsLightLetteringOnTransparency)
{
    auto mark = decode (embedded::makerWordmarkImage);
    int light = 0, clear = 0;
    for (int y = 0; y < mark.getHeight(); ++y)
        for (int x = 0; x < mark.getWidth(); ++x)
        {
            auto c = mark.getPixelAt (x, y);
            light += (c.getAlpha() > 200 && c.getBrightness() > 0.7f) ? 1 : 0;
            clear += c.getAlpha() == 0 ? 1 : 0;
        }
    EXPECT_GT (light, 400) << "lettering";
    EXPECT_GT (clear, 176 * 30 / 3) << "transparent ground";
}

//==============================================================================
TEST (EmbeddedResources, PathDataHasTheFrameworkFormatAndLength)
{
    struct Expected
    {
        const char* name;
        const EmbeddedData& data;
        int bytes;
    };
    const Expected shapes[] = {
        { "knobPathA", embedded::knobPathA, 564 },
        { "knobPathB", embedded::knobPathB, 1165 },
        { "swapIconPath", embedded::swapIconPath, 532 },
        { "changesIconPath", embedded::changesIconPath, 6922 },
    };

    for (auto& s : shapes)
    {
        ASSERT_EQ (s.data.size, s.bytes) << s.name;
        auto* b = bytes (s.data);
        EXPECT_EQ (b[0], 'n') << s.name << ": starts with the non-zero winding opcode";
        EXPECT_EQ (b[s.bytes - 3], 'e') << s.name << ": end-of-path opcode";
        EXPECT_EQ (b[s.bytes - 2], 0) << s.name;
        EXPECT_EQ (b[s.bytes - 1], 0) << s.name;

        // Loading stops at 'e'; writing the loaded path gives the same bytes back (without the two
        // trailing zeros), so the files are exactly what the framework itself writes.
        auto path = loadPath (s.data);
        juce::MemoryOutputStream out;
        path.writePathToStream (out);
        ASSERT_EQ ((int) out.getDataSize(), s.bytes - 2) << s.name;
        EXPECT_EQ (std::memcmp (out.getData(), s.data.data, (size_t) s.bytes - 2), 0) << s.name;
        EXPECT_TRUE (path.isUsingNonZeroWinding()) << s.name;
    }
}

TEST (EmbeddedResources, PathStructureAndBounds)
{
    {
        SCOPED_TRACE ("knobPathA: closed cap, a start point and 22 cubics");
        auto p = loadPath (embedded::knobPathA);
        auto c = countElements (p);
        EXPECT_EQ (c.subPaths, 1);
        EXPECT_EQ (c.cubics, 22);
        EXPECT_EQ (c.lines, 0);
        EXPECT_EQ (c.closes, 1);
        expectBounds (p, 31.5f, 109.4f, 37.3f, 114.3f);
        auto r = p.getBounds();

        // Seven notches: walking round the outline at a fixed radius from the box centre, the
        // flattened outline dips inside and comes back out seven times.
        auto centre = r.getCentre();
        juce::PathFlatteningIterator it (p);
        int dips = 0;
        bool inDip = false;
        float minR = 1e9f, maxR = 0;
        while (it.next())
        {
            auto d = juce::Point<float> (it.x2, it.y2).getDistanceFrom (centre);
            minR = juce::jmin (minR, d);
            maxR = juce::jmax (maxR, d);
            bool dip = d < 37.0f;
            if (dip && ! inDip)
                ++dips;
            inDip = dip;
        }
        EXPECT_EQ (dips, 7);
        EXPECT_NEAR (minR, 35.0f, 1.0f);
        EXPECT_NEAR (maxR, 39.0f, 1.0f);
    }
    {
        SCOPED_TRACE ("knobPathB: open circle, radius 50 about (100, 150), 128 lines");
        auto p = loadPath (embedded::knobPathB);
        auto c = countElements (p);
        EXPECT_EQ (c.subPaths, 1);
        EXPECT_EQ (c.lines, 128);
        EXPECT_EQ (c.closes, 0);
        juce::Path::Iterator it (p);
        ASSERT_TRUE (it.next());
        EXPECT_EQ (it.x1, 100.0f);
        EXPECT_EQ (it.y1, 100.0f);
        ASSERT_TRUE (it.next());
        EXPECT_EQ (it.elementType, juce::Path::Iterator::lineTo);
        EXPECT_EQ (it.x1, 100.0f) << "the first line repeats the start point";
        EXPECT_EQ (it.y1, 100.0f);
        while (it.next())
            EXPECT_NEAR (juce::Point<float> (it.x1, it.y1).getDistanceFrom ({ 100.0f, 150.0f }),
                         50.0f, 1.0e-3f);
        expectBounds (p, 50.01f, 150.0f, 100.0f, 200.0f);
    }
    {
        SCOPED_TRACE ("swapIconPath: two closed arrows of 6 lines and 8 cubics each");
        auto p = loadPath (embedded::swapIconPath);
        auto c = countElements (p);
        EXPECT_EQ (c.subPaths, 2);
        EXPECT_EQ (c.lines, 12);
        EXPECT_EQ (c.cubics, 16);
        EXPECT_EQ (c.closes, 2);
        expectBounds (p, 12.04f, 499.96f, -2.02f, 512.01f);
        auto r = p.getBounds();

        // The upper arrow points left and the lower one right: near the left edge the upper half is
        // filled over the arrow head's full height and the lower half only over its shaft's, and
        // the other way round near the right edge.
        auto filledHeight = [&p, &r] (float x, float fromY, float toY) {
            int filled = 0;
            for (float y = fromY; y < toY; y += 1.0f)
                filled += p.contains (x, y) ? 1 : 0;
            return filled;
        };
        auto midY = r.getCentreY();
        auto nearLeft = r.getX() + 150.0f, nearRight = r.getRight() - 150.0f;
        EXPECT_GT (filledHeight (nearLeft, r.getY(), midY),
                   2 * filledHeight (nearLeft, midY, r.getBottom()));
        EXPECT_GT (filledHeight (nearRight, midY, r.getBottom()),
                   2 * filledHeight (nearRight, r.getY(), midY));
        EXPECT_FALSE (p.contains (r.getX() + 1.0f, r.getY() + 1.0f));
    }
    {
        SCOPED_TRACE ("changesIconPath: six closed polygons, a waste bin with three open slots");
        auto p = loadPath (embedded::changesIconPath);
        auto c = countElements (p);
        EXPECT_EQ (c.subPaths, 6);
        EXPECT_EQ (c.cubics, 0);
        EXPECT_EQ (c.closes, 6);
        EXPECT_EQ (c.linesPerSubPath, juce::Array<int> ({ 135, 135, 132, 282, 74, 4 }));
        expectBounds (p, 1.5f, 14.5f, 0.0f, 15.0f);

        EXPECT_TRUE (p.contains (8.0f, 3.2f)) << "lid";
        EXPECT_TRUE (p.contains (3.5f, 10.0f)) << "body";
        for (float slotX : { 5.3f, 8.0f, 10.7f })
        {
            EXPECT_FALSE (p.contains (slotX, 10.0f)) << "slot at x = " << slotX << " stays open";
            EXPECT_TRUE (p.contains (slotX + 1.3f, 10.0f)) << "body between slots";
        }
        EXPECT_TRUE (p.contains (8.0f, 0.5f)) << "handle";
        EXPECT_FALSE (p.contains (8.0f, 2.0f)) << "handle opening";
    }
}
