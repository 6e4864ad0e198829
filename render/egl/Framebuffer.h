// The framebuffer object velmora's frames are drawn into, of the bitmap's
// size, with the scratch rows its read-back fills.
#pragma once

#include <GL/gl.h>

#include "render/ReadBack.h"

struct Framebuffer {
    GLuint framebuffer = 0;
    GLuint colorBuffer = 0;
    GLuint depthBuffer = 0;
    ReadBackRows bottomUpRows;
};

// A complete framebuffer of width x height, bound for drawing and reading;
// false for a side outside 1 to maxSize or when one cannot be had. On failure
// nothing is left behind and previous is bound again. Current context.
bool MakeFramebuffer(int width, int height, GLint maxSize, GLuint previous, Framebuffer& out);
// Releases its objects and scratch, leaving it empty. Current context.
void ReleaseFramebuffer(Framebuffer& framebuffer);
