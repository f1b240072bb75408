#pragma once
// The bench mode: the pipeline unpaced through the page's render workers (or its own thread),
// then each stage of a frame timed on one thread, reported in the lines `veldmark-render bench`
// prints. It runs in slices so that the page stays alive between them.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/pipeline/bench_figures.h"
#include "app/pipeline/frame_pipeline.h"
#include "app/web/web_drive.h"
#include "render/strip_frame.h"
#include "world/sim_state.h"

namespace veldmark::web {

// When each frame of the pipeline run arrived.
class ArrivalTimes final : public FrameConsumer {
public:
    explicit ArrivalTimes(std::uint64_t expected);
    Delivery Consume(const FrameSlot&, std::uint64_t) override;
    std::vector<BenchClock::time_point> arrivals;
};

enum class BenchPhase { Pipeline, Stages, Done };

struct WebBench {
    std::uint64_t count = 0;    // frames of the pipeline run
    std::uint64_t every = 1;    // time the stages of every `every`-th of them
    std::size_t workers = 0;    // 0: painted on the page's own thread
    BenchPhase phase = BenchPhase::Pipeline;
    BenchClock::time_point pipeline_start;
    BenchClock::time_point pipeline_end;
    std::unique_ptr<ArrivalTimes> arrivals;
    // The stage timing's own record, ring counters and scratch, as veldmark-render bench has.
    std::unique_ptr<SimState> stage_state;
    std::unique_ptr<StripScratch> stage_scratch;
    FrameCounters stage_counters;
    std::uint64_t stages_timed = 0;
    StageTimes stages;
};

// Prepares a bench of the drive's `count` frames on `drive` (already started with that count).
void StartWebBench(WebBench& bench, std::uint64_t count, std::uint64_t every, std::size_t workers);

// Runs the bench for about `budget_ms` more. Returns true once everything is measured.
bool WebBenchSlice(WebBench& bench, WebDrive& drive, double budget_ms);

// The report, in the lines `veldmark-render bench` prints; `simd` names the vector path.
std::string WebBenchReport(const WebBench& bench, const char* simd);

} // namespace veldmark::web
