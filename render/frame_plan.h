#pragma once
// A frame's display list decoded once into prepared commands (edges through the view and sorted,
// shade records, discs' boxes), each with the rows it can reach, so that the frame can then be
// drawn a strip of rows at a time without decoding or preparing anything again. The storage is
// fixed and belongs to the render worker; a list with more than it holds is planned up to the
// command that does not fit, and the rest is drawn afterwards one command at a time over the
// whole frame, which gives the same pixels.
#include <array>
#include <cstdint>

#include "render/disc_filler.h"
#include "render/polygon_filler.h"
#include "render/raster_target.h"
#include "render/shade_record.h"

namespace veldmark {

// Real frames use a few thousand commands and some tens of thousands of edges.
inline constexpr std::size_t kMaxPlannedCommands = 16384;
inline constexpr std::size_t kMaxPlannedDiscs = 4096;
inline constexpr std::size_t kMaxPlannedShades = 4096;
inline constexpr std::size_t kMaxPlannedEdges = 65536;
inline constexpr std::size_t kPlannedColumnColours = 65536;   // upright Band polygons' column colours

struct PlannedCommand {
    IndexRange rows;      // the rows it can reach, within the target; never empty
    bool is_disc;
    std::uint32_t index;  // into the plan's polygons or discs
};

struct PlannedPolygon {
    PolygonRows rows;           // where its fill has got to
    std::uint32_t first_edge;   // its edges, and their active area, in the plan's pools
    PolygonPaint paint;
};

struct FramePlan {
    std::uint32_t command_count = 0;
    std::uint32_t polygon_count = 0;
    std::uint32_t disc_count = 0;
    std::uint32_t shade_count = 0;
    std::uint32_t edge_count = 0;
    std::uint32_t column_colour_count = 0;
    std::uint64_t resume_position = 0;   // the first command not planned (the length if none)
    std::array<PlannedCommand, kMaxPlannedCommands> commands;
    std::array<PlannedPolygon, kMaxPlannedCommands> polygons;
    std::array<PreparedDisc, kMaxPlannedDiscs> discs;
    std::array<ShadeRecord, kMaxPlannedShades> shades;
    std::array<PolygonEdge, kMaxPlannedEdges> edges;
    std::array<std::uint16_t, kMaxPlannedEdges> active;
    std::array<std::uint32_t, kPlannedColumnColours> column_colours;
};

// Decodes and prepares the list of `length` words (at most the capacity is read), in order,
// until the plan is full; commands that draw nothing on the target are left out.
void PlanFrame(const RasterTarget& target, const ViewTransform& view, const std::uint32_t* words,
               std::uint64_t length, FramePlan& plan);

// Draws the planned command's part on the rows of `rows`; the rows of successive calls for one
// command must go down the frame.
void DrawPlannedRows(const RasterTarget& target, const ViewTransform& view, FramePlan& plan,
                     const PlannedCommand& command, IndexRange rows, CrossingScratch& scratch,
                     SimdLevel level);

} // namespace veldmark
