#include "app/shell/frame_scaler.h"

#include "app/shell/scaler_rows.h"

#include <algorithm>

namespace veldmark {

SimdLevel FrameScaler::AvailableLevel(SimdLevel level) { return std::min(level, SupportedSimdLevel()); }

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
    BuildScalerPlan(plan_, src_width_, src_height_, src_pitch_, width_, height_);
    // Room for the reference's three channels or the row code's four, and the padding the row
    // code reads as zero.
    row_.assign(std::max(plan_.row_pixels * 4, plan_.src_width * 3), 0);
    level_ = AvailableLevel(ActiveSimdLevel());
}

void FrameScaler::Scale(const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch)
{
    ScalerFormsFor(level_).scale_frame(plan_, source, dest, dest_pitch, row_.data());
}

void FrameScaler::ScaleWith(SimdLevel level, const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch)
{
    ScalerFormsFor(AvailableLevel(level)).scale_frame(plan_, source, dest, dest_pitch, row_.data());
}

} // namespace veldmark
