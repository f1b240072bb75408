#pragma once
// The history rings: the vehicle and lead blocks as they were before each step, so that a host
// can step the drive back (up to the last 8,192 steps).
#include "world/sim_state.h"

namespace veldmark {

VehicleSnapshot SaveVehicle(const SimState& state);
LeadSnapshot SaveLead(const SimState& state);
void RestoreVehicle(SimState& state, const VehicleSnapshot& snapshot);
void RestoreLead(SimState& state, const LeadSnapshot& snapshot);

// Records the current vehicle and lead blocks; a full ring overwrites its oldest entry.
void PushHistory(SimState& state);

// Undoes one step: restores the newest entry and turns the drive clock back by one.
// Does nothing when the history is empty. Must not run at the same time as SimulationStep.
void StepBack(SimState& state);

} // namespace veldmark
