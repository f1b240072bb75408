// veldmark-drive-hashes: the hash of every frame of the drive, in the same 'step,hash' lines as
// `veldmark-render hashes`, from a program that needs nothing but the core and the frame
// pipeline. It builds wherever the core builds (Windows included), so the same drive can be
// compared between compilers, C libraries and operating systems.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/pipeline/frame_pipeline.h"
#include "render/frame_hash.h"

namespace {

constexpr char kUsage[] =
    "usage: veldmark-drive-hashes [FRAMES]\n\n"
    "Renders FRAMES frames of the drive from its start (default 7027: one whole drive) with two\n"
    "render workers and prints 'step,hash' for each, a 64-bit FNV-1a hash of its pixels.\n"
    "Exit codes: 0 done, 1 the render threads or the output failed, 2 bad arguments.\n";

class HashPrinter final : public veldmark::FrameConsumer {
public:
    veldmark::Delivery Consume(const veldmark::FrameSlot& frame, std::uint64_t step) override
    {
        const std::uint64_t hash = veldmark::HashPixels(frame.pixels, veldmark::kFramePixels);
        if (std::printf("%" PRIu64 ",%016" PRIx64 "\n", step, hash) < 0) {
            failed = true;
            return veldmark::Delivery::Last;
        }
        return veldmark::Delivery::Taken;
    }
    bool failed = false;
};

} // namespace

int main(int argc, char** argv)
{
    std::uint64_t frames = 7027;
    if (argc > 2 || (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))) {
        std::fputs(kUsage, argc > 2 ? stderr : stdout);
        return argc > 2 ? 2 : 0;
    }
    if (argc == 2) {
        char* end = nullptr;
        const unsigned long long value = std::strtoull(argv[1], &end, 10);
        if (argv[1][0] < '0' || argv[1][0] > '9' || *end != '\0' || value == 0 || value > 10'000'000) {
            std::fprintf(stderr, "veldmark-drive-hashes: FRAMES must be a whole number from 1 to 10000000, not '%s'\n",
                         argv[1]);
            return 2;
        }
        frames = value;
    }
    HashPrinter printer;
    const veldmark::FrameRunEnd end =
        veldmark::RunFrames(veldmark::g_state, veldmark::FrameRun{.frames = {.count = frames}}, printer);
    if (end == veldmark::FrameRunEnd::NoWorkers) {
        std::fputs("veldmark-drive-hashes: could not start the render threads\n", stderr);
        return 1;
    }
    if (printer.failed || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("veldmark-drive-hashes: cannot write to standard output\n", stderr);
        return 1;
    }
    return 0;
}
