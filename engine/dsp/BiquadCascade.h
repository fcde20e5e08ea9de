#pragma once

/** A chain of second-order IIR sections run one after the other over a block, in place, in
    single precision. Plain record owned by value (by each tuner Decimator); audio thread only.

    Each section is the transposed direct form II
        y = b0 x + z1,  z1 = b1 x + z2 - a1 y,  z2 = b2 x - a2 y
    with a0 taken as 1. The fed-back states are kept as (value + 1) - 1 so that they stay on the
    single-precision grid near 1.0 and no denormal number ever circulates. */
struct BiquadCascade
{
    static constexpr int maxSections = 25;

    float sectionState[maxSections][2] {}; /**< z1, z2 of each section, kept between blocks */
    const float (*sections)[6] = nullptr;  /**< one row per section: b0, b1, b2, a0, a1, a2 */
    const float* gains = nullptr;          /**< sectionCount section gains, then the output gain */
    int sectionCount = 0;                  /**< sections in use, at most maxSections */

    /** Filters numSamples samples in place; nothing happens for numSamples <= 0. */
    void process (float* samples, int numSamples) noexcept;
};
