#pragma once
// The fixed table the route is built from: one row per section, in route order.
#include <array>
#include <cstdint>

namespace veldmark {

// One 16-byte row. The flag bytes use bit 0 only (the feature byte its low three bits).
struct SectionSpec {
    float length;                 // length of the straight stretch
    float turn_degrees;           // signed turn at the far end; the sign gives the side
    std::uint8_t roadside_style;  // style of every second roadside pair: 0, 1 or 2
    std::uint8_t lion;            // a lion belongs to this section
    std::uint8_t group;           // an animal group stands beside the section's end
    std::uint8_t lone;            // a single animal stands at the start of the herd
    std::uint8_t terminal;        // the route ends here
    std::uint8_t feature;         // roadside feature kind at the section end
    std::uint8_t reserved[2];
};
static_assert(sizeof(SectionSpec) == 16);

inline constexpr std::size_t kRouteSections = 19;

extern const std::array<SectionSpec, kRouteSections> kRouteTable;

} // namespace veldmark
