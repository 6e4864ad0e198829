#include "math/matrix.h"

#include <cmath>

double Vector3::LengthSquared() const {
    return x * x + y * y + z * z;
}

double Vector3::Length() const {
    return std::sqrt(LengthSquared());
}

Vector3 operator*(const Vector3& v, double s) {
    return Vector3(s * v.X(), s * v.Y(), s * v.Z());
}

void Matrix4x4::SetIdentity() {
    for (double& v : values) {
        v = 0.0;
    }
    values[0] = 1.0;
    values[5] = 1.0;
    values[10] = 1.0;
    values[15] = 1.0;
}

void Matrix4x4::Rotate(double ax, double ay, double az) {
    // About x: M <- M * Rx, touching columns 1 and 2.
    double a = ax * kRadiansPerDegree;
    double c = std::cos(a);
    double s = std::sin(a);
    for (int i = 0; i < 4; ++i) {
        const double m1 = Element(i, 1);
        const double m2 = Element(i, 2);
        Element(i, 1) = c * m1 + s * m2;
        Element(i, 2) = -s * m1 + c * m2;
    }

    // About y: M <- M * Ry, touching columns 0 and 2.
    a = ay * kRadiansPerDegree;
    c = std::cos(a);
    s = std::sin(a);
    for (int i = 0; i < 4; ++i) {
        const double m0 = Element(i, 0);
        const double m2 = Element(i, 2);
        Element(i, 0) = c * m0 - s * m2;
        Element(i, 2) = s * m0 + c * m2;
    }

    // About z: M <- Rz * M.
    a = az * kRadiansPerDegree;
    c = std::cos(a);
    s = std::sin(a);
    Matrix4x4 r;
    r.Element(0, 0) = c;
    r.Element(0, 1) = s;
    r.Element(1, 0) = -s;
    r.Element(1, 1) = c;
    PreMultiply(r);
}

void Matrix4x4::Scale(double sx, double sy, double sz) {
    const double factors[3] = {sx, sy, sz};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            Element(i, j) *= factors[i];
        }
    }
}

void Matrix4x4::PreMultiply(const Matrix4x4& a) {
    // Into a temporary first, so that a may alias this matrix.
    double product[16];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += a.values[i * 4 + k] * values[k * 4 + j];
            }
            product[i * 4 + j] = sum;
        }
    }
    for (int n = 0; n < 16; ++n) {
        values[n] = product[n];
    }
}

Matrix4x4 Matrix4x4::Transpose() const {
    Matrix4x4 t = *this;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i <= j; ++i) {
            const double v = t.Element(i, j);
            t.Element(i, j) = t.Element(j, i);
            t.Element(j, i) = v;
        }
    }
    return t;
}

void Matrix4x4::GetValues(double out[16]) const {
    for (int n = 0; n < 16; ++n) {
        out[n] = values[n];
    }
}
