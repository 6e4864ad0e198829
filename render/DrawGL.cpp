// DrawGL: every OpenGL call of velmora, OpenGL 1.1 and GLU's perspective,
// the same on every platform. The context they go to is the platform's
// (render/GLContext.h); in the browser, whose WebGL has no fixed function,
// render/webgl supplies these entry points itself.
#include "render/DrawGL.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cassert>

#include "render/GLContext.h"
#include "render/Message.h"

bool DrawGL::MakeContextCurrent() {
    if (renderingContext == nullptr) {
        return false;
    }
    switch (MakeGLContextCurrent(*renderingContext)) {
        case ContextState::kTakenAway:
            return false;
        case ContextState::kMadeAnew: {
            // The surface to the size asked for while the context was away,
            // or, where it cannot have that, back to the bitmap's, the last
            // that worked; then what start-up and the keys had set. Bitmap
            // and read-back change together or not at all, so neither
            // failure lets a frame of one size into rows of another.
            int width = 0;
            int height = 0;
            bitmap.GetSize(width, height);
            if (!sizeAwaited ||
                !ResizeGLContext(*renderingContext, bitmap, awaitedWidth, awaitedHeight)) {
                ResizeGLContext(*renderingContext, bitmap, width, height);
            }
            sizeAwaited = false;
            bitmap.GetSize(width, height);
            glViewport(0, 0, width, height);
            ApplySmoothing();
            break;
        }
        case ContextState::kAsLeft:
            break;
    }
    return true;
}

bool DrawGL::Create(int width, int height) {
    if (renderingContext != nullptr || !bitmap.Create(width, height, 24)) {
        return false;
    }
    renderingContext = CreateGLContext(bitmap);
    if (renderingContext == nullptr) {
        return false;
    }
    // A window's context starts with a viewport of the window's size; one
    // over a surface of its own need not.
    glViewport(0, 0, width, height);
    return true;
}

bool DrawGL::Resize(int width, int height) {
    if (renderingContext == nullptr) {
        return bitmap.Resize(width, height);
    }
    if (!MakeContextCurrent()) {
        // Taken away: the surface cannot follow now, and the bitmap keeps
        // the size of the surface until the context is back.
        sizeAwaited = true;
        awaitedWidth = width;
        awaitedHeight = height;
        return true;
    }
    int oldWidth = 0;
    int oldHeight = 0;
    bitmap.GetSize(oldWidth, oldHeight);
    const bool newSize = width != oldWidth || height != oldHeight;
    if (newSize && !ResizeGLContext(*renderingContext, bitmap, width, height)) {
        return false;  // the old bitmap and viewport stay
    }
    glViewport(0, 0, width, height);
    return true;
}

void DrawGL::LetGoOfContext() {
    if (renderingContext != nullptr) {
        LetGoOfGLContext(*renderingContext);
    }
}

DrawGL::~DrawGL() {
    DestroyGLContext(renderingContext);
    renderingContext = nullptr;
}

void DrawGL::SetMaterial(unsigned int face, int row) {
    if (row < 0 || row >= kMaterialRows) {
        return;
    }
    if (face == GL_FRONT || face == GL_FRONT_AND_BACK) {
        frontMaterial = row;
    }
    if (face == GL_BACK || face == GL_FRONT_AND_BACK) {
        backMaterial = row;
    }
    if (!MakeContextCurrent()) {
        return;
    }
    const float* m = materialTable[row];
    const GLfloat ambient[4] = {m[0], m[1], m[2], 1.0f};
    const GLfloat diffuse[4] = {m[3], m[4], m[5], 1.0f};
    const GLfloat specular[4] = {m[6], m[7], m[8], 1.0f};
    glMaterialfv(face, GL_AMBIENT, ambient);
    glMaterialfv(face, GL_DIFFUSE, diffuse);
    glMaterialfv(face, GL_SPECULAR, specular);
    glMaterialf(face, GL_SHININESS, m[9] * 128.0f);
}

void DrawGL::SetColorMaterial(bool on) {
    colorMaterial = on;  // reaches OpenGL with the next StartDraw
}

void DrawGL::SetSmoothing(bool on) {
    smoothing = on;
    if (MakeContextCurrent()) {
        ApplySmoothing();
    }
}

void DrawGL::ApplySmoothing() {
    if (smoothing) {
        glEnable(GL_LINE_SMOOTH);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glHint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
    } else {
        glDisable(GL_LINE_SMOOTH);
        glDisable(GL_BLEND);
    }
}

void DrawGL::StartDraw() {
    // Without a context (its creation failed and was reported) there is no
    // state to set and no mode to check; the frame stays as it was.
    if (!MakeContextCurrent()) {
        return;
    }
    GLboolean mode = 0;
    glGetBooleanv(GL_RGBA_MODE, &mode);
    assert(mode == 1);
    (void)mode;

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const GLfloat lightAmbient[4] = {0.9f, 0.9f, 0.9f, 1.0f};
    const GLfloat lightDiffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat lightPosition[4] = {0.0f, 3.0f, 3.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);

    const GLfloat modelAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat localViewer = 0.0f;
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, modelAmbient);
    glLightModelfv(GL_LIGHT_MODEL_LOCAL_VIEWER, &localViewer);

    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    glShadeModel(GL_SMOOTH);
    if (colorMaterial) {
        glEnable(GL_COLOR_MATERIAL);
    }

    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    glFrontFace(GL_CCW);

    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    glShadeModel(GL_SMOOTH);
    CheckError("StartDraw 1");

    if (colorMaterial) {
        SetMaterial(GL_FRONT, frontMaterial);
        SetMaterial(GL_BACK, backMaterial);
    }
    CheckError("StartDraw 1.1");
    CheckError("StartDraw 1.2");

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    CheckError("StartDraw 2");

    int width = 0;
    int height = 0;
    bitmap.GetSize(width, height);
    gluPerspective(30.0, static_cast<double>(width) / static_cast<double>(height), 3.0, 7.0);

    glClearColor(clearColor[0], clearColor[1], clearColor[2], 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearDepth(1.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glDepthFunc(GL_LESS);
    glEnable(GL_DEPTH_TEST);
    CheckError("StartDraw 3");
}

void DrawGL::SetModelTransform(const Matrix4x4& m) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslated(0.0, 0.0, -4.0);
    glScaled(0.5, 0.5, 0.5);
    // OpenGL reads the 16 values column by column.
    double columnMajor[16];
    m.Transpose().GetValues(columnMajor);
    glMultMatrixd(columnMajor);
}

void DrawGL::SetColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha) {
    glColor4f(static_cast<float>(red / 255.0), static_cast<float>(green / 255.0),
              static_cast<float>(blue / 255.0), static_cast<float>(alpha / 255.0));
}

void DrawGL::BeginPolygon() {
    glBegin(GL_POLYGON);
}

void DrawGL::Vertex(const Vector3& point) {
    const GLfloat v[3] = {static_cast<GLfloat>(point.X()), static_cast<GLfloat>(point.Y()),
                          static_cast<GLfloat>(point.Z())};
    glVertex3fv(v);
}

void DrawGL::EndPolygon() {
    glEnd();
}

void DrawGL::FinishDraw() {
    if (!MakeContextCurrent()) {
        return;
    }
    glFlush();
    FinishGLFrame(*renderingContext, bitmap);
    CheckError("FinishDraw");
}

void DrawGL::CheckError(const char* caption) {
    // Without a context of its own, an error would be another's.
    if (renderingContext == nullptr) {
        return;
    }
    const GLenum code = glGetError();
    if (code == GL_NO_ERROR || TakenAwayByError(*renderingContext, code)) {
        return;
    }
    ShowMessage(GLErrorText(code), caption);
}
