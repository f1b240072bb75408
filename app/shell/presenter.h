#pragma once
// Puts the 1920 x 1200 frame into a drawing area of any size, the same way in every host (a
// window, a monitor's part of a root window, a preview, a headless picture): which part of the
// frame goes where (the placement), black where the frame does not reach, the scaling itself
// through FrameScaler, and the --fps line on top. Platform-free: the host hands over the area's
// size and a pixel buffer it owns; nothing here allocates except when the area's size changes.
//
// The frame is 16:10 and most screens are not, so the picture keeps its shape by default: a
// round sun stays round on a 16:9, 5:4 or 21:9 monitor.
#include <cstddef>
#include <cstdint>

#include "app/shell/fps_meter.h"
#include "app/shell/frame_scaler.h"
#include "app/shell/picture_fit.h"

namespace veldmark {

// A rectangle of pixels: the top-left corner and the size.
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};

// Where the picture goes: `source` (a part of the frame) is scaled onto `dest` (a part of the
// area); whatever of the area lies outside `dest` is black.
struct Placement {
    PixelRect source;
    PixelRect dest;
    bool operator==(const Placement&) const = default;
};

// Fill gives way to Fit when it would cut away more than this share of the frame's width or
// height (a portrait monitor, a very tall preview): a third, as numerator and denominator.
inline constexpr int kMostCutNumerator = 1;
inline constexpr int kMostCutDenominator = 3;

// The placement of a frame_width x frame_height frame in an area of area_width x area_height
// (all positive; an area with no pixels gives an empty dest). Whole pixels, centred: an odd
// leftover puts the extra pixel after the picture, never before it.
Placement PlacePicture(PictureFit fit, int area_width, int area_height, int frame_width, int frame_height);
// ...of the 1920 x 1200 frame.
Placement PlacePicture(PictureFit fit, int area_width, int area_height);

class Presenter {
public:
    explicit Presenter(PictureFit fit = PictureFit::Fill) : fit_(fit) {}

    // Changes how the picture is fitted; takes effect on the next Present.
    void SetFit(PictureFit fit);
    PictureFit fit() const { return fit_; }

    // Paints the frame (1920 x 1200, packed rows) into the area of width x height pixels at
    // `area`, whose rows are `pitch` pixels apart, then the --fps line when `fps` is given.
    // Plans again only when the area's size or the fit changed. An area with no pixels is
    // left alone.
    void Present(const std::uint32_t* frame, std::uint32_t* area, std::size_t pitch, int width, int height,
                 const FpsMeter* fps = nullptr);

    // The placement of the last Present (empty before the first).
    const Placement& placement() const { return placement_; }

private:
    void Plan(int width, int height);

    PictureFit fit_;
    bool planned_ = false;
    int width_ = 0;           // the area the plan is for
    int height_ = 0;
    Placement placement_;
    bool copy_ = false;       // source and dest are the same size: rows are copied, not scaled
    FrameScaler scaler_;
};

} // namespace veldmark
