#include "model/Warps.h"

#include <cmath>

double RemapRange(double inLow, double inHigh, double outLow, double outHigh, double value) {
    return (outHigh - outLow) / (inHigh - inLow) * (value - inLow) + outLow;
}

Vector3 WobbleWarp(const Vector3& p, double t) {
    double x, y, z;
    p.Get(x, y, z);
    const double fx = RemapRange(-1.0, 1.0, 0.8, 1.2, std::cos(z / 5.0 + t));
    const double fy = RemapRange(-1.0, 1.0, 0.8, 1.2, std::sin(z / 6.0 + 1.1 * t));
    const double fz = RemapRange(-1.0, 1.0, 0.8, 1.2, std::sin((y + x) / 15.0 + 1.23 * t));
    return Vector3(fx * x, fy * y, fz * z);
}

Vector3 TwistWarp(const Vector3& p, double t) {
    double x, y, z;
    p.Get(x, y, z);
    const double a = std::sin(t) * z / 10.0;
    return Vector3(std::cos(a) * x - std::sin(a) * y, std::cos(a) * y + std::sin(a) * x, z);
}

Vector3 BulgeWarp(const Vector3& p, double t) {
    const double r = p.Length();
    const double k = RemapRange(-1.0, 1.0, -0.3, 1.2, std::sin(t));
    const double s = (k * (7.07 - r) + 7.07) / 7.07;
    return p * s;
}

const WarpFunction warpTable[] = {WobbleWarp, TwistWarp, WobbleWarp, BulgeWarp, nullptr};

void WarpMesh(double t, CubeMesh* mesh, int warpIndex) {
    if (mesh == nullptr) {
        return;
    }
    unsigned count = 0;
    while (warpTable[count] != nullptr) {
        ++count;
    }
    // The magnitude is taken unsigned: negating the most negative int
    // would overflow, its magnitude does not.
    const unsigned magnitude =
        warpIndex < 0 ? 0u - static_cast<unsigned>(warpIndex) : static_cast<unsigned>(warpIndex);
    mesh->ApplyWarp(t, warpTable[magnitude % count]);
}
