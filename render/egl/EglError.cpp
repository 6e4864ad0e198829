#include "render/egl/EglError.h"

#include <EGL/egl.h>

#include <cstdio>

namespace {

struct EglErrorName {
    int code;
    const char* text;
};

const EglErrorName eglErrorNames[] = {
    {EGL_SUCCESS, "EGL_SUCCESS: no EGL error was recorded"},
    {EGL_NOT_INITIALIZED, "EGL_NOT_INITIALIZED: EGL could not be initialized for the display"},
    {EGL_BAD_ACCESS, "EGL_BAD_ACCESS: a requested resource is in use or cannot be accessed"},
    {EGL_BAD_ALLOC, "EGL_BAD_ALLOC: resources for the operation could not be allocated"},
    {EGL_BAD_ATTRIBUTE, "EGL_BAD_ATTRIBUTE: an attribute or its value is not recognised"},
    {EGL_BAD_CONFIG, "EGL_BAD_CONFIG: the frame buffer configuration is not valid"},
    {EGL_BAD_CONTEXT, "EGL_BAD_CONTEXT: the rendering context is not valid"},
    {EGL_BAD_CURRENT_SURFACE, "EGL_BAD_CURRENT_SURFACE: the current surface is no longer valid"},
    {EGL_BAD_DISPLAY, "EGL_BAD_DISPLAY: the display is not a valid EGL display"},
    {EGL_BAD_MATCH, "EGL_BAD_MATCH: the arguments are inconsistent with each other"},
    {EGL_BAD_NATIVE_PIXMAP, "EGL_BAD_NATIVE_PIXMAP: the native pixmap is not valid"},
    {EGL_BAD_NATIVE_WINDOW, "EGL_BAD_NATIVE_WINDOW: the native window is not valid"},
    {EGL_BAD_PARAMETER, "EGL_BAD_PARAMETER: an argument is not valid"},
    {EGL_BAD_SURFACE, "EGL_BAD_SURFACE: the surface is not valid for rendering"},
    {EGL_CONTEXT_LOST,
     "EGL_CONTEXT_LOST: the graphics device was lost; the context must be made "
     "again"},
};

}  // namespace

std::string EglErrorText(int code) {
    for (const EglErrorName& name : eglErrorNames) {
        if (name.code == code) {
            return name.text;
        }
    }
    char text[64];
    std::snprintf(text, sizeof text, "EGL error 0x%04X", static_cast<unsigned>(code));
    return text;
}
