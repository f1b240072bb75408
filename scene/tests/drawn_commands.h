#pragma once
// Reading back what the animal and lion drawing wrote: each command's opcode, colours,
// gradient fields and vertices, decoded by the layout the display list defines.
#include <cstdint>
#include <vector>

#include "render/display_list.h"

namespace veldmark::test {

struct DrawnCommand {
    std::uint32_t opcode;
    std::uint32_t colour;
    std::vector<std::uint32_t> fields;   // the header words between the colour and the count
    std::vector<Vec2> vertices;
};

inline std::vector<DrawnCommand> ReadCommands(const std::uint32_t* words, std::uint64_t length)
{
    std::vector<DrawnCommand> out;
    std::uint64_t p = 0;
    while (p < length) {
        const std::uint32_t op = words[p];
        const std::uint64_t header = HeaderWords(op);
        DrawnCommand c{op, words[p + 1], {}, {}};
        for (std::uint64_t w = p + 2; w + 1 < p + header; ++w) c.fields.push_back(words[w]);
        const std::uint32_t n = op == kOpDisc ? 0 : words[p + header - 1];
        for (std::uint32_t i = 0; i < n; ++i)
            c.vertices.push_back(Vec2{WordFloat(words[p + header + 2 * i]),
                                      WordFloat(words[p + header + 2 * i + 1])});
        out.push_back(c);
        p += header + 2ull * n;
    }
    return out;
}

} // namespace veldmark::test
