// Reading and writing whole PNG files, for tools and tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace png_file {

enum class Layout {
    kRgb,        // 3 bytes a pixel: red, green, blue
    kBgr,        // 3 bytes a pixel: blue, green, red
    kRgba,       // 4 bytes a pixel: red, green, blue, alpha
    kBgra,       // 4 bytes a pixel: blue, green, red, alpha
    kGrayAlpha,  // 2 bytes a pixel: grey, alpha
};

// A picture in memory, top row first, rows of width * bytes-per-pixel bytes.
struct Picture {
    int width = 0;
    int height = 0;
    Layout layout = Layout::kRgb;
    std::vector<std::uint8_t> pixels;

    int BytesPerPixel() const;
    const std::uint8_t* Row(int y) const;
};

// Writes rows of the given layout. stride is the distance between rows in
// bytes and may be negative for bottom-up buffers (pass the top row's address).
// Returns false and fills error when the file cannot be written.
bool Write(const std::string& path, int width, int height, Layout layout,
           const std::uint8_t* topRow, std::ptrdiff_t stride, std::string* error = nullptr);

// Reads any PNG file, converted to the requested layout.
bool Read(const std::string& path, Layout layout, Picture& out, std::string* error = nullptr);

int BytesPerPixel(Layout layout);

}  // namespace png_file
