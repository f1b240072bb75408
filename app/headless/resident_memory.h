#pragma once
// The process's resident memory, as the kernel counts it (VmRSS in /proc/self/status).
#include <cstdint>
#include <optional>

namespace veldmark::tool {

// Kilobytes resident now; nullopt where /proc is missing or says nothing about it.
std::optional<std::uint64_t> ResidentKilobytes();

} // namespace veldmark::tool
