#pragma once
// The two clocks the --fps meter reads on Linux: the steady wall clock, and the processor time
// of the whole process, every thread's user and system time together.
#include "app/shell/fps_meter.h"

namespace veldmark {

FpsClocks ReadProcessClocks();

} // namespace veldmark
