#include "app/web/web_bench.h"

#include <algorithm>
#include <cstdio>

#include "app/pipeline/frame_ring.h"
#include "render/render_worker.h"
#include "render/span_fill.h"
#include "world/world_gen.h"

namespace veldmark::web {
namespace {

constexpr std::size_t kRateWindow = 60;   // as veldmark-render bench measures


double NowMs() { return Milliseconds(BenchClock::now().time_since_epoch()); }

// One frame's stages on this thread, through the same ring the pipeline uses: fill a packet,
// claim and paint it as a worker does, then the sky, ground and sun alone, then present it.
bool TimeOneFrame(WebBench& b)
{
    const std::uint64_t i = b.stages_timed;
    FillTimes fill;
    FillNextFrame(*b.stage_state, b.stage_counters, i == 0 ? 1 : b.every, &fill);
    FrameSlot* slot = ClaimSlot(*b.stage_state);
    if (!slot) return false;
    b.stages.steps.push_back(i == 0 ? 1 : 1 + i * b.every);
    const std::uint64_t length = slot->list_length;
    auto start = BenchClock::now();
    RenderSlot(*slot, *b.stage_scratch);
    b.stages.raster.push_back(Milliseconds(BenchClock::now() - start));
    slot->list_length = 0;
    start = BenchClock::now();
    RenderSlot(*slot, *b.stage_scratch);
    b.stages.background.push_back(Milliseconds(BenchClock::now() - start));
    slot->list_length = length;
    start = BenchClock::now();
    FillSpan(slot->pixels, kFramePixels, 0x123456u);   // the memory floor
    b.stages.plain_fill.push_back(Milliseconds(BenchClock::now() - start));
    slot->tail.state.store(static_cast<std::uint8_t>(SlotState::Done), std::memory_order_release);
    if (NextFinishedFrame(*b.stage_state, b.stage_counters) == slot)
        ReleasePresentedFrame(*b.stage_state, b.stage_counters);
    b.stages.simulation.push_back(Milliseconds(fill.simulated - fill.start));
    b.stages.scene.push_back(Milliseconds(fill.built - fill.simulated));
    b.stages.publish.push_back(Milliseconds(fill.published - fill.built));
    ++b.stages_timed;
    return true;
}

void AppendLine(std::string& out, const char* name, const std::vector<double>& v,
                const std::vector<std::uint64_t>& steps)
{
    const auto slowest = std::max_element(v.begin(), v.end());
    const std::uint64_t step = slowest == v.end() ? 0 : steps[static_cast<std::size_t>(slowest - v.begin())];
    char line[160];
    std::snprintf(line, sizeof line, "  %-24s median %7.3f ms   90%% %7.3f ms   max %7.3f ms (step %llu)\n", name,
                  Median(v), Percentile(v, 0.9), Percentile(v, 1.0), static_cast<unsigned long long>(step));
    out += line;
}

} // namespace

ArrivalTimes::ArrivalTimes(std::uint64_t expected) { arrivals.reserve(static_cast<std::size_t>(expected)); }

Delivery ArrivalTimes::Consume(const FrameSlot&, std::uint64_t)
{
    arrivals.push_back(BenchClock::now());
    return Delivery::Taken;
}

void StartWebBench(WebBench& bench, std::uint64_t count, std::uint64_t every, std::size_t workers)
{
    bench.count = count;
    bench.every = every == 0 ? 1 : every;
    bench.workers = workers;
    bench.phase = BenchPhase::Pipeline;
    bench.arrivals = std::make_unique<ArrivalTimes>(count);
    bench.pipeline_start = BenchClock::now();
}

bool WebBenchSlice(WebBench& bench, WebDrive& drive, double budget_ms)
{
    if (bench.phase == BenchPhase::Pipeline) {
        if (RunUnpaced(drive, *bench.arrivals, budget_ms, NowMs) == UnpacedEnd::MoreToDo) return false;
        bench.pipeline_end = BenchClock::now();
        bench.phase = BenchPhase::Stages;
        bench.stage_state = std::make_unique<SimState>();
        ApplyInitialValues(*bench.stage_state);
        WorldGen(*bench.stage_state);
        ResetFrameRing(*bench.stage_state);
        bench.stage_scratch = std::make_unique<StripScratch>();
        return false;
    }
    if (bench.phase == BenchPhase::Stages) {
        const std::uint64_t timed = (bench.count + bench.every - 1) / bench.every;
        const auto start = BenchClock::now();
        bool stuck = false;   // no packet to claim: cannot happen on a ring of our own, but never loop on it
        while (!stuck && bench.stages_timed < timed && Milliseconds(BenchClock::now() - start) < budget_ms)
            stuck = !TimeOneFrame(bench);
        if (!stuck && bench.stages_timed < timed) return false;
        bench.phase = BenchPhase::Done;
        bench.stage_state.reset();
    }
    return true;
}

std::string WebBenchReport(const WebBench& bench, const char* simd)
{
    std::string out;
    char line[256];
    const double total = Milliseconds(bench.pipeline_end - bench.pipeline_start);
    const std::vector<double> rates = WindowRates(bench.arrivals->arrivals, kRateWindow);
    if (bench.workers > 0)
        std::snprintf(line, sizeof line, "pipeline, %llu frames, %zu render workers, unpaced:\n",
                      static_cast<unsigned long long>(bench.count), bench.workers);
    else
        std::snprintf(line, sizeof line, "pipeline, %llu frames, painted on the page's own thread, unpaced:\n",
                      static_cast<unsigned long long>(bench.count));
    out += line;
    std::snprintf(line, sizeof line,
                  "  frames per second        %.1f overall; over runs of %zu frames: median %.1f, slowest %.1f\n",
                  total > 0.0 ? static_cast<double>(bench.arrivals->arrivals.size()) * 1000.0 / total : 0.0,
                  kRateWindow, Median(rates), rates.empty() ? 0.0 : *std::min_element(rates.begin(), rates.end()));
    out += line;
    std::snprintf(line, sizeof line, "stages of one frame, on one thread (vector path %s):\n", simd);
    out += line;
    const StageTimes& s = bench.stages;
    AppendLine(out, "simulation", s.simulation, s.steps);
    AppendLine(out, "scene building", s.scene, s.steps);
    std::vector<double> main_thread(s.simulation.size());
    for (std::size_t i = 0; i < main_thread.size(); ++i) main_thread[i] = s.simulation[i] + s.scene[i];
    AppendLine(out, "simulation + scene", main_thread, s.steps);
    AppendLine(out, "copy into the packet", s.publish, s.steps);
    AppendLine(out, "rasterising", s.raster, s.steps);
    AppendLine(out, "  sky, ground, sun alone", s.background, s.steps);
    AppendLine(out, "plain buffer fill", s.plain_fill, s.steps);
    const double floor = Median(s.plain_fill);
    if (floor > 0.0) {
        std::snprintf(line, sizeof line, "  rasterising / plain fill  %.2f (median frame), %.2f (90th percentile)\n",
                      Median(s.raster) / floor, Percentile(s.raster, 0.9) / floor);
        out += line;
    }
    return out;
}

} // namespace veldmark::web
