#include "render/polygon_filler.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>

#include "render/pixel_colour.h"
#include "render/shaded_span.h"
#include "render/span_fill.h"

namespace veldmark {
namespace {

// Appends the edge (a -> b) unless it can never cross a row: horizontal edges and edges with a
// NaN y make the crossing test false on every row.
void AddEdge(PolygonEdge* edges, std::uint32_t& count, Vec2 a, Vec2 b)
{
    if (!(a.y < b.y) && !(b.y < a.y)) return;
    edges[count++] = PolygonEdge{a.x, a.y, b.x - a.x, b.y - a.y, std::min(a.y, b.y), std::max(a.y, b.y)};
}

// Edges in order of their top row, so each joins the active set when the rows reach it. The
// order of edges with the same top does not matter: a row's crossings are sorted anyway.
void SortEdgesByTop(PolygonEdge* edges, std::uint32_t count)
{
    const auto higher = [](const PolygonEdge& a, const PolygonEdge& b) { return a.y_min < b.y_min; };
    if (count > 16) {
        std::sort(edges, edges + count, higher);
        return;
    }
    // Most polygons are triangles and quads: insertion sort without a call.
    for (std::uint32_t k = 1; k < count; ++k) {
        const PolygonEdge key = edges[k];
        std::uint32_t j = k;
        for (; j > 0 && higher(key, edges[j - 1]); --j) edges[j] = edges[j - 1];
        edges[j] = key;
    }
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

// Where the edge crosses the row sampled at yc, measured from its own first vertex.
inline float Crossing(const PolygonEdge& e, float yc) { return e.x0 + e.dx * ((yc - e.y0) / e.dy); }

// Walks the rows of `rows` that the polygon still has, collecting each row's crossings from the
// edges active on it, and hands each even-odd span to `fill_span(row_pointer, span, row_centre)`.
template <typename FillSpanFn>
void ScanRows(const RasterTarget& target, PolygonRows& p, const PolygonEdge* edges, std::uint16_t* active,
              IndexRange rows, CrossingScratch& scratch, FillSpanFn&& fill_span)
{
    const int first = std::max(p.rows.first, rows.first);
    const int last = std::min(p.rows.last, rows.last);
    if (last < first) return;
    float* crossings = scratch.crossings;
    std::uint32_t* row = target.pixels + static_cast<std::size_t>(first) * static_cast<std::size_t>(target.width);
    for (int i = first; i <= last; ++i, row += target.width) {
        const float yc = static_cast<float>(i) + 0.5f;
        while (p.next_edge < p.edge_count && edges[p.next_edge].y_min <= yc)
            active[p.active_count++] = static_cast<std::uint16_t>(p.next_edge++);
        if (p.active_count == 2) {
            // By far the most common row: two edges that both go on, one span. Their crossings
            // stay in registers (a trip through the scratch would stall the reload).
            const PolygonEdge& a = edges[active[0]];
            const PolygonEdge& b = edges[active[1]];
            if (yc < a.y_max && yc < b.y_max) {
                const float xa = Crossing(a, yc);
                const float xb = Crossing(b, yc);
                if (xa == xa && xb == xb) {
                    const float low = xb < xa ? xb : xa;
                    const float high = xb < xa ? xa : xb;
                    const IndexRange span = ClampToIndices(ceilf(low - 0.5f), floorf(high - 0.5f), target.width - 1);
                    if (!span.empty()) fill_span(row, span, yc);
                    continue;
                }
            }
        }
        std::size_t crossing_count = 0;
        for (std::uint32_t a = 0; a < p.active_count;) {
            const PolygonEdge& e = edges[active[a]];
            if (!(yc < e.y_max)) {
                // Rows only go down: an edge that ends above this row is done for good.
                active[a] = active[--p.active_count];
                continue;
            }
            const float x = Crossing(e, yc);
            // Infinite coordinates can make a crossing NaN; it is dropped like any other
            // crossing a NaN coordinate spoils.
            if (x == x) crossings[crossing_count++] = x;
            ++a;
        }
        if (p.active_count == 0 && p.next_edge == p.edge_count) {
            p.rows = IndexRange{0, -1};   // no edge is left to cross a lower row
            return;
        }
        SortCrossings(crossings, crossing_count);
        for (std::size_t c = 0; c + 1 < crossing_count; c += 2) {
            const float left = ceilf(crossings[c] - 0.5f);
            const float right = floorf(crossings[c + 1] - 0.5f);
            const IndexRange span = ClampToIndices(left, right, target.width - 1);
            if (!span.empty()) fill_span(row, span, yc);
        }
    }
    p.rows.first = last + 1;
}

void ScanShaded(ShadeKind kind, const RasterTarget& target, PolygonRows& p, const PolygonEdge* edges,
                std::uint16_t* active, IndexRange rows, CrossingScratch& scratch, const SpanShader& shader,
                SimdLevel level)
{
    const ShadedSpanFn shade_span = ShadedSpanFunction(kind, level);
    ScanRows(target, p, edges, active, rows, scratch, [&shader, shade_span](std::uint32_t* row, IndexRange span, float yc) {
        shade_span(row, span, yc, shader);
    });
}

} // namespace

PolygonRows PreparePolygon(const RasterTarget& target, const ViewTransform& view,
                           const std::uint32_t* vertex_words, std::uint64_t n, PolygonEdge* edges)
{
    PolygonRows p{IndexRange{0, -1}, 0, 0, 0, INFINITY, -INFINITY};
    if (n < 3 || target.width <= 0 || target.height <= 0) return p;
    const std::size_t m = static_cast<std::size_t>(std::min(n, kMaxPolygonVertices));

    float y_low = INFINITY;
    float y_high = -INFINITY;
    const auto vertex = [&](std::size_t k) {
        const Vec2 v = ToPixel(view, Vec2{WordFloat(vertex_words[2 * k]), WordFloat(vertex_words[2 * k + 1])});
        if (v.y < y_low) y_low = v.y;
        if (v.y > y_high) y_high = v.y;
        if (v.x < p.x_low) p.x_low = v.x;
        if (v.x > p.x_high) p.x_high = v.x;
        return v;
    };
    // Edges as written: k-1 to k, then the closing edge from the last vertex to the first.
    const Vec2 first = vertex(0);
    Vec2 previous = first;
    for (std::size_t k = 1; k < m; ++k) {
        const Vec2 current = vertex(k);
        AddEdge(edges, p.edge_count, previous, current);
        previous = current;
    }
    AddEdge(edges, p.edge_count, previous, first);
    if (p.edge_count == 0) return p;
    SortEdgesByTop(edges, p.edge_count);
    p.rows = ClampToIndices(floorf(y_low), ceilf(y_high), target.height - 1);
    return p;
}

IndexRange ColumnColourRange(const RasterTarget& target, const ViewTransform& view,
                            const ShadeRecord& shade, const PolygonRows& polygon)
{
    if (shade.kind != ShadeKind::kBand || view.sin_r != 0.0f) return IndexRange{0, -1};
    // Columns the spans can reach: the vertices' extent, with a pixel to spare on each side for
    // crossings that round just past it; any pixel outside is shaded on its own.
    const IndexRange cached = ClampToIndices(floorf(polygon.x_low) - 1.0f, ceilf(polygon.x_high) + 1.0f, target.width - 1);
    if (cached.empty() || cached.last - cached.first >= kMaxColumnColours) return IndexRange{0, -1};
    return cached;
}

void FillColumnColours(const ViewTransform& view, const ShadeRecord& shade, IndexRange columns,
                   std::uint32_t* colours)
{
    for (int j = columns.first; j <= columns.last; ++j)
        colours[j - columns.first] = BandColourAt(shade, BandT(shade, PixelCentreToLogical(view, j, 0.5f)));
}

std::uint64_t RowsCoveredWhole(const RasterTarget& target, const PolygonRows& polygon,
                               const PolygonEdge* edges, const std::uint16_t* active, IndexRange rows,
                               CrossingScratch& crossings, CoverScratch& scratch)
{
    if (polygon.rows.empty() || rows.empty() || rows.last - rows.first >= kCoveredRowsMaskBits) return 0;
    PolygonRows ahead = polygon;
    std::copy(active, active + polygon.active_count, scratch.active);
    std::uint64_t covered = 0;
    int row = -1;
    int reach = -1;   // the row's columns 0..reach are covered by its spans so far
    const int last_column = target.width - 1;
    // A row's spans come left to right, so a gap before one is never filled by a later one.
    ScanRows(target, ahead, edges, scratch.active, rows, crossings, [&](std::uint32_t*, IndexRange span, float yc) {
        const int i = static_cast<int>(yc);
        if (i != row) {
            row = i;
            reach = -1;
        }
        if (span.first > reach + 1) return;
        reach = std::max(reach, span.last);
        if (reach >= last_column) covered |= std::uint64_t{1} << (i - rows.first);
    });
    return covered;
}

void FillPolygonRows(const RasterTarget& target, const ViewTransform& view, PolygonRows& polygon,
                     const PolygonEdge* edges, std::uint16_t* active, const PolygonPaint& paint,
                     IndexRange rows, CrossingScratch& scratch, SimdLevel level)
{
    if (polygon.rows.empty()) return;
    if (!paint.shade) {
        // The common case: spans filled with one value, no per-pixel work.
        const std::uint32_t value = paint.flat_value;
        const SpanFillFn fill = SpanFillFunction(level);
        ScanRows(target, polygon, edges, active, rows, scratch, [value, fill](std::uint32_t* row, IndexRange span, float) {
            fill(row + span.first, static_cast<std::size_t>(span.last - span.first) + 1, value);
        });
        return;
    }
    const ShadeRecord& shade = *paint.shade;
    const SpanShader shader = MakeSpanShader(shade, view);
    if (paint.column_colours) {
        const IndexRange cached = paint.colour_columns;
        const std::uint32_t* colours = paint.column_colours;
        const ShadedSpanFn shade_span = ShadedSpanFunction(ShadeKind::kBand, level);
        ScanRows(target, polygon, edges, active, rows, scratch,
                 [&shader, shade_span, colours, cached](std::uint32_t* row, IndexRange span, float yc) {
                     if (span.first < cached.first || span.last > cached.last) {
                         shade_span(row, span, yc, shader);
                         return;
                     }
                     std::memcpy(row + span.first, colours + (span.first - cached.first),
                                 (static_cast<std::size_t>(span.last - span.first) + 1) * sizeof(std::uint32_t));
                 });
        return;
    }
    ScanShaded(shade.kind, target, polygon, edges, active, rows, scratch, shader, level);
}

std::uint64_t FillPolygon(const RasterTarget& target, const ViewTransform& view,
                          const std::uint32_t* vertex_words, std::uint64_t n,
                          const ShadeRecord& shade)
{
    // All working storage of one polygon: on the caller's stack, nothing allocated per command.
    struct Scratch {
        PolygonEdge edges[kMaxPolygonVertices];
        std::uint16_t active[kMaxPolygonVertices];
        CrossingScratch crossings;
        std::uint32_t column_colours[kMaxColumnColours];
    };
    Scratch s;
    PolygonRows polygon = PreparePolygon(target, view, vertex_words, n, s.edges);
    if (polygon.rows.empty()) return 2 * n;
    PolygonPaint paint = PaintOf(shade);
    const IndexRange cached = ColumnColourRange(target, view, shade, polygon);
    if (!cached.empty()) {
        FillColumnColours(view, shade, cached, s.column_colours);
        paint.column_colours = s.column_colours;
        paint.colour_columns = cached;
    }
    FillPolygonRows(target, view, polygon, s.edges, s.active, paint, polygon.rows, s.crossings, ActiveSimdLevel());
    return 2 * n;
}

} // namespace veldmark
