#include "render/simd_level.h"

#include <gtest/gtest.h>

#include <string>

namespace veldmark {
namespace {

TEST(SimdLevel, APathTheMachineLacksIsNeverTaken)
{
    const SimdLevel before = ActiveSimdLevel();
    EXPECT_LE(static_cast<int>(before), static_cast<int>(SupportedSimdLevel()));
    EXPECT_EQ(SetActiveSimdLevel(SimdLevel::Avx512), SupportedSimdLevel());
    EXPECT_EQ(SetActiveSimdLevel(SimdLevel::Sse2), SimdLevel::Sse2);
    EXPECT_EQ(ActiveSimdLevel(), SimdLevel::Sse2);
    SetActiveSimdLevel(before);
}

TEST(SimdLevel, NamesAreTheOnesTheEnvironmentVariableTakes)
{
    EXPECT_EQ(std::string(SimdLevelName(SimdLevel::Sse2)), "sse2");
    EXPECT_EQ(std::string(SimdLevelName(SimdLevel::Avx2)), "avx2");
    EXPECT_EQ(std::string(SimdLevelName(SimdLevel::Avx512)), "avx512");
}

} // namespace
} // namespace veldmark
