// The fast rasteriser against the slow reference on seeded random display lists: every pixel
// must be identical, at roll 0 and rolled, on small targets (where most shapes are clipped) and
// on the full frame.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "render/rasteriser.h"
#include "render/tests/reference_rasteriser.h"
#include "render/tests/test_lists.h"

namespace veldmark::test {
namespace {

class RandomScene {
public:
    // Shapes are placed over a logical area of `width` by `height` units and a little past it.
    RandomScene(std::uint32_t seed, float width, float height) : rng_(seed), width_(width), height_(height) {}

    float Coord(float low, float high) { return std::uniform_real_distribution<float>(low, high)(rng_); }
    std::uint32_t Colour() { return static_cast<std::uint32_t>(rng_()); }
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(rng_); }

    // Some vertices are snapped to half units so that edges meet pixel centres exactly.
    std::vector<Vec2> Polygon()
    {
        const int n = 3 + Pick(Pick(4) == 0 ? 40 : 6);
        const float cx = Coord(-20, width_ + 20), cy = Coord(-20, height_ + 20);
        const float size = Coord(1, Pick(3) == 0 ? width_ : width_ / 8);
        std::vector<Vec2> v;
        for (int k = 0; k < n; ++k) {
            Vec2 p{cx + Coord(-size, size), cy + Coord(-size, size)};
            if (Pick(3) == 0) p = {std::round(p.x * 2) / 2, std::round(p.y * 2) / 2};
            v.push_back(p);
        }
        return v;
    }

    void AddCommand(DisplayListWriter& w)
    {
        const std::vector<Vec2> v = Polygon();
        const Vec2 a{Coord(0, width_), Coord(0, height_)}, b{Coord(0, width_), Coord(0, height_)};
        switch (Pick(7)) {
        case 0: w.BandPolygon(Colour(), Coord(-0.5f, 3.0f), v); break;
        case 1: w.Disc(Colour(), a, Coord(0, width_ / 8), Coord(0, 1.1f)); break;
        case 2: w.RadialPolygon(Colour(), Colour(), a, Coord(0, width_ / 2), v); break;
        case 3: w.LinearPolygon(Colour(), Colour(), Coord(-0.2f, 1.2f), Coord(-0.2f, 1.2f), a, Pick(5) ? b : a, v); break;
        case 4:
            w.EllipticPolygon(Colour(), Colour(), Coord(-0.2f, 1.2f), Coord(-0.2f, 1.2f), a,
                              {Coord(-200, 200), Coord(-200, 200)},
                              Pick(5) ? Vec2{Coord(-200, 200), Coord(-200, 200)} : Vec2{0, 0.00001f}, v);
            break;
        default: w.FlatPolygon(Colour(), v); break;
        }
    }

private:
    std::mt19937 rng_;
    float width_;
    float height_;
};

void ExpectSameAsReference(int width, int height, float roll, std::uint32_t seed, int commands)
{
    // Rolled views turn about the logical centre, so they draw over the whole logical screen.
    RandomScene scene = roll == 0.0f ? RandomScene(seed, static_cast<float>(width) / 2, static_cast<float>(height) / 2)
                                     : RandomScene(seed, 960, 600);
    TestList list;
    for (int k = 0; k < commands; ++k) scene.AddCommand(list.writer);
    GuardedFrame fast(width, height, 0x00203040u);
    GuardedFrame slow(width, height, 0x00203040u);
    RasteriseDisplayList(fast.target(), roll, list.words.data(), list.length);
    ReferenceRasterise(slow.target(), roll, list.words.data(), list.length);
    ASSERT_TRUE(fast.guards_intact());
    std::size_t differing = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (fast.at(x, y) != slow.at(x, y) && ++differing <= 5)
                ADD_FAILURE() << "seed " << seed << " roll " << roll << " pixel " << x << "," << y
                              << ": " << std::hex << fast.at(x, y) << " vs " << slow.at(x, y);
    EXPECT_EQ(differing, 0u) << "seed " << seed;
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

TEST(AgainstReference, FullFrame)
{
    ExpectSameAsReference(kFrameWidth, kFrameHeight, 0.0f, 7, 40);
    ExpectSameAsReference(kFrameWidth, kFrameHeight, -0.2f, 8, 40);
}

} // namespace
} // namespace veldmark::test
