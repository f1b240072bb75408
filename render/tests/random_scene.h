#pragma once
// Seeded random display lists of every command kind, for comparing fast paths with the
// reference: shapes over a given logical area and a little past it, some with edges snapped to
// pixel centres, some degenerate.
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "render/display_list.h"

namespace veldmark::test {

class RandomScene {
public:
    // Shapes are placed over a logical area of `width` by `height` units and a little past it.
    RandomScene(std::uint32_t seed, float width, float height) : rng_(seed), width_(width), height_(height) {}

    float Coord(float low, float high) { return std::uniform_real_distribution<float>(low, high)(rng_); }
    std::uint32_t Colour() { return static_cast<std::uint32_t>(rng_()); }
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(rng_); }

    // Some vertices are snapped to half units so that edges meet pixel centres exactly.
    std::vector<Vec2> Polygon()
    {
        const int n = 3 + Pick(Pick(4) == 0 ? 40 : 6);
        const float cx = Coord(-20, width_ + 20), cy = Coord(-20, height_ + 20);
        const float size = Coord(1, Pick(3) == 0 ? width_ : width_ / 8);
        std::vector<Vec2> v;
        for (int k = 0; k < n; ++k) {
            Vec2 p{cx + Coord(-size, size), cy + Coord(-size, size)};
            if (Pick(3) == 0) p = {std::round(p.x * 2) / 2, std::round(p.y * 2) / 2};
            v.push_back(p);
        }
        return v;
    }

    void AddCommand(DisplayListWriter& w)
    {
        const std::vector<Vec2> v = Polygon();
        const Vec2 a{Coord(0, width_), Coord(0, height_)}, b{Coord(0, width_), Coord(0, height_)};
        switch (Pick(7)) {
        case 0: w.BandPolygon(Colour(), Coord(-0.5f, 3.0f), v); break;
        case 1: w.Disc(Colour(), a, Coord(0, width_ / 8), Coord(0, 1.1f)); break;
        case 2: w.RadialPolygon(Colour(), Colour(), a, Coord(0, width_ / 2), v); break;
        case 3: w.LinearPolygon(Colour(), Colour(), Coord(-0.2f, 1.2f), Coord(-0.2f, 1.2f), a, Pick(5) ? b : a, v); break;
        case 4:
            w.EllipticPolygon(Colour(), Colour(), Coord(-0.2f, 1.2f), Coord(-0.2f, 1.2f), a,
                              {Coord(-200, 200), Coord(-200, 200)},
                              Pick(5) ? Vec2{Coord(-200, 200), Coord(-200, 200)} : Vec2{0, 0.00001f}, v);
            break;
        default: w.FlatPolygon(Colour(), v); break;
        }
    }

private:
    std::mt19937 rng_;
    float width_;
    float height_;
};

} // namespace veldmark::test
