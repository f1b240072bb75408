#include "app/shell/fps_meter.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace veldmark {
namespace {

constexpr std::uint64_t kMs = 1'000'000;   // nanoseconds

FpsClocks At(std::uint64_t wall_ms, std::uint64_t cpu_ms) { return {wall_ms * kMs, cpu_ms * kMs}; }

std::string Summary(const FpsMeter& meter, FpsClocks now)
{
    char line[kFpsSummaryCapacity];
    FormatFpsSummary(meter, now, line, sizeof line);
    return line;
}

TEST(FpsMeter, EachHalfSecondGivesTheFramesAndTheProcessorShareOfThatWindow)
{
    FpsMeter meter;
    FpsMeterStart(meter, At(10'000, 3'000));
    // 30 frames 1/60 s apart, the process using 21 ms of processor time in the 500 ms.
    for (int i = 1; i < 30; ++i) FpsMeterFrame(meter, At(10'000 + i * 500 / 30, 3'000));
    EXPECT_STREQ(meter.text, "") << "nothing is shown before the first window ends";
    FpsMeterFrame(meter, At(10'500, 3'021));
    EXPECT_EQ(meter.fps_tenths, 600u);
    EXPECT_EQ(meter.cpu_tenths, 42u);
    EXPECT_STREQ(meter.text, "60.0 fps  4.2% cpu");

    // The next window counts only its own frames: 7 in 700 ms (a stall), two cores busy.
    for (int i = 1; i <= 7; ++i) FpsMeterFrame(meter, At(10'500 + i * 100, 3'021 + i * 200));
    EXPECT_STREQ(meter.text, "10.0 fps  200.0% cpu");
    EXPECT_EQ(meter.frames, 37u);
}

TEST(FpsMeter, ClocksThatStandStillOrStepBackGiveZerosNotGarbage)
{
    FpsMeter meter;
    FpsMeterStart(meter, At(5'000, 900));
    for (int i = 0; i < 100; ++i) FpsMeterFrame(meter, At(5'000, 900));
    EXPECT_STREQ(meter.text, "");
    FpsMeterFrame(meter, At(4'000, 100));
    EXPECT_STREQ(meter.text, "");
    EXPECT_EQ(Summary(meter, At(1'000, 0)), "veldmark: 101 frames in 0.0 s, 0.0 fps, 0.0% of one core");
}

TEST(FpsMeter, TheSummaryCoversTheWholeRunFromTheStart)
{
    FpsMeter meter;
    FpsMeterStart(meter, At(1'000, 250));
    for (int i = 1; i <= 1234; ++i) FpsMeterFrame(meter, At(1'000 + i * 20'600 / 1234, 250));
    EXPECT_EQ(Summary(meter, At(21'600, 250 + 845)),
              "veldmark: 1234 frames in 20.6 s, 59.9 fps, 4.1% of one core");

    char tiny[12];
    FormatFpsSummary(meter, At(21'600, 1'095), tiny, sizeof tiny);
    EXPECT_EQ(std::string(tiny), "veldmark: 1") << "cut to the buffer, still terminated";
}

TEST(FpsMeter, ScaledRatioRoundsAndNeverOverflows)
{
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    EXPECT_EQ(ScaledRatio(1, 3, 1000), 333u);
    EXPECT_EQ(ScaledRatio(2, 3, 1000), 667u);
    EXPECT_EQ(ScaledRatio(5, 0, 1000), 0u);
    EXPECT_EQ(ScaledRatio(0, 7, 1000), 0u);
    // A year of nanoseconds times ten billion does not fit in 64 bits; the ratio still comes out.
    constexpr std::uint64_t kYear = 365ull * 24 * 3600 * 1'000'000'000;
    EXPECT_NEAR(static_cast<double>(ScaledRatio(kYear / 2, kYear, 10'000'000'000)), 5e9, 10.0);
    EXPECT_EQ(ScaledRatio(kMax, kMax, 1000), 1000u);
    EXPECT_EQ(ScaledRatio(kMax, 1, 1000), kMax) << "saturates";
}

} // namespace
} // namespace veldmark
