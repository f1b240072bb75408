#include "app/headless/args.h"

#include <algorithm>
#include <utility>

namespace veldmark::tool {

std::optional<std::uint64_t> ParseWholeNumber(std::string_view text)
{
    if (text.empty() || text.size() > 20) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

Args::Args(std::span<const char* const> args, std::span<const OptionSpec> options)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg.size() < 3 || arg.substr(0, 2) != "--") {
            error_ = "unexpected argument '" + std::string(arg) + "'";
            return;
        }
        const std::string_view name = arg.substr(2);
        const auto option = std::find_if(options.begin(), options.end(),
                                       [&](const OptionSpec& o) { return o.name == name; });
        if (option == options.end()) {
            error_ = "unknown option '" + std::string(arg) + "'";
            return;
        }
        if (has(name)) {
            error_ = "option '" + std::string(arg) + "' given twice";
            return;
        }
        std::string_view value;
        if (option->takes_value) {
            if (i + 1 >= args.size()) {
                error_ = "option '" + std::string(arg) + "' needs a value";
                return;
            }
            value = args[++i];
        }
        given_.emplace_back(name, value);
    }
}

bool Args::has(std::string_view name) const
{
    return std::any_of(given_.begin(), given_.end(), [&](const auto& g) { return g.first == name; });
}

std::optional<std::string_view> Args::value(std::string_view name) const
{
    for (const auto& g : given_)
        if (g.first == name) return g.second;
    return std::nullopt;
}

void Args::Reject(std::string error)
{
    if (error_.empty()) error_ = std::move(error);
}

std::optional<std::uint64_t> Args::number(std::string_view name, std::uint64_t fallback,
                                          std::uint64_t min, std::uint64_t max)
{
    const auto text = value(name);
    if (!text) return fallback;
    const auto parsed = ParseWholeNumber(*text);
    if (!parsed || *parsed < min || *parsed > max) {
        error_ = "--" + std::string(name) + " takes a whole number from " + std::to_string(min) +
                 " to " + std::to_string(max) + ", not '" + std::string(*text) + "'";
        return std::nullopt;
    }
    return parsed;
}

} // namespace veldmark::tool
