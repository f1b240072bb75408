// Every kernel compiled eight lanes wide (vec8.h): the kernels' templates inside the AVX2
// region, everything they call from outside it included first (see vec8_begin.h). The tables
// of forms are made when compiling, so building them runs no AVX2 code; the forms run only where
// the processor has AVX2 (simd_paths.h).
#include "render/simd/vec8.h"

#if defined(VELDMARK_VEC8)
#include "render/background.h"
#include "render/disc_filler.h"
#include "render/raster_target.h"
#include "render/shaded_pixel.h"
#include "render/span_fill.h"
#include "render/sun.h"

#include "render/simd/vec8_begin.h"
#include "render/simd/lanes.h"
#include "render/disc_filler_lanes.h"
#include "render/shaded_span_lanes.h"
#include "render/span_fill_lanes.h"
#include "render/sky_lanes.h"
#include "render/sun_lanes.h"
#include "render/simd/vec8_end.h"

namespace veldmark {

constinit const DiscForms kDiscVec8 = DiscFormsOf<vec8::Tag>();
constinit const ShadedSpanForms kShadedSpanVec8 = ShadedSpanFormsOf<vec8::Tag>();
constinit const SkyForms kSkyVec8 = SkyFormsOf<vec8::Tag>();
constinit const SpanFillForms kSpanFillVec8 = SpanFillFormsOf<vec8::Tag>();
constinit const SunForms kSunVec8 = SunFormsOf<vec8::Tag>();

} // namespace veldmark
#endif
