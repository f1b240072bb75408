#pragma once
// Emitters of the scene's fixed ground shapes. Points are given in a section's own frame
// (along, across from the road edge) through a TrackRef and carried to the screen through the
// frame's CameraView. Each command is written whole or not at all.
#include <cstdint>

#include "render/display_list.h"
#include "render/track_transform.h"
#include "world/sim_state.h"

namespace veldmark {

inline constexpr std::uint32_t kRoadColour = 0x34353C;
inline constexpr std::uint32_t kPondWaterColour = 0x2F7E8C;
inline constexpr std::uint32_t kPondBankColour = 0xC2B280;
inline constexpr std::uint32_t kBeamInnerColour = 0xC3FFF8D6;
inline constexpr std::uint32_t kBeamOuterColour = 0x45FFF8D6;
inline constexpr std::uint32_t kRailColour = 0xC2C7CF;
inline constexpr std::uint32_t kPostColour = 0x9AA0A8;

// The road runs this far back from a joint in one road piece.
inline constexpr float kRoadPieceReach = 40.0f;

// A waterhole beside the road, on the negative-across side, starting at along `base`: the
// water, then its far sand bank.
void EmitPond(DisplayListWriter& out, const CameraView& view, const TrackRef& ref, float base);

// The last 40 units of road before a joint, and the wedge that fills the outside of the corner
// up to where the road edges of the two sections meet. `a_ref` is the section ending at along
// `along`, `b_ref` the next one; `width` and `next_width` their road widths; `turns_right`
// whether the road bends toward +across there.
void EmitRoadPiece(DisplayListWriter& out, const CameraView& view, const TrackRef& a_ref,
                   const TrackRef& b_ref, float along, float width, float next_width,
                   bool turns_right);

// The glow of the lead vehicle's headlights falling on the road ahead of it, from (along,
// across) of the section at visible index `chain_index`. Dropped whole when any of its
// corners is 0.4 or nearer.
void EmitHeadlightBeam(DisplayListWriter& out, const CameraView& view,
                       std::uint64_t chain_index, float along, float across);

// Where rail and post quads go until the depth-ordered pass draws them.
struct DeferredSink {
    DeferredItem* items;
    std::uint64_t& count;
    std::uint64_t capacity;
};

// The rail along the outer road edge around a joint: 10 units before it, to the corner, on to
// the next section and 10 units into it, as rail quads between consecutive points and a post
// at every point. Items beyond the sink's capacity are dropped.
void EmitJunctionRail(DeferredSink& sink, const CameraView& view, const TrackRef& a_ref,
                      const TrackRef& b_ref, float along, float width, float next_width,
                      bool turns_right);

} // namespace veldmark
