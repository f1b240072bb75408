#include "render/tests/reference_background.h"

#include <cmath>

#include "render/background.h"
#include "render/sun.h"

namespace veldmark::test {

// The rolled sky as plainly as it can be written: each row starts at column 0 and adds half the
// roll's sine for every further column.
std::vector<std::uint32_t> ReferenceRolledSky(int width, int height, float roll, std::uint32_t zenith,
                                              std::uint32_t horizon)
{
    const float c = cosf(roll);
    const float s = sinf(roll);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        const float ly = (static_cast<float>(row) + 0.5f) * 0.5f;
        float v = ((ly - 300.0f) * c + 300.0f) + (0.25f - 480.0f) * s;
        for (int column = 0; column < width; ++column) {
            pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(column)] =
                SkyColourAt(v, zenith, horizon);
            v += 0.5f * s;
        }
    }
    return pixels;
}

// The sun one pixel at a time, as plainly as it can be written, over the whole buffer.
void ReferenceSun(std::vector<std::uint32_t>& pixels, int width, int height, float roll, Vec2 centre, float scale)
{
    GlowTable table;
    BuildGlowTable(scale, table);
    const float c = cosf(roll), s = sinf(roll);
    const float k_squared = table.outer * table.outer;
    const float disc_radius = 46.0f * scale;
    for (int i = 0; i < height; ++i)
        for (int j = 0; j < width; ++j) {
            const float lx = (static_cast<float>(j) + 0.5f) * 0.5f - 480.0f;
            const float ly = (static_cast<float>(i) + 0.5f) * 0.5f - 300.0f;
            const float x = s == 0.0f ? lx + 480.0f : (480.0f + lx * c) - ly * s;
            const float y = s == 0.0f ? ly + 300.0f : (300.0f + lx * s) + ly * c;
            if (y >= 300.0f) continue;
            const float d2 = (x - centre.x) * (x - centre.x) + (y - centre.y) * (y - centre.y);
            std::uint32_t& p = pixels[static_cast<std::size_t>(i) * static_cast<std::size_t>(width) + static_cast<std::size_t>(j)];
            if (d2 < k_squared) {
                const float scaled = d2 * table.index_scale;
                const std::size_t e = scaled < 1023.0f ? static_cast<std::size_t>(scaled) : 1023u;
                if (table.inverse_opacity[e] <= 254) {
                    std::uint32_t out = 0;
                    const std::int32_t premultiplied[3] = {table.red[e], table.green[e], table.blue[e]};
                    for (int k = 0; k < 3; ++k) {
                        const int shift = 16 - 8 * k;
                        const std::int32_t v = static_cast<std::int32_t>((p >> shift) & 0xFF);
                        out |= static_cast<std::uint32_t>((v * table.inverse_opacity[e] + premultiplied[k] + 128) >> 8) << shift;
                    }
                    p = out;
                }
            }
            if (d2 <= disc_radius * disc_radius) {
                float u = (sqrtf(d2) - 4.0f * scale) / (disc_radius - 4.0f * scale);
                u = u < 0.0f ? 0.0f : (u > 1.0f ? 1.0f : u);
                p = 0xFF0000u | static_cast<std::uint32_t>(230.0f - 73.0f * u + 0.5f) << 8 |
                    static_cast<std::uint32_t>(163.0f - 71.0f * u + 0.5f);
            }
        }
}

} // namespace veldmark::test
