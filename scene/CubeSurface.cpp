// The cube surface: six faces of coloured, lit polygons, drawn in immediate
// mode every frame. Nothing is cached: the colours move with colorTime, so
// every vertex is coloured again on every frame.
#include <cmath>

#include "render/DrawGL.h"
#include "scene/Scene.h"

double colorTime = 0.0;

namespace {

// One face's step of the colour clock. A frame left undrawn takes the same
// six steps, so its clock stays equal to the bit to a drawn frame's.
void AdvanceColorTime() {
    colorTime += 0.01;
}

}  // namespace

void Scene::Draw(DrawGL& drawGL) {
    if (mesh == nullptr) {
        return;
    }
    drawGL.SetModelTransform(orientation);
    for (int f = 0; f < 6; ++f) {
        int n = 0;
        const Vector3* points = mesh->GetFace(f, n);
        DrawFaceGrid(drawGL, points, n, f);
    }
}

void Scene::PassOverDraw() {
    if (mesh == nullptr) {
        return;
    }
    for (int f = 0; f < 6; ++f) {
        AdvanceColorTime();
    }
}

void Scene::DrawFaceGrid(DrawGL& drawGL, const Vector3* points, int n, double faceValue) {
    const double phase = 5.0 * colorTime + faceValue;
    for (int i = 0; i + 1 < n; ++i) {
        for (int j = 0; j + 1 < n; ++j) {
            const int corners[4][2] = {{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}};
            drawGL.BeginPolygon();
            for (const auto& corner : corners) {
                SetGridColor(corner[0], corner[1], n, drawGL, phase);
                drawGL.Vertex(points[corner[0] * n + corner[1]]);
            }
            drawGL.EndPolygon();
        }
    }
    AdvanceColorTime();
}

void SetGridColor(int i, int j, int n, DrawGL& drawGL, double phase) {
    // The squares and n^2 are integers; only the division is in doubles.
    const int squares = (i + 1) * (i + 1) + (j + 1) * (j + 1);
    const int nSquared = n * n;
    const double s = squares / (nSquared / 2.5) + phase;
    const int red = static_cast<int>(std::cos(s) * 127.0 + 128.0);
    const int green = static_cast<int>(std::cos(2.3 * s) * 127.0 + 128.0);
    const int blue = static_cast<int>(std::sin(1.5 * s + 1.1) * 127.0 + 128.0);
    drawGL.SetColor(static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                    static_cast<std::uint8_t>(blue), 255);
}
