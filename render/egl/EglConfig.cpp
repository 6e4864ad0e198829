// Rendering goes into framebuffer objects, never into an EGL surface, so any
// configuration that makes a desktop OpenGL context will do.
#define EGL_EGLEXT_PROTOTYPES 1
#include "render/egl/EglConfig.h"

#include <EGL/eglext.h>

#include <cstring>

namespace {

bool HasExtension(EGLDisplay display, const char* name) {
    const char* list = eglQueryString(display, EGL_EXTENSIONS);
    if (list == nullptr) {
        return false;
    }
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
        const bool startsWord = at == list || at[-1] == ' ';
        const bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool ChooseConfig(EGLDisplay display, EGLConfig& config) {
    if (HasExtension(display, "EGL_KHR_no_config_context")) {
        config = EGL_NO_CONFIG_KHR;
        return true;
    }
    const EGLint attributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE,
                                 EGL_PBUFFER_BIT, EGL_NONE};
    EGLint count = 0;
    return eglChooseConfig(display, attributes, &config, 1, &count) && count == 1;
}
