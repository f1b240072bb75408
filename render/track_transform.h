#pragma once
// The track-to-camera transform: carries a point given in a road section's own frame (along
// from the section start, across from one road edge) through the frames of the sections
// between it and the camera, then into camera plan coordinates.
//
// Each section's frame begins at the end of the previous one, turned by the previous
// section's `turn_angle` about its inner road edge: the edge at across = width when it
// `turns_right`, the edge at across 0 otherwise.
#include <cstddef>
#include <cstdint>

#include "render/camera_space.h"
#include "world/sim_state.h"

namespace veldmark {

inline constexpr std::size_t kMaxVisibleSections = 7;

// The sections in view, nearest first: entry 0 is the one the camera is in. The sine and
// cosine of each entry's turn are worked out once per frame.
struct SectionChain {
    const SectionRecord* entries[kMaxVisibleSections];
    std::uint64_t route_index[kMaxVisibleSections];   // position in SimState::sections
    float turn_sin[kMaxVisibleSections];
    float turn_cos[kMaxVisibleSections];
    std::size_t count;
};

// The camera in the frame of chain entry 0: along, across (from the road edge), and the sine
// and cosine of the view angle against the section axis, worked out once per frame.
struct CameraRecord {
    float along;
    float across;
    float heading_sin;
    float heading_cos;
};

// The frame a point is given in. With `behind_camera` clear: the section at visible index
// `chain_index` (0 is the camera's own section). With `behind_camera` set: the section just
// behind the camera, which is not in the chain, described by the record's own length, turn
// angle, width and turn flag.
struct TrackRef {
    std::uint64_t chain_index;
    float length;
    float turn_angle;
    float width;
    std::uint8_t behind_camera;
    std::uint8_t turns_right;
};

// A reference to the section at visible index k.
inline TrackRef ChainRef(std::uint64_t k) { return TrackRef{k, 0.0f, 0.0f, 0.0f, 0, 0}; }

// A reference to the section behind the camera's section.
TrackRef BehindRef(const SectionRecord& behind);

// Everything the shape emitters need to place a point on the screen.
struct CameraView {
    SectionChain chain;
    CameraRecord camera;
    Projection projection;
};

// Fills a chain entry from its section record.
void SetChainEntry(SectionChain& chain, std::size_t entry, const SectionRecord& section,
                   std::uint64_t route_index);

// The camera record at (along, across) looking `heading` away from the section axis.
CameraRecord MakeCameraRecord(float along, float across, float heading);

// Carries (along, across) of `ref` into camera plan coordinates. A chain index may name the
// frame that begins at the end of the last entry (k = count); a larger one is read as that.
PlanPoint TrackToCamera(const SectionChain& chain, const CameraRecord& camera,
                        const TrackRef& ref, float along, float across);

} // namespace veldmark
