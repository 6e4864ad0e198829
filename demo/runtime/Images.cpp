#include "demo/runtime/Images.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/InkCopies.h"
#include "demo/runtime/Platform.h"

namespace {

void ReleaseImage(int number);

ObjectTable<ImageRecord> imageTable(16, ReleaseImage);
std::vector<ImageDecoder> decoders;

void ReleaseImage(int number) {
    ImageRecord* record = imageTable.Find(number);
    if (record == nullptr) {
        return;
    }
    // A drawing pass may still be aimed at this image: it must stop writing.
    DetachDrawingFrom(record->handle.get());
    imageTable.Release(number);
}

// Stores a finished buffer under number, releasing what held it.
ImageHandle Store(int number, std::unique_ptr<PixelBuffer> buffer, int sourceDepth,
                  std::uint32_t format) {
    ImageRecord* record = imageTable.Take(number);
    if (record == nullptr) {
        return nullptr;
    }
    record->width = static_cast<std::int16_t>(buffer->width);
    record->height = static_cast<std::int16_t>(buffer->height);
    record->depth = static_cast<std::uint8_t>(buffer->Depth());
    record->sourceDepth = static_cast<std::uint8_t>(sourceDepth);
    record->format = format;
    record->handle = std::move(buffer);
    return record->handle.get();
}

bool NumberUsable(int number) {
    return number >= 0 && number <= kMaxObjectNumber;
}

}  // namespace

ObjectTable<ImageRecord>& ImageTable() {
    return imageTable;
}

const ImageRecord* FindImage(int number) {
    return imageTable.Find(number);
}

bool IsLiveImage(ImageHandle handle) {
    return handle != nullptr && imageTable.FindNumber([handle](const ImageRecord& r) {
        return r.handle.get() == handle;
    }) >= 0;
}

void RegisterImageDecoder(const ImageDecoder& decoder) {
    const bool known = std::any_of(decoders.begin(), decoders.end(), [&](const ImageDecoder& d) {
        return d.format == decoder.format;
    });
    if (!known) {
        decoders.push_back(decoder);
    }
}

void StartImageSupport() {
    imageTable.ReleaseAll();
    decoders.clear();
}

void StopImageSupport() {
    EndDrawing();
    imageTable.ReleaseAll();
    decoders.clear();
}

ImageHandle MakeImage(int number, int width, int height, int depth, Color background) {
    if (!NumberUsable(number)) {
        return nullptr;
    }
    std::unique_ptr<PixelBuffer> buffer = NewPixelBuffer(width, height, std::max(depth, 24));
    if (!buffer) {
        return nullptr;
    }
    Color fill = background;
    if (buffer->bytesPerPixel == 4) {
        // -1 is transparent black; any other colour is opaque.
        fill = background == 0xFFFFFFFFu ? 0 : (background | 0xFF000000u);
    }
    // A platform with native bitmaps paints 24-bit ones with its own fill.
    const bool filled = buffer->bytesPerPixel == 3 && NativeFillPixels(*buffer, fill);
    if (fill != 0 && !filled) {
        const std::uint8_t bgra[4] = {
            static_cast<std::uint8_t>(fill >> 16), static_cast<std::uint8_t>(fill >> 8),
            static_cast<std::uint8_t>(fill), static_cast<std::uint8_t>(fill >> 24)};
        for (int y = 0; y < buffer->height; ++y) {
            std::uint8_t* p = buffer->Row(y);
            for (int x = 0; x < buffer->width; ++x, p += buffer->bytesPerPixel) {
                std::memcpy(p, bgra, buffer->bytesPerPixel);
            }
        }
    }
    if (fill == 0) {
        buffer->ink.StartBlank(buffer->height);
    }
    const int sourceDepth = buffer->Depth();
    return Store(number, std::move(buffer), sourceDepth, 0);
}

ImageHandle DecodeImageMemory(int number, const void* data, std::size_t size, int /*flags*/) {
    if (!NumberUsable(number) || data == nullptr || size == 0) {
        return nullptr;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (const ImageDecoder& decoder : decoders) {
        if (!decoder.recognise(bytes, size)) {
            continue;
        }
        int sourceDepth = 0;
        std::unique_ptr<PixelBuffer> buffer = decoder.read(bytes, size, sourceDepth);
        // The number keeps its old image when the data is bad.
        if (!buffer) {
            return nullptr;
        }
        return Store(number, std::move(buffer), sourceDepth, decoder.format);
    }
    return nullptr;
}

ImageHandle CopyImageRect(int source, int newNumber, int x, int y, int width, int height) {
    const ImageRecord* from = imageTable.Find(source);
    if (from == nullptr || !NumberUsable(newNumber)) {
        return nullptr;
    }
    const PixelBuffer& src = *from->handle;
    // The part of the rectangle that lies on the source; the rest stays black.
    // 64-bit so that x + width cannot overflow.
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t{x} + width, src.width);
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{y} + height, src.height);
    // When the copy will cover every byte, zeroing the new buffer first would
    // only write it twice; from a source that keeps its ink only the ink is
    // copied, onto zeros.
    const bool coversAll =
        left == x && top == y && right == std::int64_t{x} + width &&
        bottom == std::int64_t{y} + height &&
        RowStride(width, src.bytesPerPixel) == std::int64_t{width} * src.bytesPerPixel &&
        !src.ink.Tracked();
    std::unique_ptr<PixelBuffer> copy = coversAll
                                            ? NewUnfilledPixelBuffer(width, height, src.Depth())
                                            : NewPixelBuffer(width, height, src.Depth());
    if (!copy) {
        return nullptr;
    }
    if (!coversAll) {
        copy->ink.StartBlank(copy->height);
    }
    if (left < right && top < bottom) {
        if (NativeCopyRect(*copy, src, x, y, width, height)) {
            copy->ink.MarkAll();
        } else if (src.ink.Tracked()) {
            CopyInkedRows(*copy, src, x, y, left, top, right, bottom);
        } else {
            const std::size_t rowBytes = static_cast<std::size_t>(right - left) * src.bytesPerPixel;
            for (std::int64_t row = top; row < bottom; ++row) {
                std::memcpy(copy->Row(static_cast<int>(row - y)) + (left - x) * src.bytesPerPixel,
                            src.Row(static_cast<int>(row)) + left * src.bytesPerPixel, rowBytes);
            }
            copy->ink.Mark(left - x, top - y, right - x, bottom - y);
        }
    }
    return Store(newNumber, std::move(copy), from->sourceDepth, from->format);
}

DrawTarget* ImageTarget(int number) {
    const ImageRecord* image = FindImage(number);
    if (image == nullptr) {
        EndDrawing();
        return nullptr;
    }
    DrawTarget* output = MakeDrawTarget(DrawTargetKind::kImage, image->handle.get());
    if (output != nullptr) {
        output->imageState = OpenImageOutput(*image->handle);
    }
    return output;
}

ImageHandle NativeImageHandle(int number) {
    const ImageRecord* record = imageTable.Find(number);
    return record != nullptr ? record->handle.get() : nullptr;
}
