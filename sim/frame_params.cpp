#include "sim/frame_params.h"

#include <algorithm>
#include <cmath>

#include "scene/daylight.h"
#include "scene/lion_timeline.h"
#include "scene/scene_builder.h"
#include "scene/wrap_angle.h"
#include "world/float_math.h"
#include "world/world_gen.h"

namespace veldmark {
namespace {

constexpr float kLionLeaveSteps = 83.0f;    // the view narrows again over this many steps after the lion
constexpr float kLionWidest = 1.8f;
constexpr float kMovingSpeed = 1e-6f;
constexpr float kSteerNarrowing = 0.65f;
constexpr float kLookNarrowing = 0.39f;
constexpr float kLookIntoTurn = 0.15f;

// Clamps to [lo, hi], letting not-a-number through for the caller to see.
float ClampKeepNan(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

void PlaceSun(SimState& state, float focal, float look_yaw, float yaw, float ticks)
{
    const float a = WrapAngle(kSunBearing - (look_yaw + yaw));
    if (std::fabs(a) < kSunVisibleAngle) {
        const float scale = focal / kRestFocalLength;
        state.sun_scale = scale;
        state.sun_screen_x = Tan(a) * focal + state.view_width * 0.5f;
        state.sun_screen_y = kHorizonY - SunHeight(ticks) * scale;
        state.sun_visible = 1;
    } else {
        state.sun_scale = 0.0f;
        state.sun_screen_x = 0.0f;
        state.sun_screen_y = 0.0f;
        state.sun_visible = 0;
    }
}

} // namespace

float LionWidening(const SimState& state)
{
    const std::uint64_t index = state.car_section;
    if (index >= state.section_count || index >= kSectionCapacity) return 0.0f;
    const SectionRecord& section = state.sections[index];
    const float speed = state.car_speed;
    if (!section.has_lion || !(speed > kMovingSpeed)) return 0.0f;
    const float f = section.lion_spot[kLionAlong] - state.car_along - kLionStopShort;
    if (f > 0.0f) {
        const float g = ClampKeepNan(f / (-kLionSceneSteps * speed) + 1.0f, 0.0f, 1.0f);
        return Smooth(g) * kLionWidest;
    }
    const float k = std::min(f / speed / -kLionLeaveSteps, 1.0f);
    return (1.0f - Smooth(k)) * kLionWidest;
}

CameraChoice ChooseCamera(const SimState& state)
{
    const float steer = state.steer_angle;
    const float s = std::min(std::fabs(steer) / kFullSteer, 1.0f);
    const float z = LionWidening(state);
    const float look = Smooth(state.look_amount);
    const float m = std::isnan(z) ? look : std::max(look, z);
    const float focal = std::min((1.0f - kSteerNarrowing * (s * s)) * kRestFocalLength,
                                 (1.0f - kLookNarrowing * m) * kRestFocalLength);
    return CameraChoice{focal, kLookIntoTurn * steer + state.look_angle};
}

std::uint32_t FrameParams(SimState& state)
{
    WorldGen(state);
    state.display_list_length = 0;
    const CameraChoice camera = ChooseCamera(state);
    state.focal_length = camera.focal;

    const SceneInputs in{state.car_section,  state.car_along,   state.car_across,
                         state.car_heading,  state.car_yaw,     state.drive_ticks,
                         state.car_speed,    camera.focal,      camera.look_yaw,
                         state.lead_position,
                         static_cast<std::uint8_t>(state.lead_braking.load() & 0xFFu)};
    SceneBuilder(state, in);

    PlaceSun(state, camera.focal, camera.look_yaw, in.yaw, in.ticks);
    const std::uint64_t length = state.display_list_length;
    state.display_list_peak = std::max<std::uint64_t>(state.display_list_peak, length);
    return static_cast<std::uint32_t>(4 * length);
}

} // namespace veldmark
