// veldmark-render bench: how fast the whole pipeline runs, unpaced, and where the time goes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/headless/commands.h"
#include "app/headless/drive_frame.h"
#include "app/headless/frame_run_options.h"
#include "app/headless/interrupt.h"
#include "app/headless/progress.h"
#include "app/pipeline/bench_figures.h"
#include "app/pipeline/frame_pipeline.h"
#include "render/render_worker.h"
#include "render/simd/simd_level.h"
#include "render/span_fill.h"
#include "sim/simulation_step.h"
#include "world/world_gen.h"

namespace veldmark::tool {
namespace {

using Clock = BenchClock;

constexpr char kBenchHelp[] =
    "usage: veldmark-render bench [--count N] [--workers N] [--every K] [--repeat R]\n\n"
    "Runs the drive through the whole pipeline as fast as it goes (no 16 ms pacing) and reports\n"
    "frames per second, then times each stage of a frame on one thread: simulation, scene\n"
    "building, copy into the frame packet, rasterising (and the sky, ground and sun alone), and\n"
    "compares rasterising with one plain fill of the 1920 x 1200 buffer (the memory floor).\n"
    "VELDMARK_SIMD=sse2 (or avx2) measures a narrower vector path than the machine's best.\n\n"
    "  --count N     frames (default: one whole drive)\n"
    "  --workers N   render worker threads for the pipeline run, 1 to 8 (default 2)\n"
    "  --every K     time the stages of every K-th frame only (default 1)\n"
    "  --repeat R    time each stage of a frame R times and keep the quickest (default 1): on a\n"
    "                machine other work shares, the quickest is the least disturbed\n";

// Records when each frame arrives, for WindowRates.
class ArrivalSink : public FrameConsumer {
public:
    ArrivalSink(Progress& progress, std::size_t expected) : progress_(progress)
    {
        arrivals.reserve(expected);
    }
    Delivery Consume(const FrameSlot&, std::uint64_t) override
    {
        arrivals.push_back(Clock::now());
        progress_.Update(arrivals.size());
        return Delivery::Taken;
    }
    std::vector<Clock::time_point> arrivals;

private:
    Progress& progress_;
};

constexpr std::size_t kRateWindow = 60;

// Times each stage of every frame on this thread, on a record of its own, through the same
// ring the pipeline uses: fill a packet, claim and paint it as a worker does, present it.
// The quickest of `repeat` runs of `stage`, in milliseconds.
template <typename Stage>
double Quickest(int repeat, Stage&& stage)
{
    double best = 0.0;
    for (int k = 0; k < repeat; ++k) {
        const auto start = Clock::now();
        stage();
        const double ms = Milliseconds(Clock::now() - start);
        if (k == 0 || ms < best) best = ms;
    }
    return best;
}

bool TimeStages(std::uint64_t count, std::uint64_t every, int repeat, StageTimes& t,
                const std::atomic<bool>& interrupt)
{
    auto state = std::make_unique<SimState>();
    ApplyInitialValues(*state);
    WorldGen(*state);
    ResetFrameRing(*state);
    FrameCounters counters;
    const auto scratch = std::make_unique<StripScratch>();   // a worker's own, as the pipeline has
    const std::uint64_t timed = (count + every - 1) / every;
    Progress progress("stages", timed);
    for (std::uint64_t i = 0; i < timed; ++i) {
        if (interrupt.load()) return false;
        FillTimes fill;
        FillNextFrame(*state, counters, i == 0 ? 1 : every, &fill);
        FrameSlot* slot = ClaimSlot(*state);
        if (!slot) return false;
        t.steps.push_back(i == 0 ? 1 : 1 + i * every);
        const std::uint64_t length = slot->list_length;
        t.raster.push_back(Quickest(repeat, [&] { RenderSlot(*slot, *scratch); }));
        // The same packet again without its list: what the sky, ground and sun cost alone.
        slot->list_length = 0;
        t.background.push_back(Quickest(repeat, [&] { RenderSlot(*slot, *scratch); }));
        slot->list_length = length;
        t.plain_fill.push_back(Quickest(repeat, [&] { FillSpan(slot->pixels, kFramePixels, 0x123456u); }));
        slot->tail.state.store(static_cast<std::uint8_t>(SlotState::Done), std::memory_order_release);
        if (NextFinishedFrame(*state, counters) == slot) ReleasePresentedFrame(*state, counters);
        t.simulation.push_back(Milliseconds(fill.simulated - fill.start));
        t.scene.push_back(Milliseconds(fill.built - fill.simulated));
        t.publish.push_back(Milliseconds(fill.published - fill.built));
        progress.Update(i + 1);
    }
    progress.Finish(timed);
    return true;
}

void Report(const char* name, const std::vector<double>& v, const std::vector<std::uint64_t>& steps)
{
    const auto slowest = std::max_element(v.begin(), v.end());
    const std::uint64_t step = slowest == v.end() ? 0 : steps[static_cast<std::size_t>(slowest - v.begin())];
    std::printf("  %-24s median %7.3f ms   90%% %7.3f ms   max %7.3f ms (step %llu)\n", name, Median(v),
                Percentile(v, 0.9), Percentile(v, 1.0), static_cast<unsigned long long>(step));
}

} // namespace

int RunBench(std::span<const char* const> argv)
{
    const OptionSpec options[] = {{"count", true}, {"workers", true}, {"every", true}, {"repeat", true}, {"help", false}};
    Args args(argv, options);
    if (args.has("help")) {
        std::fputs(kBenchHelp, stdout);
        return 0;
    }
    const auto count_given = args.number("count", 0, 2, 10'000'000);
    const auto workers = args.number("workers", kRenderWorkerCount, 1, kMaxRenderWorkers);
    const auto every = args.number("every", 1, 1, 1'000'000);
    const auto repeat = args.number("repeat", 1, 1, 1000);
    if (!args.ok()) {
        std::fprintf(stderr, "veldmark-render bench: %s\n", args.error().c_str());
        return kExitUsage;
    }
    const std::uint64_t count = *count_given ? *count_given : DriveLengthInSteps();
    const std::atomic<bool>& interrupt = InstallInterruptHandler();

    Progress progress("pipeline", count);
    ArrivalSink sink(progress, static_cast<std::size_t>(count));
    const auto start = Clock::now();
    const FrameRunEnd end = veldmark::RunFrames(
        g_state, FrameRun{.frames = {.count = count}, .workers = static_cast<std::size_t>(*workers)}, sink, &interrupt);
    const double total = Milliseconds(Clock::now() - start);
    progress.Finish(sink.arrivals.size());
    if (end != FrameRunEnd::Finished) {
        std::fprintf(stderr, "veldmark-render bench: %s\n",
                     end == FrameRunEnd::Interrupted ? "interrupted" : "could not start the render threads");
        return end == FrameRunEnd::Interrupted ? 130 : kExitFailure;
    }
    StageTimes stages;
    if (!TimeStages(count, *every, static_cast<int>(*repeat), stages, interrupt)) {
        std::fprintf(stderr, "veldmark-render bench: interrupted\n");
        return 130;
    }

    const std::vector<double> rates = WindowRates(sink.arrivals, kRateWindow);
    std::printf("pipeline, %llu frames, %zu render workers, unpaced:\n",
                static_cast<unsigned long long>(count), static_cast<std::size_t>(*workers));
    std::printf("  frames per second        %.1f overall; over runs of %zu frames: median %.1f, "
                "slowest %.1f\n",
                static_cast<double>(count) * 1000.0 / total, kRateWindow, Median(rates),
                rates.empty() ? 0.0 : *std::min_element(rates.begin(), rates.end()));
    std::printf("stages of one frame, on one thread (vector path %s%s):\n", SimdLevelName(ActiveSimdLevel()),
                *repeat > 1 ? ", the quickest of each frame's runs" : "");
    Report("simulation", stages.simulation, stages.steps);
    Report("scene building", stages.scene, stages.steps);
    std::vector<double> main_thread(stages.simulation.size());
    for (std::size_t i = 0; i < main_thread.size(); ++i)
        main_thread[i] = stages.simulation[i] + stages.scene[i];
    Report("simulation + scene", main_thread, stages.steps);
    Report("copy into the packet", stages.publish, stages.steps);
    Report("rasterising", stages.raster, stages.steps);
    Report("  sky, ground, sun alone", stages.background, stages.steps);
    Report("plain buffer fill", stages.plain_fill, stages.steps);
    const double floor = Median(stages.plain_fill);
    if (floor > 0.0)
        std::printf("  rasterising / plain fill  %.2f (median frame), %.2f (90th percentile)\n",
                    Median(stages.raster) / floor, Percentile(stages.raster, 0.9) / floor);
    return 0;
}

} // namespace veldmark::tool
