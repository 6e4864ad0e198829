// cubes-icons OUTDIR WOBBLET_FRAME.png: writes the desktop icons of both
// programs as OUTDIR/velmora-N.png and OUTDIR/wobblet-N.png for N = 48, 128
// and 256. velmora's are its own window icon (shell/icon) enlarged; wobblet's
// are a square of one of its frames (the head, the cube and the hand of its
// background picture) reduced. Neither is drawn anew.
#include <cstdio>
#include <string>

#include "packaging/icons/Resample.h"
#include "shell/icon/Icon.h"
#include "tools/png/png_file.h"

namespace {

constexpr int kSizes[] = {48, 128, 256};

// The part of an 800 x 600 frame that holds the face, the cube and the
// fingers below it.
constexpr int kCropLeft = 160;
constexpr int kCropTop = 120;
constexpr int kCropSize = 480;

bool WriteIcon(const std::string& path, const icons::Rgba& picture, std::string& error) {
    std::vector<std::uint8_t> rgba(picture.pixels.size() * 4);
    for (std::size_t k = 0; k < picture.pixels.size(); ++k) {
        const std::uint32_t p = picture.pixels[k];
        rgba[k * 4 + 0] = static_cast<std::uint8_t>(p >> 16);
        rgba[k * 4 + 1] = static_cast<std::uint8_t>(p >> 8);
        rgba[k * 4 + 2] = static_cast<std::uint8_t>(p);
        rgba[k * 4 + 3] = static_cast<std::uint8_t>(p >> 24);
    }
    return png_file::Write(path, picture.width, picture.height, png_file::Layout::kRgba,
                           rgba.data(), picture.width * 4, &error);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTDIR WOBBLET_FRAME.png\n", argv[0]);
        return 2;
    }
    const std::string outDir = argv[1];
    std::string error;

    png_file::Picture frame;
    if (!png_file::Read(argv[2], png_file::Layout::kRgb, frame, &error)) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
        return 1;
    }
    if (frame.width < kCropLeft + kCropSize || frame.height < kCropTop + kCropSize) {
        std::fprintf(stderr, "%s: %s is %d x %d, not a whole wobblet frame\n", argv[0], argv[2],
                     frame.width, frame.height);
        return 1;
    }
    icons::Rgba wobblet{kCropSize, kCropSize, {}};
    for (int y = 0; y < kCropSize; ++y) {
        const std::uint8_t* row = frame.Row(kCropTop + y) + kCropLeft * 3;
        for (int x = 0; x < kCropSize; ++x) {
            wobblet.pixels.push_back(0xFF000000u | row[x * 3] << 16 | row[x * 3 + 1] << 8 |
                                     row[x * 3 + 2]);
        }
    }

    const auto pixels = IconPixels();
    const icons::Rgba velmora{kIconSize, kIconSize, {pixels.begin(), pixels.end()}};

    for (const int size : kSizes) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "-%d.png", size);
        if (!WriteIcon(outDir + "/velmora" + suffix, icons::ResampleSquare(velmora, size), error) ||
            !WriteIcon(outDir + "/wobblet" + suffix, icons::ResampleSquare(wobblet, size), error)) {
            std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
            return 1;
        }
    }
    return 0;
}
