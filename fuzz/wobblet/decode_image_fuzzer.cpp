// Feeds arbitrary bytes to DecodeImageMemory: it must return an image or 0,
// never crash, read past the data or hang.
#include <cstddef>
#include <cstdint>

#include "demo/runtime/PixelBuffer.h"
#include "demo/runtime/runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool started = [] {
        RuntimeStartup();
        return true;
    }();
    (void)started;
    ImageHandle image = DecodeImageMemory(18, data, size);
    if (image != nullptr) {
        // Touch the whole picture so that a short buffer would show.
        volatile std::uint8_t sum = 0;
        for (int y = 0; y < image->height; ++y) {
            const std::uint8_t* row = image->Row(y);
            for (std::ptrdiff_t i = 0; i < image->width * image->bytesPerPixel; ++i) {
                sum = static_cast<std::uint8_t>(sum + row[i]);
            }
        }
    }
    return 0;
}
