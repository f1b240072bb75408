// veldmark.scr and veldmark.exe: the run mode comes from the whole command line, as the
// Windows screensaver host writes it (/s, /p HWND, /c, or nothing for a window).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cwchar>
#include <string>

#include "app/shell/command_line.h"
#include "app/shell/main_loop.h"
#include "app/shell/run_mode.h"
#include "app/win32/win32_host.h"
#include "world/sim_state.h"

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows command lines are UTF-16");

std::u16string WholeCommandLine()
{
    const wchar_t* line = GetCommandLineW();
    std::u16string copy;
    if (line)
        for (; *line != L'\0'; ++line) copy += static_cast<char16_t>(*line);
    return copy;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    using namespace veldmark;
    ApplyRunMode(g_state, ParseCommandLine(WholeCommandLine()));
    if (RunModeOf(g_state) == ScreensaverMode::Configure) return ShowConfigureMessage();

    Win32Host host(g_state);
    if (const StartupFailure failure = host.Open(); failure != StartupFailure::None) return ReportStartup(failure);
    return ReportStartup(RunMainLoop(g_state, host));
}
