// veldmark for Linux: the same run modes as the Windows screensaver (a window, /s full screen,
// /p XID preview, /c configure), plus what a Linux screensaver needs: XScreenSaver's window
// options, --help and --version.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/linux/display_loss.h"
#include "app/linux/linux_options.h"
#include "app/linux/process_clocks.h"
#include "app/linux/sdl_host.h"
#include "app/linux/startup_report.h"
#include "app/linux/x11_host.h"
#include "app/shell/command_line.h"
#include "app/shell/fps_meter.h"
#include "app/shell/main_loop.h"
#include "app/shell/run_mode.h"
#include "app/version.h"
#include "world/sim_state.h"

namespace {

constexpr char kHelp[] =
    "usage: veldmark [/s | /p XID | /c] [--root | --window-id ID] [--fit MODE] [--fps] [--help] [--version]\n"
    "\n"
    "An endless drive through a savanna.\n"
    "\n"
    "  (nothing)        a 960 x 600 window: Escape or Q ends, space pauses and resumes\n"
    "  /s               full screen: any key, mouse button, the wheel or a mouse move of more\n"
    "                   than 8 pixels ends it\n"
    "  /p XID           preview inside the X window XID (decimal); ends when that window goes\n"
    "  /c               configure: there is nothing to configure\n"
    "  --root           draw into the root window, or into $XSCREENSAVER_WINDOW when set\n"
    "  --window-id ID   draw into the window ID (decimal, or hex with 0x)\n"
    "  --fit MODE       how the 16:10 picture fits a screen of another shape: fill (the default)\n"
    "                   covers the screen and cuts the excess off evenly, or shows it whole where\n"
    "                   more than a third would go; fit shows it whole on black bars; stretch\n"
    "                   stretches it over the screen\n"
    "  --fps            show frames per second and the processor load in a corner, and print\n"
    "                   both for the whole run on standard error at the end\n"
    "\n"
    "Switches take '/' or '-' and either case; only the first one counts. Under XScreenSaver the\n"
    "daemon's window (XSCREENSAVER_WINDOW) is used and input is left to the daemon. SIGTERM ends\n"
    "any mode cleanly with exit code 0.\n";

template <class Host, class Open>
int Run(veldmark::SimState& state, const veldmark::LinuxLaunch& launch, Open open)
{
    const bool show_fps = launch.fps;
    Host host(state);
    host.SetPictureFit(launch.fit);
    std::string detail;
    const veldmark::StartupFailure opened = open(host, detail);
    if (opened != veldmark::StartupFailure::None) return veldmark::ReportStartup(opened, detail);
    veldmark::FpsMeter meter;
    if (show_fps) {
        veldmark::FpsMeterStart(meter, veldmark::ReadProcessClocks());
        host.ShowFps(&meter);
    }
    const veldmark::StartupFailure ended = veldmark::RunMainLoop(state, host);
    if (show_fps) {
        char summary[veldmark::kFpsSummaryCapacity];
        veldmark::FormatFpsSummary(meter, veldmark::ReadProcessClocks(), summary, sizeof summary);
        std::fprintf(stderr, "%s\n", summary);
    }
    if (ended == veldmark::StartupFailure::None && veldmark::DisplayLost()) return veldmark::ReportDisplayLost();
    return veldmark::ReportStartup(ended, {});
}

} // namespace

int main(int argc, char** argv)
{
    using namespace veldmark;
    // A display connection that breaks must end in our own report, not in a death by SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    const LinuxLaunch launch = ParseLinuxOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"));
    switch (launch.action) {
    case LinuxAction::Help: std::fputs(kHelp, stdout); return 0;
    case LinuxAction::Version: std::printf("veldmark %s\n", VELDMARK_VERSION); return 0;
    case LinuxAction::BadOption: std::fprintf(stderr, "veldmark: %s\n", launch.error.c_str()); return 2;
    case LinuxAction::DaemonWindow:
        // The daemon's window is a full-screen saver whose input the daemon watches.
        ApplyRunMode(g_state, RunModeChoice{ScreensaverMode::Fullscreen, 0});
        InstallStopSignals();
        return Run<X11Host>(g_state, launch, [&](X11Host& host, std::string& detail) {
            return host.OpenDaemonWindow(launch.window, detail);
        });
    case LinuxAction::RunModes: break;
    }

    const std::vector<const char*> mode_args = RunModeArguments(argc, argv);
    ApplyRunMode(g_state, ParseCommandLine(CommandLineFromArgs(static_cast<int>(mode_args.size()), mode_args.data())));
    switch (RunModeOf(g_state)) {
    case ScreensaverMode::Configure: ShowConfigureMessage(); return 0;
    case ScreensaverMode::Preview:
        InstallStopSignals();
        return Run<X11Host>(g_state, launch, [&](X11Host& host, std::string& detail) {
            return host.OpenPreview(g_state.preview_parent, detail);
        });
    case ScreensaverMode::Windowed:
    case ScreensaverMode::Fullscreen: break;
    }
    return Run<SdlHost>(g_state, launch, [](SdlHost& host, std::string& detail) { return host.Open(detail); });
}
