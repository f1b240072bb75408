// Every vector path's shaded spans against the one-pixel colour functions, pixel for pixel, on
// many random gradients over random pixels: the wider paths must give the same bits.
#include "render/shaded_span.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "render/pixel_colour.h"
#include "render/tests/random_shade.h"
#include "render/tests/simd_levels.h"

namespace veldmark::test {
namespace {

std::uint32_t OnePixel(const ShadeRecord& r, std::uint32_t pixel, Vec2 p)
{
    switch (r.kind) {
    case ShadeKind::kBand: return BandColourAt(r, BandT(r, p));
    case ShadeKind::kRadial: return Blend(pixel, MixUnit(r.colour_a, r.colour_b, RadialT(r, p)));
    case ShadeKind::kLinear: return Blend(pixel, Mix(r.colour_a, r.colour_b, LinearT(r, p), r.start, r.end));
    case ShadeKind::kElliptic: return Blend(pixel, Mix(r.colour_a, r.colour_b, EllipticT(r, p), r.start, r.end));
    case ShadeKind::kBlend:
    case ShadeKind::kFlat: break;
    }
    return Blend(pixel, r.colour_a);
}

TEST(ShadedSpan, EveryPathGivesTheOnePixelColours)
{
    std::mt19937 rng(17);
    constexpr int kWidth = 1920;
    std::vector<std::uint32_t> background(kWidth);
    for (int round = 0; round < 1500; ++round) {
        const ShadeRecord r = RandomShadeRecord(rng, round, 11);
        const ViewTransform view = MakeViewTransform(RandomRoll(rng, round));
        const SpanShader shader = MakeSpanShader(r, view);
        const float row_centre = static_cast<float>(rng() % 1200) + 0.5f;
        const int first = static_cast<int>(rng() % 1700);
        const IndexRange span{first, first + static_cast<int>(rng() % 200)};
        for (std::uint32_t& p : background) p = static_cast<std::uint32_t>(rng());

        std::vector<std::uint32_t> expected = background;
        for (int j = span.first; j <= span.last; ++j)
            expected[static_cast<std::size_t>(j)] = OnePixel(r, background[static_cast<std::size_t>(j)], PixelCentreToLogical(view, j, row_centre));
        for (SimdLevel level : MachineSimdLevels()) {
            std::vector<std::uint32_t> row = background;
            ShadedSpanFunction(r.kind, level)(row.data(), span, row_centre, shader);
            ASSERT_EQ(row, expected) << "round " << round << " kind " << static_cast<int>(r.kind) << " path " << SimdLevelName(level);
        }
    }
}

} // namespace
} // namespace veldmark::test
