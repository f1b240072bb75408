#include "app/headless/args.h"

#include <gtest/gtest.h>

namespace veldmark::tool {
namespace {

constexpr OptionSpec kOptions[] = {{"steps", true}, {"out", true}, {"summary", false}};

Args Read(std::initializer_list<const char*> words)
{
    return Args(std::span<const char* const>(words.begin(), words.size()), kOptions);
}

TEST(ParseWholeNumberTest, AcceptsOnlyPlainDecimals)
{
    EXPECT_EQ(ParseWholeNumber("0"), 0u);
    EXPECT_EQ(ParseWholeNumber("18446744073709551615"), UINT64_MAX);
    for (const char* bad : {"", "-1", "+1", " 1", "1 ", "1e3", "0x10", "18446744073709551616",
                            "99999999999999999999", "123456789012345678901"})
        EXPECT_FALSE(ParseWholeNumber(bad).has_value()) << bad;
}

TEST(ArgsTest, ReadsOptionsAndFlags)
{
    Args args = Read({"--steps", "12", "--summary"});
    ASSERT_TRUE(args.ok()) << args.error();
    EXPECT_TRUE(args.has("summary"));
    EXPECT_FALSE(args.has("out"));
    EXPECT_EQ(args.number("steps", 0, 1, 100), 12u);
    EXPECT_EQ(args.number("out", 7, 1, 100), 7u) << "absent options take the fallback";
}

TEST(ArgsTest, ErrorsNameTheArgument)
{
    EXPECT_NE(Read({"--stpes", "3"}).error().find("--stpes"), std::string::npos);
    EXPECT_NE(Read({"--steps"}).error().find("needs a value"), std::string::npos);
    EXPECT_NE(Read({"steps"}).error().find("'steps'"), std::string::npos);
    EXPECT_NE(Read({"--summary", "--summary"}).error().find("twice"), std::string::npos);
    Args out_of_range = Read({"--steps", "0"});
    EXPECT_FALSE(out_of_range.number("steps", 1, 1, 100).has_value());
    EXPECT_NE(out_of_range.error().find("--steps"), std::string::npos);
}

} // namespace
} // namespace veldmark::tool
