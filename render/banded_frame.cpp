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

// Rows of the band covered whole by the latest live flat polygon that covers any, as a mask
// (bit r for row band.first + r); `cover` is set to that polygon's place in the live list.
std::uint64_t CoveredBandRows(const RasterTarget& target, FramePlan& plan, BandScratch& s,
                              std::uint32_t live_count, IndexRange band, std::uint32_t& cover)
{
    if (band.last - band.first >= 64) return 0;
    const float left = 0.5f;   // a span reaches column 0 only from a crossing at most here
    const float right = static_cast<float>(target.width) - 0.5f;
    for (std::uint32_t l = live_count; l-- > 0;) {
        const PlannedCommand& command = plan.commands[s.live[l]];
        if (command.is_disc) continue;
        const PlannedPolygon& polygon = plan.polygons[command.index];
        if (polygon.paint.shade || !(polygon.rows.x_low <= left && polygon.rows.x_high >= right)) continue;
        const std::uint64_t covered =
            RowsCoveredWhole(target, polygon.rows, &plan.edges[polygon.first_edge], &plan.active[polygon.first_edge],
                             band, s.crossings, s.cover);
        if (covered != 0) {
            cover = l;
            return covered;
        }
    }
    return 0;
}

// Whether row `offset` of a band is in the mask; bands taller than the mask (very tall
// targets) have no rows in it.
bool RowCovered(std::uint64_t covered, int offset) { return offset < 64 && ((covered >> offset) & 1) != 0; }

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
        live_count = MergeLive(plan, scratch, live_count, band, b);
        std::uint32_t cover = 0;
        const std::uint64_t covered = CoveredBandRows(target, plan, scratch, live_count, band, cover);
        // Runs of rows alike in being covered or not, top to bottom, so every command still
        // meets its rows in order.
        for (int first = band.first; first <= band.last;) {
            const bool is_covered = RowCovered(covered, first - band.first);
            int last = first;
            while (last < band.last && RowCovered(covered, last + 1 - band.first) == is_covered) ++last;
            const IndexRange run{first, last};
            if (background && !is_covered) {
                PaintBackgroundRows(target, view, background->zenith_colour, background->horizon_colour, run, level);
                if (!sun.rows.empty()) DrawSunRows(target, view, sun, scratch.glow, run, level);
            }
            for (std::uint32_t l = is_covered ? cover : 0; l < live_count; ++l)
                DrawPlannedRows(target, view, plan, plan.commands[scratch.live[l]], run, scratch.crossings, level);
            first = last + 1;
        }
    }

    // What did not fit in the plan comes after everything planned: one command at a time.
    for (std::uint64_t position = plan.resume_position; position < length;)
        position = DrawCommand(target, view, words, length, position);
}

} // namespace veldmark
