// PedalNewComponent: the shadowed body in its type's colour, the outline picture and the name.

#include "LookTestHelpers.h"

#include "editor/components/PedalNewComponent.h"

#include <memory>

using namespace look_test;

namespace
{
struct Face
{
    std::unique_ptr<Pedal> pedal = std::make_unique<Pedal>(); // about 4 MB: on the heap
    PedalNewComponent face;

    Face (int type, int w, int h)
    {
        pedal->init (type);
        face.pedal = pedal.get();
        face.setBounds (0, 0, w, h);
    }
};
/** Bounds of the white name pixels in the name band (0, 180, 120, 40), leaving out the outline
    picture's light edges at its sides. */
juce::Rectangle<int> whiteTextBounds (const juce::Image& image)
{
    juce::Rectangle<int> area (10, 180, 100, 40);
    int l = area.getRight(), r = -1, t = area.getBottom(), b = -1;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (sameColour (image.getPixelAt (x, y), juce::Colours::white, 40))
            {
                l = juce::jmin (l, x);
                r = juce::jmax (r, x);
                t = juce::jmin (t, y);
                b = juce::jmax (b, y);
            }
    return r < l ? juce::Rectangle<int>() : juce::Rectangle<int> (l, t, r - l + 1, b - t + 1);
}
} // namespace

TEST (PedalFace, BodyColourPerEffectType)
{
    const juce::uint32 colours[] = { 0xff0000ff, 0xff800080, 0xffb8860b, 0xff006400,
                                     0xff555555, 0xff8b0000, 0xff000000, 0xff2bad6d };
    for (int type = 0; type < 8; ++type)
    {
        SCOPED_TRACE ("effect type " + juce::String (type));
        Face f (type, 140, 300);
        auto image = render (f.face);
        for (auto p :
             { juce::Point<int> (60, 150), juce::Point<int> (20, 60), juce::Point<int> (100, 260) })
            EXPECT_TRUE (sameColour (image.getPixelAt (p.x, p.y), juce::Colour (colours[type])))
                << image.getPixelAt (p.x, p.y).toDisplayString (true) << " at " << p.toString();
    }
}

TEST (PedalFace, BodyShadowOutlineAndNameAt140By300)
{
    // A tremolo (two knobs) gets the narrowest face; its name is short enough not to be squeezed.
    Face f (tremoloEffect, 140, 300);
    auto image = render (f.face);
    const juce::Colour goldenrod (0xffb8860b);
    auto isBody = [&] (int x, int y) { return sameColour (image.getPixelAt (x, y), goldenrod); };

    // Body (3, 10, 115, 267): straight edges at x = 3 and 118, y = 10 and 277.
    EXPECT_TRUE (isBody (3, 150));
    EXPECT_FALSE (isBody (2, 150));
    EXPECT_TRUE (isBody (117, 150));
    EXPECT_FALSE (isBody (118, 150));
    EXPECT_TRUE (isBody (60, 10));
    EXPECT_FALSE (isBody (60, 9));
    EXPECT_TRUE (isBody (60, 276));
    EXPECT_FALSE (isBody (60, 277));
    // Rounded corners (size 10): the very corner pixel is not body.
    EXPECT_FALSE (isBody (3, 10));

    // The shadow, offset (5, 5), darkens the ground to the right of and below the body.
    auto right = image.getPixelAt (121, 150), below = image.getPixelAt (60, 281),
         left = image.getPixelAt (0, 150);
    EXPECT_GT (right.getAlpha(), 60);
    EXPECT_GT (below.getAlpha(), 60);
    EXPECT_LT (left.getAlpha(), right.getAlpha());
    EXPECT_LT (right.getBrightness(), 0.1f);

    // The light outline of the picture runs inside the body near its left edge.
    int light = countPixels (image, { 3, 140, 12, 20 }, [] (juce::Colour c) {
        return c.getBrightness() > 0.8f && c.getSaturation() < 0.2f;
    });
    EXPECT_GT (light, 10);

    // The name, white, centred in (0, 180, 120, 40), on one line.
    auto name = whiteTextBounds (image);
    EXPECT_NEAR (name.getCentreX(), 60, 2) << name.toString();
    EXPECT_NEAR (name.getCentreY(), 200, 4) << name.toString();
    EXPECT_LT (name.getHeight(), 22) << "one line";
}

TEST (PedalFace, PictureFillsTheWidthOfAWideFace)
{
    // 200 x 300: the picture is stretched to 180 x 275 and centred in (0, 0, 180, 280). Its jack
    // stubs (at 88 and 212 of 300) then stand at x = 53 and 127 above the body's top edge.
    Face f (compressorEffect, 200, 300);
    auto image = render (f.face);
    auto stubColumns = [&] (int y) {
        juce::Array<int> xs;
        for (int x = 0; x < 200; ++x)
            if (image.getPixelAt (x, y).getBrightness() > 0.7f
                && image.getPixelAt (x, y).getAlpha() > 200)
                xs.add (x);
        return xs;
    };
    auto xs = stubColumns (7);
    ASSERT_FALSE (xs.isEmpty());
    EXPECT_NEAR (xs.getFirst(), 53 - 12, 2);
    EXPECT_NEAR (xs.getLast(), 127 + 12, 2);
    EXPECT_FALSE (xs.contains (90)) << "no stub in the middle";
}

TEST (PedalFace, LongNameStaysOnOneLineAndFaceWithoutPedalIsBlank)
{
    Face f (delayEffect, 140, 300);
    f.pedal->displayName = "An extraordinarily long pedal name for the band";
    auto image = render (f.face);
    auto text = whiteTextBounds (image);
    EXPECT_FALSE (text.isEmpty());
    EXPECT_LE (text.getHeight(), 24) << "squeezed onto one line, not wrapped";

    PedalNewComponent empty;
    empty.setBounds (0, 0, 140, 300);
    EXPECT_TRUE (drawnBounds (render (empty)).isEmpty());

    // Sizes too small for the picture or the body draw what fits and nothing else.
    Face tiny (delayEffect, 15, 20);
    EXPECT_NO_FATAL_FAILURE (render (tiny.face));
}
