// The frame scaler's rows compiled four lanes wide (render/simd/vec4.h).
#include "render/simd/vec4.h"

#if defined(VELDMARK_VEC4)
#include "app/shell/scaler_rows.h"

#include <type_traits>

#include "app/shell/scaler_lanes.h"

namespace veldmark {

constinit const ScalerForms kScalerVec4 = ScalerFormsOf<vec4::Tag>();

} // namespace veldmark
#endif
