#include "scene/section_gather.h"

#include <algorithm>

#include "render/shape_emitters.h"
#include "scene/lion_timeline.h"
#include "world/animal_kinds.h"

namespace veldmark {
namespace {

// The corner animals: a pair of one kind where the section ends, at the outer side of the bend.
struct FeatureAnimal {
    std::uint32_t kind;
    float size;
};
constexpr std::uint8_t kWaterhole = 5;
constexpr FeatureAnimal kFeatureAnimals[] = {
    {0, 0.0f},               // 0: nothing
    {kElephant, 2.8f},       // 1
    {kGiraffe, 4.5f},        // 2
    {kZebra, 1.6f},          // 3
    {kRhinoceros, 2.2f},     // 4
};
constexpr float kPairClearance = 1.5f;   // beyond the road edge
constexpr float kPairSpacing = 14.0f;    // the second stands this far on, on the centre line

// The ducks around the waterhole, which lies on the negative-across side of the road however
// the road bends. Their across values are from the road edge, not the centre line.
struct Duck {
    float along;   // beyond the section end
    float across;
    std::uint8_t mirrored;
};
constexpr Duck kDucks[] = {
    {11.0f, -8.0f, 1}, {17.0f, -16.0f, 0}, {21.0f, -9.0f, 1},
    {6.0f, -4.0f, 1},  {7.0f, -12.0f, 0},  {8.0f, -20.0f, 1},
};
constexpr float kDuckSize = 0.9f;

// Carries one section's points into camera space and lists what passes the rules of its kind.
class Gatherer {
public:
    Gatherer(FrameLists& lists, const CameraView& view, const TrackRef& ref)
        : lists_(lists), view_(view), ref_(ref) {}

    PlanPoint At(float along, float across) const
    {
        return TrackToCamera(view_.chain, view_.camera, ref_, along, across);
    }

    bool AnimalsFull() const { return lists_.animal_count >= kAnimalCapacity; }

    // Masts are tall enough to show however far away, so only the near plane drops them.
    void Mast(float along, float across, float yaw, std::uint64_t phase)
    {
        if (lists_.mast_count >= kMastCapacity) return;
        const PlanPoint p = At(along, across);
        if (!(p.d > kNearDepth)) return;
        lists_.masts[lists_.mast_count++] =
            MastEntry{ref_, along, across, yaw, p.d, static_cast<float>(phase % kMastPhaseCount)};
    }

    void Vegetation(const RoadsideObject& object, float centre)
    {
        if (lists_.vegetation_count >= kVegetationCapacity) return;
        const PlanPoint p = At(object.along, centre + object.across);
        if (!(p.d > kNearDepth)) return;
        if (!(object.height / p.d * view_.projection.focal >= kMinimumSize)) return;
        lists_.vegetation[lists_.vegetation_count++] =
            VegetationSprite{p.x, p.d, object.height, object.colour};
    }

    // Animals are tested at the rest focal length, so the animals gathered, and the counts the
    // host reads, do not change as the view zooms.
    void Animal(float along, float across, float size, std::uint32_t kind, std::uint8_t mirrored)
    {
        if (AnimalsFull()) return;
        const PlanPoint p = At(along, across);
        if (!(p.d > kNearDepth)) return;
        if (!(size / p.d * kRestFocalLength >= kMinimumSize)) {
            ++lists_.counters.too_small;
            return;
        }
        lists_.animals[lists_.animal_count++] =
            AnimalSprite{p.x, p.d, size, kind, static_cast<std::uint8_t>(mirrored & 1)};
    }

    void Spots(const AnimalSpot* spots, std::uint64_t count, float centre)
    {
        for (std::uint64_t i = 0; i < count && !AnimalsFull(); ++i) {
            const AnimalSpot& s = spots[i];
            Animal(s.along, centre + s.across, s.size, s.kind, s.mirrored);
        }
    }

    void FeaturePair(const SectionRecord& section)
    {
        if (section.is_terminal != 0) return;
        if (section.feature_kind == 0 || section.feature_kind >= std::size(kFeatureAnimals)) return;
        const FeatureAnimal& animal = kFeatureAnimals[section.feature_kind];
        const std::uint8_t right = section.turns_right & 1;
        const float centre = section.width / 2.0f;
        float offset = (centre + kPairClearance) + animal.size / 2.0f;
        if (right) offset = -offset;
        Animal(section.length, centre + offset, animal.size, animal.kind, right);
        Animal(section.length + kPairSpacing, centre, animal.size, animal.kind, right);
    }

    void Ducks(const SectionRecord& section)
    {
        for (const Duck& duck : kDucks)
            Animal(section.length + duck.along, duck.across, kDuckSize, kDuck, duck.mirrored);
    }

private:
    FrameLists& lists_;
    const CameraView& view_;
    TrackRef ref_;
};

// Neighbouring sections' masts blink 37 ticks apart, and a long section's second mast half a
// period (2220 = 18.5 x 120) after its first, so no two masts in view blink together.
constexpr std::uint64_t kPhaseStep = 37;
constexpr std::uint64_t kSecondMastLag = 2220;

std::uint64_t CornerMastPhase(std::uint64_t route_index) { return route_index * kPhaseStep; }
std::uint64_t LongMastPhase(std::uint64_t route_index) { return route_index * kPhaseStep + kSecondMastLag; }

// Spots beyond a record's arrays are never read, whatever its counts say.
std::uint64_t HerdCount(const SectionRecord& s) { return std::min<std::uint64_t>(s.herd_count, kHerdCapacity); }
std::uint64_t GroupCount(const SectionRecord& s) { return std::min<std::uint64_t>(s.group_count, kGroupCapacity); }

} // namespace

void ClearFrameLists(FrameLists& lists)
{
    lists.vegetation_count = 0;
    lists.animal_count = 0;
    lists.mast_count = 0;
    lists.lions.count = 0;
    lists.counters = AnimalCounters{0, 0};
}

void SceneGather(FrameLists& lists, DisplayListWriter& out, const CameraView& view,
                 std::uint64_t k, float car_speed)
{
    if (k >= view.chain.count) return;
    const SectionRecord& section = *view.chain.entries[k];
    const std::uint64_t route_index = view.chain.route_index[k];
    const TrackRef ref = ChainRef(k);
    Gatherer g(lists, view, ref);
    const float centre = section.width / 2.0f;

    g.Mast(section.length + kMastBeyondEnd, centre + kMastBesideRoad, kCornerMastYaw,
           CornerMastPhase(route_index));
    if (section.is_long == 1)
        g.Mast(section.length * 0.5f, centre + kLongMastBesideRoad, 0.0f, LongMastPhase(route_index));

    const std::uint64_t roadside = std::min<std::uint64_t>(section.roadside_count, kRoadsideCapacity);
    for (std::uint64_t i = 0; i < roadside && lists.vegetation_count < kVegetationCapacity; ++i)
        g.Vegetation(section.roadside[i], centre);

    if (k < kAnimalSections) {
        g.Spots(section.herd, HerdCount(section), centre);
        g.Spots(section.group, GroupCount(section), centre);
    } else {
        lists.counters.out_of_range += static_cast<std::uint32_t>(HerdCount(section) + GroupCount(section));
    }

    if (k < kFeatureSections) g.FeaturePair(section);

    if (section.feature_kind == kWaterhole) {
        EmitPond(out, view, ref, section.length);
        if (k < kFeatureSections) g.Ducks(section);
    }

    GatherLion(lists.lions, view, k, car_speed, view.projection.focal);
}

void GatherBehind(FrameLists& lists, DisplayListWriter& out, const CameraView& view,
                  const SectionRecord& behind, std::uint64_t route_index)
{
    const TrackRef ref = BehindRef(behind);
    Gatherer g(lists, view, ref);
    const float centre = behind.width / 2.0f;
    g.Mast(behind.length + kMastBeyondEnd, centre + kMastBesideRoad, kCornerMastYaw,
           CornerMastPhase(route_index));
    g.FeaturePair(behind);
    if (behind.feature_kind == kWaterhole) {
        EmitPond(out, view, ref, behind.length);
        g.Ducks(behind);
    }
}

} // namespace veldmark
