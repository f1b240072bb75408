// veldmark-render list: one frame's display list as raw words, for the raster command or for
// a look at the numbers.
#include <cinttypes>
#include <cstdio>

#include "app/headless/args.h"
#include "app/headless/commands.h"
#include "app/headless/drive_frame.h"
#include "app/headless/output_file.h"

namespace veldmark::tool {
namespace {

constexpr OptionSpec kListOptions[] = {
    {"step", true}, {"out", true}, {"stats", false}, {"help", false}};

constexpr char kListHelp[] =
    "usage: veldmark-render list --step N --out LIST.bin [--stats]\n\n"
    "Runs the drive N steps, building the frame after each as the program does, and writes\n"
    "the display list of the last frame: its words, 32-bit little-endian, nothing else.\n\n"
    "  --step N    steps to run (0 to 10000000; 0 is the frame at the start of the drive)\n"
    "  --out FILE  where to write the list (written whole or not at all; '-' for standard\n"
    "              output)\n"
    "  --stats     also print the commands by opcode, the word count, the largest list so\n"
    "              far and the deferred items (on standard error when the list goes to\n"
    "              standard output)\n";

constexpr const char* kOpcodeNames[8] = {"FlatPolygon",    "BandPolygon",   "FlatPolygon(2)",
                                         "Disc",           "RadialPolygon", "LinearPolygon",
                                         "EllipticPolygon", "other"};

bool WriteWords(OutputFile& out, const std::uint32_t* words, std::uint64_t count)
{
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint32_t w = words[i];
        const unsigned char bytes[4] = {static_cast<unsigned char>(w), static_cast<unsigned char>(w >> 8),
                                        static_cast<unsigned char>(w >> 16),
                                        static_cast<unsigned char>(w >> 24)};
        if (!out.Write(bytes, 4)) return false;
    }
    return true;
}

void PrintStats(std::FILE* to, const SimState& state)
{
    const ListStats stats = CountCommands(state.display_list, state.display_list_length);
    std::fprintf(to, "commands: %" PRIu64 "\n", stats.commands);
    for (int op = 0; op < 8; ++op)
        if (stats.by_opcode[op])
            std::fprintf(to, "  %d %-16s %" PRIu64 "\n", op, kOpcodeNames[op], stats.by_opcode[op]);
    std::fprintf(to, "words: %" PRIu64 " of %zu\n", stats.words, kDisplayListWords);
    std::fprintf(to, "peak words so far: %" PRIu64 "\n", std::uint64_t{state.display_list_peak});
    std::fprintf(to, "deferred items: %" PRIu64 "\n", state.deferred_count);
    if (stats.truncated) std::fprintf(to, "warning: the last command runs past the list's end\n");
}

} // namespace

int RunList(std::span<const char* const> argv)
{
    Args args(argv, kListOptions);
    if (args.has("help")) {
        std::fputs(kListHelp, stdout);
        return 0;
    }
    const auto steps = args.number("step", 0, 0, kMaxDriveSteps);
    if (args.ok() && !args.has("step")) {
        std::fputs("veldmark-render list: --step is required (try --help)\n", stderr);
        return kExitUsage;
    }
    if (args.ok() && !args.has("out")) {
        std::fputs("veldmark-render list: --out is required (try --help)\n", stderr);
        return kExitUsage;
    }
    if (!args.ok()) {
        std::fprintf(stderr, "veldmark-render list: %s\n", args.error().c_str());
        return kExitUsage;
    }
    SimState& state = g_state;
    BuildFrameAtStep(state, *steps);

    OutputFile output(std::string(*args.value("out")));
    if (!output.open() || !WriteWords(output, state.display_list, state.display_list_length) ||
        !output.commit()) {
        std::fprintf(stderr, "veldmark-render list: %s\n", output.error().c_str());
        return kExitFailure;
    }
    if (args.has("stats")) PrintStats(*args.value("out") == "-" ? stderr : stdout, state);
    return 0;
}

} // namespace veldmark::tool
