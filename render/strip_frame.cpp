#include "render/strip_frame.h"

#include <algorithm>

#include "render/background.h"
#include "render/rasteriser.h"

namespace veldmark {
namespace {

// Groups the planned commands by the strip their first row lies in, keeping their order within
// each strip (a counting sort).
void SortByStartingStrip(const FramePlan& plan, int strip_rows, int strip_count, StripScratch& s)
{
    std::fill(s.strip_start.begin(), s.strip_start.begin() + strip_count + 1, 0u);
    for (std::uint32_t c = 0; c < plan.command_count; ++c) ++s.strip_start[static_cast<std::size_t>(plan.commands[c].rows.first / strip_rows) + 1];
    for (int b = 0; b < strip_count; ++b) s.strip_start[static_cast<std::size_t>(b) + 1] += s.strip_start[static_cast<std::size_t>(b)];
    // strip_start[b] now counts the commands of earlier strips; advance it while placing them, and
    // shift back afterwards.
    for (std::uint32_t c = 0; c < plan.command_count; ++c) {
        const std::size_t b = static_cast<std::size_t>(plan.commands[c].rows.first / strip_rows);
        s.starting[s.strip_start[b]++] = c;
    }
    for (int b = strip_count; b > 0; --b) s.strip_start[static_cast<std::size_t>(b)] = s.strip_start[static_cast<std::size_t>(b) - 1];
    s.strip_start[0] = 0;
}

// The commands reaching rows from `strip.first` on, in painter's order: the live ones of the
// strip above that reach this far, merged with those starting in this strip.
std::uint32_t MergeLive(const FramePlan& plan, StripScratch& s, std::uint32_t live_count,
                        IndexRange strip, int strip_index)
{
    const std::uint32_t* arriving = &s.starting[s.strip_start[static_cast<std::size_t>(strip_index)]];
    const std::uint32_t arriving_count =
        s.strip_start[static_cast<std::size_t>(strip_index) + 1] - s.strip_start[static_cast<std::size_t>(strip_index)];
    std::uint32_t merged = 0, a = 0;
    for (std::uint32_t l = 0; l < live_count; ++l) {
        const std::uint32_t c = s.live[l];
        if (plan.commands[c].rows.last < strip.first) continue;
        while (a < arriving_count && arriving[a] < c) s.merged[merged++] = arriving[a++];
        s.merged[merged++] = c;
    }
    while (a < arriving_count) s.merged[merged++] = arriving[a++];
    std::copy(s.merged.begin(), s.merged.begin() + merged, s.live.begin());
    return merged;
}

// Rows of the strip covered whole by the latest live flat polygon that covers any, as a mask
// (bit r for row strip.first + r); `cover` is set to that polygon's place in the live list.
std::uint64_t CoveredStripRows(const RasterTarget& target, FramePlan& plan, StripScratch& s,
                              std::uint32_t live_count, IndexRange strip, std::uint32_t& cover)
{
    if (strip.last - strip.first >= kCoveredRowsMaskBits) return 0;
    const float left = 0.5f;   // a span reaches column 0 only from a crossing at most here
    const float right = static_cast<float>(target.width) - 0.5f;
    for (std::uint32_t l = live_count; l-- > 0;) {
        const PlannedCommand& command = plan.commands[s.live[l]];
        if (command.is_disc) continue;
        const PlannedPolygon& polygon = plan.polygons[command.index];
        if (polygon.paint.shade || !(polygon.rows.x_low <= left && polygon.rows.x_high >= right)) continue;
        const std::uint64_t covered =
            RowsCoveredWhole(target, polygon.rows, &plan.edges[polygon.first_edge], &plan.active[polygon.first_edge],
                             strip, s.crossings, s.cover);
        if (covered != 0) {
            cover = l;
            return covered;
        }
    }
    return 0;
}

// Whether row `offset` of a strip is in the mask; strips taller than the mask (very tall
// targets) have no rows in it.
bool RowCovered(std::uint64_t covered, int offset) { return offset < kCoveredRowsMaskBits && ((covered >> offset) & 1) != 0; }

} // namespace

void RenderInStrips(const RasterTarget& target, float roll, const FrameBackground* background,
                   const std::uint32_t* words, std::uint64_t length, StripScratch& scratch,
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

    const int strip_rows = std::max(kStripRows, (target.height + kMaxStrips - 1) / kMaxStrips);
    const int strip_count = (target.height + strip_rows - 1) / strip_rows;
    SortByStartingStrip(plan, strip_rows, strip_count, scratch);
    std::uint32_t live_count = 0;
    for (int b = 0; b < strip_count; ++b) {
        const IndexRange strip{b * strip_rows, std::min(b * strip_rows + strip_rows, target.height) - 1};
        live_count = MergeLive(plan, scratch, live_count, strip, b);
        std::uint32_t cover = 0;
        const std::uint64_t covered = CoveredStripRows(target, plan, scratch, live_count, strip, cover);
        // Runs of rows alike in being covered or not, top to bottom, so every command still
        // meets its rows in order.
        for (int first = strip.first; first <= strip.last;) {
            const bool is_covered = RowCovered(covered, first - strip.first);
            int last = first;
            while (last < strip.last && RowCovered(covered, last + 1 - strip.first) == is_covered) ++last;
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
