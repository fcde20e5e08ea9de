#include "engine/tuner/RealFft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace
{
/** The tables and work area of one transform length, zeroed as the tuner keeps them. */
struct FftWork
{
    explicit FftWork (int n) : ip ((size_t) n + 2, 0), w ((size_t) n, 0.0f) {}

    std::vector<int> ip;
    std::vector<float> w;
};

/** The forward real DFT in double precision straight from its definition, laid out as the
    transform's output: out[2k] = R[k], out[2k+1] = I[k] for 0 < k < n/2, out[0] = R[0] and
    out[1] = R[n/2], with R + iI = sum_j a[j] exp (+2 pi i j k / n). */
std::vector<double> referenceDft (const std::vector<float>& a)
{
    const int n = (int) a.size();
    const double pi = 3.14159265358979323846;
    std::vector<double> cosine ((size_t) n), sine ((size_t) n);
    for (int j = 0; j < n; ++j)
    {
        cosine[(size_t) j] = std::cos (2.0 * pi * j / n);
        sine[(size_t) j] = std::sin (2.0 * pi * j / n);
    }

    auto bin = [&] (int k, double& re, double& im) {
        re = 0.0;
        im = 0.0;
        for (int j = 0; j < n; ++j)
        {
            const auto phase = (size_t) (((long long) j * k) % n);
            re += a[(size_t) j] * cosine[phase];
            im += a[(size_t) j] * sine[phase];
        }
    };

    std::vector<double> out ((size_t) n, 0.0);
    double re = 0.0, im = 0.0;
    bin (0, re, im);
    out[0] = re;
    if (n > 1)
    {
        bin (n / 2, re, im);
        out[1] = re;
    }
    for (int k = 1; k < n / 2; ++k)
    {
        bin (k, re, im);
        out[(size_t) (2 * k)] = re;
        out[(size_t) (2 * k + 1)] = im;
    }
    return out;
}

std::vector<float> randomSignal (int n, unsigned seed)
{
    std::mt19937 generator (seed);
    std::uniform_real_distribution<float> distribution (-1.0f, 1.0f);
    std::vector<float> a ((size_t) n);
    for (auto& x : a)
        x = distribution (generator);
    return a;
}

/** Single-precision rounding grows with the length and the input's size: allow a few units of
    float epsilon per stage on the largest possible output. */
double toleranceFor (int n, double inputMagnitude)
{
    return 4.0e-7 * std::log2 ((double) n + 1.0) * inputMagnitude * std::sqrt ((double) n) * 8.0;
}

void expectMatchesReference (const std::vector<float>& input, const std::vector<float>& output,
                             const char* what)
{
    const auto expected = referenceDft (input);
    const int n = (int) input.size();
    const double tolerance = toleranceFor (n, 1.0);
    double worst = 0.0;
    int worstIndex = 0;
    for (int i = 0; i < n; ++i)
    {
        const double error = std::abs ((double) output[(size_t) i] - expected[(size_t) i]);
        if (error > worst)
        {
            worst = error;
            worstIndex = i;
        }
    }
    EXPECT_LE (worst, tolerance) << what << ", n = " << n << ": worst entry " << worstIndex
                                 << " is " << output[(size_t) worstIndex] << ", expected "
                                 << expected[(size_t) worstIndex];
}
} // namespace

//==================================================================================================
TEST (RealFftTest, AgreesWithReferenceDftOnRandomDataForEveryLength)
{
    for (int n = 2; n <= 8192; n *= 2)
    {
        FftWork work (n);
        auto data = randomSignal (n, (unsigned) n);
        const auto input = data;
        RealFft::transform (n, data.data(), work.ip.data(), work.w.data());
        expectMatchesReference (input, data, "random data, fresh tables");
    }
}

TEST (RealFftTest, TablesBuiltForALongerLengthServeShorterOnes)
{
    // The tuner's tables are built for 8192 points; a shorter transform steps through them.
    FftWork work (8192);
    std::vector<float> zeros (8192, 0.0f);
    RealFft::transform (8192, zeros.data(), work.ip.data(), work.w.data());

    for (int n = 4; n <= 4096; n *= 2)
    {
        auto data = randomSignal (n, 1000u + (unsigned) n);
        const auto input = data;
        RealFft::transform (n, data.data(), work.ip.data(), work.w.data());
        expectMatchesReference (input, data, "random data, tables of 8192");
        EXPECT_EQ (work.ip[0], 2048) << "n = " << n;
        EXPECT_EQ (work.ip[1], 2048) << "n = " << n;
    }
}

TEST (RealFftTest, ZerosGiveZeros)
{
    for (int n : { 2, 4, 8, 64, 8192 })
    {
        FftWork work (n);
        std::vector<float> data ((size_t) n, 0.0f);
        RealFft::transform (n, data.data(), work.ip.data(), work.w.data());
        for (int i = 0; i < n; ++i)
            ASSERT_EQ (data[(size_t) i], 0.0f) << "n = " << n << ", entry " << i;
    }
}

TEST (RealFftTest, ConstantGoesToTheFirstEntryOnly)
{
    for (int n : { 4, 16, 512, 8192 })
    {
        FftWork work (n);
        const float c = 0.75f;
        std::vector<float> data ((size_t) n, c);
        RealFft::transform (n, data.data(), work.ip.data(), work.w.data());

        const double tolerance = toleranceFor (n, c);
        EXPECT_NEAR (data[0], n * c, tolerance) << "n = " << n;
        for (int i = 1; i < n; ++i)
            ASSERT_NEAR (data[(size_t) i], 0.0, tolerance) << "n = " << n << ", entry " << i;
    }
}

TEST (RealFftTest, CosineAndSineOfWholeCyclesLandInTheirBin)
{
    const double pi = 3.14159265358979323846;

    for (int n : { 8, 32, 1024, 8192 })
    {
        for (int k0 : { 1, 3, n / 4 - 1, n / 2 - 1 })
        {
            if (k0 < 1)
                continue;

            for (const bool isSine : { false, true })
            {
                FftWork work (n);
                std::vector<float> data ((size_t) n);
                for (int j = 0; j < n; ++j)
                {
                    const double angle = 2.0 * pi * (double) (((long long) j * k0) % n) / n;
                    data[(size_t) j] = (float) (isSine ? std::sin (angle) : std::cos (angle));
                }
                RealFft::transform (n, data.data(), work.ip.data(), work.w.data());

                const double tolerance = toleranceFor (n, 1.0);
                for (int i = 0; i < n; ++i)
                {
                    const int expectedIndex = isSine ? 2 * k0 + 1 : 2 * k0;
                    const double expected = i == expectedIndex ? n / 2.0 : 0.0;
                    ASSERT_NEAR (data[(size_t) i], expected, tolerance)
                        << (isSine ? "sine" : "cosine") << " of " << k0 << " cycles, n = " << n
                        << ", entry " << i;
                }
            }
        }
    }
}

TEST (RealFftTest, AlternatingSignIsTheNyquistBinInTheSecondEntry)
{
    const int n = 256;
    FftWork work (n);
    std::vector<float> data ((size_t) n);
    for (int j = 0; j < n; ++j)
        data[(size_t) j] = (j & 1) == 0 ? 1.0f : -1.0f;
    RealFft::transform (n, data.data(), work.ip.data(), work.w.data());

    EXPECT_NEAR (data[1], (double) n, 1.0e-3);
    for (int i = 2; i < n; ++i)
        ASSERT_NEAR (data[(size_t) i], 0.0, 1.0e-3) << "entry " << i;
    EXPECT_NEAR (data[0], 0.0, 1.0e-3);
}

TEST (RealFftTest, TablesAreBuiltOnceWithTheirLayout)
{
    const int n = 8192;
    FftWork work (n);
    std::vector<float> data ((size_t) n, 0.0f);

    RealFft::transform (n, data.data(), work.ip.data(), work.w.data());
    EXPECT_EQ (work.ip[0], n / 4);
    EXPECT_EQ (work.ip[1], n / 4);
    for (int i = 0; i < n; ++i)
        ASSERT_EQ (data[(size_t) i], 0.0f) << "set-up left entry " << i << " changed";

    // Twiddle part: entry b is exp (2 pi i rev (b) / (n/2)) with rev over the 10 bits of the
    // 1024 entries; entry 0 is exactly (1, 0).
    EXPECT_EQ (work.w[0], 1.0f);
    EXPECT_EQ (work.w[1], 0.0f);
    const double pi = 3.14159265358979323846;
    for (int b = 0; b < n / 8; ++b)
    {
        int reversed = 0;
        for (int bit = 0; bit < 10; ++bit)
            reversed |= ((b >> bit) & 1) << (9 - bit);
        const double angle = 2.0 * pi * reversed / (n / 2);
        ASSERT_NEAR (work.w[(size_t) (2 * b)], std::cos (angle), 1.0e-6) << "twiddle " << b;
        ASSERT_NEAR (work.w[(size_t) (2 * b + 1)], std::sin (angle), 1.0e-6) << "twiddle " << b;
    }

    // Cosine part: c[0] = cos (pi/4), c[m] = cos (2 pi m / n) / 2 for 0 < m < n/4.
    const float* c = work.w.data() + n / 4;
    EXPECT_NEAR (c[0], std::cos (pi / 4.0), 1.0e-7);
    EXPECT_EQ (c[n / 8], 0.5f * c[0]);
    for (int m = 1; m < n / 4; ++m)
        ASSERT_NEAR (c[m], 0.5 * std::cos (2.0 * pi * m / n), 1.0e-7) << "cosine entry " << m;

    // A second call of the same length uses the tables as they are.
    const auto ip = work.ip;
    const auto w = work.w;
    auto input = randomSignal (n, 7u);
    RealFft::transform (n, input.data(), work.ip.data(), work.w.data());
    EXPECT_EQ (work.ip, ip);
    EXPECT_EQ (work.w, w);
}
