#include "render/frame_plan.h"

#include <algorithm>

#include "render/command_decoder.h"

namespace veldmark {

void PlanFrame(const RasterTarget& target, const ViewTransform& view, const std::uint32_t* words,
               std::uint64_t length, FramePlan& plan)
{
    plan.command_count = plan.polygon_count = plan.disc_count = 0;
    plan.shade_count = plan.edge_count = plan.column_colour_count = 0;
    if (length > kDisplayListWords) length = kDisplayListWords;
    std::uint64_t position = 0;
    DecodedCommand command;
    while (position < length) {
        const std::uint64_t next = DecodeCommand(words, length, position, command);
        if (command.kind == DecodedCommand::Kind::kNothing) {
            position = next;
            continue;
        }
        if (plan.command_count == kMaxPlannedCommands) break;
        PlannedCommand& planned = plan.commands[plan.command_count];
        if (command.kind == DecodedCommand::Kind::kDisc) {
            if (plan.disc_count == kMaxPlannedDiscs) break;
            PreparedDisc& disc = plan.discs[plan.disc_count];
            disc = PrepareDisc(target, view, command.colour, command.centre, command.radius, command.opacity);
            if (!disc.rows.empty()) {
                planned = PlannedCommand{disc.rows, true, plan.disc_count++};
                ++plan.command_count;
            }
            position = next;
            continue;
        }
        const bool flat = command.shade.kind == ShadeKind::kFlat;
        if (kMaxPlannedEdges - plan.edge_count < std::min(command.n, kMaxPolygonVertices)) break;
        if (!flat && plan.shade_count == kMaxPlannedShades) break;
        PlannedPolygon& polygon = plan.polygons[plan.polygon_count];
        polygon.first_edge = plan.edge_count;
        polygon.rows = PreparePolygon(target, view, command.vertices, command.n, &plan.edges[plan.edge_count]);
        if (!polygon.rows.rows.empty()) {
            plan.edge_count += polygon.rows.edge_count;
            if (flat) {
                polygon.paint = PaintOf(command.shade);
            } else {
                ShadeRecord& shade = plan.shades[plan.shade_count++];
                shade = command.shade;
                polygon.paint = PaintOf(shade);
                const IndexRange cached = ColumnColourRange(target, view, shade, polygon.rows);
                const std::size_t columns = static_cast<std::size_t>(cached.last - cached.first + 1);
                if (!cached.empty() && kPlannedColumnColours - plan.column_colour_count >= columns) {
                    std::uint32_t* colours = &plan.column_colours[plan.column_colour_count];
                    FillColumnColours(view, shade, cached, colours);
                    plan.column_colour_count += static_cast<std::uint32_t>(columns);
                    polygon.paint.column_colours = colours;
                    polygon.paint.colour_columns = cached;
                }
            }
            planned = PlannedCommand{polygon.rows.rows, false, plan.polygon_count++};
            ++plan.command_count;
        }
        position = next;
    }
    plan.resume_position = position;
}

void DrawPlannedRows(const RasterTarget& target, const ViewTransform& view, FramePlan& plan,
                     const PlannedCommand& command, IndexRange rows, CrossingScratch& scratch,
                     SimdLevel level)
{
    if (command.is_disc) {
        FillDiscRows(target, plan.discs[command.index], rows, level);
        return;
    }
    PlannedPolygon& polygon = plan.polygons[command.index];
    FillPolygonRows(target, view, polygon.rows, &plan.edges[polygon.first_edge],
                    &plan.active[polygon.first_edge], polygon.paint, rows, scratch, level);
}

} // namespace veldmark
