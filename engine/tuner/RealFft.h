#pragma once

/** Forward real discrete Fourier transform in place, single precision, after T. Ooura's
    general-purpose FFT package, radix-4 variant (fft4g, routine rdft, forward direction).

    For n real inputs a[0 .. n-1] (n a power of two, at least 2), with
        R[k] = sum_j a[j] cos (2 pi j k / n),   I[k] = sum_j a[j] sin (2 pi j k / n),
    the output is a[2k] = R[k], a[2k+1] = I[k] for 0 < k < n/2, a[0] = R[0] and a[1] = R[n/2].
    No scaling.

    Work areas, kept by the caller and all zero before the first call:
    - ip (ints, at least 2 + sqrt (n/2)): ip[0] is the length of the twiddle part of w and ip[1]
      the length of its cosine part (n/4 each once set up); ip[2] on is scratch for the bit
      reversal.
    - w (floats, n/2): w[0 .. n/4-1] the complex twiddle factors exp (2 pi i m / (n/2)) for
      m < n/8, stored as (cos, sin) pairs in bit-reversed order; w[n/4 .. n/2-1] the cosine
      table cos (2 pi m / n) / 2 of the real-data post-processing.
    A call builds the tables only when they are too short for n, so after the first call with a
    given n the transform neither writes the tables nor evaluates a sine. No allocation; any
    thread, on its own data. */
class RealFft
{
public:
    /** The transform of n floats of data in place; builds the tables in ip and w first if they
        are too short for n. Nothing happens for n < 2. */
    static void transform (int n, float* data, int* ip, float* w) noexcept;

    /** Bit-reversal permutation of the n/2 complex values (re, im pairs) in a, using ip as
        scratch for the reversed half-indices. */
    static void bitReverse (int n, int* ip, float* a) noexcept;

    /** The complex transform sum_j z[j] exp (+2 pi i j k / (n/2)) of the n/2 complex values in
        a, which must come in bit-reversed order; the result is in natural order. Radix-4 stages
        from the shortest span up while four times the stage's span is below n, then a last
        radix-4 or radix-2 stage. w is the twiddle part of the tables. */
    static void butterflies (int n, float* a, const float* w) noexcept;

private:
    static void makeTwiddleTable (int nw, int* ip, float* w) noexcept;
    static void makeCosineTable (int nc, int* ip, float* c) noexcept;
    static void radix4Stage (int n, int span, float* a, const float* w) noexcept;
    static void radix2Stage (int n, float* a) noexcept;
    static void realPostProcess (int n, float* a, int nc, const float* c) noexcept;
};
