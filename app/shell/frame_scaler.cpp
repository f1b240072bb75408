#include "app/shell/frame_scaler.h"

#include "app/shell/scaler_paths.h"
#include "render/simd/simd_level.h"

#include <algorithm>

namespace veldmark {

ScalerPath FrameScaler::AvailablePath(ScalerPath path)
{
#if defined(VELDMARK_SCALER_SSE2)
    if (path == ScalerPath::Avx2 && ActiveSimdLevel() < SimdLevel::Vec8) return ScalerPath::Sse2;
    return path;
#else
    (void)path;
    return ScalerPath::Portable;
#endif
}

ScalerPath FrameScaler::BestPath() { return AvailablePath(ScalerPath::Avx2); }

void FrameScaler::SetSource(int width, int height, std::size_t pitch)
{
    src_width_ = std::max(width, 1);
    src_height_ = std::max(height, 1);
    src_pitch_ = std::max(pitch, static_cast<std::size_t>(src_width_));
    if (width_ > 0 && height_ > 0) Resize(width_, height_);
}

void FrameScaler::Resize(int width, int height)
{
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
    BuildScalerTaps(x_, src_width_, width_);
    BuildScalerTaps(y_, src_height_, height_);
    BuildScalerPlan(plan_, x_, y_, src_width_, src_height_, src_pitch_);
    // Room for the portable path's three channels or the vector paths' four, and the padding
    // the vector paths read as zero.
    row_.assign(std::max(plan_.row_pixels * 4, plan_.src_width * 3), 0);
    path_ = BestPath();
}

void FrameScaler::Scale(const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch)
{
    ScaleWith(path_, source, dest, dest_pitch);
}

void FrameScaler::ScaleWith(ScalerPath path, const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch)
{
    switch (AvailablePath(path)) {
#if defined(VELDMARK_SCALER_SSE2)
    // The vector paths keep signed 16-bit channels in the row; the same storage, reinterpreted.
    case ScalerPath::Avx2:
        ScaleFrameAvx2(plan_, source, dest, dest_pitch, reinterpret_cast<std::int16_t*>(row_.data()));
        return;
    case ScalerPath::Sse2:
        ScaleFrameSse2(plan_, source, dest, dest_pitch, reinterpret_cast<std::int16_t*>(row_.data()));
        return;
#endif
    default: break;
    }
    // Portable: the reference's two passes, a row at a time so the row stays in the cache.
    for (std::size_t y = 0; y < plan_.height; ++y) {
        ScaleRowVertically(y_, y, source, plan_.src_width, plan_.src_pitch, row_.data());
        ScaleRowHorizontally(x_, row_.data(), dest + y * dest_pitch);
    }
}

} // namespace veldmark
