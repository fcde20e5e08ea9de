#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

/** Rendering a control through its look into an image, and reading back what was drawn. */
namespace look_test
{
/** Paints the component (and its children) into a transparent ARGB image of its own size. */
inline juce::Image render (juce::Component& c)
{
    return c.createComponentSnapshot (c.getLocalBounds(), true, 1.0f);
}

/** Renders a toggle button of the given name, text, size and state through a look. */
inline juce::Image renderToggle (juce::LookAndFeel& look, const juce::String& name,
                                 const juce::String& text, int w, int h, bool on)
{
    juce::ToggleButton button (name);
    button.setButtonText (text);
    button.setLookAndFeel (&look);
    button.setBounds (0, 0, w, h);
    button.setToggleState (on, juce::dontSendNotification);
    auto image = render (button);
    button.setLookAndFeel (nullptr);
    return image;
}

/** The smallest rectangle holding every pixel whose alpha exceeds the threshold, within `area`
    (the whole image when empty). Empty when nothing there is drawn. */
inline juce::Rectangle<int> drawnBounds (const juce::Image& image, int alphaAbove = 0,
                                         juce::Rectangle<int> area = {})
{
    if (area.isEmpty())
        area = image.getBounds();
    int left = area.getRight(), right = area.getX() - 1, top = area.getBottom(),
        bottom = area.getY() - 1;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (image.getPixelAt (x, y).getAlpha() > alphaAbove)
            {
                left = juce::jmin (left, x);
                right = juce::jmax (right, x);
                top = juce::jmin (top, y);
                bottom = juce::jmax (bottom, y);
            }
    if (right < left)
        return {};
    return { left, top, right - left + 1, bottom - top + 1 };
}

/** Number of pixels in `area` for which the predicate holds. */
template <typename Predicate>
int countPixels (const juce::Image& image, juce::Rectangle<int> area, Predicate&& predicate)
{
    int n = 0;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            n += predicate (image.getPixelAt (x, y)) ? 1 : 0;
    return n;
}

/** True when the two colours agree in every channel within `tolerance` (0 to 255). */
inline bool sameColour (juce::Colour a, juce::Colour b, int tolerance = 0)
{
    return std::abs (a.getAlpha() - b.getAlpha()) <= tolerance
           && std::abs (a.getRed() - b.getRed()) <= tolerance
           && std::abs (a.getGreen() - b.getGreen()) <= tolerance
           && std::abs (a.getBlue() - b.getBlue()) <= tolerance;
}

inline bool isRed (juce::Colour c)
{
    return c.getAlpha() > 200 && c.getRed() > 150 && c.getRed() > c.getGreen() + 60
           && c.getRed() > c.getBlue() + 60;
}

inline bool isTransparent (juce::Colour c) { return c.getAlpha() == 0; }

inline bool imagesEqual (const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds())
        return false;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                return false;
    return true;
}
} // namespace look_test
