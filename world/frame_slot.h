#pragma once
// The frame packet: one frame's display list, its background parameters and its finished
// pixels. Its byte layout is shared between the main thread and the render workers (and with
// an embedding host that reads the ring), so every offset is pinned below.
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "world/limits.h"

namespace veldmark {

enum class SlotState : std::uint8_t { Free = 0, Ready = 1, Rendering = 2, Done = 3 };

// Background parameters the main thread writes with the list; the state byte hands the slot over.
struct SlotTail {
    float roll;                       // view roll, radians; exactly 0 for |steer_angle| < 0.001
    std::uint32_t zenith_colour;      // 0x00RRGGBB, upper sky
    std::uint32_t horizon_colour;     // 0x00RRGGBB, sky at the horizon line
    float sun_x;                      // sun centre, logical pixels
    float sun_y;
    float sun_scale;                  // size factor of sun and halo
    std::uint8_t sun_visible;         // bit 0: draw the sun
    std::uint8_t padding0[3];
    std::atomic<std::uint8_t> state;  // a SlotState; the only field both sides write
    std::uint8_t padding1[3];
};

struct FrameSlot {
    std::uint64_t list_length;                       // words of `display_list` in use
    std::uint32_t pixels[kFramePixels];              // 0x00RRGGBB, rows top to bottom
    std::uint32_t display_list[kDisplayListWords];   // copy of the frame's display list
    SlotTail tail;
};

static_assert(std::atomic<std::uint8_t>::is_always_lock_free);
static_assert(sizeof(std::atomic<std::uint8_t>) == 1);
static_assert(sizeof(SlotTail) == 32);
static_assert(offsetof(SlotTail, state) == 28);
static_assert(offsetof(FrameSlot, list_length) == 0);
static_assert(offsetof(FrameSlot, pixels) == 8);
static_assert(offsetof(FrameSlot, display_list) == 9'216'008);
static_assert(offsetof(FrameSlot, tail) == 10'264'584);
static_assert(offsetof(FrameSlot, tail) + offsetof(SlotTail, roll) == 10'264'584);
static_assert(offsetof(FrameSlot, tail) + offsetof(SlotTail, zenith_colour) == 10'264'588);
static_assert(offsetof(FrameSlot, tail) + offsetof(SlotTail, horizon_colour) == 10'264'592);
static_assert(offsetof(FrameSlot, tail) + offsetof(SlotTail, sun_x) == 10'264'596);
static_assert(offsetof(FrameSlot, tail) + offsetof(SlotTail, sun_y) == 10'264'600);
static_assert(offsetof(FrameSlot, tail) + offsetof(SlotTail, sun_scale) == 10'264'604);
static_assert(offsetof(FrameSlot, tail) + offsetof(SlotTail, sun_visible) == 10'264'608);
static_assert(offsetof(FrameSlot, tail) + offsetof(SlotTail, state) == 10'264'612);
static_assert(sizeof(FrameSlot) == 10'264'616);
static_assert(sizeof(FrameSlot[kFrameSlotCount]) == 41'058'464);

} // namespace veldmark
