#include "render/banded_frame.h"

#include <algorithm>

#include "render/background.h"
#include "render/rasteriser.h"

namespace veldmark {
namespace {

// Groups the planned commands by the band their first row lies in, keeping their order within
// each band (a counting sort).
void SortByStartingBand(const FramePlan& plan, int band_rows, int band_count, BandScratch& s)
{
    std::fill(s.band_start.begin(), s.band_start.begin() + band_count + 1, 0u);
    for (std::uint32_t c = 0; c < plan.command_count; ++c) ++s.band_start[static_cast<std::size_t>(plan.commands[c].rows.first / band_rows) + 1];
    for (int b = 0; b < band_count; ++b) s.band_start[static_cast<std::size_t>(b) + 1] += s.band_start[static_cast<std::size_t>(b)];
    // band_start[b] now counts the commands of earlier bands; advance it while placing them, and
    // shift back afterwards.
    for (std::uint32_t c = 0; c < plan.command_count; ++c) {
        const std::size_t b = static_cast<std::size_t>(plan.commands[c].rows.first / band_rows);
        s.starting[s.band_start[b]++] = c;
    }
    for (int b = band_count; b > 0; --b) s.band_start[static_cast<std::size_t>(b)] = s.band_start[static_cast<std::size_t>(b) - 1];
    s.band_start[0] = 0;
}

// The commands reaching rows from `band.first` on, in painter's order: the live ones of the
// band above that reach this far, merged with those starting in this band.
std::uint32_t MergeLive(const FramePlan& plan, BandScratch& s, std::uint32_t live_count,
                        IndexRange band, int band_index)
{
    const std::uint32_t* arriving = &s.starting[s.band_start[static_cast<std::size_t>(band_index)]];
    const std::uint32_t arriving_count =
        s.band_start[static_cast<std::size_t>(band_index) + 1] - s.band_start[static_cast<std::size_t>(band_index)];
    std::uint32_t merged = 0, a = 0;
    for (std::uint32_t l = 0; l < live_count; ++l) {
        const std::uint32_t c = s.live[l];
        if (plan.commands[c].rows.last < band.first) continue;
        while (a < arriving_count && arriving[a] < c) s.merged[merged++] = arriving[a++];
        s.merged[merged++] = c;
    }
    while (a < arriving_count) s.merged[merged++] = arriving[a++];
    std::copy(s.merged.begin(), s.merged.begin() + merged, s.live.begin());
    return merged;
}

} // namespace

void RenderInBands(const RasterTarget& target, float roll, const FrameBackground* background,
                   const std::uint32_t* words, std::uint64_t length, BandScratch& scratch,
                   SimdLevel level)
{
    if (target.width <= 0 || target.height <= 0) return;
    const ViewTransform view = MakeViewTransform(roll);
    if (length > kDisplayListWords) length = kDisplayListWords;

    PreparedSun sun{IndexRange{0, -1}, IndexRange{0, -1}, Vec2{0.0f, 0.0f}, 0.0f, 0.0f, 0.0f};
    if (background && background->sun_visible)
        sun = PrepareSun(target, view, background->sun_centre, background->sun_scale, scratch.glow);
    FramePlan& plan = scratch.plan;
    PlanFrame(target, view, words, length, plan);

    const int band_rows = std::max(kBandRows, (target.height + kMaxBands - 1) / kMaxBands);
    const int band_count = (target.height + band_rows - 1) / band_rows;
    SortByStartingBand(plan, band_rows, band_count, scratch);
    std::uint32_t live_count = 0;
    for (int b = 0; b < band_count; ++b) {
        const IndexRange band{b * band_rows, std::min(b * band_rows + band_rows, target.height) - 1};
        if (background) {
            PaintBackgroundRows(target, view, background->zenith_colour, background->horizon_colour, band, level);
            if (!sun.rows.empty()) DrawSunRows(target, view, sun, scratch.glow, band, level);
        }
        live_count = MergeLive(plan, scratch, live_count, band, b);
        for (std::uint32_t l = 0; l < live_count; ++l)
            DrawPlannedRows(target, view, plan, plan.commands[scratch.live[l]], band, scratch.crossings, level);
    }

    // What did not fit in the plan comes after everything planned: one command at a time.
    for (std::uint64_t position = plan.resume_position; position < length;)
        position = DrawCommand(target, view, words, length, position);
}

} // namespace veldmark
