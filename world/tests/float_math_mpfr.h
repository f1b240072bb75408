#pragma once
// MPFR as the reference for the correctly rounded float functions: 24-bit precision with
// binary32's exponent range and subnormals, so its result is the correctly rounded float.
#include <mpfr.h>

#include <bit>
#include <cmath>
#include <cstdint>

namespace veldmark::testing {

// MPFR keeps its exponent range per thread: every thread that calls the reference first
// calls this.
inline void UseFloatExponentRange()
{
    mpfr_set_emin(-148);  // 2^-149 = 0.1b * 2^-148, the smallest subnormal
    mpfr_set_emax(128);
}

using MpfrUnary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
using MpfrBinary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);

// Three 24-bit MPFR numbers, made once per thread and reused.
struct MpfrFloats {
    mpfr_t a, b, result;
    MpfrFloats()
    {
        mpfr_init2(a, 24);
        mpfr_init2(b, 24);
        mpfr_init2(result, 24);
    }
    ~MpfrFloats()
    {
        mpfr_clear(a);
        mpfr_clear(b);
        mpfr_clear(result);
    }
    MpfrFloats(const MpfrFloats&) = delete;
    MpfrFloats& operator=(const MpfrFloats&) = delete;
};

inline MpfrFloats& ThreadFloats()
{
    thread_local MpfrFloats floats;
    return floats;
}

inline float Finish(MpfrFloats& m, int ternary)
{
    ternary = mpfr_subnormalize(m.result, ternary, MPFR_RNDN);
    return mpfr_get_flt(m.result, MPFR_RNDN);
}

inline float Reference(MpfrUnary f, float x)
{
    MpfrFloats& m = ThreadFloats();
    mpfr_set_flt(m.a, x, MPFR_RNDN);
    return Finish(m, f(m.result, m.a, MPFR_RNDN));
}

inline float Reference(MpfrBinary f, float x, float y)
{
    MpfrFloats& m = ThreadFloats();
    mpfr_set_flt(m.a, x, MPFR_RNDN);
    mpfr_set_flt(m.b, y, MPFR_RNDN);
    return Finish(m, f(m.result, m.a, m.b, MPFR_RNDN));
}

// The same float, bit for bit (so +0 and -0 differ), or both NaN.
inline bool SameFloat(float a, float b)
{
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

} // namespace veldmark::testing
