#include "app/pipeline/bench_figures.h"

#include <algorithm>

namespace veldmark {

double Milliseconds(BenchClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v)
{
    if (v.empty()) return 0.0;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
    return v[v.size() / 2];
}

double Percentile(std::vector<double> v, double p)
{
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(std::clamp(p, 0.0, 1.0) * static_cast<double>(v.size() - 1))];
}

std::vector<double> WindowRates(const std::vector<BenchClock::time_point>& arrivals, std::size_t window)
{
    std::vector<double> rates;
    if (window == 0) return rates;
    for (std::size_t i = 0; i + window < arrivals.size(); i += window) {
        const double ms = Milliseconds(arrivals[i + window] - arrivals[i]);
        if (ms > 0.0) rates.push_back(static_cast<double>(window) * 1000.0 / ms);
    }
    return rates;
}

} // namespace veldmark
