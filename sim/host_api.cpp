#include "sim/host_api.h"

#include <cmath>

#include "sim/frame_params.h"
#include "sim/history.h"
#include "sim/simulation_step.h"
#include "sim/sky.h"
#include "world/route_distance.h"
#include "world/world_gen.h"

namespace {

using veldmark::g_state;

void EnsureWorld() { veldmark::WorldGen(g_state); }

} // namespace

extern "C" {

uint32_t SimulationStep(void) { return veldmark::SimulationStep(g_state) ? 1u : 0u; }

uint32_t FrameParams(void) { return veldmark::FrameParams(g_state); }

uint32_t* DisplayListAddress(void) { return g_state.display_list; }

uint32_t DisplayListCapacity(void)
{
    return static_cast<uint32_t>(sizeof g_state.display_list);
}

uint32_t DisplayListPeakBytes(void)
{
    return static_cast<uint32_t>(4u * g_state.display_list_peak.load());
}

uint32_t AnimalsOutOfRange(void) { return g_state.animals_out_of_range; }
uint32_t AnimalsTooSmall(void) { return g_state.animals_too_small; }
float FocalLength(void) { return g_state.focal_length; }

int32_t DriveTicks(void)
{
    // The clock stays far inside int32 range, but a host may read it at any moment: never
    // convert a value that does not fit.
    const float ticks = truncf(g_state.drive_ticks);
    if (!(ticks > -2147483648.0f)) return ticks < 0.0f ? INT32_MIN : 0;
    if (ticks >= 2147483648.0f) return INT32_MAX;
    return static_cast<int32_t>(ticks);
}

void SetViewWidth(float width)
{
    if (std::isfinite(width)) g_state.view_width = width;
}

uint32_t CarSection(void)
{
    EnsureWorld();
    return static_cast<uint32_t>(g_state.car_section.load());
}

float CarSpeed(void)
{
    EnsureWorld();
    return g_state.car_speed;
}

float LookAngle(void)
{
    EnsureWorld();
    return g_state.look_angle;
}

uint32_t LeadBraking(void)
{
    EnsureWorld();
    return g_state.lead_braking.load() & 0xFFu;
}

float LeadSpeed(void)
{
    EnsureWorld();
    return g_state.lead_speed;
}

float LeadGap(void)
{
    EnsureWorld();
    return g_state.lead_position - veldmark::CarRoutePosition(g_state);
}

uint32_t ZenithColour(void)
{
    EnsureWorld();
    return veldmark::ZenithColour(g_state.drive_ticks);
}

uint32_t HorizonColour(void)
{
    EnsureWorld();
    return veldmark::HorizonColour(g_state.drive_ticks);
}

float RollAngle(void)
{
    EnsureWorld();
    return veldmark::RollFromSteer(g_state.steer_angle);
}

void StepBack(void) { veldmark::StepBack(g_state); }

} // extern "C"
