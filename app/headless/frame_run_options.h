#pragma once
// The options every frame-producing command shares: where in the drive to start, how many
// frames, how far apart, and how many render workers; and, for the commands that write
// pictures, the screen size to present them at.
#include <optional>
#include <span>
#include <string>

#include "app/headless/args.h"
#include "app/pipeline/frame_pipeline.h"
#include "app/shell/picture_fit.h"

namespace veldmark::tool {

inline constexpr OptionSpec kFrameRunOptions[] = {
    {"from", true}, {"count", true}, {"every", true}, {"workers", true}};

inline constexpr char kFrameRunHelp[] =
    "  --from STEP   the first frame is the one after STEP simulation steps (default 1)\n"
    "  --every K     simulation steps between frames (default 1: every frame the window shows)\n"
    "  --workers N   render worker threads, 1 to 8 (default 2, as the program runs)\n";

// Reads the shared options into a FrameRun; nullopt (with the error in `args`) on a bad value.
std::optional<FrameRun> ReadFrameRun(Args& args, std::uint64_t default_count);

// --size WxH [--fit MODE]: the picture a host shows on a screen of that size, instead of the
// frame itself.
inline constexpr OptionSpec kPictureOptions[] = {{"size", true}, {"fit", true}};

inline constexpr char kPictureHelp[] =
    "  --size WxH    write the picture as a screen of W x H pixels shows it (1 to 8192 each)\n"
    "                instead of the 1920 x 1200 frame\n"
    "  --fit MODE    with --size, how the picture fits that screen: fill (the default: covers it,\n"
    "                the excess cut off evenly), fit (whole, on black bars) or stretch\n";

inline constexpr int kMaxPictureSide = 8192;

struct PictureSize {
    int width = 0;    // 0: the frame itself, as it is
    int height = 0;
    PictureFit fit = PictureFit::Fill;
};

// "WxH" with both in 1..kMaxPictureSide; nullopt for anything else.
std::optional<PictureSize> ParsePictureSize(std::string_view text);

// Reads --size and --fit; nullopt (with the error in `args`) on a bad value, or --fit alone.
std::optional<PictureSize> ReadPictureSize(Args& args);

// A frame-producing command: its name, its own help text, its default frame count, and what
// --out means for it (nullptr when --out is optional).
struct FrameCommand {
    const char* name;
    const char* help;
    std::uint64_t default_count;
    const char* required_out;   // e.g. "--out DIR"
    bool takes_size = false;    // --size and --fit: the command writes pictures
};

struct FrameCommandArgs {
    FrameRun run;
    std::optional<std::string> out;
    PictureSize picture;
};

// Reads a frame command's arguments (the shared options, --out, --help, and --size and --fit
// where the command takes them). Returns nullopt
// when the command is already done: `exit_code` is then 0 after --help, kExitUsage after a
// one-line error.
std::optional<FrameCommandArgs> ReadFrameCommand(std::span<const char* const> argv,
                                                 const FrameCommand& command, int& exit_code);

// The one-line message and exit code for a run that did not finish (interrupted, no threads).
int ReportUnfinishedRun(const char* command, FrameRunEnd end);

} // namespace veldmark::tool
