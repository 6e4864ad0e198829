#include "demo/runtime/DrawTarget.h"

#include <memory>
#include <new>

#include "demo/runtime/Images.h"

namespace {

// The current output, per thread like the rest of the drawing state.
thread_local std::unique_ptr<DrawTarget> current;

}  // namespace

DrawTarget* MakeOutput(OutputKind kind, PixelBuffer* buffer) {
    EndDrawing();
    if (buffer == nullptr) {
        return nullptr;
    }
    auto output = std::unique_ptr<DrawTarget>(new (std::nothrow) DrawTarget);
    if (!output) {
        return nullptr;
    }
    output->kind = kind;
    output->width = buffer->width;
    output->height = buffer->height;
    output->depth = buffer->Depth();
    output->buffer = buffer;
    current = std::move(output);
    return current.get();
}

DrawTarget* DrawingOutput() {
    DrawTarget* output = current.get();
    return output != nullptr && output->begun && output->buffer != nullptr ? output : nullptr;
}

void DetachDrawingFrom(const PixelBuffer* buffer) {
    if (current && current->buffer == buffer) {
        current->buffer = nullptr;
    }
}

DrawTarget* ImageTarget(int number) {
    const ImageRecord* image = FindImage(number);
    if (image == nullptr) {
        EndDrawing();
        return nullptr;
    }
    return MakeOutput(OutputKind::kImage, image->handle.get());
}

int BeginDrawing(DrawTarget* output) {
    // Only the output just made can be begun; anything else is stale.
    if (output == nullptr || output != current.get()) {
        return 0;
    }
    if (output->buffer == nullptr) {
        current.reset();
        return 0;
    }
    output->clipWidth = output->width;
    output->clipHeight = output->height;
    output->begun = true;
    // What is drawn from now on may change any pixel.
    output->buffer->version = NewPixelVersion();
    return 1;
}

void EndDrawing() {
    current.reset();
}

void SetDrawMode(int mode) {
    if (current) {
        current->mode = mode;
    }
}

void SetOutputColor(DrawTarget& output, Color color) {
    if (color == output.cachedColor) {
        return;
    }
    output.cachedColor = color;
    output.color = color;
    output.red = static_cast<std::uint8_t>(color);
    output.green = static_cast<std::uint8_t>(color >> 8);
    output.blue = static_cast<std::uint8_t>(color >> 16);
    output.alpha = static_cast<std::uint8_t>(color >> 24);
}

Color PackColor(int red, int green, int blue) {
    return static_cast<Color>(red) + 256u * static_cast<Color>(green) +
           65536u * static_cast<Color>(blue);
}
