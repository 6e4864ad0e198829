// The drawing context with a real OpenGL context: what StartDraw keeps or
// refuses, the checkpoints and the surface's size rules. The lighting, the
// materials and the transforms show in pictures: golden_frame_test.cpp and
// frame_projection_test.cpp.
#define GL_GLEXT_PROTOTYPES 1
#include "render/DrawGL.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include "render/ReadBack.h"
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
    // Resizing what was never created fails and makes nothing.
    EXPECT_FALSE(never.Resize(300, 200));
    EXPECT_EQ(never.GetMemoryDC().pixels, nullptr);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_TEXTURE);
    glMatrixMode(GL_MODELVIEW);
}

TEST(DrawGLConstruction, CreateRefusesAnEmptySizeWithoutAMessage) {
    fakePlatform.messages.clear();
    DrawGL drawGL;
    EXPECT_FALSE(drawGL.Create(0, 200));
    EXPECT_FALSE(drawGL.HasContext());
    EXPECT_TRUE(fakePlatform.messages.empty());
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

TEST_F(DrawGLTest, ReadBackGoesOnlyThroughRowsOfTheBitmapsSize) {
    // A lit frame in the framebuffer, read back into a fresh, black bitmap
    // of its size: through smaller rows it would be written past their end.
    DrawPolygon({{-2, -2, 0}, {2, -2, 0}, {2, 2, 0}, {-2, 2, 0}});
    OffscreenBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(300, 200, 24));
    const auto lit = [&bitmap] {
        const std::uint8_t* p = bitmap.GetMemoryDC().pixels + 100 * bitmap.Stride() + 150 * 3;
        return p[0] + p[1] + p[2] > 0;
    };
    ReadBackRows smaller = MakeReadBackRows(30, 20);
    ASSERT_TRUE(smaller.bytes);
    EXPECT_FALSE(ReadBackFrame(bitmap, smaller));
    EXPECT_FALSE(lit());
    ReadBackRows same = MakeReadBackRows(300, 200);
    EXPECT_TRUE(ReadBackFrame(bitmap, same));
    EXPECT_TRUE(lit());
}

}  // namespace
