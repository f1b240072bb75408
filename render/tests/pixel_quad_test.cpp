// The four-pixel gradient helpers must agree with the one-pixel functions to the bit, for t and
// for the ramp fraction: a mismatch of one ulp there only rarely changes a channel, so whole
// images compared with the reference would seldom show it.
#if defined(__SSE2__)
#include <gtest/gtest.h>

#include <bit>
#include <random>

#include "render/pixel_colour.h"
#include "render/pixel_quad.h"

namespace veldmark::test {
namespace {

TEST(PixelQuad, AgreesBitForBitWithTheOnePixelFunctions)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> coordinate(-100, 1100), length(-300, 300), unit(-0.2f, 1.2f);
    for (int round = 0; round < 3000; ++round) {
        ShadeRecord r;
        r.centre = {coordinate(rng), coordinate(rng)};
        r.radius = std::fabs(length(rng)) + 0.5f;
        r.p0 = {coordinate(rng), coordinate(rng)};
        r.p1 = {coordinate(rng), coordinate(rng)};
        r.u = {length(rng), length(rng)};
        r.v = {length(rng), length(rng)};
        r.determinant = r.u.x * r.v.y - r.u.y * r.v.x;
        r.min_x = coordinate(rng);
        r.max_x = r.min_x + std::fabs(length(rng)) + 1;
        r.start = ClampRampStart(unit(rng));
        r.end = ClampRampEnd(unit(rng), r.start);
        const ViewTransform view = MakeViewTransform(round % 2 ? 0.0f : unit(rng));
        const int column = static_cast<int>(rng() % 1917);
        const float row_centre = static_cast<float>(rng() % 1200) + 0.5f;

        const Quad quad = QuadPositions(view, column, row_centre);
        const float dx = r.p1.x - r.p0.x, dy = r.p1.y - r.p0.y;
        alignas(16) float t[4][4];
        alignas(16) float fraction[4];
        _mm_store_ps(t[0], BandT4(r, quad));
        _mm_store_ps(t[1], RadialT4(r, quad));
        _mm_store_ps(t[2], LinearT4(r, quad, dx, dy, dx * dx + dy * dy));
        _mm_store_ps(t[3], EllipticT4(r, quad));
        _mm_store_ps(fraction, RampFraction4(_mm_load_ps(t[2]), r.start, r.end));
        for (int k = 0; k < 4; ++k) {
            const Vec2 p = PixelCentreToLogical(view, column + k, row_centre);
            EXPECT_EQ(std::bit_cast<std::uint32_t>(t[0][k]), std::bit_cast<std::uint32_t>(BandT(r, p)));
            EXPECT_EQ(std::bit_cast<std::uint32_t>(t[1][k]), std::bit_cast<std::uint32_t>(RadialT(r, p)));
            EXPECT_EQ(std::bit_cast<std::uint32_t>(t[2][k]), std::bit_cast<std::uint32_t>(LinearT(r, p)));
            EXPECT_EQ(std::bit_cast<std::uint32_t>(t[3][k]), std::bit_cast<std::uint32_t>(EllipticT(r, p)));
            if (r.end > r.start) {
                EXPECT_EQ(std::bit_cast<std::uint32_t>(fraction[k]),
                          std::bit_cast<std::uint32_t>((t[2][k] - r.start) / (r.end - r.start)));
            }
        }
        if (HasFailure()) break;
    }
}

} // namespace
} // namespace veldmark::test
#endif
