#pragma once

#include "engine/MonoBlock.h"
#include "engine/dsp/BiquadCascade.h"

/** Number of sections of the decimators' anti-alias filter. */
constexpr int decimatorSectionCount = 10;

/** The decimators' anti-alias low-pass: a digital inverse Chebyshev (Chebyshev type II) design of
    order 20, 80 dB stop-band attenuation, stop-band edge at 0.135 of the sampling rate, made from
    the analog prototype by the bilinear transform with the edge pre-warped to tan (pi * 0.135).
    One row per section (b0, b1, b2, a0, a1, a2): a conjugate pole pair with its conjugate zero
    pair on the unit circle, ordered by increasing pole radius. */
extern const float decimatorSections[decimatorSectionCount][6];

/** Ten section gains of 1, then the output gain that brings the cascade's gain at 0 Hz
    (1515.8829) back to 0.9999976. */
extern const float decimatorGains[decimatorSectionCount + 1];

/** One rate-changing stage of the tuner: with downsample set it low-passes the block and keeps
    every factor-th sample, the first sample of each block included; otherwise it repeats every
    sample factor times and low-passes the result. Plain record owned by value by the TunerEngine;
    audio thread only.

    Both stages of the tuner bring 44100 Hz to 11025 Hz and then 2756 Hz, 48000 Hz to 12000 Hz and
    then 3000 Hz. Because every block restarts the picking at its first sample, the kept samples
    are evenly spaced across blocks only when the block size is a multiple of the factor. */
struct Decimator
{
    static constexpr int bufferSize = MonoBlock::maxBlockSize;

    int factor = 4;
    bool downsample = true;
    MonoBlock output;            /**< the block as it leaves the stage; samples = buffer */
    float buffer[bufferSize] {}; /**< the samples kept */
    BiquadCascade filter;        /**< the anti-alias low-pass, state kept between blocks */

    /** Sets up the stage with factor 4, downsampling and the decimator filter tables. */
    Decimator() noexcept;

    /** Changes the rate of block. Afterwards block refers to buffer with the new sample count and
        rate (both divided, or multiplied, by factor). In downsample mode the caller's samples are
        filtered in place as a side effect and the last numSamples mod factor of them are dropped;
        in the other mode the output is cut at bufferSize samples. */
    void process (MonoBlock& block) noexcept;
};
