#pragma once
// The figures both benches report (veldmark-render bench and the web page's ?bench): the stage
// times of the frames timed on one thread, and the summaries taken of them and of the frame rate.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace veldmark {

using BenchClock = std::chrono::steady_clock;

double Milliseconds(BenchClock::duration d);

// Each stage's time in milliseconds for every timed frame.
struct StageTimes {
    std::vector<double> simulation, scene, publish, raster, background, plain_fill;
    std::vector<std::uint64_t> steps;   // the simulation step of each timed frame
};

// The median and the p-th fraction (clamped to 0..1) of a list of figures; 0 for none.
double Median(std::vector<double> v);
double Percentile(std::vector<double> v, double p);

// Frames per second over each run of `window` consecutive arrivals. Frames come in bursts (four
// packets are in flight), so the rate is measured over windows rather than single intervals.
std::vector<double> WindowRates(const std::vector<BenchClock::time_point>& arrivals, std::size_t window);

} // namespace veldmark
