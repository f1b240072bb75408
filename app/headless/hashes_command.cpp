// veldmark-render hashes: one 64-bit hash per frame, to compare runs, builds and worker counts.
#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "app/headless/commands.h"
#include "app/headless/frame_run_options.h"
#include "app/headless/interrupt.h"
#include "app/headless/output_file.h"
#include "app/headless/progress.h"
#include "render/frame_hash.h"

namespace veldmark::tool {
namespace {

constexpr char kHashesHelp[] =
    "usage: veldmark-render hashes [--from STEP] [--count N] [--every K] [--workers N] [--out FILE]\n\n"
    "Renders frames of the drive and prints one line per frame, 'step,hash', with a 64-bit\n"
    "FNV-1a hash of the frame's pixels. Two runs of the same build give the same lines, whatever\n"
    "the worker count.\n\n"
    "  --out FILE    write to FILE (whole or not at all); default standard output\n"
    "  --count N     frames (default 100)\n";

class HashSink : public FrameConsumer {
public:
    HashSink(OutputFile& out, Progress& progress) : out_(out), progress_(progress) {}
    Delivery Consume(const FrameSlot& frame, std::uint64_t step) override
    {
        // Once a line cannot be written there is no point in rendering the rest.
        if (!out_.Print("%" PRIu64 ",%016" PRIx64 "\n", step, HashPixels(frame.pixels, kFramePixels)))
            return Delivery::Last;
        progress_.Update(++done_);
        return Delivery::Taken;
    }
    std::uint64_t done() const { return done_; }

private:
    OutputFile& out_;
    Progress& progress_;
    std::uint64_t done_ = 0;
};

} // namespace

int RunHashes(std::span<const char* const> argv)
{
    int exit_code = 0;
    const auto args = ReadFrameCommand(argv, FrameCommand{"hashes", kHashesHelp, 100, nullptr}, exit_code);
    if (!args) return exit_code;
    OutputFile output(args->out.value_or("-"));
    if (!output.open()) {
        std::fprintf(stderr, "veldmark-render hashes: %s\n", output.error().c_str());
        return kExitFailure;
    }
    const std::atomic<bool>& interrupt = InstallInterruptHandler();
    Progress progress("hashes", args->run.frames.count);
    HashSink sink(output, progress);
    const FrameRunEnd end = veldmark::RunFrames(g_state, args->run, sink, &interrupt);
    progress.Finish(sink.done());
    if (end != FrameRunEnd::Finished && end != FrameRunEnd::StoppedByConsumer)
        return ReportUnfinishedRun("hashes", end);
    if (!output.commit()) {
        std::fprintf(stderr, "veldmark-render hashes: %s\n", output.error().c_str());
        return kExitFailure;
    }
    return 0;
}

} // namespace veldmark::tool
