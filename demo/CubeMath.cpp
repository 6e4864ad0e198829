#include "demo/CubeMath.h"

#include <cfloat>
#include <cmath>

// The stages must be computed in plain double: no wider intermediate values
// (x87) and no fused multiply-adds (see the build's -ffp-contract=off).
#if FLT_EVAL_METHOD != 0
#error "the cube arithmetic needs FLT_EVAL_METHOD 0 (SSE2 maths)"
#endif
#if defined(__FAST_MATH__)
#error "the cube arithmetic must not be built with -ffast-math"
#endif

namespace {

// pi / 180, the double nearest to it.
constexpr double kRadiansPerDegree = 0.017453292519943295;

double Sin(float degrees) {
    return std::sin(static_cast<double>(Radians(degrees)));
}

double Cos(float degrees) {
    return std::cos(static_cast<double>(Radians(degrees)));
}

}  // namespace

std::int32_t RoundToInt(double value) {
    return static_cast<std::int32_t>(std::lrint(value));
}

float Radians(float degrees) {
    return static_cast<float>(static_cast<double>(degrees) * kRadiansPerDegree);
}

Corner RotateAboutZ(const Corner& in, float degrees) {
    const double x = RoundToInt(in.x);
    const double y = RoundToInt(in.y);
    const double z = RoundToInt(in.z);
    const double c = Cos(degrees);
    const double s = Sin(degrees);
    return {static_cast<float>(x * c - y * s), static_cast<float>(y * c + x * s),
            static_cast<float>(z)};
}

Corner RotateAboutY(const Corner& in, float degrees) {
    const double x = RoundToInt(in.x);
    const double y = RoundToInt(in.y);
    const double z = RoundToInt(in.z);
    const double c = Cos(degrees);
    const double s = Sin(degrees);
    return {static_cast<float>(x * c - z * s), static_cast<float>(y),
            static_cast<float>(z * c + x * s)};
}

Corner RotateAboutX(const Corner& in, float degrees) {
    const double x = RoundToInt(in.x);
    const double y = RoundToInt(in.y);
    const double z = RoundToInt(in.z);
    const double c = Cos(degrees);
    const double s = Sin(degrees);
    return {static_cast<float>(x), static_cast<float>(y * c + z * s),
            static_cast<float>(z * c - y * s)};
}

Corner Project(const Corner& in) {
    const double x = RoundToInt(in.x);
    const double y = RoundToInt(in.y);
    const double z = RoundToInt(in.z);
    const double distance = kViewDistance;
    return {static_cast<float>((x * distance) / (distance - z)),
            static_cast<float>((y * distance) / (distance - z)), static_cast<float>(z)};
}

Corner TransformCorner(const Corner& rest, float angleZ, float angleY, float angleX) {
    return Project(RotateAboutX(RotateAboutY(RotateAboutZ(rest, angleZ), angleY), angleX));
}

ImagePoint ImageCoordinates(const Corner& corner) {
    // The sum is exact in double, so only the final rounding decides.
    return {RoundToInt(static_cast<double>(corner.x) + kCubeCentreX),
            RoundToInt(static_cast<double>(corner.y) + kCubeCentreY)};
}

std::int32_t FacingValue(ImagePoint c1, ImagePoint c2, ImagePoint c3) {
    return (c2.x - c1.x) * (c1.y - c3.y) - (c1.x - c3.x) * (c2.y - c1.y);
}

float AdvanceAngle(float angle, float step) {
    const float next = angle + step;
    return next >= kAngleWrap ? 0.0f : next;
}
