#include "app/shell/frame_scaler.h"

#include <algorithm>
#include <cmath>

namespace veldmark {
namespace {

constexpr std::uint32_t kWeightBits = 14;
constexpr std::uint32_t kWeightOne = 1u << kWeightBits;
// The vertical pass keeps 8 bits below each channel's integer value for the horizontal pass.
constexpr std::uint32_t kRowShift = kWeightBits - 8;

} // namespace

void FrameScaler::SetSource(int width, int height)
{
    src_width_ = std::max(width, 1);
    src_height_ = std::max(height, 1);
    if (width_ > 0 && height_ > 0) Resize(width_, height_);
}

void FrameScaler::BuildTaps(Taps& taps, int source_size, int dest_size)
{
    taps.first.assign(static_cast<std::size_t>(dest_size), 0);
    taps.count.assign(static_cast<std::size_t>(dest_size), 0);
    taps.offset.assign(static_cast<std::size_t>(dest_size), 0);
    taps.weights.clear();
    const double scale = static_cast<double>(source_size) / dest_size;
    const double radius = std::max(scale, 1.0);
    std::vector<double> w;
    for (int i = 0; i < dest_size; ++i) {
        const double centre = (i + 0.5) * scale - 0.5;
        const int lo = std::max(0, static_cast<int>(std::ceil(centre - radius)));
        const int hi = std::min(source_size - 1, static_cast<int>(std::floor(centre + radius)));
        w.clear();
        double sum = 0.0;
        for (int j = lo; j <= hi; ++j) {
            const double weight = std::max(0.0, 1.0 - std::abs(j - centre) / radius);
            w.push_back(weight);
            sum += weight;
        }
        int first = lo;
        if (sum <= 0.0) {   // the centre sits exactly on one pixel at the edge
            w.assign(1, 1.0);
            sum = 1.0;
            first = std::clamp(static_cast<int>(std::lround(centre)), 0, source_size - 1);
        }
        // Round each weight, then give the rounding error to the largest so the run sums to one
        // exactly and a flat colour stays exactly that colour.
        const auto index = static_cast<std::size_t>(i);
        taps.first[index] = static_cast<std::uint32_t>(first);
        taps.count[index] = static_cast<std::uint32_t>(w.size());
        taps.offset[index] = static_cast<std::uint32_t>(taps.weights.size());
        std::uint32_t total = 0;
        std::size_t largest = taps.weights.size();
        for (double weight : w) {
            const auto fixed = static_cast<std::uint32_t>(std::lround(weight / sum * kWeightOne));
            if (taps.weights.size() == largest || fixed > taps.weights[largest]) largest = taps.weights.size();
            taps.weights.push_back(static_cast<std::uint16_t>(fixed));
            total += fixed;
        }
        taps.weights[largest] = static_cast<std::uint16_t>(taps.weights[largest] + kWeightOne - total);
    }
}

void FrameScaler::Resize(int width, int height)
{
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
    BuildTaps(x_, src_width_, width_);
    BuildTaps(y_, src_height_, height_);
    rows_.assign(static_cast<std::size_t>(height_) * static_cast<std::size_t>(src_width_) * 3, 0);
}

void FrameScaler::Scale(const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch)
{
    const auto src_w = static_cast<std::size_t>(src_width_);
    // Vertical pass: each output row is a weighted sum of source rows, per channel.
    for (std::size_t y = 0; y < static_cast<std::size_t>(height_); ++y) {
        std::uint16_t* row = rows_.data() + y * src_w * 3;
        const std::uint16_t* w = y_.weights.data() + y_.offset[y];
        const std::size_t first = y_.first[y];
        const std::size_t count = y_.count[y];
        for (std::size_t x = 0; x < src_w; ++x) {
            std::uint32_t r = 0, g = 0, b = 0;
            for (std::size_t k = 0; k < count; ++k) {
                const std::uint32_t p = source[(first + k) * src_w + x];
                r += w[k] * ((p >> 16) & 0xFF);
                g += w[k] * ((p >> 8) & 0xFF);
                b += w[k] * (p & 0xFF);
            }
            constexpr std::uint32_t half = 1u << (kRowShift - 1);
            row[x * 3 + 0] = static_cast<std::uint16_t>((r + half) >> kRowShift);
            row[x * 3 + 1] = static_cast<std::uint16_t>((g + half) >> kRowShift);
            row[x * 3 + 2] = static_cast<std::uint16_t>((b + half) >> kRowShift);
        }
    }
    // Horizontal pass: each output pixel is a weighted sum along its row.
    constexpr std::uint32_t kOutShift = kWeightBits + 8;
    constexpr std::uint32_t kOutHalf = 1u << (kOutShift - 1);
    for (std::size_t y = 0; y < static_cast<std::size_t>(height_); ++y) {
        const std::uint16_t* row = rows_.data() + y * src_w * 3;
        std::uint32_t* out = dest + y * dest_pitch;
        for (std::size_t x = 0; x < static_cast<std::size_t>(width_); ++x) {
            const std::uint16_t* w = x_.weights.data() + x_.offset[x];
            const std::uint16_t* p = row + std::size_t{x_.first[x]} * 3;
            std::uint32_t r = 0, g = 0, b = 0;
            for (std::size_t k = 0; k < x_.count[x]; ++k) {
                r += w[k] * std::uint32_t{p[k * 3 + 0]};
                g += w[k] * std::uint32_t{p[k * 3 + 1]};
                b += w[k] * std::uint32_t{p[k * 3 + 2]};
            }
            const std::uint32_t rr = std::min<std::uint32_t>((r + kOutHalf) >> kOutShift, 255);
            const std::uint32_t gg = std::min<std::uint32_t>((g + kOutHalf) >> kOutShift, 255);
            const std::uint32_t bb = std::min<std::uint32_t>((b + kOutHalf) >> kOutShift, 255);
            out[x] = (rr << 16) | (gg << 8) | bb;
        }
    }
}

} // namespace veldmark
