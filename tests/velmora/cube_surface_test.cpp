// The cube surface with a real context: the per-vertex colours, the colour
// clock and what a face grid draws.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "render/DrawGL.h"
#include "scene/Scene.h"

namespace {

void ExpectCurrentColor(int red, int green, int blue) {
    float v[4];
    glGetFloatv(GL_CURRENT_COLOR, v);
    EXPECT_FLOAT_EQ(v[0], red / 255.0f);
    EXPECT_FLOAT_EQ(v[1], green / 255.0f);
    EXPECT_FLOAT_EQ(v[2], blue / 255.0f);
    EXPECT_FLOAT_EQ(v[3], 1.0f);
}

bool IsBlack(const MemoryDC& dc) {
    return std::all_of(dc.pixels, dc.pixels + dc.stride * dc.height,
                       [](std::uint8_t b) { return b == 0; });
}

class CubeSurface : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(drawGL.Create(300, 200));
        drawGL.SetMaterial(kFaceFront, 0);
        drawGL.SetMaterial(kFaceBack, 11);
        drawGL.SetColorMaterial(true);
        colorTime = 0.0;
    }
    DrawGL drawGL;
};

TEST_F(CubeSurface, GridColoursOfTheWorkedVertices) {
    SetGridColor(0, 0, 20, drawGL, 0.0);  // s = 0.0125
    ExpectCurrentColor(254, 254, 242);
    SetGridColor(19, 19, 20, drawGL, 0.0);  // s = 5
    ExpectCurrentColor(164, 189, 221);
    // The phase adds to s: vertex (0, 0) at phase 4.9875 has s = 5 too.
    SetGridColor(0, 0, 20, drawGL, 4.9875);
    ExpectCurrentColor(164, 189, 221);
}

TEST_F(CubeSurface, GridColoursAreTruncatedNotRounded) {
    // Red at s = 0.0125 is 254.99: truncated to 254 (checked above), and at
    // s = pi exactly 1, the darkest value, never 0.
    SetGridColor(0, 0, 20, drawGL, 3.141592653589793 - 0.0125);
    float v[4];
    glGetFloatv(GL_CURRENT_COLOR, v);
    EXPECT_FLOAT_EQ(v[0], 1.0f / 255.0f);
}

TEST_F(CubeSurface, GridOfOnePointDrawsNothingButAdvancesTheClock) {
    const Vector3 point(0.0, 0.0, 0.0);
    drawGL.StartDraw();
    drawGL.SetModelTransform(Matrix4x4());
    Scene scene;
    scene.DrawFaceGrid(drawGL, &point, 1, 0.0);
    drawGL.FinishDraw();
    EXPECT_DOUBLE_EQ(colorTime, 0.01);
    EXPECT_TRUE(IsBlack(drawGL.GetMemoryDC()));

    // The same call with a 2 x 2 grid does draw, so the black above means
    // something.
    const Vector3 square[4] = {{-2, -2, 0}, {-2, 2, 0}, {2, -2, 0}, {2, 2, 0}};
    drawGL.StartDraw();
    drawGL.SetModelTransform(Matrix4x4());
    scene.DrawFaceGrid(drawGL, square, 2, 0.0);
    drawGL.FinishDraw();
    EXPECT_DOUBLE_EQ(colorTime, 0.02);
    EXPECT_FALSE(IsBlack(drawGL.GetMemoryDC()));
}

TEST_F(CubeSurface, DrawWithoutAMeshDrawsNothing) {
    Scene scene;
    drawGL.StartDraw();
    scene.Draw(drawGL);
    drawGL.FinishDraw();
    EXPECT_TRUE(IsBlack(drawGL.GetMemoryDC()));
    EXPECT_EQ(colorTime, 0.0);
}

TEST_F(CubeSurface, DrawAdvancesTheClockOncePerFaceAndShowsTheCube) {
    CubeMesh mesh;
    mesh.Create(20);
    mesh.ApplyWarp(0.0, [](const Vector3& p, double) { return p; });
    Scene scene;
    scene.ZoomBy(0.2097152);
    scene.Rotate(20.0, 30.0, 0.0);
    scene.SetMesh(&mesh);
    drawGL.StartDraw();
    scene.Draw(drawGL);
    drawGL.FinishDraw();
    EXPECT_NEAR(colorTime, 0.06, 1e-15);
    const MemoryDC dc = drawGL.GetMemoryDC();
    EXPECT_FALSE(IsBlack(dc));
    // The corners of the picture are background.
    EXPECT_EQ(dc.pixels[0] + dc.pixels[1] + dc.pixels[2], 0);
    const std::uint8_t* last = dc.pixels + (dc.height - 1) * dc.stride + (dc.width - 1) * 3;
    EXPECT_EQ(last[0] + last[1] + last[2], 0);
}

}  // namespace
