#pragma once
// A small command-line reader for veldmark-render: options of the form `--name value` and
// `--flag`, with one-line errors that name the offending argument.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veldmark::tool {

inline constexpr int kExitUsage = 2;    // bad arguments
inline constexpr int kExitFailure = 1;  // the work itself failed (a file, the disk)

struct OptionSpec {
    std::string_view name;   // without the leading dashes
    bool takes_value;
};

class Args {
public:
    // Reads `args` against `options`; on a problem, error() says what and ok() is false.
    Args(std::span<const char* const> args, std::span<const OptionSpec> options);

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    bool has(std::string_view name) const;
    std::optional<std::string_view> value(std::string_view name) const;

    // Records a problem found in a value (the first one counts); ok() is false from then on.
    void Reject(std::string error);

    // A whole number in [min, max]; on a problem, records an error naming the option.
    std::optional<std::uint64_t> number(std::string_view name, std::uint64_t fallback,
                                        std::uint64_t min, std::uint64_t max);

private:
    std::vector<std::pair<std::string_view, std::string_view>> given_;
    std::string error_;
};

// Parses a decimal whole number; nothing else is accepted (no sign, no spaces, no overflow).
std::optional<std::uint64_t> ParseWholeNumber(std::string_view text);

} // namespace veldmark::tool
