#include "render/track_transform.h"

#include <algorithm>
#include <cmath>

#include "world/float_math.h"

namespace veldmark {

TrackRef BehindRef(const SectionRecord& behind)
{
    return TrackRef{0, behind.length, behind.turn_angle, behind.width, 1,
                    static_cast<std::uint8_t>(behind.turns_right & 1)};
}

void SetChainEntry(SectionChain& chain, std::size_t entry, const SectionRecord& section,
                   std::uint64_t route_index)
{
    if (entry >= kMaxVisibleSections) return;
    chain.entries[entry] = &section;
    chain.route_index[entry] = route_index;
    chain.turn_sin[entry] = Sin(section.turn_angle);
    chain.turn_cos[entry] = Cos(section.turn_angle);
}

CameraRecord MakeCameraRecord(float along, float across, float heading)
{
    return CameraRecord{along, across, Sin(heading), Cos(heading)};
}

namespace {

// Undoes the turn of the section behind the camera: its frame ends where the camera's
// section begins, so a point in it is carried back by its length and turned the other way.
void FromBehind(const TrackRef& ref, float& a, float& b)
{
    const float s = Sin(ref.turn_angle);
    const float c = Cos(ref.turn_angle);
    const float length = ref.length;
    const float w = ref.width;
    if (ref.turns_right) {
        const float a1 = (a - length) - s * w;
        const float b1 = b - (1.0f - c) * w;
        a = a1 * c + b1 * s;
        b = b1 * c - a1 * s;
    } else {
        const float a1 = a - length;
        const float new_a = a1 * c - b * s;
        b = b * c + a1 * s;
        a = new_a;
    }
}

// Carries a point from the frame that begins at the end of chain entry `entry` into that
// entry's frame, turning it about the entry's inner edge at its end.
void IntoEarlier(const SectionChain& chain, std::size_t entry, float& a, float& b)
{
    const SectionRecord& section = *chain.entries[entry];
    const float s = chain.turn_sin[entry];
    const float c = chain.turn_cos[entry];
    const float length = section.length;
    const float w = section.width;
    if (section.turns_right & 1) {
        const float new_a = ((length + a * c) - b * s) + w * s;
        b = ((b * c) + a * s) + (1.0f - c) * w;
        a = new_a;
    } else {
        const float new_a = (length + a * c) + b * s;
        b = (b * c) - a * s;
        a = new_a;
    }
}

} // namespace

PlanPoint TrackToCamera(const SectionChain& chain, const CameraRecord& camera,
                        const TrackRef& ref, float along, float across)
{
    float a = along;
    float b = across;
    if (ref.behind_camera) {
        FromBehind(ref, a, b);
    } else {
        const std::size_t count = std::min(chain.count, kMaxVisibleSections);
        const std::uint64_t k = std::min<std::uint64_t>(ref.chain_index, count);
        for (std::uint64_t i = k; i >= 1; --i) IntoEarlier(chain, static_cast<std::size_t>(i - 1), a, b);
    }
    const float x = a - camera.along;
    const float y = b - camera.across;
    const float s = camera.heading_sin;
    const float c = camera.heading_cos;
    return PlanPoint{y * c - x * s, x * c + y * s};
}

} // namespace veldmark
