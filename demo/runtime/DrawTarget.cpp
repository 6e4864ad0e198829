#include "demo/runtime/DrawTarget.h"

#include <memory>
#include <new>

#include "demo/runtime/Platform.h"

namespace {

// Frees an output, running a native output's release hook first.
struct ReleaseTarget {
    void operator()(DrawTarget* output) const {
        if (output->native) {
            ReleaseNativeOutput(*output);
        }
        if (output->imageState != nullptr) {
            CloseImageOutput(output->imageState);
        }
        delete output;
    }
};

// The current output, per thread like the rest of the drawing state.
thread_local std::unique_ptr<DrawTarget, ReleaseTarget> current;

}  // namespace

DrawTarget* MakeDrawTarget(DrawTargetKind kind, PixelBuffer* buffer) {
    EndDrawing();
    if (buffer == nullptr) {
        return nullptr;
    }
    auto output = std::unique_ptr<DrawTarget, ReleaseTarget>(new (std::nothrow) DrawTarget);
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

DrawTarget* MakeNativeDrawTarget(DrawTargetKind kind, int width, int height, int depth,
                                 void* context) {
    EndDrawing();
    auto output = std::unique_ptr<DrawTarget, ReleaseTarget>(new (std::nothrow) DrawTarget);
    if (!output) {
        DrawTarget unmade;
        unmade.native = true;
        unmade.nativeContext = context;
        ReleaseNativeOutput(unmade);
        return nullptr;
    }
    output->kind = kind;
    output->width = width;
    output->height = height;
    output->depth = depth;
    output->native = true;
    output->nativeContext = context;
    current = std::move(output);
    return current.get();
}

DrawTarget* DrawingTarget() {
    DrawTarget* output = current.get();
    return output != nullptr && output->begun && (output->buffer != nullptr || output->native)
               ? output
               : nullptr;
}

void EndNativeDrawing(const void* context) {
    if (current && current->native && current->nativeContext == context) {
        current.reset();
    }
}

void DetachDrawingFrom(const PixelBuffer* buffer) {
    if (current && current->buffer == buffer) {
        current->buffer = nullptr;
        // The platform lets go of the buffer too, before it is freed.
        if (current->imageState != nullptr) {
            CloseImageOutput(current->imageState);
            current->imageState = nullptr;
        }
    }
}

int BeginDrawing(DrawTarget* output) {
    // Only the output just made can be begun; anything else is stale.
    if (output == nullptr || output != current.get()) {
        return 0;
    }
    if (output->buffer == nullptr && !output->native) {
        current.reset();
        return 0;
    }
    output->clipWidth = output->width;
    output->clipHeight = output->height;
    output->begun = true;
    // What is drawn from now on may change any pixel. An output drawn through
    // the platform's own calls has no buffer of ours to mark.
    if (output->buffer != nullptr) {
        output->buffer->version = NewPixelVersion();
    }
    return 1;
}

void EndDrawing() {
    current.reset();
}

void SetDrawMode(int mode) {
    if (current) {
        current->mode = mode;
        if (current->native) {
            ApplyNativeState(*current);
        }
    }
}

void SetTargetColor(DrawTarget& output, Color color) {
    if (color == output.cachedColor) {
        return;
    }
    output.cachedColor = color;
    output.color = color;
    output.red = static_cast<std::uint8_t>(color);
    output.green = static_cast<std::uint8_t>(color >> 8);
    output.blue = static_cast<std::uint8_t>(color >> 16);
    output.alpha = static_cast<std::uint8_t>(color >> 24);
    if (output.native) {
        ApplyNativeState(output);
    }
}

Color PackColor(int red, int green, int blue) {
    return static_cast<Color>(red) + 256u * static_cast<Color>(green) +
           65536u * static_cast<Color>(blue);
}
