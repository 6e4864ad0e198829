#include "tools/artwork/GreyAlphaPng.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace artwork {

namespace {

// Kept free of C++ objects: libpng reports errors by long jump.
bool WriteRows(std::FILE* file, int width, int height, unsigned pixelsPerMetre,
               const std::uint8_t* rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_GRAY_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, pixelsPerMetre, pixelsPerMetre, PNG_RESOLUTION_METER);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, rows + static_cast<std::size_t>(y) * width * 2);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WriteGreyAlphaPng(const std::string& path, int width, int height,
                       const std::vector<std::uint8_t>& grey, unsigned pixelsPerMetre,
                       std::string* error) {
    if (width <= 0 || height <= 0 ||
        grey.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        *error = "picture size does not match its pixels";
        return false;
    }
    std::vector<std::uint8_t> rows(grey.size() * 2);
    for (std::size_t i = 0; i < grey.size(); ++i) {
        rows[2 * i] = grey[i];
        rows[2 * i + 1] = grey[i] == 0 ? 0 : 255;
    }

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        *error = path + ": cannot open for writing";
        return false;
    }
    const bool written = WriteRows(file, width, height, pixelsPerMetre, rows.data());
    // Closing writes what is still buffered, so its failure is a failed write.
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        *error = path + (written ? ": write failed" : ": libpng could not write the picture");
        std::remove(path.c_str());  // never leave half a picture behind
        return false;
    }
    return true;
}

}  // namespace artwork
