#pragma once
// Distances along the whole route, from the start of section 0.
#include <cstdint>

#include "world/sim_state.h"

namespace veldmark {

// The length of the sections before `section`, added up in route order (so every caller gets
// the same bits). Sections past the route count as nothing more.
inline float RouteDistanceBefore(const SimState& state, std::uint64_t section)
{
    float sum = 0.0f;
    for (std::uint64_t k = 0; k < section && k < state.section_count && k < kSectionCapacity; ++k)
        sum += state.sections[k].length;
    return sum;
}

// How far along the route the vehicle is.
inline float CarRoutePosition(const SimState& state)
{
    return RouteDistanceBefore(state, state.car_section) + state.car_along;
}

} // namespace veldmark
