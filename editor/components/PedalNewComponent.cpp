#include "editor/components/PedalNewComponent.h"

PedalNewComponent::PedalNewComponent() = default;
PedalNewComponent::~PedalNewComponent() = default;

void PedalNewComponent::paint (juce::Graphics&) {}
