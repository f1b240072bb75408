#pragma once
// Scales the 1920 x 1200 frame to any window size with a filter that averages every source
// pixel it covers, for hosts whose platform cannot scale for us (a bare X11 window). Shrinking
// uses a tent as wide as the scale, so a small preview shows the scene rather than aliasing;
// growing is bilinear. The tables are built when the size changes, never per frame.
//
// The arithmetic is fixed point: a vertical pass rounds each channel to 8 bits below its integer
// value, a horizontal pass rounds that to the output. The vector paths (SSE2, AVX2) do the same
// integer sums with the same roundings, so every path gives the same bits as the plain one.
#include "app/shell/scaler_plan.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace veldmark {

// The code that fills the destination: the plain one-pixel code (every processor) or a vector
// path (x86-64 only; a path the machine lacks is never taken).
enum class ScalerPath { Portable = 0, Sse2 = 1, Avx2 = 2 };

class FrameScaler {
public:
    // Prepares for a destination of width x height (both positive). Allocates; call only when
    // the window's size changes. Picks the fastest path the processor has (render/simd/simd_level.h).
    void Resize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }

    // Scales `source` (src_width x src_height pixels 0x00RRGGBB, rows `src_pitch` pixels apart)
    // into `dest`, whose rows are `dest_pitch` pixels apart. The source size and pitch are the
    // ones given to SetSource (the whole frame unless changed). Never allocates.
    void Scale(const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch);

    // As Scale, through the given path, lowered to one the machine has. For tests and measuring.
    void ScaleWith(ScalerPath path, const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch);

    // The slow, obvious two-pass code the fast paths are checked against: the whole vertical
    // pass into a buffer it allocates, then the horizontal pass. For tests and measuring.
    void ScaleReference(const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch) const;

    // The size of the pictures to scale and how many pixels apart their rows are (at least the
    // width; 0 means packed rows). The whole frame by default; a part of the frame is its
    // top-left pixel with the frame's pitch.
    void SetSource(int width, int height, std::size_t pitch = 0);

    // The best path this machine has, as the active SIMD level allows.
    static ScalerPath BestPath();
    // `path` lowered to what this machine (and build) supports.
    static ScalerPath AvailablePath(ScalerPath path);

private:
    int src_width_ = 1920;
    int src_height_ = 1200;
    std::size_t src_pitch_ = 1920;
    int width_ = 0;
    int height_ = 0;
    ScalerPath path_ = ScalerPath::Portable;
    ScalerTaps x_;
    ScalerTaps y_;
    ScalerPlan plan_;
    std::vector<std::uint16_t> row_;   // one row of the vertical pass, with room to read past it
};

} // namespace veldmark
