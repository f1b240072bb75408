#pragma once
// When the X connection breaks (the server ends, or it closes our connection), Xlib's default
// is to print a message and call exit() from inside whichever call noticed, while the render
// threads are still painting. Instead the handlers here only note the loss: the hosts' message
// pumps then report quit, the main loop stops and joins the workers as after any other end, and
// main() reports the loss in one line with exit code 1.
#include "world/sim_state.h"

struct _XDisplay;
struct SDL_Window;

namespace veldmark {

inline constexpr int kExitDisplayLost = 1;

// Watches `display` for a broken connection. `state` is the one whose render workers must be
// stopped first where Xlib insists on ending the process itself (libX11 before 1.7, which has
// no exit handler to override).
void WatchDisplay(_XDisplay* display, SimState& state);

// The same for the X connection under an SDL window (SDL leaves a broken one to Xlib); nothing
// where SDL draws through something else.
void WatchSdlWindow(SDL_Window* window, SimState& state);

// True once a watched connection has broken; after that nothing may be sent on it.
bool DisplayLost();

// The one line on standard error, and the exit code.
int ReportDisplayLost();

} // namespace veldmark
