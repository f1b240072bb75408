#pragma once
#include "world/angles.h"
#include "world/sim_state.h"

namespace veldmark {

inline constexpr float kRoadWidth = 4.0f;

// Builds the route from the route table and puts both vehicles at its start, once: every later
// call returns at once. Safe to call from several threads; one builds, the others wait for it.
void WorldGen(SimState& state);

// Puts the vehicle and lead blocks back to where a drive starts.
void PlaceVehiclesAtStart(SimState& state);

} // namespace veldmark
