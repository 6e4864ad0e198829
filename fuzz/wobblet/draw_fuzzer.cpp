// Drives the drawing primitives (FillRect, DrawLine, BlitImage, CopyImageRect)
// and the calls around them with whatever the input says: coordinates and
// sizes anywhere in int, the limits included, on small 24- and 32-bit images,
// in copy and exclusive-or mode, with images released, re-made or drawn onto
// themselves mid-pass. AddressSanitizer catches any write outside a buffer;
// two checks of our own catch what it cannot see:
//   - the padding bytes at the end of each row stay zero (a write that lands
//     in the padding, or wraps into the next row, stays inside the buffer);
//   - a line drawn in either direction sets the same pixels.
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "demo/runtime/PixelBuffer.h"
#include "demo/runtime/runtime.h"

namespace {

// Image numbers the input may use; 6 and 7 are the line check's own.
constexpr int kImages = 6;
constexpr int kLineA = 6;
constexpr int kLineB = 7;

// Mostly near the images, often at the very ends of int, sometimes anywhere.
int Coordinate(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0:
            return INT_MIN + in.ConsumeIntegralInRange(0, 70);
        case 1:
            return INT_MAX - in.ConsumeIntegralInRange(0, 70);
        case 2:
            return in.ConsumeIntegral<int>();
        default:
            return in.ConsumeIntegralInRange(-80, 80);
    }
}

// Sizes for new images: small ones, and the values a size check must refuse.
int ImageSide(FuzzedDataProvider& in) {
    static constexpr int kOdd[] = {INT_MIN, INT_MIN + 1, -32768, -1,      0,           32767,
                                   32768,   65535,       65536,  1 << 28, INT_MAX - 1, INT_MAX};
    if (in.ConsumeIntegralInRange(0, 7) == 0) {
        return kOdd[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kOdd) - 1)];
    }
    return in.ConsumeIntegralInRange(1, 48);
}

// Keeps the run fast: a huge but legal image would be right, just slow.
bool SmallEnough(int width, int height) {
    return width <= 0 || height <= 0 || std::int64_t{width} * height <= (1 << 16);
}

int Depth(FuzzedDataProvider& in) {
    static constexpr int kDepths[] = {24, 32, 0, 8, 16, 31, 33, 64, -24};
    return kDepths[in.ConsumeIntegralInRange<std::size_t>(0, in.ConsumeBool() ? 1 : 8)];
}

void CheckPadding(ImageHandle image) {
    if (image == nullptr) {
        return;
    }
    const std::ptrdiff_t used = std::ptrdiff_t{image->width} * image->bytesPerPixel;
    for (int y = 0; y < image->height; ++y) {
        const std::uint8_t* row = image->Row(y);
        for (std::ptrdiff_t i = used; i < image->stride; ++i) {
            if (row[i] != 0) {
                std::abort();
            }
        }
    }
}

// The same line drawn forwards on one blank image and backwards on another
// must leave them equal.
void CheckLineBothWays(FuzzedDataProvider& in) {
    const int width = in.ConsumeIntegralInRange(1, 40);
    const int height = in.ConsumeIntegralInRange(1, 40);
    const int depth = in.ConsumeBool() ? 24 : 32;
    const int x1 = Coordinate(in);
    const int y1 = Coordinate(in);
    const int x2 = Coordinate(in);
    const int y2 = Coordinate(in);
    if (MakeImage(kLineA, width, height, depth) == nullptr ||
        MakeImage(kLineB, width, height, depth) == nullptr) {
        return;
    }
    BeginDrawing(ImageTarget(kLineA));
    DrawLine(x1, y1, x2, y2, 0xFFFFFF);
    EndDrawing();
    BeginDrawing(ImageTarget(kLineB));
    DrawLine(x2, y2, x1, y1, 0xFFFFFF);
    EndDrawing();
    const PixelBuffer* a = NativeImageHandle(kLineA);
    const PixelBuffer* b = NativeImageHandle(kLineB);
    if (std::memcmp(a->bits.get(), b->bits.get(),
                    static_cast<std::size_t>(a->stride) * a->height) != 0) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RuntimeStartup();
    FuzzedDataProvider in(data, size);
    for (int n = 0; n < kImages; ++n) {
        if (in.ConsumeBool()) {
            MakeImage(n, in.ConsumeIntegralInRange(1, 48), in.ConsumeIntegralInRange(1, 48),
                      in.ConsumeBool() ? 24 : 32, in.ConsumeIntegral<Color>());
        }
    }
    // A handle kept across a release, to be drawn after its image has gone.
    ImageHandle stale = nullptr;
    int steps = 0;
    while (in.remaining_bytes() > 0 && ++steps < 200) {
        const int image = in.ConsumeIntegralInRange(0, kImages - 1);
        switch (in.ConsumeIntegralInRange(0, 11)) {
            case 0: {
                const int width = ImageSide(in);
                const int height = ImageSide(in);
                if (SmallEnough(width, height)) {
                    MakeImage(image, width, height, Depth(in), in.ConsumeIntegral<Color>());
                }
                break;
            }
            case 1: {
                // The output may be left unbegun: drawing must then write nothing.
                DrawTarget* output = ImageTarget(image);
                if (in.ConsumeBool()) {
                    BeginDrawing(output);
                }
                break;
            }
            case 2:
                EndDrawing();
                break;
            case 3:
                SetDrawMode(in.ConsumeBool() ? DrawModeXor : in.ConsumeIntegral<int>());
                break;
            case 4:
                FillRect(Coordinate(in), Coordinate(in), Coordinate(in), Coordinate(in),
                         in.ConsumeIntegral<Color>());
                break;
            case 5:
            case 6:
                DrawLine(Coordinate(in), Coordinate(in), Coordinate(in), Coordinate(in),
                         in.ConsumeIntegral<Color>());
                break;
            case 7:
                // Possibly the image being drawn on.
                BlitImage(NativeImageHandle(image), Coordinate(in), Coordinate(in));
                break;
            case 8: {
                const int to = in.ConsumeIntegralInRange(0, kImages - 1);
                const int x = Coordinate(in);
                const int y = Coordinate(in);
                const int width = ImageSide(in);
                const int height = ImageSide(in);
                if (SmallEnough(width, height)) {
                    // Replacing the image being drawn on must stop the pass
                    // from writing into the old buffer.
                    CopyImageRect(image, to, x, y, width, height);
                }
                break;
            }
            case 9:
                stale = NativeImageHandle(image);
                MakeImage(image, in.ConsumeIntegralInRange(1, 16),
                          in.ConsumeIntegralInRange(1, 16));
                break;
            case 10:
                BlitImage(stale, Coordinate(in), Coordinate(in));
                break;
            case 11:
                CheckLineBothWays(in);
                break;
        }
        for (int n = 0; n < kImages; ++n) {
            CheckPadding(NativeImageHandle(n));
        }
    }
    EndDrawing();
    RuntimeShutdown();
    return 0;
}
