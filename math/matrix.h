// Velmora's geometry: a point of three doubles and a 4 x 4 matrix acting on
// column vectors. Plain values, no heap, no failure paths.
#pragma once

class Vector3 {
  public:
    Vector3() = default;
    Vector3(double x, double y, double z) : x(x), y(y), z(z) {}

    void Set(double newX, double newY, double newZ) {
        x = newX;
        y = newY;
        z = newZ;
    }
    void Get(double& outX, double& outY, double& outZ) const {
        outX = x;
        outY = y;
        outZ = z;
    }
    double X() const { return x; }
    double Y() const { return y; }
    double Z() const { return z; }

    double LengthSquared() const;
    double Length() const;

  private:
    // Default (0, 0, 1): a unit vector along z, not the origin.
    double x = 0.0;
    double y = 0.0;
    double z = 1.0;
};

// A new vector (s * x, s * y, s * z); v is unchanged.
Vector3 operator*(const Vector3& v, double s);

class Matrix4x4 {
  public:
    Matrix4x4() { SetIdentity(); }
    // From 16 values in storage order (row-major).
    explicit Matrix4x4(const double (&rowMajor)[16]) {
        for (int n = 0; n < 16; ++n) {
            values[n] = rowMajor[n];
        }
    }

    void SetIdentity();
    // Turns about x by ax, then about y by ay (both from the right), then
    // about z by az (from the left): M <- Rz * M * Rx * Ry. Degrees.
    void Rotate(double ax, double ay, double az);
    // M <- diag(sx, sy, sz, 1) * M.
    void Scale(double sx, double sy, double sz);
    // M <- A * M; A may be this matrix itself.
    void PreMultiply(const Matrix4x4& a);
    Matrix4x4 Transpose() const;
    // The 16 values in storage order: row i, column j at i * 4 + j.
    void GetValues(double out[16]) const;

    double At(int row, int column) const { return values[row * 4 + column]; }

  private:
    double& Element(int row, int column) { return values[row * 4 + column]; }

    double values[16];
};

// Degrees to radians, as a double.
inline constexpr double kRadiansPerDegree = 0.017453292519943295;
