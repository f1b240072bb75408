#pragma once
// The Linux program's own options, looked at before the screensaver switches: --help,
// --version, --fps, --fit, and the options through which XScreenSaver hands a hack its window.
// What is left goes to the same run-mode parser the Windows program uses.
#include <cstdint>
#include <string>
#include <vector>

#include "app/shell/picture_fit.h"

namespace veldmark {

enum class LinuxAction {
    RunModes,       // the screensaver switches decide (window, /s, /p XID, /c)
    Help,
    Version,
    DaemonWindow,   // draw into a window someone else owns (XScreenSaver's, or the root)
    BadOption,      // a malformed window id or --fit: `error` says which
};

struct LinuxLaunch {
    LinuxAction action = LinuxAction::RunModes;
    std::uint64_t window = 0;   // DaemonWindow: the window, or 0 for the screen's root window
    std::string error;
    bool fps = false;           // --fps: show the frame rate and processor load, and sum them up at the end
    PictureFit fit = PictureFit::Fill;   // --fit MODE (or --fit=MODE): how the picture fits the screen
};

// `daemon_window` is the value of XSCREENSAVER_WINDOW, or nullptr when it is not set. Priority:
// --help, --version, then -window-id, then XSCREENSAVER_WINDOW, then -root; options may have one
// dash or two.
LinuxLaunch ParseLinuxOptions(int argc, const char* const* argv, const char* daemon_window);

// The arguments for the run-mode parser: argv[0] and everything but the options that only this
// program knows and that may stand anywhere (--fps, --fit with its word), so that
// "--fit fit /s" is still full screen.
std::vector<const char*> RunModeArguments(int argc, const char* const* argv);

// An X window id: "0x" and hex digits, or decimal digits (hex digits without "0x" when
// `hex_default`). Zero, junk and ids beyond 32 bits give 0.
std::uint64_t ParseWindowId(const char* text, bool hex_default);

} // namespace veldmark
