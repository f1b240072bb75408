#include "app/shell/overlay_text.h"

#include <algorithm>

#include "app/shell/overlay_font.h"

namespace veldmark {
namespace {

constexpr int kMaxScale = 8;
constexpr int kMaxCharacters = 64;   // longer text is cut; the frame-rate line is far shorter
constexpr int kGlyphAdvance = kGlyphWidth + 1;
constexpr int kRowsPerScaleStep = 600;

// Half as bright, so white text reads on the brightest sky.
std::uint32_t Darkened(std::uint32_t p) { return (p >> 1) & 0x7F7F7Fu; }

} // namespace

int OverlayScale(int height)
{
    if (height <= 0) return 1;
    return std::min(1 + (height - 1) / kRowsPerScaleStep, kMaxScale);
}

void DrawOverlayText(std::uint32_t* pixels, std::size_t pitch, int width, int height, const char* text, int scale)
{
    if (!pixels || !text || width <= 0 || height <= 0) return;
    scale = std::clamp(scale, 1, kMaxScale);
    int length = 0;
    while (length < kMaxCharacters && text[length] != '\0') ++length;
    if (length == 0) return;

    // The box in glyph pixels, then on screen, clipped to the picture. All of it stays far
    // below int's range: at most 8 * (2 + 64 * 6 + 2) on each axis.
    const int left = kOverlayMargin * scale;
    const int top = kOverlayMargin * scale;
    const int box_width = (2 * kOverlayPadding + length * kGlyphAdvance - 1) * scale;
    const int box_height = (2 * kOverlayPadding + kGlyphHeight) * scale;
    const int x_end = std::min(left + box_width, width);
    const int y_end = std::min(top + box_height, height);

    for (int y = top; y < y_end; ++y) {
        std::uint32_t* row = pixels + static_cast<std::size_t>(y) * pitch;
        const int gy = (y - top) / scale - kOverlayPadding;   // the glyph row, or outside
        for (int x = left; x < x_end; ++x) {
            const int gx = (x - left) / scale - kOverlayPadding;
            bool lit = false;
            if (gy >= 0 && gy < kGlyphHeight && gx >= 0) {
                const int column = gx % kGlyphAdvance;
                const char* const* rows = GlyphRows(text[gx / kGlyphAdvance]);
                lit = rows && column < kGlyphWidth && rows[gy][column] == '#';
            }
            row[x] = lit ? kOverlayInk : Darkened(row[x]);
        }
    }
}

} // namespace veldmark
