#include "render/tests/reference_rasteriser.h"

#include <cmath>
#include <vector>

namespace veldmark::test {
namespace {

float F(std::uint32_t w) { return WordFloat(w); }
int Ch(std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

struct Record {
    int kind;   // 0 flat, 1 blend, 2 band, 3 radial, 4 linear, 5 elliptic
    std::uint32_t a, b;
    float start, end;
    float minx, maxx;
    float cx, cy, radius;
    float p0x, p0y, p1x, p1y;
    float ux, uy, vx, vy, det;
};

float Clamp01(float t)
{
    if (std::isnan(t)) return 0.0f;
    return std::fmin(std::fmax(t, 0.0f), 1.0f);
}

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, float t, float start, float end)
{
    if (t <= start) return a;
    if (t >= end || start >= end) return b;
    float f = (t - start) / (end - start);
    std::uint32_t out = 0;
    for (int shift : {24, 16, 8, 0}) {
        float v = static_cast<float>(Ch(a, shift)) + static_cast<float>(Ch(b, shift) - Ch(a, shift)) * f + 0.5f;
        out |= static_cast<std::uint32_t>(v) << shift;
    }
    return out;
}

std::uint32_t Blend(std::uint32_t p, std::uint32_t c)
{
    float alpha = static_cast<float>(c >> 24) / 255.0f;
    if (alpha <= 0.0f) return p;
    std::uint32_t out = 0;
    for (int shift : {16, 8, 0}) {
        float v = static_cast<float>(Ch(p, shift)) * (1.0f - alpha) + static_cast<float>(Ch(c, shift)) * alpha + 0.5f;
        out |= static_cast<std::uint32_t>(v) << shift;
    }
    return out;
}

std::uint32_t PixelColour(const Record& r, std::uint32_t p, float x, float y)
{
    switch (r.kind) {
    case 0: return r.a & 0xFFFFFF;
    case 1: return Blend(p, r.a);
    case 2: {
        float t = Clamp01((x - r.minx) / (r.maxx - r.minx));
        std::uint32_t from = t < 0.5f ? r.a : r.b;
        std::uint32_t to = t < 0.5f ? r.b : r.a;
        float f = t < 0.5f ? 2.0f * t : 2.0f * (t - 0.5f);
        std::uint32_t out = 0;
        for (int shift : {16, 8, 0}) {
            float v = static_cast<float>(Ch(from, shift)) + static_cast<float>(Ch(to, shift) - Ch(from, shift)) * f + 0.5f;
            out |= static_cast<std::uint32_t>(v) << shift;
        }
        return out;
    }
    case 3: {
        float t = Clamp01(sqrtf((x - r.cx) * (x - r.cx) + (y - r.cy) * (y - r.cy)) / r.radius);
        return Blend(p, Mix(r.a, r.b, t, 0.0f, 1.0f));
    }
    case 4: {
        float dx = r.p1x - r.p0x, dy = r.p1y - r.p0y;
        float q = dx * dx + dy * dy;
        float t = q < 0.000001f ? 0.0f : ((x - r.p0x) * dx + (y - r.p0y) * dy) / q;
        return Blend(p, Mix(r.a, r.b, Clamp01(t), r.start, r.end));
    }
    default: {
        float qx = x - r.cx, qy = y - r.cy;
        float u = (r.vy * qx - r.vx * qy) / r.det;
        float v = (r.ux * qy - r.uy * qx) / r.det;
        float t = Clamp01(sqrtf(u * u + v * v));
        return Blend(p, Mix(r.a, r.b, t, r.start, r.end));
    }
    }
}

struct View {
    float c, s;
    float X(float x, float y) const { return 2.0f * ((480.0f + (x - 480.0f) * c) + (y - 300.0f) * s); }
    float Y(float x, float y) const { return 2.0f * ((300.0f - (x - 480.0f) * s) + (y - 300.0f) * c); }
};

void Polygon(const RasterTarget& t, const View& view, const std::uint32_t* v, std::uint64_t n,
             const Record& r)
{
    if (n < 3) return;
    std::uint64_t m = n < 1024 ? n : 1024;
    std::vector<float> xs, ys;
    for (std::uint64_t k = 0; k < m; ++k) {
        xs.push_back(view.X(F(v[2 * k]), F(v[2 * k + 1])));
        ys.push_back(view.Y(F(v[2 * k]), F(v[2 * k + 1])));
    }
    for (int i = 0; i < t.height; ++i) {
        float yc = static_cast<float>(i) + 0.5f;
        std::vector<float> crossings;
        for (std::uint64_t k = 1; k <= m; ++k) {
            std::uint64_t from = k - 1, to = k == m ? 0 : k;
            float x0 = xs[from], y0 = ys[from], x1 = xs[to], y1 = ys[to];
            if (std::fmin(y0, y1) <= yc && yc < std::fmax(y0, y1) && !std::isnan(y0) && !std::isnan(y1)) {
                float x = x0 + (x1 - x0) * ((yc - y0) / (y1 - y0));
                if (!std::isnan(x) && crossings.size() < 1024) crossings.push_back(x);
            }
        }
        for (std::size_t k = 1; k < crossings.size(); ++k)
            for (std::size_t j = k; j > 0 && crossings[j - 1] > crossings[j]; --j)
                std::swap(crossings[j], crossings[j - 1]);
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            for (int j = 0; j < t.width; ++j) {
                float centre = static_cast<float>(j) + 0.5f;
                if (!(centre >= crossings[k] && centre <= crossings[k + 1])) continue;
                float x = centre * 0.5f, y = yc * 0.5f;
                if (view.s != 0.0f) {
                    float lx = x - 480.0f, ly = y - 300.0f;
                    x = (480.0f + lx * view.c) - ly * view.s;
                    y = (300.0f + lx * view.s) + ly * view.c;
                }
                std::uint32_t& px = t.pixels[static_cast<std::size_t>(i) * static_cast<std::size_t>(t.width) + static_cast<std::size_t>(j)];
                px = PixelColour(r, px, x, y);
            }
        }
    }
}

void Disc(const RasterTarget& t, const View& view, std::uint32_t colour, const std::uint32_t* w)
{
    float cx = F(w[2]), cy = F(w[3]), radius = F(w[4]), alpha = F(w[5]);
    if (!(radius >= 0.5f && alpha >= 0.02f)) return;
    alpha = std::fmin(alpha, 1.0f);
    float X = view.X(cx, cy), Y = view.Y(cx, cy), R = 2.0f * radius;
    for (int i = 0; i < t.height; ++i)
        for (int j = 0; j < t.width; ++j) {
            float dx = (static_cast<float>(j) + 0.5f) - X, dy = (static_cast<float>(i) + 0.5f) - Y;
            if (!(dx * dx + dy * dy <= R * R)) continue;
            std::uint32_t& px = t.pixels[static_cast<std::size_t>(i) * static_cast<std::size_t>(t.width) + static_cast<std::size_t>(j)];
            std::uint32_t out = px & 0xFF000000u;
            for (int shift : {16, 8, 0}) {
                float v = static_cast<float>(Ch(px, shift)) * (1.0f - alpha) + static_cast<float>(Ch(colour, shift)) * alpha + 0.5f;
                out |= static_cast<std::uint32_t>(v) << shift;
            }
            px = out;
        }
}

int BandTone(int c, float factor)
{
    float v = static_cast<float>(c) * factor;
    if (std::isnan(v) || v < 0.0f) return 0;
    return static_cast<int>(std::fmin(v, 255.0f) + 0.5f);
}

} // namespace

void ReferenceRasterise(const RasterTarget& target, float roll, const std::uint32_t* w,
                        std::uint64_t length)
{
    const View view{cosf(roll), sinf(roll)};
    if (length > 262144) length = 262144;
    std::uint64_t p = 0;
    while (p < length) {
        const std::uint32_t op = w[p];
        const std::uint64_t header = op == 1 ? 4 : op == 3 ? 6 : op == 4 ? 7 : op == 5 ? 10 : op == 6 ? 12 : 3;
        if (p + header > length) return;
        if (op == 3) {
            Disc(target, view, w[p + 1], w + p);
            p += 6;
            continue;
        }
        const std::uint64_t n = w[p + header - 1];
        if (p + header + 2 * n > length) return;
        const std::uint32_t* v = w + p + header;
        Record r{};
        r.kind = 0;
        r.a = w[p + 1];
        bool fill = true;
        if (op == 1) {
            float s = F(w[p + 2]);
            float minx = INFINITY, maxx = -INFINITY;
            for (std::uint64_t k = 0; k < n; ++k) {
                minx = std::fmin(minx, F(v[2 * k]));
                maxx = std::fmax(maxx, F(v[2 * k]));
            }
            if (!(s <= 0.0f || (maxx - minx) < 1.0f)) {
                r.kind = 2;
                r.minx = minx;
                r.maxx = maxx;
                int dark[3], light[3];
                for (int k = 0; k < 3; ++k) {
                    int c = Ch(w[p + 1], 16 - 8 * k);
                    dark[k] = BandTone(c, 1.0f - 0.4f * s);
                    light[k] = BandTone(c, 1.0f + 0.25f * s);
                }
                r.a = static_cast<std::uint32_t>(dark[0] << 16 | dark[1] << 8 | dark[2]);
                r.b = static_cast<std::uint32_t>(light[0] << 16 | light[1] << 8 | light[2]);
            }
        } else if (op == 4) {
            r.kind = 3;
            r.b = w[p + 2];
            r.cx = F(w[p + 3]);
            r.cy = F(w[p + 4]);
            r.radius = F(w[p + 5]);
            fill = r.radius >= 0.5f;
        } else if (op == 5 || op == 6) {
            r.b = w[p + 2];
            r.start = std::isnan(F(w[p + 3])) ? 0.0f : std::fmin(std::fmax(F(w[p + 3]), 0.0f), 1.0f);
            r.end = std::isnan(F(w[p + 4])) ? 1.0f : std::fmax(std::fmin(F(w[p + 4]), 1.0f), r.start);
            if (op == 5) {
                r.kind = 4;
                r.p0x = F(w[p + 5]);
                r.p0y = F(w[p + 6]);
                r.p1x = F(w[p + 7]);
                r.p1y = F(w[p + 8]);
            } else {
                r.cx = F(w[p + 5]);
                r.cy = F(w[p + 6]);
                r.ux = F(w[p + 7]);
                r.uy = F(w[p + 8]);
                r.vx = F(w[p + 9]);
                r.vy = F(w[p + 10]);
                r.det = r.ux * r.vy - r.uy * r.vx;
                r.kind = std::fabs(r.det) < 0.0001f ? 1 : 5;
            }
        }
        if (fill) Polygon(target, view, v, n, r);
        p += header + 2 * n;
    }
}

} // namespace veldmark::test
