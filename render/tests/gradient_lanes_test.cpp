// Every width's gradient parameters against the one-pixel functions, bit for bit, lane by lane.
#include "render/tests/gradient_lanes.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "render/pixel_colour.h"
#include "render/tests/random_shade.h"
#include "render/tests/simd_levels.h"

namespace veldmark::test {
namespace {

std::uint32_t Bits(float f) { return std::bit_cast<std::uint32_t>(f); }

TEST(GradientLanes, AgreeBitForBitWithTheOnePixelFunctions)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 3000; ++round) {
        const ShadeRecord r = RandomShadeRecord(rng, round, 13);
        const SpanShader shader = MakeSpanShader(r, MakeViewTransform(RandomRoll(rng, round)));
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
