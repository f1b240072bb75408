#pragma once
// SimState: the one statically allocated record that holds all of Veldmark's state, from the
// shell's flags to the four frame packets with their pixels (about 42.8 MB). Nothing in it is
// allocated at run time. Fields are declared in a fixed order with the large arrays at the end.
//
// Threads: the main thread owns every field except, inside a frame packet it has handed over,
// the pixels and the state byte. Fields the host API may touch from another thread are
// `Relaxed` (relaxed atomics); `workers_stop`, `world_ready` and the slot state byte carry
// acquire/release ordering.
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "world/frame_slot.h"
#include "world/limits.h"
#include "world/relaxed.h"

namespace veldmark {

// 480 / tan(35 degrees): the focal length of a 70-degree view across 960 logical pixels.
inline constexpr float kRestFocalLength = 685.5109f;

struct RoadsideObject {
    float along;          // from the section start
    float across;         // from the centre line; negative on one side, positive on the other
    std::uint32_t colour; // 0xRRGGBB
    float height;
};

struct AnimalSpot {
    float along;
    float across;         // from the centre line
    std::uint32_t kind;   // code point of the animal's pictograph
    float size;
    std::uint8_t mirrored;
};

// Indices into SectionRecord::lion_spot.
enum LionSpotField : std::size_t {
    kLionAlong = 0,
    kLionWalkFrom = 1,    // across where its walk starts
    kLionRestAcross = 2,  // across where it sits and watches
    kLionLandAcross = 3,  // across where its leap ends
    kLionSize = 4,
};

struct SectionRecord {
    std::uint64_t roadside_count;   // entries used in `roadside`
    std::uint64_t herd_count;       // entries used in `herd`
    std::uint64_t group_count;      // entries used in `group`
    std::uint64_t next_section;     // the terminal section names itself
    float length;                   // length of the straight stretch
    float width;                    // road width (4.0)
    RoadsideObject roadside[kRoadsideCapacity];
    AnimalSpot herd[kHerdCapacity];   // negative-across side, near the section start
    AnimalSpot group[kGroupCapacity]; // positive-across side, near the section end
    float turn_angle;               // absolute turn at the far end, radians
    float brake_point;              // along by which the vehicle must be down to turn speed
    float lion_spot[kLionSpotFields];
    std::uint8_t slow_for_group;    // 1: crawl and look at the group near the end
    std::uint8_t turns_right;       // 1: the next section bends toward +across
    std::uint8_t is_long;           // 1: length > 1000
    std::uint8_t has_lion;
    std::uint8_t is_terminal;       // last section: the drive stops and restarts here
    std::uint8_t feature_kind;      // roadside feature at the section end, 0 to 5
};

// The vehicle block as saved in the history ring before each step.
struct VehicleSnapshot {
    std::uint64_t car_section;
    float car_along;
    float car_across;
    float car_heading;
    float car_speed;
    float steer_angle;
    float car_yaw;
    float look_angle;
    float look_amount;
};

// The lead-vehicle block as saved in the history ring; braking travels as a 32-bit slot.
struct LeadSnapshot {
    float lead_position;
    float lead_speed;
    std::uint32_t lead_braking;
};

// A rail or post quad registered while the road is built and drawn later in depth order.
struct DeferredItem {
    float corners[4][3];    // four corners, each (lateral, depth, height)
    std::uint32_t colour;   // 0x00RRGGBB
    float depth_key;        // mean depth of the corners
};

static_assert(sizeof(RoadsideObject) == 16);
static_assert(sizeof(AnimalSpot) == 20);
static_assert(sizeof(VehicleSnapshot) == 40);
static_assert(sizeof(LeadSnapshot) == 12);
static_assert(sizeof(DeferredItem) == 56);

struct SimState {
    // Shell and presentation.
    std::uint8_t running;                 // initial 1: the main loop runs while non-zero
    std::uint8_t not_paused;              // initial 1: frames are simulated and built
    Relaxed<float> view_width;            // initial 960: logical width projections centre on
    Relaxed<float> focal_length;          // initial kRestFocalLength: this frame's focal length
    std::uint8_t run_mode;                // the screensaver mode; readers mask with 3
    std::uint64_t memory_dc;              // platform handle of the presentation memory DC
    std::uint64_t preview_parent;         // window handle given with the preview switch
    std::atomic<std::uint8_t> workers_stop; // 1 at shutdown: render workers leave their loop
    std::uint64_t present_bitmap;         // platform handle of the cached presentation bitmap
    std::int32_t present_width;
    std::int32_t present_height;

    // Frame parameters, rewritten for every built frame.
    float sun_screen_x;                   // sun centre, logical pixels
    float sun_screen_y;
    float sun_scale;                      // focal_length / kRestFocalLength
    std::uint8_t sun_visible;             // 1 when the sun is within 1.4 rad of the view

    // Drive clock and world.
    Relaxed<float> drive_ticks;           // steps since the drive (re)started; sinks the sun
    std::atomic<std::uint8_t> world_ready; // 1 once WorldGen has built the route (release)

    // Vehicle block, saved and restored whole by the history ring.
    Relaxed<std::uint64_t> car_section;   // index of the section the vehicle is on
    Relaxed<float> car_along;             // from the section start
    Relaxed<float> car_across;            // from the centre line
    Relaxed<float> car_heading;           // relative to the section axis, radians
    Relaxed<float> car_speed;             // world units per step, at most 2.5
    Relaxed<float> steer_angle;           // radians; a step turns the heading by 0.1 x this
    Relaxed<float> car_yaw;               // absolute heading, never re-based
    Relaxed<float> look_angle;            // driver's look aside from the heading, radians
    Relaxed<float> look_amount;           // 0 to 1: how strongly the driver looks aside

    // Display list under construction.
    std::uint64_t display_list_length;    // words used in `display_list`

    // Lead vehicle block, saved and restored whole by the history ring.
    Relaxed<float> lead_position;         // along the route from its start
    Relaxed<float> lead_speed;            // per step, at most 2.75
    Relaxed<std::uint32_t> lead_braking;  // 0 or 1, a byte for readers kept in a 32-bit slot

    // Statistics and scene-builder scratch.
    Relaxed<std::uint64_t> display_list_peak;   // largest display_list_length so far
    Relaxed<std::uint32_t> animals_too_small;   // spots rejected this frame, under 2 pixels
    Relaxed<std::uint32_t> animals_out_of_range; // spots too far ahead to gather this frame
    std::uint64_t deferred_count;
    DeferredItem deferred_items[kDeferredCapacity];

    // Route.
    SectionRecord sections[kSectionCapacity];
    std::uint64_t section_count;          // 19 once built
    std::uint64_t history_head;           // next write index of both history rings
    std::uint64_t history_count;          // valid entries, 0 to kHistoryCapacity
    float route_length;                   // sum of the section lengths

    // Input tracking: the first mouse position seen, to end a screensaver run on movement.
    std::uint8_t mouse_seen;
    std::int32_t mouse_x;
    std::int32_t mouse_y;

    // Large arrays.
    VehicleSnapshot history[kHistoryCapacity];
    std::uint32_t display_list[kDisplayListWords];
    LeadSnapshot lead_history[kHistoryCapacity];
    FrameSlot frame_slots[kFrameSlotCount];
};

static_assert(offsetof(SimState, frame_slots) % alignof(FrameSlot) == 0);
static_assert(sizeof(SimState) > 42'700'000 && sizeof(SimState) < 42'900'000);

// The process's one instance. It lives in zero-filled static storage; the few non-zero
// initial values are applied before main() runs.
extern SimState g_state;

// Writes the non-zero start-of-process values into a zero-filled record (`g_state` gets them
// before main(); a test's own value-initialised record gets them from this call).
void ApplyInitialValues(SimState& state);

} // namespace veldmark
