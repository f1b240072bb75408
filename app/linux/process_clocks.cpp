#include "app/linux/process_clocks.h"

#include <time.h>

namespace veldmark {
namespace {

std::uint64_t Nanoseconds(clockid_t clock)
{
    timespec t{};
    if (clock_gettime(clock, &t) != 0 || t.tv_sec < 0 || t.tv_nsec < 0) return 0;
    return static_cast<std::uint64_t>(t.tv_sec) * 1'000'000'000u + static_cast<std::uint64_t>(t.tv_nsec);
}

} // namespace

FpsClocks ReadProcessClocks() { return {Nanoseconds(CLOCK_MONOTONIC), Nanoseconds(CLOCK_PROCESS_CPUTIME_ID)}; }

} // namespace veldmark
