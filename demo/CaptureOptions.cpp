#include "demo/CaptureOptions.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

// CUBES_VERSION is the CMake project's version, set by cmake/Packaging.cmake.
const char* const kCaptureVersion = "wobblet-capture " CUBES_VERSION "\n";

namespace {

// A whole positive number of at most a billion; anything else is refused
// rather than read as far as it goes.
bool ParseCount(const std::string& option, const char* text, long& value, std::string& error) {
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || parsed < 1 || parsed > 1000000000L) {
        error = option + " needs a whole number from 1 to 1000000000, not \"" + text + "\"";
        return false;
    }
    value = parsed;
    return true;
}

}  // namespace

bool ParseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options,
                         std::string& error) {
    options = CaptureOptions{};
    bool haveFrames = false;
    bool haveEvery = false;
    bool haveOut = false;
    bool haveAnimation = false;
    bool haveFrom = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            error.clear();
            return false;
        }
        if (option == "--version") {
            options.version = true;
            return true;
        }
        if (option != "--frames" && option != "--every" && option != "--from" &&
            option != "--out" && option != "--animation") {
            error = "unknown argument \"" + option + "\"";
            return false;
        }
        if (i + 1 >= argc) {
            error = option + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        bool& seen = option == "--frames"  ? haveFrames
                     : option == "--every" ? haveEvery
                     : option == "--from"  ? haveFrom
                     : option == "--out"   ? haveOut
                                           : haveAnimation;
        if (seen) {
            error = option + " given twice";
            return false;
        }
        seen = true;
        if (option == "--frames") {
            if (!ParseCount(option, value, options.frames, error)) {
                return false;
            }
        } else if (option == "--every") {
            if (!ParseCount(option, value, options.every, error)) {
                return false;
            }
        } else if (option == "--from") {
            if (!ParseCount(option, value, options.from, error)) {
                return false;
            }
        } else if (option == "--out") {
            options.outDir = value;
            if (options.outDir.empty()) {
                error = "--out needs a directory name";
                return false;
            }
        } else {
            options.animationPath = value;
            if (options.animationPath.empty()) {
                error = "--animation needs a file name";
                return false;
            }
        }
    }
    if (!haveFrames) {
        error = "--frames N is required";
        return false;
    }
    if (options.from > options.frames) {
        error = "--from " + std::to_string(options.from) + " comes after the last frame " +
                std::to_string(options.frames);
        return false;
    }
    if (!haveOut && !haveAnimation) {
        error = "--out DIR or --animation FILE is required";
        return false;
    }
    return true;
}

std::string FrameFileName(const std::string& dir, long frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%04ld.png", frame);
    return dir + "/" + name;
}
