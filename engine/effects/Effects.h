#pragma once

#include "engine/MonoBlock.h"

#include <algorithm>

struct Pedal;

/** Knob values of one block in natural units (0.001 to 1), knob j at index j. */
struct EffectKnobs
{
    static constexpr float lowest = 0.001f;

    float values[5] {};

    /** A non-number (a parameter range lets one through if a host writes it) reads as the knob's
        lowest value, and anything else within 0 to 1, so that no length, cutoff or cache is ever
        formed from it (nor an infinity converted to an int). */
    float operator[] (int index) const noexcept
    {
        const float value = values[index];
        return value == value ? std::clamp (value, 0.0f, 1.0f) : lowest;
    }
};

/** The eight effect algorithms. Each works in place on the block, on its own part of the pedal
    record; knobs are read once per block by the caller and the sample rate is taken from the
    block. Audio thread only: no allocation, no lock, no system call. */
namespace effects
{
void processVibratoChorus (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept;
void processTremolo (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept;
void processDelay (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept;
void processDigitalReverb (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept;
void processCompressor (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept;
void processFuzzFake (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept;
void processToneDrive (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept;
void processDrive707 (Pedal&, const EffectKnobs&, const MonoBlock&) noexcept;
} // namespace effects
