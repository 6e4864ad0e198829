// The one shader pair that stands in for the fixed-function pipeline in
// the browser: OpenGL 1.1's lighting of one directional light with
// two-sided materials, evaluated per vertex and interpolated, as the fixed
// pipeline does it.
#pragma once

#include <GLES2/gl2.h>

#include <string>

struct LightingShader {
    GLuint program = 0;
    // Vertex attributes: the point in object coordinates and the current
    // colour as four normalised bytes.
    GLint position = -1;
    GLint color = -1;
    GLint modelView = -1;
    GLint projection = -1;
    GLint eyeNormal = -1;
    GLint lightDirection = -1;
    GLint halfVector = -1;
    GLint lightDiffuse = -1;
    GLint trackColor = -1;
    // Per face: the ambient and specular terms already multiplied by the
    // light's, the diffuse colour used when the vertex colour is not
    // tracked, and the shininess exponent.
    GLint frontAmbient = -1;
    GLint frontDiffuse = -1;
    GLint frontSpecular = -1;
    GLint frontShininess = -1;
    GLint backAmbient = -1;
    GLint backDiffuse = -1;
    GLint backSpecular = -1;
    GLint backShininess = -1;
};

// Compiles and links the pair; on failure returns false with the driver's
// log in error and nothing left behind.
bool BuildLightingShader(LightingShader& out, std::string& error);
