#pragma once

#include <cstdint>

/** The block a pedal, or a tuner decimation stage, works on: the first channel's samples, changed
    in place. Built once per audio block by the processor; never longer than maxBlockSize. */
struct MonoBlock
{
    /** Largest block the engine processes; longer host blocks pass through untouched. */
    static constexpr int maxBlockSize = 8192;

    float* samples = nullptr; /**< first channel of the host buffer */
    int32_t numSamples = 0;   /**< 0 to maxBlockSize */
    int32_t sampleRate = 0;   /**< host rate in Hz, truncated toward zero */
};
