#include "render/simd/vec4.h"

#include "render/shaded_pixel.h"
#include "render/raster_target.h"
#include "render/tests/gradient_lanes.h"

#if defined(VELDMARK_VEC4)
#include "render/simd/lanes.h"
#include "render/shaded_span_lanes.h"
#include "render/tests/gradient_lanes_probe.h"
#endif

namespace veldmark::test {

GradientLanes GradientLanesVec4(const SpanShader& shader, int column, float row_centre)
{
#if defined(VELDMARK_VEC4)
    return ProbeGradientLanes<vec4::Tag>(shader, column, row_centre);
#else
    (void)shader, (void)column, (void)row_centre;
    return GradientLanes{};
#endif
}

} // namespace veldmark::test
