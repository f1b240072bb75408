#include "render/ground_polygon.h"
#include "render/shape_emitters.h"

namespace veldmark {
namespace {

struct TrackOffset {
    float along;    // from the pond's base
    float across;   // absolute, from the road edge at across 0
};

// The water's outline, a rounded pool left of the road.
constexpr TrackOffset kWater[] = {
    {3, -2}, {3, -28}, {14, -31}, {28, -26}, {32, -15}, {29, -5}, {16, -1},
};

// A thin strip of sand along the water's far shore.
constexpr TrackOffset kBank[] = {
    {29, -5}, {32, -15}, {28, -26}, {29, -26}, {33, -15}, {30, -5},
};

template <std::size_t N>
void EmitOutline(DisplayListWriter& out, const CameraView& view, const TrackRef& ref,
                 float base, const TrackOffset (&outline)[N], std::uint32_t colour)
{
    PlanPoint plan[N];
    for (std::size_t i = 0; i < N; ++i)
        plan[i] = TrackToCamera(view.chain, view.camera, ref, base + outline[i].along,
                                outline[i].across);
    EmitGroundPolygon(out, view.projection, plan, colour);
}

} // namespace

void EmitPond(DisplayListWriter& out, const CameraView& view, const TrackRef& ref, float base)
{
    EmitOutline(out, view, ref, base, kWater, kPondWaterColour);
    EmitOutline(out, view, ref, base, kBank, kPondBankColour);
}

} // namespace veldmark
