#pragma once
// The scanline polygon filler: even-odd rule, a pixel is inside when its centre is, rows
// half-open so that polygons sharing a horizontal edge do not both cover it.
//
// A polygon is prepared once (vertices through the view, its edges sorted by their top) and then
// filled a run of rows at a time, top to bottom: the fill keeps its place between runs, so a frame
// can be drawn one strip of rows after another with the same crossings, the same spans and the
// same pixels as a polygon filled in one go.
#include <cstdint>
#include <limits>

#include "render/raster_target.h"
#include "render/shade_record.h"
#include "render/simd/simd_level.h"

namespace veldmark {

// The filler uses at most this many vertices of a polygon; any further ones are skipped over.
inline constexpr std::uint64_t kMaxPolygonVertices = 1024;

// One non-horizontal edge, kept in the direction it was written: its crossing with a row is
// measured from its own first vertex, x0 + dx ((yc - y0) / dy). Turning edges to point down
// would be tidier but would move some crossings by an ulp and so change pixels; every frame
// must come out the same on every build.
struct PolygonEdge {
    float x0;
    float y0;
    float dx;      // x1 - x0
    float dy;      // y1 - y0
    float y_min;   // the edge crosses rows sampled at y_min <= yc < y_max
    float y_max;
};

// A prepared polygon's place in its rows. Its edges live in the caller's storage, sorted by
// y_min, with a working area of as many indices beside them for the edges active on a row.
struct PolygonRows {
    IndexRange rows;              // rows still to fill (clamped to the target); empty when done
    std::uint32_t edge_count;
    std::uint32_t next_edge;      // edges before this one have joined the active set
    std::uint32_t active_count;
    float x_low;                  // the pixel x extent of the vertices used
    float x_high;
};

// Transforms the first min(n, 1024) vertices at `vertex_words` (x, y float words, logical) and
// writes the polygon's edges into `edges` (room for kMaxPolygonVertices). Nothing to fill
// (empty rows) when n < 3.
PolygonRows PreparePolygon(const RasterTarget& target, const ViewTransform& view,
                           const std::uint32_t* vertex_words, std::uint64_t n, PolygonEdge* edges);

// Per-column colours of an upright Band polygon, worked out once for the columns its spans can
// reach, because its colour depends on the column alone.
inline constexpr int kMaxColumnColours = 2048;

// The columns worth working out for `polygon` (empty when the view is rolled, the shade is not
// a Band, or the polygon is wider than kMaxColumnColours).
IndexRange ColumnColourRange(const RasterTarget& target, const ViewTransform& view,
                             const ShadeRecord& shade, const PolygonRows& polygon);
void FillColumnColours(const ViewTransform& view, const ShadeRecord& shade, IndexRange columns,
                       std::uint32_t* colours);

// How a polygon's covered pixels get their colour.
struct PolygonPaint {
    std::uint32_t flat_value = 0;                  // when `shade` is null: this value, opaque
    const ShadeRecord* shade = nullptr;            // any kind but Flat
    const std::uint32_t* column_colours = nullptr; // FillColumnColours's colours for colour_columns
    IndexRange colour_columns = {0, -1};
};

// The paint of `shade` (whose record must outlive the paint unless it is Flat), without column
// colours.
inline PolygonPaint PaintOf(const ShadeRecord& shade)
{
    PolygonPaint paint;
    if (shade.kind == ShadeKind::kFlat) paint.flat_value = shade.colour_a & 0xFFFFFFu;
    else paint.shade = &shade;
    return paint;
}

// Scratch for one row's crossings, shared by every polygon a thread fills.
struct CrossingScratch {
    float crossings[kMaxPolygonVertices];
};

// A copy of a fill's working area of active edges, to look ahead without moving its place.
struct CoverScratch {
    std::uint16_t active[kMaxPolygonVertices];
};

// The rows a mask of covered rows holds, bit r for the r-th row.
inline constexpr int kCoveredRowsMaskBits = std::numeric_limits<std::uint64_t>::digits;

// The rows of `rows` (at most kCoveredRowsMaskBits of them, not above rows already filled)
// where the polygon's spans cover every column of the target: bit r for row rows.first + r. The polygon's place is
// left where it is, so it can still be filled over these rows afterwards.
std::uint64_t RowsCoveredWhole(const RasterTarget& target, const PolygonRows& polygon,
                               const PolygonEdge* edges, const std::uint16_t* active, IndexRange rows,
                               CrossingScratch& crossings, CoverScratch& scratch);

// Fills the polygon's rows within `rows` (which must not lie above rows already filled) and
// moves its place on past them.
void FillPolygonRows(const RasterTarget& target, const ViewTransform& view, PolygonRows& polygon,
                     const PolygonEdge* edges, std::uint16_t* active, const PolygonPaint& paint,
                     IndexRange rows, CrossingScratch& scratch, SimdLevel level);

// Fills the polygon of the first min(n, 1024) vertices at `vertex_words` (the caller guarantees
// 2 n readable words) with `shade`, all rows at once. Draws nothing when n < 3. Returns the word
// count the vertices occupy, 2 n.
std::uint64_t FillPolygon(const RasterTarget& target, const ViewTransform& view,
                          const std::uint32_t* vertex_words, std::uint64_t n,
                          const ShadeRecord& shade);

} // namespace veldmark
