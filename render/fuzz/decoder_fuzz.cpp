// libFuzzer target for the display-list decoder and rasteriser. The input is a view choice and
// a display list: byte 0 picks the target size, bytes 1-4 the roll (a float, bit for bit), the
// rest are the list's words. Any list must draw without reading past its end (the words sit
// in a buffer of exactly their size, so the address sanitizer sees an over-read) and without
// writing outside the target (guard words around it are checked after every run).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "render/rasteriser.h"

namespace {

constexpr std::uint32_t kGuard = 0x5AA55AA5u;
constexpr std::size_t kGuardWords = 1024;

struct Size {
    int width;
    int height;
};

// The frame size, and small odd sizes that put most shapes across the clipping edges and keep
// each run fast.
constexpr Size kSizes[] = {{1920, 1200}, {61, 37}, {1, 1}, {200, 3}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5) return 0;
    const Size target_size = kSizes[data[0] % (sizeof kSizes / sizeof kSizes[0])];
    float roll;
    std::memcpy(&roll, data + 1, sizeof roll);
    const std::size_t word_count = (size - 5) / 4;
    std::vector<std::uint32_t> words(word_count);
    if (word_count) std::memcpy(words.data(), data + 5, word_count * 4);

    const std::size_t pixel_count = static_cast<std::size_t>(target_size.width) * static_cast<std::size_t>(target_size.height);
    // One buffer for all runs: what the pixels hold does not matter, only the guards do, and
    // a fresh 9 MB frame per run would make the fuzzer crawl.
    static std::vector<std::uint32_t> storage;
    if (storage.size() != pixel_count + 2 * kGuardWords) storage.assign(pixel_count + 2 * kGuardWords, kGuard);
    const veldmark::RasterTarget target{storage.data() + kGuardWords, target_size.width, target_size.height};
    veldmark::RasteriseDisplayList(target, roll, words.data(), word_count);
    for (std::size_t k = 0; k < kGuardWords; ++k)
        if (storage[k] != kGuard || storage[kGuardWords + pixel_count + k] != kGuard) std::abort();
    return 0;
}
