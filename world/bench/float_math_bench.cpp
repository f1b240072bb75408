// Cost per call of the correctly rounded float functions and of the C library's, on the same
// seeded inputs: arguments like the simulation's and the scene's (angles of a few turns,
// moderate exponents, pow(x, 0.7) on [0, 1]) and, for the trigonometric functions, huge ones.
// Each benchmark evaluates a block of inputs; the time shown is per call.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

#include "world/float_math.h"

namespace veldmark {
namespace {

constexpr std::size_t kBlock = 4096;

std::vector<float> Uniform(unsigned seed, float low, float high)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> d(low, high);
    std::vector<float> v(kBlock);
    for (float& x : v) x = d(rng);
    return v;
}

const std::vector<float>& Angles() { static const auto v = Uniform(1, -20.0f, 20.0f); return v; }
// Up to the largest floats (the distribution's width must itself stay finite).
const std::vector<float>& HugeAngles()
{
    static const auto v = [] {
        std::vector<float> h = Uniform(2, -1.5e38f, 1.5e38f);
        for (float& x : h) x *= 2.0f;
        return h;
    }();
    return v;
}
const std::vector<float>& Slopes() { static const auto v = Uniform(3, -50.0f, 50.0f); return v; }
const std::vector<float>& Exponents() { static const auto v = Uniform(4, -20.0f, 20.0f); return v; }
const std::vector<float>& UnitBases() { static const auto v = Uniform(5, 0.0f, 1.0f); return v; }
const std::vector<float>& Bases() { static const auto v = Uniform(6, 0.0f, 10.0f); return v; }
const std::vector<float>& Powers() { static const auto v = Uniform(7, -10.0f, 10.0f); return v; }

// The function comes as a pointer, so ours and the library's pay the same indirect call.
void Unary(benchmark::State& state, float (*f)(float), const std::vector<float>& (*inputs)())
{
    const std::vector<float>& x = inputs();
    for (auto _ : state) {
        for (float v : x) benchmark::DoNotOptimize(f(v));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kBlock));
}

void Binary(benchmark::State& state, float (*f)(float, float), const std::vector<float>& (*first)(),
            const std::vector<float>& (*second)())
{
    const std::vector<float>& a = first();
    const std::vector<float>& b = second();
    for (auto _ : state) {
        for (std::size_t i = 0; i < kBlock; ++i) benchmark::DoNotOptimize(f(a[i], b[i]));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kBlock));
}

void PowSevenTenths(benchmark::State& state, float (*f)(float, float))
{
    const std::vector<float>& a = UnitBases();
    for (auto _ : state) {
        for (float v : a) benchmark::DoNotOptimize(f(v, 0.7f));
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kBlock));
}

float LibSin(float x) { return sinf(x); }
float LibCos(float x) { return cosf(x); }
float LibTan(float x) { return tanf(x); }
float LibAtan(float x) { return atanf(x); }
float LibExp(float x) { return expf(x); }
float LibAtan2(float y, float x) { return atan2f(y, x); }
float LibPow(float x, float y) { return powf(x, y); }

BENCHMARK_CAPTURE(Unary, sin_ours, Sin, Angles);
BENCHMARK_CAPTURE(Unary, sin_libc, LibSin, Angles);
BENCHMARK_CAPTURE(Unary, cos_ours, Cos, Angles);
BENCHMARK_CAPTURE(Unary, cos_libc, LibCos, Angles);
BENCHMARK_CAPTURE(Unary, tan_ours, Tan, Angles);
BENCHMARK_CAPTURE(Unary, tan_libc, LibTan, Angles);
BENCHMARK_CAPTURE(Unary, sin_huge_ours, Sin, HugeAngles);
BENCHMARK_CAPTURE(Unary, sin_huge_libc, LibSin, HugeAngles);
BENCHMARK_CAPTURE(Unary, atan_ours, Atan, Slopes);
BENCHMARK_CAPTURE(Unary, atan_libc, LibAtan, Slopes);
BENCHMARK_CAPTURE(Binary, atan2_ours, Atan2, Slopes, Powers);
BENCHMARK_CAPTURE(Binary, atan2_libc, LibAtan2, Slopes, Powers);
BENCHMARK_CAPTURE(Unary, exp_ours, Exp, Exponents);
BENCHMARK_CAPTURE(Unary, exp_libc, LibExp, Exponents);
BENCHMARK_CAPTURE(Binary, pow_ours, Pow, Bases, Powers);
BENCHMARK_CAPTURE(Binary, pow_libc, LibPow, Bases, Powers);
BENCHMARK_CAPTURE(PowSevenTenths, pow_07_ours, Pow);
BENCHMARK_CAPTURE(PowSevenTenths, pow_07_libc, LibPow);

} // namespace
} // namespace veldmark

BENCHMARK_MAIN();
