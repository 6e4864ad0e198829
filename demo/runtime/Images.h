// The numbered images and the decoders that make them from encoded data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "demo/runtime/ObjectTable.h"
#include "demo/runtime/PixelBuffer.h"
#include "demo/runtime/runtime.h"

struct ImageRecord {
    std::unique_ptr<PixelBuffer> handle;  // the bitmap; NativeImageHandle gives it out
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::uint8_t depth = 0;        // of the buffer: 24 or 32
    std::uint8_t sourceDepth = 0;  // of the data it was made from
    std::uint32_t format = 0;      // the decoder's tag; 0 for made images
};

ObjectTable<ImageRecord>& ImageTable();
const ImageRecord* FindImage(int number);
// True when handle is the bitmap of a live image (handles of released images
// are not, and drawing ignores them).
bool IsLiveImage(ImageHandle handle);

// One image format the run-time can read.
struct ImageDecoder {
    std::uint32_t format = 0;
    // Whether data (size bytes at most) is in this format.
    bool (*recognise)(const std::uint8_t* data, std::size_t size) = nullptr;
    // The decoded picture, or null; sourceDepth gets the data's own depth.
    std::unique_ptr<PixelBuffer> (*read)(const std::uint8_t* data, std::size_t size,
                                         int& sourceDepth) = nullptr;
};

// Adds a decoder after the ones registered before it; a second registration
// of the same format changes nothing.
void RegisterImageDecoder(const ImageDecoder& decoder);

// The image side of the start-up and shutdown sequences.
void StartImageSupport();
void StopImageSupport();
