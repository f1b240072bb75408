// libFuzzer target for the Windows screensaver switches (/s, /p <window>, /c). The input's byte
// pairs are the UTF-16 command line; it is also read as a Unix argument vector turned into such
// a line. Whatever the line, the choice names a mode that exists, a preview always has a
// window and no other mode has one, and nothing after the first NUL counts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/fuzz/fuzz_arguments.h"
#include "app/shell/command_line.h"

namespace {

using veldmark::RunModeChoice;
using veldmark::ScreensaverMode;

void CheckChoice(const RunModeChoice& choice)
{
    switch (choice.mode) {
    case ScreensaverMode::Windowed:
    case ScreensaverMode::Fullscreen:
    case ScreensaverMode::Configure:
        if (choice.preview_parent != 0) std::abort();
        return;
    case ScreensaverMode::Preview:
        if (choice.preview_parent == 0) std::abort();
        return;
    }
    std::abort();
}

bool SameChoice(const RunModeChoice& a, const RunModeChoice& b)
{
    return a.mode == b.mode && a.preview_parent == b.preview_parent;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string line(size / 2, u'\0');
    if (!line.empty()) std::memcpy(line.data(), data, line.size() * 2);
    const RunModeChoice choice = veldmark::ParseCommandLine(line);
    CheckChoice(choice);

    // What follows a NUL is not part of the line.
    std::u16string cut = line.substr(0, line.find(u'\0'));
    const RunModeChoice before_nul = veldmark::ParseCommandLine(cut);
    cut += u'\0';
    cut += u"/p 12";
    if (!SameChoice(choice, before_nul) || !SameChoice(choice, veldmark::ParseCommandLine(cut))) std::abort();

    // A Unix argument vector: the line it makes is plain ASCII (or U+FFFD) without NULs.
    const auto args = veldmark::fuzz::SplitArguments("veldmark", veldmark::fuzz::AsText(data, size));
    const std::u16string from_args =
        veldmark::CommandLineFromArgs(static_cast<int>(args.pointers.size()), args.pointers.data());
    for (char16_t c : from_args)
        if (c == u'\0' || (c >= 0x80 && c != u'\uFFFD')) std::abort();
    CheckChoice(veldmark::ParseCommandLine(from_args));
    return 0;
}
