#include "app/headless/presented_picture.h"

#include "world/limits.h"

namespace veldmark::tool {

PresentedPicture::PresentedPicture(const PictureSize& size) : size_(size), presenter_(size.fit)
{
    if (size_.width > 0)
        pixels_.assign(static_cast<std::size_t>(size_.width) * static_cast<std::size_t>(size_.height), 0);
}

const std::uint32_t* PresentedPicture::Of(const FrameSlot& frame)
{
    if (pixels_.empty()) return frame.pixels;
    presenter_.Present(frame.pixels, pixels_.data(), static_cast<std::size_t>(size_.width), size_.width,
                       size_.height);
    return pixels_.data();
}

int PresentedPicture::width() const { return size_.width > 0 ? size_.width : kFrameWidth; }
int PresentedPicture::height() const { return size_.width > 0 ? size_.height : kFrameHeight; }

} // namespace veldmark::tool
