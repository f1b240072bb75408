#pragma once
// The picture the page puts on its canvas: the frame as the presenter places it in the canvas's
// size in device pixels, in the byte order a canvas's ImageData holds (red, green, blue, alpha).
// Platform-free: the page's script only hands these bytes to putImageData.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/shell/fps_meter.h"
#include "app/shell/presenter.h"

namespace veldmark::web {

// The largest canvas side drawn in device pixels; a larger canvas gets a picture of at most
// this size, which the browser stretches (it keeps the memory for a picture bounded).
inline constexpr int kMaxCanvasSide = 4096;

struct CanvasSize {
    int width = 0;
    int height = 0;
};

// The canvas's size in device pixels for a layout size in CSS pixels and the page's
// devicePixelRatio: rounded to nearest, at least 1 x 1, and shrunk with its shape kept when a
// side exceeds kMaxCanvasSide. Nonsense (NaN, negative, infinite) counts as 1 x 1 at ratio 1.
CanvasSize CanvasSizeFor(double css_width, double css_height, double device_pixel_ratio);

struct CanvasPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;   // width x height words, bytes R, G, B, A in memory
    Presenter presenter;                 // as every host: the picture keeps its shape (fill)
};

// Prepares the picture for a canvas of `size`. Allocates only when the size changes, never per
// frame (the presenter plans again on its first frame of a new size).
void ResizeCanvasPicture(CanvasPicture& picture, CanvasSize size);

// Draws a 1920 x 1200 frame (0x00RRGGBB) into the picture through the presenter (which part of
// the frame goes where, the scaling, the overlay when there is one), then turns it into the
// canvas's byte order.
void DrawFrameToCanvas(const std::uint32_t* frame, CanvasPicture& picture, const FpsMeter* overlay);

// 0x00RRGGBB words to the canvas's bytes R, G, B, A (A opaque), in place.
void ToCanvasByteOrder(std::uint32_t* pixels, std::size_t count);

} // namespace veldmark::web
