#pragma once
// Fixed capacities and sizes. Every list in the program has one of these; an entry or command
// that does not fit is dropped, never grown into.
#include <cstddef>
#include <cstdint>

namespace veldmark {

inline constexpr int kFrameWidth = 1920;   // pixels of the output buffer
inline constexpr int kFrameHeight = 1200;
inline constexpr std::size_t kFramePixels = std::size_t{kFrameWidth} * kFrameHeight;
inline constexpr float kLogicalWidth = 960.0f;   // the scene's logical screen
inline constexpr float kLogicalHeight = 600.0f;
inline constexpr float kHorizonY = 300.0f;

inline constexpr std::size_t kDisplayListWords = 262'144;
inline constexpr std::size_t kFrameSlotCount = 4;
inline constexpr std::size_t kDeferredCapacity = 3'072;
inline constexpr std::size_t kHistoryCapacity = 8'192;   // a power of two: the ring index is masked
inline constexpr std::uint64_t kHistoryMask = kHistoryCapacity - 1;

inline constexpr std::size_t kSectionCapacity = 20;
inline constexpr std::size_t kRoadsideCapacity = 96;
inline constexpr std::size_t kHerdCapacity = 16;
inline constexpr std::size_t kGroupCapacity = 49;
inline constexpr std::size_t kLionSpotFields = 5;

static_assert((kHistoryCapacity & kHistoryMask) == 0);

} // namespace veldmark
