#pragma once
// Speeds at which the vehicle and the lead vehicle take the corner at a section's end.

namespace veldmark {

struct TurnSpeeds {
    float vehicle;
    float lead;
};

// Keyed by the turn in whole degrees; a turn not in the table takes the 50-degree row.
TurnSpeeds TurnSpeedsFor(float turn_angle_radians);

} // namespace veldmark
