#pragma once
// Ctrl-C during long headless work: the first one asks the work to stop after the frame in
// hand (so every file written so far is whole); a second one ends the process at once.
#include <atomic>

namespace veldmark::tool {

// Installs the handler and returns the flag it sets.
const std::atomic<bool>& InstallInterruptHandler();

} // namespace veldmark::tool
