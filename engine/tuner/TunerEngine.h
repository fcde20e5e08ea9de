#pragma once

#include "engine/MonoBlock.h"
#include "engine/dsp/Decimator.h"
#include "engine/tuner/TunerNoteName.h"

#include <atomic>

/** The tuner's analysis state: the two decimation stages, the window of decimated samples, the
    transform buffers and tables, the smoothed power spectrum and the note table. The processor's
    last member; everything is inline (about 1.4 MB) and zeroed once, so a block allocates nothing.

    Each block the first channel is brought down to a sixteenth of the host rate, the last 512
    decimated samples are zero-padded to 8192 points and transformed, the power per bin is
    smoothed from block to block, its strongest bin from 0 to 360 Hz is refined by a parabola and
    the resulting frequency is named after the nearest of 55 notes from B0 to F5 (A4 = 440 Hz).
    The search range stops at 360 Hz, so no note above F#4 is ever named.

    Construction on any thread; process on the audio thread only. */
struct TunerEngine
{
    static constexpr int fftSize = 8192;    /**< transform length */
    static constexpr int historySize = 512; /**< decimated samples in the analysis window */
    static constexpr int numNotes = 55;     /**< B0 to F5 */
    static constexpr int a4Note = 46;       /**< table index of A4 = 440 Hz */
    static constexpr int inputCapacity = 16384;
    static constexpr int bufferCapacity = 65536;
    static constexpr int maxBins = 32768; /**< room in magnitudes */

    /** Highest frequency searched for a peak, in Hz. */
    static constexpr float searchLimitHz = 360.0f;

    /** Weight of the newest power in the smoothed spectrum: the single-precision value of
        0.00999999, slightly below 0.01. */
    static constexpr float newPowerWeight = 0.00999999f;
    static constexpr float oldPowerWeight = 0.99f;

    /** Input samples are limited to this magnitude, and non-finite ones taken as 0, before the
        analysis: its filters and smoothed spectrum keep their state for the instance's life, and
        one overflowing or NaN sample from the host would otherwise stop the tuner for good. */
    static constexpr float maxInputMagnitude = 1.0e4f;

    Decimator stage1;
    Decimator stage2;
    float tunerInput[inputCapacity] {}; /**< copy of the block's first channel */
    MonoBlock tunerBlock;               /**< the block on its way through the two stages */
    float fftBuffer[bufferCapacity] {}; /**< transform data; entries from fftSize on stay 0 */
    float history[bufferCapacity] {};   /**< last historySize decimated samples, oldest first */
    float magnitudes[maxBins] {};       /**< smoothed power per bin */
    int fftIp[bufferCapacity] {};       /**< the transform's ip work area */
    float fftTable[bufferCapacity] {};  /**< the transform's w table */
    float noteFrequencies[numNotes] {}; /**< centre of note k in Hz */
    float noteUpperBounds[numNotes] {}; /**< a quarter-tone above the centre, Hz */
    float noteLowerBounds[numNotes] {}; /**< a quarter-tone below; the upper bound of note k - 1 */
    const char* noteNames[numNotes] {}; /**< the constant name of note k, without octave */

    /** Fills the note table and builds the transform's tables. */
    TunerEngine() noexcept;

    /** The tuner step of one block: analyses numSamples (0 to 8192) samples of the first channel,
        which it leaves unchanged, at sampleRate whole Hz, and updates the published readings.
        The frequency is kept when the peak lies at the edge of the search range, the name and
        deviation when the frequency lies in no note's band. Audio thread. */
    void process (const float* channel, int numSamples, int sampleRate,
                  std::atomic<float>& frequency, TunerNoteName& noteName,
                  std::atomic<float>& deviation) noexcept;

    /** Number of bins from 0 Hz up to 360 Hz at the decimated rate (Hz): the integer part of
        fftSize * (360 / decimatedRate) in single precision, at most maxBins; 0 for a rate of 0. */
    static int numBinsFor (int decimatedRate) noexcept;

    /** The note whose band holds f strictly inside its edges, or -1. */
    int findNote (float f) const noexcept;

    /** Deviation of f from note k's centre, linear in Hz within each half of the band: -50 at
        the lower edge, 0 at the centre, +50 at the upper edge. */
    float deviationFrom (int note, float f) const noexcept;
};
