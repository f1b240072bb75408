#include "app/shell/command_line.h"

#include <cstddef>
#include <cstdint>

namespace veldmark {
namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kTab = u'\t';
constexpr char16_t kSpace = u' ';

bool IsBlank(char16_t c) { return c == kTab || c == kSpace; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

char16_t FoldCase(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

// The window number after "p": an optional colon, blanks, then decimal digits. The value wraps
// modulo 2^64 like the host's own arithmetic; zero or no digits mean no usable window.
RunModeChoice ParsePreview(std::u16string_view rest)
{
    std::size_t i = 0;
    if (i < rest.size() && rest[i] == u':') ++i;
    while (i < rest.size() && IsBlank(rest[i])) ++i;
    if (i == rest.size() || !IsDigit(rest[i])) return {};
    std::uint64_t value = 0;
    for (; i < rest.size() && IsDigit(rest[i]); ++i)
        value = value * 10 + static_cast<std::uint64_t>(rest[i] - u'0');
    if (value == 0) return {};
    return {ScreensaverMode::Preview, value};
}

} // namespace

RunModeChoice ParseCommandLine(std::u16string_view line)
{
    line = line.substr(0, line.find(u'\0'));

    // The program's own name: up to the closing quote when it is quoted, else up to a blank.
    std::size_t i = 0;
    if (!line.empty() && line[0] == kQuote) {
        const std::size_t close = line.find(kQuote, 1);
        i = close == std::u16string_view::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && !IsBlank(line[i])) ++i;
    }
    while (i < line.size() && IsBlank(line[i])) ++i;

    if (i + 1 >= line.size() || (line[i] != u'/' && line[i] != u'-')) return {};
    switch (FoldCase(line[i + 1])) {
    case u's': return {ScreensaverMode::Fullscreen, 0};
    case u'c': return {ScreensaverMode::Configure, 0};   // "/c:1234" names an owner we do not need
    case u'p': return ParsePreview(line.substr(i + 2));
    default: return {};
    }
}

std::u16string CommandLineFromArgs(int argc, const char* const* argv)
{
    std::u16string line = u"veldmark";
    for (int a = 1; a < argc; ++a) {
        line += kSpace;
        for (const char* p = argv[a]; *p != '\0'; ++p) {
            const auto byte = static_cast<unsigned char>(*p);
            line += byte < 0x80 ? static_cast<char16_t>(byte) : u'\uFFFD';
        }
    }
    return line;
}

} // namespace veldmark
