// The depth-ordered pass: the order of drawing, the lead vehicle's placement, the rail and
// post strips, the junction rails, and the pass inside the whole scene builder.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "render/tests/emitter_fixture.h"
#include "scene/draw_pass.h"
#include "scene/scene_builder.h"
#include "scene/section_gather.h"
#include "scene/tests/scene_commands.h"
#include "world/tests/fresh_state.h"
#include "world/world_gen.h"

namespace veldmark::test {
namespace {

struct Lists {
    std::unique_ptr<FrameLists> lists = std::make_unique<FrameLists>();
    std::unique_ptr<DrawList> draw = std::make_unique<DrawList>();
    std::vector<DeferredItem> deferred;
    Lists() { ClearFrameLists(*lists); }

    std::vector<DrawItem> Built(const LeadPlacement& lead)
    {
        BuildDrawList(*draw, *lists, lead, deferred.data(), deferred.size());
        return std::vector<DrawItem>(draw->items, draw->items + draw->count);
    }
    std::vector<DrawItem> Sorted(const LeadPlacement& lead)
    {
        BuildDrawList(*draw, *lists, lead, deferred.data(), deferred.size());
        SortFarToNear(*draw);
        return std::vector<DrawItem>(draw->items, draw->items + draw->count);
    }
};

DeferredItem Strip(float depth)
{
    return DeferredItem{{{-1, depth, 0}, {1, depth, 0}, {1, depth, 1}, {-1, depth, 1}}, 0xC2C7CF, depth};
}

TEST(DrawOrder, EqualDepthsDrawKindByKindAndAStripWithoutADepthHasNoPlace)
{
    Lists l;
    l.deferred = {Strip(10.0f), Strip(NAN)};
    l.lists->lions.entries[l.lists->lions.count++] = LionEntry{0, 10.0f, 1, 0, 0};
    l.lists->animals[l.lists->animal_count++] = AnimalSprite{0, 10.0f, 1, 0, 0};
    l.lists->masts[l.lists->mast_count++] = MastEntry{ChainRef(0), 0, 0, 0, 10.0f, 0};
    l.lists->vegetation[l.lists->vegetation_count++] = VegetationSprite{0, 10.0f, 1, 0};
    l.lists->vegetation[l.lists->vegetation_count++] = VegetationSprite{0, 20.0f, 1, 0};
    const auto items = l.Sorted(LeadPlacement{true, 0, 5.0f, 10.0f});
    const DrawKind expected[] = {DrawKind::Vegetation, DrawKind::Vegetation, DrawKind::Mast,
                                 DrawKind::Animal,     DrawKind::Lion,       DrawKind::LeadVehicle,
                                 DrawKind::DeferredStrip};
    ASSERT_EQ(items.size(), std::size(expected));
    EXPECT_EQ(items[0].index, 1u);   // the tree at 20 first
    for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].kind, expected[i]) << i;
}

TEST(DrawOrder, MatchesAStableInsertionSortOnRandomListsWithTies)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> depth(1, 12);   // few distinct depths: many ties
    auto any = [&] { return static_cast<float>(depth(random)); };
    for (int round = 0; round < 20; ++round) {
        Lists l;
        l.lists->vegetation_count = 200;
        for (std::size_t i = 0; i < 200; ++i) l.lists->vegetation[i] = VegetationSprite{0, any(), 1, 0};
        l.lists->animal_count = 100;
        for (std::size_t i = 0; i < 100; ++i) l.lists->animals[i] = AnimalSprite{0, any(), 1, 0, 0};
        for (int i = 0; i < 300; ++i) l.deferred.push_back(Strip(any()));
        const LeadPlacement lead{true, 0, 0.0f, 6.0f};

        // Each item in turn moves towards the front past every item strictly nearer.
        std::vector<DrawItem> ref = l.Built(lead);
        for (std::size_t i = 1; i < ref.size(); ++i)
            for (std::size_t j = i; j > 0 && ref[j - 1].depth < ref[j].depth; --j) std::swap(ref[j], ref[j - 1]);
        const auto items = l.Sorted(lead);
        ASSERT_EQ(items.size(), ref.size());
        for (std::size_t i = 0; i < ref.size(); ++i) {
            ASSERT_EQ(items[i].kind, ref[i].kind) << i;
            ASSERT_EQ(items[i].index, ref[i].index) << i;
        }
    }
}

TEST(LeadPlacement, WalksThroughTheVisibleSectionsAndIsAbsentOutOfView)
{
    // Seven straight sections of 100; the camera 10 into the first, which starts 1000 into
    // the route.
    std::vector<SectionRecord> route(7, MakeSection(100, 4, 0, false));
    const EmitterFixture road(route, 10.0f);
    const LeadPlacement lead = PlaceLeadVehicle(road.view, 1000.0f, 1250.0f);
    ASSERT_TRUE(lead.present);
    EXPECT_EQ(lead.n, 2u);
    EXPECT_EQ(lead.along, 50.0f);
    EXPECT_EQ(lead.depth, 240.0f);
    EXPECT_EQ(PlaceLeadVehicle(road.view, 0.0f, 100.0f).n, 0u);   // a section end is still in it

    auto present = [&](const EmitterFixture& r, float at) { return PlaceLeadVehicle(r.view, 0.0f, at).present; };
    EXPECT_FALSE(present(road, 10.3f));   // depth 0.3
    EXPECT_TRUE(present(road, 10.5f));
    EXPECT_FALSE(present(road, 5.0f));    // behind
    EXPECT_FALSE(present(road, 700.5f));  // past the seventh section
    EXPECT_TRUE(present(road, 699.5f));
    EXPECT_FALSE(present(road, NAN));
    route[2].is_terminal = 1;
    EXPECT_FALSE(present(EmitterFixture(route, 10.0f), 300.5f));   // past the end of the route
}

TEST(DeferredStrip, CutAtTheNearPlaneAndWrittenOnlyWhenItFits)
{
    const Projection view{685.5109f, 480.0f};
    ListUnderTest list;
    DrawDeferredStrip(list.out, view, Strip(0.3f));
    EXPECT_TRUE(list.Read().empty());
    // One corner beyond the near plane: a triangle.
    const DeferredItem corner{{{0, 0.2f, 0}, {1, 0.5f, 0}, {1, 0.2f, 1}, {0, 0.2f, 1}}, 7, 0.3f};
    DrawDeferredStrip(list.out, view, corner);
    ASSERT_EQ(list.Read().size(), 1u);
    EXPECT_EQ(list.Read()[0].vertices.size(), 3u);

    // Ten words left: a 4-point strip (11 words) is skipped, a later triangle (9) written.
    ListUnderTest tight(10);
    DrawDeferredStrip(tight.out, view, Strip(5.0f));
    EXPECT_TRUE(tight.Read().empty());
    DrawDeferredStrip(tight.out, view, corner);
    ASSERT_EQ(tight.Read().size(), 1u);
}

TEST(JunctionRails, NoneOnTheTerminalSectionAndAFullSinkLosesTheFartherJoints)
{
    std::vector<DeferredItem> items(kDeferredCapacity);
    std::uint64_t count = 0;
    DeferredSink sink{items.data(), count, kDeferredCapacity};
    const SectionRecord behind = MakeSection(100, 4, 0.5f, true);
    SectionRecord last = MakeSection(300, 4, 0, false);
    last.is_terminal = 1;
    RegisterJunctionRails(sink, EmitterFixture({last}).view, &behind);
    EXPECT_EQ(count, 0u);

    // Room for 20 more: all go to the nearer joint (along 100); the next is at along 200.
    count = kDeferredCapacity - 20;
    const EmitterFixture road({MakeSection(100, 4, 0.5f, true), MakeSection(100, 4, 0.5f, false),
                               MakeSection(100, 4, 0, false)});
    RegisterJunctionRails(sink, road.view, &behind);
    EXPECT_EQ(count, kDeferredCapacity);
    for (std::size_t i = kDeferredCapacity - 20; i < kDeferredCapacity; ++i) EXPECT_LT(items[i].depth_key, 150.0f);
}

std::size_t Count(const std::vector<ReadCommand>& c, std::uint32_t colour)
{
    std::size_t n = 0;
    for (const auto& x : c) n += x.colour == colour;
    return n;
}

TEST(RoadsideScene, LightsFollowBrakingAndDuskAndCountersReachTheHost)
{
    auto state = testing::FreshState();
    WorldGen(*state);
    // The lead vehicle 60 ahead on the first section.
    auto build = [&](std::uint8_t braking, float ticks) {
        state->display_list_length = 0;
        SceneBuilder(*state, SceneInputs{0, 100.0f, 0.0f, 0.0f, 0.0f, ticks, 1.0f, kRestFocalLength,
                                         0.0f, 160.0f, braking});
        return ReadList(state->display_list, 0, state->display_list_length);
    };
    const auto cruising = build(0, 0.0f);
    EXPECT_EQ(Count(cruising, 0x152150), 2u);   // both sides of the body
    EXPECT_EQ(Count(cruising, 0xFF2A18), 0u);
    EXPECT_EQ(Count(cruising, 0xC3FFF8D6), 0u);
    const auto braking = build(1, 0.0f);
    EXPECT_EQ(Count(braking, 0xFF2A18), 2u);
    EXPECT_EQ(Count(braking, 0xE6FF503C), 2u);
    EXPECT_EQ(Count(build(0, 5000.0f), 0xC3FFF8D6), 2u);   // after sunset

    std::uint32_t beyond = 0;
    for (std::uint64_t k = 3; k < 7; ++k)
        beyond += static_cast<std::uint32_t>(state->sections[k].herd_count + state->sections[k].group_count);
    EXPECT_GT(beyond, 0u);
    EXPECT_EQ(state->animals_out_of_range.load(), beyond);
}

} // namespace
} // namespace veldmark::test
