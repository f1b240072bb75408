#include "render/simd/vec8.h"

#include "render/shaded_pixel.h"
#include "render/raster_target.h"
#include "render/tests/gradient_lanes.h"

#if defined(VELDMARK_VEC8)
#include "render/simd/vec8_begin.h"
#include "render/simd/lanes.h"
#include "render/shaded_span_lanes.h"
#include "render/tests/gradient_lanes_probe.h"
#include "render/simd/vec8_end.h"
#endif

namespace veldmark::test {

GradientLanes GradientLanesVec8(const SpanShader& shader, int column, float row_centre)
{
#if defined(VELDMARK_VEC8)
    return ProbeGradientLanes<vec8::Tag>(shader, column, row_centre);
#else
    (void)shader, (void)column, (void)row_centre;
    return GradientLanes{};
#endif
}

} // namespace veldmark::test
