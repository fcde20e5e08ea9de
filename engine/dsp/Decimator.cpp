#include "engine/dsp/Decimator.h"

#include <cstdint>

const float decimatorSections[decimatorSectionCount][6] = {
    { 1.0f, 1.8827593f, 1.0f, 1.0f, -0.1450681f, 0.01245072f },
    { 1.0f, 1.1562817f, 1.0f, 1.0f, -0.23853944f, 0.07315521f },
    { 1.0f, 0.327827f, 1.0f, 1.0f, -0.398466f, 0.17775355f },
    { 1.0f, -0.28995946f, 1.0f, 1.0f, -0.5878872f, 0.30332798f },
    { 1.0f, -0.6966024f, 1.0f, 1.0f, -0.77681816f, 0.431476f },
    { 1.0f, -0.95731103f, 1.0f, 1.0f, -0.94823617f, 0.5521051f },
    { 1.0f, -1.1239619f, 1.0f, 1.0f, -1.095822f, 0.66209245f },
    { 1.0f, -1.2288111f, 1.0f, 1.0f, -1.2195466f, 0.76264167f },
    { 1.0f, -1.2905064f, 1.0f, 1.0f, -1.3222471f, 0.85733974f },
    { 1.0f, -1.3191422f, 1.0f, 1.0f, -1.4076989f, 0.9512914f },
};

const float decimatorGains[decimatorSectionCount + 1] = {
    1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 0.00065968f,
};

Decimator::Decimator() noexcept
{
    output.samples = buffer;
    filter.sections = decimatorSections;
    filter.gains = decimatorGains;
    filter.sectionCount = decimatorSectionCount;
}

void Decimator::process (MonoBlock& block) noexcept
{
    const int n = block.numSamples > 0 ? (int) block.numSamples : 0;
    output.samples = buffer;

    if (factor < 1)
    {
        output.numSamples = 0;
        output.sampleRate = block.sampleRate;
        block = output;
        return;
    }

    if (downsample)
    {
        output.numSamples = (int32_t) (n / factor);
        output.sampleRate = (int32_t) (block.sampleRate / factor);
        filter.process (block.samples, n);

        for (int k = 0; k < output.numSamples; ++k)
            buffer[k] = block.samples[k * factor];
    }
    else
    {
        // Cut at the buffer's end rather than write past it.
        const int inputUsed = n < bufferSize / factor ? n : bufferSize / factor;
        output.numSamples = (int32_t) (inputUsed * factor);
        const int64_t rate = (int64_t) block.sampleRate * factor;
        output.sampleRate = (int32_t) (rate < INT32_MAX ? rate : INT32_MAX);

        for (int k = 0; k < output.numSamples; ++k)
            buffer[k] = block.samples[k / factor];

        filter.process (buffer, output.numSamples);
    }

    block = output;
}
