// The native screen drawing of Platform.h for platforms whose screen is the
// core's back buffer in memory: they never say ownBackBuffer, so none of
// this is ever called.
#include "demo/runtime/Platform.h"

DrawTarget* PlatformScreenTarget() {
    return nullptr;
}

void NativeFillRect(DrawTarget& /*output*/, int /*x*/, int /*y*/, int /*width*/, int /*height*/) {}
void NativeDrawLine(DrawTarget& /*output*/, int /*x1*/, int /*y1*/, int /*x2*/, int /*y2*/) {}
void NativeBlitImage(DrawTarget& /*output*/, const PixelBuffer& /*image*/, int /*x*/, int /*y*/) {}
void ApplyNativeState(DrawTarget& /*output*/) {}
void ReleaseNativeOutput(DrawTarget& /*output*/) {}
