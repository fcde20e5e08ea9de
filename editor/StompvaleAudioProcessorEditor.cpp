#include "editor/StompvaleAudioProcessorEditor.h"

StompvaleAudioProcessorEditor::StompvaleAudioProcessorEditor (StompvaleAudioProcessor& p)
    : AudioProcessorEditor (p), audioProcessor (p)
{
    setSize (1285, 400);
}

StompvaleAudioProcessorEditor::~StompvaleAudioProcessorEditor() = default;

void StompvaleAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}

void StompvaleAudioProcessorEditor::resized() {}
