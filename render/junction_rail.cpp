#include <algorithm>
#include <cmath>

#include "render/line_crossing.h"
#include "render/shape_emitters.h"

namespace veldmark {
namespace {

constexpr int kLeadInPoints = 11;             // along -10 .. 0 before the joint
constexpr float kMaxToCorner = 181.0f;        // rail points from the joint toward the corner
constexpr std::size_t kMaxRailPoints = 192;   // points of one junction rail
constexpr int kLeadOutPoints = 10;            // along 1 .. 10 into the next section
constexpr float kRailLow = 0.45f;
constexpr float kRailHigh = 0.55f;
constexpr float kPostHalfWidth = 0.01f;
// Far beyond any step count a rail can use (it stops at 192 points): a crossing thrown out to
// an enormous distance by nearly parallel edges still gives a finite, ordinary step count.
constexpr float kMaxSteps = 1.0e6f;

struct RailPoints {
    PlanPoint points[kMaxRailPoints];
    std::size_t count = 0;

    bool full() const { return count >= kMaxRailPoints; }
    void add(PlanPoint p)
    {
        if (!full()) points[count++] = p;
    }
};

// Steps of about one unit over `length`, halves rounded away from zero, at least 1.
float StepCount(float length)
{
    const float n = roundf(length);
    if (!(n >= 1.0f)) return 1.0f;
    return std::min(n, kMaxSteps);
}

// Points one unit apart from `from` toward `to`, the first one step from `from`.
void AddSteps(RailPoints& rail, PlanPoint from, PlanPoint to, float max_steps)
{
    const float dx = to.x - from.x;
    const float dd = to.d - from.d;
    const float n = StepCount(sqrtf(dx * dx + dd * dd));
    const float last = std::min(n, max_steps);
    for (float k = 1.0f; k <= last && !rail.full(); k += 1.0f)
        rail.add(PlanPoint{from.x + (dx * k) / n, from.d + (dd * k) / n});
}

void AddItem(DeferredSink& sink, PlanPoint p1, float h1, PlanPoint p2, float h2, PlanPoint p3,
             float h3, PlanPoint p4, float h4, std::uint32_t colour)
{
    if (sink.count >= sink.capacity) return;
    DeferredItem& item = sink.items[sink.count++];
    item = DeferredItem{{{p1.x, p1.d, h1}, {p2.x, p2.d, h2}, {p3.x, p3.d, h3}, {p4.x, p4.d, h4}},
                        colour,
                        (((p2.d + p1.d) + p2.d) + p1.d) * 0.25f};
}

} // namespace

void EmitJunctionRail(DeferredSink& sink, const CameraView& view, const TrackRef& a_ref,
                      const TrackRef& b_ref, float along, float width, float next_width,
                      bool turns_right)
{
    // The rail follows the outer edge: across 0 when the road bends toward +across.
    const float edge = turns_right ? 0.0f : width;
    const float next_edge = turns_right ? 0.0f : next_width;
    auto on_a = [&](float a, float b) { return TrackToCamera(view.chain, view.camera, a_ref, a, b); };
    auto on_b = [&](float a, float b) { return TrackToCamera(view.chain, view.camera, b_ref, a, b); };

    RailPoints rail;
    for (int i = 0; i < kLeadInPoints; ++i)
        rail.add(on_a(along - static_cast<float>(kLeadInPoints - 1 - i), edge));
    const PlanPoint joint = on_a(along, edge);
    const PlanPoint next_start = on_b(0.0f, next_edge);
    const PlanPoint corner =
        LineCrossing(joint, on_a(along + 1.0f, edge), next_start, on_b(1.0f, next_edge));
    AddSteps(rail, joint, corner, kMaxToCorner);
    AddSteps(rail, corner, next_start, kMaxSteps);
    for (int i = 1; i <= kLeadOutPoints && !rail.full(); ++i)
        rail.add(on_b(static_cast<float>(i), next_edge));

    const std::size_t n = rail.count;
    const PlanPoint* p = rail.points;
    for (std::size_t j = 0; j + 1 < n; ++j)
        AddItem(sink, p[j], kRailLow, p[j + 1], kRailLow, p[j + 1], kRailHigh, p[j], kRailHigh,
                kRailColour);
    for (std::size_t j = 0; j < n; ++j) {
        const PlanPoint ahead = p[std::min(j + 1, n - 1)];
        const PlanPoint behind = p[j == 0 ? 0 : j - 1];
        const float dx = ahead.x - behind.x;
        const float dd = ahead.d - behind.d;
        float length = sqrtf(dx * dx + dd * dd);
        if (length == 0.0f) length = 1.0f;
        const PlanPoint e{(dx / length) * kPostHalfWidth, (dd / length) * kPostHalfWidth};
        const PlanPoint minus{p[j].x - e.x, p[j].d - e.d};
        const PlanPoint plus{p[j].x + e.x, p[j].d + e.d};
        AddItem(sink, minus, 0.0f, plus, 0.0f, plus, kRailHigh, minus, kRailHigh, kPostColour);
    }
}

} // namespace veldmark
