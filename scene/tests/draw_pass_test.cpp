// The depth-ordered pass: the order of drawing, the lead vehicle's placement, the rail and
// post strips and the junction rails.
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
#include "world/world_gen.h"

namespace veldmark::test {
namespace {

struct Lists {
    std::unique_ptr<FrameLists> lists = std::make_unique<FrameLists>();
    std::unique_ptr<DrawList> draw = std::make_unique<DrawList>();
    std::vector<DeferredItem> deferred;
    Lists() { ClearFrameLists(*lists); }

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

TEST(DrawOrder, EqualDepthsDrawKindByKind)
{
    Lists l;
    l.deferred.push_back(Strip(10.0f));
    l.lists->lions.entries[l.lists->lions.count++] = LionEntry{0, 10.0f, 1, 0, 0};
    l.lists->animals[l.lists->animal_count++] = AnimalSprite{0, 10.0f, 1, 0, 0};
    l.lists->masts[l.lists->mast_count++] = MastEntry{ChainRef(0), 0, 0, 0, 10.0f, 0};
    l.lists->vegetation[l.lists->vegetation_count++] = VegetationSprite{0, 10.0f, 1, 0};
    l.lists->vegetation[l.lists->vegetation_count++] = VegetationSprite{0, 20.0f, 1, 0};
    const auto items = l.Sorted(LeadPlacement{true, 0, 5.0f, 10.0f});
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0].index, 1u);   // the tree at 20 first
    const DrawKind expected[] = {DrawKind::Vegetation, DrawKind::Vegetation, DrawKind::Mast,
                                 DrawKind::Animal,     DrawKind::Lion,       DrawKind::LeadVehicle,
                                 DrawKind::DeferredStrip};
    for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].kind, expected[i]) << i;
}

TEST(DrawOrder, MatchesAStableInsertionSortOnRandomListsWithTies)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        Lists l;
        std::uniform_int_distribution<int> depth(1, 12);   // few distinct depths: many ties
        l.lists->vegetation_count = 200;
        for (std::size_t i = 0; i < 200; ++i)
            l.lists->vegetation[i] = VegetationSprite{0, static_cast<float>(depth(random)), 1, 0};
        l.lists->animal_count = 100;
        for (std::size_t i = 0; i < 100; ++i)
            l.lists->animals[i] = AnimalSprite{0, static_cast<float>(depth(random)), 1, 0, 0};
        for (int i = 0; i < 300; ++i) l.deferred.push_back(Strip(static_cast<float>(depth(random))));
        const auto items = l.Sorted(LeadPlacement{true, 0, 0.0f, 6.0f});

        // The reference: the list in build order, sorted by moving each item towards the front
        // past every item strictly nearer.
        BuildDrawList(*l.draw, *l.lists, LeadPlacement{true, 0, 0.0f, 6.0f}, l.deferred.data(),
                      l.deferred.size());
        std::vector<DrawItem> ref(l.draw->items, l.draw->items + l.draw->count);
        for (std::size_t i = 1; i < ref.size(); ++i)
            for (std::size_t j = i; j > 0 && ref[j - 1].depth < ref[j].depth; --j) std::swap(ref[j], ref[j - 1]);
        ASSERT_EQ(items.size(), ref.size());
        for (std::size_t i = 0; i < ref.size(); ++i) {
            ASSERT_EQ(items[i].kind, ref[i].kind) << i;
            ASSERT_EQ(items[i].index, ref[i].index) << i;
        }
    }
}

TEST(DrawOrder, AStripWithoutADepthHasNoPlaceInTheList)
{
    Lists l;
    l.deferred.push_back(Strip(5.0f));
    l.deferred.push_back(Strip(NAN));
    l.deferred.push_back(Strip(3.0f));
    const auto items = l.Sorted(LeadPlacement{false, 0, 0, 0});
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].index, 0u);
    EXPECT_EQ(items[1].index, 2u);
}

// Seven straight sections of 100 in a row, the third one terminal when asked.
EmitterFixture Road(float camera_along, bool third_terminal = false)
{
    std::vector<SectionRecord> route;
    for (int i = 0; i < 7; ++i) route.push_back(MakeSection(100, 4, 0, false));
    if (third_terminal) route[2].is_terminal = 1;
    return EmitterFixture(route, camera_along);
}

TEST(LeadPlacement, WalksThroughTheVisibleSections)
{
    const EmitterFixture road = Road(10.0f);
    // The camera's section starts 1000 into the route; the lead is 240 ahead of the camera.
    const LeadPlacement lead = PlaceLeadVehicle(road.view, 1000.0f, 1250.0f);
    ASSERT_TRUE(lead.present);
    EXPECT_EQ(lead.n, 2u);
    EXPECT_EQ(lead.along, 50.0f);
    EXPECT_EQ(lead.depth, 240.0f);
    // Exactly at a section end it is still in that section.
    EXPECT_EQ(PlaceLeadVehicle(road.view, 0.0f, 100.0f).n, 0u);
}

TEST(LeadPlacement, AbsentWhenTooNearBehindOrOutOfView)
{
    const EmitterFixture road = Road(10.0f);
    EXPECT_FALSE(PlaceLeadVehicle(road.view, 0.0f, 10.3f).present);    // depth 0.3
    EXPECT_TRUE(PlaceLeadVehicle(road.view, 0.0f, 10.5f).present);
    EXPECT_FALSE(PlaceLeadVehicle(road.view, 0.0f, 5.0f).present);     // behind
    EXPECT_FALSE(PlaceLeadVehicle(road.view, 0.0f, 700.5f).present);   // past the seventh
    EXPECT_TRUE(PlaceLeadVehicle(road.view, 0.0f, 699.5f).present);
    EXPECT_FALSE(PlaceLeadVehicle(Road(10.0f, true).view, 0.0f, 300.5f).present);   // past the end
    EXPECT_FALSE(PlaceLeadVehicle(road.view, 0.0f, NAN).present);
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
    EXPECT_EQ(tight.length, kDisplayListWords - 1);
}

TEST(JunctionRails, NoneWhileTheCameraIsOnTheTerminalSection)
{
    std::vector<DeferredItem> items(kDeferredCapacity);
    std::uint64_t count = 0;
    DeferredSink sink{items.data(), count, kDeferredCapacity};
    SectionRecord behind = MakeSection(100, 4, 0.5f, true);
    SectionRecord last = MakeSection(300, 4, 0, false);
    last.is_terminal = 1;
    EmitterFixture end({last});
    RegisterJunctionRails(sink, end.view, &behind);
    EXPECT_EQ(count, 0u);

    // Two sections and the one behind: two joints with rails.
    EmitterFixture road({MakeSection(100, 4, 0.5f, true), MakeSection(100, 4, 0, false)}, 50.0f);
    RegisterJunctionRails(sink, road.view, nullptr);
    const std::uint64_t one = count;
    EXPECT_GT(one, 0u);
    RegisterJunctionRails(sink, road.view, &behind);
    EXPECT_GT(count, 2 * one);
}

TEST(JunctionRails, AFullSinkLosesTheFartherJointsFirst)
{
    std::vector<DeferredItem> items(kDeferredCapacity);
    std::uint64_t count = kDeferredCapacity - 20;
    DeferredSink sink{items.data(), count, kDeferredCapacity};
    EmitterFixture road({MakeSection(100, 4, 0.5f, true), MakeSection(100, 4, 0.5f, false),
                         MakeSection(100, 4, 0, false)});
    RegisterJunctionRails(sink, road.view, nullptr);
    EXPECT_EQ(count, kDeferredCapacity);
    // The 20 that fitted are rails of the nearer joint, at along 100; the next is at 200.
    for (std::size_t i = kDeferredCapacity - 20; i < kDeferredCapacity; ++i) EXPECT_LT(items[i].depth_key, 150.0f);
}

// The whole builder on the real route, with the lead vehicle 60 ahead on the first section.
struct RouteScene {
    std::unique_ptr<SimState> state = std::make_unique<SimState>();
    RouteScene()
    {
        ApplyInitialValues(*state);
        WorldGen(*state);
    }
    std::vector<ReadCommand> Build(std::uint8_t braking, float ticks = 0.0f)
    {
        state->display_list_length = 0;
        SceneBuilder(*state, SceneInputs{0, 100.0f, 0.0f, 0.0f, 0.0f, ticks, 1.0f, kRestFocalLength,
                                         0.0f, 160.0f, braking});
        return ReadList(state->display_list, 0, state->display_list_length);
    }
};

std::size_t Count(const std::vector<ReadCommand>& c, std::uint32_t colour)
{
    std::size_t n = 0;
    for (const auto& x : c) n += x.colour == colour;
    return n;
}

TEST(RoadsideScene, BrakeLightsOnlyWhileBrakingBeamsOnlyAfterSunset)
{
    RouteScene scene;
    const auto cruising = scene.Build(0);
    EXPECT_EQ(Count(cruising, 0xFF2A18), 0u);
    EXPECT_EQ(Count(cruising, 0xE6FF503C), 0u);
    EXPECT_EQ(Count(cruising, 0xC3FFF8D6), 0u);
    EXPECT_EQ(Count(cruising, 0x152150), 2u);   // both sides of the body
    const auto braking = scene.Build(1);
    EXPECT_EQ(Count(braking, 0xFF2A18), 2u);
    EXPECT_EQ(Count(braking, 0xE6FF503C), 2u);
    EXPECT_EQ(Count(scene.Build(0, 5000.0f), 0xC3FFF8D6), 2u);
}

TEST(RoadsideScene, TheHostsAnimalCountersComeFromGathering)
{
    RouteScene scene;
    scene.Build(0);
    const SimState& s = *scene.state;
    std::uint32_t beyond = 0;
    for (std::uint64_t k = 3; k < 7; ++k) beyond += static_cast<std::uint32_t>(s.sections[k].herd_count + s.sections[k].group_count);
    EXPECT_EQ(s.animals_out_of_range.load(), beyond);
    EXPECT_GT(s.deferred_count, 0u);
}

} // namespace
} // namespace veldmark::test
