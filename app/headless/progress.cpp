#include "app/headless/progress.h"

#include <unistd.h>

namespace veldmark::tool {
namespace {

constexpr auto kTerminalInterval = std::chrono::milliseconds(100);
constexpr auto kPlainInterval = std::chrono::seconds(5);
constexpr int kBarWidth = 30;

} // namespace

Progress::Progress(const char* what, std::uint64_t total)
    : what_(what), total_(total), terminal_(isatty(STDERR_FILENO) == 1), start_(Clock::now()),
      last_print_(start_)
{
}

double Progress::Seconds() const
{
    return std::chrono::duration<double>(Clock::now() - start_).count();
}

void Progress::Update(std::uint64_t done)
{
    const auto now = Clock::now();
    if (now - last_print_ < (terminal_ ? Clock::duration(kTerminalInterval) : Clock::duration(kPlainInterval)))
        return;
    last_print_ = now;
    Print(done, false);
}

void Progress::Finish(std::uint64_t done) { Print(done, true); }

void Progress::Print(std::uint64_t done, bool final)
{
    const double seconds = Seconds();
    const double rate = seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
    const double left = rate > 0.0 && total_ > done ? static_cast<double>(total_ - done) / rate : 0.0;
    const double share = total_ ? static_cast<double>(done) / static_cast<double>(total_) : 1.0;
    if (terminal_) {
        const int filled = static_cast<int>(share * kBarWidth);
        std::fprintf(stderr, "\r%s [", what_);
        for (int i = 0; i < kBarWidth; ++i) std::fputc(i < filled ? '#' : '.', stderr);
        std::fprintf(stderr, "] %llu/%llu  %.1f frames/s  %.0f s left ",
                     static_cast<unsigned long long>(done), static_cast<unsigned long long>(total_),
                     rate, left);
        if (final) std::fputc('\n', stderr);
    } else {
        std::fprintf(stderr, "%s: %llu of %llu frames, %.1f frames/s, %.0f s %s\n", what_,
                     static_cast<unsigned long long>(done), static_cast<unsigned long long>(total_),
                     rate, final ? seconds : left, final ? "in all" : "left");
    }
    std::fflush(stderr);
}

} // namespace veldmark::tool
