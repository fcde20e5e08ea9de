#pragma once

#include <vector>

/** A guitar-like mono test signal: plucked strings (Karplus-Strong) struck one at a time and in
    strummed chords across the range of a six-string guitar, with decays, pauses and a little
    pick noise. Deterministic: the same call always gives the same samples, so every plug-in in a
    benchmark run sees exactly the same input. Peak about 0.6, like a hot pickup into an
    interface. */
class GuitarTestSignal final
{
public:
    /** Makes seconds × sampleRate samples (mono, full scale ±1). */
    static std::vector<float> make (double seconds, double sampleRate);
};
