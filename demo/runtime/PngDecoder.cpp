// PNG decoding with libpng, from memory. libpng reports errors by long jump;
// the function that sets the jump point holds no C++ objects, so nothing is
// skipped over that would need destroying.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>

#include "demo/runtime/Images.h"

namespace {

constexpr std::uint32_t kPngFormat = 0x474E5089;  // the signature's first four bytes

struct PngSource {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
    // Owned here until the decoding has succeeded.
    PixelBuffer* buffer = nullptr;
    int sourceDepth = 0;
};

[[noreturn]] void OnError(png_structp png, png_const_charp /*message*/) {
    png_longjmp(png, 1);
}

void OnWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// Never reads past the size it was given: data that ends early is an error,
// not a read of whatever lies behind it.
void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (length > source->size - source->position) {
        png_error(png, "unexpected end of data");
    }
    std::memcpy(out, source->data + source->position, length);
    source->position += length;
}

bool Recognise(const std::uint8_t* data, std::size_t size) {
    return size >= 8 && png_sig_cmp(data, 0, 8) == 0;
}

// Everything libpng may jump out of. Returns true with source.buffer filled.
bool DecodeRows(png_structp png, png_infop info, PngSource& source) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_read_fn(png, &source, ReadFromMemory);
    png_read_info(png, info);

    const int colorType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
        png_set_tRNS_to_alpha(png);
    }
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_PALETTE ||
        colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        if (bitDepth < 8) {
            png_set_expand(png);
        }
        if (colorType == PNG_COLOR_TYPE_PALETTE) {
            png_set_palette_to_rgb(png);
        } else {
            png_set_gray_to_rgb(png);
        }
    }
    // Interlaced pictures of every colour type need all their passes.
    const int passes = png_set_interlace_handling(png);
    png_set_strip_16(png);
    png_set_bgr(png);
    // Once, after every transformation: libpng refuses a second update.
    png_read_update_info(png, info);

    const int channels = png_get_channels(png, info);
    if (channels != 3 && channels != 4) {
        png_error(png, "unexpected channel count");
    }
    const int width =
        static_cast<int>(std::min<png_uint_32>(png_get_image_width(png, info), kMaxImageSide + 1));
    const int height =
        static_cast<int>(std::min<png_uint_32>(png_get_image_height(png, info), kMaxImageSide + 1));
    source.buffer = NewPixelBuffer(width, height, channels * 8).release();
    if (source.buffer == nullptr ||
        png_get_rowbytes(png, info) > static_cast<png_size_t>(source.buffer->stride)) {
        png_error(png, "picture too large");
    }
    source.sourceDepth = colorType == PNG_COLOR_TYPE_RGB || colorType == PNG_COLOR_TYPE_RGB_ALPHA
                             ? channels * 8
                             : bitDepth;
    for (int pass = 0; pass < passes; ++pass) {
        // Top row of the picture first, which is the last row in memory.
        for (int y = 0; y < height; ++y) {
            png_read_row(png, source.buffer->Row(y), nullptr);
        }
    }
    return true;
}

std::unique_ptr<PixelBuffer> ReadPng(const std::uint8_t* data, std::size_t size, int& sourceDepth) {
    // The version of the library we are built against: libpng refuses any
    // other, so a version literal from another release would never decode.
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (png == nullptr) {
        return nullptr;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return nullptr;
    }
    // Only the pixels matter here, so every ancillary chunk but tRNS is
    // skipped unread. libpng would otherwise ask for a text chunk's whole
    // declared length (up to 2 GB) before finding that the data ends long
    // before it.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    PngSource source;
    source.data = data;
    source.size = size;
    const bool decoded = DecodeRows(png, info, source);
    png_destroy_read_struct(&png, &info, nullptr);
    std::unique_ptr<PixelBuffer> buffer(source.buffer);
    if (!decoded) {
        return nullptr;
    }
    sourceDepth = source.sourceDepth;
    return buffer;
}

}  // namespace

void RegisterPngDecoder() {
    ImageDecoder decoder;
    decoder.format = kPngFormat;
    decoder.recognise = Recognise;
    decoder.read = ReadPng;
    RegisterImageDecoder(decoder);
}
