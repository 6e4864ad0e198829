// What OpenGL 1.1 would hold for velmora's drawing, which WebGL 1 has no
// fixed-function pipeline for: materials, light, current colour, matrices,
// and the polygons gathered since the last draw. Each context keeps one;
// the OpenGL 1.1 entry points of FixedFunction.cpp work on the current
// context's, and hand what they gathered to one shader pair (LightingShader)
// whenever something it was gathered under is about to change.
#pragma once

#include <GLES2/gl2.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/webgl/LightingShader.h"

// One face's material as glMaterialfv would hold it.
struct FixedMaterial {
    float ambient[3] = {0.2f, 0.2f, 0.2f};
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    float specular[3] = {0.0f, 0.0f, 0.0f};
    float shininess = 0.0f;
};

struct FixedVertex {
    GLfloat x, y, z;
    std::uint8_t red, green, blue, alpha;
};

struct FixedState {
    LightingShader shader;
    GLuint vertexBuffer = 0;
    FixedMaterial front;
    FixedMaterial back;
    // Light 0 (its position kept in eye coordinates, as OpenGL keeps it) and
    // the light model's ambient, with OpenGL's initial values.
    float lightAmbient[3] = {0.0f, 0.0f, 0.0f};
    float lightDiffuse[3] = {1.0f, 1.0f, 1.0f};
    float lightSpecular[3] = {1.0f, 1.0f, 1.0f};
    double lightPosition[3] = {0.0, 0.0, 1.0};
    float sceneAmbient[3] = {0.2f, 0.2f, 0.2f};
    bool colorTracking = false;
    GLenum matrixMode = 0x1700;  // GL_MODELVIEW
    // Row-major, composed in double as GLU and the matrix calls would.
    double modelView[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    double projection[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::uint8_t color[4] = {255, 255, 255, 255};
    std::vector<FixedVertex> triangles;
    std::vector<FixedVertex> polygon;
};

// Builds the shader pair and the vertex buffer in the current WebGL context;
// false with the driver's log in error, nothing left behind.
bool MakeFixedState(FixedState& state, std::string& error);
// The state the entry points work on from now on: the current context's;
// null while no context of velmora's is current (they then do nothing).
void UseFixedState(FixedState* state);
// Draws what was gathered with the state it was gathered under.
void DrawGathered(FixedState& state);
