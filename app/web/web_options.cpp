#include "app/web/web_options.h"

#include <charconv>

namespace veldmark::web {
namespace {

struct Parameter {
    std::string_view name;
    std::string_view value;
    bool has_value = false;
};

// Splits "name=value" at its first '='.
Parameter Split(std::string_view pair)
{
    const std::size_t eq = pair.find('=');
    if (eq == std::string_view::npos) return {pair, {}, false};
    return {pair.substr(0, eq), pair.substr(eq + 1), true};
}

// A whole decimal number from `low` to `high`, with nothing before or after it.
bool ReadNumber(const Parameter& p, std::uint64_t low, std::uint64_t high, std::uint64_t& out, std::string& error)
{
    std::uint64_t value = 0;
    const char* begin = p.value.data();
    const char* end = begin + p.value.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (!p.has_value || p.value.empty() || ec != std::errc{} || ptr != end || value < low || value > high) {
        error = std::string(p.name) + " must be a whole number from " + std::to_string(low) + " to " +
                std::to_string(high) + ", not '" + std::string(p.value) + "'";
        return false;
    }
    out = value;
    return true;
}

} // namespace

WebOptions ReadWebOptions(std::string_view query)
{
    WebOptions options;
    if (!query.empty() && query.front() == '?') query.remove_prefix(1);
    bool hashes = false, bench = false;
    std::uint64_t count = kDefaultHashFrames, every = 1, from = 1;
    while (!query.empty() && options.error.empty()) {
        const std::size_t amp = query.find('&');
        const Parameter p = Split(query.substr(0, amp));
        query = amp == std::string_view::npos ? std::string_view{} : query.substr(amp + 1);
        if (p.name == "hashes") {
            hashes = true;
            if (p.has_value) ReadNumber(p, 1, kMaxFrames, count, options.error);
        } else if (p.name == "bench") {
            bench = true;
            ReadNumber(p, 2, kMaxFrames, count, options.error);
        } else if (p.name == "every") {
            ReadNumber(p, 1, kMaxSteps, every, options.error);
        } else if (p.name == "from") {
            ReadNumber(p, 1, kMaxSteps, from, options.error);
        } else if (p.name == "fps") {
            options.fps_overlay = true;
        }
    }
    if (hashes && bench && options.error.empty()) options.error = "hashes and bench cannot run together";
    if (!options.error.empty()) return options;
    if (hashes) {
        options.mode = WebMode::Hashes;
        options.frames = FrameSchedule{.first_step = from, .every = every, .count = count};
    } else if (bench) {
        options.mode = WebMode::Bench;
        options.frames = FrameSchedule{.first_step = 1, .every = every, .count = count};
    }
    return options;
}

} // namespace veldmark::web
