#pragma once

/** First-order low-pass or high-pass filter working in place on single-precision blocks.
    Plain record owned by value by its drive; audio thread only.

    w is the normalised angular cutoff 2 pi fc / sampleRate, formed by the caller in single
    precision. Coefficient: low-pass a = w / (w + 1), high-pass a = 1 / (w + 1). */
struct OnePoleFilter
{
    bool lowpass = true;
    float x1 = 0.0f; /**< previous input (high-pass only) */
    float y1 = 0.0f; /**< previous output as kept for the feedback, flushed through (y + 1) - 1 */
    float a = 0.0f;  /**< the coefficient */

    /** Sets the mode, clears the state and sets the coefficient from w. */
    void prepare (bool isLowpass, float w) noexcept;

    /** Sets the coefficient from w for the filter's own mode; the state carries on. */
    void setCutoff (float w) noexcept;

    /** Filters numSamples samples in place; nothing happens for numSamples <= 0. */
    void process (float* samples, int numSamples) noexcept;
};
