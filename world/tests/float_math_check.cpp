// The exhaustive check of the correctly rounded float functions: sin, cos, tan, atan and exp on
// all 2^32 floats, atan2 and pow on seeded random pairs spread over their interesting ranges,
// and pow(x, 0.7) for every x in [0, 1]. It runs on every core, prints its progress and a
// summary, and exits with 1 on any mismatch.
//
//   float_math_check [--pairs N] [--mpfr-all] [pow07 atan2 pow exp atan sin cos tan]
//
// MPFR is the reference. To save its calls, an input is first tried against the C library's
// double-precision function: glibc's manual lists known errors of a few ulp of double at most
// for these functions, so when that result widened by 2^-40 either way (thousands of ulps)
// still rounds to one float, that float is the correctly rounded result, and it must equal
// ours. Were the library ever that far off, the shortcut would report a false mismatch, not
// hide one: a wrong result of ours slips through only if the library's double misses by more
// than the widening towards the very same wrong float. Every other input (and with
// --mpfr-all, every input) goes to MPFR, and so does one in 4096 of the decided ones, to test
// the shortcut's premise: a sample on which the library's double and MPFR disagree is
// reported as a mismatch too.
#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "world/float_math.h"
#include "world/tests/float_math_mpfr.h"

namespace {

using namespace veldmark;
using veldmark::testing::MpfrBinary;
using veldmark::testing::MpfrUnary;

constexpr std::uint64_t kChunk = 1u << 20;          // inputs per unit of work
constexpr std::uint64_t kSampleEvery = 1u << 12;    // decided inputs confirmed with MPFR anyway
constexpr double kLibraryWidening = 0x1p-40;        // far beyond glibc's known errors
constexpr std::size_t kListedMismatches = 10;
constexpr std::uint64_t kDefaultPairs = 1'000'000'000;

struct Options {
    std::uint64_t pairs = kDefaultPairs;
    bool mpfr_all = false;
};

struct Tally {
    std::atomic<std::uint64_t> done{0};
    std::atomic<std::uint64_t> mpfr_calls{0};
    std::atomic<std::uint64_t> mismatches{0};
    std::mutex lock;
    std::vector<std::string> first;
};

void Record(Tally& tally, const char* what)
{
    tally.mismatches.fetch_add(1, std::memory_order_relaxed);
    std::lock_guard<std::mutex> guard(tally.lock);
    if (tally.first.size() < kListedMismatches) tally.first.emplace_back(what);
}

// The float every value within the widened interval around d rounds to, when there is one
// and it is finite and nonzero (zeros, infinities and NaN go to MPFR).
bool LibraryDecides(double d, float& out)
{
    if (!std::isfinite(d) || d == 0) return false;
    const double e = d * kLibraryWidening;
    const float below = static_cast<float>(d - e);
    const float above = static_cast<float>(d + e);
    if (!testing::SameFloat(below, above) || below == 0 || std::isinf(below)) return false;
    out = below;
    return true;
}

// Checks one result: against the library's double when that decides, else against MPFR.
template <typename Mpfr>
void CheckOne(Tally& tally, float ours, double library, std::uint64_t index, const Options& options,
              Mpfr mpfr, const char* name, float x, float y, bool binary)
{
    float decided = 0;
    const bool shortcut = !options.mpfr_all && LibraryDecides(library, decided);
    if (shortcut && index % kSampleEvery != 0) {
        if (!testing::SameFloat(ours, decided)) {
            char text[160];
            std::snprintf(text, sizeof text, "%s(%a%s%a) = %a, the library's double says %a", name,
                          static_cast<double>(x), binary ? ", " : "", binary ? static_cast<double>(y) : 0.0,
                          static_cast<double>(ours), static_cast<double>(decided));
            Record(tally, text);
        }
        return;
    }
    tally.mpfr_calls.fetch_add(1, std::memory_order_relaxed);
    const float want = mpfr();
    if (!testing::SameFloat(ours, want) || (shortcut && !testing::SameFloat(decided, want))) {
        char text[200];
        std::snprintf(text, sizeof text, "%s(%a%s%s) = %a, MPFR says %a%s", name, static_cast<double>(x),
                      binary ? ", " : "", binary ? std::to_string(static_cast<double>(y)).c_str() : "",
                      static_cast<double>(ours), static_cast<double>(want),
                      shortcut && !testing::SameFloat(decided, want) ? " (and the library's double disagrees)" : "");
        Record(tally, text);
    }
}

// Runs body(begin, end) over [0, total) in chunks on every core, printing progress.
template <typename Body>
void RunParallel(const char* name, std::uint64_t total, Tally& tally, Body body)
{
    std::atomic<std::uint64_t> next{0};
    const unsigned workers = std::thread::hardware_concurrency() == 0 ? 2 : std::thread::hardware_concurrency();
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < workers; ++w) {
        threads.emplace_back([&] {
            testing::UseFloatExponentRange();
            for (;;) {
                const std::uint64_t begin = next.fetch_add(kChunk);
                if (begin >= total) break;
                const std::uint64_t end = begin + kChunk < total ? begin + kChunk : total;
                body(begin, end);
                tally.done.fetch_add(end - begin, std::memory_order_relaxed);
            }
        });
    }
    const auto start = std::chrono::steady_clock::now();
    std::atomic<bool> finished{false};
    std::thread progress([&] {
        auto last = start;
        while (!finished.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const auto now = std::chrono::steady_clock::now();
            if (now - last < std::chrono::seconds(30)) continue;
            last = now;
            const double seconds = std::chrono::duration<double>(now - start).count();
            const std::uint64_t done = tally.done.load();
            std::printf("  %s: %.1f%% (%llu of %llu) after %.0f s, %llu MPFR calls, %llu mismatches\n", name,
                        100.0 * static_cast<double>(done) / static_cast<double>(total),
                        static_cast<unsigned long long>(done), static_cast<unsigned long long>(total), seconds,
                        static_cast<unsigned long long>(tally.mpfr_calls.load()),
                        static_cast<unsigned long long>(tally.mismatches.load()));
            std::fflush(stdout);
        }
    });
    for (std::thread& t : threads) t.join();
    finished.store(true);
    progress.join();
}

struct Unary {
    const char* name;
    float (*ours)(float);
    double (*library)(double);
    MpfrUnary mpfr;
};

double LibrarySin(double x) { return std::sin(x); }
double LibraryCos(double x) { return std::cos(x); }
double LibraryTan(double x) { return std::tan(x); }
double LibraryAtan(double x) { return std::atan(x); }
double LibraryExp(double x) { return std::exp(x); }

void CheckUnary(const Unary& f, const Options& options, Tally& tally)
{
    constexpr std::uint64_t kAllFloats = std::uint64_t{1} << 32;
    RunParallel(f.name, kAllFloats, tally, [&](std::uint64_t begin, std::uint64_t end) {
        for (std::uint64_t i = begin; i < end; ++i) {
            const float x = std::bit_cast<float>(static_cast<std::uint32_t>(i));
            CheckOne(tally, f.ours(x), f.library(static_cast<double>(x)), i, options,
                     [&] { return testing::Reference(f.mpfr, x); }, f.name, x, 0.0f, false);
        }
    });
}

// A small counter-based generator, so that every pair depends only on its index.
std::uint64_t Mix(std::uint64_t v)
{
    v += 0x9e3779b97f4a7c15u;
    v = (v ^ (v >> 30)) * 0xbf58476d1ce4e5b9u;
    v = (v ^ (v >> 27)) * 0x94d049bb133111ebu;
    return v ^ (v >> 31);
}

float Uniform(std::uint64_t bits, float low, float high)
{
    const float unit = static_cast<float>(bits >> 40) * 0x1p-24f;
    return low + (high - low) * unit;
}

float AnyFloat(std::uint64_t bits) { return std::bit_cast<float>(static_cast<std::uint32_t>(bits)); }

// A float of the given sign-free exponent range with random significand bits.
float FloatWithExponent(std::uint64_t bits, int exponent)
{
    const std::uint32_t biased = static_cast<std::uint32_t>(exponent + 127);
    return std::bit_cast<float>((biased << 23) | static_cast<std::uint32_t>(bits & 0x7fffff));
}

// atan2 pairs: any bits; quotients near 1; tiny quotients (subnormal results); x < 0 with
// small y (results near pi); and moderate magnitudes.
void Atan2Pair(std::uint64_t index, float& y, float& x)
{
    const std::uint64_t a = Mix(index * 2), b = Mix(index * 2 + 1);
    const float sy = (a >> 63) ? -1.0f : 1.0f, sx = (b >> 63) ? -1.0f : 1.0f;
    const int e = static_cast<int>((a >> 32) % 250) - 125;
    switch (index % 5) {
    case 0: y = AnyFloat(a); x = AnyFloat(b); break;
    case 1: y = sy * FloatWithExponent(a, e); x = sx * FloatWithExponent(b, e + static_cast<int>((b >> 40) % 3) - 1); break;
    case 2: y = sy * std::bit_cast<float>(static_cast<std::uint32_t>(a & 0x00ffffff)); x = sx * FloatWithExponent(b, static_cast<int>((b >> 32) % 30)); break;
    case 3: y = sy * FloatWithExponent(a, e / 2 - 40); x = -FloatWithExponent(b, e / 2); break;
    default: y = Uniform(a, -100.0f, 100.0f); x = Uniform(b, -100.0f, 100.0f); break;
    }
}

// pow pairs: any bits; bases near 1 with large exponents; moderate bases and exponents;
// results near 1 (tiny exponents); subnormal results and results near overflow (exponents
// aimed at a target log2); small integer exponents and dyadic ones on bases with few bits,
// where exact results and midpoints live.
void PowPair(std::uint64_t index, float& x, float& y)
{
    const std::uint64_t a = Mix(index * 2 + 0x5000000000000000u), b = Mix(index * 2 + 0x5000000000000001u);
    switch (index % 8) {
    case 0: x = AnyFloat(a); y = AnyFloat(b); break;
    case 1: {
        const float d = std::bit_cast<float>(static_cast<std::uint32_t>(0x30000000u + a % 0x0f000000u));
        x = (a >> 63) ? 1.0f - d : 1.0f + d;
        y = ((b >> 63) ? -1.0f : 1.0f) * FloatWithExponent(b, static_cast<int>((b >> 32) % 40));
        break;
    }
    case 2: x = Uniform(a, 0.0f, 4.0f); y = Uniform(b, -60.0f, 60.0f); break;
    case 3: x = AnyFloat(a & 0x7fffffff); y = ((b >> 63) ? -1.0f : 1.0f) * FloatWithExponent(b, -static_cast<int>(20 + (b >> 32) % 100)); break;
    case 4:
    case 5: {
        x = AnyFloat(a & 0x7fffffff);
        const double log2x = std::log2(static_cast<double>(x));
        const double target = (index % 8 == 4) ? -150.0 + 25.0 * static_cast<double>(b >> 40) * 0x1p-24
                                               : 120.0 + 8.5 * static_cast<double>(b >> 40) * 0x1p-24;
        y = std::isfinite(log2x) && log2x != 0 ? static_cast<float>(target / log2x) : 2.0f;
        break;
    }
    case 6: {
        const auto significand = static_cast<std::uint32_t>(1 + 2 * ((a >> 40) % 4096));  // up to 13 bits
        x = std::ldexp(static_cast<float>(significand), static_cast<int>(a % 200) - 110);
        if ((a >> 20) & 1) x = -x;
        y = static_cast<float>(static_cast<int>(b % 31) - 15);
        break;
    }
    default: {
        const auto root = static_cast<std::uint32_t>(1 + 2 * ((a >> 40) % 64));
        const int k = 1 + static_cast<int>((a >> 8) % 3);
        std::uint32_t base = root;
        for (int i = 0; i < k; ++i) base = base * base > (1u << 24) ? base : base * base;
        x = std::ldexp(static_cast<float>(base), static_cast<int>(a % 100) - 50);
        y = std::ldexp(static_cast<float>(static_cast<int>(b % 41) - 20), -k);
        break;
    }
    }
}

void CheckAtan2(const Options& options, Tally& tally)
{
    RunParallel("atan2", options.pairs, tally, [&](std::uint64_t begin, std::uint64_t end) {
        for (std::uint64_t i = begin; i < end; ++i) {
            float y = 0, x = 0;
            Atan2Pair(i, y, x);
            CheckOne(tally, Atan2(y, x), std::atan2(static_cast<double>(y), static_cast<double>(x)), i, options,
                     [&] { return testing::Reference(mpfr_atan2, y, x); }, "atan2", y, x, true);
        }
    });
}

void CheckPow(const Options& options, Tally& tally)
{
    RunParallel("pow", options.pairs, tally, [&](std::uint64_t begin, std::uint64_t end) {
        for (std::uint64_t i = begin; i < end; ++i) {
            float x = 0, y = 0;
            PowPair(i, x, y);
            CheckOne(tally, Pow(x, y), std::pow(static_cast<double>(x), static_cast<double>(y)), i, options,
                     [&] { return testing::Reference(mpfr_pow, x, y); }, "pow", x, y, true);
        }
    });
}

void CheckPowSevenTenths(const Options& options, Tally& tally)
{
    constexpr float kExponent = 0.7f;
    constexpr std::uint64_t kFloatsUpToOne = 0x3f800000u + 1;  // +0 to 1 by bit pattern
    RunParallel("pow07", kFloatsUpToOne, tally, [&](std::uint64_t begin, std::uint64_t end) {
        for (std::uint64_t i = begin; i < end; ++i) {
            const float x = std::bit_cast<float>(static_cast<std::uint32_t>(i));
            CheckOne(tally, Pow(x, kExponent), std::pow(static_cast<double>(x), static_cast<double>(kExponent)), i,
                     options, [&] { return testing::Reference(mpfr_pow, x, kExponent); }, "pow", x, kExponent, true);
        }
    });
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    std::vector<std::string> chosen;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pairs") == 0 && i + 1 < argc) {
            options.pairs = std::strtoull(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--mpfr-all") == 0) {
            options.mpfr_all = true;
        } else {
            chosen.emplace_back(argv[i]);
        }
    }
    if (chosen.empty()) chosen = {"pow07", "atan2", "pow", "exp", "atan", "sin", "cos", "tan"};

    const Unary unary[] = {
        {"sin", Sin, LibrarySin, mpfr_sin},   {"cos", Cos, LibraryCos, mpfr_cos},
        {"tan", Tan, LibraryTan, mpfr_tan},   {"atan", Atan, LibraryAtan, mpfr_atan},
        {"exp", Exp, LibraryExp, mpfr_exp},
    };
    std::uint64_t all_mismatches = 0;
    std::vector<std::string> summary;
    for (const std::string& name : chosen) {
        Tally tally;
        const auto start = std::chrono::steady_clock::now();
        std::printf("%s:\n", name.c_str());
        std::fflush(stdout);
        bool known = false;
        for (const Unary& f : unary) {
            if (name == f.name) {
                CheckUnary(f, options, tally);
                known = true;
            }
        }
        if (name == "atan2") CheckAtan2(options, tally), known = true;
        if (name == "pow") CheckPow(options, tally), known = true;
        if (name == "pow07") CheckPowSevenTenths(options, tally), known = true;
        if (!known) {
            std::fprintf(stderr, "float_math_check: unknown check %s\n", name.c_str());
            return 2;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        char line[200];
        std::snprintf(line, sizeof line, "%-6s %12llu inputs, %10llu to MPFR, %llu mismatches, %.0f s", name.c_str(),
                      static_cast<unsigned long long>(tally.done.load()),
                      static_cast<unsigned long long>(tally.mpfr_calls.load()),
                      static_cast<unsigned long long>(tally.mismatches.load()), seconds);
        std::printf("%s\n", line);
        for (const std::string& m : tally.first) std::printf("  mismatch: %s\n", m.c_str());
        std::fflush(stdout);
        summary.emplace_back(line);
        all_mismatches += tally.mismatches.load();
    }
    std::printf("\nsummary:\n");
    for (const std::string& line : summary) std::printf("  %s\n", line.c_str());
    std::printf("%s\n", all_mismatches == 0 ? "all correctly rounded" : "MISMATCHES FOUND");
    return all_mismatches == 0 ? 0 : 1;
}
