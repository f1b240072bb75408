#pragma once
// Reads the screensaver switches from a whole command line, program name included, the way the
// Windows screensaver host writes it: /s full screen, /p <window number> preview, /c configure,
// nothing (or anything unrecognised) a window. Only the first switch counts.
#include <string>
#include <string_view>

#include "app/shell/run_mode.h"

namespace veldmark {

// `line` is UTF-16 as GetCommandLineW gives it; it ends at its first NUL, if any.
RunModeChoice ParseCommandLine(std::u16string_view line);

// Builds the line a Windows host would pass from a Unix argument vector: a fixed program name
// followed by the arguments, one space apart. Only ASCII matters to the parser, so every other
// byte becomes U+FFFD, which no switch uses.
std::u16string CommandLineFromArgs(int argc, const char* const* argv);

} // namespace veldmark
