#include "scene/tree.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "world/angles.h"
#include "world/float_math.h"

namespace veldmark {
namespace {

// Each crown layer is a cone: its apex, its base (both as fractions of the crown's span from
// the top) and its half-width (a fraction of the widest). Top layer first.
struct CrownLayer {
    float apex;
    float base;
    float half_width;
};
constexpr CrownLayer kCrown[] = {
    {0.0f, 0.3f, 0.35f}, {0.1f, 0.4f, 0.44f}, {0.2f, 0.5f, 0.53f}, {0.3f, 0.6f, 0.63f},
    {0.4f, 0.7f, 0.72f}, {0.5f, 0.8f, 0.81f}, {0.6f, 0.9f, 0.91f}, {0.7f, 1.0f, 1.0f},
};

// Proportions of the tree, as fractions of its height.
constexpr float kCrownTop = 1.088f;     // crown from 1.088 down to 0.44 above the ground
constexpr float kCrownBottom = 0.44f;
constexpr float kCrownSpan = 0.648f;
constexpr float kCrownRadius = 0.288f;  // widest half-width
constexpr float kTrunkTop = 0.49f;
constexpr float kTrunkWidth = 0.08f;
constexpr float kMinimumTrunk = 1.0f;   // logical pixels
constexpr float kMinimumHeight = 1.0f;  // logical pixels
constexpr std::uint32_t kTrunkColour = 0x5A3E22;

// The crown's shading fades out to flat at this depth.
constexpr float kShadeDepth = 80.0f;

constexpr std::size_t kRimPoints = 16;
constexpr std::size_t kLayerPoints = kRimPoints + 1;   // and the centre

// The layer's screen outline: its rim circle in perspective, with the centre so that a layer
// seen edge-on still has a body.
struct Outline {
    Vec2 points[2 * kLayerPoints];
    std::size_t count;
};

// The rim's directions are the same for every layer of every tree, so their sines and cosines
// are worked out once rather than some ten thousand times a frame.
struct RimDirections {
    float sin[kRimPoints];
    float cos[kRimPoints];
};

const RimDirections& Rim()
{
    static const RimDirections rim = [] {
        RimDirections r{};
        for (std::size_t j = 0; j < kRimPoints; ++j) {
            const float a = ((static_cast<float>(j) * 0.0625f) * 2.0f) * kPi;
            r.sin[j] = Sin(a);
            r.cos[j] = Cos(a);
        }
        return r;
    }();
    return rim;
}

float Cross(Vec2 a, Vec2 b, Vec2 p) { return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x); }

bool Before(Vec2 p, Vec2 q) { return p.x < q.x || (p.x == q.x && p.y < q.y); }

void AddToChain(Vec2* chain, std::size_t& n, Vec2 p)
{
    while (n >= 2 && Cross(chain[n - 2], chain[n - 1], p) <= 0.0f) --n;
    chain[n++] = p;
}

// Monotone-chain convex hull of the points, which it sorts by x, then y.
Outline ConvexHull(Vec2 (&points)[kLayerPoints])
{
    for (std::size_t i = 1; i < kLayerPoints; ++i) {
        const Vec2 p = points[i];
        std::size_t j = i;
        for (; j > 0 && Before(p, points[j - 1]); --j) points[j] = points[j - 1];
        points[j] = p;
    }
    Vec2 lower[kLayerPoints];
    Vec2 upper[kLayerPoints];
    std::size_t nl = 0;
    std::size_t nu = 0;
    for (std::size_t i = 0; i < kLayerPoints; ++i) AddToChain(lower, nl, points[i]);
    for (std::size_t i = kLayerPoints; i-- > 0;) AddToChain(upper, nu, points[i]);
    Outline hull{};
    for (std::size_t i = 0; i + 1 < nl; ++i) hull.points[hull.count++] = lower[i];
    for (std::size_t i = 0; i + 1 < nu; ++i) hull.points[hull.count++] = upper[i];
    return hull;
}

struct TreeOnScreen {
    float cx;       // trunk column
    float ground;   // row of the tree's foot
    float height;   // logical pixels
    float top;      // row of the crown's top
};

bool Triangle(DisplayListWriter& out, const TreeOnScreen& s, const CrownLayer& layer,
              std::uint32_t colour)
{
    const float half = (kCrownRadius * s.height) * layer.half_width;
    const float base = s.top + (kCrownSpan * s.height) * layer.base;
    const Vec2 corners[] = {{s.cx, s.top + (kCrownSpan * s.height) * layer.apex},
                            {s.cx + half, base},
                            {s.cx - half, base}};
    return out.FlatPolygon(colour, corners);
}

void RoundLayer(DisplayListWriter& out, const Projection& projection, const VegetationSprite& tree,
                const TreeOnScreen& s, const CrownLayer& layer, float shade)
{
    const float f = projection.focal;
    const float d = tree.depth;
    const float r = (kCrownRadius * layer.half_width) * tree.height;
    if (d - r < kNearDepth) {
        Triangle(out, s, layer, tree.colour);
        return;
    }
    const float lift = tree.height * (kCrownBottom + kCrownSpan * (1.0f - layer.base)) - kEyeHeight;
    const RimDirections& rim = Rim();
    Vec2 points[kLayerPoints];
    for (std::size_t j = 0; j < kRimPoints; ++j) {
        const float dj = d + r * rim.sin[j];
        const float x = tree.camera_x + r * rim.cos[j];
        points[j] = Vec2{projection.centre_x + (f * x) / dj, kHorizonY - (f * lift) / dj};
    }
    points[kRimPoints] = Vec2{s.cx, kHorizonY - (f * lift) / d};
    const Outline hull = ConvexHull(points);
    if (hull.count >= 3) out.BandPolygon(tree.colour, shade, std::span<const Vec2>(hull.points, hull.count));
}

} // namespace

float NearTreeLimit(std::span<const VegetationSprite> vegetation)
{
    // The four smallest depths so far, ascending.
    float nearest[kNearTreeRank];
    std::size_t n = 0;
    for (const VegetationSprite& v : vegetation) {
        std::size_t j = 0;
        if (n < kNearTreeRank) {
            j = n++;
        } else if (v.depth < nearest[kNearTreeRank - 1]) {
            j = kNearTreeRank - 1;
        } else {
            continue;
        }
        for (; j > 0 && v.depth < nearest[j - 1]; --j) nearest[j] = nearest[j - 1];
        nearest[j] = v.depth;
    }
    return n < kNearTreeRank ? std::numeric_limits<float>::infinity() : nearest[kNearTreeRank - 1];
}

void DrawTree(DisplayListWriter& out, const Projection& projection, const VegetationSprite& tree,
              bool near)
{
    const float f = projection.focal;
    const float d = tree.depth;
    TreeOnScreen s{};
    s.ground = kHorizonY + (kEyeHeight * f) / d;
    s.height = (tree.height * f) / d;
    if (!(s.height >= kMinimumHeight)) return;
    s.cx = projection.centre_x + (tree.camera_x * f) / d;
    s.top = s.ground - kCrownTop * s.height;
    const float shade = std::clamp(1.0f - d / kShadeDepth, 0.0f, 1.0f);

    const float w = std::max(kTrunkWidth * s.height, kMinimumTrunk);
    const float trunk_top = s.ground - kTrunkTop * s.height;
    const Vec2 trunk[] = {{s.cx - w / 2.0f, trunk_top},
                          {s.cx + w / 2.0f, trunk_top},
                          {s.cx + w / 2.0f, s.ground},
                          {s.cx - w / 2.0f, s.ground}};
    if (near) {
        out.BandPolygon(kTrunkColour, 1.0f, trunk);
    } else {
        out.FlatPolygon(kTrunkColour, trunk);
    }

    if (d < kRoundCrownDepth) {
        for (const CrownLayer& layer : kCrown) RoundLayer(out, projection, tree, s, layer, shade);
        return;
    }
    for (const CrownLayer& layer : kCrown)
        if (!Triangle(out, s, layer, tree.colour)) return;
}

} // namespace veldmark
