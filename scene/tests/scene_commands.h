#pragma once
// A display list read back command by command, whatever the opcode, for the tests of the
// standing objects: trees (band and flat polygons), masts (flat quads and a disc), the lead
// vehicle and its lights (flat and radial polygons).
#include <cstdint>
#include <vector>

#include "render/display_list.h"

namespace veldmark::test {

struct ReadCommand {
    std::uint32_t opcode;
    std::uint32_t colour;
    std::vector<float> fields;     // header floats between the colour and the count
    std::vector<Vec2> vertices;
};

inline std::vector<ReadCommand> ReadList(const std::uint32_t* words, std::uint64_t from,
                                         std::uint64_t to)
{
    std::vector<ReadCommand> out;
    std::uint64_t p = from;
    while (p < to) {
        const std::uint32_t op = words[p];
        const std::uint64_t header = HeaderWords(op);
        ReadCommand c{op, words[p + 1], {}, {}};
        const std::uint64_t fields_end = op == kOpDisc ? p + header : p + header - 1;
        for (std::uint64_t w = p + 2; w < fields_end; ++w) c.fields.push_back(WordFloat(words[w]));
        const std::uint32_t n = op == kOpDisc ? 0 : words[p + header - 1];
        for (std::uint32_t i = 0; i < n; ++i)
            c.vertices.push_back(Vec2{WordFloat(words[p + header + 2 * i]),
                                      WordFloat(words[p + header + 2 * i + 1])});
        out.push_back(c);
        p += header + 2ull * n;
    }
    return out;
}

// A display list of full size with a writer, starting `used` words from the end when asked.
struct ListUnderTest {
    std::vector<std::uint32_t> words = std::vector<std::uint32_t>(kDisplayListWords, 0);
    std::uint64_t start = 0;
    std::uint64_t length = 0;
    DisplayListWriter out{words.data(), length};

    ListUnderTest() = default;
    explicit ListUnderTest(std::uint64_t room) : start(kDisplayListWords - room), length(start) {}

    std::vector<ReadCommand> Read() const { return ReadList(words.data(), start, length); }
};

} // namespace veldmark::test
