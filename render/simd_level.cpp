#include "render/simd_level.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__) || defined(_M_X64)
#if defined(_MSC_VER)
#include <immintrin.h>
#include <intrin.h>
#else
#include <cpuid.h>
#endif
#define VELDMARK_X86_64 1
#endif

namespace veldmark {
namespace {

#if defined(VELDMARK_X86_64)
struct CpuidRegisters {
    unsigned a, b, c, d;
};

CpuidRegisters Cpuid(unsigned leaf, unsigned subleaf)
{
    CpuidRegisters r{};
#if defined(_MSC_VER)
    int out[4];
    __cpuidex(out, static_cast<int>(leaf), static_cast<int>(subleaf));
    r = {static_cast<unsigned>(out[0]), static_cast<unsigned>(out[1]), static_cast<unsigned>(out[2]),
         static_cast<unsigned>(out[3])};
#else
    __cpuid_count(leaf, subleaf, r.a, r.b, r.c, r.d);
#endif
    return r;
}

// Which register states the operating system saves on a context switch (XCR0).
unsigned long long EnabledRegisterStates()
{
#if defined(_MSC_VER)
    return _xgetbv(0);
#else
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    return (static_cast<unsigned long long>(hi) << 32) | lo;
#endif
}

SimdLevel DetectSimdLevel()
{
    constexpr unsigned kOsxsave = 1u << 27, kAvx = 1u << 28;            // leaf 1, ecx
    constexpr unsigned kAvx2 = 1u << 5;                                  // leaf 7, ebx
    constexpr unsigned kAvx512F = 1u << 16, kAvx512Bw = 1u << 30;       // leaf 7, ebx
    constexpr unsigned long long kYmmState = 0x6, kZmmState = 0xE6;      // XCR0 bits
    if (Cpuid(0, 0).a < 7) return SimdLevel::Sse2;
    const CpuidRegisters leaf1 = Cpuid(1, 0);
    if ((leaf1.c & (kOsxsave | kAvx)) != (kOsxsave | kAvx)) return SimdLevel::Sse2;
    const unsigned long long states = EnabledRegisterStates();
    if ((states & kYmmState) != kYmmState) return SimdLevel::Sse2;
    const CpuidRegisters leaf7 = Cpuid(7, 0);
    if ((leaf7.b & kAvx2) == 0) return SimdLevel::Sse2;
    if ((leaf7.b & (kAvx512F | kAvx512Bw)) == (kAvx512F | kAvx512Bw) && (states & kZmmState) == kZmmState)
        return SimdLevel::Avx512;
    return SimdLevel::Avx2;
}
#else
SimdLevel DetectSimdLevel() { return SimdLevel::Sse2; }
#endif

SimdLevel LevelAskedFor(SimdLevel supported)
{
    const char* asked = std::getenv("VELDMARK_SIMD");
    if (!asked) return supported;
    SimdLevel level = supported;
    if (std::strcmp(asked, "sse2") == 0) level = SimdLevel::Sse2;
    else if (std::strcmp(asked, "avx2") == 0) level = SimdLevel::Avx2;
    else if (std::strcmp(asked, "avx512") == 0) level = SimdLevel::Avx512;
    return level < supported ? level : supported;
}

constexpr int kUnchosen = -1;
std::atomic<int> g_active{kUnchosen};

} // namespace

SimdLevel SupportedSimdLevel()
{
    static const SimdLevel supported = DetectSimdLevel();
    return supported;
}

SimdLevel ActiveSimdLevel()
{
    int level = g_active.load(std::memory_order_acquire);
    if (level == kUnchosen) {
        int chosen = static_cast<int>(LevelAskedFor(SupportedSimdLevel()));
        // Two first callers agree on the answer; whichever stores first wins.
        g_active.compare_exchange_strong(level, chosen, std::memory_order_acq_rel);
        level = g_active.load(std::memory_order_acquire);
    }
    return static_cast<SimdLevel>(level);
}

SimdLevel SetActiveSimdLevel(SimdLevel level)
{
    const SimdLevel supported = SupportedSimdLevel();
    const SimdLevel active = level < supported ? level : supported;
    g_active.store(static_cast<int>(active), std::memory_order_release);
    return active;
}

const char* SimdLevelName(SimdLevel level)
{
    switch (level) {
    case SimdLevel::Avx512: return "avx512";
    case SimdLevel::Avx2: return "avx2";
    case SimdLevel::Sse2: break;
    }
    return "sse2";
}

} // namespace veldmark
