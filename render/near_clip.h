#pragma once
// Cuts a polygon at the near plane (depth 0.4) so that nothing behind or beside the eye is
// projected: points there would land at infinity or on the wrong side of the screen.
#include <cstddef>

#include "render/camera_space.h"

namespace veldmark {

// Each edge contributes at most its start and one crossing point, so the result of an n-gon
// never has more than 2n vertices.
inline constexpr std::size_t ClipCapacity(std::size_t vertex_count) { return 2 * vertex_count; }

// Writes the part of `polygon` at depth >= 0.4 into `out`, whose room must be at least
// ClipCapacity(count) vertices, and returns its vertex count. Vertices keep their input order;
// a crossing point lies at depth exactly 0.4.
std::size_t ClipNear(const CameraPoint* polygon, std::size_t count, CameraPoint* out);

} // namespace veldmark
