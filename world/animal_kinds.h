#pragma once
// Animal kinds are the code points of the animals' pictographs, used as plain numbers.
#include <cstdint>

namespace veldmark {

inline constexpr std::uint32_t kOx = 0x1F402;
inline constexpr std::uint32_t kCow = 0x1F404;
inline constexpr std::uint32_t kPig = 0x1F416;
inline constexpr std::uint32_t kElephant = 0x1F418;
inline constexpr std::uint32_t kDuck = 0x1F986;
inline constexpr std::uint32_t kRhinoceros = 0x1F98F;
inline constexpr std::uint32_t kGiraffe = 0x1F992;
inline constexpr std::uint32_t kZebra = 0x1F993;

} // namespace veldmark
