#include "app/linux/linux_options.h"

#include <optional>
#include <string_view>

namespace veldmark {
namespace {

constexpr std::uint64_t kMaxWindowId = 0xFFFFFFFFu;   // X resource ids are 32-bit (29 used)

// "-name" and "--name" both match `name`.
bool IsOption(std::string_view arg, std::string_view name)
{
    if (arg.size() > 2 && arg.substr(0, 2) == "--") arg.remove_prefix(2);
    else if (arg.size() > 1 && arg[0] == '-') arg.remove_prefix(1);
    else return false;
    return arg == name;
}

bool IsFps(std::string_view arg) { return IsOption(arg, "fps"); }
bool IsFit(std::string_view arg) { return IsOption(arg, "fit"); }
// "--fit=WORD" or "-fit=WORD": the word, else nullopt.
std::optional<std::string_view> FitWithWord(std::string_view arg)
{
    for (std::string_view prefix : {"--fit=", "-fit="})
        if (arg.substr(0, prefix.size()) == prefix) return arg.substr(prefix.size());
    return std::nullopt;
}

int DigitValue(char c, int base)
{
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

} // namespace

std::uint64_t ParseWindowId(const char* text, bool hex_default)
{
    if (!text) return 0;
    std::string_view s(text);
    int base = hex_default ? 16 : 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return 0;
    std::uint64_t value = 0;
    for (char c : s) {
        const int d = DigitValue(c, base);
        if (d < 0) return 0;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
        if (value > kMaxWindowId) return 0;
    }
    return value;
}

std::vector<const char*> RunModeArguments(int argc, const char* const* argv)
{
    std::vector<const char*> kept;
    for (int a = 0; a < argc; ++a) {
        if (a > 0 && IsFit(argv[a])) {
            ++a;   // ...and its word
            continue;
        }
        if (a == 0 || !(IsFps(argv[a]) || FitWithWord(argv[a]))) kept.push_back(argv[a]);
    }
    return kept;
}

namespace {

// Which window, if any, from everything but --fps.
LinuxLaunch ParseWindowOptions(int argc, const char* const* argv, const char* daemon_window)
{
    bool root = false;
    const char* window_id = nullptr;
    for (int a = 1; a < argc; ++a) {
        const std::string_view arg(argv[a]);
        if (IsOption(arg, "help") || arg == "-h") return {LinuxAction::Help, 0, {}};
        if (IsFit(arg)) ++a;   // its word is no window option
        if (IsOption(arg, "version")) return {LinuxAction::Version, 0, {}};
        if (IsOption(arg, "root")) {
            root = true;
        } else if (IsOption(arg, "window-id")) {
            if (a + 1 >= argc) return {LinuxAction::BadOption, 0, "-window-id needs a window id"};
            window_id = argv[++a];
        } else if (arg.substr(0, 12) == "--window-id=") {
            window_id = argv[a] + 12;
        }
    }
    if (window_id) {
        const std::uint64_t id = ParseWindowId(window_id, false);
        if (id == 0) return {LinuxAction::BadOption, 0, std::string("not a window id: ") + window_id};
        return {LinuxAction::DaemonWindow, id, {}};
    }
    if (daemon_window && *daemon_window) {
        const std::uint64_t id = ParseWindowId(daemon_window, true);
        if (id == 0)
            return {LinuxAction::BadOption, 0,
                    std::string("XSCREENSAVER_WINDOW is not a window id: ") + daemon_window};
        return {LinuxAction::DaemonWindow, id, {}};
    }
    if (root) return {LinuxAction::DaemonWindow, 0, {}};
    return {};
}

} // namespace

LinuxLaunch ParseLinuxOptions(int argc, const char* const* argv, const char* daemon_window)
{
    LinuxLaunch launch = ParseWindowOptions(argc, argv, daemon_window);
    for (int a = 1; a < argc; ++a) {
        if (IsFps(argv[a])) launch.fps = true;
        std::optional<std::string_view> word = FitWithWord(argv[a]);
        if (IsFit(argv[a])) word = a + 1 < argc ? std::string_view(argv[++a]) : std::string_view();
        if (!word) continue;
        const std::optional<PictureFit> fit = ParsePictureFit(*word);
        if (fit) {
            launch.fit = *fit;
        } else if (launch.action != LinuxAction::Help && launch.action != LinuxAction::Version) {
            return {LinuxAction::BadOption, 0, PictureFitError("--fit", *word)};
        }
    }
    return launch;
}

} // namespace veldmark
