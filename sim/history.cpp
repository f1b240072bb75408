#include "sim/history.h"

#include "world/world_gen.h"

namespace veldmark {

VehicleSnapshot SaveVehicle(const SimState& state)
{
    return VehicleSnapshot{state.car_section, state.car_along,  state.car_across,
                           state.car_heading, state.car_speed,  state.steer_angle,
                           state.car_yaw,     state.look_angle, state.look_amount};
}

LeadSnapshot SaveLead(const SimState& state)
{
    return LeadSnapshot{state.lead_position, state.lead_speed, state.lead_braking};
}

void RestoreVehicle(SimState& state, const VehicleSnapshot& snapshot)
{
    state.car_section = snapshot.car_section;
    state.car_along = snapshot.car_along;
    state.car_across = snapshot.car_across;
    state.car_heading = snapshot.car_heading;
    state.car_speed = snapshot.car_speed;
    state.steer_angle = snapshot.steer_angle;
    state.car_yaw = snapshot.car_yaw;
    state.look_angle = snapshot.look_angle;
    state.look_amount = snapshot.look_amount;
}

void RestoreLead(SimState& state, const LeadSnapshot& snapshot)
{
    state.lead_position = snapshot.lead_position;
    state.lead_speed = snapshot.lead_speed;
    state.lead_braking = snapshot.lead_braking;
}

void PushHistory(SimState& state)
{
    const std::uint64_t head = state.history_head & kHistoryMask;
    state.history[head] = SaveVehicle(state);
    state.lead_history[head] = SaveLead(state);
    state.history_head = (head + 1) & kHistoryMask;
    if (state.history_count < kHistoryCapacity) ++state.history_count;
}

void StepBack(SimState& state)
{
    WorldGen(state);
    if (state.history_count == 0) return;
    state.history_head = (state.history_head - 1) & kHistoryMask;
    --state.history_count;
    RestoreVehicle(state, state.history[state.history_head]);
    RestoreLead(state, state.lead_history[state.history_head]);
    if (state.drive_ticks > 0.0f) state.drive_ticks -= 1.0f;
}

} // namespace veldmark
