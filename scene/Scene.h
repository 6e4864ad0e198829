// How the cube is shown: its accumulated orientation and zoom, the tumble
// motion, and the drawing of the mesh's six faces as grids of coloured
// polygons whose colours ripple with colorTime.
#pragma once

#include "math/matrix.h"
#include "model/CubeMesh.h"

class DrawGL;

// The colour clock: 0 at program load, +0.01 after every face drawn.
extern double colorTime;

class Scene {
  public:
    Scene() = default;
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Degrees: about x by ax, then y by ay, then z by az.
    void Rotate(double ax, double ay, double az);
    // Scales the picture by factor. A step that would leave the zoom at 0 or
    // infinity (where it could never be divided out again) is refused.
    void ZoomBy(double factor);
    double GetZoom() const { return zoom; }
    void ToggleTumble();
    // One tick of the tumble; nothing while it is off.
    void Step();
    void SetMesh(CubeMesh* newMesh) { mesh = newMesh; }

    // Between StartDraw and FinishDraw: the model transform, then faces 0 to
    // 5. Draws nothing before a mesh is set.
    void Draw(DrawGL& drawGL);
    // (n - 1)^2 polygons through the n x n points, then colorTime += 0.01.
    void DrawFaceGrid(DrawGL& drawGL, const Vector3* points, int n, double faceValue);
    // For a tick whose picture nobody can see: leaves colorTime where Draw
    // would have, face by face, and draws nothing.
    void PassOverDraw();

    const Matrix4x4& GetOrientation() const { return orientation; }
    double GetTumblePhase() const { return tumblePhase; }
    bool IsTumbling() const { return tumbleOn == 1; }

  private:
    double tumblePhase = 0.0;
    int tumbleOn = 0;
    CubeMesh* mesh = nullptr;
    double zoom = 1.0;
    // All rotations so far, its three spatial rows scaled by zoom.
    Matrix4x4 orientation;
};

// The colour of grid vertex (i, j) of an n x n grid at the given phase,
// handed to SetColor.
void SetGridColor(int i, int j, int n, DrawGL& drawGL, double phase);
