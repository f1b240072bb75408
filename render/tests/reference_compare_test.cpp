// The fast rasteriser against the slow reference on seeded random display lists: every pixel
// must be identical, at roll 0 and rolled, on small targets (where most shapes are clipped) and
// on the full frame, command by command over the whole target and strip by strip, on every vector
// path the machine has.
#include <gtest/gtest.h>

#include <memory>

#include "render/strip_frame.h"
#include "render/rasteriser.h"
#include "render/tests/reference_rasteriser.h"
#include "render/tests/random_scene.h"
#include "render/tests/simd_levels.h"
#include "render/tests/test_lists.h"

namespace veldmark::test {
namespace {

void ExpectSameAsReference(int width, int height, float roll, std::uint32_t seed, int commands)
{
    // Rolled views turn about the logical centre, so they draw over the whole logical screen.
    RandomScene scene = roll == 0.0f ? RandomScene(seed, static_cast<float>(width) / 2, static_cast<float>(height) / 2)
                                     : RandomScene(seed, 960, 600);
    TestList list;
    for (int k = 0; k < commands; ++k) scene.AddCommand(list.writer);
    GuardedFrame slow(width, height, 0x00203040u);
    ReferenceRasterise(slow.target(), roll, list.words.data(), list.length);
    static const auto scratch = std::make_unique<StripScratch>();
    SimdLevelGuard guard;
    for (SimdLevel level : MachineSimdLevels())
        for (bool in_strips : {false, true}) {
            GuardedFrame fast(width, height, 0x00203040u);
            SetActiveSimdLevel(level);
            if (in_strips) RenderInStrips(fast.target(), roll, nullptr, list.words.data(), list.length, *scratch, level);
            else RasteriseDisplayList(fast.target(), roll, list.words.data(), list.length);
            ASSERT_TRUE(fast.guards_intact());
            std::size_t differing = 0;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    if (fast.at(x, y) != slow.at(x, y) && ++differing <= 5)
                        ADD_FAILURE() << "seed " << seed << " roll " << roll << " path " << SimdLevelName(level)
                                      << (in_strips ? " in strips" : " whole") << " pixel " << x << "," << y << ": "
                                      << std::hex << fast.at(x, y) << " vs " << slow.at(x, y);
            EXPECT_EQ(differing, 0u) << "seed " << seed;
        }
}

TEST(AgainstReference, SmallTargetsUpright)
{
    for (std::uint32_t seed = 1; seed <= 60; ++seed) ExpectSameAsReference(160, 120, 0.0f, seed, 40);
}

TEST(AgainstReference, SmallTargetsRolled)
{
    for (std::uint32_t seed = 101; seed <= 160; ++seed)
        ExpectSameAsReference(160, 120, 0.05f * static_cast<float>(seed - 130), seed, 40);
}

TEST(AgainstReference, TargetsOfPartStrips)
{
    // Heights that end in a part strip, and a target of one row.
    for (std::uint32_t seed = 201; seed <= 210; ++seed)
        ExpectSameAsReference(97, 33 + static_cast<int>(seed % 5) * 17, seed % 2 ? 0.0f : 0.3f, seed, 30);
    ExpectSameAsReference(50, 1, 0.0f, 211, 30);
}

TEST(AgainstReference, FullFrame)
{
    ExpectSameAsReference(kFrameWidth, kFrameHeight, 0.0f, 7, 40);
    ExpectSameAsReference(kFrameWidth, kFrameHeight, -0.2f, 8, 40);
}

} // namespace
} // namespace veldmark::test
