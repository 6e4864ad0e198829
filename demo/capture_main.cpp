// wobblet-capture --frames N [--every K] [--out DIR] [--animation FILE]: runs
// the demo on the headless screen and writes what it presents as PNG files,
// as one animated WebP file, or both.
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
#include "tools/webp/webp_animation.h"

namespace {

constexpr const char* kProgram = "wobblet-capture";

// When the written frame with index n (from 0) starts showing, in ms: each
// shows for every/60 s, rounded to whole milliseconds without drifting.
int FrameStartMs(long n, long every) {
    return static_cast<int>((n * every * 1000 + 30) / 60);
}

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
        if (error.empty()) {
            std::fputs(kCaptureUsage, stdout);
            return 0;
        }
        std::fprintf(stderr, "%s: %s\n%s", kProgram, error.c_str(), kCaptureUsage);
        return 2;
    }
    if (options.version) {
        std::fputs(kCaptureVersion, stdout);
        return 0;
    }
    const bool writePngs = !options.outDir.empty();
    if (writePngs) {
        std::error_code ec;
        std::filesystem::create_directories(options.outDir, ec);
        if (ec || !std::filesystem::is_directory(options.outDir)) {
            std::fprintf(stderr, "%s: cannot create the directory %s: %s\n", kProgram,
                         options.outDir.c_str(), ec ? ec.message().c_str() : "not a directory");
            return 1;
        }
    }
    webp_animation::Writer animation;
    // The screen's pictures are exact: nothing may be lost on the way.
    if (!options.animationPath.empty() &&
        !animation.Open(options.animationPath, kScreenWidth, kScreenHeight,
                        webp_animation::Settings{.lossless = true}, &error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        return 1;
    }

    long frame = 0;
    long kept = 0;
    bool failed = false;
    SetFrameSink([&](const PresentedScreen& screen) {
        ++frame;
        if (frame >= options.from && frame % options.every == 0) {
            std::string writeError;
            bool ok = true;
            if (writePngs) {
                ok = WriteBgr(FrameFileName(options.outDir, frame), screen.width, screen.height, 4,
                              screen.pixels, screen.stride, writeError);
            }
            if (ok && !options.animationPath.empty()) {
                ok = animation.AddFrame(screen.pixels, screen.stride, 4,
                                        FrameStartMs(kept, options.every), &writeError);
            }
            if (!ok) {
                std::fprintf(stderr, "%s: %s\n", kProgram, writeError.c_str());
                failed = true;
                return false;
            }
            ++kept;
        }
        return frame < options.frames;
    });

    if (const char* call = StartWobblet(); call != nullptr) {
        std::fprintf(stderr, "%s: %s failed on the headless screen\n", kProgram, call);
        return 1;
    }
    if (writePngs && !WriteBackground(options.outDir, error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        failed = true;
    } else {
        while (RunFrame()) {
        }
    }
    StopWobblet();
    SetFrameSink(nullptr);
    if (!failed && !options.animationPath.empty() &&
        !animation.Finish(FrameStartMs(kept, options.every), &error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        failed = true;
    }
    if (failed) {
        return 1;
    }
    std::printf("%s: %ld frames", kProgram, frame);
    if (writePngs) {
        std::printf(", written to %s", options.outDir.c_str());
    }
    if (!options.animationPath.empty()) {
        std::printf(", %ld in the animation %s", kept, options.animationPath.c_str());
    }
    std::printf("\n");
    return 0;
}
