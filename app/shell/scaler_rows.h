#pragma once
// The code that runs a frame through the scaler's plan, row by row: each output row is the
// vertical sums of the source rows it covers, then the horizontal sums along them, while that
// one row is in the cache; a same-size width rounds the vertical sums straight to pixels, and a
// same-size frame is a copy.
//
// Both sums are 16-bit values times 16-bit weights added in 32 bits, which is exact, and are
// rounded as the reference rounds them. The row buffer between the passes holds four signed
// 16-bit channels a pixel (blue, green, red and the unused top byte), each the reference's row
// value less ScalerFixedPoint::kRowBias.
//
// The one-pixel form below is what the lane forms (scaler_lanes.h) compute for every pixel, and
// what they finish each row with.
#include "app/shell/scaler_plan.h"
#include "render/simd/simd_level.h"

#include <cstddef>
#include <cstdint>

// The lane forms' inner sums return several vectors; the compiler must inline them into the
// loops, where every accumulator stays in a register, rather than call them a group at a time.
#if defined(__GNUC__) || defined(__clang__)
#define VELDMARK_SCALER_INLINE inline __attribute__((always_inline))
#else
#define VELDMARK_SCALER_INLINE inline
#endif

namespace veldmark {

// The whole frame. `row` holds plan.row_pixels * 4 values, those past plan.src_width pixels zero.
using ScaleFrameFn = void (*)(const ScalerPlan& plan, const std::uint32_t* source, std::uint32_t* dest,
                              std::size_t dest_pitch, std::uint16_t* row);

struct ScalerForms {
    ScaleFrameFn scale_frame;
};
extern const ScalerForms kScalerScalar;
extern const ScalerForms kScalerVec4;   // scaler_vec4.cpp
extern const ScalerForms kScalerVec8;   // scaler_vec8.cpp

// The widest form `level` allows that this build has.
const ScalerForms& ScalerFormsFor(SimdLevel level);

// ---- One pixel at a time: source pixels or output pixels x .. end - 1 of one output row ----

// Output row's vertical sums into the row buffer.
void VerticalPixelsToRow(const RowPair* pairs, std::size_t count, const std::uint32_t* source, std::size_t x,
                         std::size_t end, std::uint16_t* row);
// For a same-size width: the vertical sums rounded straight to output pixels.
void VerticalPixelsToOutput(const RowPair* pairs, std::size_t count, const std::uint32_t* source, std::size_t x,
                            std::size_t end, std::uint32_t* out);
// Output pixels from the row buffer.
void HorizontalPixels(const ScalerPlan& plan, const std::uint16_t* row, std::size_t x, std::size_t end,
                      std::uint32_t* out);
// A same-size row: the pixels without their top byte.
void CopyPixels(const std::uint32_t* in, std::size_t x, std::size_t end, std::uint32_t* out);

} // namespace veldmark
