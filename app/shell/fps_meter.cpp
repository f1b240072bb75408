#include "app/shell/fps_meter.h"

#include <cstdio>
#include <limits>

#include "app/shell/overlay_text.h"

namespace veldmark {
namespace {

constexpr std::uint64_t kNanosecondsPerSecond = 1'000'000'000;
// Frames per nanosecond to tenths of a frame per second, and a time share to tenths of a percent.
constexpr std::uint64_t kFpsTenthsScale = 10 * kNanosecondsPerSecond;
constexpr std::uint64_t kPercentTenthsScale = 1000;

std::uint64_t Since(std::uint64_t t0, std::uint64_t t1) { return t1 > t0 ? t1 - t0 : 0; }

unsigned long long Whole(std::uint64_t tenths) { return tenths / 10; }
unsigned long long Tenth(std::uint64_t tenths) { return tenths % 10; }

} // namespace

std::uint64_t ScaledRatio(std::uint64_t numerator, std::uint64_t denominator, std::uint64_t scale)
{
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    if (denominator == 0 || scale == 0) return 0;
    // Halving both keeps the ratio and makes the product fit; only figures far beyond any run's
    // length lose their lowest bits.
    while (numerator > (kMax - denominator / 2) / scale) {
        numerator >>= 1;
        denominator >>= 1;
        if (denominator == 0) return kMax;
    }
    return (numerator * scale + denominator / 2) / denominator;
}

void FpsMeterStart(FpsMeter& meter, FpsClocks now)
{
    meter = FpsMeter{};
    meter.start = now;
    meter.window_start = now;
}

void FpsMeterFrame(FpsMeter& meter, FpsClocks now)
{
    ++meter.frames;
    ++meter.window_frames;
    const std::uint64_t wall = Since(meter.window_start.wall_ns, now.wall_ns);
    if (wall < kFpsWindowNanoseconds) return;
    meter.fps_tenths = ScaledRatio(meter.window_frames, wall, kFpsTenthsScale);
    meter.cpu_tenths = ScaledRatio(Since(meter.window_start.cpu_ns, now.cpu_ns), wall, kPercentTenthsScale);
    std::snprintf(meter.text, sizeof meter.text, "%llu.%llu fps  %llu.%llu%% cpu", Whole(meter.fps_tenths),
                  Tenth(meter.fps_tenths), Whole(meter.cpu_tenths), Tenth(meter.cpu_tenths));
    meter.window_start = now;
    meter.window_frames = 0;
}

void DrawFpsOverlay(const FpsMeter* meter, std::uint32_t* pixels, std::size_t pitch, int width, int height)
{
    if (meter) DrawOverlayText(pixels, pitch, width, height, meter->text, OverlayScale(height));
}

void FormatFpsSummary(const FpsMeter& meter, FpsClocks now, char* out, std::size_t capacity)
{
    if (!out || capacity == 0) return;
    const std::uint64_t wall = Since(meter.start.wall_ns, now.wall_ns);
    const std::uint64_t seconds_tenths = ScaledRatio(wall, kNanosecondsPerSecond, 10);
    const std::uint64_t fps_tenths = ScaledRatio(meter.frames, wall, kFpsTenthsScale);
    const std::uint64_t cpu_tenths = ScaledRatio(Since(meter.start.cpu_ns, now.cpu_ns), wall, kPercentTenthsScale);
    std::snprintf(out, capacity, "veldmark: %llu frames in %llu.%llu s, %llu.%llu fps, %llu.%llu%% of one core",
                  static_cast<unsigned long long>(meter.frames), Whole(seconds_tenths), Tenth(seconds_tenths),
                  Whole(fps_tenths), Tenth(fps_tenths), Whole(cpu_tenths), Tenth(cpu_tenths));
}

} // namespace veldmark
