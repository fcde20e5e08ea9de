#pragma once

#include <memory>
#include <string>
#include <vector>

class StompvaleAudioProcessor;

/** Our processor run directly, without a plug-in wrapper: one instance laid out mono in, stereo
    out (as the LV2 is), prepared for the rate and block size, with parameters set by ID in
    natural units. The comparison with the LV2 run through lilv shows what the wrapper costs. */
class StompvaleDirectRunner final
{
public:
    struct Setting
    {
        std::string id; /**< parameter ID, such as "PEDAL_BEFORE_SLOT0" */
        float value;    /**< natural units: a pedal number, 1 for on, a knob value */
    };

    StompvaleDirectRunner (double sampleRate, int blockSize, const std::vector<Setting>& settings);
    ~StompvaleDirectRunner();

    /** Processes numSamples (at most the block size) in place: samples holds the input and
        receives the first output channel. */
    void run (float* samples, int numSamples);

    /** The tuner's latest detected frequency in Hz, 0 before any detection. */
    float getTunerFrequency() const;

private:
    std::unique_ptr<StompvaleAudioProcessor> processor;
    std::vector<float> secondChannel;
};
