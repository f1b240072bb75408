// libFuzzer target for the Linux program's own options and the window id XScreenSaver hands it.
// The input's first NUL-ended string is XSCREENSAVER_WINDOW (an empty one means unset), the
// rest are the arguments. Whatever they are, the launch is one of the actions with only its own
// fields set, a window id never exceeds 32 bits, a parsed id written back in hex parses to
// itself, and the fit is one of the three, its word reading back to it.
#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/fuzz/fuzz_arguments.h"
#include "app/linux/linux_options.h"

namespace {

constexpr std::uint64_t kMaxWindowId = 0xFFFFFFFFu;

void CheckWindowId(const char* text, bool hex_default)
{
    const std::uint64_t id = veldmark::ParseWindowId(text, hex_default);
    if (id > kMaxWindowId) std::abort();
    if (id == 0) return;
    char written[24];
    std::snprintf(written, sizeof written, "0x%" PRIx64, id);
    if (veldmark::ParseWindowId(written, false) != id || veldmark::ParseWindowId(written, true) != id) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // pointers[0] is the program's name, pointers[1] the environment variable's value.
    const auto split = veldmark::fuzz::SplitArguments("veldmark", veldmark::fuzz::AsText(data, size));
    const char* daemon_text = split.pointers[1];
    const char* daemon_window = *daemon_text ? daemon_text : nullptr;
    std::vector<const char*> argv{split.pointers[0]};
    argv.insert(argv.end(), split.pointers.begin() + 2, split.pointers.end());
    const int argc = static_cast<int>(argv.size());

    const veldmark::LinuxLaunch launch = veldmark::ParseLinuxOptions(argc, argv.data(), daemon_window);
    switch (launch.action) {
    case veldmark::LinuxAction::RunModes:
    case veldmark::LinuxAction::Help:
    case veldmark::LinuxAction::Version:
        if (launch.window != 0 || !launch.error.empty()) std::abort();
        break;
    case veldmark::LinuxAction::DaemonWindow:
        if (launch.window > kMaxWindowId || !launch.error.empty()) std::abort();
        break;
    case veldmark::LinuxAction::BadOption:
        if (launch.window != 0 || launch.error.empty()) std::abort();
        break;
    default:
        std::abort();
    }

    if (veldmark::ParsePictureFit(veldmark::PictureFitName(launch.fit)) != launch.fit) std::abort();

    CheckWindowId(daemon_text, true);
    for (std::size_t a = 1; a < argv.size(); ++a) {
        CheckWindowId(argv[a], false);
        CheckWindowId(argv[a], true);
    }
    return 0;
}
