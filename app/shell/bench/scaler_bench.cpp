// The frame scaler's cost per frame at the window sizes hosts meet, on the same seeded frame:
// the reference, each SIMD level this machine has, and the earlier hand-written code beside
// them. Run on one core:
//   taskset -c 0 build/app/shell/bench/scaler_bench --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "app/shell/bench/previous/scaler_paths.h"
#include "app/shell/frame_scaler.h"

namespace veldmark {
namespace {

const std::vector<std::uint32_t>& Frame()
{
    static const std::vector<std::uint32_t> frame = [] {
        std::mt19937 random(1);
        std::vector<std::uint32_t> f(1920 * 1200);
        for (auto& p : f) p = static_cast<std::uint32_t>(random()) & 0xFFFFFF;
        return f;
    }();
    return frame;
}

// What a run measures.
enum Code : int { kReference = 0, kScalar, kVec4, kVec8, kPreviousSse2, kPreviousAvx2 };
const char* const kNames[] = {"reference", "scalar", "vec4", "vec8", "previous sse2", "previous avx2"};

void BM_Scale(benchmark::State& state)
{
    const auto width = static_cast<int>(state.range(0));
    const auto height = static_cast<int>(state.range(1));
    const auto code = static_cast<Code>(state.range(2));
    const auto pitch = static_cast<std::size_t>(width);
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    state.SetLabel(kNames[code]);

    if (code == kPreviousSse2 || code == kPreviousAvx2) {
#if defined(VELDMARK_SCALER_SSE2)
        if (code == kPreviousAvx2 && SupportedSimdLevel() < SimdLevel::Vec8) {
            state.SkipWithError("not on this machine");
            return;
        }
        previous::ScalerTaps x, y;
        previous::ScalerPlan plan;
        previous::BuildScalerTaps(x, 1920, width);
        previous::BuildScalerTaps(y, 1200, height);
        previous::BuildScalerPlan(plan, x, y, 1920, 1200, 1920);
        std::vector<std::int16_t> row(plan.row_pixels * 4, 0);
        const auto scale = code == kPreviousAvx2 ? previous::ScaleFrameAvx2 : previous::ScaleFrameSse2;
        for (auto _ : state) {
            scale(plan, Frame().data(), out.data(), pitch, row.data());
            benchmark::DoNotOptimize(out.data());
            benchmark::ClobberMemory();
        }
#else
        state.SkipWithError("no earlier code for this processor");
#endif
        return;
    }

    FrameScaler scaler;
    scaler.Resize(width, height);
    const auto level = static_cast<SimdLevel>(code - kScalar);
    if (code != kReference && FrameScaler::AvailableLevel(level) != level) {
        state.SkipWithError("not on this machine");
        return;
    }
    for (auto _ : state) {
        if (code == kReference) scaler.ScaleReference(Frame().data(), out.data(), pitch);
        else scaler.ScaleWith(level, Frame().data(), out.data(), pitch);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}

// The hosts' sizes (the root window, the 960 x 600 window, the preview, a large monitor), the
// earlier code right beside the current one at each.
void Sizes(benchmark::internal::Benchmark* b)
{
    for (auto [w, h] : {std::pair{1920, 1080}, {960, 600}, {152, 112}, {2560, 1440}})
        for (Code code : {kPreviousAvx2, kVec8, kPreviousSse2, kVec4, kScalar, kReference}) b->Args({w, h, code});
    b->ArgNames({"w", "h", "code"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Scale)->Apply(Sizes);

} // namespace
} // namespace veldmark

BENCHMARK_MAIN();
