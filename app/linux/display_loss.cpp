#include "app/linux/display_loss.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "world/frame_slot.h"

namespace veldmark {
namespace {

// Xlib calls the handlers on the thread whose call found the connection dead, which in this
// program is the main thread; atomics keep that true for anyone else who asks.
std::atomic<bool> g_lost{false};
SimState* g_state_to_stop = nullptr;

constexpr char kLostMessage[] = "veldmark: lost the connection to the X display\n";

#ifdef VELDMARK_HAVE_XIO_EXIT_HANDLER
// Returning from here tells Xlib not to exit: its calls on this connection fail from now on and
// the main loop ends at its next message pump.
void KeepRunning(Display*, void*) {}
#else
// Without an exit handler Xlib ends the process once the I/O handler returns; the workers are
// told to stop and given a moment to finish the frames they hold.
constexpr auto kWorkerGrace = std::chrono::milliseconds(500);
constexpr auto kWorkerPoll = std::chrono::milliseconds(5);

void StopWorkersBeforeExit()
{
    if (!g_state_to_stop) return;
    SimState& state = *g_state_to_stop;
    state.workers_stop.store(1, std::memory_order_release);
    const auto give_up = std::chrono::steady_clock::now() + kWorkerGrace;
    auto rendering = [&state] {
        for (const FrameSlot& slot : state.frame_slots)
            if (slot.tail.state.load(std::memory_order_acquire) ==
                static_cast<std::uint8_t>(SlotState::Rendering))
                return true;
        return false;
    };
    while (rendering() && std::chrono::steady_clock::now() < give_up) std::this_thread::sleep_for(kWorkerPoll);
}
#endif

int NoteLoss(Display*)
{
    g_lost.store(true, std::memory_order_release);
#ifndef VELDMARK_HAVE_XIO_EXIT_HANDLER
    StopWorkersBeforeExit();
    ReportDisplayLost();
    _exit(kExitDisplayLost);
#endif
    return 0;
}

} // namespace

void WatchDisplay(_XDisplay* display, SimState& state)
{
    g_state_to_stop = &state;
    XSetIOErrorHandler(NoteLoss);
#ifdef VELDMARK_HAVE_XIO_EXIT_HANDLER
    XSetIOErrorExitHandler(display, KeepRunning, nullptr);
#else
    (void)display;
#endif
}

void WatchSdlWindow(SDL_Window* window, SimState& state)
{
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    if (SDL_GetWindowWMInfo(window, &wm) == SDL_TRUE && wm.subsystem == SDL_SYSWM_X11)
        WatchDisplay(wm.info.x11.display, state);
}

bool DisplayLost() { return g_lost.load(std::memory_order_acquire); }

int ReportDisplayLost()
{
    // write() rather than stdio: this may run inside Xlib, with stdio's lock in any state.
    const ssize_t ignored = write(STDERR_FILENO, kLostMessage, sizeof kLostMessage - 1);
    (void)ignored;
    return kExitDisplayLost;
}

} // namespace veldmark
