#include "tests/velmora/FrameProjection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "shell/App.h"
#include "shell/Platform.h"

FrameState CurrentFrameState() {
    const int count = 6 * theMesh.GridSize() * theMesh.GridSize();
    return FrameState{std::vector<Vector3>(theMesh.WarpedPoints(), theMesh.WarpedPoints() + count),
                      theScene.GetOrientation()};
}

namespace {

// Window position (x right, y down, in pixels) of a mesh point: the point
// through the orientation, the half scale and 4 units in front of the eye,
// then a 30 degree perspective over a width x height window.
void Project(const Vector3& p, const Matrix4x4& m, int width, int height, double& x, double& y) {
    const double in[3] = {p.X(), p.Y(), p.Z()};
    double eye[3];
    for (int i = 0; i < 3; ++i) {
        eye[i] = 0.5 * (m.At(i, 0) * in[0] + m.At(i, 1) * in[1] + m.At(i, 2) * in[2]);
    }
    eye[2] -= 4.0;
    const double f = 1.0 / std::tan(15.0 * 3.141592653589793 / 180.0);
    const double aspect = static_cast<double>(width) / height;
    const double ndcX = f / aspect * eye[0] / -eye[2];
    const double ndcY = f * eye[1] / -eye[2];
    x = (ndcX + 1.0) * 0.5 * width;
    y = (1.0 - ndcY) * 0.5 * height;
}

// Marks the pixels whose centres lie in the triangle (edges included).
void FillTriangle(const double (&v)[3][2], int width, int height, Mask& mask) {
    const double area =
        (v[1][0] - v[0][0]) * (v[2][1] - v[0][1]) - (v[2][0] - v[0][0]) * (v[1][1] - v[0][1]);
    if (area == 0.0) {
        return;
    }
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({v[0][0], v[1][0], v[2][0]}))));
    const int x1 = std::min(width - 1, static_cast<int>(std::max({v[0][0], v[1][0], v[2][0]})));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({v[0][1], v[1][1], v[2][1]}))));
    const int y1 = std::min(height - 1, static_cast<int>(std::max({v[0][1], v[1][1], v[2][1]})));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            bool inside = true;
            for (int e = 0; e < 3 && inside; ++e) {
                const double* a = v[e];
                const double* b = v[(e + 1) % 3];
                const double side = (b[0] - a[0]) * (py - a[1]) - (px - a[0]) * (b[1] - a[1]);
                inside = area > 0 ? side >= 0 : side <= 0;
            }
            if (inside) {
                mask[static_cast<std::size_t>(y) * width + x] = true;
            }
        }
    }
}

}  // namespace

Mask ProjectedMask(const FrameState& state, int width, int height) {
    Mask mask(static_cast<std::size_t>(width) * height, false);
    const int n = theMesh.GridSize();
    for (int f = 0; f < 6; ++f) {
        const Vector3* face = &state.points[static_cast<std::size_t>(f) * n * n];
        for (int i = 0; i + 1 < n; ++i) {
            for (int j = 0; j + 1 < n; ++j) {
                double c[4][2];
                const int corners[4] = {i * n + j, (i + 1) * n + j, (i + 1) * n + j + 1,
                                        i * n + j + 1};
                for (int k = 0; k < 4; ++k) {
                    Project(face[corners[k]], state.orientation, width, height, c[k][0], c[k][1]);
                }
                const double first[3][2] = {
                    {c[0][0], c[0][1]}, {c[1][0], c[1][1]}, {c[2][0], c[2][1]}};
                const double second[3][2] = {
                    {c[0][0], c[0][1]}, {c[2][0], c[2][1]}, {c[3][0], c[3][1]}};
                FillTriangle(first, width, height, mask);
                FillTriangle(second, width, height, mask);
            }
        }
    }
    return mask;
}

double IntersectionOverUnion(const Mask& a, const Mask& b) {
    std::size_t both = 0;
    std::size_t either = 0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        both += a[k] && b[k];
        either += a[k] || b[k];
    }
    return either == 0 ? 0.0 : static_cast<double>(both) / either;
}

std::size_t Count(const Mask& mask) {
    return static_cast<std::size_t>(std::count(mask.begin(), mask.end(), true));
}

Mask UpsideDown(const Mask& mask, int width, int height) {
    Mask turned(mask.size(), false);
    for (int y = 0; y < height; ++y) {
        std::copy_n(mask.begin() + static_cast<std::ptrdiff_t>(height - 1 - y) * width, width,
                    turned.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    return turned;
}

void CompareFrames(int firstTick, int lastTick, std::initializer_list<int> checked,
                   const std::function<Mask()>& frameMask, double threshold) {
    int width = 0;
    int height = 0;
    GetClientSize(width, height);
    for (int tick = firstTick; tick <= lastTick; ++tick) {
        const FrameState before = CurrentFrameState();
        OnTimer();
        if (std::find(checked.begin(), checked.end(), tick) == checked.end()) {
            continue;
        }
        const Mask frame = frameMask();
        const Mask expected = ProjectedMask(CurrentFrameState(), width, height);
        const double iou = IntersectionOverUnion(frame, expected);
        SCOPED_TRACE(testing::Message() << width << " x " << height << ", tick " << tick);
        EXPECT_GT(Count(expected), static_cast<std::size_t>(width * height / 50));
        EXPECT_GE(iou, threshold);
        // The comparison can tell a frame one tick late or upside down.
        EXPECT_LT(IntersectionOverUnion(frame, ProjectedMask(before, width, height)), threshold);
        EXPECT_LT(IntersectionOverUnion(UpsideDown(frame, width, height), expected), threshold);
    }
}
