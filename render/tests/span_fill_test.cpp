// The vector span fill: every length at every alignment, never a pixel outside the span.
#include <gtest/gtest.h>

#include <vector>

#include "render/span_fill.h"

namespace veldmark::test {
namespace {

TEST(FillSpan, EveryLengthAndAlignmentFillsExactlyTheSpan)
{
    std::vector<std::uint32_t> buffer(128);
    for (std::size_t offset = 0; offset < 8; ++offset)
        for (std::size_t count = 0; count <= 70; ++count) {
            std::fill(buffer.begin(), buffer.end(), 0u);
            FillSpan(buffer.data() + 16 + offset, count, 0x00ABCDEFu);
            for (std::size_t k = 0; k < buffer.size(); ++k) {
                const bool inside = k >= 16 + offset && k < 16 + offset + count;
                ASSERT_EQ(buffer[k], inside ? 0x00ABCDEFu : 0u)
                    << "offset " << offset << " count " << count << " word " << k;
            }
        }
}

} // namespace
} // namespace veldmark::test
