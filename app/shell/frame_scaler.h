#pragma once
// Scales the 1920 x 1200 frame to any window size with a filter that averages every source
// pixel it covers, for hosts whose platform cannot scale for us (a bare X11 window). Shrinking
// uses a tent as wide as the scale, so a small preview shows the scene rather than aliasing;
// growing is bilinear. The tables are built when the size changes, never per frame.
//
// The arithmetic is fixed point: a vertical pass rounds each channel to 8 bits below its integer
// value, a horizontal pass rounds that to the output. Every form of the row code (one pixel,
// four or eight lanes: scaler_rows.h) does the same integer sums with the same roundings, so
// every SIMD level gives the same bits as the reference.
#include "app/shell/scaler_plan.h"
#include "render/simd/simd_level.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace veldmark {

class FrameScaler {
public:
    // Prepares for a destination of width x height (both positive). Allocates; call only when
    // the window's size changes. Takes the active SIMD level's row code (render/simd/simd_level.h).
    void Resize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }

    // Scales `source` (src_width x src_height pixels 0x00RRGGBB, rows `src_pitch` pixels apart)
    // into `dest`, whose rows are `dest_pitch` pixels apart. The source size and pitch are the
    // ones given to SetSource (the whole frame unless changed). Never allocates.
    void Scale(const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch);

    // As Scale, through the row code of `level`, lowered to one this machine and build have.
    // For tests and measuring.
    void ScaleWith(SimdLevel level, const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch);

    // The slow, obvious two-pass code every level is checked against: the whole vertical
    // pass into a buffer it allocates, then the horizontal pass. For tests and measuring.
    void ScaleReference(const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch) const;

    // The size of the pictures to scale and how many pixels apart their rows are (at least the
    // width; 0 means packed rows). The whole frame by default; a part of the frame is its
    // top-left pixel with the frame's pitch.
    void SetSource(int width, int height, std::size_t pitch = 0);

    // The level whose row code runs when `level` is asked for: lowered to what this build,
    // processor and operating system support.
    static SimdLevel AvailableLevel(SimdLevel level);

private:
    int src_width_ = 1920;
    int src_height_ = 1200;
    std::size_t src_pitch_ = 1920;
    int width_ = 0;
    int height_ = 0;
    SimdLevel level_ = SimdLevel::Scalar;
    ScalerPlan plan_;
    std::vector<std::uint16_t> row_;   // one row of the vertical pass, with room to read past it
};

} // namespace veldmark
