// Every kernel compiled four lanes wide (vec4.h), with the one-pixel code it is held to and
// finishes with.
#include "render/simd/vec4.h"

#if defined(VELDMARK_VEC4)
#include "render/background.h"
#include "render/disc_filler.h"
#include "render/raster_target.h"
#include "render/shaded_pixel.h"
#include "render/span_fill.h"
#include "render/sun.h"
#include "render/simd/lanes.h"
#include "render/disc_filler_lanes.h"
#include "render/shaded_span_lanes.h"
#include "render/span_fill_lanes.h"
#include "render/sky_lanes.h"
#include "render/sun_lanes.h"

namespace veldmark {

constinit const DiscForms kDiscVec4 = DiscFormsOf<vec4::Tag>();
constinit const ShadedSpanForms kShadedSpanVec4 = ShadedSpanFormsOf<vec4::Tag>();
constinit const SkyForms kSkyVec4 = SkyFormsOf<vec4::Tag>();
constinit const SpanFillForms kSpanFillVec4 = SpanFillFormsOf<vec4::Tag>();
constinit const SunForms kSunVec4 = SunFormsOf<vec4::Tag>();

} // namespace veldmark
#endif
