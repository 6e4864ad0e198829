// velmora-capture: runs velmora's application core with no window and writes
// the picture each tick copies into the window as a PNG file. The program
// itself keeps no options; this tool is how one sees it without a display.
#include <cstdio>
#include <filesystem>
#include <string>

#include "shell/App.h"
#include "shell/Platform.h"
#include "shell/headless/CaptureOptions.h"
#include "shell/headless/HeadlessWindow.h"
#include "tools/png/png_file.h"
#include "tools/webp/webp_animation.h"

namespace {

std::string FramePath(const std::string& dir, int tick) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%04d.png", tick);
    return (std::filesystem::path(dir) / name).string();
}

// Smooth shading and thin edges: lossy at this quality keeps the look in far
// smaller files than lossless.
constexpr float kAnimationQuality = 90;

}  // namespace

int main(int argc, char** argv) {
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureOptions(argc, argv, options, error)) {
        if (error.empty()) {
            std::fputs(kCaptureUsage, stdout);
            return 0;
        }
        std::fprintf(stderr, "velmora-capture: %s\n%s", error.c_str(), kCaptureUsage);
        return 2;
    }
    if (options.version) {
        std::fputs(kCaptureVersion, stdout);
        return 0;
    }
    const bool writePngs = !options.outDir.empty();
    std::error_code made;
    if (writePngs) {
        std::filesystem::create_directories(options.outDir, made);
    }
    if (writePngs && (made || !std::filesystem::is_directory(options.outDir))) {
        std::fprintf(stderr, "velmora-capture: cannot make the directory \"%s\"%s%s\n",
                     options.outDir.c_str(), made ? ": " : "", made ? made.message().c_str() : "");
        return 1;
    }

    // The program's start: the window is created (its timer starts), then
    // start-up, then the first paint of the shown window.
    OnCreate();
    InitApp();
    if (!theDrawGL.HasContext()) {
        std::fprintf(stderr, "velmora-capture: no OpenGL context could be created\n");
        return 1;
    }
    OnPaint();
    if (options.resize) {
        // The drawing context is asked first: a size it refuses would leave
        // every frame at the old size in the corner of a picture of the new.
        OnSize(options.width, options.height);
        const MemoryDC picture = theDrawGL.GetMemoryDC();
        if (picture.width != options.width || picture.height != options.height ||
            !HeadlessSetClientSize(options.width, options.height)) {
            std::fprintf(stderr,
                         "velmora-capture: cannot render %dx%d (too large for OpenGL here, or "
                         "not enough memory)\n",
                         options.width, options.height);
            return 1;
        }
        OnPaint();
    }

    webp_animation::Writer animation;
    const bool animate = !options.animationPath.empty();
    if (animate) {
        int width = 0;
        int height = 0;
        GetClientSize(width, height);
        if (!animation.Open(
                options.animationPath, width, height,
                webp_animation::Settings{.lossless = false, .quality = kAnimationQuality},
                &error)) {
            std::fprintf(stderr, "velmora-capture: %s\n", error.c_str());
            return 1;
        }
    }

    int written = 0;
    for (int tick = 1; tick <= options.ticks; ++tick) {
        const auto keys = options.keys.find(tick);
        if (keys != options.keys.end()) {
            for (char character : keys->second) {
                OnChar(character);
            }
        }
        int exitCode = 0;
        if (HeadlessQuitPosted(exitCode) || !HeadlessTimerRunning()) {
            std::fprintf(stderr, "velmora-capture: the program quit before tick %d\n", tick);
            break;
        }
        OnTimer();
        if (tick % options.every != 0) {
            continue;
        }
        int width = 0;
        int height = 0;
        GetClientSize(width, height);
        if (writePngs &&
            !png_file::Write(FramePath(options.outDir, tick), width, height, png_file::Layout::kBgr,
                             HeadlessClientPixels(), HeadlessClientStride(), &error)) {
            std::fprintf(stderr, "velmora-capture: %s\n", error.c_str());
            return 1;
        }
        // Each picture stays until the next kept tick: the animation runs at
        // the program's own speed.
        if (animate && !animation.AddFrame(HeadlessClientPixels(), HeadlessClientStride(), 3,
                                           written * options.every * kTickMilliseconds, &error)) {
            std::fprintf(stderr, "velmora-capture: %s\n", error.c_str());
            return 1;
        }
        ++written;
    }
    if (animate && !animation.Finish(written * options.every * kTickMilliseconds, &error)) {
        std::fprintf(stderr, "velmora-capture: %s\n", error.c_str());
        return 1;
    }
    std::printf("velmora-capture: wrote %d frame%s", written, written == 1 ? "" : "s");
    if (writePngs) {
        std::printf(" to %s", options.outDir.c_str());
    }
    if (animate) {
        std::printf("%s the animation %s", writePngs ? " and" : " to",
                    options.animationPath.c_str());
    }
    std::printf("\n");
    return 0;
}
