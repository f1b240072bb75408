#pragma once
// The scanline polygon filler: even-odd rule, a pixel is inside when its centre is, rows
// half-open so that polygons sharing a horizontal edge do not both cover it.
#include <cstdint>

#include "render/raster_target.h"
#include "render/shade_record.h"

namespace veldmark {

// The filler uses at most this many vertices of a polygon; any further ones are skipped over.
inline constexpr std::uint64_t kMaxPolygonVertices = 1024;

// Fills the polygon of the first min(n, 1024) vertices at `vertex_words` (x, y float words in
// logical coordinates; the caller guarantees 2 n readable words) with `shade`. Draws nothing
// when n < 3. Returns the word count the vertices occupy, 2 n.
std::uint64_t FillPolygon(const RasterTarget& target, const ViewTransform& view,
                          const std::uint32_t* vertex_words, std::uint64_t n,
                          const ShadeRecord& shade);

} // namespace veldmark
