#include "editor/looks/PedalLookAndFeel.h"

#include "editor/EmbeddedResources.h"

namespace
{
/** drawImageWithin, keeping proportions and centred, but nothing at all for an empty box or
    picture (the framework would otherwise build a degenerate transform). */
void drawPictureWithin (juce::Graphics& g, const juce::Image& picture, juce::Rectangle<int> box)
{
    if (picture.isValid() && ! box.isEmpty())
        g.drawImageWithin (picture, box.getX(), box.getY(), box.getWidth(), box.getHeight(),
                           juce::RectanglePlacement::centred);
}

juce::Image decode (const EmbeddedData& d)
{
    return juce::ImageCache::getFromMemory (d.data, d.size);
}

/** Fits a shape into a box, proportions kept and centred. A box without area leaves the shape
    as it is (the framework does the same for a shape without area). */
void fitInto (juce::Path& shape, double x, double y, double w, double h)
{
    shape.scaleToFit ((float) x, (float) y, (float) w, (float) h, true);
}

juce::Path loadShape (const EmbeddedData& d)
{
    juce::Path p;
    p.loadPathFromData (d.data, (size_t) d.size);
    return p;
}
} // namespace

PedalLookAndFeel::PedalLookAndFeel()
    : footswitchOnImageData (embedded::footswitchOnImage.data),
      footswitchOnImageSize (embedded::footswitchOnImage.size),
      footswitchOffImageData (embedded::footswitchOffImage.data),
      footswitchOffImageSize (embedded::footswitchOffImage.size)
{
    bankLetterImage = decode (embedded::ledLettersImage);
    onImage = juce::ImageCache::getFromMemory (footswitchOnImageData, footswitchOnImageSize);
    offImage = juce::ImageCache::getFromMemory (footswitchOffImageData, footswitchOffImageSize);
    setColour (juce::Slider::thumbColourId, juce::Colours::red);
}

PedalLookAndFeel::~PedalLookAndFeel() = default;

//==============================================================================
void PedalLookAndFeel::drawToggleButton (juce::Graphics& g, juce::ToggleButton& button, bool, bool)
{
    const int w = button.getWidth();
    const int h = button.getHeight();
    auto picture = button.getToggleState() ? onImage : offImage;
    const auto name = button.getName();

    const bool isBankButton = name.contains ("bankUp") || name.contains ("bankDown");
    const bool hasCaption =
        isBankButton || name.contains ("PRESET") || name.contains ("recordpreset");

    if (! hasCaption)
    {
        // A pedal's footswitch: the picture alone, whatever the button's text.
        drawPictureWithin (g, picture, { 0, 0, w, h });
        return;
    }

    // The bank buttons step a page and have no LED of their own: the top 80 % of the picture.
    if (isBankButton)
        picture = picture.getClippedImage (
            { 0, 0, picture.getWidth(), (int) (picture.getHeight() * 0.8) });

    g.setColour (juce::Colour (captionColour));
    drawPictureWithin (g, picture, { 0, 30, w, h - 30 });
    g.drawFittedText (button.getButtonText(), 0, 0, w, 30, juce::Justification::centred, 1, 0.0f);
}

//==============================================================================
void PedalLookAndFeel::drawLabel (juce::Graphics& g, juce::Label& label)
{
    const int w = label.getWidth();
    const int h = label.getHeight();

    g.setColour (juce::Colour (captionColour));
    g.drawFittedText ("Bank", 0, 40, w, 30, juce::Justification::centred, 1, 0.0f);

    // The last character, as a signed 8-bit code, picks the letter: "A" is columns 0 to 74, "B"
    // 100 to 174, ... A character outside A to I lands wholly outside the strip, and the clip
    // then gives an empty picture, so only the caption shows.
    const auto text = label.getText();
    const int code = text.isEmpty() ? 0 : (int) (juce::int8) (text.getLastCharacter() & 0xff);
    const int x = (code - 'A') * ledLetterPitch;
    const auto letter =
        bankLetterImage.getClippedImage ({ x, 0, ledLetterWidth, bankLetterImage.getHeight() });
    drawPictureWithin (g, letter, { 0, 70, w, h - 140 });
}

//==============================================================================
void PedalLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                                         float sliderPos, float rotaryStartAngle,
                                         float rotaryEndAngle, juce::Slider& slider)
{
    // Every coordinate is a proportion of the area, computed in double and then handed over as
    // float, so a knob of any size keeps its look.
    const double X = x, Y = y, W = width, H = height;
    const double skirtInset = 1.0 - 0.54;  // 0.46: where the skirt's box starts, per unit of size
    const double tickLength = 0.45 * 0.07; // 0.0315 W: tick height, pointer width and gaps
    const auto cx = (float) (X + 0.55 * W / 2.0 + 0.45 * W / 2.0);
    const auto cy = (float) (Y + 0.55 * H / 2.0 + 0.45 * H / 2.0);
    const float angle = rotaryStartAngle + sliderPos * (rotaryEndAngle - rotaryStartAngle);
    const float tickStep = (rotaryEndAngle - rotaryStartAngle) / 10.0f;

    // The knob's name in the 16-unit band at the bottom of the slider.
    g.setColour (slider.findColour (juce::ToggleButton::textColourId));
    g.drawFittedText (slider.getComponentID(), 0, height - 16, width, 16,
                      juce::Justification::centred, 2, 0.0f);

    // Eleven ticks: copy k ends up turned by start + k * step about the pivot.
    juce::Path ticks;
    for (int k = 0; k <= 10; ++k)
    {
        ticks.addRectangle ((float) (X + 0.9865 * W / 2.0),
                            (float) (Y + skirtInset * H / 2.0 - 2.0 * tickLength * W),
                            (float) (0.0135 * W), (float) (tickLength * W));
        ticks.applyTransform (juce::AffineTransform::rotation (tickStep, cx, cy));
    }
    ticks.applyTransform (juce::AffineTransform::rotation (rotaryStartAngle - tickStep, cx, cy));
    g.setColour (juce::Colour (antiqueWhite));
    g.fillPath (ticks);

    // The pointer, the cap (both turn with the value), the disc and the skirt.
    juce::Path pointer;
    pointer.addRectangle ((float) (X + 0.9685 * W / 2.0), (float) (Y + 0.275 * H + tickLength * W),
                          (float) (tickLength * W), (float) (0.135 * W));
    pointer.applyTransform (juce::AffineTransform::rotation (angle, cx, cy));

    auto cap = loadShape (embedded::knobPathA);
    fitInto (cap, X + 0.275 * W, Y + 0.275 * H, 0.45 * W, 0.45 * H);
    cap.applyTransform (juce::AffineTransform::rotation (angle, cx, cy));

    auto disc = loadShape (embedded::knobPathB);
    fitInto (disc, X + 0.3425 * W, Y + 0.3425 * H, 0.315 * W, 0.315 * H);

    auto skirt = loadShape (embedded::knobPathB);
    fitInto (skirt, X + 0.23 * W, Y + 0.23 * H, 0.54 * W, 0.54 * H);

    // The skirt: shadow, then a light-from-the-upper-left radial gradient.
    const int skirtShadowOffset = (int) (0.54 * W * 0.02);
    juce::DropShadow (juce::Colours::black, 4, { skirtShadowOffset, skirtShadowOffset })
        .drawForPath (g, skirt);
    g.setGradientFill (juce::ColourGradient (
        juce::Colours::white, (float) (X + 0.7 * skirtInset * W),
        (float) (Y + 0.7 * skirtInset * H), juce::Colour (0xff4e564e),
        (float) (X + 1.2 * skirtInset * W), (float) (Y + 1.2 * skirtInset * H), true));
    g.fillPath (skirt);

    // The cap: shadow, then dark gradient.
    const int capShadowOffset = (int) (0.45 * W * 0.07);
    juce::DropShadow (juce::Colours::black, 4, { capShadowOffset, capShadowOffset })
        .drawForPath (g, cap);
    g.setGradientFill (
        juce::ColourGradient (juce::Colour (0xff323232), (float) (X + 0.7 * 0.55 * W),
                              (float) (Y + 0.7 * 0.55 * H), juce::Colour (0xff1a1e1a),
                              (float) (X + 0.9 * 0.55 * W), (float) (Y + 0.9 * 0.55 * H), true));
    g.fillPath (cap);

    // The disc, darker at its middle.
    g.setGradientFill (juce::ColourGradient (
        juce::Colour (0xff646464), (float) (X + 0.7 * 0.685 * W), (float) (Y + 0.7 * 0.685 * H),
        juce::Colour (0xff848a84), (float) (X + 0.685 * W), (float) (Y + 0.685 * H), true));
    g.fillPath (disc);

    // The pointer on top.
    g.setColour (juce::Colour (antiqueWhite));
    g.fillPath (pointer);
}
