// The browser's DrawGL: WebGL 1 has no fixed-function pipeline, so the state
// that OpenGL 1.1 would hold (materials, current colour, matrices) is kept
// here and handed to one shader pair (LightingShader). The polygons of a
// frame are gathered into one vertex buffer and drawn with one call; the
// finished frame is read back into the bitmap as on Linux.
#include <GLES2/gl2.h>
#include <emscripten/html5_webgl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "render/DrawGL.h"
#include "render/Message.h"
#include "render/webgl/LightingShader.h"

extern "C" {
EMSCRIPTEN_WEBGL_CONTEXT_HANDLE velmora_webgl_create(int width, int height);
int velmora_webgl_resize(EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle, int width, int height);
void velmora_webgl_destroy(EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle);
}

namespace {

struct Vertex {
    GLfloat x, y, z;
    std::uint8_t red, green, blue, alpha;
};

// One face's material as glMaterialfv would hold it.
struct Material {
    float ambient[3] = {0.2f, 0.2f, 0.2f};
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    float specular[3] = {0.0f, 0.0f, 0.0f};
    float shininess = 0.0f;
};

// The fixed light of StartDraw: light 0 in eye coordinates (set while the
// model-view matrix is the identity), its specular colour left at light 0's
// default of white, and the light model's ambient.
constexpr double kLightPosition[3] = {0.0, 3.0, 3.0};
constexpr float kLightAmbient = 0.9f;
constexpr float kLightDiffuse = 1.0f;
constexpr float kLightSpecular = 1.0f;
constexpr float kSceneAmbient = 0.2f;

// Row-major 4 x 4 products in double, as GLU and the matrix calls would
// compose them before OpenGL stores them.
using Matrix = double[16];

void Multiply(const Matrix a, const Matrix b, Matrix out) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += a[i * 4 + k] * b[k * 4 + j];
            }
            out[i * 4 + j] = sum;
        }
    }
}

// OpenGL reads matrices column by column.
void ToColumnMajorFloats(const Matrix m, GLfloat out[16]) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            out[j * 4 + i] = static_cast<GLfloat>(m[i * 4 + j]);
        }
    }
}

void Normalize(double v[3]) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0.0) {
        v[0] /= length;
        v[1] /= length;
        v[2] /= length;
    }
}

// The normal (0, 0, 1) that no vertex overrides, taken into eye coordinates
// by the inverse transpose of the model-view matrix's upper 3 x 3 and made
// unit length (GL_NORMALIZE). That is the third row of the inverse.
void EyeNormal(const Matrix mv, double out[3]) {
    const auto a = [&](int i, int j) { return mv[i * 4 + j]; };
    // Cofactors of the third column give the third row of the inverse; the
    // determinant's sign keeps the normal's side.
    const double c02 = a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0);
    const double c12 = -(a(0, 0) * a(2, 1) - a(0, 1) * a(2, 0));
    const double c22 = a(0, 0) * a(1, 1) - a(0, 1) * a(1, 0);
    const double det = a(0, 2) * c02 + a(1, 2) * c12 + a(2, 2) * c22;
    out[0] = c02;
    out[1] = c12;
    out[2] = c22;
    if (det < 0.0) {
        out[0] = -out[0];
        out[1] = -out[1];
        out[2] = -out[2];
    }
    Normalize(out);
}

std::string lastError = "no error";

}  // namespace

struct RenderingContext {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle = 0;
    LightingShader shader;
    GLuint vertexBuffer = 0;
    GLint maxSize = 0;
    // What the fixed pipeline would be holding.
    Material front;
    Material back;
    bool colorTracking = false;
    std::uint8_t color[4] = {255, 255, 255, 255};
    Matrix modelView = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    Matrix projection = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    // The polygons since the last draw, as triangles, and the one being
    // built.
    std::vector<Vertex> triangles;
    std::vector<Vertex> polygon;
    std::unique_ptr<std::uint8_t[]> bottomUpRows;
};

namespace {

bool FitsSurface(const RenderingContext& context, int width, int height) {
    return width > 0 && height > 0 && width <= context.maxSize && height <= context.maxSize;
}

std::unique_ptr<std::uint8_t[]> RowsFor(int width, int height) {
    return std::unique_ptr<std::uint8_t[]>(
        new (std::nothrow)
            std::uint8_t[static_cast<std::size_t>(width) * 4 * static_cast<std::size_t>(height)]());
}

void SetMaterialUniforms(const Material& m, GLint ambient, GLint diffuse, GLint specular,
                         GLint shininess) {
    // a_m * (scene ambient + light ambient) and s_m * light specular, the
    // parts of the sum that do not change with the vertex.
    glUniform3f(ambient, m.ambient[0] * kSceneAmbient + m.ambient[0] * kLightAmbient,
                m.ambient[1] * kSceneAmbient + m.ambient[1] * kLightAmbient,
                m.ambient[2] * kSceneAmbient + m.ambient[2] * kLightAmbient);
    glUniform4fv(diffuse, 1, m.diffuse);
    glUniform3f(specular, m.specular[0] * kLightSpecular, m.specular[1] * kLightSpecular,
                m.specular[2] * kLightSpecular);
    glUniform1f(shininess, m.shininess);
}

// Draws what was gathered with the state it was gathered under.
void DrawGathered(RenderingContext& context) {
    if (context.triangles.empty()) {
        return;
    }
    const LightingShader& s = context.shader;
    glUseProgram(s.program);
    GLfloat matrix[16];
    ToColumnMajorFloats(context.modelView, matrix);
    glUniformMatrix4fv(s.modelView, 1, GL_FALSE, matrix);
    ToColumnMajorFloats(context.projection, matrix);
    glUniformMatrix4fv(s.projection, 1, GL_FALSE, matrix);

    double normal[3];
    EyeNormal(context.modelView, normal);
    glUniform3f(s.eyeNormal, static_cast<GLfloat>(normal[0]), static_cast<GLfloat>(normal[1]),
                static_cast<GLfloat>(normal[2]));
    double light[3] = {kLightPosition[0], kLightPosition[1], kLightPosition[2]};
    Normalize(light);
    // The viewer at infinity looks down -z: the half vector is L + (0, 0, 1).
    double half[3] = {light[0], light[1], light[2] + 1.0};
    Normalize(half);
    glUniform3f(s.lightDirection, static_cast<GLfloat>(light[0]), static_cast<GLfloat>(light[1]),
                static_cast<GLfloat>(light[2]));
    glUniform3f(s.halfVector, static_cast<GLfloat>(half[0]), static_cast<GLfloat>(half[1]),
                static_cast<GLfloat>(half[2]));
    glUniform3f(s.lightDiffuse, kLightDiffuse, kLightDiffuse, kLightDiffuse);
    glUniform1f(s.trackColor, context.colorTracking ? 1.0f : 0.0f);
    SetMaterialUniforms(context.front, s.frontAmbient, s.frontDiffuse, s.frontSpecular,
                        s.frontShininess);
    SetMaterialUniforms(context.back, s.backAmbient, s.backDiffuse, s.backSpecular,
                        s.backShininess);

    glBindBuffer(GL_ARRAY_BUFFER, context.vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(context.triangles.size() * sizeof(Vertex)),
                 context.triangles.data(), GL_STREAM_DRAW);
    glEnableVertexAttribArray(static_cast<GLuint>(s.position));
    glVertexAttribPointer(static_cast<GLuint>(s.position), 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<const void*>(offsetof(Vertex, x)));
    glEnableVertexAttribArray(static_cast<GLuint>(s.color));
    glVertexAttribPointer(static_cast<GLuint>(s.color), 4, GL_UNSIGNED_BYTE, GL_TRUE,
                          sizeof(Vertex), reinterpret_cast<const void*>(offsetof(Vertex, red)));
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(context.triangles.size()));
    context.triangles.clear();
}

}  // namespace

void ShowLastError(const char* caption) {
    ShowMessage(lastError, caption);
}

bool DrawGL::Create(int width, int height) {
    if (renderingContext != nullptr || !bitmap.Create(width, height, 24)) {
        return false;
    }
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE handle = velmora_webgl_create(width, height);
    if (handle <= 0) {
        lastError = "This browser offers no WebGL context of " + std::to_string(width) + " x " +
                    std::to_string(height) + " pixels.";
        ShowLastError("wglCreateContext");
        return false;
    }
    emscripten_webgl_make_context_current(handle);
    auto made = std::make_unique<RenderingContext>();
    made->handle = handle;
    std::string error;
    if (!BuildLightingShader(made->shader, error)) {
        lastError = "The lighting shader does not build: " + error;
        ShowLastError("wglCreateContext");
        velmora_webgl_destroy(handle);
        return false;
    }
    GLint renderbufferSize = 0;
    GLint viewportSize[2] = {0, 0};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbufferSize);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewportSize);
    made->maxSize = std::min({renderbufferSize, viewportSize[0], viewportSize[1]});
    made->bottomUpRows = RowsFor(width, height);
    if (!made->bottomUpRows) {
        lastError = "Out of memory.";
        ShowLastError("wglCreateContext");
        velmora_webgl_destroy(handle);
        return false;
    }
    glGenBuffers(1, &made->vertexBuffer);
    glViewport(0, 0, width, height);
    renderingContext = made.release();
    // Materials set before the context existed were only recorded.
    SetMaterial(kFaceFront, frontMaterial);
    SetMaterial(kFaceBack, backMaterial);
    return true;
}

void DrawGL::SetMaterial(unsigned int face, int row) {
    if (row < 0 || row >= kMaterialRows) {
        return;
    }
    const bool toFront = face == kFaceFront || face == kFaceFrontAndBack;
    const bool toBack = face == kFaceBack || face == kFaceFrontAndBack;
    if (toFront) {
        frontMaterial = row;
    }
    if (toBack) {
        backMaterial = row;
    }
    if (renderingContext == nullptr || (!toFront && !toBack)) {
        return;
    }
    // Polygons already gathered keep the material they were given under.
    DrawGathered(*renderingContext);
    const float* m = materialTable[row];
    Material material;
    std::memcpy(material.ambient, m, sizeof material.ambient);
    std::memcpy(material.diffuse, m + 3, 3 * sizeof(float));
    material.diffuse[3] = 1.0f;
    std::memcpy(material.specular, m + 6, sizeof material.specular);
    material.shininess = m[9] * 128.0f;
    if (toFront) {
        renderingContext->front = material;
    }
    if (toBack) {
        renderingContext->back = material;
    }
}

void DrawGL::SetSmoothing(bool on) {
    // WebGL has no line smoothing, and velmora draws no lines; the blending
    // that goes with it is set again by every StartDraw.
    smoothing = on;
    if (renderingContext == nullptr) {
        return;
    }
    if (on) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glDisable(GL_BLEND);
    }
}

bool DrawGL::Resize(int width, int height) {
    if (renderingContext == nullptr) {
        return bitmap.Resize(width, height);
    }
    int oldWidth = 0;
    int oldHeight = 0;
    bitmap.GetSize(oldWidth, oldHeight);
    if (width != oldWidth || height != oldHeight) {
        // Every piece is had before any is given up, so that a failure
        // leaves the old bitmap, surface and viewport in use.
        if (!FitsSurface(*renderingContext, width, height)) {
            return false;
        }
        auto rows = RowsFor(width, height);
        if (!rows || !velmora_webgl_resize(renderingContext->handle, width, height)) {
            return false;
        }
        if (!bitmap.Resize(width, height)) {
            velmora_webgl_resize(renderingContext->handle, oldWidth, oldHeight);
            return false;
        }
        renderingContext->bottomUpRows = std::move(rows);
    }
    glViewport(0, 0, width, height);
    return true;
}

void DrawGL::StartDraw() {
    // Without a context (its creation failed and was reported) there is no
    // state to set; the frame stays as it was. A WebGL context is always
    // RGBA, so there is no colour-index mode to rule out.
    if (renderingContext == nullptr) {
        return;
    }
    RenderingContext& context = *renderingContext;
    context.triangles.clear();
    std::memcpy(context.modelView, Matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1},
                sizeof(Matrix));
    if (colorMaterial) {
        context.colorTracking = true;  // nothing turns it off again
    }
    glFrontFace(GL_CCW);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    CheckError("StartDraw 1");

    if (colorMaterial) {
        SetMaterial(kFaceFront, frontMaterial);
        SetMaterial(kFaceBack, backMaterial);
    }
    CheckError("StartDraw 1.1");
    CheckError("StartDraw 1.2");
    CheckError("StartDraw 2");

    // The perspective of 30 degrees, the bitmap's own aspect, near 3, far 7.
    int width = 0;
    int height = 0;
    bitmap.GetSize(width, height);
    const double aspect = static_cast<double>(width) / static_cast<double>(height);
    const double zNear = 3.0;
    const double zFar = 7.0;
    const double halfAngle = 30.0 / 2.0 * kRadiansPerDegree;
    const double cotangent = std::cos(halfAngle) / std::sin(halfAngle);
    const double depth = zFar - zNear;
    const Matrix projection = {cotangent / aspect,
                               0.0,
                               0.0,
                               0.0,
                               0.0,
                               cotangent,
                               0.0,
                               0.0,
                               0.0,
                               0.0,
                               -(zFar + zNear) / depth,
                               -2.0 * zNear * zFar / depth,
                               0.0,
                               0.0,
                               -1.0,
                               0.0};
    std::memcpy(context.projection, projection, sizeof(Matrix));

    glClearColor(clearColor[0], clearColor[1], clearColor[2], 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearDepthf(1.0f);
    glClear(GL_DEPTH_BUFFER_BIT);
    CheckError("StartDraw 3");
}

void DrawGL::SetModelTransform(const Matrix4x4& m) {
    if (renderingContext == nullptr) {
        return;
    }
    DrawGathered(*renderingContext);
    // T(0, 0, -4) * S(0.5) * m.
    const Matrix translateScale = {0.5, 0, 0, 0, 0, 0.5, 0, 0, 0, 0, 0.5, -4.0, 0, 0, 0, 1};
    double values[16];
    m.GetValues(values);
    Multiply(translateScale, values, renderingContext->modelView);
}

void DrawGL::SetColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha) {
    // Normalised bytes reach the shader as byte / 255, what glColor4f gets.
    if (renderingContext != nullptr) {
        renderingContext->color[0] = red;
        renderingContext->color[1] = green;
        renderingContext->color[2] = blue;
        renderingContext->color[3] = alpha;
    }
}

void DrawGL::BeginPolygon() {
    if (renderingContext != nullptr) {
        renderingContext->polygon.clear();
    }
}

void DrawGL::Vertex(const Vector3& point) {
    if (renderingContext == nullptr) {
        return;
    }
    const std::uint8_t* c = renderingContext->color;
    renderingContext->polygon.push_back({static_cast<GLfloat>(point.X()),
                                         static_cast<GLfloat>(point.Y()),
                                         static_cast<GLfloat>(point.Z()), c[0], c[1], c[2], c[3]});
}

void DrawGL::EndPolygon() {
    if (renderingContext == nullptr) {
        return;
    }
    // A convex polygon as a fan from its first vertex, the way the fixed
    // pipeline splits GL_POLYGON.
    const std::vector<::Vertex>& p = renderingContext->polygon;
    for (std::size_t k = 2; k < p.size(); ++k) {
        renderingContext->triangles.push_back(p[0]);
        renderingContext->triangles.push_back(p[k - 1]);
        renderingContext->triangles.push_back(p[k]);
    }
    renderingContext->polygon.clear();
}

void DrawGL::FinishDraw() {
    if (renderingContext != nullptr) {
        DrawGathered(*renderingContext);
        // Rows come back bottom-up; turned over into the bitmap's top-down
        // rows as on Linux, so the projection stays as it is.
        int width = 0;
        int height = 0;
        bitmap.GetSize(width, height);
        const std::size_t stride = static_cast<std::size_t>(bitmap.Stride());
        const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
        std::uint8_t* rows = renderingContext->bottomUpRows.get();
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rows);
        std::uint8_t* pixels = bitmap.Pixels();
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* rgba = rows + static_cast<std::size_t>(height - 1 - y) * rowBytes;
            std::uint8_t* bgr = pixels + static_cast<std::size_t>(y) * stride;
            for (int x = 0; x < width; ++x) {
                bgr[3 * x + 0] = rgba[4 * x + 2];
                bgr[3 * x + 1] = rgba[4 * x + 1];
                bgr[3 * x + 2] = rgba[4 * x + 0];
            }
        }
    }
    CheckError("FinishDraw");
}

void DrawGL::CheckError(const char* caption) {
    if (renderingContext == nullptr) {
        return;
    }
    const GLenum code = glGetError();
    if (code != GL_NO_ERROR) {
        ShowMessage(GLErrorText(code), caption);
    }
}

DrawGL::~DrawGL() {
    if (renderingContext == nullptr) {
        return;
    }
    velmora_webgl_destroy(renderingContext->handle);
    delete renderingContext;
    renderingContext = nullptr;
}
