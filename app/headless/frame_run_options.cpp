#include "app/headless/frame_run_options.h"

#include "render/render_worker.h"

#include <cstdio>
#include <vector>

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
    return FrameRun{.frames = {.first_step = *from, .every = *every, .count = *count},
                    .workers = static_cast<std::size_t>(*workers)};
}

std::optional<FrameCommandArgs> ReadFrameCommand(std::span<const char* const> argv,
                                                 const FrameCommand& command, int& exit_code)
{
    std::vector<OptionSpec> options(std::begin(kFrameRunOptions), std::end(kFrameRunOptions));
    options.push_back({"out", true});
    options.push_back({"help", false});
    Args args(argv, options);
    if (args.has("help")) {
        std::fputs(command.help, stdout);
        std::fputs(kFrameRunHelp, stdout);
        exit_code = 0;
        return std::nullopt;
    }
    const auto run = ReadFrameRun(args, command.default_count);
    if (!run) {
        std::fprintf(stderr, "veldmark-render %s: %s\n", command.name, args.error().c_str());
        exit_code = kExitUsage;
        return std::nullopt;
    }
    if (command.required_out && !args.has("out")) {
        std::fprintf(stderr, "veldmark-render %s: %s is required\n", command.name, command.required_out);
        exit_code = kExitUsage;
        return std::nullopt;
    }
    FrameCommandArgs result{*run, std::nullopt};
    if (const auto out = args.value("out")) result.out = std::string(*out);
    return result;
}

int ReportUnfinishedRun(const char* command, FrameRunEnd end)
{
    if (end == FrameRunEnd::NoWorkers) {
        std::fprintf(stderr, "veldmark-render %s: could not start the render threads\n", command);
        return kExitFailure;
    }
    std::fprintf(stderr, "veldmark-render %s: interrupted\n", command);
    return 130;
}

} // namespace veldmark::tool
