#include "app/shell/presenter.h"

#include <algorithm>
#include <cstring>

#include "world/limits.h"

namespace veldmark {
namespace {

// n / d rounded to nearest, halves up; n >= 0, d > 0.
std::int64_t RoundedQuotient(std::int64_t n, std::int64_t d) { return (2 * n + d) / (2 * d); }

int Clamped(std::int64_t v, int low, int high) { return static_cast<int>(std::clamp<std::int64_t>(v, low, high)); }

// The part of the frame a uniform scale that covers the area shows: whole along the axis where
// the area is relatively longer, centred and cut along the other. Returns false when that cut
// would be more than kMostCut of the frame.
bool FillSource(std::int64_t w, std::int64_t h, std::int64_t fw, std::int64_t fh, PixelRect& source)
{
    constexpr std::int64_t keep_num = kMostCutDenominator - kMostCutNumerator;   // 2 of 3 at least
    constexpr std::int64_t keep_den = kMostCutDenominator;
    if (w * fh >= h * fw) {
        // Wider than the frame (or the same shape): the full width, rows cut. The exact visible
        // height is h * fw / w; it must keep at least two thirds of fh.
        if (h * fw * keep_den < keep_num * fh * w) return false;
        const int rows = Clamped(RoundedQuotient(h * fw, w), 1, static_cast<int>(fh));
        source = {0, (static_cast<int>(fh) - rows) / 2, static_cast<int>(fw), rows};
    } else {
        if (w * fh * keep_den < keep_num * fw * h) return false;
        const int columns = Clamped(RoundedQuotient(w * fh, h), 1, static_cast<int>(fw));
        source = {(static_cast<int>(fw) - columns) / 2, 0, columns, static_cast<int>(fh)};
    }
    return true;
}

// The largest rectangle of the frame's shape inside the area, centred.
PixelRect FitDest(std::int64_t w, std::int64_t h, std::int64_t fw, std::int64_t fh)
{
    if (w * fh >= h * fw) {
        const int columns = Clamped(RoundedQuotient(h * fw, fh), 1, static_cast<int>(w));
        return {(static_cast<int>(w) - columns) / 2, 0, columns, static_cast<int>(h)};
    }
    const int rows = Clamped(RoundedQuotient(w * fh, fw), 1, static_cast<int>(h));
    return {0, (static_cast<int>(h) - rows) / 2, static_cast<int>(w), rows};
}

void FillRect(std::uint32_t* area, std::size_t pitch, int x, int y, int width, int height)
{
    if (width <= 0 || height <= 0) return;
    for (int row = 0; row < height; ++row) {
        std::uint32_t* line = area + static_cast<std::size_t>(y + row) * pitch + static_cast<std::size_t>(x);
        std::fill(line, line + width, 0u);
    }
}

} // namespace

Placement PlacePicture(PictureFit fit, int area_width, int area_height, int frame_width, int frame_height)
{
    Placement placement;
    placement.source = {0, 0, frame_width, frame_height};
    if (area_width <= 0 || area_height <= 0 || frame_width <= 0 || frame_height <= 0) return placement;
    const std::int64_t w = area_width, h = area_height, fw = frame_width, fh = frame_height;
    placement.dest = {0, 0, area_width, area_height};
    if (fit == PictureFit::Stretch) return placement;
    if (fit == PictureFit::Fill && FillSource(w, h, fw, fh, placement.source)) return placement;
    placement.source = {0, 0, frame_width, frame_height};
    placement.dest = FitDest(w, h, fw, fh);
    return placement;
}

Placement PlacePicture(PictureFit fit, int area_width, int area_height)
{
    return PlacePicture(fit, area_width, area_height, kFrameWidth, kFrameHeight);
}

void Presenter::SetFit(PictureFit fit)
{
    if (fit != fit_) planned_ = false;
    fit_ = fit;
}

void Presenter::Plan(int width, int height)
{
    placement_ = PlacePicture(fit_, width, height);
    const PixelRect& s = placement_.source;
    const PixelRect& d = placement_.dest;
    copy_ = s.width == d.width && s.height == d.height;
    if (!copy_) {
        scaler_.SetSource(s.width, s.height, static_cast<std::size_t>(kFrameWidth));
        scaler_.Resize(d.width, d.height);
    }
    width_ = width;
    height_ = height;
    planned_ = true;
}

void Presenter::Present(const std::uint32_t* frame, std::uint32_t* area, std::size_t pitch, int width, int height,
                        const FpsMeter* fps)
{
    if (!frame || !area || width <= 0 || height <= 0) return;
    if (!planned_ || width != width_ || height != height_) Plan(width, height);
    const PixelRect& s = placement_.source;
    const PixelRect& d = placement_.dest;

    // The bars every time: the --fps line may have been drawn over them.
    FillRect(area, pitch, 0, 0, width, d.y);
    FillRect(area, pitch, 0, d.y, d.x, d.height);
    FillRect(area, pitch, d.x + d.width, d.y, width - d.x - d.width, d.height);
    FillRect(area, pitch, 0, d.y + d.height, width, height - d.y - d.height);

    const std::uint32_t* from = frame + static_cast<std::size_t>(s.y) * kFrameWidth + static_cast<std::size_t>(s.x);
    std::uint32_t* to = area + static_cast<std::size_t>(d.y) * pitch + static_cast<std::size_t>(d.x);
    if (copy_) {
        // No scaling to do (a 1920 x 1080 fill, a 1920 x 1200 area): the rows as they are.
        for (int row = 0; row < d.height; ++row)
            std::memcpy(to + static_cast<std::size_t>(row) * pitch,
                        from + static_cast<std::size_t>(row) * kFrameWidth,
                        static_cast<std::size_t>(d.width) * sizeof(std::uint32_t));
    } else {
        scaler_.Scale(from, to, pitch);
    }
    DrawFpsOverlay(fps, area, pitch, width, height);
}

} // namespace veldmark
