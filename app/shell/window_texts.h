#pragma once
// What every host shows the same: the window's title, its size when it is a window of its own,
// and the configure mode's message.
#include <array>
#include <cstddef>

namespace veldmark {

inline constexpr char kWindowTitle[] = "Veldmark";
inline constexpr char kConfigureText[] = "Veldmark has no options to configure.";
// The drawing area of the program's own window: a quarter of the frame.
inline constexpr int kWindowWidth = 960;
inline constexpr int kWindowHeight = 600;

// An ASCII text as the wide characters Windows' W functions take, at compile time.
template <std::size_t N>
constexpr std::array<wchar_t, N> WideText(const char (&text)[N])
{
    std::array<wchar_t, N> wide{};
    for (std::size_t i = 0; i < N; ++i) wide[i] = static_cast<wchar_t>(text[i]);
    return wide;
}

} // namespace veldmark
