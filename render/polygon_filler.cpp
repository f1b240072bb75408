#include "render/polygon_filler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>

#include "render/pixel_colour.h"
#include "render/pixel_quad.h"
#include "render/span_fill.h"

namespace veldmark {
namespace {

// One non-horizontal edge, kept in the direction it was written: its crossing with a row is
// measured from its own first vertex, x0 + dx ((yc - y0) / dy). Turning edges to point down
// would be tidier but would move some crossings by an ulp and so change pixels; every frame
// must come out the same on every build.
struct Edge {
    float x0;
    float y0;
    float dx;      // x1 - x0
    float dy;      // y1 - y0
    float y_min;   // the edge crosses rows sampled at y_min <= yc < y_max
    float y_max;
};

// An upright Band polygon's colour depends on the column only, so it is worked out once per
// column for the polygon's width and copied into each row. Wider than this, every pixel is
// shaded on its own.
constexpr int kBandCacheColumns = 2048;

// All working storage of one polygon: on the caller's stack, nothing allocated per command.
struct PolygonScratch {
    Vec2 vertices[kMaxPolygonVertices];
    Edge edges[kMaxPolygonVertices];
    std::uint16_t by_top[kMaxPolygonVertices];   // edges in order of y_min
    std::uint16_t active[kMaxPolygonVertices];
    float crossings[kMaxPolygonVertices];
    std::uint32_t band_colours[kBandCacheColumns];   // an upright Band's colour per column
};

// Appends the edge (a -> b) unless it can never cross a row: horizontal edges and edges with a
// NaN y make the crossing test false on every row.
void AddEdge(PolygonScratch& s, std::size_t& count, Vec2 a, Vec2 b)
{
    if (!(a.y < b.y) && !(b.y < a.y)) return;
    s.edges[count++] = Edge{a.x, a.y, b.x - a.x, b.y - a.y, std::min(a.y, b.y), std::max(a.y, b.y)};
}

inline void SortCrossings(float* crossings, std::size_t count)
{
    if (count == 2) {   // by far the most common row: one span
        if (crossings[1] < crossings[0]) std::swap(crossings[0], crossings[1]);
        return;
    }
    // The values are never NaN, so the order is total and any sort gives the same spans. Rows
    // usually have two or four crossings: insertion sort; a hostile zig-zag may have a thousand.
    if (count > 32) {
        std::sort(crossings, crossings + count);
        return;
    }
    for (std::size_t k = 1; k < count; ++k) {
        const float key = crossings[k];
        std::size_t j = k;
        for (; j > 0 && crossings[j - 1] > key; --j) crossings[j] = crossings[j - 1];
        crossings[j] = key;
    }
}

// The colour of one shaded pixel at logical position p. One template instance per kind, so
// inner loops carry no switch.
template <ShadeKind kKind>
std::uint32_t ShadePixel(const ShadeRecord& r, std::uint32_t pixel, Vec2 p)
{
    if constexpr (kKind == ShadeKind::kBand) {
        return BandColourAt(r, BandT(r, p));
    } else if constexpr (kKind == ShadeKind::kRadial) {
        return Blend(pixel, MixUnit(r.colour_a, r.colour_b, RadialT(r, p)));
    } else if constexpr (kKind == ShadeKind::kLinear) {
        return Blend(pixel, Mix(r.colour_a, r.colour_b, LinearT(r, p), r.start, r.end));
    } else {
        return Blend(pixel, Mix(r.colour_a, r.colour_b, EllipticT(r, p), r.start, r.end));
    }
}

// Everything a shaded span needs that depends only on the command, prepared once per polygon.
struct SpanShader {
    ShadeRecord record;
    ViewTransform view;
#if defined(__SSE2__)
    float dx, dy, q;        // Linear: P1 - P0 and its squared length
    RampColours colours;    // A to B (Band: dark to light)
    RampColours reversed;   // B to A (Band's upper half)
#endif
};

SpanShader MakeSpanShader(const ShadeRecord& r, const ViewTransform& view)
{
    SpanShader shader;
    shader.record = r;
    shader.view = view;
#if defined(__SSE2__)
    shader.dx = r.p1.x - r.p0.x;
    shader.dy = r.p1.y - r.p0.y;
    shader.q = shader.dx * shader.dx + shader.dy * shader.dy;
    shader.colours = MakeRampColours(r.colour_a, r.colour_b);
    shader.reversed = MakeRampColours(r.colour_b, r.colour_a);
#endif
    return shader;
}

template <ShadeKind kKind>
void ShadeSpan(std::uint32_t* row, IndexRange span, float row_centre, const SpanShader& shader)
{
    const ShadeRecord& r = shader.record;
    if constexpr (kKind == ShadeKind::kBlend) {
        // One colour over whatever is there: the position plays no part.
        for (int j = span.first; j <= span.last; ++j) row[j] = Blend(row[j], r.colour_a);
    } else {
        int j = span.first;
#if defined(__SSE2__)
        // Four pixels at a time: positions, t, the ramp fraction and the colours in vectors.
        for (; j + 3 <= span.last; j += 4) {
            const Quad p = QuadPositions(shader.view, j, row_centre);
            if constexpr (kKind == ShadeKind::kBand) {
                StoreBand4(row + j, shader.colours, shader.reversed, BandT4(r, p));
            } else if constexpr (kKind == ShadeKind::kRadial) {
                const __m128 t = RadialT4(r, p);
                BlendRamp4(row + j, shader.colours, _mm_castps_si128(_mm_cmple_ps(t, _mm_setzero_ps())),
                           _mm_castps_si128(_mm_cmpge_ps(t, _mm_set1_ps(1.0f))), t);
            } else {
                const __m128 t = kKind == ShadeKind::kLinear ? LinearT4(r, p, shader.dx, shader.dy, shader.q)
                                                             : EllipticT4(r, p);
                const __m128i take_b = r.start >= r.end ? _mm_set1_epi32(-1)
                                                        : _mm_castps_si128(_mm_cmpge_ps(t, _mm_set1_ps(r.end)));
                BlendRamp4(row + j, shader.colours, _mm_castps_si128(_mm_cmple_ps(t, _mm_set1_ps(r.start))),
                           take_b, RampFraction4(t, r.start, r.end));
            }
        }
#endif
        for (; j <= span.last; ++j)
            row[j] = ShadePixel<kKind>(r, row[j], PixelCentreToLogical(shader.view, j, row_centre));
    }
}

// Walks the rows of the polygon, collecting each row's crossings from the edges active on it,
// and hands each even-odd span to `fill_span(row_pointer, span, row_centre)`.
template <typename FillSpanFn>
void ScanPolygon(const RasterTarget& target, PolygonScratch& s, std::size_t edge_count,
                 float y_low, float y_high, FillSpanFn&& fill_span)
{
    const IndexRange rows = ClampToIndices(floorf(y_low), ceilf(y_high), target.height - 1);
    if (rows.empty() || edge_count == 0) return;

    // Edges in order of their top row, so each joins the active set when the rows reach it.
    const auto higher = [&s](std::uint16_t a, std::uint16_t b) { return s.edges[a].y_min < s.edges[b].y_min; };
    for (std::size_t k = 0; k < edge_count; ++k) s.by_top[k] = static_cast<std::uint16_t>(k);
    if (edge_count > 16) {
        std::sort(s.by_top, s.by_top + edge_count, higher);
    } else {
        // Most polygons are triangles and quads: insertion sort without a call.
        for (std::size_t k = 1; k < edge_count; ++k) {
            const std::uint16_t key = s.by_top[k];
            std::size_t j = k;
            for (; j > 0 && higher(key, s.by_top[j - 1]); --j) s.by_top[j] = s.by_top[j - 1];
            s.by_top[j] = key;
        }
    }

    std::size_t next = 0;
    std::size_t active_count = 0;
    for (int i = rows.first; i <= rows.last; ++i) {
        const float yc = static_cast<float>(i) + 0.5f;
        while (next < edge_count && s.edges[s.by_top[next]].y_min <= yc)
            s.active[active_count++] = s.by_top[next++];
        std::size_t crossing_count = 0;
        for (std::size_t a = 0; a < active_count;) {
            const Edge& e = s.edges[s.active[a]];
            if (!(yc < e.y_max)) {
                // Rows only go down: an edge that ends above this row is done for good.
                s.active[a] = s.active[--active_count];
                continue;
            }
            const float x = e.x0 + e.dx * ((yc - e.y0) / e.dy);
            // Infinite coordinates can make a crossing NaN; it is dropped like any other
            // crossing a NaN coordinate spoils.
            if (x == x) s.crossings[crossing_count++] = x;
            ++a;
        }
        if (active_count == 0 && next == edge_count) return;
        SortCrossings(s.crossings, crossing_count);
        std::uint32_t* row = target.pixels + static_cast<std::size_t>(i) * static_cast<std::size_t>(target.width);
        for (std::size_t c = 0; c + 1 < crossing_count; c += 2) {
            const float left = ceilf(s.crossings[c] - 0.5f);
            const float right = floorf(s.crossings[c + 1] - 0.5f);
            const IndexRange span = ClampToIndices(left, right, target.width - 1);
            if (!span.empty()) fill_span(row, span, yc);
        }
    }
}

template <ShadeKind kKind>
void ScanShaded(const RasterTarget& target, PolygonScratch& s, std::size_t edge_count, float y_low,
                float y_high, const SpanShader& shader)
{
    ScanPolygon(target, s, edge_count, y_low, y_high, [&shader](std::uint32_t* row, IndexRange span, float yc) {
        ShadeSpan<kKind>(row, span, yc, shader);
    });
}

} // namespace

std::uint64_t FillPolygon(const RasterTarget& target, const ViewTransform& view,
                          const std::uint32_t* vertex_words, std::uint64_t n,
                          const ShadeRecord& shade)
{
    const std::uint64_t words = 2 * n;
    if (n < 3 || target.width <= 0 || target.height <= 0) return words;
    const std::size_t m = static_cast<std::size_t>(std::min(n, kMaxPolygonVertices));

    PolygonScratch s;
    float y_low = INFINITY;
    float y_high = -INFINITY;
    for (std::size_t k = 0; k < m; ++k) {
        s.vertices[k] = ToPixel(view, Vec2{WordFloat(vertex_words[2 * k]),
                                           WordFloat(vertex_words[2 * k + 1])});
        if (s.vertices[k].y < y_low) y_low = s.vertices[k].y;
        if (s.vertices[k].y > y_high) y_high = s.vertices[k].y;
    }
    // Edges as written: k-1 to k, then the closing edge from the last vertex to the first.
    std::size_t edge_count = 0;
    for (std::size_t k = 1; k < m; ++k) AddEdge(s, edge_count, s.vertices[k - 1], s.vertices[k]);
    AddEdge(s, edge_count, s.vertices[m - 1], s.vertices[0]);

    if (shade.kind == ShadeKind::kFlat) {
        // The common case: spans filled with one value, no per-pixel work.
        const std::uint32_t value = shade.colour_a & 0xFFFFFFu;
        ScanPolygon(target, s, edge_count, y_low, y_high,
                    [value](std::uint32_t* row, IndexRange span, float) {
                        FillSpan(row + span.first, static_cast<std::size_t>(span.last - span.first) + 1, value);
                    });
        return words;
    }
    const SpanShader shader = MakeSpanShader(shade, view);
    if (shade.kind == ShadeKind::kBand && view.sin_r == 0.0f) {
        // Columns the spans can reach: the vertices' extent, with a pixel to spare on each side
        // for crossings that round just past it; any pixel outside is shaded on its own.
        float x_low = INFINITY;
        float x_high = -INFINITY;
        for (std::size_t k = 0; k < m; ++k) {
            if (s.vertices[k].x < x_low) x_low = s.vertices[k].x;
            if (s.vertices[k].x > x_high) x_high = s.vertices[k].x;
        }
        const IndexRange cached = ClampToIndices(floorf(x_low) - 1.0f, ceilf(x_high) + 1.0f, target.width - 1);
        if (!cached.empty() && cached.last - cached.first < kBandCacheColumns) {
            for (int j = cached.first; j <= cached.last; ++j)
                s.band_colours[j - cached.first] = ShadePixel<ShadeKind::kBand>(shade, 0, PixelCentreToLogical(view, j, 0.5f));
            ScanPolygon(target, s, edge_count, y_low, y_high,
                        [&s, &shader, cached](std::uint32_t* row, IndexRange span, float yc) {
                            if (span.first < cached.first || span.last > cached.last) {
                                ShadeSpan<ShadeKind::kBand>(row, span, yc, shader);
                                return;
                            }
                            std::memcpy(row + span.first, s.band_colours + (span.first - cached.first),
                                        (static_cast<std::size_t>(span.last - span.first) + 1) * sizeof(std::uint32_t));
                        });
            return words;
        }
    }
    switch (shade.kind) {
    case ShadeKind::kFlat: break;
    case ShadeKind::kBlend: ScanShaded<ShadeKind::kBlend>(target, s, edge_count, y_low, y_high, shader); break;
    case ShadeKind::kBand: ScanShaded<ShadeKind::kBand>(target, s, edge_count, y_low, y_high, shader); break;
    case ShadeKind::kRadial: ScanShaded<ShadeKind::kRadial>(target, s, edge_count, y_low, y_high, shader); break;
    case ShadeKind::kLinear: ScanShaded<ShadeKind::kLinear>(target, s, edge_count, y_low, y_high, shader); break;
    case ShadeKind::kElliptic: ScanShaded<ShadeKind::kElliptic>(target, s, edge_count, y_low, y_high, shader); break;
    }
    return words;
}

} // namespace veldmark
