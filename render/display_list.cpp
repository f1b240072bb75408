#include "render/display_list.h"

namespace veldmark {

bool DisplayListWriter::Append(std::span<const std::uint32_t> header, std::span<const Vec2> vertices)
{
    // The count travels in one 32-bit word; a longer outline could only be written with a
    // count that disagrees with its vertices.
    if (vertices.size() > UINT32_MAX) return false;
    const std::uint64_t size = header.size() + 2 * static_cast<std::uint64_t>(vertices.size());
    if (!Fits(size)) return false;
    std::uint32_t* out = words_ + length_;
    for (std::uint32_t w : header) *out++ = w;
    for (const Vec2& v : vertices) {
        *out++ = FloatWord(v.x);
        *out++ = FloatWord(v.y);
    }
    length_ += size;
    return true;
}

bool DisplayListWriter::FlatPolygon(std::uint32_t colour, std::span<const Vec2> vertices)
{
    const std::uint32_t header[] = {kOpFlatPolygon, colour, static_cast<std::uint32_t>(vertices.size())};
    return Append(header, vertices);
}

bool DisplayListWriter::BandPolygon(std::uint32_t colour, float shade, std::span<const Vec2> vertices)
{
    const std::uint32_t header[] = {kOpBandPolygon, colour, FloatWord(shade),
                                    static_cast<std::uint32_t>(vertices.size())};
    return Append(header, vertices);
}

bool DisplayListWriter::Disc(std::uint32_t colour, Vec2 centre, float radius, float opacity)
{
    const std::uint32_t header[] = {kOpDisc,          colour,           FloatWord(centre.x),
                                    FloatWord(centre.y), FloatWord(radius), FloatWord(opacity)};
    return Append(header, {});
}

bool DisplayListWriter::RadialPolygon(std::uint32_t inner, std::uint32_t outer, Vec2 centre,
                                      float radius, std::span<const Vec2> vertices)
{
    const std::uint32_t header[] = {kOpRadialPolygon,    inner,
                                    outer,               FloatWord(centre.x),
                                    FloatWord(centre.y), FloatWord(radius),
                                    static_cast<std::uint32_t>(vertices.size())};
    return Append(header, vertices);
}

bool DisplayListWriter::LinearPolygon(std::uint32_t start_colour, std::uint32_t end_colour,
                                      float start, float end, Vec2 p0, Vec2 p1,
                                      std::span<const Vec2> vertices)
{
    const std::uint32_t header[] = {kOpLinearPolygon, start_colour,  end_colour,
                                    FloatWord(start), FloatWord(end), FloatWord(p0.x),
                                    FloatWord(p0.y),  FloatWord(p1.x), FloatWord(p1.y),
                                    static_cast<std::uint32_t>(vertices.size())};
    return Append(header, vertices);
}

bool DisplayListWriter::EllipticPolygon(std::uint32_t inner, std::uint32_t outer, float start,
                                        float end, Vec2 centre, Vec2 u, Vec2 v,
                                        std::span<const Vec2> vertices)
{
    const std::uint32_t header[] = {kOpEllipticPolygon,  inner,          outer,
                                    FloatWord(start),    FloatWord(end), FloatWord(centre.x),
                                    FloatWord(centre.y), FloatWord(u.x), FloatWord(u.y),
                                    FloatWord(v.x),      FloatWord(v.y),
                                    static_cast<std::uint32_t>(vertices.size())};
    return Append(header, vertices);
}

} // namespace veldmark
