// Every width's gradient parameters against the one-pixel functions, bit for bit, lane by lane.
#include "render/tests/gradient_lanes.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "render/pixel_colour.h"
#include "render/tests/simd_levels.h"

namespace veldmark::test {
namespace {

std::uint32_t Bits(float f) { return std::bit_cast<std::uint32_t>(f); }

TEST(GradientLanes, AgreeBitForBitWithTheOnePixelFunctions)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> coordinate(-100, 1100), length(-300, 300), unit(-0.2f, 1.2f);
    for (int round = 0; round < 3000; ++round) {
        ShadeRecord r;
        r.centre = {coordinate(rng), coordinate(rng)};
        r.radius = std::fabs(length(rng)) + 0.5f;
        r.p0 = {coordinate(rng), coordinate(rng)};
        r.p1 = round % 13 == 0 ? r.p0 : Vec2{coordinate(rng), coordinate(rng)};
        r.u = {length(rng), length(rng)};
        r.v = {length(rng), length(rng)};
        r.determinant = r.u.x * r.v.y - r.u.y * r.v.x;
        r.min_x = coordinate(rng);
        r.max_x = r.min_x + std::fabs(length(rng)) + 1;
        r.start = ClampRampStart(unit(rng));
        r.end = ClampRampEnd(unit(rng), r.start);
        const SpanShader shader = MakeSpanShader(r, MakeViewTransform(round % 2 ? 0.0f : unit(rng)));
        const int column = static_cast<int>(rng() % 1912);
        const float row_centre = static_cast<float>(rng() % 1200) + 0.5f;
        for (SimdLevel level : MachineSimdLevels()) {
            if (level == SimdLevel::Scalar) continue;
            const GradientLanes lanes = level == SimdLevel::Vec8 ? GradientLanesVec8(shader, column, row_centre)
                                                                 : GradientLanesVec4(shader, column, row_centre);
            ASSERT_GT(lanes.lanes, 0) << SimdLevelName(level);
            for (int k = 0; k < lanes.lanes; ++k) {
                const Vec2 p = PixelCentreToLogical(shader.view, column + k, row_centre);
                const float linear = LinearT(r, p);
                EXPECT_EQ(Bits(lanes.t[0][k]), Bits(BandT(r, p))) << SimdLevelName(level) << " lane " << k;
                EXPECT_EQ(Bits(lanes.t[1][k]), Bits(RadialT(r, p))) << SimdLevelName(level) << " lane " << k;
                EXPECT_EQ(Bits(lanes.t[2][k]), Bits(linear)) << SimdLevelName(level) << " lane " << k;
                EXPECT_EQ(Bits(lanes.t[3][k]), Bits(EllipticT(r, p))) << SimdLevelName(level) << " lane " << k;
                if (r.end > r.start) {
                    EXPECT_EQ(Bits(lanes.fraction[k]), Bits((linear - r.start) / (r.end - r.start)))
                        << SimdLevelName(level) << " lane " << k;
                }
            }
        }
        if (HasFailure()) break;
    }
}

} // namespace
} // namespace veldmark::test
