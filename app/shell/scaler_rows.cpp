#include "app/shell/scaler_rows.h"

#include "render/simd/simd_paths.h"

namespace veldmark {
namespace {

using Fixed = ScalerFixedPoint;

// The four bytes' vertical sums of source column x.
void ColumnSums(const RowPair* pairs, std::size_t count, const std::uint32_t* source, std::size_t x,
                std::int32_t sums[4])
{
    for (int c = 0; c < 4; ++c) sums[c] = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t a = source[pairs[k].offset_a + x];
        const std::uint32_t b = source[pairs[k].offset_b + x];
        const auto wa = static_cast<std::int32_t>(pairs[k].weights[0] & 0xFFFF);
        const auto wb = static_cast<std::int32_t>(pairs[k].weights[0] >> 16);
        for (int c = 0; c < 4; ++c)
            sums[c] += wa * static_cast<std::int32_t>((a >> (8 * c)) & 0xFF) +
                       wb * static_cast<std::int32_t>((b >> (8 * c)) & 0xFF);
    }
}

std::int32_t Signed(std::uint16_t v) { return static_cast<std::int16_t>(v); }

void ScaleFrameOneByOne(const ScalerPlan& plan, const std::uint32_t* source, std::uint32_t* dest,
                        std::size_t dest_pitch, std::uint16_t* row)
{
    for (std::size_t y = 0; y < plan.height; ++y) {
        std::uint32_t* out = dest + y * dest_pitch;
        if (plan.same_columns && plan.same_rows) {
            CopyPixels(source + y * plan.src_pitch, 0, plan.width, out);
            continue;
        }
        const RowPair* pairs = plan.row_pairs.data() + plan.row_pairs_begin[y];
        const std::size_t count = plan.row_pairs_begin[y + 1] - plan.row_pairs_begin[y];
        if (plan.same_columns) {
            VerticalPixelsToOutput(pairs, count, source, 0, plan.width, out);
            continue;
        }
        VerticalPixelsToRow(pairs, count, source, 0, plan.src_width, row);
        HorizontalPixels(plan, row, 0, plan.width, out);
    }
}

} // namespace

const ScalerForms kScalerScalar{ScaleFrameOneByOne};

const ScalerForms& ScalerFormsFor(SimdLevel level)
{
    return *PathFor(SimdPaths<const ScalerForms*>{&kScalerScalar, VELDMARK_IF_VEC4(&kScalerVec4),
                                                  VELDMARK_IF_VEC8(&kScalerVec8)},
                    level);
}

void VerticalPixelsToRow(const RowPair* pairs, std::size_t count, const std::uint32_t* source, std::size_t x,
                         std::size_t end, std::uint16_t* row)
{
    for (; x < end; ++x) {
        std::int32_t sums[4];
        ColumnSums(pairs, count, source, x, sums);
        for (std::size_t c = 0; c < 4; ++c)
            row[x * 4 + c] = static_cast<std::uint16_t>((sums[c] + Fixed::kRowRoundBiased) >> Fixed::kRowShift);
    }
}

void VerticalPixelsToOutput(const RowPair* pairs, std::size_t count, const std::uint32_t* source, std::size_t x,
                            std::size_t end, std::uint32_t* out)
{
    for (; x < end; ++x) {
        std::int32_t sums[4];
        ColumnSums(pairs, count, source, x, sums);
        std::uint32_t pixel = 0;
        for (int c = 0; c < 3; ++c)
            pixel |= static_cast<std::uint32_t>((sums[c] + Fixed::kSameColumnsRound) >> Fixed::kWeightBits) << (8 * c);
        out[x] = pixel;
    }
}

void HorizontalPixels(const ScalerPlan& plan, const std::uint16_t* row, std::size_t x, std::size_t end,
                      std::uint32_t* out)
{
    const std::size_t pair_count = plan.column_pairs;
    for (; x < end; ++x) {
        const std::uint16_t* p = row + std::size_t{plan.column_first[x]} * 4;
        std::int32_t sums[4] = {};
        for (std::size_t k = 0; k < pair_count; ++k, p += 8) {
            const std::uint16_t* w = plan.column_weights.data() + ColumnWeightsAt(pair_count, x, k);
            for (std::size_t c = 0; c < 4; ++c)
                sums[c] += Signed(p[c]) * Signed(w[2 * c]) + Signed(p[4 + c]) * Signed(w[2 * c + 1]);
        }
        std::uint32_t pixel = 0;
        for (int c = 0; c < 3; ++c) {
            const std::int32_t v = (sums[c] + Fixed::kColumnRound) >> Fixed::kOutShift;
            pixel |= static_cast<std::uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v) << (8 * c);
        }
        out[x] = pixel;
    }
}

void CopyPixels(const std::uint32_t* in, std::size_t x, std::size_t end, std::uint32_t* out)
{
    for (; x < end; ++x) out[x] = in[x] & Fixed::kColourBits;
}

} // namespace veldmark
