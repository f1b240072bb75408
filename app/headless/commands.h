#pragma once
// The commands of veldmark-render. Each takes the arguments after its name and returns the
// process exit code; each answers --help.
#include <span>
#include <string_view>

namespace veldmark::tool {

struct Command {
    std::string_view name;
    std::string_view summary;   // one line for the tool's own --help
    int (*run)(std::span<const char* const> args);
};

int RunTrace(std::span<const char* const> args);
int RunList(std::span<const char* const> args);
int RunFrame(std::span<const char* const> args);
int RunRaster(std::span<const char* const> args);
int RunFramesCommand(std::span<const char* const> args);
int RunVideo(std::span<const char* const> args);
int RunHashes(std::span<const char* const> args);
int RunSoak(std::span<const char* const> args);
int RunBench(std::span<const char* const> args);
int RunGlyphs(std::span<const char* const> args);

} // namespace veldmark::tool
