// The OpenGL 1.1 and GLU entry points DrawGL calls that WebGL 1 lacks or
// means otherwise, emulated over the current context's FixedState; the rest
// of each call reaches WebGL as it is. Lighting, the light, normalising and
// smooth shading are what the shader always does, so switching them on
// records nothing; colour tracking is a switch of the shader.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstddef>
#include <cstring>

#include "math/matrix.h"
#include "render/webgl/FixedState.h"

// WebGL's own entry points, under the names Emscripten gives them besides
// the plain ones, which the definitions below take.
extern "C" {
void emscripten_glEnable(GLenum cap);
void emscripten_glDisable(GLenum cap);
void emscripten_glHint(GLenum target, GLenum mode);
void emscripten_glGetBooleanv(GLenum name, GLboolean* values);
void emscripten_glClearDepthf(GLclampf depth);
void emscripten_glClear(GLbitfield mask);
void emscripten_glFlush();
}

namespace {

FixedState* state = nullptr;

void Multiply(const double a[16], const double b[16], double out[16]) {
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

// The current matrix times m, as OpenGL composes; polygons gathered under
// the model-view matrix are drawn before it changes.
void MultiplyCurrent(const double m[16]) {
    if (state->matrixMode == GL_MODELVIEW) {
        DrawGathered(*state);
    }
    double* current = state->matrixMode == GL_PROJECTION ? state->projection : state->modelView;
    double product[16];
    Multiply(current, m, product);
    std::memcpy(current, product, sizeof product);
}

FixedMaterial* Faces(GLenum face, FixedMaterial*& second) {
    second = face == GL_FRONT_AND_BACK ? &state->back : nullptr;
    if (face == GL_FRONT || face == GL_FRONT_AND_BACK) {
        return &state->front;
    }
    return face == GL_BACK ? &state->back : nullptr;
}

// What the shader always does; line smoothing does not matter, as velmora
// draws no lines.
bool AlwaysOn(GLenum cap) {
    return cap == GL_LIGHTING || cap == GL_LIGHT0 || cap == GL_AUTO_NORMAL || cap == GL_NORMALIZE ||
           cap == GL_LINE_SMOOTH;
}

void TrackColor(bool on) {
    if (state != nullptr) {
        DrawGathered(*state);
        state->colorTracking = on;
    }
}

}  // namespace

void UseFixedState(FixedState* current) {
    state = current;
}

extern "C" {

void glEnable(GLenum cap) {
    if (cap == GL_COLOR_MATERIAL) {
        TrackColor(true);
    } else if (!AlwaysOn(cap)) {
        emscripten_glEnable(cap);
    }
}

void glDisable(GLenum cap) {
    if (cap == GL_COLOR_MATERIAL) {
        TrackColor(false);
    } else if (!AlwaysOn(cap)) {
        emscripten_glDisable(cap);
    }
}

void glHint(GLenum target, GLenum mode) {
    if (target != GL_LINE_SMOOTH_HINT) {
        emscripten_glHint(target, mode);
    }
}

void glGetBooleanv(GLenum name, GLboolean* values) {
    if (name == GL_RGBA_MODE) {
        *values = GL_TRUE;  // a WebGL context has no colour-index mode
    } else {
        emscripten_glGetBooleanv(name, values);
    }
}

void glClearDepth(GLclampd depth) {
    emscripten_glClearDepthf(static_cast<GLclampf>(depth));
}

void glClear(GLbitfield mask) {
    if (state != nullptr) {
        DrawGathered(*state);
    }
    emscripten_glClear(mask);
}

void glFlush() {
    if (state != nullptr) {
        DrawGathered(*state);
    }
    emscripten_glFlush();
}

void glShadeModel(GLenum) {}
void glColorMaterial(GLenum, GLenum) {}  // the diffuse colour of both faces, always
void glLightModeli(GLenum, GLint) {}     // two-sided, always

void glLightModelfv(GLenum name, const GLfloat* values) {
    // A local viewer is not emulated: velmora asks for none.
    if (state != nullptr && name == GL_LIGHT_MODEL_AMBIENT) {
        DrawGathered(*state);
        std::memcpy(state->sceneAmbient, values, sizeof state->sceneAmbient);
    }
}

void glLightfv(GLenum light, GLenum name, const GLfloat* values) {
    if (state == nullptr || light != GL_LIGHT0) {
        return;
    }
    DrawGathered(*state);
    switch (name) {
        case GL_AMBIENT:
            std::memcpy(state->lightAmbient, values, sizeof state->lightAmbient);
            break;
        case GL_DIFFUSE:
            std::memcpy(state->lightDiffuse, values, sizeof state->lightDiffuse);
            break;
        case GL_SPECULAR:
            std::memcpy(state->lightSpecular, values, sizeof state->lightSpecular);
            break;
        case GL_POSITION: {
            // Into eye coordinates by the model-view matrix of the moment; a
            // light at infinity (w = 0) keeps only the direction.
            const double* m = state->modelView;
            for (int i = 0; i < 3; ++i) {
                state->lightPosition[i] = m[i * 4] * values[0] + m[i * 4 + 1] * values[1] +
                                          m[i * 4 + 2] * values[2] + m[i * 4 + 3] * values[3];
            }
            break;
        }
        default:
            break;
    }
}

void glMaterialfv(GLenum face, GLenum name, const GLfloat* values) {
    if (state == nullptr) {
        return;
    }
    FixedMaterial* second = nullptr;
    FixedMaterial* first = Faces(face, second);
    // Polygons already gathered keep the material they were given under.
    DrawGathered(*state);
    for (FixedMaterial* m : {first, second}) {
        if (m == nullptr) {
            continue;
        }
        switch (name) {
            case GL_AMBIENT:
                std::memcpy(m->ambient, values, sizeof m->ambient);
                break;
            case GL_DIFFUSE:
                std::memcpy(m->diffuse, values, sizeof m->diffuse);
                break;
            case GL_SPECULAR:
                std::memcpy(m->specular, values, sizeof m->specular);
                break;
            case GL_SHININESS:
                m->shininess = values[0];
                break;
            default:
                break;
        }
    }
}

void glMaterialf(GLenum face, GLenum name, GLfloat value) {
    glMaterialfv(face, name, &value);
}

void glMatrixMode(GLenum mode) {
    if (state != nullptr) {
        state->matrixMode = mode;
    }
}

void glLoadIdentity() {
    if (state == nullptr) {
        return;
    }
    if (state->matrixMode == GL_MODELVIEW) {
        DrawGathered(*state);
    }
    static const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::memcpy(state->matrixMode == GL_PROJECTION ? state->projection : state->modelView, identity,
                sizeof identity);
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    if (state != nullptr) {
        const double m[16] = {1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z, 0, 0, 0, 1};
        MultiplyCurrent(m);
    }
}

void glScaled(GLdouble x, GLdouble y, GLdouble z) {
    if (state != nullptr) {
        const double m[16] = {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1};
        MultiplyCurrent(m);
    }
}

void glMultMatrixd(const GLdouble* columnMajor) {
    if (state == nullptr) {
        return;
    }
    double m[16];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            m[i * 4 + j] = columnMajor[j * 4 + i];
        }
    }
    MultiplyCurrent(m);
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    if (state == nullptr) {
        return;
    }
    const double halfAngle = fovy / 2.0 * kRadiansPerDegree;
    const double cotangent = std::cos(halfAngle) / std::sin(halfAngle);
    const double depth = zFar - zNear;
    const double m[16] = {cotangent / aspect,
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
    MultiplyCurrent(m);
}

void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    // The shader takes the colour as normalised bytes: byte / 255, which is
    // what each of these was made from.
    if (state != nullptr) {
        const GLfloat c[4] = {red, green, blue, alpha};
        for (int i = 0; i < 4; ++i) {
            state->color[i] = static_cast<std::uint8_t>(std::lround(c[i] * 255.0));
        }
    }
}

void glBegin(GLenum) {
    if (state != nullptr) {
        state->polygon.clear();
    }
}

void glVertex3fv(const GLfloat* v) {
    if (state != nullptr) {
        const std::uint8_t* c = state->color;
        state->polygon.push_back({v[0], v[1], v[2], c[0], c[1], c[2], c[3]});
    }
}

void glEnd() {
    if (state == nullptr) {
        return;
    }
    // A convex polygon as a fan from its first vertex, the way the fixed
    // pipeline splits GL_POLYGON.
    const std::vector<FixedVertex>& p = state->polygon;
    for (std::size_t k = 2; k < p.size(); ++k) {
        state->triangles.push_back(p[0]);
        state->triangles.push_back(p[k - 1]);
        state->triangles.push_back(p[k]);
    }
    state->polygon.clear();
}

}  // extern "C"
