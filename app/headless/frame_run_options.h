#pragma once
// The options every frame-producing command shares: where in the drive to start, how many
// frames, how far apart, and how many render workers.
#include <optional>

#include "app/headless/args.h"
#include "render/frame_pipeline.h"

namespace veldmark::tool {

inline constexpr OptionSpec kFrameRunOptions[] = {
    {"from", true}, {"count", true}, {"every", true}, {"workers", true}};

inline constexpr char kFrameRunHelp[] =
    "  --from STEP   the first frame is the one after STEP simulation steps (default 1)\n"
    "  --count N     frames to produce\n"
    "  --every K     simulation steps between frames (default 1: every frame the window shows)\n"
    "  --workers N   render worker threads, 1 to 8 (default 2, as the program runs)\n";

// Reads the shared options into a FrameRun; nullopt (with the error in `args`) on a bad value.
std::optional<FrameRun> ReadFrameRun(Args& args, std::uint64_t default_count);

} // namespace veldmark::tool
