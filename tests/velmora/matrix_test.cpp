#include "math/matrix.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void ExpectRows(const Matrix4x4& m, const double (&rows)[16], double tolerance) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_NEAR(m.At(i, j), rows[i * 4 + j], tolerance) << "row " << i << " column " << j;
        }
    }
}

// A plain 4 x 4 product, written independently of PreMultiply.
Matrix4x4 Product(const Matrix4x4& a, const Matrix4x4& b) {
    double v[16];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            v[i * 4 + j] = a.At(i, 0) * b.At(0, j) + a.At(i, 1) * b.At(1, j) +
                           a.At(i, 2) * b.At(2, j) + a.At(i, 3) * b.At(3, j);
        }
    }
    return Matrix4x4(v);
}

Matrix4x4 Irregular() {
    const double v[16] = {0.3,  -1.2, 2.5, 0.7,  1.1,  0.4, -0.6,  3.0,
                          -2.2, 0.9,  1.7, -0.1, 0.05, 0.8, -0.35, 1.0};
    return Matrix4x4(v);
}

}  // namespace

TEST(Vector3, DefaultIsUnitZAndArithmeticIsPlain) {
    Vector3 v;
    double x, y, z;
    v.Get(x, y, z);
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);
    EXPECT_EQ(z, 1.0);
    EXPECT_EQ(v.Length(), 1.0);

    EXPECT_EQ(Vector3(3, 4, 0).Length(), 5.0);

    const Vector3 a(1, 2, 3);
    const Vector3 b = a * 2.0;
    EXPECT_EQ(b.X(), 2.0);
    EXPECT_EQ(b.Y(), 4.0);
    EXPECT_EQ(b.Z(), 6.0);
    EXPECT_EQ(a.X(), 1.0);
    EXPECT_EQ(a.Z(), 3.0);
}

TEST(Matrix4x4, RotateByZeroChangesNothingExactly) {
    Matrix4x4 m = Irregular();
    m.Rotate(0, 0, 0);
    double got[16], want[16];
    m.GetValues(got);
    Irregular().GetValues(want);
    for (int n = 0; n < 16; ++n) {
        EXPECT_EQ(got[n], want[n]) << n;
    }
}

TEST(Matrix4x4, RotateQuarterTurnsAboutXAndZ) {
    Matrix4x4 rx;
    rx.Rotate(90, 0, 0);
    ExpectRows(rx, {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1}, 1e-15);

    Matrix4x4 rz;
    rz.Rotate(0, 0, 90);
    ExpectRows(rz, {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 1e-15);
    // A positive turn about z takes (1, 0, 0) towards (0, -1, 0).
    EXPECT_NEAR(rz.At(1, 0), -1.0, 1e-15);
}

TEST(Matrix4x4, RotateIsZTimesMTimesXTimesY) {
    const double ax = 17, ay = -41, az = 123;
    const double d = kRadiansPerDegree;
    const double rxRows[16] = {1,
                               0,
                               0,
                               0,
                               0,
                               std::cos(ax * d),
                               -std::sin(ax * d),
                               0,
                               0,
                               std::sin(ax * d),
                               std::cos(ax * d),
                               0,
                               0,
                               0,
                               0,
                               1};
    const double ryRows[16] = {std::cos(ay * d),  0, std::sin(ay * d), 0, 0, 1, 0, 0,
                               -std::sin(ay * d), 0, std::cos(ay * d), 0, 0, 0, 0, 1};
    const double rzRows[16] = {std::cos(az * d),
                               std::sin(az * d),
                               0,
                               0,
                               -std::sin(az * d),
                               std::cos(az * d),
                               0,
                               0,
                               0,
                               0,
                               1,
                               0,
                               0,
                               0,
                               0,
                               1};
    const Matrix4x4 expected = Product(
        Product(Product(Matrix4x4(rzRows), Irregular()), Matrix4x4(rxRows)), Matrix4x4(ryRows));
    Matrix4x4 m = Irregular();
    m.Rotate(ax, ay, az);
    double want[16];
    expected.GetValues(want);
    ExpectRows(m, want, 1e-12);
}

TEST(Matrix4x4, ScaleRoundTripIsExactAndLeavesRowThree) {
    Matrix4x4 m;
    m.Scale(2, 2, 2);
    ExpectRows(m, {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1}, 0);
    m.Scale(0.5, 0.5, 0.5);
    ExpectRows(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, 0);

    Matrix4x4 a = Irregular();
    a.Scale(3, 5, 7);
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(a.At(0, j), Irregular().At(0, j) * 3);
        EXPECT_EQ(a.At(1, j), Irregular().At(1, j) * 5);
        EXPECT_EQ(a.At(2, j), Irregular().At(2, j) * 7);
        EXPECT_EQ(a.At(3, j), Irregular().At(3, j));
    }
}

TEST(Matrix4x4, PreMultiplyBySelfSquares) {
    Matrix4x4 m = Irregular();
    m.PreMultiply(m);
    double want[16];
    Product(Irregular(), Irregular()).GetValues(want);
    ExpectRows(m, want, 1e-14);
}

TEST(Matrix4x4, TransposeReturnsANewMatrix) {
    double v[16];
    for (int n = 0; n < 16; ++n) {
        v[n] = n;
    }
    const Matrix4x4 m(v);
    const Matrix4x4 t = m.Transpose();
    double got[16];
    t.GetValues(got);
    const double want[16] = {0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15};
    for (int n = 0; n < 16; ++n) {
        EXPECT_EQ(got[n], want[n]) << n;
    }
    m.GetValues(got);
    for (int n = 0; n < 16; ++n) {
        EXPECT_EQ(got[n], n);
    }
}
