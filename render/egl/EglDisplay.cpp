// The displays are tried from the one that needs the least: the surfaceless
// platform wants no device node or server at all.
#define EGL_EGLEXT_PROTOTYPES 1
#include "render/egl/EglDisplay.h"

#include <EGL/eglext.h>

EGLDisplay OpenDisplay() {
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay != nullptr) {
        EGLDisplay display =
            getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr)) {
            return display;
        }
        const auto queryDevices =
            reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
        EGLDeviceEXT device = nullptr;
        EGLint deviceCount = 0;
        if (queryDevices != nullptr && queryDevices(1, &device, &deviceCount) && deviceCount > 0) {
            display = getPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, device, nullptr);
            if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr)) {
                return display;
            }
        }
    }
    EGLDisplay display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr)) {
        return display;
    }
    return EGL_NO_DISPLAY;
}
