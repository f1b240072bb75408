#include "scene/draw_pass.h"

#include <algorithm>
#include <cmath>

#include "render/ground_polygon.h"
#include "render/near_clip.h"
#include "scene/animal_drawing.h"
#include "scene/lead_lights.h"
#include "scene/lion_drawing.h"
#include "scene/radio_mast.h"
#include "scene/tree.h"
#include "world/route_distance.h"

namespace veldmark {
namespace {

// Farther first; at equal depth, in the order listed, which is kind by kind and then by index.
bool DrawsBefore(const DrawItem& a, const DrawItem& b)
{
    if (a.depth != b.depth) return a.depth > b.depth;
    if (a.kind != b.kind) return a.kind < b.kind;
    return a.index < b.index;
}

void Add(DrawList& list, DrawKind kind, std::uint64_t index, float depth)
{
    if (list.count >= kDrawItemCapacity || std::isnan(depth)) return;
    list.items[list.count++] = DrawItem{index, depth, kind};
}

// The lead vehicle: its beams on the road first, then its body over them, then its brake
// lights over its rear face.
void DrawLeadVehicle(DisplayListWriter& out, const LeadFrame& frame, const LeadModel& model,
                     float sun_height, bool braking)
{
    DrawLeadBeams(out, frame, model, sun_height);
    DrawLeadBody(out, frame, model);
    if (braking) DrawBrakeLights(out, frame, model);
}

} // namespace

void RegisterJunctionRails(DeferredSink& sink, const CameraView& view, const SectionRecord* behind)
{
    const SectionChain& chain = view.chain;
    if (chain.count == 0 || chain.entries[0]->is_terminal != 0) return;
    for (std::size_t i = 1; i < chain.count; ++i) {
        const SectionRecord& a = *chain.entries[i - 1];
        const SectionRecord& b = *chain.entries[i];
        EmitJunctionRail(sink, view, ChainRef(i - 1), ChainRef(i), a.length, a.width, b.width,
                         (a.turns_right & 1) != 0);
    }
    if (behind != nullptr) {
        EmitJunctionRail(sink, view, BehindRef(*behind), ChainRef(0), behind->length,
                         behind->width, chain.entries[0]->width, (behind->turns_right & 1) != 0);
    }
}

void BuildDrawList(DrawList& list, const FrameLists& lists, const LeadPlacement& lead,
                   const DeferredItem* deferred, std::uint64_t deferred_count)
{
    list.count = 0;
    for (std::size_t i = 0; i < lists.vegetation_count; ++i)
        Add(list, DrawKind::Vegetation, i, lists.vegetation[i].depth);
    for (std::size_t i = 0; i < lists.mast_count; ++i)
        Add(list, DrawKind::Mast, i, lists.masts[i].depth);
    for (std::size_t i = 0; i < lists.animal_count; ++i)
        Add(list, DrawKind::Animal, i, lists.animals[i].depth);
    for (std::size_t i = 0; i < lists.lions.count; ++i)
        Add(list, DrawKind::Lion, i, lists.lions.entries[i].depth);
    if (lead.present) Add(list, DrawKind::LeadVehicle, 0, lead.depth);
    const std::uint64_t n = std::min<std::uint64_t>(deferred_count, kDeferredCapacity);
    for (std::uint64_t i = 0; i < n; ++i) Add(list, DrawKind::DeferredStrip, i, deferred[i].depth_key);
}

void SortFarToNear(DrawList& list)
{
    // No depth is a NaN (BuildDrawList leaves those out), so this is a strict total order and
    // gives the one order a stable sort by descending depth would.
    std::sort(list.items, list.items + list.count, DrawsBefore);
}

void DrawDeferredStrip(DisplayListWriter& out, const Projection& projection, const DeferredItem& item)
{
    CameraPoint corners[4];
    for (int i = 0; i < 4; ++i)
        corners[i] = CameraPoint{item.corners[i][0], item.corners[i][1], item.corners[i][2]};
    CameraPoint clipped[ClipCapacity(4)];
    const std::size_t n = ClipNear(corners, 4, clipped);
    if (n < 3) return;
    Vec2 screen[ClipCapacity(4)];
    for (std::size_t i = 0; i < n; ++i) screen[i] = Project(projection, clipped[i]);
    out.FlatPolygon(item.colour, std::span<const Vec2>(screen, n));
}

void DepthOrderedPass(DisplayListWriter& out, SimState& state, const SceneSetup& setup,
                      const SceneInputs& in, const FrameLists& lists, DrawList& list)
{
    const CameraView& view = setup.view;
    const bool has_behind = in.section > 0 && in.section - 1 < state.section_count &&
                            in.section - 1 < kSectionCapacity;
    DeferredSink sink{state.deferred_items, state.deferred_count, kDeferredCapacity};
    RegisterJunctionRails(sink, view, has_behind ? &state.sections[in.section - 1] : nullptr);

    const LeadPlacement lead =
        PlaceLeadVehicle(view, RouteDistanceBefore(state, in.section), in.lead_position);

    BuildDrawList(list, lists, lead, state.deferred_items, state.deferred_count);
    SortFarToNear(list);
    if (list.count == 0) return;

    const LeadModel model = PrepareLeadModel(lead.along);
    const Projection& projection = view.projection;
    const std::span<const VegetationSprite> vegetation(lists.vegetation, lists.vegetation_count);
    const float near_trees = NearTreeLimit(vegetation);

    for (std::size_t i = 0; i < list.count; ++i) {
        const DrawItem& item = list.items[i];
        const std::uint64_t k = item.index;
        switch (item.kind) {
        case DrawKind::Vegetation:
            DrawTree(out, projection, lists.vegetation[k], lists.vegetation[k].depth <= near_trees);
            break;
        case DrawKind::Mast:
            DrawMast(out, view, lists.masts[k], in.ticks);
            break;
        case DrawKind::Animal:
            DrawAnimal(out, lists.animals[k], projection.focal, setup.view_width);
            break;
        case DrawKind::Lion:
            DrawLion(out, lists.lions.entries[k], projection.focal, setup.view_width);
            break;
        case DrawKind::LeadVehicle:
            DrawLeadVehicle(out, MakeLeadFrame(view, lead.n), model, setup.sun_height,
                            in.lead_braking != 0);
            break;
        case DrawKind::DeferredStrip:
            DrawDeferredStrip(out, projection, state.deferred_items[k]);
            break;
        }
    }
}

} // namespace veldmark
