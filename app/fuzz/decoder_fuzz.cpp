// libFuzzer target for the display-list decoder and rasteriser. The input is a view choice and
// a display list: byte 0 picks the target size and the vector path of the drawing in strips,
// bytes 1-4 the roll (a float, bit for bit), the rest are the list's words. Any list must draw
// without reading past its end (the words sit in a buffer of exactly their size, so the address
// sanitizer sees an over-read) and without writing outside the target (guard words around it
// are checked after every run). On all targets but the frame the list is drawn twice, command
// by command and strip by strip, and the two must agree pixel for pixel.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "render/strip_frame.h"
#include "render/rasteriser.h"
#include "render/simd/simd_level.h"

namespace {

using veldmark::RasterTarget;

constexpr std::uint32_t kGuard = 0x5AA55AA5u;
constexpr std::uint32_t kClearColour = 0x00203040u;
constexpr std::size_t kGuardWords = 1024;

struct Size {
    int width;
    int height;
};

// Byte 0 picks the frame itself for one value in 256 (it takes longer to draw than all the other
// sizes together), else one of these: the frame's full width a row, a strip and a strip and a row
// deep (every span still ends where the frame's do); one strip and one row more; and small odd
// sizes that put most shapes across the clipping edges. All of these are drawn both ways; the
// frame, slow to draw twice under the sanitizers, only command by command.
constexpr Size kFrame{veldmark::kFrameWidth, veldmark::kFrameHeight};
constexpr std::array<Size, 16> kSizes = {
    Size{1920, 1},  Size{1920, 7},  Size{1920, 33}, Size{1, 64},
    Size{7, 45},    Size{61, 37},   Size{1, 1},     Size{200, 3},
    Size{3, 200},   Size{240, 150}, Size{97, 64},   Size{33, 40},
    Size{128, 32},  Size{64, 33},   Size{160, 120}, Size{16, 16}};
constexpr std::size_t kFrameIndex = kSizes.size();
// Mutations mostly keep a parent's byte 0, so the frame gets a value no seed starts from.
constexpr std::uint8_t kFrameChoice = 0xFF;

// A pixel buffer with guard words on both sides, made once per size and kept: the sanitizers
// make every fresh 9 MB frame slow, and the frame's pixels never steer the drawing, so they
// need no clearing between runs.
struct GuardedBuffer {
    std::vector<std::uint32_t> storage;
    int width = 0;
    int height = 0;

    void Make(Size size)
    {
        width = size.width;
        height = size.height;
        storage.assign(PixelCount() + 2 * kGuardWords, kGuard);
    }
    std::size_t PixelCount() const
    {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    }
    std::uint32_t* Pixels() { return storage.data() + kGuardWords; }
    RasterTarget Target() { return RasterTarget{Pixels(), width, height}; }
    void Clear() { std::fill(Pixels(), Pixels() + PixelCount(), kClearColour); }
    bool GuardsIntact() const
    {
        for (std::size_t k = 0; k < kGuardWords; ++k)
            if (storage[k] != kGuard || storage[kGuardWords + PixelCount() + k] != kGuard) return false;
        return true;
    }
};

struct Buffers {
    std::array<GuardedBuffer, kSizes.size() + 1> whole;   // drawn command by command; the frame last
    std::array<GuardedBuffer, kSizes.size()> in_strips;   // drawn strip by strip
    veldmark::StripScratch scratch;

    Buffers()
    {
        for (std::size_t k = 0; k < kSizes.size(); ++k) {
            whole[k].Make(kSizes[k]);
            in_strips[k].Make(kSizes[k]);
        }
        whole[kFrameIndex].Make(kFrame);
    }
};

Buffers& TheBuffers()
{
    static const std::unique_ptr<Buffers> buffers = std::make_unique<Buffers>();
    return *buffers;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5) return 0;
    const std::size_t size_index = data[0] == kFrameChoice ? kFrameIndex : data[0] % kSizes.size();
    // Bits 4 and 5 pick the width the frame in strips is drawn at (lowered to what the machine has).
    const veldmark::SimdLevel strip_level = std::min(static_cast<veldmark::SimdLevel>((data[0] >> 4) % 3),
                                                      veldmark::SupportedSimdLevel());
    float roll;
    std::memcpy(&roll, data + 1, sizeof roll);
    const std::size_t word_count = (size - 5) / 4;
    std::vector<std::uint32_t> words(word_count);
    if (word_count) std::memcpy(words.data(), data + 5, word_count * 4);

    Buffers& buffers = TheBuffers();
    GuardedBuffer& whole = buffers.whole[size_index];
    const bool compare = size_index != kFrameIndex;
    if (compare) whole.Clear();
    veldmark::RasteriseDisplayList(whole.Target(), roll, words.data(), word_count);
    if (!whole.GuardsIntact()) std::abort();
    if (!compare) return 0;

    GuardedBuffer& in_strips = buffers.in_strips[size_index];
    in_strips.Clear();
    veldmark::RenderInStrips(in_strips.Target(), roll, nullptr, words.data(), word_count, buffers.scratch,
                            strip_level);
    if (!in_strips.GuardsIntact()) std::abort();
    if (!std::equal(whole.Pixels(), whole.Pixels() + whole.PixelCount(), in_strips.Pixels())) std::abort();
    return 0;
}
