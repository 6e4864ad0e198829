// wobblet-capture --frames N [--every K] --out DIR: runs the demo on the
// headless screen and writes what it presents as PNG files.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "demo/CaptureOptions.h"
#include "demo/Wobblet.h"
#include "demo/runtime/PixelBuffer.h"
#include "demo/runtime/headless/FrameSink.h"
#include "demo/runtime/runtime.h"
#include "tools/png/png_file.h"

namespace {

constexpr const char* kProgram = "wobblet-capture";

// Colour channels only, 3 bytes a pixel: the screen's fourth byte is unused and
// the background's alpha plays no part in how it is drawn.
bool WriteBgr(const std::string& path, int width, int height, int bytesPerPixel,
              const std::uint8_t* topRow, std::ptrdiff_t stride, std::string& error) {
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(width) * height * 3);
    std::uint8_t* out = bgr.data();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = topRow + y * stride;
        for (int x = 0; x < width; ++x, in += bytesPerPixel, out += 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
    return png_file::Write(path, width, height, png_file::Layout::kBgr, bgr.data(), width * 3,
                           &error);
}

bool WriteBackground(const std::string& dir, std::string& error) {
    const PixelBuffer* picture = NativeImageHandle(kBackgroundImage);
    if (picture == nullptr) {
        error = "the built-in background picture did not decode";
        return false;
    }
    const std::ptrdiff_t stride = picture->bottomUp ? -picture->stride : picture->stride;
    return WriteBgr(dir + "/background.png", picture->width, picture->height,
                    picture->bytesPerPixel, picture->Row(0), stride, error);
}

}  // namespace

int main(int argc, char** argv) {
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "%s: %s\n%s", kProgram, error.c_str(), kCaptureUsage);
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(options.outDir, ec);
    if (ec || !std::filesystem::is_directory(options.outDir)) {
        std::fprintf(stderr, "%s: cannot create the directory %s: %s\n", kProgram,
                     options.outDir.c_str(), ec ? ec.message().c_str() : "not a directory");
        return 1;
    }

    long frame = 0;
    bool failed = false;
    SetFrameSink([&](const PresentedScreen& screen) {
        ++frame;
        if (frame % options.every == 0) {
            const std::string path = FrameFileName(options.outDir, frame);
            std::string writeError;
            if (!WriteBgr(path, screen.width, screen.height, 4, screen.pixels, screen.stride,
                          writeError)) {
                std::fprintf(stderr, "%s: %s\n", kProgram, writeError.c_str());
                failed = true;
                return false;
            }
        }
        return frame < options.frames;
    });

    if (const char* call = StartWobblet(); call != nullptr) {
        std::fprintf(stderr, "%s: %s failed on the headless screen\n", kProgram, call);
        return 1;
    }
    if (!WriteBackground(options.outDir, error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        failed = true;
    } else {
        while (RunFrame()) {
        }
    }
    StopWobblet();
    SetFrameSink(nullptr);
    if (failed) {
        return 1;
    }
    std::printf("%s: %ld frames, written to %s\n", kProgram, frame, options.outDir.c_str());
    return 0;
}
