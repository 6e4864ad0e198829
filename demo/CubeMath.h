// The jelly cube's per-frame arithmetic, free of any drawing or window: the
// corner transform stages, the projection onto the frame image, the back-face
// test, the angle advance and the ring slot step.
//
// Every stage reads its coordinates as 32-bit integers rounded to nearest with
// ties to even, computes in double and stores 32-bit floats. The pixels the
// demo draws depend on this to the last bit, so the stages are kept separate
// rather than folded into one rotation matrix.
#pragma once

#include <cstdint>

struct Corner {
    float x = 0;
    float y = 0;
    float z = 0;
};

struct ImagePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

inline constexpr float kAngleWrap = 360.0f;
inline constexpr float kViewDistance = 800.0f;
inline constexpr std::int32_t kCubeCentreX = 160;
inline constexpr std::int32_t kCubeCentreY = 180;

// Nearest integer, ties to even (the default rounding mode).
std::int32_t RoundToInt(double value);

// Degrees to radians: the product is taken in double and kept as a float,
// whose value then feeds sin and cos.
float Radians(float degrees);

Corner RotateAboutZ(const Corner& in, float degrees);
Corner RotateAboutY(const Corner& in, float degrees);
Corner RotateAboutX(const Corner& in, float degrees);
Corner Project(const Corner& in);

// The four stages in the order the demo runs them.
Corner TransformCorner(const Corner& rest, float angleZ, float angleY, float angleX);

// Where a transformed corner lands in the 320 x 360 frame image.
ImagePoint ImageCoordinates(const Corner& corner);

// Twice the signed area of the face's first three corners, with image rows
// growing downwards; positive when the face turns towards the viewer.
std::int32_t FacingValue(ImagePoint c1, ImagePoint c2, ImagePoint c3);
inline bool FaceVisible(ImagePoint c1, ImagePoint c2, ImagePoint c3) {
    return FacingValue(c1, c2, c3) > 0;
}

// One frame's step of an angle: add, then back to exactly 0 once it reaches
// the wrap limit (not reduced by 360).
float AdvanceAngle(float angle, float step);

// The ring of sixteen frame images.
inline std::uint8_t NextSlot(std::uint8_t slot) {
    return static_cast<std::uint8_t>((slot + 1) & 15);
}
