#pragma once
// A tiny bitmap font of our own for the frame-rate line: the digits, '.', '%', space and the
// letters of "fps" and "cpu". Each glyph is a picture of kGlyphHeight rows of kGlyphWidth
// characters, '#' for a lit pixel.
namespace veldmark {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;

// The rows of `c`'s picture, top first; nullptr for a character the font does not have (it
// draws as a space).
const char* const* GlyphRows(char c);

} // namespace veldmark
