#pragma once
// The angle constants every layer shares, in single precision as the drive computes them.
namespace veldmark {

inline constexpr float kPi = 3.14159274f;
inline constexpr float kTwoPi = 6.2831855f;
inline constexpr float kDegreesToRadians = 0.0174532924f;   // the route table gives degrees

} // namespace veldmark
