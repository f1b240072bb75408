#pragma once
// The frame scaler's tables, built once per size: the filter taps of each axis, and the same
// taps laid out for the row code (pairs of taps, because the 16-bit multiply-add sums two
// products a lane).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace veldmark {

// The scaler's fixed point, shared by the reference and every form of the row code.
struct ScalerFixedPoint {
    static constexpr std::uint32_t kWeightBits = 14;
    static constexpr std::uint32_t kWeightOne = 1u << kWeightBits;   // what each run of weights sums to
    // The vertical pass keeps 8 bits below each channel's integer value for the horizontal one.
    static constexpr std::uint32_t kRowShift = kWeightBits - 8;
    static constexpr std::uint32_t kOutShift = kWeightBits + 8;
    static constexpr std::int32_t kRowHalf = 1 << (kRowShift - 1);
    static constexpr std::int32_t kOutHalf = 1 << (kOutShift - 1);

    // The row code keeps each row value (0 .. 65280) less kRowBias, so that it fits a signed
    // 16-bit lane: floor((s + half) / 64) - bias is floor((s + half - bias * 64) / 64), one add
    // and one shift.
    static constexpr std::int32_t kRowBias = 32768;
    static constexpr std::int32_t kRowRoundBiased = kRowHalf - (kRowBias << kRowShift);
    // The horizontal pass adds the bias back times the weights' sum (one) with its rounding.
    static constexpr std::int32_t kColumnRound = (kRowBias << kWeightBits) + kOutHalf;
    // A same-size width makes the horizontal pass (v * one + half) >> 22, which is (v + 128) >> 8;
    // both roundings at once: ((s + 32) >> 6 + 128) >> 8 == (s + 32 + 128 * 64) >> 14.
    static constexpr std::int32_t kSameColumnsRound = kRowHalf + (128 << kRowShift);
    static constexpr std::uint32_t kColourBits = 0x00FFFFFF;   // a pixel without its unused top byte
};

// One axis's filter: which source pixels each output coordinate averages, and how much of each.
struct ScalerTaps {
    std::vector<std::uint32_t> first;    // per output coordinate: first source index
    std::vector<std::uint32_t> count;    // and how many follow
    std::vector<std::uint32_t> offset;   // where its weights start in `weights`
    std::vector<std::uint16_t> weights;  // fixed point, each run sums to kWeightOne
};

void BuildScalerTaps(ScalerTaps& taps, int source_size, int dest_size);

// Two source rows an output row adds up, with their weights (a second row of weight 0 when the
// count is odd).
struct RowPair {
    std::size_t offset_a = 0;   // first pixel of each row in the source
    std::size_t offset_b = 0;
    // a's weight in the low 16 bits, b's in the high; once for each of up to eight lanes, so
    // that the row code loads them as they are, whatever its width.
    std::uint32_t weights[8] = {};
};

// Both axes' taps, and the row code's tables. Taps of weight 0 at either end of a run are
// dropped (they add nothing), which makes a same-size axis one tap of weight one.
struct ScalerPlan {
    ScalerTaps x;
    ScalerTaps y;
    std::size_t src_width = 0;
    std::size_t src_height = 0;
    std::size_t src_pitch = 0;   // pixels from one source row to the next
    std::size_t width = 0;
    std::size_t height = 0;
    bool same_columns = false;   // output column x is exactly source column x
    bool same_rows = false;      // likewise for rows

    std::vector<std::uint32_t> row_pairs_begin;   // height + 1 entries into row_pairs
    std::vector<RowPair> row_pairs;

    // Every output pixel x sums column_pairs pairs of neighbouring row pixels from
    // column_first[x]; shorter runs are padded with weight 0. Pair k of pixel x has eight 16-bit
    // weights (the pair's two, four times, one for each channel) at ColumnWeightsAt(column_pairs, x, k), laid
    // out so that one load gives the row code's vector of pixels x and x + 4 (see scaler_lanes.h).
    std::size_t column_pairs = 0;
    std::vector<std::uint32_t> column_first;
    std::vector<std::uint16_t> column_weights;

    // Pixels in the row buffer (four 16-bit channels each): the source row and what the padded
    // pairs may read past it.
    std::size_t row_pixels = 0;
};

// Where pair k of output pixel x has its weights in column_weights, with `pairs` pairs a pixel:
// in groups of eight pixels, pair by pair, pixels i and i + 4 of a group side by side. So within
// a group the next pair is kColumnPairStride values on, and pixel i + 1 (i < 3) kColumnPixelStride.
constexpr std::size_t kColumnPixelStride = 16;
constexpr std::size_t kColumnPairStride = 4 * kColumnPixelStride;
constexpr std::size_t ColumnWeightsAt(std::size_t pairs, std::size_t x, std::size_t k)
{
    return ((x / 8) * pairs + k) * kColumnPairStride + x % 4 * kColumnPixelStride + (x % 8 / 4) * 8;
}

// The whole plan for scaling src_width x src_height (rows src_pitch pixels apart) to
// width x height.
void BuildScalerPlan(ScalerPlan& plan, int src_width, int src_height, std::size_t src_pitch, int width, int height);

} // namespace veldmark
