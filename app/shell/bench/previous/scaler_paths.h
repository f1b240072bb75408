// Frozen copy of the scaler's earlier hand-written SSE2/AVX2 code, kept only so that scaler_bench
// measures it beside the current row code in one run. Linked into no program.
#pragma once
// The code that runs a frame through the scaler's tables. The plain rows serve the reference
// and the portable path; the vector paths exist on x86-64 only.
#include "app/shell/bench/previous/scaler_plan.h"

#include <cstddef>
#include <cstdint>

namespace veldmark::previous {

// Output row y's vertical sums, rounded: src_width pixels of three 16-bit channels (R, G, B),
// from source rows src_pitch pixels apart.
void ScaleRowVertically(const ScalerTaps& y, std::size_t row_index, const std::uint32_t* source,
                        std::size_t src_width, std::size_t src_pitch, std::uint16_t* row);

// One output row from a row of ScaleRowVertically.
void ScaleRowHorizontally(const ScalerTaps& x, const std::uint16_t* row, std::uint32_t* out);

#if defined(__x86_64__) || defined(_M_X64)
#define VELDMARK_SCALER_SSE2 1
// The whole frame; `row` holds plan.row_pixels * 4 values, its last
// plan.row_pixels - plan.src_width pixels zero.
void ScaleFrameSse2(const ScalerPlan& plan, const std::uint32_t* source, std::uint32_t* dest,
                    std::size_t dest_pitch, std::int16_t* row);
void ScaleFrameAvx2(const ScalerPlan& plan, const std::uint32_t* source, std::uint32_t* dest,
                    std::size_t dest_pitch, std::int16_t* row);
#endif

} // namespace veldmark::previous
