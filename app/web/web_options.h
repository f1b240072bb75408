#pragma once
// What the page's address asks for. The drive by default; `?hashes=N&every=K&from=S` renders
// those frames and lists their hashes as `veldmark-render hashes` prints them; `?bench=N` runs
// N frames unpaced and times the stages; `?fps` adds the frame-rate overlay to the drive.
// Names the page does not know are ignored, as a web page ignores unknown parameters; a known
// one with a bad value is an error the page shows instead of running.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/pipeline/frame_pipeline.h"

namespace veldmark::web {

enum class WebMode { Drive, Hashes, Bench };

// The limits the headless tool has for the same numbers.
inline constexpr std::uint64_t kMaxSteps = 1'000'000'000;
inline constexpr std::uint64_t kMaxFrames = 10'000'000;
inline constexpr std::uint64_t kDefaultHashFrames = 100;

struct WebOptions {
    WebMode mode = WebMode::Drive;
    FrameSchedule frames;       // Hashes: which frames; Bench: count, and `every` for the stage
                                // timing; the drive: every step, endlessly
    bool fps_overlay = false;   // ?fps
    std::string error;          // empty when the address is fine
};

// Reads the query part of the address, with or without its leading '?'. Values may not be
// percent-encoded (numbers never need it).
WebOptions ReadWebOptions(std::string_view query);

} // namespace veldmark::web
