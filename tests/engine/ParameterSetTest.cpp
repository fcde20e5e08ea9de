#include "helpers/ProcessorFixture.h"

#include <gtest/gtest.h>

namespace
{
using testing_helpers::makeProcessor;

juce::String idAt (StompvaleAudioProcessor& processor, int index)
{
    auto* parameter =
        dynamic_cast<juce::AudioProcessorParameterWithID*> (processor.getParameters()[index]);
    return parameter != nullptr ? parameter->paramID : juce::String ("<no id>");
}

juce::String nameAt (StompvaleAudioProcessor& processor, int index)
{
    return processor.getParameters()[index]->getName (100);
}

juce::String labelAt (StompvaleAudioProcessor& processor, int index)
{
    return processor.getParameters()[index]->getLabel();
}
} // namespace

TEST (ParameterSet, HasAllParametersInRegistrationOrder)
{
    auto processor = makeProcessor();
    auto& p = *processor;

    ASSERT_EQ (p.getParameters().size(), 143);
    EXPECT_EQ (idAt (p, 0), "volume");
    EXPECT_EQ (idAt (p, 1), "tuner");
    EXPECT_EQ (idAt (p, 2), "presetboard");
    EXPECT_EQ (idAt (p, 3), "recordpreset");
    EXPECT_EQ (idAt (p, 4), "currentBank");
    EXPECT_EQ (idAt (p, 142), "PEDAL_BEFORE_SLOT5");

    EXPECT_EQ (nameAt (p, 0), "Main Volume");
    EXPECT_EQ (nameAt (p, 2), "Board");
    EXPECT_EQ (nameAt (p, 3), "Save Preset");
    EXPECT_EQ (nameAt (p, 4), "currentBank");
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE (labelAt (p, i).isEmpty()) << "index " << i;
}

TEST (ParameterSet, PedalParametersFollowTheIdRules)
{
    auto processor = makeProcessor();
    auto& p = *processor;

    EXPECT_EQ (idAt (p, 26), "PEDAL4PEDAL_Comp_ONOFF_");
    EXPECT_EQ (nameAt (p, 26), "On/Off");
    EXPECT_EQ (labelAt (p, 26), "4");
    EXPECT_EQ (idAt (p, 105), "PEDAL23PEDAL_707_PARAM_2");
    EXPECT_EQ (idAt (p, 9), "PEDAL1PEDAL_REVE_PARAM_0");
    EXPECT_EQ (nameAt (p, 10), "Reflection Factor");
    EXPECT_EQ (idAt (p, 35), "PEDAL7PEDAL_707_PARAM_0");

    // First knob index and on/off index of every pedal.
    const int offsets[8] = { 0, 4, 9, 12, 16, 22, 26, 30 };
    const int knobCounts[8] = { 3, 4, 2, 3, 5, 3, 3, 3 };
    const char* stems[8] = { "PEDAL_CHOR", "PEDAL_REVE", "PEDAL_TREM", "PEDAL_Dela",
                             "PEDAL_Comp", "PEDAL_Fuzz", "PEDAL_driv", "PEDAL_707" };

    for (int i = 0; i < 24; ++i)
    {
        const int type = i % 8;
        const int first = 5 + 34 * (i / 8) + offsets[type];
        const auto prefix = "PEDAL" + juce::String (i) + stems[type];
        auto& pedal = p.pedalUnits[i];

        for (int j = 0; j < knobCounts[type]; ++j)
        {
            EXPECT_EQ (idAt (p, first + j), prefix + "_PARAM_" + juce::String (j)) << "pedal " << i;
            EXPECT_EQ (labelAt (p, first + j), juce::String (i));
            EXPECT_EQ (p.getParameters()[first + j], pedal.knobParameters[j]);
            EXPECT_FLOAT_EQ (pedal.knobParameters[j]->get(), 0.5f);
            EXPECT_EQ (pedal.knobParameters[j]->range.start, 0.001f);
            EXPECT_EQ (pedal.knobParameters[j]->range.end, 1.0f);
            EXPECT_EQ (pedal.knobParameters[j]->range.interval, 0.0f);
        }

        const int onOffIndex = first + knobCounts[type];
        EXPECT_EQ (idAt (p, onOffIndex), prefix + "_ONOFF_") << "pedal " << i;
        EXPECT_EQ (p.getParameters()[onOffIndex], pedal.onOff);
        EXPECT_FALSE (pedal.onOff->get());
    }
}

TEST (ParameterSet, PresetButtonsAndChainPositions)
{
    auto processor = makeProcessor();
    auto& p = *processor;

    EXPECT_EQ (idAt (p, 107), "PRESET_BUTTONA0");
    EXPECT_EQ (nameAt (p, 107), "A0");
    EXPECT_EQ (labelAt (p, 107), "0");
    EXPECT_EQ (idAt (p, 136), "PRESET_BUTTONC9");
    EXPECT_EQ (nameAt (p, 136), "C9");
    EXPECT_EQ (labelAt (p, 136), "29");
    EXPECT_EQ (p.getParameters()[136], p.presetButtonParameters[29]);
    EXPECT_EQ (idAt (p, 120), "PRESET_BUTTONB3");

    for (int n = 0; n < 6; ++n)
    {
        EXPECT_EQ (idAt (p, 137 + n), "PEDAL_BEFORE_SLOT" + juce::String (n));
        EXPECT_EQ (nameAt (p, 137 + n), "PEDAL_BEFORE_SLOT" + juce::String (n));
        EXPECT_EQ (labelAt (p, 137 + n), juce::String (n));
        EXPECT_EQ (p.slotParameters[n]->get(), -1);
        EXPECT_EQ (p.slotParameters[n]->getRange().getStart(), -1);
        EXPECT_EQ (p.slotParameters[n]->getRange().getEnd(), 23);
    }
}

TEST (ParameterSet, DefaultsAndRanges)
{
    auto processor = makeProcessor();
    auto& p = *processor;

    EXPECT_FLOAT_EQ (p.volumeParameter->get(), 0.5f);
    EXPECT_FLOAT_EQ (p.volumeParameter->range.interval, 0.01f);
    EXPECT_FLOAT_EQ (p.volumeParameter->range.end, 2.0f);
    EXPECT_FALSE (p.tunerParameter->get());
    EXPECT_FALSE (p.presetBoardParameter->get());
    EXPECT_FALSE (p.recordPresetParameter->get());
    EXPECT_EQ (p.bankParameter->get(), 0);

    // The bank admits 3 although only three banks exist.
    testing_helpers::setNatural (*p.bankParameter, 3.0f);
    EXPECT_EQ (p.bankParameter->get(), 3);
}

TEST (ParameterSet, SimpleAnswers)
{
    auto processor = makeProcessor();
    auto& p = *processor;

    EXPECT_EQ (p.getName(), "Stompvale v1");
    EXPECT_EQ (p.getNumPrograms(), 1);
    EXPECT_EQ (p.getCurrentProgram(), 0);
    p.setCurrentProgram (3);
    p.changeProgramName (0, "x");
    EXPECT_EQ (p.getCurrentProgram(), 0);
    EXPECT_TRUE (p.getProgramName (0).isEmpty());
    EXPECT_TRUE (p.getProgramName (7).isEmpty());
    EXPECT_EQ (p.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (p.acceptsMidi());
    EXPECT_FALSE (p.producesMidi());
    EXPECT_FALSE (p.isMidiEffect());
    EXPECT_TRUE (p.hasEditor());

    EXPECT_EQ (p.inputLevel.load(), 0.0f);
    EXPECT_EQ (p.outputLevel.load(), 0.0f);
    EXPECT_TRUE (p.tunerNoteName.isEmpty());
    EXPECT_EQ (p.tunerDeviation.load(), 0.0f);
    EXPECT_EQ (p.presetIndex, 99);
    EXPECT_EQ (p.lastBlockSize, 0);
}
