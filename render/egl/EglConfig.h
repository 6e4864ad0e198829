// The configuration velmora's desktop OpenGL context is made with.
#pragma once

#include <EGL/egl.h>

// A configuration for a desktop OpenGL context on display; none is needed
// (EGL_NO_CONFIG_KHR) where the display can make contexts without one.
// False when the display offers none.
bool ChooseConfig(EGLDisplay display, EGLConfig& config);
