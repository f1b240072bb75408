#pragma once
// Writes a short line of text into a presented picture (0x00RRGGBB words), white on a darkened
// box in the top-left corner. It draws after the frame has been scaled to the window, so the
// frames themselves never carry it.
#include <cstddef>
#include <cstdint>

namespace veldmark {

// Pixels between the picture's edge and the box, and between the box's edge and the text, in
// glyph pixels (multiplied by the scale like the glyphs).
inline constexpr int kOverlayMargin = 2;
inline constexpr int kOverlayPadding = 1;
inline constexpr std::uint32_t kOverlayInk = 0xFFFFFF;

// A glyph pixel's size in screen pixels for a picture `height` rows tall: 1, and one more for
// every further 600 rows, so the line stays readable but small on a large screen.
int OverlayScale(int height);

// Draws `text` (ASCII; characters the font lacks show as spaces) into the picture of width x
// height whose rows are `pitch` pixels apart. Whatever falls outside the picture is clipped, at
// any size down to 1 x 1; a picture with no pixels is left alone.
void DrawOverlayText(std::uint32_t* pixels, std::size_t pitch, int width, int height, const char* text, int scale);

} // namespace veldmark
