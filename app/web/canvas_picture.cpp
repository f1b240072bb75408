#include "app/web/canvas_picture.h"

#include <algorithm>
#include <cmath>

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

namespace veldmark::web {
namespace {

// A side in device pixels: rounded, kept in [1, kMaxCanvasSide] before any conversion to int.
double DeviceSide(double css, double ratio)
{
    const double side = std::round(css * ratio);
    return std::isfinite(side) ? std::clamp(side, 1.0, 1.0e9) : 1.0;
}

} // namespace

CanvasSize CanvasSizeFor(double css_width, double css_height, double device_pixel_ratio)
{
    if (!(device_pixel_ratio > 0.0) || !std::isfinite(device_pixel_ratio)) device_pixel_ratio = 1.0;
    double width = DeviceSide(css_width, device_pixel_ratio);
    double height = DeviceSide(css_height, device_pixel_ratio);
    const double largest = std::max(width, height);
    if (largest > kMaxCanvasSide) {
        const double shrink = kMaxCanvasSide / largest;
        width = std::clamp(std::round(width * shrink), 1.0, static_cast<double>(kMaxCanvasSide));
        height = std::clamp(std::round(height * shrink), 1.0, static_cast<double>(kMaxCanvasSide));
    }
    return {static_cast<int>(width), static_cast<int>(height)};
}

void ResizeCanvasPicture(CanvasPicture& picture, CanvasSize size)
{
    size.width = std::clamp(size.width, 1, kMaxCanvasSide);
    size.height = std::clamp(size.height, 1, kMaxCanvasSide);
    if (size.width == picture.width && size.height == picture.height) return;
    picture.width = size.width;
    picture.height = size.height;
    picture.pixels.assign(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height), 0);
}

void DrawFrameToCanvas(const std::uint32_t* frame, CanvasPicture& picture, const FpsMeter* overlay)
{
    if (picture.pixels.empty()) return;
    picture.presenter.Present(frame, picture.pixels.data(), static_cast<std::size_t>(picture.width), picture.width,
                              picture.height, overlay);
    ToCanvasByteOrder(picture.pixels.data(), picture.pixels.size());
}

void ToCanvasByteOrder(std::uint32_t* pixels, std::size_t count)
{
    // Little-endian words: the canvas's R, G, B, A bytes are the word 0xAABBGGRR, so red and
    // blue trade places.
    std::size_t i = 0;
#if defined(__wasm_simd128__)
    // In the browser this pass runs on the page's thread for every frame: one byte shuffle and
    // one OR for four pixels.
    const v128_t opaque = wasm_i32x4_splat(static_cast<std::int32_t>(0xFF000000u));
    for (; i + 4 <= count; i += 4) {
        const v128_t p = wasm_v128_load(pixels + i);
        const v128_t swapped = wasm_i8x16_shuffle(p, p, 2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
        wasm_v128_store(pixels + i, wasm_v128_or(swapped, opaque));
    }
#endif
    for (; i < count; ++i) {
        const std::uint32_t p = pixels[i];
        pixels[i] = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
    }
}

} // namespace veldmark::web
