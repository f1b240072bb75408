#include "app/headless/frame_run_options.h"

#include "render/render_worker.h"

namespace veldmark::tool {

namespace {
constexpr std::uint64_t kMaxSteps = 1'000'000'000;
constexpr std::uint64_t kMaxFrames = 10'000'000;
} // namespace

std::optional<FrameRun> ReadFrameRun(Args& args, std::uint64_t default_count)
{
    const auto from = args.number("from", 1, 1, kMaxSteps);
    const auto count = args.number("count", default_count, 1, kMaxFrames);
    const auto every = args.number("every", 1, 1, kMaxSteps);
    const auto workers = args.number("workers", kRenderWorkerCount, 1, kMaxRenderWorkers);
    if (!args.ok()) return std::nullopt;
    return FrameRun{*from, *count, *every, static_cast<std::size_t>(*workers)};
}

} // namespace veldmark::tool
