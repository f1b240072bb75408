#pragma once
// Scales the 1920 x 1200 frame to any window size with a filter that averages every source
// pixel it covers, for hosts whose platform cannot scale for us (a bare X11 window). Shrinking
// uses a tent as wide as the scale, so a small preview shows the scene rather than aliasing;
// growing is bilinear. The tables are built when the size changes, never per frame.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace veldmark {

class FrameScaler {
public:
    // Prepares for a destination of width x height (both positive). Allocates; call only when
    // the window's size changes.
    void Resize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }

    // Scales `source` (src_width x src_height pixels 0x00RRGGBB, rows packed) into `dest`,
    // whose rows are `dest_pitch` pixels apart. The source size must be the one given to
    // SetSource (the frame's size unless changed).
    void Scale(const std::uint32_t* source, std::uint32_t* dest, std::size_t dest_pitch);

    // The size of the pictures to scale; the frame's by default.
    void SetSource(int width, int height);

private:
    struct Taps {
        std::vector<std::uint32_t> first;    // per output coordinate: first source index
        std::vector<std::uint32_t> count;    // and how many follow
        std::vector<std::uint32_t> offset;   // where its weights start in `weights`
        std::vector<std::uint16_t> weights;  // fixed point, each run sums to kWeightOne
    };
    static void BuildTaps(Taps& taps, int source_size, int dest_size);

    int src_width_ = 1920;
    int src_height_ = 1200;
    int width_ = 0;
    int height_ = 0;
    Taps x_;
    Taps y_;
    std::vector<std::uint16_t> rows_;   // vertical pass: height_ rows of src_width_ x 3 channels
};

} // namespace veldmark
