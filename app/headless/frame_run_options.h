#pragma once
// The options every frame-producing command shares: where in the drive to start, how many
// frames, how far apart, and how many render workers.
#include <optional>
#include <span>
#include <string>

#include "app/headless/args.h"
#include "app/pipeline/frame_pipeline.h"

namespace veldmark::tool {

inline constexpr OptionSpec kFrameRunOptions[] = {
    {"from", true}, {"count", true}, {"every", true}, {"workers", true}};

inline constexpr char kFrameRunHelp[] =
    "  --from STEP   the first frame is the one after STEP simulation steps (default 1)\n"
    "  --every K     simulation steps between frames (default 1: every frame the window shows)\n"
    "  --workers N   render worker threads, 1 to 8 (default 2, as the program runs)\n";

// Reads the shared options into a FrameRun; nullopt (with the error in `args`) on a bad value.
std::optional<FrameRun> ReadFrameRun(Args& args, std::uint64_t default_count);

// A frame-producing command: its name, its own help text, its default frame count, and what
// --out means for it (nullptr when --out is optional).
struct FrameCommand {
    const char* name;
    const char* help;
    std::uint64_t default_count;
    const char* required_out;   // e.g. "--out DIR"
};

struct FrameCommandArgs {
    FrameRun run;
    std::optional<std::string> out;
};

// Reads a frame command's arguments (the shared options, --out and --help). Returns nullopt
// when the command is already done: `exit_code` is then 0 after --help, kExitUsage after a
// one-line error.
std::optional<FrameCommandArgs> ReadFrameCommand(std::span<const char* const> argv,
                                                 const FrameCommand& command, int& exit_code);

// The one-line message and exit code for a run that did not finish (interrupted, no threads).
int ReportUnfinishedRun(const char* command, FrameRunEnd end);

} // namespace veldmark::tool
