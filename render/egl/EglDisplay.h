// Finding an EGL display that can render without a window system.
#pragma once

#include <EGL/egl.h>

// A display that initializes: Mesa's surfaceless platform, else the first
// EGL device, else the default display. EGL_NO_DISPLAY when none does.
EGLDisplay OpenDisplay();
