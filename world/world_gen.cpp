#include "world/world_gen.h"

#include <cmath>
#include <thread>

#include "world/animal_kinds.h"
#include "world/float_math.h"
#include "world/route_table.h"

namespace veldmark {
namespace {

// world_ready: 0 not built, 2 being built by some thread, 1 built (the only value readers test).
constexpr std::uint8_t kWorldBuilding = 2;

struct RoadsideStyle {
    std::uint32_t colour;
    float height;
    float across;
};
// Even pairs are always the first style; odd pairs take the section's roadside style.
constexpr RoadsideStyle kEvenPairStyle = {0x1C5A22, 5.85f, 3.5f};
constexpr RoadsideStyle kOddPairStyles[3] = {
    {0x1C5A22, 4.5f, 3.5f},
    {0xCF9A18, 13.5f, 8.0f},
    {0xB23A2A, 9.0f, 3.5f},
};
constexpr std::size_t kMaxRoadsidePairs = kRoadsideCapacity / 2;

template <std::size_t N>
void AppendAnimal(AnimalSpot (&list)[N], std::uint64_t& count, float along, float across,
                  std::uint32_t kind, float size, std::uint8_t mirrored)
{
    if (count >= N) return;
    list[count] = AnimalSpot{along, across, kind, size, mirrored};
    ++count;
}

void PlaceRoadside(SectionRecord& s, const SectionSpec& row)
{
    const RoadsideStyle& odd = kOddPairStyles[row.roadside_style < 3 ? row.roadside_style : 0];
    std::size_t pairs = 0;
    for (std::size_t d = 0; d < kMaxRoadsidePairs; ++d) {
        const float e = 6.0f + 30.0f * static_cast<float>(d);
        if (!(e <= s.length - 85.0f)) break;
        const RoadsideStyle& style = (d % 2 == 0) ? kEvenPairStyle : odd;
        s.roadside[2 * d] = RoadsideObject{e, -style.across, style.colour, style.height};
        s.roadside[2 * d + 1] = RoadsideObject{e, style.across, style.colour, style.height};
        pairs = d + 1;
    }
    s.roadside_count = 2 * pairs;
}

void PlaceHerd(SectionRecord& s, const SectionSpec& row)
{
    s.herd_count = 0;
    if (row.lone & 1) AppendAnimal(s.herd, s.herd_count, 24.0f, -4.805f, kOx, 1.61f, 0);
    // Fourteen animals in three files six units apart, scattered by sines of the entry number.
    for (int j = 0; j < 14; ++j) {
        const float fj = static_cast<float>(j);
        const float along = 30.0f + 6.0f * static_cast<float>(j / 3) +
                            2.0f * static_cast<float>(j % 3 - 1) + 1.5f * Sin(2.7f * fj);
        const float across =
            -(12.0f + 5.0f * static_cast<float>(j % 3) + 1.2f * Cos(1.9f * fj));
        const float size = (j % 4 == 1) ? 0.7f : 1.4f;
        AppendAnimal(s.herd, s.herd_count, along, across, kCow, size, 1);
    }
}

void PlaceLion(SectionRecord& s, const SectionSpec& row)
{
    s.has_lion = row.lion & 1;
    for (float& f : s.lion_spot) f = 0.0f;
    if (!s.has_lion) return;
    // The lion waits just past the first tree on the positive side that stands at 105 or later.
    bool found = false;
    float nearest = 0.0f;
    for (std::uint64_t i = 0; i < s.roadside_count; ++i) {
        const RoadsideObject& o = s.roadside[i];
        if (o.across > 0.0f && o.along >= 105.0f && (!found || o.along < nearest)) {
            nearest = o.along;
            found = true;
        }
    }
    s.lion_spot[kLionAlong] = found ? nearest + 2.0f : 107.0f;
    s.lion_spot[kLionWalkFrom] = 5.0f;
    s.lion_spot[kLionRestAcross] = 0.816f;
    s.lion_spot[kLionLandAcross] = -3.49f;
    s.lion_spot[kLionSize] = 1.7f;
}

void PlaceGroup(SectionRecord& s, const SectionSpec& row, int& groups_seen)
{
    s.group_count = 0;
    s.slow_for_group = 0;
    if (!(row.group & 1)) return;
    s.slow_for_group = groups_seen < 2 ? 1 : 0;
    const float g = s.length - 60.0f;
    if (groups_seen < 2) {
        // The first two groups of the route: a loose 7 x 7 block the vehicle crawls past.
        for (int k = 0; k < 7; ++k) {
            for (int j = 0; j < 7; ++j) {
                const float n = static_cast<float>(7 * k + j);
                const float along = g - 6.0f + 4.0f * static_cast<float>(j) +
                                    6.0f * static_cast<float>(k) + 1.2f * Sin(2.3f * n);
                const float across = 12.0f + 6.0f * static_cast<float>(k) + Cos(1.7f * n);
                AppendAnimal(s.group, s.group_count, along, across, kPig, 1.1f, 0);
            }
        }
    } else {
        for (float offset : {-6.0f, -2.0f, 2.0f, 6.0f})
            AppendAnimal(s.group, s.group_count, g + offset, 12.0f, kPig, 1.1f, 0);
        for (float offset : {-10.0f, -6.0f, -2.0f, 2.0f, 6.0f, 10.0f})
            AppendAnimal(s.group, s.group_count, g + offset, 18.0f, kPig, 1.1f, 0);
    }
    ++groups_seen;
}

void BuildSection(SectionRecord& s, const SectionSpec& row, std::uint64_t index, int& groups_seen)
{
    s = SectionRecord{};
    s.is_terminal = row.terminal & 1;
    s.feature_kind = s.is_terminal ? 0 : static_cast<std::uint8_t>(row.feature & 7);
    s.turns_right = row.turn_degrees >= 0.0f ? 1 : 0;
    s.turn_angle = std::fabs(row.turn_degrees) * kDegreesToRadians;
    s.next_section = s.is_terminal ? index : index + 1;
    s.length = row.length;
    s.width = kRoadWidth;
    s.is_long = s.length > 1000.0f ? 1 : 0;
    // The point by which the vehicle must be down to the turn speed.
    s.brake_point = s.is_terminal ? s.length : s.length - 2.0f / Tan(s.turn_angle);
    PlaceRoadside(s, row);
    PlaceHerd(s, row);
    PlaceLion(s, row);
    PlaceGroup(s, row, groups_seen);
}

void Build(SimState& state)
{
    int groups_seen = 0;
    for (std::size_t m = 0; m < kRouteTable.size(); ++m)
        BuildSection(state.sections[m], kRouteTable[m], m, groups_seen);
    state.section_count = kRouteTable.size();
    PlaceVehiclesAtStart(state);
    float total = 0.0f;
    for (std::size_t m = 0; m < state.section_count; ++m) total += state.sections[m].length;
    state.route_length = total;
}

} // namespace

void PlaceVehiclesAtStart(SimState& state)
{
    state.car_section = 0;
    state.car_along = 0.0f;
    state.car_across = 0.0f;
    state.car_heading = 0.0f;
    state.car_speed = 0.3f;
    state.steer_angle = 0.0f;
    state.car_yaw = 0.0f;
    state.look_angle = 0.0f;
    state.look_amount = 0.0f;
    state.lead_position = 500.0f;
    state.lead_speed = 0.3f;
    state.lead_braking = 0;
}

void WorldGen(SimState& state)
{
    if (state.world_ready.load(std::memory_order_acquire) == 1) return;
    std::uint8_t expected = 0;
    if (state.world_ready.compare_exchange_strong(expected, kWorldBuilding,
                                                  std::memory_order_acquire)) {
        Build(state);
        state.world_ready.store(1, std::memory_order_release);
        return;
    }
    // Another thread (a host calling an accessor) is building it: wait until it is done.
    while (state.world_ready.load(std::memory_order_acquire) != 1) std::this_thread::yield();
}

} // namespace veldmark
