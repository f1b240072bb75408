// Gathering: the near-plane and size rules with their counters, the list capacities, the
// sections each kind of animal is gathered from, the waterhole and the section behind the
// camera.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "render/tests/emitter_fixture.h"
#include "scene/section_gather.h"
#include "scene/tests/scene_commands.h"
#include "world/animal_kinds.h"

namespace veldmark::test {
namespace {

AnimalSpot Spot(float along, float size) { return AnimalSpot{along, 0.0f, kCow, size, 0}; }

struct Gather {
    EmitterFixture road;
    std::unique_ptr<FrameLists> lists = std::make_unique<FrameLists>();
    explicit Gather(std::vector<SectionRecord> route, float along = 0.0f, float heading = 0.0f)
        : road(std::move(route), along, 2.0f, heading)
    {
        ClearFrameLists(*lists);
    }
    void All()
    {
        for (std::uint64_t k = 0; k < road.view.chain.count; ++k)
            SceneGather(*lists, road.out, road.view, k, 1.0f);
    }
    std::vector<ReadCommand> Drawn() const { return ReadList(road.words.data(), 0, road.length); }
};

TEST(Gathering, NeedsDepthBeyondTheNearPlaneAndTwoPixels)
{
    SectionRecord s = MakeSection(1000, 4, 0, false);
    s.herd[s.herd_count++] = Spot(0.4f, 1.0f);     // depth exactly 0.4: dropped, not counted
    s.herd[s.herd_count++] = Spot(600.0f, 1.6f);   // 1.83 pixels: dropped and counted
    s.herd[s.herd_count++] = Spot(50.0f, 1.6f);
    s.roadside[s.roadside_count++] = RoadsideObject{0.4f, 0.0f, 0x112233, 5.0f};
    s.roadside[s.roadside_count++] = RoadsideObject{600.0f, 0.0f, 0x112233, 1.6f};
    s.roadside[s.roadside_count++] = RoadsideObject{50.0f, 3.0f, 0x112233, 1.6f};
    Gather g({s});
    g.All();
    ASSERT_EQ(g.lists->animal_count, 1u);
    EXPECT_EQ(g.lists->animals[0].depth, 50.0f);
    EXPECT_EQ(g.lists->counters.too_small, 1u);
    ASSERT_EQ(g.lists->vegetation_count, 1u);
    EXPECT_EQ(g.lists->vegetation[0].camera_x, 3.0f);
    EXPECT_EQ(g.lists->vegetation[0].colour, 0x112233u);
}

TEST(Gathering, FullListsRefuseTheFarthestSectionsEntries)
{
    // 7 x 96 = 672 trees offered to a list of 640.
    std::vector<SectionRecord> route(7, MakeSection(10, 4, 0, false));
    for (auto& s : route) {
        s.roadside_count = kRoadsideCapacity;
        for (std::size_t i = 0; i < kRoadsideCapacity; ++i)
            s.roadside[i] = RoadsideObject{0.5f + 0.1f * static_cast<float>(i), 3.0f, 0, 5.0f};
    }
    Gather trees(route);
    trees.All();
    ASSERT_EQ(trees.lists->vegetation_count, kVegetationCapacity);
    EXPECT_NEAR(trees.lists->vegetation[639].depth, 60.0f + 0.5f + 6.3f, 1e-3f);   // 7th section's 64th

    // Two places left for a herd of four: the first too small (counted), two listed, and the
    // last never visited, so not counted.
    SectionRecord herd = MakeSection(1000, 4, 0, false);
    for (const float size : {0.5f, 1.0f, 1.0f, 0.5f}) herd.herd[herd.herd_count++] = Spot(200.0f, size);
    Gather animals({herd});
    animals.lists->animal_count = kAnimalCapacity - 2;
    animals.All();
    EXPECT_EQ(animals.lists->animal_count, kAnimalCapacity);
    EXPECT_EQ(animals.lists->counters.too_small, 1u);

    // One place left for the two masts of a long section: the one beyond its end gets it.
    SectionRecord long_one = MakeSection(1200, 4, 0, false);
    long_one.is_long = 1;
    Gather masts({long_one});
    masts.lists->mast_count = kMastCapacity - 1;
    masts.All();
    EXPECT_EQ(masts.lists->mast_count, kMastCapacity);
    EXPECT_EQ(masts.lists->masts[kMastCapacity - 1].along, 1360.0f);
}

// Seven short straight sections, each with a herd spot, a group spot and a corner elephant
// pair, and a waterhole at the one given.
std::vector<SectionRecord> Corners(std::size_t waterhole)
{
    std::vector<SectionRecord> route(7, MakeSection(10, 4, 0, false));
    for (auto& s : route) {
        s.herd[s.herd_count++] = Spot(5.0f, 1.0f);
        s.group[s.group_count++] = Spot(6.0f, 1.0f);
        s.feature_kind = 1;
    }
    route[waterhole].feature_kind = 5;
    return route;
}

std::size_t CountKind(const FrameLists& lists, std::uint32_t kind)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < lists.animal_count; ++i) n += lists.animals[i].kind == kind;
    return n;
}

TEST(Gathering, HerdsFromThreeSectionsCornerPairsAndDucksFromFive)
{
    Gather g(Corners(6));
    g.All();
    EXPECT_EQ(CountKind(*g.lists, kCow), 6u);          // sections 0 to 2, herd and group
    EXPECT_EQ(g.lists->counters.out_of_range, 8u);     // sections 3 to 6
    EXPECT_EQ(CountKind(*g.lists, kElephant), 10u);    // sections 0 to 4
    EXPECT_EQ(CountKind(*g.lists, kDuck), 0u);         // the waterhole is at visible index 6...
    const auto pond = g.Drawn();                       // ...but its pond is drawn
    ASSERT_EQ(pond.size(), 2u);
    EXPECT_EQ(pond[0].colour, 0x2F7E8Cu);
    EXPECT_EQ(pond[1].colour, 0xC2B280u);

    Gather near(Corners(4));
    near.All();
    EXPECT_EQ(CountKind(*near.lists, kDuck), 6u);
    EXPECT_EQ(CountKind(*near.lists, kElephant), 8u);
}

TEST(Gathering, ATerminalSectionKeepsItsWaterholeButNeverGetsACornerPair)
{
    SectionRecord end = MakeSection(10, 4, 0, false);
    end.is_terminal = 1;
    end.feature_kind = 5;
    Gather pond({end});
    pond.All();
    EXPECT_EQ(CountKind(*pond.lists, kDuck), 6u);
    EXPECT_EQ(pond.Drawn().size(), 2u);

    end.feature_kind = 2;
    Gather pair({end});
    pair.All();
    EXPECT_EQ(pair.lists->animal_count, 0u);
}

TEST(Gathering, TheSectionBehindKeepsItsMastCornerPairAndWaterhole)
{
    // Its mast, pond and ducks lie beyond its end, ahead of a camera just past the corner.
    SectionRecord behind = MakeSection(100, 4, 0.3f, false);
    behind.is_long = 1;
    behind.feature_kind = 5;
    behind.herd[behind.herd_count++] = Spot(95.0f, 1.0f);
    Gather g({MakeSection(300, 4, 0, false)}, 2.0f);
    GatherBehind(*g.lists, g.road.out, g.road.view, behind, 7);
    ASSERT_EQ(g.lists->mast_count, 1u);   // only its first mast
    EXPECT_EQ(g.lists->masts[0].ref.behind_camera, 1);
    EXPECT_EQ(g.lists->masts[0].blink_phase, 19.0f);   // 7 x 37 mod 120
    EXPECT_EQ(CountKind(*g.lists, kDuck), 6u);
    EXPECT_EQ(g.Drawn().size(), 2u);

    // Looking back at its corner pair; its herd is never gathered.
    behind.feature_kind = 4;
    Gather pair({MakeSection(300, 4, 0, false)}, 20.0f, 3.14159274f);
    GatherBehind(*pair.lists, pair.road.out, pair.road.view, behind, 7);
    EXPECT_EQ(CountKind(*pair.lists, kRhinoceros), 2u);
    EXPECT_EQ(CountKind(*pair.lists, kCow), 0u);
}

} // namespace
} // namespace veldmark::test
