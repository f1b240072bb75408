// Rasterising the frames of a real drive: each frame is built by the core (untimed), then painted
// whole (background, sun, display list) by RenderSlot on each vector path the machine has, and
// the buffer is filled once plainly as the memory floor. The variants take turns on every frame,
// so a busy machine slows them alike. Prints each variant's median and 90th percentile and their
// ratio to the plain fill.
//   drive_bench [--count N] [--every K] [--only unbanded|sse2|avx2]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "render/background.h"
#include "render/frame_ring.h"
#include "render/rasteriser.h"
#include "render/render_worker.h"
#include "render/span_fill.h"
#include "sim/simulation_step.h"
#include "world/world_gen.h"

namespace veldmark {
namespace {

// The thread's own processor time where there is one: the machine may be shared, and time spent
// waiting for a core is not the renderer's.
double NowMilliseconds()
{
#if defined(CLOCK_THREAD_CPUTIME_ID)
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
#else
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
#endif
}

double Percentile(std::vector<double> v, double p)
{
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

struct Variant {
    std::string name;
    SimdLevel level;
    bool banded;
    std::vector<double> times;
};

// The frame painted in whole-frame passes: background, sun, then one command after another.
void RenderUnbanded(FrameSlot& slot, GlowTable& glow)
{
    const RasterTarget target{slot.pixels, kFrameWidth, kFrameHeight};
    const ViewTransform view = MakeViewTransform(slot.tail.roll);
    PaintBackground(target, view, slot.tail.zenith_colour, slot.tail.horizon_colour);
    if (slot.tail.sun_visible & 1) DrawSun(target, view, Vec2{slot.tail.sun_x, slot.tail.sun_y}, slot.tail.sun_scale, glow);
    RasteriseDisplayList(target, view, slot.display_list, slot.list_length);
}

} // namespace
} // namespace veldmark

int main(int argc, char** argv)
{
    using namespace veldmark;
    std::uint64_t count = 7027, every = 1;
    const char* only = nullptr;
    for (int k = 1; k + 1 < argc; k += 2) {
        if (std::strcmp(argv[k], "--only") == 0) only = argv[k + 1];
        else if (std::strcmp(argv[k], "--count") == 0) count = std::strtoull(argv[k + 1], nullptr, 10);
        else if (std::strcmp(argv[k], "--every") == 0) every = std::max<std::uint64_t>(1, std::strtoull(argv[k + 1], nullptr, 10));
    }
    auto state = std::make_unique<SimState>();
    ApplyInitialValues(*state);
    WorldGen(*state);
    auto scratch = std::make_unique<BandScratch>();

    std::vector<Variant> variants;
    variants.push_back({"unbanded", SimdLevel::Sse2, false, {}});
    variants.push_back({"sse2", SimdLevel::Sse2, true, {}});
    if (SupportedSimdLevel() >= SimdLevel::Avx2) variants.push_back({"avx2", SimdLevel::Avx2, true, {}});
    if (only)
        variants.erase(std::remove_if(variants.begin(), variants.end(), [only](const Variant& v) { return v.name != only; }),
                       variants.end());
    std::vector<double> plain;
    FrameCounters counters;
    for (std::uint64_t frame = 0; frame < count; ++frame) {
        FrameSlot& slot = SlotOf(*state, counters.filled);
        slot.tail.state.store(static_cast<std::uint8_t>(SlotState::Free));
        if (!FillNextFrame(*state, counters, every)) return 1;
        for (std::size_t v = 0; v < variants.size(); ++v) {
            Variant& variant = variants[(v + frame) % variants.size()];
            SetActiveSimdLevel(variant.level);
            const double t0 = NowMilliseconds();
            if (variant.banded) RenderSlot(slot, *scratch);
            else RenderUnbanded(slot, scratch->glow);
            variant.times.push_back(NowMilliseconds() - t0);
        }
        const double t0 = NowMilliseconds();
        FillSpan(slot.pixels, kFramePixels, 0x123456u);
        plain.push_back(NowMilliseconds() - t0);
        if (AtRouteEnd(*state)) break;
    }
    const double floor = Percentile(plain, 0.5);
    std::printf("%zu frames; plain fill median %.3f ms, 90%% %.3f ms\n", plain.size(), floor, Percentile(plain, 0.9));
    for (const Variant& v : variants)
        std::printf("  %-14s median %.3f ms (%.2f x plain fill)   90%% %.3f ms (%.2f x)\n", v.name.c_str(),
                    Percentile(v.times, 0.5), Percentile(v.times, 0.5) / floor, Percentile(v.times, 0.9),
                    Percentile(v.times, 0.9) / floor);
    return 0;
}
