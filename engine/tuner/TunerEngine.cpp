#include "engine/tuner/TunerEngine.h"

#include "engine/tuner/RealFft.h"

#include <cmath>
#include <cstring>

namespace
{
/** The sample as the analysis takes it: 0 when not finite, else within +-maxInputMagnitude. */
inline float limitedSample (float x) noexcept
{
    if (! std::isfinite (x))
        return 0.0f;

    constexpr float limit = TunerEngine::maxInputMagnitude;
    return x > limit ? limit : (x < -limit ? -limit : x);
}
} // namespace

TunerEngine::TunerEngine() noexcept
{
    // Equal temperament around A4 = 440 Hz, in double precision, each band reaching a
    // quarter-tone (50 cents) to either side of its centre.
    for (int k = 0; k < numNotes; ++k)
    {
        const double octaves = (double) (k - a4Note) / 12.0;
        noteFrequencies[k] = (float) (440.0 * std::pow (2.0, octaves));
        noteUpperBounds[k] = (float) (440.0 * std::pow (2.0, octaves + 1.0 / 24.0));
        noteLowerBounds[k] = (float) (440.0 * std::pow (2.0, octaves - 1.0 / 24.0));
        noteNames[k] = TunerNoteName::names[k % TunerNoteName::numNames];
    }

    tunerBlock.samples = tunerInput;

    // Builds the transform's tables here, off the audio thread; fftBuffer is all zero and stays so.
    RealFft::transform (fftSize, fftBuffer, fftIp, fftTable);
}

int TunerEngine::numBinsFor (int decimatedRate) noexcept
{
    if (decimatedRate <= 0)
        return 0;

    const float bins = (float) fftSize * (searchLimitHz / (float) decimatedRate);
    return bins < (float) maxBins ? (int) bins : maxBins;
}

int TunerEngine::findNote (float f) const noexcept
{
    // Neighbouring bands share their edge and both tests are strict, so at most one matches and
    // a frequency exactly on an edge matches none.
    int found = -1;

    for (int k = 0; k < numNotes; ++k)
        if (f < noteUpperBounds[k] && f > noteLowerBounds[k])
            found = k;

    return found;
}

float TunerEngine::deviationFrom (int note, float f) const noexcept
{
    const float centre = noteFrequencies[note];
    const float span = f < centre ? centre - noteLowerBounds[note] : noteUpperBounds[note] - centre;
    return ((f - centre) / span) * 50.0f;
}

void TunerEngine::process (const float* channel, int numSamples, int sampleRate,
                           std::atomic<float>& frequency, TunerNoteName& noteName,
                           std::atomic<float>& deviation) noexcept
{
    if (numSamples > MonoBlock::maxBlockSize || (channel == nullptr && numSamples > 0))
        return;

    const int n = numSamples > 0 ? numSamples : 0;

    // A copy of the block, so that the decimators may filter it in place.
    tunerBlock.samples = tunerInput;
    tunerBlock.numSamples = n;
    tunerBlock.sampleRate = sampleRate;

    for (int i = 0; i < n; ++i)
        tunerInput[i] = limitedSample (channel[i]);

    // Down to a sixteenth of the host rate: at most 512 samples.
    stage1.process (tunerBlock);
    stage2.process (tunerBlock);
    const int m = tunerBlock.numSamples < historySize ? (int) tunerBlock.numSamples : historySize;
    const int decimatedRate = tunerBlock.sampleRate;

    // The window slides on by the m new samples.
    std::memmove (history, history + m, sizeof (float) * (size_t) (historySize - m));
    std::memcpy (history + historySize - m, tunerBlock.samples, sizeof (float) * (size_t) m);

    // Zero-padded to the transform length: a 16-fold finer bin grid for the peak search.
    std::memcpy (fftBuffer, history, sizeof (float) * (size_t) historySize);
    std::memset (fftBuffer + historySize, 0, sizeof (float) * (size_t) (fftSize - historySize));

    // Without a rate there is no frequency scale: the reading stays as it is.
    if (decimatedRate <= 0)
        return;

    // Bins up to 360 Hz at the decimated rate take part in the peak search.
    const int numBins = numBinsFor (decimatedRate);

    // The spectrum of the padded window, in place.
    RealFft::transform (fftSize, fftBuffer, fftIp, fftTable);

    // Each bin's power, smoothed over blocks. Bins from fftSize / 2 on (host rates below
    // 11520 Hz) read the zero tail of fftBuffer.
    for (int k = 0; k < numBins; ++k)
    {
        const float re = fftBuffer[2 * k];
        const float im = fftBuffer[2 * k + 1];
        const float power = re * re + im * im;
        magnitudes[k] = power * newPowerWeight + magnitudes[k] * oldPowerWeight;
    }

    // The first strongest bin; 0 while every bin is 0.
    float best = 0.0f;
    int peak = 0;

    for (int k = 0; k < numBins; ++k)
    {
        if (magnitudes[k] > best)
        {
            best = magnitudes[k];
            peak = k;
        }
    }

    // Vertex of the parabola through the peak bin and its neighbours, in bins.
    if (2 <= peak && peak < numBins - 2)
    {
        const float a = magnitudes[peak - 1];
        const float b = magnitudes[peak];
        const float c = magnitudes[peak + 1];
        const float curvature = (c - a) * 0.5f - (b - a);
        const float slope = (b - a) - (float) (2 * peak - 1) * curvature;
        const float position = -slope / (2.0f * curvature);
        const float refined = (float) decimatedRate * (position / (float) fftSize);

        // A flat top flushed to zero by the no-denormals mode would give 0 / 0: keep the reading.
        if (std::isfinite (refined))
            frequency.store (refined, std::memory_order_relaxed);
    }

    // The note whose band holds the reading, and the reading's distance from its centre; outside
    // every band the name and the deviation stay as they were.
    const float f = frequency.load (std::memory_order_relaxed);
    const int note = findNote (f);

    if (note >= 0)
    {
        noteName.setNote (note);
        deviation.store (deviationFrom (note, f), std::memory_order_relaxed);
    }
}
