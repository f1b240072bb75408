#include "render/simd/simd_level.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "render/simd/simd_build.h"

#if defined(VELDMARK_VEC8)
#include <cpuid.h>
#endif

namespace veldmark {
namespace {

#if defined(VELDMARK_VEC8)
struct CpuidRegisters {
    unsigned a, b, c, d;
};

CpuidRegisters Cpuid(unsigned leaf, unsigned subleaf)
{
    CpuidRegisters r{};
    __cpuid_count(leaf, subleaf, r.a, r.b, r.c, r.d);
    return r;
}

// Which register states the operating system saves on a context switch (XCR0).
unsigned long long EnabledRegisterStates()
{
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    return (static_cast<unsigned long long>(hi) << 32) | lo;
}

bool HasAvx2()
{
    constexpr unsigned kOsxsave = 1u << 27, kAvx = 1u << 28;   // leaf 1, ecx
    constexpr unsigned kAvx2 = 1u << 5;                         // leaf 7, ebx
    constexpr unsigned long long kYmmState = 0x6;               // XCR0: SSE and AVX state
    if (Cpuid(0, 0).a < 7) return false;
    const CpuidRegisters leaf1 = Cpuid(1, 0);
    if ((leaf1.c & (kOsxsave | kAvx)) != (kOsxsave | kAvx)) return false;
    if ((EnabledRegisterStates() & kYmmState) != kYmmState) return false;
    return (Cpuid(7, 0).b & kAvx2) != 0;
}
#endif

SimdLevel DetectSimdLevel()
{
#if defined(VELDMARK_VEC8)
    if (HasAvx2()) return SimdLevel::Vec8;
#endif
#if defined(VELDMARK_VEC4)
    return SimdLevel::Vec4;
#else
    return SimdLevel::Scalar;
#endif
}

constexpr int kUnchosen = -1;
std::atomic<int> g_active{kUnchosen};

SimdLevel Lowered(SimdLevel level, SimdLevel limit) { return level < limit ? level : limit; }

} // namespace

SimdLevel SupportedSimdLevel()
{
    static const SimdLevel supported = DetectSimdLevel();
    return supported;
}

SimdLevel SimdLevelFromEnvironment(SimdLevel supported)
{
    const char* asked = std::getenv("VELDMARK_SIMD");
    if (!asked) return supported;
    for (SimdLevel level : {SimdLevel::Scalar, SimdLevel::Vec4, SimdLevel::Vec8})
        if (std::strcmp(asked, SimdLevelName(level)) == 0) return Lowered(level, supported);
    return supported;
}

SimdLevel ActiveSimdLevel()
{
    int level = g_active.load(std::memory_order_acquire);
    if (level == kUnchosen) {
        const int chosen = static_cast<int>(SimdLevelFromEnvironment(SupportedSimdLevel()));
        // Two first callers agree on the answer; whichever stores first wins.
        g_active.compare_exchange_strong(level, chosen, std::memory_order_acq_rel);
        level = g_active.load(std::memory_order_acquire);
    }
    return static_cast<SimdLevel>(level);
}

SimdLevel SetActiveSimdLevel(SimdLevel level)
{
    const SimdLevel active = Lowered(level, SupportedSimdLevel());
    g_active.store(static_cast<int>(active), std::memory_order_release);
    return active;
}

const char* SimdLevelName(SimdLevel level)
{
    switch (level) {
    case SimdLevel::Vec8: return "avx2";
    case SimdLevel::Vec4:
#if defined(VELDMARK_VEC4_WASM)
        return "simd128";
#elif defined(VELDMARK_VEC4_NEON)
        return "neon";
#else
        return "sse2";
#endif
    case SimdLevel::Scalar: break;
    }
    return "scalar";
}

} // namespace veldmark
