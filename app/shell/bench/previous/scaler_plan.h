// Frozen copy of the scaler's earlier hand-written SSE2/AVX2 code, kept only so that scaler_bench
// measures it beside the current row code in one run. Linked into no program.
#pragma once
// The frame scaler's tables, built once per size: the filter taps of each axis, and the same
// taps laid out for the vector paths (pairs of taps, because the 16-bit multiply-add sums two
// products a lane).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace veldmark::previous {

constexpr std::uint32_t kScalerWeightBits = 14;
constexpr std::uint32_t kScalerWeightOne = 1u << kScalerWeightBits;
// The vertical pass keeps 8 bits below each channel's integer value for the horizontal pass.
constexpr std::uint32_t kScalerRowShift = kScalerWeightBits - 8;
constexpr std::uint32_t kScalerOutShift = kScalerWeightBits + 8;

// One axis's filter: which source pixels each output coordinate averages, and how much of each.
struct ScalerTaps {
    std::vector<std::uint32_t> first;    // per output coordinate: first source index
    std::vector<std::uint32_t> count;    // and how many follow
    std::vector<std::uint32_t> offset;   // where its weights start in `weights`
    std::vector<std::uint16_t> weights;  // fixed point, each run sums to kScalerWeightOne
};

void BuildScalerTaps(ScalerTaps& taps, int source_size, int dest_size);

// Two source rows an output row adds up, with their weights (a second row of weight 0 when the
// count is odd).
struct RowPair {
    std::size_t offset_a = 0;   // first pixel of each row in the source
    std::size_t offset_b = 0;
    std::uint32_t weights[4] = {};   // a's weight in the low 16 bits, b's in the high, four times
};

// The vector paths' tables. Taps of weight 0 at either end of a run are dropped (they add
// nothing), which makes a same-size axis one tap of weight one.
struct ScalerPlan {
    std::size_t src_width = 0;
    std::size_t src_height = 0;
    std::size_t src_pitch = 0;   // pixels from one source row to the next
    std::size_t width = 0;
    std::size_t height = 0;
    bool same_columns = false;   // output column x is exactly source column x
    bool same_rows = false;      // likewise for rows

    std::vector<std::uint32_t> row_pairs_begin;   // height + 1 entries into row_pairs
    std::vector<RowPair> row_pairs;

    // Every output pixel sums column_pairs pairs of adjacent row-buffer pixels from
    // column_first; shorter runs are padded with weight 0. Weights are eight 16-bit values per
    // pixel and pair (w0 w1 four times), laid out pixel pair by pixel pair:
    // [pixels 2i, 2i+1] x [pair 0 .. column_pairs-1] x [pixel 2i, pixel 2i+1] x 8.
    std::size_t column_pairs = 0;
    std::vector<std::uint32_t> column_first;      // width rounded up to even
    std::vector<std::int16_t> column_weights;

    // Pixels in the row buffer (four 16-bit channels each): the source row and what the padded
    // pairs may read past it.
    std::size_t row_pixels = 0;
};

void BuildScalerPlan(ScalerPlan& plan, const ScalerTaps& x, const ScalerTaps& y, int src_width, int src_height,
                     std::size_t src_pitch);

} // namespace veldmark::previous
