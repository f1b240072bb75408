#pragma once
// Camera space of the scene: a point relative to the eye has a lateral value (positive to the
// right), a depth (positive ahead) and a height above the ground. The eye stands 1.2 above the
// ground; nothing nearer than depth 0.4 is drawn.
#include <cstddef>

namespace veldmark {

inline constexpr float kEyeHeight = 1.2f;
inline constexpr float kNearDepth = 0.4f;
// The ground falls away by (lateral^2 + depth^2) / this, as on a curved surface, so that the
// road and the ground shapes sink toward the horizon line instead of meeting it flat.
inline constexpr float kGroundCurvature = 200000.0f;

// A point on the ground plan: lateral x and depth d relative to the camera.
struct PlanPoint {
    float x;
    float d;
};

// A point in camera space with its height.
struct CameraPoint {
    float lateral;
    float depth;
    float height;
};

// How camera space lands on the logical screen: the focal length of this frame and the screen
// column straight ahead (half the view width).
struct Projection {
    float focal;
    float centre_x;
};

} // namespace veldmark
