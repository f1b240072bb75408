#include "app/web/hash_lines.h"

#include <cinttypes>
#include <cstdio>

#include "render/frame_hash.h"

namespace veldmark::web {
namespace {

// Twenty digits of step, the comma, sixteen hex digits, the newline and the terminator.
constexpr std::size_t kLineCapacity = 40;
// Reserving is only a help: a count from the address can be far larger than any run.
constexpr std::uint64_t kMaxReservedLines = 200'000;

} // namespace

HashLines::HashLines(std::uint64_t expected)
{
    text_.reserve(static_cast<std::size_t>(expected < kMaxReservedLines ? expected : kMaxReservedLines) * 28);
}

void AppendHashLine(std::string& text, std::uint64_t step, std::uint64_t hash)
{
    char line[kLineCapacity];
    const int length = std::snprintf(line, sizeof line, "%" PRIu64 ",%016" PRIx64 "\n", step, hash);
    if (length > 0) text.append(line, static_cast<std::size_t>(length));
}

Delivery HashLines::Consume(const FrameSlot& frame, std::uint64_t step)
{
    AppendHashLine(text_, step, HashPixels(frame.pixels, kFramePixels));
    ++lines_;
    return Delivery::Taken;
}

} // namespace veldmark::web
