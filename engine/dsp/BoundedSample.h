#pragma once

/** The largest magnitude that a delay line, the chorus history, the compressor's envelope, a
    filter's state or a level meter takes in: 120 dB above full scale. No real signal comes near
    it (the highest gain inside a pedal, the Tone Drive's 2000, feeds its shaper, which keeps no
    state), yet it lies so far below the float range (about 3.4e38) that the sums and products
    the effects form from a few such values stay finite. A runaway feedback, such as the same
    Delay twice in the chain at Feedback 1 doubling its signal on every pass, therefore grows
    until it stands at this level and never reaches infinity. */
constexpr float sampleBound = 1.0e6f;

/** A sample as a memory takes it in: unchanged within +-sampleBound, larger magnitudes and
    infinities as +-sampleBound, a non-number as 0. */
inline float boundedSample (float value) noexcept
{
    // Three selects and no branch, so that the loops built of these are vectorised.
    const float atMost = value < sampleBound ? value : sampleBound;
    const float below = value == value ? -sampleBound : 0.0f;
    return -sampleBound < value ? atMost : below;
}
