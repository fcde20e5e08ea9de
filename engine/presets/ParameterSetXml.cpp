#include "engine/presets/ParameterSetXml.h"

#include <cmath>
#include <vector>

namespace
{
const juce::AudioProcessorParameterWithID* withId (const juce::AudioProcessorParameter* parameter)
{
    return dynamic_cast<const juce::AudioProcessorParameterWithID*> (parameter);
}
} // namespace

std::unique_ptr<juce::XmlElement> ParameterSetXml::createElement (
    const juce::AudioProcessor& processor, const juce::String& tagName)
{
    auto element = std::make_unique<juce::XmlElement> (tagName);

    for (auto* parameter : processor.getParameters())
        if (auto* p = withId (parameter))
            element->setAttribute (p->paramID, (double) parameter->getValue());

    return element;
}

float ParameterSetXml::valueFor (const juce::XmlElement& element, const juce::String& parameterId,
                                 float current)
{
    // A bool parameter keeps whatever value it is given, and NaN would pass every range limit,
    // so a stored value is taken only when it is a number, and then within 0 to 1.
    const double stored = element.getDoubleAttribute (parameterId, (double) current);

    if (! std::isfinite (stored))
        return current;

    return (float) juce::jlimit (0.0, 1.0, stored);
}

void ParameterSetXml::restore (const juce::XmlElement& element, juce::AudioProcessor& processor,
                               Scope scope)
{
    struct Change
    {
        juce::AudioProcessorParameter* parameter;
        float value;
    };

    std::vector<Change> changes;
    changes.reserve ((size_t) processor.getParameters().size());

    for (auto* parameter : processor.getParameters())
    {
        const auto* p = withId (parameter);

        if (p == nullptr)
            continue;

        if (scope == Scope::skipPresetSwitches && p->paramID.contains ("preset"))
            continue;

        changes.push_back ({ parameter, valueFor (element, p->paramID, parameter->getValue()) });
    }

    for (const auto& change : changes)
        change.parameter->setValueNotifyingHost (change.value);
}
