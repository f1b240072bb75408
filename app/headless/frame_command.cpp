// veldmark-render frame: the picture the window shows after N steps of the drive, as PNG: the
// frame itself, or as a screen of a given size shows it.
#include <cstdio>
#include <string>

#include "app/headless/args.h"
#include "app/headless/commands.h"
#include "app/headless/drive_frame.h"
#include "app/headless/frame_run_options.h"
#include "app/headless/png_writer.h"
#include "app/headless/presented_picture.h"
#include "app/pipeline/frame_pipeline.h"
#include "world/limits.h"
#include "world/world_gen.h"

namespace veldmark::tool {
namespace {

constexpr OptionSpec kFrameOptions[] = {
    {"step", true}, {"out", true}, {"help", false}, kPictureOptions[0], kPictureOptions[1]};

constexpr char kFrameHelp[] =
    "usage: veldmark-render frame --step N [--size WxH] [--fit MODE] --out FRAME.png\n\n"
    "Runs the drive N steps through the frame ring and the render workers, exactly as the\n"
    "window's main loop does, and writes the frame built after the last step (1920 x 1200,\n"
    "background, sun and display list) as PNG.\n\n"
    "  --step N      steps to run (1 to 10000000)\n"
    "  --out FILE    the PNG to write (written whole or not at all; '-' for standard output)\n";

constexpr char kFrameExitCodes[] =
    "\nExit codes: 0 done, 1 the frame could not be rendered or written, 2 bad arguments.\n";

constexpr char kName[] = "veldmark-render frame";

class PngOfFrame : public FrameConsumer {
public:
    PngOfFrame(std::string path, const PictureSize& size) : path_(std::move(path)), picture_(size) {}
    Delivery Consume(const FrameSlot& frame, std::uint64_t) override
    {
        written_ = WritePngFile(path_, picture_.Of(frame), picture_.width(), picture_.height(), error_);
        return Delivery::Last;
    }
    bool written() const { return written_; }
    const std::string& error() const { return error_; }

private:
    std::string path_;
    PresentedPicture picture_;
    std::string error_;
    bool written_ = false;
};

} // namespace

int RunFrame(std::span<const char* const> argv)
{
    Args args(argv, kFrameOptions);
    if (args.has("help")) {
        std::fputs(kFrameHelp, stdout);
        std::fputs(kPictureHelp, stdout);
        std::fputs(kFrameExitCodes, stdout);
        return 0;
    }
    const auto steps = args.number("step", 1, 1, kMaxDriveSteps);
    const auto picture = args.ok() ? ReadPictureSize(args) : std::nullopt;
    if (!args.ok() || !picture) {
        std::fprintf(stderr, "%s: %s\n", kName, args.error().c_str());
        return kExitUsage;
    }
    if (!args.has("step") || !args.has("out")) {
        std::fprintf(stderr, "%s: %s is required (try --help)\n", kName,
                     args.has("step") ? "--out" : "--step");
        return kExitUsage;
    }
    SimState& state = g_state;
    WorldGen(state);
    PngOfFrame png{std::string(*args.value("out")), *picture};
    const FrameRunEnd end = RunFrames(state, FrameRun{.frames = {.first_step = *steps, .count = 1}}, png);
    if (end == FrameRunEnd::NoWorkers) {
        std::fprintf(stderr, "%s: could not start the render workers\n", kName);
        return kExitFailure;
    }
    if (!png.written()) {
        std::fprintf(stderr, "%s: %s\n", kName, png.error().empty() ? "no frame was written" : png.error().c_str());
        return kExitFailure;
    }
    return 0;
}

} // namespace veldmark::tool
