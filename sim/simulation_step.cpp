#include "sim/simulation_step.h"

#include <algorithm>
#include <cmath>

#include "sim/history.h"
#include "sim/turn_speed.h"
#include "world/world_gen.h"

namespace veldmark {
namespace {

constexpr float kOneDegree = 0.0174532924f;
constexpr float kTwoDegrees = 0.034906585f;
constexpr float kSixDegrees = 0.10471976f;
constexpr float kLookLimit = 0.61086524f;      // 35 degrees: the widest look at the group
constexpr float kLookTurnPerStep = 0.06981317f; // 4 degrees
constexpr float kLookRestEpsilon = 0.00034906584f;
constexpr float kLookRelaxMax = 0.0034906585f;
constexpr float kLookFade = 0.0012f;
constexpr float kEdgeMargin = 0.05f;
constexpr float kProbeDistance = 25.0f;
constexpr int kProbeIterations = 2000;
constexpr int kSteeringHalvings = 12;
constexpr float kMaxSpeed = 2.5f;
constexpr float kLeadMaxSpeed = 2.75f;
constexpr float kLeadAcceleration = 0.011f;
constexpr float kTurnZone = 60.0f;             // both vehicles prepare for a corner this close

void RestartDrive(SimState& state)
{
    PlaceVehiclesAtStart(state);
    state.drive_ticks = 0.0f;
    state.history_head = 0;
    state.history_count = 0;
}

float SteeringSearch(const ProbeStart& start, float steer_angle)
{
    const float a = start.across;
    float target = 0.3f * a;
    if (std::fabs(a) < 0.04f) target = a >= 0.0f ? 0.04f : -0.04f;
    float lo = steer_angle - kOneDegree;
    float hi = steer_angle + kOneDegree;
    for (int i = 0; i < kSteeringHalvings; ++i) {
        const float m = (lo + hi) / 2.0f;
        const ProbeResult probe = ProbePath(start, 0.1f * m);
        if (probe.end == ProbeEnd::Low) lo = m;
        else if (probe.end == ProbeEnd::High) hi = m;
        else if (probe.across < target) lo = m;
        else hi = m;
    }
    return (lo + hi) / 2.0f;
}

struct LookResult {
    float angle;
    float amount;
};

// The driver turns his head toward the animal group near a slow section's end, and back.
LookResult LookAtGroup(const SimState& state, float old_angle, float old_amount)
{
    const SectionRecord& c = state.sections[state.car_section];
    const float along = state.car_along;
    const float across = state.car_across;
    const float heading = state.car_heading;
    float base = old_amount - kLookFade;
    float angle = 0.0f;
    bool tracking = false;
    if (c.slow_for_group && std::fabs(heading) <= kSixDegrees) {
        const float e = c.length - 58.0f - along;
        if (e <= 150.0f) {
            const float b = atan2f(c.width / 2.0f + 10.0f - across, e) - heading;
            if (std::fabs(b) < kLookLimit && b != 0.0f) {
                tracking = true;
                if (std::fabs(b - old_angle) <= kLookTurnPerStep) angle = b;
                else angle = b > old_angle ? old_angle + kLookTurnPerStep
                                           : old_angle - kLookTurnPerStep;
            }
        }
    }
    if (!tracking) {
        const float magnitude = std::fabs(old_angle);
        if (magnitude > kLookRestEpsilon) {
            const float relax = std::min(0.05f * magnitude, kLookRelaxMax);
            angle = old_angle > 0.0f ? old_angle - relax : old_angle + relax;
        }
    }
    float strength = 0.0f;
    if (angle != 0.0f) {
        base = old_amount;
        strength = std::min(std::fabs(angle) / kLookLimit, 1.0f);
    }
    return LookResult{angle, std::max(base, strength)};
}

// The lead vehicle cruises ahead of the vehicle and brakes only toward its own next corner.
bool StepLead(SimState& state)
{
    float before_car = 0.0f;
    for (std::uint64_t k = 0; k < state.car_section && k < state.section_count; ++k)
        before_car += state.sections[k].length;
    const float car_route_position = before_car + state.car_along;
    const float p = state.lead_position;
    const float s = state.lead_speed;

    float end = 0.0f;
    for (std::uint64_t k = 0; k < state.section_count; ++k) {
        const SectionRecord& section = state.sections[k];
        end += section.length;
        if (!(p < end)) continue;
        if (section.is_terminal || end - p > kTurnZone) break;
        const float w = TurnSpeedsFor(section.turn_angle).lead;
        const float gap = end - p;
        float u = gap <= 1e-6f ? s : s + (w * w - s * s) / (2.0f * gap);
        u = std::max(u, w);
        const bool braking = s > u;
        state.lead_braking = braking ? 1u : 0u;
        state.lead_speed = u;
        state.lead_position = p + u;
        return braking;
    }
    // Cruise: close up to a lead that shrinks from 500 to 100 as the route is used up.
    const float wanted = car_route_position + 100.0f +
                         400.0f * (1.0f - car_route_position / state.route_length);
    const float u = p < wanted ? std::min(s + kLeadAcceleration, kLeadMaxSpeed) : s;
    state.lead_speed = u;
    state.lead_position = p + u;
    state.lead_braking = 0u;
    return false;
}

} // namespace

ProbeResult ProbePath(const ProbeStart& start, float turn_rate)
{
    float g = start.heading;
    float x = start.across;
    float y = start.along;
    const float v = start.speed;
    for (int i = 0; i < kProbeIterations; ++i) {
        x += sinf(g + turn_rate / 2.0f) * v;
        if (x < start.low) return ProbeResult{ProbeEnd::Low, x, i};
        if (x > start.high) return ProbeResult{ProbeEnd::High, x, i};
        y += cosf(g + turn_rate / 2.0f) * v;
        const float travelled = y - start.along;
        if (travelled < 0.0f || travelled >= kProbeDistance) return ProbeResult{ProbeEnd::Clear, x, i + 1};
        g += turn_rate;
    }
    return ProbeResult{ProbeEnd::Clear, x, kProbeIterations};
}

bool SimulationStep(SimState& state)
{
    WorldGen(state);
    if (state.car_section >= state.section_count) {
        // Only a corrupted record gets here; start the drive over rather than index past the route.
        RestartDrive(state);
        return false;
    }
    const SectionRecord& s = state.sections[state.car_section];

    // 1. Restart once the vehicle has stopped at the end of the route.
    if (AtRouteEnd(state)) {
        RestartDrive(state);
        return false;
    }

    // 2. History.
    PushHistory(state);

    // 3. Steering: the search keeps the vehicle on the road and draws it toward the centre.
    const float a = state.car_across;
    const float v = state.car_speed;
    const float h = state.car_heading;
    const float along = state.car_along;
    const float half = s.width / 2.0f;
    const float limit = half - kEdgeMargin;
    const ProbeStart start{h, a, along, v, std::min(a, -limit), std::max(a, limit)};
    const float steer = SteeringSearch(start, state.steer_angle);

    // 4. Acceleration.
    float accel = std::fabs(steer) < kTwoDegrees ? 0.01f : 0.0f;
    const float t = s.is_terminal ? 0.0f : TurnSpeedsFor(s.turn_angle).vehicle;
    const float d = s.length - along;
    if (d <= kTurnZone) {
        const float to_brake_point = s.brake_point - along;
        const float u = to_brake_point > 1e-6f ? (t * t - v * v) / (2.0f * to_brake_point) : 0.0f;
        accel = std::min(accel, u);
    }
    if (s.has_lion && accel > 0.0f) {
        const float q = s.lion_spot[kLionAlong] - along - 3.0f;
        if (q > 0.0f && q <= 38.0f * v) accel = 0.0f;
    }
    const bool slowing = s.slow_for_group && along >= s.length - 208.0f;
    if (slowing) {
        if (v > 0.2f)
            accel = std::min(accel, (0.04f - v * v) / (2.0f * std::max(s.length - 83.0f - along, 1.0f)));
        else
            accel = std::min(accel, 0.0f);
    }
    const ProbeResult edge = ProbePath(start, 0.1f * steer);
    if (edge.end != ProbeEnd::Clear) {
        const float n = static_cast<float>(edge.completed);
        accel = std::min(accel, expf(-n / 20.0f) * (-v) / (2.0f * std::max(n, 1.0f)));
    }

    // 5. Speed.
    const float w = std::clamp(v + accel, 0.0f, kMaxSpeed);
    const float speed = (w < t && d <= kTurnZone && !slowing) ? t : w;

    // 6. Motion.
    const float r = 0.1f * steer;
    float new_along = along + cosf(h + r / 2.0f) * speed;
    float new_across = a + sinf(h + r / 2.0f) * speed;
    float new_heading = h + r;
    float new_speed = speed;
    std::uint64_t section = state.car_section;
    float old_look_angle = state.look_angle;
    const float old_look_amount = state.look_amount;

    // 7. Section end: stop at the end of the route, or turn the corner about its inner edge.
    if (s.is_terminal) {
        if (new_along >= s.length || (s.length - new_along < kTurnZone && new_speed < 0.1f)) {
            new_speed = 0.0f;
            new_along = s.length;
        }
    } else {
        const float o = s.turns_right ? 1.0f : -1.0f;
        const float sn = sinf(s.turn_angle);
        const float cs = cosf(s.turn_angle);
        const float radius = half;
        const SectionRecord& next = state.sections[s.next_section];
        const float x = new_across - (1.0f - cs) * radius * o;
        const float y = new_along - (radius * sn + s.length);
        const float next_across = cs * x - y * sn * o;
        if (std::fabs(next_across) < next.width / 2.0f) {
            section = s.next_section;
            new_across = next_across;
            new_along = sn * o * x + cs * y;
            new_heading -= s.turn_angle * o;
            old_look_angle = 0.0f;
        }
    }

    state.car_section = section;
    state.car_along = new_along;
    state.car_across = new_across;
    state.car_heading = new_heading;
    state.car_speed = new_speed;
    state.steer_angle = steer;
    state.car_yaw += r;

    // 8. The driver's look, from the new position.
    const LookResult look = LookAtGroup(state, old_look_angle, old_look_amount);
    state.look_angle = look.angle;
    state.look_amount = look.amount;

    // 10. Lead vehicle, then 11. the clock.
    const bool braking = StepLead(state);
    state.drive_ticks += 1.0f;
    return braking;
}

} // namespace veldmark

namespace veldmark {

bool AtRouteEnd(const SimState& state)
{
    if (state.car_section >= state.section_count) return false;
    const SectionRecord& s = state.sections[state.car_section];
    return s.is_terminal && state.car_along >= s.length;
}

} // namespace veldmark
