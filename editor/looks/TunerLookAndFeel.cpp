#include "editor/looks/TunerLookAndFeel.h"

#include <cmath>

TunerLookAndFeel::TunerLookAndFeel() = default;
TunerLookAndFeel::~TunerLookAndFeel() = default;

void TunerLookAndFeel::drawLinearSlider (juce::Graphics& g, int, int, int width, int height, float,
                                         float, float, juce::Slider::SliderStyle,
                                         juce::Slider& slider)
{
    const int hh = height / 2;
    const int half = width / 2;
    const double cents = slider.getValue();

    // Bar length in pixels, truncated towards zero and kept within its half of the meter. The
    // limit is applied before the conversion to int, which a huge or undefined value would break.
    const double reach = (double) width * (cents / 50.0) * 0.5;
    const int offset =
        std::isnan (reach) ? 0 : (int) juce::jlimit ((double) -half, (double) half, reach);

    // Closeness to the note, rounded to single precision first: so +-10 cents (0.2f is a little
    // above 0.2) counts as far, and +-2 cents as in tune.
    const double closeness = (double) (float) std::abs (cents / 50.0);
    const bool inTune = closeness < 0.05;
    const bool near = closeness < 0.2;

    g.setColour (inTune ? juce::Colours::green : juce::Colour (bandColour));
    g.fillRect (0, hh, width, hh);

    g.setColour (inTune ? juce::Colours::green
                        : (near ? juce::Colours::orange : juce::Colours::red));
    if (offset >= 0)
        g.fillRect (half, hh, offset, hh);
    else
        g.fillRect (half + offset, hh, -offset, hh);

    // Marks at +-2 cents, the edge of the green zone.
    const int mark = (int) ((float) width * 0.04f * 0.5f);
    g.setColour (juce::Colours::black);
    g.fillRect (half + mark, hh, 1, hh);
    g.fillRect (half - mark, hh, 1, hh);

    g.setColour (juce::Colour (noteNameColour));
    g.setFont (juce::Font (25.0f, juce::Font::plain));
    g.drawFittedText (slider.getName(), 0, 0, width, hh, juce::Justification::centred, 1);
}
