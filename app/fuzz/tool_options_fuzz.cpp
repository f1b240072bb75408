// libFuzzer target for veldmark-render's option reader and the options every frame command
// shares. The input's NUL-ended strings are the arguments after the command's name. Whatever
// they are, a reading either fails with a message or gives values within each option's limits,
// and a whole number read back in decimal is the text it came from, less leading zeros.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "app/fuzz/fuzz_arguments.h"
#include "app/headless/frame_run_options.h"
#include "render/render_worker.h"

namespace {

using veldmark::tool::OptionSpec;

void CheckWholeNumber(std::string_view text)
{
    const auto value = veldmark::tool::ParseWholeNumber(text);
    if (!value) return;
    const std::size_t first_digit = text.find_first_not_of('0');
    const std::string_view digits = first_digit == std::string_view::npos ? "0" : text.substr(first_digit);
    if (std::to_string(*value) != digits) std::abort();
}

bool InRange(std::uint64_t value, std::uint64_t low, std::uint64_t high) { return value >= low && value <= high; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto split = veldmark::fuzz::SplitArguments("frames", veldmark::fuzz::AsText(data, size));
    const std::span<const char* const> args(split.pointers.data() + 1, split.pointers.size() - 1);

    std::vector<OptionSpec> options(std::begin(veldmark::tool::kFrameRunOptions),
                                    std::end(veldmark::tool::kFrameRunOptions));
    options.push_back({"out", true});
    options.push_back({"help", false});
    veldmark::tool::Args read(args, options);
    if (read.ok() != read.error().empty()) std::abort();
    if (read.ok()) {
        const auto run = veldmark::tool::ReadFrameRun(read, 100);
        if (run.has_value() != read.ok()) std::abort();
        if (run && !(InRange(run->frames.first_step, 1, 1'000'000'000) &&
                     InRange(run->frames.count, 1, 10'000'000) && InRange(run->frames.every, 1, 1'000'000'000) &&
                     InRange(run->workers, 1, veldmark::kMaxRenderWorkers)))
            std::abort();
    }

    for (const char* arg : args) CheckWholeNumber(arg);
    return 0;
}
