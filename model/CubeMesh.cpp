#include "model/CubeMesh.h"

#include <cstdint>
#include <new>

namespace {

// Beyond this many points per array the mesh is refused rather than
// attempted: 6 * n * n must stay well inside int for the index layout.
constexpr std::int64_t kMaxPoints = std::int64_t{1} << 28;

}  // namespace

CubeMesh::~CubeMesh() {
    Release();
}

void CubeMesh::Release() {
    // Warped first, then rest, as they were made in the other order.
    warpedPoints.reset();
    restPoints.reset();
    gridSize = 0;
    pendingWarp = nullptr;
}

void CubeMesh::Create(int n) {
    Release();
    if (n < 3) {
        return;
    }
    const std::int64_t count = std::int64_t{6} * n * n;
    if (count > kMaxPoints) {
        return;
    }
    restPoints.reset(new (std::nothrow) Vector3[count]);
    warpedPoints.reset(new (std::nothrow) Vector3[count]);
    if (!restPoints || !warpedPoints) {
        Release();
        return;
    }
    gridSize = n;

    const double step = (2.0 * 5.0) / (n - 1);
    const int faceSize = n * n;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const double u = -5.0 + i * step;
            const double v = -5.0 + j * step;
            const double face[6][3] = {
                {u, v, -5.0}, {u, v, 5.0}, {u, -5.0, v}, {u, 5.0, v}, {-5.0, u, v}, {5.0, u, v},
            };
            for (int f = 0; f < 6; ++f) {
                const int k = f * faceSize + i * n + j;
                restPoints[k].Set(face[f][0], face[f][1], face[f][2]);
                warpedPoints[k].Set(face[f][0], face[f][1], face[f][2]);
            }
        }
    }
}

void CubeMesh::ApplyWarp(double t, WarpFunction warp) {
    if (warp == nullptr || gridSize == 0) {
        return;
    }
    pendingWarp = warp;
    pendingTime = t;
}

void CubeMesh::CatchUp() const {
    if (pendingWarp == nullptr) {
        return;
    }
    const int count = 6 * gridSize * gridSize;
    for (int k = 0; k < count; ++k) {
        warpedPoints[k] = pendingWarp(restPoints[k], pendingTime);
    }
    pendingWarp = nullptr;
}

Vector3* CubeMesh::GetFace(int face, int& n) {
    if (gridSize == 0 || face < 0 || face > 5) {
        n = 0;
        return nullptr;
    }
    CatchUp();
    n = gridSize;
    return warpedPoints.get() + face * gridSize * gridSize;
}

const Vector3* CubeMesh::WarpedPoints() const {
    CatchUp();
    return warpedPoints.get();
}
