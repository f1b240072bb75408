// veldmark-render: everything Veldmark does without a window.
#include <csignal>
#include <cstdio>
#include <span>
#include <string_view>

#include "app/headless/args.h"
#include "app/headless/commands.h"
#include "app/headless/output_file.h"
#include "app/version.h"

namespace {

using veldmark::tool::Command;

constexpr Command kCommands[] = {
    {"trace", "run the drive and write the vehicle state after every step as CSV",
     veldmark::tool::RunTrace},
    {"list", "run the drive N steps and write that frame's display list as raw words",
     veldmark::tool::RunList},
    {"frame", "run the drive N steps and write the frame the window would show as PNG",
     veldmark::tool::RunFrame},
    {"raster", "draw a display-list file into a 1920 x 1200 frame and write it as PNG",
     veldmark::tool::RunRaster},
    {"frames", "render a stretch of the drive as PNG files, one per frame",
     veldmark::tool::RunFramesCommand},
    {"video", "render a stretch of the drive as an MP4 video (ffmpeg) or raw BGRA frames",
     veldmark::tool::RunVideo},
    {"hashes", "render a stretch of the drive and print a hash of every frame",
     veldmark::tool::RunHashes},
    {"soak", "render many whole drives in one process: the same frames every drive, flat memory",
     veldmark::tool::RunSoak},
    {"bench", "run the whole pipeline unpaced and report frame rate and stage times",
     veldmark::tool::RunBench},
    {"glyphs", "draw a contact sheet of every animal and lion picture as PNG",
     veldmark::tool::RunGlyphs},
};

void PrintHelp(std::FILE* to)
{
    std::fputs("usage: veldmark-render COMMAND [OPTIONS]\n\n"
               "Veldmark's headless tool: the drive, its frames and its measurements without a "
               "window.\n\ncommands:\n",
               to);
    for (const Command& c : kCommands)
        std::fprintf(to, "  %-10.*s %.*s\n", static_cast<int>(c.name.size()), c.name.data(),
                     static_cast<int>(c.summary.size()), c.summary.data());
    std::fputs("\n'veldmark-render COMMAND --help' describes a command's options;\n"
               "'veldmark-render --version' prints the version.\n",
               to);
}

} // namespace

int main(int argc, char** argv)
{
    // A reader that goes away (`veldmark-render trace | head`) must give a one-line error and
    // exit code 1, not a silent death by SIGPIPE: the failed write reports it.
    std::signal(SIGPIPE, SIG_IGN);
    if (argc < 2) {
        PrintHelp(stderr);
        return veldmark::tool::kExitUsage;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(stdout);
        return veldmark::tool::CloseStandardOutput("veldmark-render") ? 0 : veldmark::tool::kExitFailure;
    }
    if (name == "--version") {
        std::printf("veldmark-render %s\n", VELDMARK_VERSION);
        return veldmark::tool::CloseStandardOutput("veldmark-render") ? 0 : veldmark::tool::kExitFailure;
    }
    for (const Command& c : kCommands)
        if (c.name == name) {
            const int code = c.run(std::span<const char* const>(argv + 2, static_cast<std::size_t>(argc - 2)));
            // What a command printed besides its output file (help, statistics) must not be
            // lost silently either; a command that failed has said why already.
            if (code == 0 && !veldmark::tool::CloseStandardOutput("veldmark-render"))
                return veldmark::tool::kExitFailure;
            return code;
        }
    std::fprintf(stderr, "veldmark-render: unknown command '%s' (try --help)\n", argv[1]);
    return veldmark::tool::kExitUsage;
}
