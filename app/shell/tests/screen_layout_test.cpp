#include "app/shell/screen_layout.h"

#include <gtest/gtest.h>

namespace veldmark {
namespace {

ScreenLayout TwoMonitors()
{
    ScreenLayout layout;
    AddScreen(layout, {0, 0, 1920, 1080});
    AddScreen(layout, {1920, 0, 1280, 1024});
    return layout;
}

TEST(ScreenLayout, TakesAsManyScreensAsTheCapAndNoMore)
{
    ScreenLayout layout;
    for (std::size_t i = 0; i < kMaxScreens; ++i) EXPECT_TRUE(AddScreen(layout, {int(i) * 10, 0, 10, 10}));
    EXPECT_FALSE(AddScreen(layout, {999, 0, 10, 10}));
    EXPECT_EQ(layout.count, kMaxScreens);
    EXPECT_EQ(layout.screens[kMaxScreens - 1].x, int(kMaxScreens - 1) * 10);
}

TEST(MonitorWatch, LooksEveryHalfSecondAcrossTheClocksWrap)
{
    MonitorWatch watch;
    EXPECT_FALSE(MonitorLookDue(watch, 1'000'000)) << "nothing to compare with before the start";
    const std::uint32_t start = 0xFFFFFF00u;   // 256 ms before the wrap
    StartMonitorWatch(watch, TwoMonitors(), start);
    EXPECT_FALSE(MonitorLookDue(watch, start + 499));
    EXPECT_TRUE(MonitorLookDue(watch, start + kMonitorLookEveryMs));   // past the wrap
    EXPECT_FALSE(MonitorLayoutChanged(watch, TwoMonitors(), start + 500));
    EXPECT_FALSE(MonitorLookDue(watch, start + 999));
    EXPECT_TRUE(MonitorLookDue(watch, start + 1000));
}

TEST(MonitorWatch, NoticesAMonitorThatComesGoesOrMovesAndThenWatchesTheNewLayout)
{
    MonitorWatch watch;
    StartMonitorWatch(watch, TwoMonitors(), 0);

    ScreenLayout one;
    AddScreen(one, {0, 0, 1920, 1080});
    EXPECT_TRUE(MonitorLayoutChanged(watch, one, 500));
    EXPECT_FALSE(MonitorLayoutChanged(watch, one, 1000));

    ScreenLayout moved = TwoMonitors();
    moved.screens[1].y = 56;
    EXPECT_TRUE(MonitorLayoutChanged(watch, TwoMonitors(), 1500));
    EXPECT_TRUE(MonitorLayoutChanged(watch, moved, 2000));
    EXPECT_EQ(watch.layout, moved);
}

} // namespace
} // namespace veldmark
