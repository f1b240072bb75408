#include "app/web/web_options.h"

#include <gtest/gtest.h>

namespace veldmark::web {
namespace {

TEST(WebOptions, TheDriveUnlessAskedOtherwise)
{
    for (const char* query : {"", "?", "?utm_source=x&lang=en", "?fps=1&zoom"}) {
        const WebOptions o = ReadWebOptions(query);
        EXPECT_EQ(o.mode, WebMode::Drive) << query;
        EXPECT_TRUE(o.error.empty()) << query;
        EXPECT_EQ(o.frames.first_step, 1u);
        EXPECT_EQ(o.frames.every, 1u);
        EXPECT_EQ(o.frames.count, kEndless) << "the drive never ends";
    }
    EXPECT_FALSE(ReadWebOptions("").fps_overlay);
    EXPECT_TRUE(ReadWebOptions("?fps").fps_overlay);
    EXPECT_TRUE(ReadWebOptions("lang=en&fps").fps_overlay) << "with or without the question mark";
}

TEST(WebOptions, HashesTakeTheHeadlessToolsSchedule)
{
    const WebOptions o = ReadWebOptions("?hashes=12&every=50&from=7");
    ASSERT_TRUE(o.error.empty()) << o.error;
    EXPECT_EQ(o.mode, WebMode::Hashes);
    EXPECT_EQ(o.frames.count, 12u);
    EXPECT_EQ(o.frames.every, 50u);
    EXPECT_EQ(o.frames.first_step, 7u);

    const WebOptions plain = ReadWebOptions("?hashes");
    EXPECT_EQ(plain.mode, WebMode::Hashes);
    EXPECT_EQ(plain.frames.count, kDefaultHashFrames);
    EXPECT_EQ(plain.frames.first_step, 1u);
    EXPECT_EQ(plain.frames.every, 1u);

    // The order of the parameters does not matter.
    const WebOptions reordered = ReadWebOptions("from=7&every=50&hashes=12");
    EXPECT_EQ(reordered.frames.count, 12u);
    EXPECT_EQ(reordered.frames.first_step, 7u);
    EXPECT_EQ(reordered.frames.every, 50u);
}

TEST(WebOptions, BenchCountsFramesAndTimesEveryKth)
{
    const WebOptions o = ReadWebOptions("?bench=600&every=10");
    ASSERT_TRUE(o.error.empty()) << o.error;
    EXPECT_EQ(o.mode, WebMode::Bench);
    EXPECT_EQ(o.frames.count, 600u);
    EXPECT_EQ(o.frames.every, 10u);
    EXPECT_FALSE(ReadWebOptions("?bench").error.empty()) << "bench needs its count";
    EXPECT_FALSE(ReadWebOptions("?bench=1").error.empty()) << "rates need two frames at least";
}

TEST(WebOptions, BadNumbersAreNamedNotGuessed)
{
    struct Case {
        const char* query;
        const char* named;
    };
    for (const Case c : {Case{"?hashes=0", "hashes"}, Case{"?hashes=abc", "hashes"}, Case{"?hashes=12x", "hashes"},
                         Case{"?hashes=-3", "hashes"}, Case{"?hashes=10000001", "hashes"},
                         Case{"?hashes=5&every=0", "every"}, Case{"?hashes=5&every=", "every"},
                         Case{"?hashes=5&from", "from"}, Case{"?hashes=5&from=1000000001", "from"},
                         Case{"?hashes=99999999999999999999999", "hashes"}, Case{"?hashes= 5", "hashes"}}) {
        const WebOptions o = ReadWebOptions(c.query);
        EXPECT_NE(o.error.find(c.named), std::string::npos) << c.query << ": " << o.error;
        EXPECT_EQ(o.mode, WebMode::Drive) << "nothing runs on a bad address: " << c.query;
    }
    EXPECT_TRUE(ReadWebOptions("?hashes=10000000&every=1000000000&from=1000000000").error.empty())
        << "the limits themselves are allowed";
    EXPECT_FALSE(ReadWebOptions("?hashes=3&bench=3").error.empty());
}

} // namespace
} // namespace veldmark::web
