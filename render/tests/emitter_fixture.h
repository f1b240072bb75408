#pragma once
// A hand-made road for the emitter tests: sections built field by field, a camera standing on
// the centre line of the first one looking along it, and a display list of full size.
#include <cstdint>
#include <vector>

#include "render/display_list.h"
#include "render/track_transform.h"
#include "world/limits.h"
#include "world/sim_state.h"

namespace veldmark::test {

inline constexpr float kTestFocal = 685.5109f;

inline SectionRecord MakeSection(float length, float width, float turn, bool turns_right)
{
    SectionRecord s{};
    s.length = length;
    s.width = width;
    s.turn_angle = turn;
    s.turns_right = turns_right ? 1 : 0;
    return s;
}

struct EmitterFixture {
    std::vector<SectionRecord> sections;
    CameraView view{};
    std::vector<std::uint32_t> words = std::vector<std::uint32_t>(kDisplayListWords, 0);
    std::uint64_t length = 0;
    DisplayListWriter out{words.data(), length};

    explicit EmitterFixture(std::vector<SectionRecord> route, float along = 0.0f,
                            float across = 2.0f, float heading = 0.0f)
        : sections(std::move(route))
    {
        view.chain.count = 0;
        for (std::size_t i = 0; i < sections.size() && i < kMaxVisibleSections; ++i)
            SetChainEntry(view.chain, view.chain.count++, sections[i], i);
        view.camera = MakeCameraRecord(along, across, heading);
        view.projection = Projection{kTestFocal, 480.0f};
    }

    PlanPoint At(std::uint64_t k, float along, float across) const
    {
        return TrackToCamera(view.chain, view.camera, ChainRef(k), along, across);
    }
};

// The commands of a list as (opcode, colour, vertex count, first vertex word); a disc has no
// vertices.
struct Command {
    std::uint32_t opcode;
    std::uint32_t colour;
    std::uint32_t vertices;
    std::uint64_t first_vertex;
};

inline std::vector<Command> Commands(const std::vector<std::uint32_t>& words, std::uint64_t from,
                                     std::uint64_t to)
{
    std::vector<Command> commands;
    std::uint64_t p = from;
    while (p < to) {
        const std::uint32_t op = words[p];
        if (op == kOpDisc) {
            commands.push_back(Command{op, words[p + 1], 0, p + kDiscWords});
            p += kDiscWords;
            continue;
        }
        const std::uint64_t header = HeaderWords(op);
        const std::uint32_t n = words[p + header - 1];
        commands.push_back(Command{op, words[p + 1], n, p + header});
        p += header + 2ull * n;
    }
    return commands;
}

inline Vec2 VertexAt(const std::vector<std::uint32_t>& words, const Command& c, std::uint32_t i)
{
    return Vec2{WordFloat(static_cast<std::uint32_t>(words[c.first_vertex + 2 * i])),
                WordFloat(static_cast<std::uint32_t>(words[c.first_vertex + 2 * i + 1]))};
}

} // namespace veldmark::test
