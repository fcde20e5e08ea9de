#include "editor/components/PedalNewComponent.h"

#include "editor/EmbeddedResources.h"

PedalNewComponent::PedalNewComponent()
    : bodyImageData (embedded::pedalBodyImage.data), bodyImageSize (embedded::pedalBodyImage.size)
{
}

PedalNewComponent::~PedalNewComponent() = default;

juce::Colour PedalNewComponent::bodyColourFor (int type)
{
    if (type < 0 || type >= numEffectTypes)
        return juce::Colours::transparentBlack;
    return juce::Colour (typeColours[type]);
}

void PedalNewComponent::paint (juce::Graphics& g)
{
    if (pedal == nullptr)
        return;

    const int w = getWidth();
    const int h = getHeight();

    // The outline picture, stretched to the face (less the shadow margins) on every paint.
    faceImage = juce::ImageCache::getFromMemory (bodyImageData, bodyImageSize);
    if (w > 20 && h > 25)
        faceImage = faceImage.rescaled (w - 20, h - 25, juce::Graphics::mediumResamplingQuality);
    else
        faceImage = {};

    const juce::Rectangle<float> body (3.0f, 10.0f, (float) (w - 25), (float) (h - 33));
    if (! body.isEmpty())
    {
        juce::Path outline;
        outline.addRoundedRectangle (body.getX(), body.getY(), body.getWidth(), body.getHeight(),
                                     10.0f, 10.0f);
        juce::DropShadow (juce::Colours::black, 14, { 5, 5 }).drawForPath (g, outline);

        g.setColour (bodyColourFor (pedal->type));
        g.fillRoundedRectangle (body, 10.0f);
    }
    textColour = juce::Colours::white;

    if (faceImage.isValid())
        g.drawImageWithin (faceImage, 0, 0, w - 20, h - 20, juce::RectanglePlacement::centred);

    g.setColour (textColour);
    g.setFont (20.0f);
    g.drawFittedText (pedal->displayName, 0, 180, w - 20, 40, juce::Justification::centred, 1,
                      0.0f);
}
