// The vector span fill: every length at every alignment, never a pixel outside the span.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "render/span_fill.h"
#include "render/tests/simd_levels.h"

namespace veldmark::test {
namespace {

TEST(FillSpan, EveryLengthAndAlignmentFillsExactlyTheSpan)
{
    alignas(64) std::uint32_t buffer[128];
    for (SimdLevel level : MachineSimdLevels())
        for (std::size_t offset = 0; offset < 16; ++offset)
            for (std::size_t count = 0; count <= 70; ++count) {
                std::fill(std::begin(buffer), std::end(buffer), 0u);
                SpanFillFunction(level)(buffer + 16 + offset, count, 0x00ABCDEFu);
                for (std::size_t k = 0; k < std::size(buffer); ++k) {
                    const bool inside = k >= 16 + offset && k < 16 + offset + count;
                    ASSERT_EQ(buffer[k], inside ? 0x00ABCDEFu : 0u)
                        << SimdLevelName(level) << " offset " << offset << " count " << count << " word " << k;
                }
            }
}

} // namespace
} // namespace veldmark::test
