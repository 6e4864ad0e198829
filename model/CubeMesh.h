// The cube that velmora deforms: six n x n grids of control points spanning
// -5 to +5 on every axis, kept at rest and as last warped. A warp is worked
// out when its points are first looked at: the ticks of a window nobody can
// see warp a mesh that nobody draws, and a warp is pure, so the points come
// out the same whenever it is worked out.
#pragma once

#include <memory>

#include "math/matrix.h"

// A warp: where a rest point is at time t. Pure, keeps no state.
using WarpFunction = Vector3 (*)(const Vector3& rest, double t);

class CubeMesh {
  public:
    CubeMesh() = default;
    CubeMesh(const CubeMesh&) = delete;
    CubeMesh& operator=(const CubeMesh&) = delete;
    ~CubeMesh();

    // Builds the six grids for grid size n. Below 3, or when the arrays
    // cannot be had, the mesh is left empty.
    void Create(int n);
    // warpedPoints[k] = warp(restPoints[k], t) for every k, in order, by the
    // time the warped points are next looked at.
    void ApplyWarp(double t, WarpFunction warp);
    // The first warped point of a face (0 to 5) and the grid size; null and
    // n = 0 for an empty mesh or a face outside 0 to 5.
    Vector3* GetFace(int face, int& n);

    int GridSize() const { return gridSize; }
    // Point (i, j) of face f lives at f * n * n + i * n + j in both arrays.
    const Vector3* RestPoints() const { return restPoints.get(); }
    const Vector3* WarpedPoints() const;

  private:
    void Release();
    // Works out the last warp asked for, if it is not yet.
    void CatchUp() const;

    std::unique_ptr<Vector3[]> restPoints;
    std::unique_ptr<Vector3[]> warpedPoints;
    int gridSize = 0;
    // The warp asked for and not yet worked out; null when there is none.
    mutable WarpFunction pendingWarp = nullptr;
    mutable double pendingTime = 0.0;
};
