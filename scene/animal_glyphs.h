#pragma once
// The eight animal pictures, one constant AnimalGlyph per kind.
#include <cstdint>
#include <span>

#include "scene/glyph_part.h"

namespace veldmark {

// Every picture, in the order of their code points (the contact sheet walks them).
std::span<const AnimalGlyph> AnimalGlyphs();

// The picture of `kind`, or nullptr for a kind that has none (such an animal is not drawn).
const AnimalGlyph* FindAnimalGlyph(std::uint32_t kind);

} // namespace veldmark
