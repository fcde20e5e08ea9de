#pragma once

#include "engine/tuner/TunerNoteName.h"

#include <atomic>

/** The tuner's analysis state. The processor's last member; audio thread only, apart from the
    construction, which builds the tables. */
class TunerEngine
{
public:
    TunerEngine() noexcept;

    /** The tuner step of one block: analyses numSamples samples of the first channel (left
        unchanged) at sampleRate Hz and updates the three published readings. */
    void process (const float* channel, int numSamples, int sampleRate,
                  std::atomic<float>& frequency, TunerNoteName& noteName,
                  std::atomic<float>& deviation) noexcept;
};
