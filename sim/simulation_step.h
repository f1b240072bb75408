#pragma once
#include "world/sim_state.h"

namespace veldmark {

// How a steering probe ended: it left the road on the low or the high side, or it stayed on
// the road for 25 units of travel (or 2000 iterations).
enum class ProbeEnd { Low, High, Clear };

struct ProbeResult {
    ProbeEnd end;
    float across;      // across where the probe ended
    int completed;     // iterations that ran to completion; the one that left the road is not
};

struct ProbeStart {
    float heading;
    float across;
    float along;
    float speed;
    float low;         // road limits; a probe crossing one ends there
    float high;
};

// Follows the path a constant turn rate would take from `start`.
ProbeResult ProbePath(const ProbeStart& start, float turn_rate);

// Advances the drive by one step: steering, speed, motion, corners, the driver's look, the lead
// vehicle and the drive clock. Returns the lead vehicle's braking flag (false on a restart).
bool SimulationStep(SimState& state);

} // namespace veldmark

namespace veldmark {

// True when the vehicle stands at the end of the route, so the next step restarts the drive.
bool AtRouteEnd(const SimState& state);

} // namespace veldmark
