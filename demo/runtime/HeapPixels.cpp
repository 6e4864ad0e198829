// Pixel memory from the C heap, for platforms whose images are drawn only
// by the run-time's own pixel routines (Platform.h).
#include <cstdlib>

#include "demo/runtime/Platform.h"

std::uint8_t* AcquirePixelMemory(const PixelMemoryRequest& request, void*& native) {
    native = nullptr;
    // calloc: large buffers come zeroed from the system without touching
    // every page.
    return static_cast<std::uint8_t*>(request.zeroed ? std::calloc(request.bytes, 1)
                                                     : std::malloc(request.bytes));
}

void ReleasePixelMemory(std::uint8_t* bits, void* /*native*/) {
    std::free(bits);
}

void* OpenImageOutput(PixelBuffer& /*image*/) {
    return nullptr;
}

void CloseImageOutput(void* /*state*/) {}

bool NativeFillPixels(PixelBuffer& /*buffer*/, Color /*color*/) {
    return false;
}

bool NativeCopyRect(PixelBuffer& /*to*/, const PixelBuffer& /*from*/, int /*x*/, int /*y*/,
                    int /*width*/, int /*height*/) {
    return false;
}
