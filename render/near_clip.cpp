#include "render/near_clip.h"

namespace veldmark {
namespace {

bool Inside(const CameraPoint& p) { return p.depth >= kNearDepth; }

} // namespace

std::size_t ClipNear(const CameraPoint* polygon, std::size_t count, CameraPoint* out)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const CameraPoint& p = polygon[i];
        const CameraPoint& c = polygon[i + 1 == count ? 0 : i + 1];
        if (Inside(p)) out[n++] = p;
        if (Inside(p) != Inside(c)) {
            // One end is inside and the other is not, so the depths differ.
            const float t = (kNearDepth - p.depth) / (c.depth - p.depth);
            out[n++] = CameraPoint{p.lateral + t * (c.lateral - p.lateral), kNearDepth,
                                   p.height + t * (c.height - p.height)};
        }
    }
    return n;
}

} // namespace veldmark
