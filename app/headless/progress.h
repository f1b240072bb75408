#pragma once
// Progress of long work on standard error: a bar with frames per second and time left when
// standard error is a terminal, a plain line every few seconds otherwise (logs, CI).
#include <chrono>
#include <cstdint>
#include <cstdio>

namespace veldmark::tool {

class Progress {
public:
    Progress(const char* what, std::uint64_t total);
    void Update(std::uint64_t done);
    void Finish(std::uint64_t done);   // the closing line, with the overall rate

private:
    using Clock = std::chrono::steady_clock;
    double Seconds() const;
    void Print(std::uint64_t done, bool final);

    const char* what_;
    std::uint64_t total_;
    bool terminal_;
    Clock::time_point start_;
    Clock::time_point last_print_;
};

} // namespace veldmark::tool
