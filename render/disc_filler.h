#pragma once
// The Disc command's own filler: a circle blended over the pixels by a float opacity.
#include <cstdint>

#include "render/raster_target.h"

namespace veldmark {

inline constexpr float kMinDiscRadius = 0.5f;    // logical units; smaller discs are not drawn
inline constexpr float kMinDiscOpacity = 0.02f;  // fainter discs are not drawn

// Covers the pixels whose centres lie within the circle (centre and radius logical) and blends
// `colour`'s red, green and blue over them by `opacity`; the pixels' top bytes are kept.
void FillDisc(const RasterTarget& target, const ViewTransform& view, std::uint32_t colour,
              Vec2 centre, float radius, float opacity);

} // namespace veldmark
