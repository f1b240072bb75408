// FrameParams: the focal length rules, the look direction, the sun's place and the list peak.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "sim/frame_params.h"
#include "sim/host_api.h"
#include "world/world_gen.h"

namespace veldmark {
namespace {

struct Frame {
    std::unique_ptr<SimState> s = std::make_unique<SimState>();
    Frame()
    {
        ApplyInitialValues(*s);
        WorldGen(*s);
    }
    std::uint64_t LionSection() const
    {
        for (std::uint64_t i = 0; i < s->section_count; ++i)
            if (s->sections[i].has_lion) return i;
        return 0;
    }
};

TEST(FocalLength, AtRestOnAStraightItIsTheRestFocalLength)
{
    Frame f;
    FrameParams(*f.s);
    EXPECT_EQ(float{f.s->focal_length}, kRestFocalLength);
}

TEST(FocalLength, SteeringNarrowsItToAThirdAndABitAtTwentyDegrees)
{
    Frame f;
    for (float steer : {0.34906584f, -0.34906584f, 0.6f}) {
        f.s->steer_angle = steer;
        EXPECT_EQ(ChooseCamera(*f.s).focal, (1.0f - 0.65f) * kRestFocalLength) << steer;
    }
    f.s->steer_angle = 0.1f;
    EXPECT_GT(ChooseCamera(*f.s).focal, 0.35f * kRestFocalLength);
}

TEST(FocalLength, LookingAtTheGroupWidensTheView)
{
    Frame f;
    f.s->look_amount = 1.0f;
    EXPECT_FLOAT_EQ(ChooseCamera(*f.s).focal, 0.61f * kRestFocalLength);
    f.s->look_amount = 0.5f;   // smooth(0.5) = 0.5
    EXPECT_FLOAT_EQ(ChooseCamera(*f.s).focal, (1.0f - 0.39f * 0.5f) * kRestFocalLength);
}

TEST(FocalLength, TheLionWidensTheViewMostAtItsStoppingPoint)
{
    Frame f;
    const std::uint64_t lion = f.LionSection();
    ASSERT_TRUE(f.s->sections[lion].has_lion);
    f.s->car_section = lion;
    f.s->car_speed = 1.0f;
    const float stop = f.s->sections[lion].lion_spot[kLionAlong] - 3.0f;

    f.s->car_along = stop;
    EXPECT_FLOAT_EQ(LionWidening(*f.s), 1.8f);
    EXPECT_NEAR(ChooseCamera(*f.s).focal, 0.298f * kRestFocalLength, 1e-3f);

    f.s->car_along = stop - 38.0f;   // 38 steps away at this speed: not yet
    EXPECT_EQ(LionWidening(*f.s), 0.0f);
    f.s->car_along = stop - 19.0f;   // half way there
    EXPECT_FLOAT_EQ(LionWidening(*f.s), 0.9f);
    f.s->car_along = stop + 83.0f;   // 83 steps past: back to normal
    EXPECT_EQ(LionWidening(*f.s), 0.0f);

    f.s->car_along = stop;
    f.s->car_speed = 0.0f;           // standing still: no widening
    EXPECT_EQ(LionWidening(*f.s), 0.0f);
}

TEST(FocalLength, AnUndefinedLionFactorIsIgnored)
{
    Frame f;
    f.s->car_section = f.LionSection();
    f.s->car_speed = 1.0f;
    f.s->car_along = NAN;
    EXPECT_TRUE(std::isnan(LionWidening(*f.s)));
    EXPECT_EQ(ChooseCamera(*f.s).focal, kRestFocalLength);
}

TEST(Sun, IsAtBearingMinus2Point2176AndHiddenMoreThan1Point4Away)
{
    Frame f;
    FrameParams(*f.s);   // looking along bearing 0: the sun is behind and to the left
    EXPECT_EQ(f.s->sun_visible, 0);
    EXPECT_EQ(f.s->sun_screen_x, 0.0f);
    EXPECT_EQ(f.s->sun_screen_y, 0.0f);
    EXPECT_EQ(f.s->sun_scale, 0.0f);

    f.s->car_yaw = -2.2176f;
    FrameParams(*f.s);
    EXPECT_EQ(f.s->sun_visible, 1);
    EXPECT_EQ(f.s->sun_scale, 1.0f);
    EXPECT_EQ(f.s->sun_screen_x, 480.0f);
    EXPECT_FLOAT_EQ(f.s->sun_screen_y, 300.0f - 244.0f);

    // The same bearing a whole turn on.
    f.s->car_yaw = -2.2176f + 6.2831855f;
    f.s->drive_ticks = 1000.0f;
    FrameParams(*f.s);
    EXPECT_EQ(f.s->sun_visible, 1);
    EXPECT_NEAR(f.s->sun_screen_x, 480.0f, 0.01f);
    EXPECT_FLOAT_EQ(f.s->sun_screen_y, 300.0f - (244.0f - 61.258752f));
}

TEST(FrameParams, ReturnsTheBytesWrittenAndKeepsThePeak)
{
    Frame f;
    const std::uint32_t bytes = FrameParams(*f.s);
    EXPECT_EQ(bytes, 4 * f.s->display_list_length);
    EXPECT_GT(bytes, 0u);
    const std::uint64_t first = f.s->display_list_peak;
    EXPECT_EQ(first, f.s->display_list_length);

    f.s->car_section = 18;   // the last section: less road in view
    f.s->car_along = 290.0f;
    FrameParams(*f.s);
    EXPECT_LT(f.s->display_list_length, first);
    EXPECT_EQ(std::uint64_t{f.s->display_list_peak}, first);
}

TEST(FrameParams, BuildsTheWorldFirst)
{
    auto s = std::make_unique<SimState>();
    ApplyInitialValues(*s);
    FrameParams(*s);
    EXPECT_EQ(s->world_ready.load(), 1);
    EXPECT_GT(s->display_list_length, 0u);
}

TEST(FrameParams, TheHostEntryBuildsTheProcesssFrame)
{
    const std::uint32_t bytes = ::FrameParams();
    EXPECT_GT(bytes, 0u);
    EXPECT_EQ(bytes, 4 * g_state.display_list_length);
    EXPECT_EQ(DisplayListPeakBytes(), bytes);
}

} // namespace
} // namespace veldmark
