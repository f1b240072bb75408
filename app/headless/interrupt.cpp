#include "app/headless/interrupt.h"

#include <csignal>
#include <unistd.h>

namespace veldmark::tool {
namespace {

std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void OnInterrupt(int)
{
    if (g_interrupted.exchange(true)) _exit(130);
}

} // namespace

const std::atomic<bool>& InstallInterruptHandler()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    return g_interrupted;
}

} // namespace veldmark::tool
