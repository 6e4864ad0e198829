// The portable half of DrawGL: OpenGL 1.1 and GLU calls that are the same on
// every platform. Creating the context, resizing its surface and finishing a
// frame live with the platform (render/egl on Linux).
#include "render/DrawGL.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cassert>

#include "render/Message.h"

// clang-format off
const float materialTable[kMaterialRows][10] = {
    {0.0215f, 0.1745f, 0.0215f, 0.07568f, 0.61424f, 0.07568f, 0.633f, 0.727811f, 0.633f, 0.6f},
    {0.135f, 0.2225f, 0.1575f, 0.54f, 0.89f, 0.63f, 0.316228f, 0.316228f, 0.316228f, 0.1f},
    {0.05375f, 0.05f, 0.06625f, 0.18275f, 0.17f, 0.22525f, 0.332741f, 0.328634f, 0.346435f, 0.3f},
    {0.25f, 0.20725f, 0.20725f, 1.0f, 0.829f, 0.829f, 0.296648f, 0.296648f, 0.296648f, 0.088f},
    {0.1745f, 0.01175f, 0.01175f, 0.61424f, 0.04136f, 0.04136f, 0.727811f, 0.626959f, 0.626959f, 0.6f},
    {0.1f, 0.18725f, 0.1745f, 0.396f, 0.74151f, 0.69102f, 0.297254f, 0.30829f, 0.306678f, 0.1f},
    {0.329412f, 0.223529f, 0.027451f, 0.780392f, 0.568627f, 0.113725f, 0.992157f, 0.941176f, 0.807843f, 0.21794872f},
    {0.2125f, 0.1275f, 0.054f, 0.714f, 0.4284f, 0.18144f, 0.393548f, 0.271906f, 0.166721f, 0.2f},
    {0.25f, 0.25f, 0.25f, 0.4f, 0.4f, 0.4f, 0.774597f, 0.774597f, 0.774597f, 0.6f},
    {0.19125f, 0.0735f, 0.0225f, 0.7038f, 0.27048f, 0.0828f, 0.256777f, 0.137622f, 0.086014f, 0.1f},
    {0.24725f, 0.1995f, 0.0745f, 0.75164f, 0.60648f, 0.22648f, 0.628281f, 0.555802f, 0.366065f, 0.4f},
    {0.19225f, 0.19225f, 0.19225f, 0.50754f, 0.50754f, 0.50754f, 0.508273f, 0.508273f, 0.508273f, 0.4f},
    {0.0f, 0.0f, 0.0f, 0.01f, 0.01f, 0.01f, 0.5f, 0.5f, 0.5f, 0.25f},
    {0.0f, 0.1f, 0.06f, 0.0f, 0.5098039f, 0.5098039f, 0.50196075f, 0.50196075f, 0.50196075f, 0.25f},
    {0.0f, 0.0f, 0.0f, 0.1f, 0.35f, 0.1f, 0.45f, 0.55f, 0.45f, 0.25f},
    {0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.0f, 0.7f, 0.6f, 0.6f, 0.25f},
    {0.0f, 0.0f, 0.0f, 0.55f, 0.55f, 0.55f, 0.7f, 0.7f, 0.7f, 0.25f},
    {0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.0f, 0.6f, 0.6f, 0.5f, 0.25f},
    {0.02f, 0.02f, 0.02f, 0.01f, 0.01f, 0.01f, 0.4f, 0.4f, 0.4f, 0.078125f},
    {0.0f, 0.05f, 0.05f, 0.4f, 0.5f, 0.5f, 0.04f, 0.7f, 0.7f, 0.078125f},
    {0.0f, 0.05f, 0.0f, 0.4f, 0.5f, 0.4f, 0.04f, 0.7f, 0.04f, 0.078125f},
    {0.05f, 0.0f, 0.0f, 0.5f, 0.4f, 0.4f, 0.7f, 0.04f, 0.04f, 0.078125f},
    {0.05f, 0.05f, 0.05f, 0.5f, 0.5f, 0.5f, 0.7f, 0.7f, 0.7f, 0.078125f},
    {0.05f, 0.05f, 0.0f, 0.5f, 0.5f, 0.4f, 0.7f, 0.7f, 0.04f, 0.078125f},
};
// clang-format on

const GLErrorName glErrorNames[6] = {
    {GL_INVALID_ENUM, "GL_INVALID_ENUM"},           {GL_INVALID_VALUE, "GL_INVALID_VALUE"},
    {GL_INVALID_OPERATION, "GL_INVALID_OPERATION"}, {GL_STACK_OVERFLOW, "GL_STACK_OVERFLOW"},
    {GL_STACK_UNDERFLOW, "GL_STACK_UNDERFLOW"},     {GL_OUT_OF_MEMORY, "GL_OUT_OF_MEMORY"},
};

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
    colorMaterial = on;
}

void DrawGL::SetSmoothing(bool on) {
    smoothing = on;
    if (on) {
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
    if (renderingContext == nullptr) {
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

void DrawGL::CheckError(const char* caption) {
    const GLenum code = glGetError();
    if (code == GL_NO_ERROR) {
        return;
    }
    const char* text = "Unknown error";
    for (const GLErrorName& name : glErrorNames) {
        if (name.code == code) {
            text = name.text;
            break;
        }
    }
    ShowMessage(text, caption);
}
