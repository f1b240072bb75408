// The channel operations of every vector width this machine has, against their definition
// block by block: which bytes of which operand land where, and how the packs saturate. Every
// backend of a width must give these bits (the frame scaler depends on each of them).
#include "render/tests/channel_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "render/tests/simd_levels.h"

namespace veldmark::test {
namespace {

constexpr int kBlockBytes = 16;

// A vector's bytes as the 16-bit or 32-bit values at `index` within one block.
struct Block {
    std::uint8_t bytes[kBlockBytes];

    static Block Of(const std::uint32_t* lanes, int block)
    {
        Block b;
        std::memcpy(b.bytes, lanes + 4 * block, kBlockBytes);
        return b;
    }
    std::int16_t S16(int i) const
    {
        std::int16_t v;
        std::memcpy(&v, bytes + 2 * i, 2);
        return v;
    }
    std::int32_t S32(int i) const
    {
        std::int32_t v;
        std::memcpy(&v, bytes + 4 * i, 4);
        return v;
    }
};

std::int16_t Saturated16(std::int32_t v) { return static_cast<std::int16_t>(std::clamp(v, -32768, 32767)); }
std::uint8_t Saturated8(std::int16_t v) { return static_cast<std::uint8_t>(std::clamp<int>(v, 0, 255)); }

// What each operation gives for one block of a and b.
Block Expected(const char* op, const Block& a, const Block& b)
{
    Block out{};
    auto set16 = [&](int i, std::int32_t v) {
        const auto u = static_cast<std::uint16_t>(v);
        std::memcpy(out.bytes + 2 * i, &u, 2);
    };
    auto set32 = [&](int i, std::int64_t v) {
        const auto u = static_cast<std::uint32_t>(v);   // the sum of two products wraps, as pmaddwd does
        std::memcpy(out.bytes + 4 * i, &u, 4);
    };
    const std::string name = op;
    for (int i = 0; i < 8; ++i) {
        if (name == "InterleaveLowerBytes") out.bytes[2 * i] = a.bytes[i], out.bytes[2 * i + 1] = b.bytes[i];
        if (name == "InterleaveUpperBytes") out.bytes[2 * i] = a.bytes[8 + i], out.bytes[2 * i + 1] = b.bytes[8 + i];
        if (name == "WidenLowerBytes") set16(i, a.bytes[i]);
        if (name == "WidenUpperBytes") set16(i, a.bytes[8 + i]);
        if (name == "ZipHalves16") set16(i, a.S16(i / 2 + (i % 2) * 4));
        if (name == "PackSigned16") set16(i, Saturated16(i < 4 ? a.S32(i) : b.S32(i - 4)));
    }
    for (int i = 0; i < 16; ++i)
        if (name == "PackUnsigned8") out.bytes[i] = Saturated8(i < 8 ? a.S16(i) : b.S16(i - 8));
    for (int i = 0; i < 4; ++i) {
        if (name == "ShiftRightSigned<6>") set32(i, a.S32(i) >> 6);
        if (name == "MulAddPairs")
            set32(i, std::int64_t{a.S16(2 * i)} * b.S16(2 * i) + std::int64_t{a.S16(2 * i + 1)} * b.S16(2 * i + 1));
    }
    return out;
}

// Lanes that exercise the edges: any word, 32-bit values about the 16-bit range, and 16-bit
// values about the byte range.
std::uint32_t RandomLane(std::mt19937& rng)
{
    switch (rng() % 3) {
    case 0: return static_cast<std::uint32_t>(rng());
    case 1: return static_cast<std::uint32_t>(static_cast<std::int32_t>(rng() % 140001) - 70000);
    default: {
        const auto half = [&] { return static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<int>(rng() % 801) - 400)); };
        return half() | half() << 16;
    }
    }
}

TEST(ChannelOps, EveryWidthGivesTheirDefinitionBlockByBlock)
{
    std::mt19937 rng(19);
    for (int round = 0; round < 2000; ++round) {
        ChannelOpsIn in;
        for (int i = 0; i < 8; ++i) in.a[i] = RandomLane(rng), in.b[i] = RandomLane(rng);
        for (auto& block : in.blocks)
            for (auto& v : block) v = static_cast<std::uint16_t>(rng());
        for (SimdLevel level : MachineSimdLevels()) {
            if (level == SimdLevel::Scalar) continue;
            const ChannelOpsOut out = level == SimdLevel::Vec8 ? ChannelOpsVec8(in) : ChannelOpsVec4(in);
            ASSERT_GT(out.lanes, 0) << SimdLevelName(level);
            const int blocks = out.lanes / 4;
            const std::pair<const char*, const std::uint32_t*> results[] = {
                {"InterleaveLowerBytes", out.interleave_lower}, {"InterleaveUpperBytes", out.interleave_upper},
                {"WidenLowerBytes", out.widen_lower},           {"WidenUpperBytes", out.widen_upper},
                {"ZipHalves16", out.zip_halves},                {"ShiftRightSigned<6>", out.shift_signed},
                {"PackSigned16", out.pack_signed16},            {"PackUnsigned8", out.pack_unsigned8},
                {"MulAddPairs", out.mul_add_pairs}};
            for (int j = 0; j < blocks; ++j) {
                const Block a = Block::Of(in.a, j), b = Block::Of(in.b, j);
                for (const auto& [op, lanes] : results) {
                    const Block want = Expected(op, a, b);
                    const Block got = Block::Of(lanes, j);
                    ASSERT_EQ(0, std::memcmp(want.bytes, got.bytes, kBlockBytes))
                        << op << ", " << SimdLevelName(level) << ", block " << j << ", round " << round;
                }
                // Block j comes from, and goes to, the pointer the caller gave for it.
                const int other = blocks - 1 - j;
                ASSERT_EQ(0, std::memcmp(out.loaded_blocks + 8 * j, in.blocks[other], kBlockBytes)) << SimdLevelName(level);
                ASSERT_EQ(0, std::memcmp(out.stored_blocks[other], in.a + 4 * j, kBlockBytes)) << SimdLevelName(level);
            }
        }
    }
}

} // namespace
} // namespace veldmark::test
