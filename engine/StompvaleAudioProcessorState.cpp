#include "engine/StompvaleAudioProcessor.h"

// The preset manager and the host state block.

void StompvaleAudioProcessor::updatePresets() {}

void StompvaleAudioProcessor::getStateInformation (juce::MemoryBlock&) {}

void StompvaleAudioProcessor::setStateInformation (const void*, int) {}
