#pragma once
// Tells the user on standard error why the program could not start.
#include <cstdio>
#include <string>

#include "app/shell/startup_failure.h"

namespace veldmark {

inline int ReportStartup(StartupFailure failure, const std::string& detail)
{
    if (failure != StartupFailure::None)
        std::fprintf(stderr, "veldmark: cannot start: %s%s%s\n", StartupFailureName(failure),
                     detail.empty() ? "" : ": ", detail.c_str());
    return ExitCodeOf(failure);
}

} // namespace veldmark
