// The frame scaler's cost per frame at the window sizes hosts meet, through the reference and
// every path this machine has, on the same seeded frame. Run on one core:
//   taskset -c 0 build/app/shell/bench/scaler_bench --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

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

// -1 is the reference; other values are SimdLevel.
void BM_Scale(benchmark::State& state)
{
    const auto width = static_cast<int>(state.range(0));
    const auto height = static_cast<int>(state.range(1));
    const auto which = state.range(2);
    FrameScaler scaler;
    scaler.Resize(width, height);
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const auto level = static_cast<SimdLevel>(which < 0 ? 0 : which);
    if (which >= 0 && FrameScaler::AvailableLevel(level) != level) {
        state.SkipWithError("path not on this machine");
        return;
    }
    for (auto _ : state) {
        if (which < 0) scaler.ScaleReference(Frame().data(), out.data(), static_cast<std::size_t>(width));
        else scaler.ScaleWith(level, Frame().data(), out.data(), static_cast<std::size_t>(width));
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    static const char* const kNames[] = {"reference", "scalar", "vec4", "vec8"};
    state.SetLabel(kNames[which + 1]);
}

void Sizes(benchmark::internal::Benchmark* b)
{
    for (auto [w, h] : {std::pair{320, 200}, {960, 600}, {1280, 800}, {1920, 1080}, {1920, 1200}, {2560, 1600}})
        for (int which : {-1, 0, 1, 2}) b->Args({w, h, which});
    b->ArgNames({"w", "h", "path"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Scale)->Apply(Sizes);

} // namespace
} // namespace veldmark

BENCHMARK_MAIN();
