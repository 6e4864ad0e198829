// The drawing context with a real OpenGL context: the fixed state that
// StartDraw leaves, read back with glGet, the transforms, the checkpoints and
// the surface's size rules.
#define GL_GLEXT_PROTOTYPES 1
#include "render/DrawGL.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cmath>

#include "tests/velmora/FakePlatform.h"

namespace {

void ExpectFloats(const float* actual, std::initializer_list<float> expected, const char* what) {
    int k = 0;
    for (float e : expected) {
        EXPECT_FLOAT_EQ(actual[k], e) << what << " [" << k << "]";
        ++k;
    }
}

class DrawGLTest : public testing::Test {
  protected:
    void SetUp() override {
        fakePlatform.messages.clear();
        ASSERT_TRUE(drawGL.Create(300, 200));
        drawGL.SetMaterial(kFaceFront, 0);
        drawGL.SetMaterial(kFaceBack, 11);
        drawGL.SetColorMaterial(true);
        drawGL.SetSmoothing(true);
    }
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    // Renders one frame whose only content is the given polygon (object
    // coordinates, drawn through SetModelTransform(identity)).
    void DrawPolygon(std::initializer_list<Vector3> corners) {
        drawGL.StartDraw();
        drawGL.SetModelTransform(Matrix4x4());
        drawGL.SetColor(255, 255, 255, 255);
        drawGL.BeginPolygon();
        for (const Vector3& p : corners) {
            drawGL.Vertex(p);
        }
        drawGL.EndPolygon();
        drawGL.FinishDraw();
    }

    int Brightness(int x, int y) const {
        const MemoryDC dc = drawGL.GetMemoryDC();
        const std::uint8_t* p = dc.pixels + y * dc.stride + x * 3;
        return p[0] + p[1] + p[2];
    }

    DrawGL drawGL;
};

TEST_F(DrawGLTest, AContextThatWasNeverMadeDrawsNothingAndTouchesNoOther) {
    // A drawing context whose creation failed must not assert on the mode
    // nor set its state into whichever context happens to be current.
    DrawGL never;
    glMatrixMode(GL_TEXTURE);
    never.StartDraw();
    never.FinishDraw();
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_TEXTURE);
    glMatrixMode(GL_MODELVIEW);
}

TEST(DrawGLConstruction, StartsWithFrontRowZeroBackRowElevenAndNothingOn) {
    DrawGL drawGL;
    EXPECT_EQ(drawGL.FrontMaterial(), 0);
    EXPECT_EQ(drawGL.BackMaterial(), 11);
    EXPECT_FALSE(drawGL.ColorMaterial());
    EXPECT_FALSE(drawGL.Smoothing());
    EXPECT_FALSE(drawGL.HasContext());
    // Resizing what was never created fails and makes nothing.
    EXPECT_FALSE(drawGL.Resize(300, 200));
    EXPECT_EQ(drawGL.GetMemoryDC().pixels, nullptr);
}

TEST(DrawGLConstruction, CreateRefusesAnEmptySizeWithoutAMessage) {
    fakePlatform.messages.clear();
    DrawGL drawGL;
    EXPECT_FALSE(drawGL.Create(0, 200));
    EXPECT_FALSE(drawGL.HasContext());
    EXPECT_TRUE(fakePlatform.messages.empty());
}

TEST_F(DrawGLTest, StartDrawSetsLightAndLightModel) {
    drawGL.StartDraw();
    float v[4];
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, v);
    ExpectFloats(v, {0.9f, 0.9f, 0.9f, 1.0f}, "light ambient");
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, v);
    ExpectFloats(v, {1.0f, 1.0f, 1.0f, 1.0f}, "light diffuse");
    // Placed under the identity model-view: eye coordinates as given.
    glGetLightfv(GL_LIGHT0, GL_POSITION, v);
    ExpectFloats(v, {0.0f, 3.0f, 3.0f, 0.0f}, "light position");
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, v);
    ExpectFloats(v, {0.2f, 0.2f, 0.2f, 1.0f}, "light model ambient");
    GLint i = -1;
    glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &i);
    EXPECT_EQ(i, 1);
    glGetIntegerv(GL_LIGHT_MODEL_LOCAL_VIEWER, &i);
    EXPECT_EQ(i, 0);
    glGetIntegerv(GL_FRONT_FACE, &i);
    EXPECT_EQ(i, GL_CCW);
    glGetIntegerv(GL_SHADE_MODEL, &i);
    EXPECT_EQ(i, GL_SMOOTH);
    glGetIntegerv(GL_DEPTH_FUNC, &i);
    EXPECT_EQ(i, GL_LESS);
    glGetIntegerv(GL_BLEND_SRC, &i);
    EXPECT_EQ(i, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &i);
    EXPECT_EQ(i, GL_ONE_MINUS_SRC_ALPHA);
    glGetIntegerv(GL_COLOR_MATERIAL_FACE, &i);
    EXPECT_EQ(i, GL_FRONT_AND_BACK);
    glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &i);
    EXPECT_EQ(i, GL_DIFFUSE);
    for (GLenum cap : {GL_LIGHTING, GL_LIGHT0, GL_AUTO_NORMAL, GL_NORMALIZE, GL_DEPTH_TEST,
                       GL_BLEND, GL_COLOR_MATERIAL, GL_LINE_SMOOTH}) {
        EXPECT_TRUE(glIsEnabled(cap)) << std::hex << cap;
    }
    glGetIntegerv(GL_MATRIX_MODE, &i);
    EXPECT_EQ(i, GL_PROJECTION);  // left for SetModelTransform to change
    EXPECT_TRUE(fakePlatform.messages.empty());
}

TEST_F(DrawGLTest, MaterialsOfRowsZeroAndElevenWithTheDiffuseTrackingTheColour) {
    drawGL.StartDraw();
    drawGL.SetColor(255, 0, 0, 255);
    float v[4];
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, v);
    ExpectFloats(v, {0.0215f, 0.1745f, 0.0215f, 1.0f}, "front ambient");
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, v);
    ExpectFloats(v, {0.633f, 0.727811f, 0.633f, 1.0f}, "front specular");
    glGetMaterialfv(GL_FRONT, GL_SHININESS, v);
    EXPECT_FLOAT_EQ(v[0], 76.8f);
    glGetMaterialfv(GL_BACK, GL_AMBIENT, v);
    ExpectFloats(v, {0.19225f, 0.19225f, 0.19225f, 1.0f}, "back ambient");
    glGetMaterialfv(GL_BACK, GL_SPECULAR, v);
    ExpectFloats(v, {0.508273f, 0.508273f, 0.508273f, 1.0f}, "back specular");
    glGetMaterialfv(GL_BACK, GL_SHININESS, v);
    EXPECT_FLOAT_EQ(v[0], 51.2f);
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, v);
    ExpectFloats(v, {1.0f, 0.0f, 0.0f, 1.0f}, "front diffuse");
    glGetMaterialfv(GL_BACK, GL_DIFFUSE, v);
    ExpectFloats(v, {1.0f, 0.0f, 0.0f, 1.0f}, "back diffuse");
}

TEST_F(DrawGLTest, SetColorDividesEachByteBy255) {
    float v[4];
    drawGL.SetColor(255, 0, 0, 255);
    glGetFloatv(GL_CURRENT_COLOR, v);
    ExpectFloats(v, {1.0f, 0.0f, 0.0f, 1.0f}, "red");
    drawGL.SetColor(51, 102, 204, 0);
    glGetFloatv(GL_CURRENT_COLOR, v);
    ExpectFloats(v, {0.2f, 0.4f, 0.8f, 0.0f}, "mixed");
}

TEST(DrawGLMaterials, WithoutColourTrackingStartDrawAppliesNoMaterial) {
    DrawGL drawGL;
    ASSERT_TRUE(drawGL.Create(64, 64));
    drawGL.SetMaterial(kFaceFrontAndBack, 4);  // both faces row 4
    EXPECT_EQ(drawGL.FrontMaterial(), 4);
    EXPECT_EQ(drawGL.BackMaterial(), 4);
    drawGL.SetMaterial(kFaceFront, 0);
    drawGL.StartDraw();
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    // The back still has row 4 from before: StartDraw did not apply row 11 or 4 again.
    float v[4];
    glGetMaterialfv(GL_BACK, GL_AMBIENT, v);
    ExpectFloats(v, {0.1745f, 0.01175f, 0.01175f, 1.0f}, "back ambient");
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, v);
    ExpectFloats(v, {0.0215f, 0.1745f, 0.0215f, 1.0f}, "front ambient");
}

TEST(DrawGLMaterials, RowsOutsideTheTableAndUnknownFacesRecordNothing) {
    DrawGL drawGL;
    ASSERT_TRUE(drawGL.Create(64, 64));
    drawGL.SetMaterial(kFaceFrontAndBack, 8);
    float before[4];
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, before);
    for (int row : {-1, 24, 1000}) {
        drawGL.SetMaterial(kFaceFront, row);
        drawGL.SetMaterial(kFaceBack, row);
    }
    EXPECT_EQ(drawGL.FrontMaterial(), 8);
    EXPECT_EQ(drawGL.BackMaterial(), 8);
    float after[4];
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, after);
    ExpectFloats(after, {before[0], before[1], before[2], before[3]}, "front ambient");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // A face value that is no face records nothing (OpenGL itself refuses it).
    drawGL.SetMaterial(GL_LEFT, 3);
    EXPECT_EQ(drawGL.FrontMaterial(), 8);
    EXPECT_EQ(drawGL.BackMaterial(), 8);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_ENUM));
}

TEST_F(DrawGLTest, ProjectionUsesTheBitmapsOwnAspect) {
    ASSERT_TRUE(drawGL.Resize(400, 100));
    drawGL.StartDraw();
    double m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    // A 30 degree perspective, aspect 4, near 3 and far 7, column by column.
    const double f = 1.0 / std::tan(15.0 * 3.141592653589793 / 180.0);
    const double expected[16] = {f / 4.0, 0, 0, 0, 0, f, 0, 0, 0, 0, -2.5, -1, 0, 0, -10.5, 0};
    for (int k = 0; k < 16; ++k) {
        EXPECT_NEAR(m[k], expected[k], 1e-6) << k;
    }
}

TEST_F(DrawGLTest, ModelViewIsTranslationTimesHalfScaleTimesTheOrientation) {
    drawGL.StartDraw();
    drawGL.SetModelTransform(Matrix4x4());
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    double m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    const double identity[16] = {0.5, 0, 0, 0, 0, 0.5, 0, 0, 0, 0, 0.5, 0, 0, 0, -4, 1};
    for (int k = 0; k < 16; ++k) {
        EXPECT_DOUBLE_EQ(m[k], identity[k]) << k;
    }

    // Row i, column j of the orientation lands in column j, row i.
    const double rowMajor[16] = {1, 2, 0, 0, 0, 1, 3, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    drawGL.SetModelTransform(Matrix4x4(rowMajor));
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    EXPECT_DOUBLE_EQ(m[1 * 4 + 0], 1.0);  // 0.5 * element (0, 1)
    EXPECT_DOUBLE_EQ(m[0 * 4 + 1], 0.0);
    EXPECT_DOUBLE_EQ(m[2 * 4 + 1], 1.5);  // 0.5 * element (1, 2)
    EXPECT_DOUBLE_EQ(m[3 * 4 + 2], -4.0);
}

TEST_F(DrawGLTest, EachCheckpointReportsOneErrorWithItsName) {
    glEnable(0x7fff);  // not a capability: GL_INVALID_ENUM, before the frame
    drawGL.StartDraw();
    ASSERT_EQ(fakePlatform.messages.size(), 1u);
    EXPECT_EQ(fakePlatform.messages[0].text, "GL_INVALID_ENUM");
    EXPECT_EQ(fakePlatform.messages[0].caption, "StartDraw 1");

    // An error made while drawing surfaces at the end of the frame.
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();  // nothing pushed
    drawGL.FinishDraw();
    ASSERT_EQ(fakePlatform.messages.size(), 2u);
    EXPECT_EQ(fakePlatform.messages[1].text, "GL_STACK_UNDERFLOW");
    EXPECT_EQ(fakePlatform.messages[1].caption, "FinishDraw");

    // One error is fetched per checkpoint, and a checkpoint that finds
    // none says nothing.
    glLineWidth(-1.0f);
    drawGL.CheckError("first");
    drawGL.CheckError("second");
    ASSERT_EQ(fakePlatform.messages.size(), 3u);
    EXPECT_EQ(fakePlatform.messages[2].text, "GL_INVALID_VALUE");
    EXPECT_EQ(fakePlatform.messages[2].caption, "first");
}

TEST_F(DrawGLTest, ErrorsOutsideTheTableAreUnknown) {
    GLint drawing = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &drawing);
    GLuint empty = 0;
    glGenFramebuffers(1, &empty);
    glBindFramebuffer(GL_FRAMEBUFFER, empty);
    glClear(GL_COLOR_BUFFER_BIT);  // GL_INVALID_FRAMEBUFFER_OPERATION, 0x0506
    glBindFramebuffer(GL_FRAMEBUFFER, drawing);
    glDeleteFramebuffers(1, &empty);
    drawGL.CheckError("probe");
    ASSERT_EQ(fakePlatform.messages.size(), 1u);
    EXPECT_EQ(fakePlatform.messages[0].text, "Unknown error");
}

TEST_F(DrawGLTest, ResizeSetsTheViewportEvenForTheSameSize) {
    glViewport(0, 0, 1, 1);
    EXPECT_TRUE(drawGL.Resize(300, 200));
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    EXPECT_EQ(v[2], 300);
    EXPECT_EQ(v[3], 200);
}

TEST_F(DrawGLTest, FailedResizeKeepsBitmapSizeAndViewport) {
    const std::uint8_t* pixels = drawGL.GetMemoryDC().pixels;
    GLint limit = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &limit);
    for (const auto& [w, h] : {std::pair{0, 200}, {300, 0}, {limit + 1, 10}, {10, limit + 1}}) {
        EXPECT_FALSE(drawGL.Resize(w, h)) << w << " x " << h;
        const MemoryDC dc = drawGL.GetMemoryDC();
        EXPECT_EQ(dc.pixels, pixels);
        EXPECT_EQ(dc.width, 300);
        EXPECT_EQ(dc.height, 200);
        GLint v[4];
        glGetIntegerv(GL_VIEWPORT, v);
        EXPECT_EQ(v[2], 300);
        EXPECT_EQ(v[3], 200);
    }
    // And the frame still renders into it, whole.
    DrawPolygon({{-2, -2, 0}, {2, -2, 0}, {2, 2, 0}, {-2, 2, 0}});
    EXPECT_GT(Brightness(150, 100), 0);
    EXPECT_TRUE(fakePlatform.messages.empty());
}

TEST_F(DrawGLTest, PictureIsTheRightWayUpAtEverySize) {
    for (const auto& [w, h] : {std::pair{300, 200}, {293, 101}, {64, 300}}) {
        ASSERT_TRUE(drawGL.Resize(w, h));
        // A square in the upper half of the view only: y from 0.2 to 0.8,
        // in front of the eye at z = -4 after the half scale.
        DrawPolygon({{-0.6, 0.4, 0}, {0.6, 0.4, 0}, {0.6, 1.6, 0}, {-0.6, 1.6, 0}});
        int top = 0;
        int bottom = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                (y < h / 2 ? top : bottom) += Brightness(x, y) > 0;
            }
        }
        EXPECT_GT(top, 0) << w << " x " << h;
        EXPECT_EQ(bottom, 0) << w << " x " << h;
        // The padding bytes at the end of each row stay untouched (zero).
        const MemoryDC dc = drawGL.GetMemoryDC();
        for (int y = 0; y < h; ++y) {
            for (int k = w * 3; k < dc.stride; ++k) {
                ASSERT_EQ(dc.pixels[y * dc.stride + k], 0);
            }
        }
    }
}

TEST_F(DrawGLTest, EveryFrameIsClearedToBlack) {
    DrawPolygon({{-2, -2, 0}, {2, -2, 0}, {2, 2, 0}, {-2, 2, 0}});
    EXPECT_GT(Brightness(150, 100), 0);
    drawGL.StartDraw();
    drawGL.FinishDraw();
    const MemoryDC dc = drawGL.GetMemoryDC();
    for (int k = 0; k < dc.stride * dc.height; ++k) {
        ASSERT_EQ(dc.pixels[k], 0) << k;
    }
}

}  // namespace
