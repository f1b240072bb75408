// veldmark-render soak: many whole drives in one process, as a screensaver left running for a
// night renders them. Every drive must give the first drive's frames bit for bit, and resident
// memory must not grow from one drive to the next.
#include <cinttypes>
#include <cstdio>
#include <optional>
#include <vector>

#include "app/headless/commands.h"
#include "app/headless/drive_frame.h"
#include "app/headless/frame_run_options.h"
#include "app/headless/interrupt.h"
#include "app/headless/progress.h"
#include "app/headless/resident_memory.h"
#include "app/pipeline/frame_pipeline.h"
#include "render/frame_hash.h"
#include "render/render_worker.h"

namespace veldmark::tool {
namespace {

constexpr char kSoakHelp[] =
    "usage: veldmark-render soak [--drives N] [--workers N]\n\n"
    "Renders N whole drives one after the other in one run of the pipeline, the way the window\n"
    "shows them when left running, and compares the hash of every frame with the same frame of\n"
    "the first drive. After each drive it prints a line of a table: the drive, its frames, how\n"
    "many differ from the first drive's, and the resident memory (VmRSS) in kB, which should\n"
    "stay flat. Exit code 1 when any frame differs.\n\n"
    "  --drives N    whole drives, 1 to 1000 (default 10)\n"
    "  --workers N   render worker threads, 1 to 8 (default 2, as the program runs)\n";

// Keeps the first drive's hashes and counts, drive by drive, the frames that differ from them.
class SoakSink : public FrameConsumer {
public:
    SoakSink(std::uint64_t drive_frames, std::uint64_t drives)
        : drive_frames_(drive_frames), drives_(drives)
    {
        first_drive_.reserve(static_cast<std::size_t>(drive_frames));
        StartDrive();
    }

    Delivery Consume(const FrameSlot& frame, std::uint64_t) override
    {
        const std::uint64_t hash = HashPixels(frame.pixels, kFramePixels);
        if (drive_ == 1) first_drive_.push_back(hash);
        else if (first_drive_[static_cast<std::size_t>(frame_in_drive_)] != hash) ++differing_;
        progress_->Update(++frame_in_drive_);
        if (frame_in_drive_ == drive_frames_ && !EndDrive()) return Delivery::Last;
        return Delivery::Taken;
    }

    std::uint64_t drives_done() const { return drive_ - 1; }
    std::uint64_t total_differing() const { return total_differing_; }
    bool output_failed() const { return output_failed_; }

private:
    void StartDrive()
    {
        std::snprintf(progress_name_, sizeof progress_name_, "drive %" PRIu64, drive_);
        progress_.emplace(progress_name_, drive_frames_);
    }

    // Prints the drive's line of the table; false when standard output does not take it.
    bool EndDrive()
    {
        progress_->Finish(frame_in_drive_);
        const auto resident = ResidentKilobytes();
        if (drive_ == 1 && std::printf("drive  frames  differing  resident_kB\n") < 0) output_failed_ = true;
        if (std::printf("%5" PRIu64 "  %6" PRIu64 "  %9" PRIu64 "  %11" PRIu64 "\n", drive_, frame_in_drive_,
                        differing_, resident.value_or(0)) < 0 ||
            std::fflush(stdout) != 0)
            output_failed_ = true;
        total_differing_ += differing_;
        differing_ = 0;
        frame_in_drive_ = 0;
        if (++drive_ <= drives_) StartDrive();
        return !output_failed_;
    }

    const std::uint64_t drive_frames_;
    const std::uint64_t drives_;
    std::vector<std::uint64_t> first_drive_;
    std::uint64_t drive_ = 1;
    std::uint64_t frame_in_drive_ = 0;
    std::uint64_t differing_ = 0;
    std::uint64_t total_differing_ = 0;
    bool output_failed_ = false;
    char progress_name_[32] = {};
    std::optional<Progress> progress_;
};

} // namespace

int RunSoak(std::span<const char* const> argv)
{
    const OptionSpec options[] = {{"drives", true}, {"workers", true}, {"help", false}};
    Args args(argv, options);
    if (args.has("help")) {
        std::fputs(kSoakHelp, stdout);
        return 0;
    }
    const auto drives = args.number("drives", 10, 1, 1000);
    const auto workers = args.number("workers", kRenderWorkerCount, 1, kMaxRenderWorkers);
    if (!args.ok()) {
        std::fprintf(stderr, "veldmark-render soak: %s\n", args.error().c_str());
        return kExitUsage;
    }
    const std::uint64_t drive_frames = DriveLengthInSteps();
    const std::atomic<bool>& interrupt = InstallInterruptHandler();
    SoakSink sink(drive_frames, *drives);
    const FrameRunEnd end = veldmark::RunFrames(
        g_state, FrameRun{.frames = {.count = drive_frames * *drives}, .workers = static_cast<std::size_t>(*workers)}, sink, &interrupt);
    if (sink.output_failed()) {
        std::fputs("veldmark-render soak: cannot write the table to standard output\n", stderr);
        return kExitFailure;
    }
    if (end != FrameRunEnd::Finished) return ReportUnfinishedRun("soak", end);
    if (sink.total_differing() != 0) {
        std::fprintf(stderr, "veldmark-render soak: %" PRIu64 " frames differ from the first drive's\n",
                     sink.total_differing());
        return kExitFailure;
    }
    return 0;
}

} // namespace veldmark::tool
