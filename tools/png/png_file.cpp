#include "tools/png/png_file.h"

#include <png.h>

#include <cstring>

namespace png_file {

namespace {

png_uint_32 FormatOf(Layout layout) {
    switch (layout) {
        case Layout::kRgb:
            return PNG_FORMAT_RGB;
        case Layout::kBgr:
            return PNG_FORMAT_BGR;
        case Layout::kRgba:
            return PNG_FORMAT_RGBA;
        case Layout::kBgra:
            return PNG_FORMAT_BGRA;
        case Layout::kGrayAlpha:
            return PNG_FORMAT_GA;
    }
    return PNG_FORMAT_RGB;
}

void SetError(std::string* error, const std::string& text) {
    if (error != nullptr) {
        *error = text;
    }
}

}  // namespace

int BytesPerPixel(Layout layout) {
    return static_cast<int>(PNG_IMAGE_PIXEL_SIZE(FormatOf(layout)));
}

int Picture::BytesPerPixel() const {
    return png_file::BytesPerPixel(layout);
}

const std::uint8_t* Picture::Row(int y) const {
    return pixels.data() + static_cast<std::size_t>(y) * width * BytesPerPixel();
}

bool Write(const std::string& path, int width, int height, Layout layout,
           const std::uint8_t* topRow, std::ptrdiff_t stride, std::string* error) {
    if (width <= 0 || height <= 0 || topRow == nullptr) {
        SetError(error, "nothing to write: empty picture");
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = FormatOf(layout);
    // libpng takes a negative stride for bottom-up rows and then expects the
    // buffer's first (bottom) row; we are handed the top row either way.
    const std::uint8_t* buffer = topRow;
    if (stride < 0) {
        buffer = topRow + stride * (height - 1);
    }
    if (png_image_write_to_file(&image, path.c_str(), 0, buffer, static_cast<png_int_32>(stride),
                                nullptr) == 0) {
        SetError(error, path + ": " + image.message);
        png_image_free(&image);
        return false;
    }
    return true;
}

bool Read(const std::string& path, Layout layout, Picture& out, std::string* error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        SetError(error, path + ": " + image.message);
        return false;
    }
    image.format = FormatOf(layout);
    Picture picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.layout = layout;
    picture.pixels.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr) == 0) {
        SetError(error, path + ": " + image.message);
        png_image_free(&image);
        return false;
    }
    out = std::move(picture);
    return true;
}

}  // namespace png_file
