#pragma once
// Frames per second and the process's processor load for --fps: counted as frames are
// presented, measured over half-second windows, and written as the short line the overlay
// shows ("60.0 fps  4.2% cpu") and the summary printed when the run ends. The host reads the
// clocks and passes them in; nothing here asks the system.
#include <cstddef>
#include <cstdint>

namespace veldmark {

// A reading of the two clocks, in nanoseconds: a steady wall clock, and the processor time the
// whole process (every thread) has used.
struct FpsClocks {
    std::uint64_t wall_ns = 0;
    std::uint64_t cpu_ns = 0;
};

inline constexpr std::uint64_t kFpsWindowNanoseconds = 500'000'000;
inline constexpr std::size_t kFpsTextCapacity = 64;     // room for any figures
inline constexpr std::size_t kFpsSummaryCapacity = 160;

struct FpsMeter {
    FpsClocks start;                   // when measuring began
    FpsClocks window_start;            // when the current window began
    std::uint64_t frames = 0;          // presented since the start
    std::uint64_t window_frames = 0;   // ...and in the current window
    std::uint64_t fps_tenths = 0;      // over the last whole window: frames per second x 10
    std::uint64_t cpu_tenths = 0;      // ...processor time over wall time, in tenths of a percent of one core
    char text[kFpsTextCapacity] = {};  // the overlay's line; empty until the first window ends
};

// Starts (or starts again) measuring at `now`.
void FpsMeterStart(FpsMeter& meter, FpsClocks now);

// Counts one presented frame at `now`; once the window has lasted kFpsWindowNanoseconds, takes
// its figures, rewrites `text` and begins the next window.
void FpsMeterFrame(FpsMeter& meter, FpsClocks now);

// Draws the meter's line into the top-left corner of a presented picture (see overlay_text.h);
// nothing when `meter` is null, as it is without --fps.
void DrawFpsOverlay(const FpsMeter* meter, std::uint32_t* pixels, std::size_t pitch, int width, int height);

// `numerator / denominator` x `scale`, rounded to nearest; 0 when the denominator is 0, and it
// saturates rather than overflows.
std::uint64_t ScaledRatio(std::uint64_t numerator, std::uint64_t denominator, std::uint64_t scale);

// The whole run up to `now` in one line, without a newline:
// "veldmark: 1234 frames in 20.6 s, 59.9 fps, 4.1% of one core".
void FormatFpsSummary(const FpsMeter& meter, FpsClocks now, char* out, std::size_t capacity);

} // namespace veldmark
