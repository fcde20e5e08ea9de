#pragma once

#include "engine/MonoBlock.h"
#include "engine/dsp/BoundedSample.h"

#include <algorithm>
#include <cstdint>

/** Small pieces shared by the effect algorithms. Audio thread; no state. */
namespace effects
{
/** Two pi as the oscillators use it, written with eleven decimals on purpose. */
constexpr double oscillatorTwoPi = 6.28318530718;

/** Every time-based effect derives its lengths and coefficients from the block's rate; a block
    without a positive rate (a host that never prepared us), or with a length outside 0 to
    maxBlockSize (which the processor never hands on), passes through unchanged, so that no
    phase, line or filter takes a non-number or a negative length. */
inline bool isProcessable (const MonoBlock& block) noexcept
{
    return block.sampleRate > 0 && block.numSamples >= 0
           && block.numSamples <= MonoBlock::maxBlockSize;
}

/** A line delay from a length in samples (single precision, not negative): its integer part minus
    one, kept within [0, maxDelay]. maxDelay is the line's capacity minus the block length, so
    every setting stays inside the line at any sample rate; below the bound the result is the
    plain truncation. The comparison comes first so that no huge value is converted to int. */
inline int32_t boundedDelay (float lengthInSamples, int32_t maxDelay) noexcept
{
    if (! (lengthInSamples < (float) maxDelay + 1.0f))
        return maxDelay;

    return std::clamp ((int32_t) lengthInSamples - 1, int32_t { 0 }, maxDelay);
}
} // namespace effects
