// Paint cost of the drawn controls that repaint most: a knob (three shapes parsed, two blurred
// shadows and three gradients on every paint), a pedal face (its picture rescaled on every paint)
// and a level meter (eleven rectangles, repainted every 33 ms while audio plays).

#include "editor/components/PedalNewComponent.h"
#include "editor/looks/CommandLookAndFeel.h"
#include "editor/looks/PedalLookAndFeel.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
/** Paints the component into a reused ARGB image of its size, as a window repaint would. */
void paintRepeatedly (benchmark::State& state, juce::Component& component)
{
    juce::Image target (juce::Image::ARGB, component.getWidth(), component.getHeight(), true);
    for (auto _ : state)
    {
        juce::Graphics g (target);
        component.paintEntireComponent (g, false);
        benchmark::DoNotOptimize (target.getPixelAt (0, 0));
    }
}

void knobPaint (benchmark::State& state)
{
    PedalLookAndFeel look;
    juce::Slider knob;
    knob.setSliderStyle (juce::Slider::RotaryHorizontalVerticalDrag);
    knob.setTextBoxStyle (juce::Slider::NoTextBox, true, 80, 20);
    knob.setComponentID ("Feedback");
    knob.setLookAndFeel (&look);
    knob.setBounds (0, 0, 60, 80);
    paintRepeatedly (state, knob);
    knob.setLookAndFeel (nullptr);
}

void pedalFacePaint (benchmark::State& state)
{
    auto pedal = std::make_unique<Pedal>();
    pedal->init (delayEffect);
    PedalNewComponent face;
    face.pedal = pedal.get();
    face.setBounds (0, 0, (int) state.range (0), 300);
    paintRepeatedly (state, face);
}

void levelMeterPaint (benchmark::State& state)
{
    CommandLookAndFeel look;
    juce::Slider meter;
    meter.setRange (0.0, 100.0, 0.0);
    meter.setSliderStyle (juce::Slider::LinearVertical);
    meter.setLookAndFeel (&look);
    meter.setBounds (0, 0, 15, 160);
    meter.setValue (30.0, juce::dontSendNotification);
    paintRepeatedly (state, meter);
    meter.setLookAndFeel (nullptr);
}
} // namespace

BENCHMARK (knobPaint)->Unit (benchmark::kMicrosecond);
BENCHMARK (pedalFacePaint)->Arg (140)->Arg (200)->Unit (benchmark::kMicrosecond);
BENCHMARK (levelMeterPaint)->Unit (benchmark::kMicrosecond);

int main (int argc, char** argv)
{
    // Components and the image cache want the framework's message manager.
    juce::ScopedJuceInitialiser_GUI juce;
    benchmark::Initialize (&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
