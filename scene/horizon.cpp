#include "scene/horizon.h"

#include <algorithm>
#include <cmath>

#include "render/colour_word.h"
#include "scene/wrap_angle.h"
#include "world/float_math.h"
#include "world/limits.h"

namespace veldmark {
namespace {

// The outline runs this far past both screen edges so that a rolled view shows no gap.
constexpr float kOverscan = 200.0f;
constexpr float kSampleStep = 2.0f;
// Vertices of one outline. A 960-wide view takes 681 samples; a host may set a wider view,
// whose outline then ends at this many samples instead of overrunning the scratch.
constexpr std::size_t kMaxSamples = 2048;

constexpr float kSnowLine = 124.0f;        // the snow covers the range above this height
constexpr float kSnowLineDip = 10.0f;      // ...and its lower edge dips this much at the peak
constexpr float kSnowMargin = 0.01f;
constexpr float kPeakSearchFrom = -0.5f;   // bearings searched for the near range's peak
constexpr float kPeakSearchTo = 0.5f;
constexpr float kPeakSearchStep = 0.01f;

constexpr float kHillBase = 18.0f;
constexpr float kHillSwell = 12.0f;
constexpr float kHillPhase = 1.9f;
constexpr float kHillRate = 0.9f;

struct Outline {
    Vec2 vertices[kMaxSamples + 2];
    std::size_t count = 0;
};

// Samples a profile (logical pixels above the horizon at rest zoom) every 2 columns from -200
// to the view width + 200, closed along the horizon line.
template <class Profile>
void SampleOutline(Outline& outline, const HorizonView& view, Profile height)
{
    outline.count = 0;
    const float right = view.view_width + kOverscan;
    for (float x = -kOverscan; x <= right && outline.count < kMaxSamples; x += kSampleStep) {
        const float h = height(ColumnBearing(view, x));
        outline.vertices[outline.count++] = Vec2{x, kHorizonY - h * view.zoom};
    }
    outline.vertices[outline.count++] = Vec2{right, kHorizonY};
    outline.vertices[outline.count++] = Vec2{-kOverscan, kHorizonY};
}

float NearRangePeak()
{
    float peak = -1.0f;
    for (float u = kPeakSearchFrom; u <= kPeakSearchTo; u += kPeakSearchStep)
        peak = std::max(peak, RangeHeight(kNearRange, u));
    return peak;
}

// The snow cap: the near range's outline above the snow line, closed along the snow line.
void EmitSnowCap(DisplayListWriter& out, const HorizonView& view, Outline& scratch)
{
    const float peak = NearRangePeak();
    struct Column {
        float x;
        float top;
        float line;
    };
    Column snowy[kMaxSamples / 2];   // the cap's outline, twice as long, fits the scratch
    std::size_t n = 0;
    // Columns are counted as well as snowy ones: on a very wide view the float column would
    // otherwise stop advancing long before it reached the right edge.
    std::size_t columns = 0;
    for (float x = 0.0f; x <= view.view_width && columns < kMaxSamples; x += kSampleStep, ++columns) {
        const float h = RangeHeight(kNearRange, ColumnBearing(view, x));
        const float s = std::clamp((h - kSnowLine) / (peak - kSnowLine), 0.0f, 1.0f);
        const float line = kSnowLine - kSnowLineDip * s;
        if (h > line + kSnowMargin && n < std::size(snowy)) snowy[n++] = Column{x, h, line};
    }
    if (n < 2) return;
    scratch.count = 0;
    for (std::size_t i = 0; i < n; ++i)
        scratch.vertices[scratch.count++] = Vec2{snowy[i].x, kHorizonY - snowy[i].top * view.zoom};
    for (std::size_t i = n; i-- > 0;)
        scratch.vertices[scratch.count++] = Vec2{snowy[i].x, kHorizonY - snowy[i].line * view.zoom};
    out.FlatPolygon(SnowColour(view.darkness), std::span<const Vec2>(scratch.vertices, scratch.count));
}

} // namespace

float RangeHeight(const MountainRange& range, float bearing)
{
    const float r = WrapAngle(bearing + range.centre);
    const float t = r / range.half_width;
    if (!(std::fabs(t) < 1.0f)) return 0.0f;
    return range.height * Cos(t * kPi / 2.0f) *
           (0.6f + 0.24f * Cos(range.ripple1 * r) + 0.16f * Cos(range.ripple2 * r + 1.0f));
}

float ColumnBearing(const HorizonView& view, float x)
{
    return WrapAngle(view.bearing + Atan((x - view.view_width / 2.0f) / view.focal));
}

std::uint32_t RangeColour(const MountainRange& range, float light)
{
    return PackNearest(static_cast<float>(range.red) * light, static_cast<float>(range.green) * light,
                static_cast<float>(range.blue) * light);
}

std::uint32_t SnowColour(float darkness)
{
    return PackNearest(238.0f - 168.0f * darkness, 243.0f - 159.0f * darkness,
                248.0f - 144.0f * darkness);
}

void EmitHorizon(DisplayListWriter& out, const HorizonView& view)
{
    Outline outline;
    for (const MountainRange* range : {&kFarRange, &kNearRange}) {
        SampleOutline(outline, view, [range](float a) { return RangeHeight(*range, a); });
        out.FlatPolygon(RangeColour(*range, view.light),
                        std::span<const Vec2>(outline.vertices, outline.count));
        if (range == &kNearRange) EmitSnowCap(out, view, outline);
    }
    SampleOutline(outline, view, [](float a) {
        return kHillBase + kHillSwell * Sin(kHillPhase + kHillRate * a);
    });
    out.FlatPolygon(kHillColour, std::span<const Vec2>(outline.vertices, outline.count));
}

} // namespace veldmark
