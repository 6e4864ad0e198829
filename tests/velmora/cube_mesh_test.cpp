#include "model/CubeMesh.h"

#include <gtest/gtest.h>

namespace {

void ExpectPoint(const Vector3& p, double x, double y, double z, double tolerance = 0) {
    EXPECT_NEAR(p.X(), x, tolerance);
    EXPECT_NEAR(p.Y(), y, tolerance);
    EXPECT_NEAR(p.Z(), z, tolerance);
}

int calls = 0;
Vector3 CountingWarp(const Vector3& p, double) {
    ++calls;
    return p * 2.0;
}
Vector3 Unchanged(const Vector3& p, double) {
    return p;
}

}  // namespace

TEST(CubeMesh, GridOfTwentyHasTheDescribedPoints) {
    CubeMesh mesh;
    mesh.Create(20);
    int n = -1;
    Vector3* face0 = mesh.GetFace(0, n);
    ASSERT_EQ(n, 20);
    ASSERT_NE(face0, nullptr);
    ExpectPoint(face0[0], -5, -5, -5);

    Vector3* face5 = mesh.GetFace(5, n);
    ExpectPoint(face5[0 * 20 + 19], 5, -5, 5);  // exactly 5, no rounding slack

    Vector3* face3 = mesh.GetFace(3, n);
    ExpectPoint(face3[10 * 20 + 0], -5 + 10 * (10.0 / 19), 5, -5, 1e-15);

    // The six blocks start n * n apart and cover the whole warped array.
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(mesh.GetFace(f, n), mesh.WarpedPoints() + f * 400);
    }
    // Rest and warped agree until the first warp; edges are duplicated.
    for (int k = 0; k < 2400; ++k) {
        ExpectPoint(mesh.WarpedPoints()[k], mesh.RestPoints()[k].X(), mesh.RestPoints()[k].Y(),
                    mesh.RestPoints()[k].Z());
    }
    ExpectPoint(mesh.RestPoints()[0 * 400 + 7 * 20], mesh.RestPoints()[2 * 400 + 7 * 20].X(), -5,
                -5);
}

TEST(CubeMesh, GridOfThreeSpansMinusFiveToFive) {
    CubeMesh mesh;
    mesh.Create(3);
    int n = 0;
    Vector3* face1 = mesh.GetFace(1, n);
    ASSERT_EQ(n, 3);
    ExpectPoint(face1[1 * 3 + 1], 0, 0, 5);
    for (int k = 0; k < 54; ++k) {
        for (double c :
             {mesh.RestPoints()[k].X(), mesh.RestPoints()[k].Y(), mesh.RestPoints()[k].Z()}) {
            EXPECT_TRUE(c == -5 || c == 0 || c == 5) << c;
        }
    }
}

TEST(CubeMesh, SmallOrNegativeGridsStayEmptyAndSafe) {
    for (int size : {2, 1, 0, -7}) {
        CubeMesh mesh;
        mesh.Create(size);
        calls = 0;
        mesh.ApplyWarp(0.5, CountingWarp);
        EXPECT_EQ(calls, 0) << size;
        int n = -1;
        EXPECT_EQ(mesh.GetFace(0, n), nullptr);
        EXPECT_EQ(n, 0);
    }
}

TEST(CubeMesh, ImpossibleSizeLeavesMeshEmpty) {
    CubeMesh mesh;
    mesh.Create(1 << 20);  // 6 * 2^40 points: refused, not attempted
    int n = -1;
    EXPECT_EQ(mesh.GetFace(0, n), nullptr);
    EXPECT_EQ(n, 0);
    mesh.ApplyWarp(0.0, Unchanged);
}

TEST(CubeMesh, WarpReadsRestPointsOnly) {
    CubeMesh mesh;
    mesh.Create(4);
    calls = 0;
    mesh.ApplyWarp(0.0, CountingWarp);
    ExpectPoint(mesh.WarpedPoints()[0], -10, -10, -10);
    mesh.ApplyWarp(0.0, CountingWarp);
    // Twice doubled is still only doubled: warps never accumulate.
    ExpectPoint(mesh.WarpedPoints()[0], -10, -10, -10);
    EXPECT_EQ(calls, 2 * 6 * 16);
    // A warp that nobody looks at before the next one is never worked out:
    // the ticks of a window nobody sees cost no warping.
    for (int tick = 0; tick < 50; ++tick) {
        mesh.ApplyWarp(0.05 * tick, CountingWarp);
    }
    mesh.ApplyWarp(0.0, Unchanged);
    EXPECT_EQ(calls, 2 * 6 * 16);
    for (int k = 0; k < 96; ++k) {
        ExpectPoint(mesh.WarpedPoints()[k], mesh.RestPoints()[k].X(), mesh.RestPoints()[k].Y(),
                    mesh.RestPoints()[k].Z());
    }
}

TEST(CubeMesh, FaceOutsideTheCubeGivesNothing) {
    CubeMesh mesh;
    mesh.Create(5);
    int n = -1;
    EXPECT_EQ(mesh.GetFace(6, n), nullptr);
    EXPECT_EQ(mesh.GetFace(-1, n), nullptr);
    EXPECT_EQ(n, 0);
}
