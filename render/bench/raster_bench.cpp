// Rasteriser benchmarks: megapixels per second on command mixes like the scene builder's, a plain
// buffer fill as the memory floor, and cairo (non-antialiased, even-odd) filling the same shapes
// on a same-size image. After the runs it prints the ratios that matter: flat fill against the
// plain fill, and each mix against cairo. `--list FILE` (any number of times) adds a real
// frame's display list, as `veldmark-render list` writes it; those are also drawn strip by strip,
// as the render workers draw them.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "render/strip_frame.h"
#include "render/rasteriser.h"
#include "render/simd/simd_level.h"

namespace veldmark {
namespace {

constexpr std::size_t kPixels = kFramePixels;

std::vector<std::uint32_t>& Frame()
{
    static std::vector<std::uint32_t> frame(kPixels, 0x00336699u);
    return frame;
}

struct Mix {
    std::vector<std::uint32_t> words = std::vector<std::uint32_t>(kDisplayListWords);
    std::uint64_t length = 0;
    DisplayListWriter writer{words.data(), length};
    Mix() = default;
    Mix(const Mix&) = delete;
};

std::vector<Vec2> Rect(float x0, float y0, float x1, float y1)
{
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

// Horizon silhouettes and ground bands: a few polygons with many vertices covering most of
// the screen.
void AddSilhouettes(Mix& m)
{
    m.writer.FlatPolygon(0x87CEEB, Rect(0, 0, 960, 300));
    for (int layer = 0; layer < 4; ++layer) {
        std::vector<Vec2> ridge = {{0, 600}};
        for (int x = 0; x <= 960; x += 8) {
            const float fx = static_cast<float>(x);
            ridge.push_back({fx, 200.0f + 40.0f * static_cast<float>(layer) -
                                     30.0f * sinf(fx / (60.0f + 10.0f * static_cast<float>(layer))) -
                                     12.0f * sinf(fx / 17.0f)});
        }
        ridge.push_back({960, 600});
        m.writer.FlatPolygon(0x5A6A7Au + 0x101010u * static_cast<std::uint32_t>(layer), ridge);
    }
    m.writer.FlatPolygon(0x4A8F43, Rect(0, 300, 960, 600));
    m.writer.FlatPolygon(0x333333, std::vector<Vec2>{{300, 600}, {470, 300}, {490, 300}, {660, 600}});
}

void AddSmallTriangles(Mix& m, int count)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> x(0, 960), y(0, 600), d(-8, 8);
    for (int k = 0; k < count; ++k) {
        const float cx = x(rng), cy = y(rng);
        const std::vector<Vec2> triangle = {{cx + d(rng), cy + d(rng)}, {cx + d(rng), cy + d(rng)}, {cx + d(rng), cy + d(rng)}};
        m.writer.FlatPolygon(static_cast<std::uint32_t>(rng()), triangle);
    }
}

void AddGradients(Mix& m, int count)
{
    std::mt19937 rng(12);
    std::uniform_real_distribution<float> x(0, 960), y(0, 600), s(20, 120);
    for (int k = 0; k < count; ++k) {
        const float cx = x(rng), cy = y(rng), size = s(rng);
        std::vector<Vec2> poly;
        for (int v = 0; v < 12; ++v) {
            const float a = static_cast<float>(v) * 0.5235988f;
            poly.push_back({cx + size * cosf(a), cy + 0.6f * size * sinf(a)});
        }
        const std::uint32_t a = static_cast<std::uint32_t>(rng()) | 0x80000000u;
        const std::uint32_t b = static_cast<std::uint32_t>(rng()) & 0x7FFFFFFFu;
        switch (k % 4) {
        case 0: m.writer.RadialPolygon(a, b, {cx, cy}, size, poly); break;
        case 1: m.writer.LinearPolygon(a, b, 0.1f, 0.9f, {cx - size, cy}, {cx + size, cy}, poly); break;
        case 2: m.writer.EllipticPolygon(a, b, 0.0f, 1.0f, {cx, cy}, {size, 0}, {0, 0.6f * size}, poly); break;
        default: m.writer.BandPolygon(a, 1.0f, poly); break;
        }
    }
}

void AddDiscs(Mix& m, int count)
{
    std::mt19937 rng(13);
    std::uniform_real_distribution<float> x(0, 960), y(0, 600), r(2, 30), o(0.1f, 1.0f);
    for (int k = 0; k < count; ++k)
        m.writer.Disc(static_cast<std::uint32_t>(rng()), {x(rng), y(rng)}, r(rng), o(rng));
}

enum MixKind { kFullScreen, kSilhouettes, kSmallTriangles, kGradients, kDiscs, kScene, kFromFile };
constexpr int kMaxListFiles = 16;

// Display lists read from files (such as `veldmark-render list` writes): real frames. A mix
// kind of kFromFile + k is the k-th file.
Mix& FileMix(int k)
{
    static Mix mixes[kMaxListFiles];
    return mixes[k];
}

bool LoadListFile(const char* path, int k)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    Mix& m = FileMix(k);
    const std::size_t words = std::fread(m.words.data(), 4, m.words.size(), file);
    std::fclose(file);
    m.length = words;
    return words > 0;
}

const Mix& GetMix(int kind)
{
    if (kind >= kFromFile) return FileMix(kind - kFromFile);
    static Mix mixes[6];
    static bool built = false;
    if (!built) {
        built = true;
        mixes[kFullScreen].writer.FlatPolygon(0x123456, Rect(0, 0, 960, 600));
        AddSilhouettes(mixes[kSilhouettes]);
        AddSmallTriangles(mixes[kSmallTriangles], 5000);
        AddGradients(mixes[kGradients], 60);
        AddDiscs(mixes[kDiscs], 300);
        // A whole frame: silhouettes, ground objects, gradients (ponds, lights) and discs.
        AddSilhouettes(mixes[kScene]);
        AddSmallTriangles(mixes[kScene], 2000);
        AddGradients(mixes[kScene], 12);
        AddDiscs(mixes[kScene], 40);
    }
    return mixes[kind];
}

// Pixels a mix writes, for megapixels per second (counted once with our own rasteriser).
double CoveredPixels(int kind, float roll)
{
    std::vector<std::uint32_t> frame(kPixels, 0);
    const Mix& m = GetMix(kind);
    RasteriseDisplayList(RasterTarget{frame.data(), kFrameWidth, kFrameHeight}, roll, m.words.data(), m.length);
    return static_cast<double>(std::count_if(frame.begin(), frame.end(), [](std::uint32_t p) { return p != 0; }));
}

void Ours(benchmark::State& state, int kind, float roll)
{
    const Mix& m = GetMix(kind);
    std::uint32_t* pixels = Frame().data();
    for (auto _ : state) {
        RasteriseDisplayList(m.words.data(), m.length, roll, pixels);
        benchmark::ClobberMemory();
    }
    state.counters["MPix/s"] = benchmark::Counter(CoveredPixels(kind, roll) * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

// The same list planned once and drawn strip by strip, on the process's vector path.
void OursInStrips(benchmark::State& state, int kind, float roll)
{
    const Mix& m = GetMix(kind);
    static const auto scratch = std::make_unique<StripScratch>();
    const RasterTarget target{Frame().data(), kFrameWidth, kFrameHeight};
    for (auto _ : state) {
        RenderInStrips(target, roll, nullptr, m.words.data(), m.length, *scratch, ActiveSimdLevel());
        benchmark::ClobberMemory();
    }
    state.counters["MPix/s"] = benchmark::Counter(CoveredPixels(kind, roll) * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

// cairo draws the same commands: vertices through the same view transform, flat fills as solid
// colours, gradients with cairo's own patterns, discs as arcs with alpha.
void SetColour(cairo_t* cr, std::uint32_t c, double alpha)
{
    cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0, alpha);
}

void AddStop(cairo_pattern_t* p, double at, std::uint32_t c)
{
    cairo_pattern_add_color_stop_rgba(p, at, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                                      (c & 0xFF) / 255.0, (c >> 24) / 255.0);
}

// cairo takes doubles; widening a float is exact.
double Wide(float value) { return static_cast<double>(value); }

void CairoDraw(cairo_t* cr, const Mix& m, const ViewTransform& view)
{
    const std::uint32_t* w = m.words.data();
    std::uint64_t p = 0;
    while (p < m.length) {
        const std::uint32_t op = w[p];
        if (op == kOpDisc) {
            if (kDiscWords > m.length - p) break;
            const Vec2 c = ToPixel(view, {WordFloat(w[p + 2]), WordFloat(w[p + 3])});
            cairo_new_path(cr);
            cairo_arc(cr, Wide(c.x), Wide(c.y), 2.0 * Wide(WordFloat(w[p + 4])), 0, 6.283185307);
            SetColour(cr, w[p + 1], Wide(WordFloat(w[p + 5])));
            cairo_fill(cr);
            p += kDiscWords;
            continue;
        }
        const std::uint64_t header = HeaderWords(op);
        if (header > m.length - p) break;
        const std::uint64_t n = w[p + header - 1];
        if (2 * n > m.length - p - header) break;   // a list file cut short
        const std::uint32_t* v = w + p + header;
        cairo_new_path(cr);
        for (std::uint64_t k = 0; k < n; ++k) {
            const Vec2 q = ToPixel(view, {WordFloat(v[2 * k]), WordFloat(v[2 * k + 1])});
            if (k == 0) cairo_move_to(cr, Wide(q.x), Wide(q.y));
            else cairo_line_to(cr, Wide(q.x), Wide(q.y));
        }
        cairo_close_path(cr);
        cairo_pattern_t* pattern = nullptr;
        const auto point = [&](std::uint64_t at) { return ToPixel(view, {WordFloat(w[p + at]), WordFloat(w[p + at + 1])}); };
        if (op == kOpRadialPolygon || op == kOpEllipticPolygon) {
            const Vec2 c = point(op == kOpRadialPolygon ? 3 : 5);
            const double r = 2.0 * Wide(op == kOpRadialPolygon ? WordFloat(w[p + 5]) : std::fabs(WordFloat(w[p + 7])));
            pattern = cairo_pattern_create_radial(Wide(c.x), Wide(c.y), 0, Wide(c.x), Wide(c.y), r);
        } else if (op == kOpLinearPolygon) {
            const Vec2 a = point(5), b = point(7);
            pattern = cairo_pattern_create_linear(Wide(a.x), Wide(a.y), Wide(b.x), Wide(b.y));
        } else if (op == kOpBandPolygon) {
            pattern = cairo_pattern_create_linear(0, 0, 1920, 0);
            AddStop(pattern, 0.5, w[p + 1] | 0xFF000000u);
        }
        if (pattern) {
            AddStop(pattern, 0, w[p + 1]);
            AddStop(pattern, 1, op == kOpBandPolygon ? w[p + 1] : w[p + 2]);
            cairo_set_source(cr, pattern);
        } else {
            SetColour(cr, w[p + 1], 1.0);
        }
        cairo_fill(cr);
        if (pattern) cairo_pattern_destroy(pattern);
        p += header + 2 * n;
    }
}

void Cairo(benchmark::State& state, int kind, float roll)
{
    const Mix& m = GetMix(kind);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kFrameWidth, kFrameHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    const ViewTransform view = MakeViewTransform(roll);
    for (auto _ : state) {
        CairoDraw(cr, m, view);
        cairo_surface_flush(surface);
        benchmark::ClobberMemory();
    }
    state.counters["MPix/s"] = benchmark::Counter(CoveredPixels(kind, roll) * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

// The memory floor: the whole buffer written with one value, by the library's fill and by
// memset (which the C library writes with the widest stores the machine has).
void PlainFill(benchmark::State& state)
{
    std::uint32_t* pixels = Frame().data();
    std::uint32_t value = 0x00123456u;
    for (auto _ : state) {
        std::fill(pixels, pixels + kPixels, value);
        value ^= 1;
        benchmark::ClobberMemory();
    }
    state.counters["MPix/s"] = benchmark::Counter(kPixels * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

void Memset(benchmark::State& state)
{
    std::uint32_t* pixels = Frame().data();
    int value = 0;
    for (auto _ : state) {
        std::memset(pixels, value, kPixels * sizeof(std::uint32_t));
        value ^= 1;
        benchmark::ClobberMemory();
    }
    state.counters["MPix/s"] = benchmark::Counter(kPixels * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

struct Case {
    const char* name;
    MixKind kind;
};

constexpr Case kCases[] = {{"full_screen_flat", kFullScreen}, {"silhouettes", kSilhouettes},
                           {"small_triangles", kSmallTriangles}, {"gradients", kGradients},
                           {"discs", kDiscs}, {"scene", kScene}};

// Keeps each run's time per iteration so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // CPU time: the machine is shared, and waiting for a core is not the rasteriser's cost.
        for (const Run& r : runs) times[r.benchmark_name()] = r.GetAdjustedCPUTime();
    }
    std::map<std::string, double> times;
};

void PrintRatio(const RatioReporter& r, const std::string& a, const std::string& b, const char* what)
{
    // With --benchmark_repetitions the medians are compared.
    auto ia = r.times.find(a + "_median"), ib = r.times.find(b + "_median");
    if (ia == r.times.end()) ia = r.times.find(a);
    if (ib == r.times.end()) ib = r.times.find(b);
    if (ia == r.times.end() || ib == r.times.end() || ib->second <= 0) return;
    std::printf("  %-44s %6.2f  (%s)\n", (a + " / " + b).c_str(), ia->second / ib->second, what);
}

} // namespace
} // namespace veldmark

int main(int argc, char** argv)
{
    using namespace veldmark;
    // --list FILE adds a real frame's display list (raw little-endian words) to the mixes.
    std::vector<char*> rest;
    std::vector<std::string> lists;
    for (int k = 0; k < argc; ++k) {
        if (std::strcmp(argv[k], "--list") == 0 && k + 1 < argc) lists.push_back(argv[++k]);
        else rest.push_back(argv[k]);
    }
    argc = static_cast<int>(rest.size());
    argv = rest.data();
    if (lists.size() > kMaxListFiles) lists.resize(kMaxListFiles);
    std::vector<std::string> list_names;
    for (std::size_t k = 0; k < lists.size(); ++k) {
        if (!LoadListFile(lists[k].c_str(), static_cast<int>(k))) {
            std::fprintf(stderr, "raster_bench: cannot read the display list '%s'\n", lists[k].c_str());
            return 1;
        }
        std::string name = lists[k].substr(lists[k].find_last_of('/') + 1);
        list_names.push_back("list_" + name.substr(0, name.find('.')));
    }
    std::printf("vector path: %s\n", SimdLevelName(ActiveSimdLevel()));
    benchmark::RegisterBenchmark("plain_fill", PlainFill);
    benchmark::RegisterBenchmark("memset", Memset);
    for (const Case& c : kCases)
        for (float roll : {0.0f, 0.1f}) {
            const std::string suffix = std::string(c.name) + (roll == 0.0f ? "" : "/rolled");
            benchmark::RegisterBenchmark(("ours/" + suffix).c_str(), Ours, static_cast<int>(c.kind), roll);
            benchmark::RegisterBenchmark(("cairo/" + suffix).c_str(), Cairo, static_cast<int>(c.kind), roll);
        }
    for (std::size_t k = 0; k < list_names.size(); ++k)
        for (float roll : {0.0f, 0.1f}) {
            const std::string suffix = list_names[k] + (roll == 0.0f ? "" : "/rolled");
            const int kind = kFromFile + static_cast<int>(k);
            benchmark::RegisterBenchmark(("ours/" + suffix).c_str(), Ours, kind, roll);
            benchmark::RegisterBenchmark(("ours_strips/" + suffix).c_str(), OursInStrips, kind, roll);
            benchmark::RegisterBenchmark(("cairo/" + suffix).c_str(), Cairo, kind, roll);
        }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nratios of CPU time per frame (below 1: the first is faster):\n");
    PrintRatio(reporter, "ours/full_screen_flat", "plain_fill", "flat fill against a plain fill");
    PrintRatio(reporter, "ours/full_screen_flat", "memset", "flat fill against memset");
    for (const Case& c : kCases)
        for (const char* suffix : {"", "/rolled"})
            PrintRatio(reporter, std::string("ours/") + c.name + suffix, std::string("cairo/") + c.name + suffix, "ours against cairo");
    for (const std::string& name : list_names)
        for (const char* suffix : {"", "/rolled"}) {
            PrintRatio(reporter, "ours/" + name + suffix, "cairo/" + name + suffix, "ours against cairo");
            PrintRatio(reporter, "ours_strips/" + name + suffix, "cairo/" + name + suffix, "strips against cairo");
        }
    benchmark::Shutdown();
    return 0;
}
