#include "engine/tuner/RealFft.h"

#include <cmath>
#include <utility>

namespace
{
/** pi / 4 in single precision (0.7853982): every table angle is a multiple of it, as in the
    published package, but in single precision throughout. */
constexpr float quarterPi = 0.785398163397448f;
} // namespace

//==================================================================================================
void RealFft::transform (int n, float* data, int* ip, float* w) noexcept
{
    if (n < 2)
        return;

    int nw = ip[0];
    if (n > (nw << 2))
    {
        nw = n >> 2;
        makeTwiddleTable (nw, ip, w);
    }

    int nc = ip[1];
    if (n > (nc << 2))
    {
        nc = n >> 2;
        makeCosineTable (nc, ip, w + nw);
    }

    if (n > 4)
    {
        bitReverse (n, ip + 2, data);
        butterflies (n, data, w);
        realPostProcess (n, data, nc, w + nw);
    }
    else if (n == 4)
    {
        butterflies (n, data, w);
    }

    // The complex transform left E[0] + i O[0] in the first pair, E and O being the transforms
    // of the even and the odd samples; R[0] = E[0] + O[0] and R[n/2] = E[0] - O[0].
    const float difference = data[0] - data[1];
    data[0] += data[1];
    data[1] = difference;
}

//==================================================================================================
void RealFft::makeTwiddleTable (int nw, int* ip, float* w) noexcept
{
    ip[0] = nw;
    ip[1] = 1;

    if (nw <= 2)
        return;

    // nw / 2 complex factors exp (i m delta'), delta' = (pi / 2) / (nw / 2), m = 0 .. nw/2 - 1.
    // The upper half of the quarter circle comes from the lower one by swapping cosine and sine.
    const int half = nw >> 1;
    const float delta = quarterPi / (float) half;

    w[0] = 1.0f;
    w[1] = 0.0f;
    w[half] = std::cos (delta * (float) half);
    w[half + 1] = w[half];

    if (half <= 2)
        return;

    for (int j = 2; j < half; j += 2)
    {
        const float x = std::cos (delta * (float) j);
        const float y = std::sin (delta * (float) j);
        w[j] = x;
        w[j + 1] = y;
        w[nw - j] = y;
        w[nw - j + 1] = x;
    }

    // Stored bit-reversed, the factor that a butterfly block needs is simply entry [block index].
    bitReverse (nw, ip + 2, w);
}

void RealFft::makeCosineTable (int nc, int* ip, float* c) noexcept
{
    ip[1] = nc;

    if (nc <= 1)
        return;

    // c[m] = cos (2 pi m / (4 nc)) / 2 for 0 < m < nc; the upper half from sines. c[0] holds
    // cos (pi / 4); the post-processing never reads it.
    const int half = nc >> 1;
    const float delta = quarterPi / (float) half;

    c[0] = std::cos (delta * (float) half);
    c[half] = 0.5f * c[0];

    for (int j = 1; j < half; ++j)
    {
        c[j] = 0.5f * std::cos (delta * (float) j);
        c[nc - j] = 0.5f * std::sin (delta * (float) j);
    }
}

//==================================================================================================
void RealFft::bitReverse (int n, int* ip, float* a) noexcept
{
    const int numComplex = n >> 1;
    int bits = 0;
    while ((1 << bits) < numComplex)
        ++bits;

    // Split an index of 'bits' bits into a high part, an optional middle bit and a low part of
    // halfBits bits each. With reverse[] the reversal over halfBits bits, the index
    //     high * highStride + middle * tableSize + reverse[low]
    // reverses to
    //     low * highStride + middle * tableSize + reverse[high],
    // so swapping over all pairs low > high permutes the whole array with a table of only
    // sqrt (numComplex) entries.
    const int halfBits = bits >> 1;
    const int tableSize = 1 << halfBits;
    const bool hasMiddleBit = (bits & 1) != 0;
    const int highStride = hasMiddleBit ? tableSize << 1 : tableSize;

    int* reverse = ip;
    reverse[0] = 0;
    for (int size = 1; size < tableSize; size <<= 1)
        for (int j = 0; j < size; ++j)
            reverse[size + j] = reverse[j] + tableSize / (size << 1);

    for (int middle = 0; middle < (hasMiddleBit ? 2 : 1); ++middle)
    {
        const int middleOffset = middle * tableSize;

        for (int low = 1; low < tableSize; ++low)
        {
            for (int high = 0; high < low; ++high)
            {
                const int x = 2 * (high * highStride + middleOffset + reverse[low]);
                const int y = 2 * (low * highStride + middleOffset + reverse[high]);
                std::swap (a[x], a[y]);
                std::swap (a[x + 1], a[y + 1]);
            }
        }
    }
}

//==================================================================================================
// The butterflies are the transpose of a decimation into "twisted" transforms: a block of M
// complex values that has to produce sum_j x[j] exp (i theta j) exp (2 pi i j k / M) splits into
// four such blocks of M/4 values after a radix-4 step whose only twiddle tau = exp (i theta M/4)
// is constant over the block. For the block with index b (in storage order, any stage) that
// twiddle is exp (2 pi i rev (b) / (4 * tableLength)), which is entry b of the bit-reversed table
// in w whatever the stage. Run on bit-reversed input from the shortest span upwards, the
// transposed steps below yield the transform in natural order.

void RealFft::butterflies (int n, float* a, const float* w) noexcept
{
    int span = 2; // distance in floats between the legs of a butterfly

    while ((span << 2) < n)
    {
        radix4Stage (n, span, a, w);
        span <<= 2;
    }

    if ((span << 2) == n)
        radix4Stage (n, span, a, w);
    else if ((span << 1) == n)
        radix2Stage (n, a);
}

void RealFft::radix4Stage (int n, int span, float* a, const float* w) noexcept
{
    const int blockLength = span << 2;
    const int numBlocks = n / blockLength;

    for (int block = 0; block < numBlocks; ++block)
    {
        // tau, tau^2 and tau^3 of this block; block 0 has tau = 1.
        const float t1r = block == 0 ? 1.0f : w[2 * block];
        const float t1i = block == 0 ? 0.0f : w[2 * block + 1];
        const float t2r = t1r * t1r - t1i * t1i;
        const float t2i = 2.0f * t1r * t1i;
        const float t3r = t2r * t1r - t2i * t1i;
        const float t3i = t2r * t1i + t2i * t1r;

        const int start = block * blockLength;

        for (int j = start; j < start + span; j += 2)
        {
            const int j1 = j + span;
            const int j2 = j1 + span;
            const int j3 = j2 + span;

            const float sum01r = a[j] + a[j1];
            const float sum01i = a[j + 1] + a[j1 + 1];
            const float diff01r = a[j] - a[j1];
            const float diff01i = a[j + 1] - a[j1 + 1];
            const float sum23r = a[j2] + a[j3];
            const float sum23i = a[j2 + 1] + a[j3 + 1];
            const float diff23r = a[j2] - a[j3];
            const float diff23i = a[j2 + 1] - a[j3 + 1];

            a[j] = sum01r + sum23r;
            a[j + 1] = sum01i + sum23i;

            if (block == 0)
            {
                a[j1] = diff01r - diff23i;
                a[j1 + 1] = diff01i + diff23r;
                a[j2] = sum01r - sum23r;
                a[j2 + 1] = sum01i - sum23i;
                a[j3] = diff01r + diff23i;
                a[j3 + 1] = diff01i - diff23r;
                continue;
            }

            // z1 = diff01 + i diff23, z2 = sum01 - sum23, z3 = diff01 - i diff23
            const float z1r = diff01r - diff23i;
            const float z1i = diff01i + diff23r;
            const float z2r = sum01r - sum23r;
            const float z2i = sum01i - sum23i;
            const float z3r = diff01r + diff23i;
            const float z3i = diff01i - diff23r;

            a[j1] = t1r * z1r - t1i * z1i;
            a[j1 + 1] = t1r * z1i + t1i * z1r;
            a[j2] = t2r * z2r - t2i * z2i;
            a[j2 + 1] = t2r * z2i + t2i * z2r;
            a[j3] = t3r * z3r - t3i * z3i;
            a[j3 + 1] = t3r * z3i + t3i * z3r;
        }
    }
}

void RealFft::radix2Stage (int n, float* a) noexcept
{
    // Only ever the last stage, over the whole array: its twiddle is 1.
    const int half = n >> 1;

    for (int j = 0; j < half; j += 2)
    {
        const int j1 = j + half;
        const float diffr = a[j] - a[j1];
        const float diffi = a[j + 1] - a[j1 + 1];
        a[j] += a[j1];
        a[j + 1] += a[j1 + 1];
        a[j1] = diffr;
        a[j1 + 1] = diffi;
    }
}

//==================================================================================================
void RealFft::realPostProcess (int n, float* a, int nc, const float* c) noexcept
{
    // The complex transform Z of z[j] = a[2j] + i a[2j+1] gives E[k] = (Z[k] + conj Z[N-k]) / 2
    // and O[k] = (Z[k] - conj Z[N-k]) / 2i (N = n/2), and X[k] = E[k] + exp (2 pi i k / n) O[k].
    // With d = Z[k] - conj Z[N-k] and y = ((1 - sin) / 2 + i cos / 2) d this is
    //     X[k] = Z[k] - y,   X[N-k] = Z[N-k] + conj y.
    // The cosine table may have been built for a longer transform: step through it with stride.
    const int numComplex = n >> 1;
    const int stride = 4 * nc / n;

    for (int k = 1; k < (numComplex >> 1); ++k)
    {
        const int j = 2 * k;
        const int mirror = n - j;
        const int kk = k * stride;
        const float wr = 0.5f - c[nc - kk];
        const float wi = c[kk];

        const float dr = a[j] - a[mirror];
        const float di = a[j + 1] + a[mirror + 1];
        const float yr = wr * dr - wi * di;
        const float yi = wr * di + wi * dr;

        a[j] -= yr;
        a[j + 1] -= yi;
        a[mirror] += yr;
        a[mirror + 1] -= yi;
    }
}
