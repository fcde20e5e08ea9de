#pragma once

#include "engine/MonoBlock.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

/** A shift-register delay line advanced once per block.

    The line holds the delay memory oldest sample first. Each block the owning effect fills
    `input` (usually from `prev`, the delayed samples the previous advance produced) and calls
    advance(): the D retained samples move to the front, the new input is appended behind them
    and the oldest n samples come out in `prev`. While D stays the same, prev[i] is the line input
    of exactly D samples earlier, across block boundaries; feedback through `prev` therefore
    reaches the line one block late. The cost of a block grows with D, not only with n.

    Capacity is in samples; advance() needs D + n <= Capacity (maxDelayFor() gives the bound). */
template <int32_t Capacity>
struct BlockDelayLine
{
    static constexpr int32_t capacity = Capacity;

    float line[static_cast<size_t> (Capacity)] {};
    float prev[static_cast<size_t> (MonoBlock::maxBlockSize)] {};
    float input[static_cast<size_t> (MonoBlock::maxBlockSize)] {};

    /** Largest delay that leaves room for a block of numSamples samples. */
    static constexpr int32_t maxDelayFor (int32_t numSamples) noexcept
    {
        return Capacity - numSamples;
    }

    /** Shifts the line by one block: D is the delay in samples (0 or more), n the block length.
        Both are clamped so that the line is never read or written past its end. */
    void advance (int32_t D, int32_t n) noexcept
    {
        n = std::clamp (n, int32_t { 0 }, std::min (int32_t { MonoBlock::maxBlockSize }, Capacity));
        D = std::clamp (D, int32_t { 0 }, maxDelayFor (n));

        std::memmove (line, line + n, sizeof (float) * (size_t) D);
        std::memcpy (line + D, input, sizeof (float) * (size_t) n);
        std::memcpy (prev, line, sizeof (float) * (size_t) n);
    }

    /** Zeroes the delay memory only; prev and input keep their contents. */
    void clearLine() noexcept { std::fill (std::begin (line), std::end (line), 0.0f); }

    /** Zeroes the delay memory and both block arrays. */
    void clearAll() noexcept
    {
        clearLine();
        std::fill (std::begin (prev), std::end (prev), 0.0f);
        std::fill (std::begin (input), std::end (input), 0.0f);
    }
};
