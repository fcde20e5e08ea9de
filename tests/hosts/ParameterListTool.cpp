// Prints the processor's parameters in registration order, one per line, tab-separated:
//   index, ID, name, natural minimum, natural maximum
// The host tests compare what Ardour shows against this list, and use the ranges to turn
// natural values into the normalised ones a VST3 host speaks.

#include "engine/StompvaleAudioProcessor.h"

#include <cstdio>
#include <memory>

int main()
{
    const auto processor = std::make_unique<StompvaleAudioProcessor>();
    const auto& parameters = processor->getParameters();
    for (int index = 0; index < parameters.size(); ++index)
    {
        const auto* ranged = dynamic_cast<const juce::RangedAudioParameter*> (parameters[index]);
        if (ranged == nullptr)
        {
            std::fprintf (stderr, "parameter %d is not a ranged parameter\n", index);
            return 1;
        }
        const auto& range = ranged->getNormalisableRange();
        std::printf ("%d\t%s\t%s\t%.9g\t%.9g\n", index, ranged->getParameterID().toRawUTF8(),
                     ranged->getName (1024).toRawUTF8(), (double) range.start, (double) range.end);
    }
    return 0;
}
