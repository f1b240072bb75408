#include "app/headless/frame_run_options.h"

#include "render/render_worker.h"

#include <cstdio>
#include <iterator>
#include <string>
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

std::optional<PictureSize> ParsePictureSize(std::string_view text)
{
    const std::size_t cross = text.find('x');
    if (cross == std::string_view::npos) return std::nullopt;
    const auto width = ParseWholeNumber(text.substr(0, cross));
    const auto height = ParseWholeNumber(text.substr(cross + 1));
    const auto in_range = [](std::optional<std::uint64_t> v) { return v && *v >= 1 && *v <= kMaxPictureSide; };
    if (!in_range(width) || !in_range(height)) return std::nullopt;
    return PictureSize{static_cast<int>(*width), static_cast<int>(*height)};
}

std::optional<PictureSize> ReadPictureSize(Args& args)
{
    PictureSize picture;
    if (const auto text = args.value("size")) {
        const auto parsed = ParsePictureSize(*text);
        if (!parsed) {
            args.Reject("--size takes WIDTHxHEIGHT, each from 1 to " + std::to_string(kMaxPictureSide) + ", not '" +
                        std::string(*text) + "'");
            return std::nullopt;
        }
        picture = *parsed;
    }
    if (const auto text = args.value("fit")) {
        const auto fit = ParsePictureFit(*text);
        if (!fit) {
            args.Reject(PictureFitError("--fit", *text));
            return std::nullopt;
        }
        if (picture.width == 0) {
            args.Reject("--fit goes with --size WxH");
            return std::nullopt;
        }
        picture.fit = *fit;
    }
    return picture;
}

std::optional<FrameCommandArgs> ReadFrameCommand(std::span<const char* const> argv,
                                                 const FrameCommand& command, int& exit_code)
{
    std::vector<OptionSpec> options(std::begin(kFrameRunOptions), std::end(kFrameRunOptions));
    options.push_back({"out", true});
    options.push_back({"help", false});
    if (command.takes_size) options.insert(options.end(), std::begin(kPictureOptions), std::end(kPictureOptions));
    Args args(argv, options);
    if (args.has("help")) {
        std::fputs(command.help, stdout);
        std::fputs(kFrameRunHelp, stdout);
        if (command.takes_size) std::fputs(kPictureHelp, stdout);
        exit_code = 0;
        return std::nullopt;
    }
    const auto run = ReadFrameRun(args, command.default_count);
    const auto picture = run && command.takes_size ? ReadPictureSize(args) : std::optional<PictureSize>();
    if (!run || (command.takes_size && !picture)) {
        std::fprintf(stderr, "veldmark-render %s: %s\n", command.name, args.error().c_str());
        exit_code = kExitUsage;
        return std::nullopt;
    }
    if (command.required_out && !args.has("out")) {
        std::fprintf(stderr, "veldmark-render %s: %s is required\n", command.name, command.required_out);
        exit_code = kExitUsage;
        return std::nullopt;
    }
    FrameCommandArgs result{*run, std::nullopt, picture.value_or(PictureSize{})};
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
