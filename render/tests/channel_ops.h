#pragma once
// The vector sets' channel operations (render/simd/vec4.h, vec8.h) on given inputs, at each
// width, for the test that holds every backend to one definition of them.
#include <cstdint>

namespace veldmark::test {

struct ChannelOpsIn {
    std::uint32_t a[8];
    std::uint32_t b[8];
    std::uint16_t blocks[2][8];
};

// Each operation's result, stored with StoreU; only the first `lanes` 32-bit lanes are written.
struct ChannelOpsOut {
    int lanes = 0;   // 0: the build has no such width
    std::uint32_t interleave_lower[8] = {};
    std::uint32_t interleave_upper[8] = {};
    std::uint32_t widen_lower[8] = {};
    std::uint32_t widen_upper[8] = {};
    std::uint32_t zip_halves[8] = {};
    std::uint32_t shift_signed[8] = {};   // a, shifted right by 6
    std::uint32_t pack_signed16[8] = {};
    std::uint32_t pack_unsigned8[8] = {};
    std::uint32_t mul_add_pairs[8] = {};
    std::uint16_t loaded_blocks[16] = {};      // block j loaded from blocks[kBlocks - 1 - j]
    std::uint16_t stored_blocks[2][8] = {};    // a's block j stored to stored_blocks[kBlocks - 1 - j]
};

ChannelOpsOut ChannelOpsVec4(const ChannelOpsIn& in);
ChannelOpsOut ChannelOpsVec8(const ChannelOpsIn& in);

} // namespace veldmark::test
