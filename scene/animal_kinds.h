#pragma once
// Animal kinds are the code points of the animals' pictographs, kept as plain numbers.
#include <cstdint>

namespace veldmark {

inline constexpr std::uint32_t kKindOx = 0x1F402;
inline constexpr std::uint32_t kKindCow = 0x1F404;
inline constexpr std::uint32_t kKindPig = 0x1F416;
inline constexpr std::uint32_t kKindElephant = 0x1F418;
inline constexpr std::uint32_t kKindDuck = 0x1F986;
inline constexpr std::uint32_t kKindRhinoceros = 0x1F98F;
inline constexpr std::uint32_t kKindGiraffe = 0x1F992;
inline constexpr std::uint32_t kKindZebra = 0x1F993;

} // namespace veldmark
