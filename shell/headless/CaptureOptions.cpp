#include "shell/headless/CaptureOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

// CUBES_VERSION is the CMake project's version, set by cmake/Packaging.cmake.
const char* const kCaptureVersion = "velmora-capture " CUBES_VERSION "\n";

const char* const kCaptureUsage =
    "usage: velmora-capture --ticks N [--size WxH] [--keys TICK:CHARS,...] [--every K]\n"
    "                       [--out DIR] [--animation FILE.webp]\n"
    "  Runs velmora without a window for N ticks of 20 ms and keeps the picture\n"
    "  of every K-th tick, at least one of:\n"
    "\n"
    "  --out DIR    as DIR/frame_NNNN.png for tick t (t from 1)\n"
    "  --animation  as one animated WebP file (lossy, quality 90) that loops,\n"
    "               each picture shown for K x 20 ms\n"
    "  --size WxH   resize the window's client area before the first tick\n"
    "  --keys       characters typed just before a tick, e.g. 1:g,50:++<\n"
    "               (commas separate the entries, so a comma cannot be typed)\n"
    "  --help       print this and exit\n"
    "  --version    print the version and exit\n";

namespace {

// A whole decimal number in [low, high].
bool ParseNumber(const char* text, int low, int high, int& out) {
    if (*text < '0' || *text > '9') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high) {
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos) {
        return false;
    }
    return ParseNumber(text.substr(0, x).c_str(), 1, 65535, width) &&
           ParseNumber(text.substr(x + 1).c_str(), 1, 65535, height);
}

bool ParseKeys(const std::string& text, std::map<int, std::string>& keys, std::string& error) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) {
            comma = text.size();
        }
        const std::string entry = text.substr(start, comma - start);
        const std::size_t colon = entry.find(':');
        int tick = 0;
        if (colon == std::string::npos ||
            !ParseNumber(entry.substr(0, colon).c_str(), 1, 1 << 30, tick)) {
            error = "--keys: \"" + entry + "\" is not TICK:CHARS with a tick from 1";
            return false;
        }
        if (colon + 1 == entry.size()) {
            error = "--keys: no characters for tick " + std::to_string(tick);
            return false;
        }
        keys[tick] += entry.substr(colon + 1);
        start = comma + 1;
    }
    return true;
}

}  // namespace

bool ParseCaptureOptions(int argc, const char* const argv[], CaptureOptions& options,
                         std::string& error) {
    error.clear();
    bool haveTicks = false;
    for (int k = 1; k < argc; ++k) {
        const std::string option = argv[k];
        if (option == "--help" || option == "-h") {
            return false;
        }
        if (option == "--version") {
            options.version = true;
            return true;
        }
        if (k + 1 >= argc) {
            error = option.rfind("--", 0) == 0 && option != "--"
                        ? option + " needs a value"
                        : "unexpected argument \"" + option + "\"";
            return false;
        }
        const char* value = argv[++k];
        if (option == "--ticks") {
            if (!ParseNumber(value, 1, 100000000, options.ticks)) {
                error = "--ticks needs a whole number from 1, not \"" + std::string(value) + "\"";
                return false;
            }
            haveTicks = true;
        } else if (option == "--size") {
            if (!ParseSize(value, options.width, options.height)) {
                error = "--size needs WIDTHxHEIGHT from 1x1 to 65535x65535, not \"" +
                        std::string(value) + "\"";
                return false;
            }
            options.resize = true;
        } else if (option == "--every") {
            if (!ParseNumber(value, 1, 100000000, options.every)) {
                error = "--every needs a whole number from 1, not \"" + std::string(value) + "\"";
                return false;
            }
        } else if (option == "--keys") {
            if (!ParseKeys(value, options.keys, error)) {
                return false;
            }
        } else if (option == "--out") {
            options.outDir = value;
            if (options.outDir.empty()) {
                error = "--out needs a directory";
                return false;
            }
        } else if (option == "--animation") {
            options.animationPath = value;
            if (options.animationPath.empty()) {
                error = "--animation needs a file name";
                return false;
            }
        } else {
            error = "unknown option \"" + option + "\"";
            return false;
        }
    }
    if (!haveTicks) {
        error = "--ticks is required";
        return false;
    }
    if (options.outDir.empty() && options.animationPath.empty()) {
        error = "--out or --animation is required";
        return false;
    }
    if (!options.keys.empty() && options.keys.rbegin()->first > options.ticks) {
        error = "--keys: tick " + std::to_string(options.keys.rbegin()->first) +
                " comes after the last tick " + std::to_string(options.ticks);
        return false;
    }
    return true;
}
