// Pixel memory from the C heap, for platforms whose images are drawn only
// by the run-time's own pixel routines (Platform.h).
#include <cstdlib>

#include "demo/runtime/PixelHeap.h"
#include "demo/runtime/Platform.h"

std::uint8_t* AcquirePixelMemory(const PixelMemoryRequest& request, void*& native) {
    native = nullptr;
    return AllocatePixelBytes(request.bytes, request.zeroed);
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
