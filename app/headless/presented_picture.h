#pragma once
// The picture a command writes: the frame itself, or, with --size, the frame as a host shows it
// on a screen of that size, through the same presenter and scaler the hosts use. The frames
// (and their hashes) are the same either way; only what is written of them differs.
#include <cstdint>
#include <vector>

#include "app/headless/frame_run_options.h"
#include "app/shell/presenter.h"
#include "world/frame_slot.h"

namespace veldmark::tool {

class PresentedPicture {
public:
    // Allocates the picture once, here.
    explicit PresentedPicture(const PictureSize& size);

    // The picture of `frame`: width() x height() pixels 0x00RRGGBB in packed rows, valid until
    // the next call (or, without --size, as long as the frame).
    const std::uint32_t* Of(const FrameSlot& frame);

    int width() const;
    int height() const;

private:
    PictureSize size_;
    Presenter presenter_;
    std::vector<std::uint32_t> pixels_;   // with --size only
};

} // namespace veldmark::tool
