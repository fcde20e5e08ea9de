#include "engine/presets/ParameterSetXml.h"

#include <cmath>
#include <vector>

namespace
{
const juce::AudioProcessorParameterWithID* withId (const juce::AudioProcessorParameter* parameter)
{
    return dynamic_cast<const juce::AudioProcessorParameterWithID*> (parameter);
}

/** The text with every exponent of more than six significant digits written as 999999.

    The framework's number reader accumulates exponent digits in an int without a bound, which
    overflows (undefined behaviour) from ten digits on. Any exponent that large gives infinity or
    zero, and so does 999999: texts are at most 64 kB long, so the mantissa cannot move the
    exponent by more than 65536. Leading zeros are dropped first, as the reader drops them. */
juce::String withBoundedExponents (const juce::String& text)
{
    const auto* start = text.toRawUTF8();
    const auto* end = start + text.getNumBytesAsUTF8();
    std::string result;
    bool changed = false;

    for (const auto* c = start; c < end; ++c)
    {
        result += *c;

        if (*c != 'e' && *c != 'E')
            continue;

        const auto* digits = c + 1;
        if (digits < end && (*digits == '+' || *digits == '-'))
            result += *digits++;

        auto* stop = digits;
        while (stop < end && *stop >= '0' && *stop <= '9')
            ++stop;

        const auto* significant = digits;
        while (significant < stop && *significant == '0')
            ++significant;

        if (stop - significant > 6)
        {
            result += "999999";
            changed = true;
        }
        else
        {
            result.append (digits, stop);
        }

        c = stop - 1;
    }

    return changed ? juce::String::fromUTF8 (result.data(), (int) result.size()) : text;
}

/** The value written for a parameter: its normalised value, read once and limited to 0 to 1, or
    its default when that is not a finite number. A host may set a non-number, which the
    framework's number writer would convert to an int (undefined) and write as a text that no
    reader takes back; and a switch keeps any value a host sends (2, -1, 1e30), which the reader
    would take back as another. */
double writtenValue (const juce::AudioProcessorParameter& parameter)
{
    const float value = parameter.getValue();
    return (double) (std::isfinite (value) ? juce::jlimit (0.0f, 1.0f, value)
                                           : parameter.getDefaultValue());
}
} // namespace

std::unique_ptr<juce::XmlElement>
ParameterSetXml::createElement (const juce::AudioProcessor& processor, const juce::String& tagName)
{
    auto element = std::make_unique<juce::XmlElement> (tagName);

    for (auto* parameter : processor.getParameters())
        if (auto* p = withId (parameter))
            element->setAttribute (p->paramID, writtenValue (*parameter));

    return element;
}

float ParameterSetXml::valueFor (const juce::XmlElement& element, const juce::String& parameterId,
                                 float current)
{
    // A bool parameter keeps whatever value it is given, and NaN would pass every range limit,
    // so a stored value is taken only when it is a number, and then within 0 to 1.
    if (! element.hasAttribute (parameterId))
        return current;

    const double stored =
        withBoundedExponents (element.getStringAttribute (parameterId)).getDoubleValue();

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

        if (scope == Scope::skipPresetSwitches && p->paramID.containsIgnoreCase ("preset"))
            continue;

        changes.push_back ({ parameter, valueFor (element, p->paramID, parameter->getValue()) });
    }

    for (const auto& change : changes)
        change.parameter->setValueNotifyingHost (change.value);
}
