#include "scene/animal_glyphs.h"

namespace veldmark {

const AnimalGlyph* FindAnimalGlyph(std::uint32_t kind)
{
    for (const AnimalGlyph& glyph : AnimalGlyphs())
        if (glyph.kind == kind) return &glyph;
    return nullptr;
}

} // namespace veldmark
