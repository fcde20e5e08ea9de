#include "engine/dsp/Waveshaper.h"

#include <cmath>

namespace
{
constexpr int lastReadEntry = Waveshaper::tableSize - 2; // entry 65535 is never read
constexpr int zeroEntry = Waveshaper::tableSize / 2;     // the entry for an input of 0
} // namespace

void Waveshaper::process (float* samples, int numSamples) noexcept
{
    if (numSamples <= 0 || currentTable == nullptr)
        return;

    const float* table = currentTable;

    for (int n = 0; n < numSamples; ++n)
    {
        // Position in entries, in double: entry i stands for the input i / 32768 - 1.
        const double pos = ((double) samples[n] + 1.0) * 32768.0;
        int i;

        // The range tests come before any conversion to int, so that huge inputs and non-numbers
        // never index outside the table. A non-number is shaped as silence (entry 32768).
        if (std::isnan (pos))
        {
            i = zeroEntry;
            samples[n] = table[zeroEntry];
        }
        else if (pos < 1.0)
        {
            i = 0;
            samples[n] = table[0];
        }
        else if (pos >= (double) lastReadEntry)
        {
            i = lastReadEntry;
            samples[n] = table[lastReadEntry];
        }
        else
        {
            i = (int) pos; // pos >= 1, so truncation is the floor
            const double t0 = table[i];
            const double t1 = table[i + 1];
            samples[n] = (float) (t0 + (t1 - t0) * (pos - (double) i));
        }

        if (hysteresis)
        {
            if (i >= lastReadEntry && onTableA)
            {
                onTableA = false;
                currentTable = table = tableB;
            }
            else if (i <= 0 && ! onTableA)
            {
                onTableA = true;
                currentTable = table = tableA;
            }

            if (table == nullptr)
                return;
        }
    }
}
