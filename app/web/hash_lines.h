#pragma once
// The hash mode's output: one 'step,hash' line per frame, exactly as `veldmark-render hashes`
// prints them (the step in decimal, the 64-bit FNV-1a hash of the pixels in 16 hex digits).
#include <cstdint>
#include <string>

#include "app/pipeline/frame_pipeline.h"

namespace veldmark::web {

class HashLines final : public FrameConsumer {
public:
    // Reserves room for `expected` lines, so that lines are not reallocated while frames come.
    explicit HashLines(std::uint64_t expected);
    Delivery Consume(const FrameSlot& frame, std::uint64_t step) override;
    const std::string& text() const { return text_; }
    std::uint64_t lines() const { return lines_; }

private:
    std::string text_;
    std::uint64_t lines_ = 0;
};

// Appends one line for a frame at `step` with `hash`.
void AppendHashLine(std::string& text, std::uint64_t step, std::uint64_t hash);

} // namespace veldmark::web
