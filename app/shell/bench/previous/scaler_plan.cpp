// Frozen copy of the scaler's earlier hand-written SSE2/AVX2 code, kept only so that scaler_bench
// measures it beside the current row code in one run. Linked into no program.
#include "app/shell/bench/previous/scaler_plan.h"

#include <algorithm>
#include <cmath>

namespace veldmark::previous {
namespace {

// The part of output coordinate i's run that has weight: [begin, end) within the run.
struct Trimmed {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
};

Trimmed TrimZeroWeights(const ScalerTaps& taps, std::size_t i)
{
    const std::uint16_t* w = taps.weights.data() + taps.offset[i];
    Trimmed t{0, taps.count[i]};
    while (t.end - t.begin > 1 && w[t.begin] == 0) ++t.begin;
    while (t.end - t.begin > 1 && w[t.end - 1] == 0) --t.end;
    return t;
}

// Whether output coordinate i is exactly source coordinate i.
bool IsSameAxis(const ScalerTaps& taps, std::size_t source_size)
{
    if (taps.first.size() != source_size) return false;
    for (std::size_t i = 0; i < source_size; ++i) {
        const Trimmed t = TrimZeroWeights(taps, i);
        if (t.end - t.begin != 1 || taps.first[i] + t.begin != i) return false;
        if (taps.weights[taps.offset[i] + t.begin] != kScalerWeightOne) return false;
    }
    return true;
}

std::uint32_t PackedWeights(std::uint32_t a, std::uint32_t b) { return a | (b << 16); }

void BuildRowPairs(ScalerPlan& plan, const ScalerTaps& y)
{
    plan.row_pairs_begin.assign(1, 0);
    plan.row_pairs.clear();
    for (std::size_t i = 0; i < plan.height; ++i) {
        const Trimmed t = TrimZeroWeights(y, i);
        const std::uint16_t* w = y.weights.data() + y.offset[i];
        for (std::uint32_t k = t.begin; k < t.end; k += 2) {
            const bool has_b = k + 1 < t.end;
            RowPair pair;
            pair.offset_a = std::size_t{y.first[i] + k} * plan.src_pitch;
            pair.offset_b = has_b ? pair.offset_a + plan.src_pitch : pair.offset_a;
            const std::uint32_t packed = PackedWeights(w[k], has_b ? w[k + 1] : 0);
            std::fill(std::begin(pair.weights), std::end(pair.weights), packed);
            plan.row_pairs.push_back(pair);
        }
        plan.row_pairs_begin.push_back(static_cast<std::uint32_t>(plan.row_pairs.size()));
    }
}

void BuildColumnPairs(ScalerPlan& plan, const ScalerTaps& x)
{
    std::uint32_t longest = 1;
    for (std::size_t i = 0; i < plan.width; ++i) {
        const Trimmed t = TrimZeroWeights(x, i);
        longest = std::max(longest, t.end - t.begin);
    }
    plan.column_pairs = (longest + 1) / 2;
    const std::size_t padded_width = (plan.width + 1) & ~std::size_t{1};
    plan.column_first.assign(padded_width, 0);
    plan.column_weights.assign(padded_width * plan.column_pairs * 8, 0);
    for (std::size_t i = 0; i < plan.width; ++i) {
        const Trimmed t = TrimZeroWeights(x, i);
        const std::uint16_t* w = x.weights.data() + x.offset[i];
        plan.column_first[i] = x.first[i] + t.begin;
        std::int16_t* out = plan.column_weights.data() + ((i / 2) * plan.column_pairs * 2 + i % 2) * 8;
        for (std::uint32_t k = 0; k < t.end - t.begin; ++k) {
            // Tap k is the first or second of pair k / 2, in every one of the four lanes.
            std::int16_t* pair = out + (k / 2) * 16;
            for (std::size_t lane = 0; lane < 4; ++lane)
                pair[lane * 2 + k % 2] = static_cast<std::int16_t>(w[t.begin + k]);
        }
    }
    // The last pair of the last pixels reads 2 * column_pairs pixels from its first.
    plan.row_pixels = plan.src_width + 2 * plan.column_pairs + 2;
}

} // namespace

void BuildScalerTaps(ScalerTaps& taps, int source_size, int dest_size)
{
    taps.first.assign(static_cast<std::size_t>(dest_size), 0);
    taps.count.assign(static_cast<std::size_t>(dest_size), 0);
    taps.offset.assign(static_cast<std::size_t>(dest_size), 0);
    taps.weights.clear();
    const double scale = static_cast<double>(source_size) / dest_size;
    const double radius = std::max(scale, 1.0);
    std::vector<double> w;
    for (int i = 0; i < dest_size; ++i) {
        const double centre = (i + 0.5) * scale - 0.5;
        const int lo = std::max(0, static_cast<int>(std::ceil(centre - radius)));
        const int hi = std::min(source_size - 1, static_cast<int>(std::floor(centre + radius)));
        w.clear();
        double sum = 0.0;
        for (int j = lo; j <= hi; ++j) {
            const double weight = std::max(0.0, 1.0 - std::abs(j - centre) / radius);
            w.push_back(weight);
            sum += weight;
        }
        int first = lo;
        if (sum <= 0.0) {   // the centre sits exactly on one pixel at the edge
            w.assign(1, 1.0);
            sum = 1.0;
            first = std::clamp(static_cast<int>(std::lround(centre)), 0, source_size - 1);
        }
        // Round each weight, then give the rounding error to the largest so the run sums to one
        // exactly and a flat colour stays exactly that colour.
        const auto index = static_cast<std::size_t>(i);
        taps.first[index] = static_cast<std::uint32_t>(first);
        taps.count[index] = static_cast<std::uint32_t>(w.size());
        taps.offset[index] = static_cast<std::uint32_t>(taps.weights.size());
        std::uint32_t total = 0;
        std::size_t largest = taps.weights.size();
        for (double weight : w) {
            const auto fixed = static_cast<std::uint32_t>(std::lround(weight / sum * kScalerWeightOne));
            if (taps.weights.size() == largest || fixed > taps.weights[largest]) largest = taps.weights.size();
            taps.weights.push_back(static_cast<std::uint16_t>(fixed));
            total += fixed;
        }
        taps.weights[largest] = static_cast<std::uint16_t>(taps.weights[largest] + kScalerWeightOne - total);
    }
}

void BuildScalerPlan(ScalerPlan& plan, const ScalerTaps& x, const ScalerTaps& y, int src_width, int src_height,
                     std::size_t src_pitch)
{
    plan.src_width = static_cast<std::size_t>(src_width);
    plan.src_height = static_cast<std::size_t>(src_height);
    plan.src_pitch = src_pitch;
    plan.width = x.first.size();
    plan.height = y.first.size();
    plan.same_columns = IsSameAxis(x, plan.src_width);
    plan.same_rows = IsSameAxis(y, plan.src_height);
    BuildRowPairs(plan, y);
    BuildColumnPairs(plan, x);
}

} // namespace veldmark::previous
