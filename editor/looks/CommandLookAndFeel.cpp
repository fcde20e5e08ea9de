#include "editor/looks/CommandLookAndFeel.h"

#include <cmath>
#include <limits>

CommandLookAndFeel::CommandLookAndFeel() = default;
CommandLookAndFeel::~CommandLookAndFeel() = default;

int CommandLookAndFeel::levelStep (double percent)
{
    // log10 of zero is minus infinity, and converting that (or a NaN) to int is undefined: such
    // levels simply light no segment.
    const auto darkStep = std::numeric_limits<int>::min();
    if (! (percent > 0.0))
        return darkStep;

    // 6.66666 rather than 20/3: one step is 3.000003 dB. Truncation is towards zero.
    const double steps = std::log10 (percent * 0.01) * 6.66666;
    if (steps < -1.0e6)
        return darkStep;
    return (int) juce::jmin (steps, 1.0e6);
}

void CommandLookAndFeel::drawLinearSlider (juce::Graphics& g, int, int y, int width, int height,
                                           float, float, float, juce::Slider::SliderStyle,
                                           juce::Slider& slider)
{
    const int step = levelStep (slider.getValue());
    const int pitch = (int) (height * 0.1);
    const int led = (int) (pitch * 0.7);

    for (int k = 0; k < numSegments; ++k)
    {
        const auto base =
            k == 0 ? juce::Colours::red : (k <= 2 ? juce::Colours::orange : juce::Colours::green);
        const bool lit = step >= -(k + 1);
        g.setColour (lit ? base.brighter (0.4f) : base.darker (0.4f));
        g.fillRect (0, y + k * pitch, width, led);
    }
}
