// The frame scaler's rows compiled eight lanes wide (render/simd/vec8.h), inside the AVX2
// region with everything they call from outside it included first (see vec8_begin.h). They run
// only where the processor has AVX2 (render/simd/simd_paths.h).
#include "render/simd/vec8.h"

#if defined(VELDMARK_VEC8)
#include "app/shell/scaler_rows.h"

#include <type_traits>

#include "render/simd/vec8_begin.h"
#include "app/shell/scaler_lanes.h"
#include "render/simd/vec8_end.h"

namespace veldmark {

constinit const ScalerForms kScalerVec8 = ScalerFormsOf<vec8::Tag>();

} // namespace veldmark
#endif
