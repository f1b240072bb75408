// veldmark-render frames: a stretch of the drive as PNG files, one per frame, named by step.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/headless/commands.h"
#include "app/headless/frame_run_options.h"
#include "app/headless/interrupt.h"
#include "app/headless/png_writer.h"
#include "app/headless/presented_picture.h"
#include "app/headless/progress.h"

namespace veldmark::tool {
namespace {

constexpr char kFramesHelp[] =
    "usage: veldmark-render frames [--from STEP] [--count N] [--every K] [--workers N] [--size WxH] [--fit MODE] --out DIR\n\n"
    "Renders frames of the drive exactly as the window shows them and writes each as\n"
    "DIR/frame-STEP.png (1920 x 1200, or the --size). DIR is created when missing. Each file\n"
    "appears only once it is complete; Ctrl-C stops after the frame in hand.\n\n"
    "  --out DIR     where the files go (required)\n"
    "  --count N     frames to write (default 60)\n";

class PngSink : public FrameConsumer {
public:
    PngSink(std::filesystem::path dir, const PictureSize& size, Progress& progress)
        : dir_(std::move(dir)), progress_(progress), picture_(size) {}

    Delivery Consume(const FrameSlot& frame, std::uint64_t step) override
    {
        char name[48];
        std::snprintf(name, sizeof name, "frame-%06llu.png", static_cast<unsigned long long>(step));
        if (!WritePngFile((dir_ / name).string(), picture_.Of(frame), picture_.width(), picture_.height(), error_))
            return Delivery::Last;
        progress_.Update(++written_);
        return Delivery::Taken;
    }

    std::uint64_t written() const { return written_; }
    const std::string& error() const { return error_; }

private:
    std::filesystem::path dir_;
    Progress& progress_;
    PresentedPicture picture_;
    std::uint64_t written_ = 0;
    std::string error_;
};

} // namespace

int RunFramesCommand(std::span<const char* const> argv)
{
    int exit_code = 0;
    const auto args = ReadFrameCommand(argv, FrameCommand{"frames", kFramesHelp, 60, "--out DIR", true}, exit_code);
    if (!args) return exit_code;
    const std::filesystem::path dir(*args->out);
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec || !std::filesystem::is_directory(dir)) {
        std::fprintf(stderr, "veldmark-render frames: cannot use '%s' as the output directory: %s\n",
                     dir.c_str(), ec ? ec.message().c_str() : "not a directory");
        return kExitFailure;
    }

    const std::atomic<bool>& interrupt = InstallInterruptHandler();
    Progress progress("frames", args->run.frames.count);
    PngSink sink(dir, args->picture, progress);
    const FrameRunEnd end = veldmark::RunFrames(g_state, args->run, sink, &interrupt);
    progress.Finish(sink.written());
    if (end == FrameRunEnd::Finished) return 0;
    if (end == FrameRunEnd::StoppedByConsumer) {
        std::fprintf(stderr, "veldmark-render frames: %s\n", sink.error().c_str());
        return kExitFailure;
    }
    if (end == FrameRunEnd::Interrupted)
        std::fprintf(stderr, "veldmark-render frames: %llu whole frames were written\n",
                     static_cast<unsigned long long>(sink.written()));
    return ReportUnfinishedRun("frames", end);
}

} // namespace veldmark::tool
