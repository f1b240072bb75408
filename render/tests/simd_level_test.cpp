#include "render/simd/simd_level.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace veldmark {
namespace {

// Sets VELDMARK_SIMD for one test and puts back what was there.
class SimdVariable {
public:
    explicit SimdVariable(const char* value)
    {
        if (const char* old = std::getenv("VELDMARK_SIMD")) saved_ = old;
        if (value) setenv("VELDMARK_SIMD", value, 1);
        else unsetenv("VELDMARK_SIMD");
    }
    ~SimdVariable()
    {
        if (saved_) setenv("VELDMARK_SIMD", saved_->c_str(), 1);
        else unsetenv("VELDMARK_SIMD");
    }
    SimdVariable(const SimdVariable&) = delete;
    SimdVariable& operator=(const SimdVariable&) = delete;

private:
    std::optional<std::string> saved_;
};

TEST(SimdLevel, APathTheMachineLacksIsNeverTaken)
{
    const SimdLevel before = ActiveSimdLevel();
    EXPECT_LE(static_cast<int>(before), static_cast<int>(SupportedSimdLevel()));
    EXPECT_EQ(SetActiveSimdLevel(SimdLevel::Vec8), SupportedSimdLevel() < SimdLevel::Vec8 ? SupportedSimdLevel() : SimdLevel::Vec8);
    EXPECT_EQ(SetActiveSimdLevel(SimdLevel::Scalar), SimdLevel::Scalar);
    EXPECT_EQ(ActiveSimdLevel(), SimdLevel::Scalar);
    SetActiveSimdLevel(before);
}

TEST(SimdLevel, TheVariableNamesAPathByTheNameItIsShownWith)
{
    for (SimdLevel level : {SimdLevel::Scalar, SimdLevel::Vec4, SimdLevel::Vec8}) {
        const SimdVariable asked(SimdLevelName(level));
        EXPECT_EQ(SimdLevelFromEnvironment(SimdLevel::Vec8), level) << SimdLevelName(level);
        // Never wider than what is there.
        EXPECT_EQ(SimdLevelFromEnvironment(SimdLevel::Scalar), SimdLevel::Scalar) << SimdLevelName(level);
    }
    EXPECT_EQ(std::string(SimdLevelName(SimdLevel::Scalar)), "scalar");
    EXPECT_EQ(std::string(SimdLevelName(SimdLevel::Vec8)), "avx2");
#if defined(__x86_64__)
    EXPECT_EQ(std::string(SimdLevelName(SimdLevel::Vec4)), "sse2");
#endif
}

TEST(SimdLevel, AnUnsetUnknownOrMisspeltVariableLeavesTheSupportedPath)
{
    for (const char* value : {static_cast<const char*>(nullptr), "", "avx512", "AVX2", "sse2 ", "fast"}) {
        const SimdVariable asked(value);
        EXPECT_EQ(SimdLevelFromEnvironment(SimdLevel::Vec4), SimdLevel::Vec4) << (value ? value : "(unset)");
    }
    const SimdVariable asked("scalar");
    EXPECT_EQ(SimdLevelFromEnvironment(SimdLevel::Vec4), SimdLevel::Scalar);
}

} // namespace
} // namespace veldmark
