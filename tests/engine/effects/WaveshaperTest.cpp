#include "engine/dsp/TransferCurve.h"
#include "engine/dsp/Waveshaper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{
float shape (float x)
{
    Waveshaper shaper;
    shaper.setTable (transferCurve);
    shaper.process (&x, 1);
    return x;
}
} // namespace

TEST (TransferCurveTable, PassesThroughEveryTellingRow)
{
    struct Row
    {
        int entry;
        float value;
    };
    const Row rows[] {
        { 0, -0.98150116f },     { 6555, -0.98150116f },  { 6556, -0.98150110f },
        { 8192, -0.96834600f },  { 12288, -0.85831410f }, { 16384, -0.71361446f },
        { 20480, -0.54908216f }, { 24576, -0.37510100f }, { 28672, -0.18795016f },
        { 32767, -0.00004782f }, { 32768, -0.00000301f }, { 32769, 0.00004180f },
        { 36864, 0.19730686f },  { 40960, 0.41035822f },  { 45056, 0.59880978f },
        { 49152, 0.77373731f },  { 53248, 0.93912715f },  { 57339, 0.99975199f },
        { 57340, 0.99975204f },  { 65535, 0.99975204f },
    };

    for (const auto& row : rows)
        EXPECT_EQ (transferCurve[row.entry], row.value) << "entry " << row.entry << " (exact)";
}

TEST (TransferCurveTable, MonotonicAndFlatOutsideItsMovingPart)
{
    for (int i = 1; i < Waveshaper::tableSize; ++i)
        ASSERT_LE (transferCurve[i - 1], transferCurve[i]) << "entry " << i;

    for (int i = 0; i <= 6555; ++i)
        ASSERT_EQ (transferCurve[i], -0.98150116f) << "entry " << i;
    for (int i = 57340; i < Waveshaper::tableSize; ++i)
        ASSERT_EQ (transferCurve[i], 0.99975204f) << "entry " << i;

    EXPECT_GT (transferCurve[6556], transferCurve[6555]) << "the curve first moves at 6556";
    EXPECT_LT (transferCurve[57339], transferCurve[57340]);

    // Slope around 0 about 1.47, steeper near +0.2 than near -0.2 (asymmetric).
    const auto slopeAt = [] (int entry) {
        return (transferCurve[entry + 1] - transferCurve[entry - 1]) * 16384.0f;
    };
    EXPECT_NEAR (slopeAt (32768), 1.47f, 0.01f);
    EXPECT_NEAR (slopeAt (32768 + 6554), 1.7f, 0.1f);
    EXPECT_GT (slopeAt (32768 + 6554), slopeAt (32768 - 6554));
}

TEST (WaveshaperTest, EndEntriesAndTheZeroEntry)
{
    EXPECT_EQ (shape (-1.0f), transferCurve[0]);
    EXPECT_EQ (shape (-1.0f), -0.98150116f);
    EXPECT_EQ (shape (0.0f), -0.00000301f) << "entry 32768 exactly";

    // Positions from 0 up to 1 take entry 0 without interpolation.
    EXPECT_EQ (shape (-1.0f + 0.9f / 32768.0f), transferCurve[0]);

    // From 65534 / 32768 - 1 upwards, however large, entry 65534 (65535 is never read).
    for (float x : { 65534.0f / 32768.0f - 1.0f, 0.99999f, 1.0f, 3.5f, 1.0e30f,
                     std::numeric_limits<float>::max(), std::numeric_limits<float>::infinity() })
        EXPECT_EQ (shape (x), 0.99975204f) << "input " << x;

    for (float x : { -1.0f, -1.5f, -1.0e30f, -std::numeric_limits<float>::max(),
                     -std::numeric_limits<float>::infinity() })
        EXPECT_EQ (shape (x), -0.98150116f) << "input " << x;
}

TEST (WaveshaperTest, InterpolatesBetweenNeighbouringEntries)
{
    const double expected = ((double) transferCurve[16384] + (double) transferCurve[16385]) / 2.0;
    EXPECT_NEAR (shape (-0.5f + 1.0f / 65536.0f), expected, 4.0e-8)
        << "midpoint of 16384 and 16385";

    // A quarter of the way from 40000 to 40001.
    const float x = (40000.25f / 32768.0f) - 1.0f;
    const double pos = ((double) x + 1.0) * 32768.0;
    const double t0 = transferCurve[40000], t1 = transferCurve[40001];
    EXPECT_NEAR (shape (x), t0 + (t1 - t0) * (pos - 40000.0), 3.0e-8);
}

TEST (WaveshaperTest, NonNumbersAreShapedAsSilence)
{
    // A non-number must not reach the index: it takes the value for an input of 0.
    for (float x :
         { std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN(),
           std::numeric_limits<float>::signaling_NaN() })
        EXPECT_EQ (shape (x), transferCurve[32768]);
}

TEST (WaveshaperTest, DoesNothingWithoutTableOrSamples)
{
    Waveshaper shaper;
    float x = 0.3f;
    shaper.process (&x, 1);
    EXPECT_EQ (x, 0.3f) << "no table";

    shaper.setTable (transferCurve);
    shaper.process (&x, 0);
    shaper.process (&x, -5);
    EXPECT_EQ (x, 0.3f) << "no samples";
}

TEST (WaveshaperTest, SwitchingModeChangesTablesAtTheEnds)
{
    std::vector<float> tableA (Waveshaper::tableSize, 1.0f), tableB (Waveshaper::tableSize, 2.0f);
    Waveshaper shaper;
    shaper.tableA = shaper.currentTable = tableA.data();
    shaper.tableB = tableB.data();
    shaper.hysteresis = true;

    // The new table serves from the next sample on.
    float block[] { 0.0f, 1.0f, 0.0f, -1.0f, 0.0f };
    shaper.process (block, 5);
    EXPECT_EQ (block[0], 1.0f);
    EXPECT_EQ (block[1], 1.0f);
    EXPECT_EQ (block[2], 2.0f);
    EXPECT_EQ (block[3], 2.0f);
    EXPECT_EQ (block[4], 1.0f);
    EXPECT_TRUE (shaper.onTableA);
}
