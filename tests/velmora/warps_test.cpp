#include "model/Warps.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

void ExpectNear(const Vector3& p, double x, double y, double z, double tolerance = 5e-5) {
    EXPECT_NEAR(p.X(), x, tolerance);
    EXPECT_NEAR(p.Y(), y, tolerance);
    EXPECT_NEAR(p.Z(), z, tolerance);
}

bool SameMesh(const CubeMesh& a, const CubeMesh& b) {
    const int count = 6 * a.GridSize() * a.GridSize();
    for (int k = 0; k < count; ++k) {
        const Vector3& p = a.WarpedPoints()[k];
        const Vector3& q = b.WarpedPoints()[k];
        if (p.X() != q.X() || p.Y() != q.Y() || p.Z() != q.Z()) {
            return false;
        }
    }
    return true;
}

}  // namespace

TEST(RemapRange, MapsLinearlyWithoutClamping) {
    EXPECT_EQ(RemapRange(-1, 1, 0.8, 1.2, 1), 1.2);
    EXPECT_EQ(RemapRange(-1, 1, 0.8, 1.2, -1), 0.8);
    EXPECT_EQ(RemapRange(-1, 1, 0.8, 1.2, 0), 1.0);
    EXPECT_EQ(RemapRange(-1, 1, -0.3, 1.2, 0), 0.45);
    EXPECT_NEAR(RemapRange(-1, 1, 0.8, 1.2, 3), 1.6, 1e-15);
}

TEST(Warps, WorkedPoints) {
    ExpectNear(WobbleWarp(Vector3(5, 0, 0), 0), 6, 0, 0);
    ExpectNear(WobbleWarp(Vector3(0, 0, 5), 0), 0, 0, 5);
    ExpectNear(WobbleWarp(Vector3(5, 5, 5), 0), 5.5403, 5.7402, 5.6184);

    const Vector3 twisted = TwistWarp(Vector3(1.5, -2.5, 4), 0);
    EXPECT_EQ(twisted.X(), 1.5);
    EXPECT_EQ(twisted.Y(), -2.5);
    EXPECT_EQ(twisted.Z(), 4.0);
    ExpectNear(TwistWarp(Vector3(5, 0, 5), kPi / 2), 4.3879, 2.3971, 5);
    ExpectNear(TwistWarp(Vector3(5, 0, -5), kPi / 2), 4.3879, -2.3971, -5);

    ExpectNear(BulgeWarp(Vector3(0, 0, 5), 0), 0, 0, 5.6588);
    ExpectNear(BulgeWarp(Vector3(5, 5, 5), 0), 4.4939, 4.4939, 4.4939);
    ExpectNear(BulgeWarp(Vector3(0, 0, 5), kPi / 2), 0, 0, 6.7567);
    ExpectNear(BulgeWarp(Vector3(0, 0, 5), 3 * kPi / 2), 0, 0, 4.5608);
    ExpectNear(BulgeWarp(Vector3(5, 5, 5), 3 * kPi / 2), 5.3374, 5.3374, 5.3374);
    // The centre needs no special case.
    ExpectNear(BulgeWarp(Vector3(0, 0, 0), 1.0), 0, 0, 0, 0);
}

TEST(WarpMesh, IndexFoldsByMagnitudeModuloFour) {
    const double t = 0.85;
    auto warped = [t](int index) {
        auto mesh = std::make_unique<CubeMesh>();
        mesh->Create(6);
        WarpMesh(t, mesh.get(), index);
        return mesh;
    };
    auto direct = [t](WarpFunction w) {
        auto mesh = std::make_unique<CubeMesh>();
        mesh->Create(6);
        mesh->ApplyWarp(t, w);
        return mesh;
    };
    EXPECT_TRUE(SameMesh(*warped(2), *warped(0)));
    EXPECT_TRUE(SameMesh(*warped(-3), *warped(3)));
    EXPECT_TRUE(SameMesh(*warped(9), *warped(1)));
    EXPECT_TRUE(SameMesh(*warped(-1), *direct(TwistWarp)));
    EXPECT_TRUE(SameMesh(*warped(3), *direct(BulgeWarp)));
    EXPECT_FALSE(SameMesh(*warped(3), *warped(1)));
    // The most negative index has magnitude 2^31, a multiple of four.
    EXPECT_TRUE(SameMesh(*warped(INT_MIN), *direct(WobbleWarp)));
    EXPECT_TRUE(SameMesh(*warped(INT_MAX), *direct(BulgeWarp)));
    WarpMesh(t, nullptr, 1);
}

TEST(WarpMesh, SameTimeAndIndexGiveIdenticalPoints) {
    CubeMesh a, b;
    a.Create(20);
    b.Create(20);
    WarpMesh(2.35, &a, 1);
    WarpMesh(7.0, &b, 3);
    WarpMesh(0.4, &b, 0);
    WarpMesh(2.35, &b, 1);
    EXPECT_TRUE(SameMesh(a, b));
}
