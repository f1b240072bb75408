#pragma once
// Turns a fuzz input into an argument vector: the bytes are cut at every NUL into strings, each
// kept in a buffer of its own and of exactly its size, so the address sanitizer sees a parser
// reading past an argument's end.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace veldmark::fuzz {

inline constexpr std::size_t kMaxArguments = 64;

struct ArgumentVector {
    std::vector<std::unique_ptr<char[]>> storage;
    std::vector<const char*> pointers;   // argv[0] is `program`, then one per string
};

inline ArgumentVector SplitArguments(const char* program, std::string_view bytes)
{
    ArgumentVector result;
    result.pointers.push_back(program);
    while (result.storage.size() < kMaxArguments) {
        const std::size_t end = bytes.find('\0');
        const std::string_view piece = bytes.substr(0, end);
        auto copy = std::make_unique<char[]>(piece.size() + 1);
        for (std::size_t k = 0; k < piece.size(); ++k) copy[k] = piece[k];
        copy[piece.size()] = '\0';
        result.pointers.push_back(copy.get());
        result.storage.push_back(std::move(copy));
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
    return result;
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size)
{
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

} // namespace veldmark::fuzz
