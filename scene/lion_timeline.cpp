#include "scene/lion_timeline.h"

#include <cmath>

#include "world/float_math.h"

namespace veldmark {
namespace {

constexpr float kStoppedSpeed = 0.000001f;

// Its acts, by the clock: walking in, watching, then 4 steps of crouch, leap and landing.
constexpr float kWalkEnd = 10.0f;
constexpr float kWatchEnd = 34.0f;
constexpr float kLeapSteps = 4.0f;
constexpr float kLiftOff = 1.0f;        // leap clock at which the feet leave the ground
constexpr float kTouchDown = 3.0f;      // and at which they touch it again
constexpr float kStridePeriod = 5.0f;   // steps per stride: two strides over the walk
constexpr float kLeapEase = 0.7f;       // the leap covers ground fast at first
constexpr float kLeapHeight = 0.72f;    // peak lift 0.18 = 0.72 / 4

// Shares of the leap clock held by the crouch, the flight and the landing.
constexpr float kCrouchShare = 0.2f;
constexpr float kFlightShare = 0.7f;
constexpr float kLandingShare = 0.95f;

constexpr float kMinimumHeight = 2.0f;   // logical pixels

// Step B shows in the first half of each stride, that is while sin(2 pi t / 5) > 0. The half
// is found from the stride's phase rather than from sinf: the float sine of 2 pi comes out a
// hair above zero, which would flash step B at the very moments the stride turns over.
std::uint8_t StridePose(float t)
{
    const float strides = t / kStridePeriod;
    const float phase = strides - floorf(strides);
    return (phase > 0.0f && phase < 0.5f) ? kLionWalkB : kLionWalkA;
}

std::uint8_t LeapPose(float p)
{
    if (p < kCrouchShare) return kLionCrouched;
    if (p < kFlightShare) return kLionInFlight;
    if (p < kLandingShare) return kLionLanding;
    return kLionLanded;
}

} // namespace

float LionClock(float to_go, float car_speed)
{
    if (to_go <= 0.0f) return kLionSceneSteps;
    if (!(car_speed > kStoppedSpeed)) return 0.0f;
    float share = 1.0f - to_go / (kLionSceneSteps * car_speed);
    if (!(share > 0.0f)) share = 0.0f;   // NaN too: a clock that cannot be read stands at 0
    if (share > 1.0f) share = 1.0f;
    return kLionSceneSteps * share;
}

LionAct LionAtClock(float t, const float (&spot)[kLionSpotFields])
{
    const float walk_from = spot[kLionWalkFrom];
    const float rest = spot[kLionRestAcross];
    const float land = spot[kLionLandAcross];
    if (t <= kWalkEnd) {
        return LionAct{StridePose(t), walk_from + (rest - walk_from) * t / kWalkEnd, 0.0f};
    }
    if (t <= kWatchEnd) return LionAct{kLionSeated, rest, 0.0f};
    const float u = std::fmin(t - kWatchEnd, kLeapSteps);
    const std::uint8_t pose = LeapPose(u / kLeapSteps);
    if (u < kLiftOff) return LionAct{pose, rest, 0.0f};
    if (u < kTouchDown) {
        const float q = (u - kLiftOff) / (kTouchDown - kLiftOff);
        return LionAct{pose, rest + Pow(q, kLeapEase) * (land - rest), kLeapHeight * q * (1.0f - q)};
    }
    return LionAct{pose, land, 0.0f};
}

void GatherLion(LionList& lions, const CameraView& view, std::uint64_t k, float car_speed,
                float focal)
{
    if (lions.count >= kLionCapacity || k >= view.chain.count) return;
    const SectionRecord& section = *view.chain.entries[k];
    if (!section.has_lion) return;

    // Route distance from the camera to the start of this section, nearest section first.
    float to_section = -view.camera.along;
    for (std::uint64_t j = 0; j < k; ++j) to_section += view.chain.entries[j]->length;
    const float along = section.lion_spot[kLionAlong];
    const float to_go = to_section + along - kLionStopShort;

    const LionAct act = LionAtClock(LionClock(to_go, car_speed), section.lion_spot);
    const PlanPoint at =
        TrackToCamera(view.chain, view.camera, ChainRef(k), along, section.width / 2.0f + act.across);
    const float size = section.lion_spot[kLionSize];
    if (!(at.d > kNearDepth) || !(size / at.d * focal >= kMinimumHeight)) return;
    lions.entries[lions.count++] = LionEntry{at.x, at.d, size, act.pose, act.lift};
}

} // namespace veldmark
