#pragma once
// Small helpers for the rasteriser tests: a display list under construction and a frame buffer
// with guard words around it, so a write outside the frame shows up as a changed guard.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "render/display_list.h"
#include "render/raster_target.h"

namespace veldmark::test {

struct TestList {
    std::vector<std::uint32_t> words = std::vector<std::uint32_t>(kDisplayListWords, 0xDEADBEEFu);
    std::uint64_t length = 0;
    DisplayListWriter writer{words.data(), length};
};

inline constexpr std::uint32_t kGuard = 0xA5A5A5A5u;
inline constexpr std::size_t kGuardWords = 4096;

struct GuardedFrame {
    GuardedFrame(int w, int h, std::uint32_t background)
        : width(w), height(h),
          storage(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) + 2 * kGuardWords, kGuard)
    {
        for (std::size_t k = 0; k < pixel_count(); ++k) storage[kGuardWords + k] = background;
    }
    std::size_t pixel_count() const { return static_cast<std::size_t>(width) * static_cast<std::size_t>(height); }
    RasterTarget target() { return RasterTarget{storage.data() + kGuardWords, width, height}; }
    std::uint32_t at(int x, int y) const
    {
        return storage[kGuardWords + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
    bool guards_intact() const
    {
        for (std::size_t k = 0; k < kGuardWords; ++k)
            if (storage[k] != kGuard || storage[kGuardWords + pixel_count() + k] != kGuard) return false;
        return true;
    }
    // Pixels equal to `value`.
    std::size_t count(std::uint32_t value) const
    {
        std::size_t n = 0;
        for (std::size_t k = 0; k < pixel_count(); ++k) n += storage[kGuardWords + k] == value;
        return n;
    }
    int width;
    int height;
    std::vector<std::uint32_t> storage;
};

inline std::vector<Vec2> Rect(float x0, float y0, float x1, float y1)
{
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

} // namespace veldmark::test
