// veldmark-render trace: the drive as numbers, one CSV row per simulation step.
#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <vector>

#include "app/headless/args.h"
#include "app/headless/commands.h"
#include "app/headless/output_file.h"
#include "sim/simulation_step.h"
#include "world/world_gen.h"

namespace veldmark::tool {
namespace {

constexpr OptionSpec kTraceOptions[] = {
    {"steps", true}, {"out", true}, {"summary", false}, {"help", false}};

constexpr char kTraceHelp[] =
    "usage: veldmark-render trace [--steps N] [--out FILE] [--summary]\n\n"
    "Runs the drive and writes, after every simulation step, one CSV row:\n"
    "  step,drive_ticks,car_section,car_along,car_across,car_heading,car_speed,\n"
    "  steer_angle,car_yaw,look_angle,look_amount,lead_position,lead_speed,lead_braking\n"
    "Floats are printed with 9 significant digits, so every value reads back exactly.\n\n"
    "  --steps N   run N steps (1 to 100000000); without it, one whole drive up to and\n"
    "              including the step that restarts the route\n"
    "  --out FILE  write to FILE (written whole or not at all); default standard output\n"
    "  --summary   print a summary instead of the rows: steps per drive, the step at which\n"
    "              each section is entered, the lowest and highest speed, the largest\n"
    "              distance from the centre line\n";

constexpr std::uint64_t kMaxSteps = 100'000'000;

struct Summary {
    std::uint64_t steps = 0;
    std::uint64_t drive_length = 0;   // steps of the first complete drive, 0 if none ended
    std::vector<std::uint64_t> entered;   // step at which each section was first entered
    float lowest_speed = INFINITY;
    float highest_speed = -INFINITY;
    float widest_across = 0.0f;
};

// printf takes doubles; widening a float is exact, and %.9g reads back as the same float.
double Wide(float value) { return static_cast<double>(value); }

bool WriteRow(OutputFile& out, std::uint64_t step, const SimState& s)
{
    return out.Print(
                 "%" PRIu64 ",%.9g,%" PRIu64 ",%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%u\n",
                 step, Wide(s.drive_ticks), std::uint64_t{s.car_section}, Wide(s.car_along),
                 Wide(s.car_across), Wide(s.car_heading), Wide(s.car_speed),
                 Wide(s.steer_angle), Wide(s.car_yaw), Wide(s.look_angle),
                 Wide(s.look_amount), Wide(s.lead_position), Wide(s.lead_speed),
                 unsigned{s.lead_braking.load() & 0xFFu});
}

void PrintSummary(OutputFile& out, const Summary& sum)
{
    out.Print("steps run:           %" PRIu64 "\n", sum.steps);
    if (sum.drive_length)
        out.Print("steps per drive:     %" PRIu64 " (the last one restarts the route)\n", sum.drive_length);
    else
        out.Print("steps per drive:     the drive did not end within these steps\n");
    out.Print("section entered at step:\n");
    for (std::size_t k = 0; k < sum.entered.size(); ++k) {
        if (sum.entered[k]) out.Print("  %2zu  %" PRIu64 "\n", k, sum.entered[k]);
        else out.Print("  %2zu  not reached\n", k);
    }
    out.Print("lowest speed:        %.9g\n", Wide(sum.lowest_speed));
    out.Print("highest speed:       %.9g\n", Wide(sum.highest_speed));
    out.Print("largest |car_across|: %.9g\n", Wide(sum.widest_across));
}

} // namespace

int RunTrace(std::span<const char* const> argv)
{
    Args args(argv, kTraceOptions);
    if (args.has("help")) {
        std::fputs(kTraceHelp, stdout);
        return 0;
    }
    const auto steps = args.number("steps", 0, 1, kMaxSteps);
    if (!args.ok()) {
        std::fprintf(stderr, "veldmark-render trace: %s\n", args.error().c_str());
        return kExitUsage;
    }
    const bool whole_drive = !args.has("steps");
    OutputFile output(std::string(args.value("out").value_or("-")));
    if (!output.open()) {
        std::fprintf(stderr, "veldmark-render trace: %s\n", output.error().c_str());
        return kExitFailure;
    }
    const bool summary_only = args.has("summary");

    SimState& state = g_state;
    WorldGen(state);
    Summary sum;
    sum.entered.assign(state.section_count, 0);
    if (!summary_only)
        output.Print("step,drive_ticks,car_section,car_along,car_across,car_heading,car_speed,"
                     "steer_angle,car_yaw,look_angle,look_amount,lead_position,lead_speed,"
                     "lead_braking\n");

    std::uint64_t last_section = UINT64_MAX;
    for (std::uint64_t step = 1; step <= kMaxSteps; ++step) {
        const bool restarts = AtRouteEnd(state);
        SimulationStep(state);
        // A write that failed ends the run: the rest could not reach the file either.
        if (!summary_only && !WriteRow(output, step, state)) break;
        sum.steps = step;
        const std::uint64_t section = state.car_section;
        if (section != last_section && section < sum.entered.size() && !sum.entered[section])
            sum.entered[section] = step;
        last_section = section;
        sum.lowest_speed = std::min(sum.lowest_speed, float{state.car_speed});
        sum.highest_speed = std::max(sum.highest_speed, float{state.car_speed});
        sum.widest_across = std::max(sum.widest_across, std::fabs(float{state.car_across}));
        if (restarts && !sum.drive_length) sum.drive_length = step;
        if (whole_drive ? restarts : step == *steps) break;
    }
    if (summary_only) PrintSummary(output, sum);
    if (!output.commit()) {
        std::fprintf(stderr, "veldmark-render trace: %s\n", output.error().c_str());
        return kExitFailure;
    }
    return 0;
}

} // namespace veldmark::tool
