// The scaler's reference: a row at a time, a pixel at a time, a channel at a time, in three
// unsigned channels and two whole passes, without the row code's tables. Every form of the row
// code must give exactly what this gives.
#include "app/shell/frame_scaler.h"

#include <algorithm>

namespace veldmark {
namespace {

using Fixed = ScalerFixedPoint;

// Output row `row_index`'s vertical sums, rounded: src_width pixels of three 16-bit channels
// (R, G, B), from source rows src_pitch pixels apart.

void ScaleRowVertically(const ScalerTaps& y, std::size_t row_index, const std::uint32_t* source,
                        std::size_t src_width, std::size_t src_pitch, std::uint16_t* row)
{
    const std::uint16_t* w = y.weights.data() + y.offset[row_index];
    const std::size_t first = y.first[row_index];
    const std::size_t count = y.count[row_index];
    for (std::size_t x = 0; x < src_width; ++x) {
        std::uint32_t r = 0, g = 0, b = 0;
        for (std::size_t k = 0; k < count; ++k) {
            const std::uint32_t p = source[(first + k) * src_pitch + x];
            r += w[k] * ((p >> 16) & 0xFF);
            g += w[k] * ((p >> 8) & 0xFF);
            b += w[k] * (p & 0xFF);
        }
        constexpr std::uint32_t half = Fixed::kRowHalf;
        row[x * 3 + 0] = static_cast<std::uint16_t>((r + half) >> Fixed::kRowShift);
        row[x * 3 + 1] = static_cast<std::uint16_t>((g + half) >> Fixed::kRowShift);
        row[x * 3 + 2] = static_cast<std::uint16_t>((b + half) >> Fixed::kRowShift);
    }
}

// One output row from a row of ScaleRowVertically.

void ScaleRowHorizontally(const ScalerTaps& x_taps, const std::uint16_t* row, std::uint32_t* out)
{
    constexpr std::uint32_t kOutHalf = Fixed::kOutHalf;
    for (std::size_t x = 0; x < x_taps.first.size(); ++x) {
        const std::uint16_t* w = x_taps.weights.data() + x_taps.offset[x];
        const std::uint16_t* p = row + std::size_t{x_taps.first[x]} * 3;
        std::uint32_t r = 0, g = 0, b = 0;
        for (std::size_t k = 0; k < x_taps.count[x]; ++k) {
            r += w[k] * std::uint32_t{p[k * 3 + 0]};
            g += w[k] * std::uint32_t{p[k * 3 + 1]};
            b += w[k] * std::uint32_t{p[k * 3 + 2]};
        }
        const std::uint32_t rr = std::min<std::uint32_t>((r + kOutHalf) >> Fixed::kOutShift, 255);
        const std::uint32_t gg = std::min<std::uint32_t>((g + kOutHalf) >> Fixed::kOutShift, 255);
        const std::uint32_t bb = std::min<std::uint32_t>((b + kOutHalf) >> Fixed::kOutShift, 255);
        out[x] = (rr << 16) | (gg << 8) | bb;
    }
}

} // namespace

void FrameScaler::ScaleReference(const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch) const
{
    const auto src_w = static_cast<std::size_t>(src_width_);
    const auto height = static_cast<std::size_t>(height_);
    // Every vertical row first, then every horizontal one, as two separate passes.
    std::vector<std::uint16_t> rows(height * src_w * 3);
    for (std::size_t y = 0; y < height; ++y)
        ScaleRowVertically(plan_.y, y, source, src_w, src_pitch_, rows.data() + y * src_w * 3);
    for (std::size_t y = 0; y < height; ++y) ScaleRowHorizontally(plan_.x, rows.data() + y * src_w * 3, dest + y * dest_pitch);
}

} // namespace veldmark
