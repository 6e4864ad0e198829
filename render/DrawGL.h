// velmora's single gateway to OpenGL. It owns the offscreen bitmap and the
// context that renders into it, sends the whole fixed drawing state at the
// start of every frame, and reports OpenGL errors at named checkpoints.
#pragma once

#include <cstdint>

#include "math/matrix.h"
#include "render/OffscreenBitmap.h"

// The faces SetMaterial takes, with OpenGL's values, so that callers need no
// OpenGL header.
inline constexpr unsigned int kFaceFront = 0x0404;         // GL_FRONT
inline constexpr unsigned int kFaceBack = 0x0405;          // GL_BACK
inline constexpr unsigned int kFaceFrontAndBack = 0x0408;  // GL_FRONT_AND_BACK

// Ambient RGB, diffuse RGB, specular RGB, shininess as a fraction of 128.
inline constexpr int kMaterialRows = 24;
extern const float materialTable[kMaterialRows][10];

struct GLErrorName {
    unsigned int code;
    const char* text;
};
extern const GLErrorName glErrorNames[6];
// The text CheckError shows for a non-zero error code.
const char* GLErrorText(unsigned int code);

// The platform's context and the surface it draws into (render/GLContext.h).
struct RenderingContext;

class DrawGL {
  public:
    DrawGL() = default;
    DrawGL(const DrawGL&) = delete;
    DrawGL& operator=(const DrawGL&) = delete;
    // Releases the context before the bitmap goes.
    ~DrawGL();

    bool Create(int width, int height);
    // A row outside 0 to 23 records nothing and applies nothing.
    void SetMaterial(unsigned int face, int row);
    void SetColorMaterial(bool on);
    void SetSmoothing(bool on);
    // While the system has taken the context away, the size is kept for its
    // return (true) and the bitmap keeps its own until then; a context back
    // that cannot have the size keeps the bitmap's.
    bool Resize(int width, int height);

    void StartDraw();
    void SetModelTransform(const Matrix4x4& m);
    void SetColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha);
    // Immediate-mode polygons for the scene: glBegin(GL_POLYGON), glVertex3fv
    // with the point in single precision, glEnd.
    void BeginPolygon();
    void Vertex(const Vector3& point);
    void EndPolygon();
    void FinishDraw();

    MemoryDC GetMemoryDC() const { return bitmap.GetMemoryDC(); }
    void CheckError(const char* caption);

    // Lets go of the context on this thread, for another OpenGL user there
    // (SDL's renderer); the next operation that draws makes it current again.
    void LetGoOfContext();

    bool HasContext() const { return renderingContext != nullptr; }
    int FrontMaterial() const { return frontMaterial; }
    int BackMaterial() const { return backMaterial; }
    bool ColorMaterial() const { return colorMaterial; }
    bool Smoothing() const { return smoothing; }

  private:
    // Makes the context current; false when there is none or the system has
    // taken it away for now, and then no OpenGL call may follow, as it would
    // land in another's context. A context given back gets its state again.
    bool MakeContextCurrent();
    // Line smoothing and blending as SetSmoothing last asked. With the
    // context current.
    void ApplySmoothing();

    RenderingContext* renderingContext = nullptr;
    OffscreenBitmap bitmap;
    bool smoothing = false;
    bool colorMaterial = false;
    int frontMaterial = 0;
    int backMaterial = 11;
    float clearColor[3] = {0.0f, 0.0f, 0.0f};
    // The last size Resize asked for while the context was taken away.
    bool sizeAwaited = false;
    int awaitedWidth = 0;
    int awaitedHeight = 0;
};

// Shows the system's text for the last failed context call under caption.
void ShowLastError(const char* caption);
