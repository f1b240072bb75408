#include "app/headless/resident_memory.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace veldmark::tool {

std::optional<std::uint64_t> ResidentKilobytes()
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return std::nullopt;
    std::optional<std::uint64_t> kilobytes;
    char line[256];
    while (std::fgets(line, sizeof line, status)) {
        std::uint64_t value = 0;
        if (std::strncmp(line, "VmRSS:", 6) == 0 && std::sscanf(line + 6, "%" SCNu64, &value) == 1) {
            kilobytes = value;
            break;
        }
    }
    std::fclose(status);
    return kilobytes;
}

} // namespace veldmark::tool
