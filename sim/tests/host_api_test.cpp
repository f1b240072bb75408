// The C API as a host sees it: on the process's own state, and through the shared library.
#include "sim/host_api.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "world/sim_state.h"

namespace {

using veldmark::g_state;

TEST(HostApiTest, StatisticsNeedNoWorld)
{
    EXPECT_EQ(DisplayListCapacity(), 1'048'576u);
    EXPECT_EQ(DisplayListAddress(), g_state.display_list);
    EXPECT_EQ(FocalLength(), 685.5109f);
    g_state.display_list_peak = 1000;
    EXPECT_EQ(DisplayListPeakBytes(), 4000u);
    g_state.animals_too_small = 3;
    g_state.animals_out_of_range = 7;
    EXPECT_EQ(AnimalsTooSmall(), 3u);
    EXPECT_EQ(AnimalsOutOfRange(), 7u);
}

TEST(HostApiTest, VehicleAccessorsBuildTheWorld)
{
    EXPECT_EQ(CarSpeed(), 0.3f);
    EXPECT_EQ(g_state.world_ready.load(), 1);
    EXPECT_EQ(CarSection(), 0u);
    EXPECT_EQ(LeadSpeed(), 0.3f);
    EXPECT_EQ(LeadGap(), 500.0f);
    EXPECT_EQ(LeadBraking(), 0u);
    EXPECT_EQ(ZenithColour(), 0x8ECAE6u);
    EXPECT_EQ(HorizonColour(), 0x8ECAE6u);
}

TEST(HostApiTest, LeadGapMeasuresAlongTheRoute)
{
    CarSection();   // builds the world before the test moves the vehicle
    g_state.car_section = 2;   // sections 0 and 1 are 500 and 320 long
    g_state.car_along = 30.0f;
    g_state.lead_position = 1000.0f;
    EXPECT_EQ(LeadGap(), 1000.0f - 850.0f);
    g_state.lead_braking = 1u;
    EXPECT_EQ(LeadBraking(), 1u);
    g_state.car_section = 0;
    g_state.car_along = 0.0f;
    g_state.lead_position = 500.0f;
    g_state.lead_braking = 0u;
}

TEST(HostApiTest, DriveTicksTruncates)
{
    g_state.drive_ticks = 3.9f;
    EXPECT_EQ(DriveTicks(), 3);
    g_state.drive_ticks = -0.5f;
    EXPECT_EQ(DriveTicks(), 0);
    g_state.drive_ticks = 1e20f;
    EXPECT_EQ(DriveTicks(), INT32_MAX);
    g_state.drive_ticks = NAN;
    EXPECT_EQ(DriveTicks(), 0);
    g_state.drive_ticks = 0.0f;
}

TEST(HostApiTest, RollAngleIgnoresTinySteering)
{
    g_state.steer_angle = 0.0005f;
    EXPECT_EQ(RollAngle(), 0.0f);
    g_state.steer_angle = -0.002f;
    EXPECT_EQ(RollAngle(), -0.002f);
    g_state.steer_angle = 0.0f;
}

TEST(HostApiTest, ViewWidthTakesOnlyFiniteValues)
{
    SetViewWidth(1280.0f);
    EXPECT_EQ(float{g_state.view_width}, 1280.0f);
    SetViewWidth(NAN);
    SetViewWidth(INFINITY);
    EXPECT_EQ(float{g_state.view_width}, 1280.0f);
    SetViewWidth(960.0f);
}

TEST(HostApiTest, StepAndStepBack)
{
    const float speed = CarSpeed();
    SimulationStep();
    SimulationStep();
    EXPECT_EQ(DriveTicks(), 2);
    StepBack();
    StepBack();
    EXPECT_EQ(DriveTicks(), 0);
    EXPECT_EQ(CarSpeed(), speed);
    StepBack();   // nothing left to undo
    EXPECT_EQ(DriveTicks(), 0);
}

TEST(HostApiTest, AHostThreadMayReadWhileTheDriveSteps)
{
    // Under ThreadSanitizer this is the check that accessor reads are not data races.
    std::atomic<bool> done{false};
    std::thread host([&] {
        float sink = 0.0f;
        while (!done.load(std::memory_order_relaxed)) {
            sink += CarSpeed() + LeadGap() + LookAngle() + FocalLength() + RollAngle();
            sink += static_cast<float>(DriveTicks() + static_cast<int32_t>(CarSection()));
            SetViewWidth(960.0f);
        }
        EXPECT_TRUE(std::isfinite(sink));
    });
    for (int i = 0; i < 3000; ++i) SimulationStep();
    done = true;
    host.join();
    EXPECT_GT(DriveTicks(), 0);
}

TEST(SharedLibraryTest, ExportsTheHostApi)
{
    void* library = dlopen(VELDMARK_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const char* name :
         {"SimulationStep", "DisplayListAddress", "DisplayListCapacity", "DisplayListPeakBytes",
          "AnimalsOutOfRange", "AnimalsTooSmall", "FocalLength", "DriveTicks", "SetViewWidth",
          "CarSection", "CarSpeed", "LookAngle", "LeadBraking", "LeadSpeed", "LeadGap",
          "ZenithColour", "HorizonColour", "RollAngle", "StepBack"})
        EXPECT_NE(dlsym(library, name), nullptr) << name;
    EXPECT_EQ(dlsym(library, "_ZN8veldmark7g_stateE"), nullptr) << "internals stay hidden";

    // The library carries its own drive: stepping it moves its clock, not ours.
    using StepFn = uint32_t (*)();
    using TicksFn = int32_t (*)();
    auto step = reinterpret_cast<StepFn>(dlsym(library, "SimulationStep"));
    auto ticks = reinterpret_cast<TicksFn>(dlsym(library, "DriveTicks"));
    ASSERT_NE(step, nullptr);
    ASSERT_NE(ticks, nullptr);
    const int32_t ours = DriveTicks();
    step();
    step();
    step();
    EXPECT_EQ(ticks(), 3);
    EXPECT_EQ(DriveTicks(), ours);
    dlclose(library);
}

} // namespace
