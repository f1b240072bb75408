#include "sim/simulation_step.h"

#include <algorithm>
#include <cmath>

#include "scene/lion_timeline.h"
#include "sim/history.h"
#include "sim/turn_speed.h"
#include "world/float_math.h"
#include "world/route_distance.h"
#include "world/world_gen.h"

namespace veldmark {
namespace {

// Steering. A step turns the heading by kTurnPerSteer times the steering angle; the search
// moves the angle by at most one degree a step.
constexpr float kTurnPerSteer = 0.1f;
constexpr float kSteerSearchReach = kDegreesToRadians;
constexpr int kSteeringHalvings = 12;
constexpr float kEdgeMargin = 0.05f;       // the probes keep this far inside the road edges
constexpr float kProbeDistance = 25.0f;    // a probe looks this far ahead
constexpr int kProbeIterations = 2000;
constexpr float kCentrePull = 0.3f;        // after 25 units the vehicle aims at 0.3 of its offset
constexpr float kNearCentre = 0.04f;       // ...but never nearer the centre line than this

// Speed.
constexpr float kCruiseAcceleration = 0.01f;   // per step, while steering under two degrees
constexpr float kCruiseSteerLimit = 0.034906585f;   // two degrees
constexpr float kMaxSpeed = 2.5f;
constexpr float kTurnZone = 60.0f;         // both vehicles prepare for a corner this close
constexpr float kNoDistance = 1e-6f;       // closer than this counts as arrived
constexpr float kGroupSlowZone = 208.0f;   // the crawl past a group starts this far from the end
constexpr float kGroupCrawlPoint = 83.0f;  // ...and reaches crawl speed this far from the end
constexpr float kGroupCrawlSpeed = 0.2f;
constexpr float kGroupCrawlSpeedSquared = 0.04f;
constexpr float kEdgeFadeSteps = 20.0f;    // the nearer the edge a probe ends, the harder the brake
constexpr float kStopSpeed = 0.1f;         // this slow near the route's end counts as stopped

// The driver's look at the group at a slow section's end.
constexpr float kLookHeadingLimit = 0.10471976f;  // six degrees: looks only while driving straight
constexpr float kGroupBeforeEnd = 58.0f;   // the group stands this far before the section end
constexpr float kGroupBeyondEdge = 10.0f;  // ...and this far beyond the middle of the road
constexpr float kLookReach = 150.0f;       // the driver looks once the group is this close
constexpr float kLookLimit = 0.61086524f;  // 35 degrees: the widest look at the group
constexpr float kLookTurnPerStep = 0.06981317f;   // 4 degrees
constexpr float kLookRestEpsilon = 0.00034906584f;
constexpr float kLookRelaxShare = 0.05f;   // the look eases back by this share of itself...
constexpr float kLookRelaxMax = 0.0034906585f;    // ...but at most this much a step
constexpr float kLookFade = 0.0012f;

// The lead vehicle keeps 100 units ahead plus up to 400 more, shrinking as the route is used.
constexpr float kLeadMaxSpeed = 2.75f;
constexpr float kLeadAcceleration = 0.011f;
constexpr float kLeadNearestLead = 100.0f;
constexpr float kLeadExtraLead = 400.0f;

void RestartDrive(SimState& state)
{
    PlaceVehiclesAtStart(state);
    state.drive_ticks = 0.0f;
    state.history_head = 0;
    state.history_count = 0;
}

// Halves the steering interval around the present angle toward the turn whose path stays on
// the road and ends nearest the target across.
float SteeringSearch(const ProbeStart& start, float steer_angle)
{
    const float a = start.across;
    float target = kCentrePull * a;
    if (std::fabs(a) < kNearCentre) target = a >= 0.0f ? kNearCentre : -kNearCentre;
    float lo = steer_angle - kSteerSearchReach;
    float hi = steer_angle + kSteerSearchReach;
    for (int i = 0; i < kSteeringHalvings; ++i) {
        const float m = (lo + hi) / 2.0f;
        const ProbeResult probe = ProbePath(start, kTurnPerSteer * m);
        if (probe.end == ProbeEnd::Low) lo = m;
        else if (probe.end == ProbeEnd::High) hi = m;
        else if (probe.across < target) lo = m;
        else hi = m;
    }
    return (lo + hi) / 2.0f;
}

// Near the end of a section: down to the turn speed by the brake point.
float BrakeForCorner(float accel, const SectionRecord& s, float along, float v, float turn_speed)
{
    if (!(s.length - along <= kTurnZone)) return accel;
    const float to_brake_point = s.brake_point - along;
    const float u = to_brake_point > kNoDistance
                        ? (turn_speed * turn_speed - v * v) / (2.0f * to_brake_point)
                        : 0.0f;
    return std::min(accel, u);
}

// No more speed while the lion's scene plays out ahead.
float CoastTowardLion(float accel, const SectionRecord& s, float along, float v)
{
    if (!s.has_lion || !(accel > 0.0f)) return accel;
    const float q = s.lion_spot[kLionAlong] - along - kLionStopShort;
    return (q > 0.0f && q <= kLionSceneSteps * v) ? 0.0f : accel;
}

// Whether the vehicle crawls past the animal group at this section's end.
bool SlowingForGroup(const SectionRecord& s, float along)
{
    return s.slow_for_group && along >= s.length - kGroupSlowZone;
}

float CrawlForGroup(float accel, const SectionRecord& s, float along, float v)
{
    if (!(v > kGroupCrawlSpeed)) return std::min(accel, 0.0f);
    const float room = std::max(s.length - kGroupCrawlPoint - along, 1.0f);
    return std::min(accel, (kGroupCrawlSpeedSquared - v * v) / (2.0f * room));
}

// Brakes when even the chosen steering leaves the road: the sooner it would, the harder.
float KeepOnTheRoad(float accel, const ProbeStart& start, float steer)
{
    const ProbeResult edge = ProbePath(start, kTurnPerSteer * steer);
    if (edge.end == ProbeEnd::Clear) return accel;
    const float n = static_cast<float>(edge.completed);
    return std::min(accel, Exp(-n / kEdgeFadeSteps) * (-start.speed) / (2.0f * std::max(n, 1.0f)));
}

// Where the vehicle is after a step; `turned` when it entered the next section.
struct VehicleMove {
    std::uint64_t section;
    float along;
    float across;
    float heading;
    float speed;
    bool turned;
};

// At the route's end the vehicle stops; elsewhere it turns the corner about the inner road edge
// at the section's end once its position lies on the next section's road.
void EndOfSection(const SimState& state, const SectionRecord& s, VehicleMove& m)
{
    if (s.is_terminal) {
        if (m.along >= s.length || (s.length - m.along < kTurnZone && m.speed < kStopSpeed)) {
            m.speed = 0.0f;
            m.along = s.length;
        }
        return;
    }
    if (s.next_section >= state.section_count) return;   // only in a corrupted record
    const float o = s.turns_right ? 1.0f : -1.0f;
    const float sn = Sin(s.turn_angle);
    const float cs = Cos(s.turn_angle);
    const float radius = s.width / 2.0f;
    const SectionRecord& next = state.sections[s.next_section];
    const float x = m.across - (1.0f - cs) * radius * o;
    const float y = m.along - (radius * sn + s.length);
    const float next_across = cs * x - y * sn * o;
    if (std::fabs(next_across) < next.width / 2.0f) {
        m.section = s.next_section;
        m.across = next_across;
        m.along = sn * o * x + cs * y;
        m.heading -= s.turn_angle * o;
        m.turned = true;
    }
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
    if (c.slow_for_group && std::fabs(heading) <= kLookHeadingLimit) {
        const float e = c.length - kGroupBeforeEnd - along;
        if (e <= kLookReach) {
            const float b = Atan2(c.width / 2.0f + kGroupBeyondEdge - across, e) - heading;
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
            const float relax = std::min(kLookRelaxShare * magnitude, kLookRelaxMax);
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
    const float car_route_position = CarRoutePosition(state);
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
        float u = gap <= kNoDistance ? s : s + (w * w - s * s) / (2.0f * gap);
        u = std::max(u, w);
        const bool braking = s > u;
        state.lead_braking = braking ? 1u : 0u;
        state.lead_speed = u;
        state.lead_position = p + u;
        return braking;
    }
    const float wanted = car_route_position + kLeadNearestLead +
                         kLeadExtraLead * (1.0f - car_route_position / state.route_length);
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
        x += Sin(g + turn_rate / 2.0f) * v;
        if (x < start.low) return ProbeResult{ProbeEnd::Low, x, i};
        if (x > start.high) return ProbeResult{ProbeEnd::High, x, i};
        y += Cos(g + turn_rate / 2.0f) * v;
        const float travelled = y - start.along;
        if (travelled < 0.0f || travelled >= kProbeDistance) return ProbeResult{ProbeEnd::Clear, x, i + 1};
        g += turn_rate;
    }
    return ProbeResult{ProbeEnd::Clear, x, kProbeIterations};
}

bool SimulationStep(SimState& state)
{
    WorldGen(state);
    // A section outside the route comes only from a corrupted record: start the drive over
    // rather than index past the route. Otherwise the drive restarts once the vehicle has
    // stopped at the route's end.
    if (state.car_section >= state.section_count || AtRouteEnd(state)) {
        RestartDrive(state);
        return false;
    }
    PushHistory(state);
    const SectionRecord& s = state.sections[state.car_section];

    // Steering keeps the vehicle on the road and draws it toward the centre line; a vehicle
    // already beyond a limit is not pushed further out.
    const float a = state.car_across;
    const float v = state.car_speed;
    const float h = state.car_heading;
    const float along = state.car_along;
    const float limit = s.width / 2.0f - kEdgeMargin;
    const ProbeStart start{h, a, along, v, std::min(a, -limit), std::max(a, limit)};
    const float steer = SteeringSearch(start, state.steer_angle);

    // Speed: gentle acceleration, limited by every rule that asks for less. Near the end of a
    // section a slower vehicle is lifted straight to the turn speed.
    const float turn_speed = s.is_terminal ? 0.0f : TurnSpeedsFor(s.turn_angle).vehicle;
    const bool slowing = SlowingForGroup(s, along);
    float accel = std::fabs(steer) < kCruiseSteerLimit ? kCruiseAcceleration : 0.0f;
    accel = BrakeForCorner(accel, s, along, v, turn_speed);
    accel = CoastTowardLion(accel, s, along, v);
    if (slowing) accel = CrawlForGroup(accel, s, along, v);
    accel = KeepOnTheRoad(accel, start, steer);
    const float w = std::clamp(v + accel, 0.0f, kMaxSpeed);
    const float speed = (w < turn_speed && s.length - along <= kTurnZone && !slowing) ? turn_speed : w;

    // Motion along the arc of half this step's turn, then the section's end.
    const float r = kTurnPerSteer * steer;
    VehicleMove move{state.car_section, along + Cos(h + r / 2.0f) * speed,
                     a + Sin(h + r / 2.0f) * speed, h + r, speed, false};
    EndOfSection(state, s, move);
    const float old_look_angle = move.turned ? 0.0f : float{state.look_angle};
    const float old_look_amount = state.look_amount;

    state.car_section = move.section;
    state.car_along = move.along;
    state.car_across = move.across;
    state.car_heading = move.heading;
    state.car_speed = move.speed;
    state.steer_angle = steer;
    state.car_yaw += r;

    // The driver's look, from the new position; then the lead vehicle and the clock.
    const LookResult look = LookAtGroup(state, old_look_angle, old_look_amount);
    state.look_angle = look.angle;
    state.look_amount = look.amount;
    const bool braking = StepLead(state);
    state.drive_ticks += 1.0f;
    return braking;
}

bool AtRouteEnd(const SimState& state)
{
    if (state.car_section >= state.section_count) return false;
    const SectionRecord& s = state.sections[state.car_section];
    return s.is_terminal && state.car_along >= s.length;
}

} // namespace veldmark
