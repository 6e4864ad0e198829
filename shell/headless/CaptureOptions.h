// The command line of velmora-capture.
#pragma once

#include <map>
#include <string>

struct CaptureOptions {
    int ticks = 0;
    bool resize = false;  // --size given
    int width = 0;
    int height = 0;
    int every = 1;
    std::map<int, std::string> keys;  // tick (from 1) -> characters fed before it
    std::string outDir;               // empty: no PNG files
    std::string animationPath;        // empty: no animation
    bool version = false;             // --version: print kCaptureVersion, run nothing
};

extern const char* const kCaptureUsage;
// "velmora-capture VERSION", the project's version, and a newline.
extern const char* const kCaptureVersion;

// Fills options from argv[1..]; on a bad or missing argument returns false
// with a one-line reason in error. --help gives false with error empty;
// --version gives true with version set and nothing else read.
bool ParseCaptureOptions(int argc, const char* const argv[], CaptureOptions& options,
                         std::string& error);
