#include "engine/presets/ParameterSetXml.h"

#include <gtest/gtest.h>

// How a stored value text becomes a parameter value: the framework's number reader, kept to
// finite values within 0 to 1, with exponents it cannot count bounded first.

namespace
{
float valueOf (const char* text, float current = 0.25f)
{
    juce::XmlElement element ("E");
    element.setAttribute ("v", text);
    return ParameterSetXml::valueFor (element, "v", current);
}
} // namespace

TEST (ParameterSetXml, StoredTextsBecomeValuesWithinRange)
{
    EXPECT_EQ (valueOf ("0.5"), 0.5f);
    EXPECT_EQ (valueOf ("1.0"), 1.0f);
    EXPECT_EQ (valueOf ("  0.75trailing"), 0.75f) << "the leading number counts";
    EXPECT_EQ (valueOf ("abc"), 0.0f) << "no number reads as 0, as the framework reads it";
    EXPECT_EQ (valueOf ("7"), 1.0f);
    EXPECT_EQ (valueOf ("-2"), 0.0f);
    EXPECT_EQ (valueOf ("nan"), 0.25f) << "NaN keeps the current value";
    EXPECT_EQ (valueOf ("-inf"), 0.25f);
    EXPECT_EQ (valueOf ("1e999"), 0.25f);

    juce::XmlElement element ("E");
    EXPECT_EQ (ParameterSetXml::valueFor (element, "missing", 0.125f), 0.125f);
}

TEST (ParameterSetXml, ExponentsOfAnyLengthAreReadWithoutOverflow)
{
    EXPECT_EQ (valueOf ("5e-0000000000000000001"), 0.5f) << "leading zeros do not count";
    EXPECT_EQ (valueOf ("1e-99999999999999"), 0.0f);
    EXPECT_EQ (valueOf ("1e+99999999999999"), 0.25f) << "infinity keeps the current value";
    EXPECT_EQ (valueOf ("1e99999999999999"), 0.25f);
    EXPECT_EQ (valueOf ("0.000001e4"), 0.01f);
    EXPECT_NEAR (valueOf ("0.3e0000001"), 1.0f, 0.0f) << "3 limited to 1";
}
