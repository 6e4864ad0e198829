// Framebuffer objects rather than an EGL surface: the surfaceless platform
// has no surface to offer, and the bitmap's size changes with the window.
#define GL_GLEXT_PROTOTYPES 1
#include "render/egl/Framebuffer.h"

#include <GL/glext.h>

#include <utility>

void ReleaseFramebuffer(Framebuffer& framebuffer) {
    glDeleteFramebuffers(1, &framebuffer.framebuffer);
    glDeleteRenderbuffers(1, &framebuffer.colorBuffer);
    glDeleteRenderbuffers(1, &framebuffer.depthBuffer);
    framebuffer = Framebuffer{};
}

bool MakeFramebuffer(int width, int height, GLint maxSize, GLuint previous, Framebuffer& out) {
    if (width <= 0 || height <= 0 || width > maxSize || height > maxSize) {
        return false;
    }
    Framebuffer made;
    // Zeroed once per size: see MakeReadBackRows.
    made.bottomUpRows = MakeReadBackRows(width, height);
    if (!made.bottomUpRows.bytes) {
        return false;
    }
    glGenRenderbuffers(1, &made.colorBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, made.colorBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glGenRenderbuffers(1, &made.depthBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, made.depthBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
    glGenFramebuffers(1, &made.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, made.framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                              made.colorBuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              made.depthBuffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        ReleaseFramebuffer(made);
        glBindFramebuffer(GL_FRAMEBUFFER, previous);
        return false;
    }
    out = std::move(made);
    return true;
}
