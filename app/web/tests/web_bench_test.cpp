#include "app/web/web_bench.h"

#include <gtest/gtest.h>

#include "world/tests/fresh_state.h"

namespace veldmark::web {
namespace {

TEST(BenchFigures, MedianPercentileAndRates)
{
    EXPECT_EQ(Median({}), 0.0);
    EXPECT_EQ(Median({5.0, 1.0, 3.0}), 3.0);
    EXPECT_EQ(Percentile({4.0, 1.0, 3.0, 2.0, 5.0}, 0.0), 1.0);
    EXPECT_EQ(Percentile({4.0, 1.0, 3.0, 2.0, 5.0}, 1.0), 5.0);
    EXPECT_EQ(Percentile({4.0, 1.0, 3.0, 2.0, 5.0}, 0.5), 3.0);
    EXPECT_EQ(Percentile({4.0, 1.0}, 7.0), 4.0) << "a fraction beyond 1 reads the largest, not past the end";

    // Arrivals 10 ms apart for 20 frames, then 20 ms apart.
    std::vector<BenchClock::time_point> arrivals;
    const BenchClock::time_point t{};
    for (int i = 0; i <= 20; ++i) arrivals.push_back(t + std::chrono::milliseconds(10 * i));
    for (int i = 1; i <= 20; ++i) arrivals.push_back(t + std::chrono::milliseconds(200 + 20 * i));
    const std::vector<double> rates = WindowRates(arrivals, 10);
    ASSERT_EQ(rates.size(), 4u);
    EXPECT_DOUBLE_EQ(rates[0], 100.0);
    EXPECT_DOUBLE_EQ(rates[1], 100.0);
    EXPECT_DOUBLE_EQ(rates[2], 50.0);
    EXPECT_DOUBLE_EQ(rates[3], 50.0);
    EXPECT_TRUE(WindowRates(arrivals, 0).empty());
    EXPECT_TRUE(WindowRates(arrivals, 100).empty()) << "fewer frames than a window: no rate";
}

TEST(WebBench, MeasuresEveryStageOfTheFramesItWasAskedFor)
{
    auto state = testing::FreshState();
    WebDrive drive;
    StartWebDrive(drive, *state, Rendering::ThisThread, FrameSchedule{.count = 5});
    WebBench bench;
    StartWebBench(bench, 5, 2, 0);
    int slices = 0;
    while (!WebBenchSlice(bench, drive, 1.0)) ASSERT_LT(++slices, 10'000);
    EXPECT_EQ(bench.arrivals->arrivals.size(), 5u);
    // Frames 1, 3 and 5 of the five are timed, at steps 1, 3 and 5.
    EXPECT_EQ(bench.stages.steps, (std::vector<std::uint64_t>{1, 3, 5}));
    EXPECT_EQ(bench.stages.raster.size(), 3u);
    EXPECT_EQ(bench.stages.simulation.size(), 3u);
    EXPECT_EQ(bench.stages.background.size(), 3u);
    EXPECT_EQ(bench.stages.plain_fill.size(), 3u);
    EXPECT_EQ(bench.stage_state, nullptr) << "the second record is given back";

    const std::string report = WebBenchReport(bench, "simd128");
    for (const char* line : {"pipeline, 5 frames, painted on the page's own thread, unpaced:\n",
                             "  frames per second        ", "vector path simd128", "  simulation  ", "  scene building",
                             "  simulation + scene", "  copy into the packet", "  rasterising  ", "sky, ground, sun alone", "plain buffer fill",
                             "rasterising / plain fill"})
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
}

} // namespace
} // namespace veldmark::web
