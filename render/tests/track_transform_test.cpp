// The track-to-camera transform and the near-plane clip.
#include <gtest/gtest.h>

#include <cmath>

#include "render/near_clip.h"
#include "render/track_transform.h"
#include "render/tests/emitter_fixture.h"

namespace veldmark::test {
namespace {

constexpr float kQuarterTurn = 1.57079637f;

TEST(TrackTransform, PointsInTheCamerasSectionAreMeasuredFromTheCamera)
{
    EmitterFixture f({MakeSection(1000, 4, 0, false)});
    const PlanPoint ahead = f.At(0, 100, 2);
    EXPECT_EQ(ahead.x, 0.0f);
    EXPECT_EQ(ahead.d, 100.0f);
    const PlanPoint right = f.At(0, 50, 5);
    EXPECT_EQ(right.x, 3.0f);
    EXPECT_EQ(right.d, 50.0f);
}

TEST(TrackTransform, TheViewAngleTurnsPointsAboutTheCamera)
{
    // Looking a quarter turn toward +across, a point 10 across the road lies straight ahead.
    EmitterFixture f({MakeSection(1000, 4, 0, false)}, 0.0f, 2.0f, kQuarterTurn);
    const PlanPoint p = f.At(0, 0, 12);
    EXPECT_NEAR(p.x, 0.0f, 1e-5f);
    EXPECT_NEAR(p.d, 10.0f, 1e-5f);
}

TEST(TrackTransform, ARightTurnPivotsAboutTheEdgeAtFullWidth)
{
    EmitterFixture f({MakeSection(100, 4, kQuarterTurn, true), MakeSection(100, 4, 0, false)});
    const PlanPoint pivot = f.At(1, 0, 4);    // the next section starts at the inner corner
    EXPECT_NEAR(pivot.x, 2.0f, 1e-4f);
    EXPECT_NEAR(pivot.d, 100.0f, 1e-4f);
    const PlanPoint along_next = f.At(1, 10, 4);   // ...and runs off to the right
    EXPECT_NEAR(along_next.x, 12.0f, 1e-4f);
    EXPECT_NEAR(along_next.d, 100.0f, 1e-4f);
}

TEST(TrackTransform, ALeftTurnPivotsAboutTheEdgeAtZero)
{
    EmitterFixture f({MakeSection(100, 4, kQuarterTurn, false), MakeSection(100, 4, 0, false)});
    const PlanPoint pivot = f.At(1, 0, 0);
    EXPECT_NEAR(pivot.x, -2.0f, 1e-4f);
    EXPECT_NEAR(pivot.d, 100.0f, 1e-4f);
    const PlanPoint along_next = f.At(1, 10, 0);
    EXPECT_NEAR(along_next.x, -12.0f, 1e-4f);
    EXPECT_NEAR(along_next.d, 100.0f, 1e-4f);
}

// The section behind the camera is described by its own record; carrying a point forward
// through the chain and back through that record must give the point again.
TEST(TrackTransform, TheSectionBehindUndoesTheChainStep)
{
    for (const bool right : {true, false}) {
        SCOPED_TRACE(right ? "right turn" : "left turn");
        const SectionRecord behind = MakeSection(300, 4, 0.7f, right);
        EmitterFixture forward({behind, MakeSection(300, 4, 0, false)}, 0.0f, 0.0f, 0.0f);
        const PlanPoint in_behind = forward.At(1, 7.0f, 1.5f);   // (across, along) of `behind`

        EmitterFixture current({MakeSection(300, 4, 0, false)}, 0.0f, 0.0f, 0.0f);
        const PlanPoint back = TrackToCamera(current.view.chain, current.view.camera,
                                             BehindRef(behind), in_behind.d, in_behind.x);
        EXPECT_NEAR(back.x, 1.5f, 1e-4f);
        EXPECT_NEAR(back.d, 7.0f, 1e-4f);
    }
}

TEST(TrackTransform, AChainLengthPastTheChainReachesNoFurtherThanItsEnd)
{
    EmitterFixture f({MakeSection(100, 4, 0.3f, true), MakeSection(100, 4, 0.2f, false)});
    const PlanPoint end = TrackToCamera(f.view.chain, f.view.camera, ChainRef(2), 5, 1);
    const PlanPoint past = TrackToCamera(f.view.chain, f.view.camera, ChainRef(9), 5, 1);
    EXPECT_EQ(end.x, past.x);
    EXPECT_EQ(end.d, past.d);
}

TEST(NearClip, KeepsAPolygonWhollyInFront)
{
    const CameraPoint quad[] = {{-1, 5, 0}, {1, 5, 0}, {1, 9, 0}, {-1, 9, 0}};
    CameraPoint out[ClipCapacity(4)];
    ASSERT_EQ(ClipNear(quad, 4, out), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(out[i].depth, quad[i].depth);
}

TEST(NearClip, DropsAPolygonWhollyNearerThanThePlane)
{
    const CameraPoint quad[] = {{-1, 0.39f, 0}, {1, 0.39f, 0}, {1, -3, 0}, {-1, -3, 0}};
    CameraPoint out[ClipCapacity(4)];
    EXPECT_EQ(ClipNear(quad, 4, out), 0u);
}

TEST(NearClip, CuttingOneCornerAddsAVertex)
{
    const CameraPoint quad[] = {{0, 0.2f, 0}, {10, 1.0f, 2}, {10, 5, 2}, {0, 5, 0}};
    CameraPoint out[ClipCapacity(4)];
    ASSERT_EQ(ClipNear(quad, 4, out), 5u);
    // In input order: the crossing on the edge leaving the cut corner comes first.
    EXPECT_EQ(out[0].depth, kNearDepth);
    EXPECT_FLOAT_EQ(out[0].lateral, 2.5f);   // a quarter of the way, (0.4 - 0.2) / 0.8
    EXPECT_FLOAT_EQ(out[0].height, 0.5f);
    EXPECT_EQ(out[1].depth, 1.0f);
    EXPECT_EQ(out[3].depth, 5.0f);
    EXPECT_EQ(out[4].depth, kNearDepth);     // the crossing on the edge coming back to it
    EXPECT_EQ(out[4].lateral, 0.0f);
}

TEST(NearClip, CuttingAWholeEndKeepsFourVertices)
{
    const CameraPoint quad[] = {{-1, -2, 0}, {1, -2, 0}, {1, 8, 0}, {-1, 8, 0}};
    CameraPoint out[ClipCapacity(4)];
    ASSERT_EQ(ClipNear(quad, 4, out), 4u);
    int on_plane = 0;
    for (int i = 0; i < 4; ++i) on_plane += out[i].depth == kNearDepth;
    EXPECT_EQ(on_plane, 2);
}

} // namespace
} // namespace veldmark::test
