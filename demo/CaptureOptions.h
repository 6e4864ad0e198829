// The command line of wobblet-capture:
// --frames N [--every K] [--from F] [--out DIR] [--animation FILE.webp], at
// least one of the last two.
#pragma once

#include <string>

struct CaptureOptions {
    long frames = 0;
    long every = 1;
    long from = 1;              // frames before this one are not kept
    std::string outDir;         // empty: no PNG files
    std::string animationPath;  // empty: no animation
    bool version = false;       // --version: print kCaptureVersion, run nothing
};

// Fills options from argv[1..argc-1]. Returns false with a message naming the
// faulty argument when the line is not usable, and false with error empty
// for --help; --version gives true with version set and nothing else read.
bool ParseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options,
                         std::string& error);

inline constexpr const char* kCaptureUsage =
    "usage: wobblet-capture --frames N [--every K] [--from F] [--out DIR]\n"
    "                       [--animation FILE.webp]\n"
    "  Runs wobblet on an invisible screen for N frames and keeps every K-th\n"
    "  presented screen (K = 1 when not given) from frame F on (F = 1 when not\n"
    "  given), at least one of:\n"
    "\n"
    "  --out DIR          as DIR/frame_0001.png, ... (numbered from 1, the\n"
    "                     first frame), and the decoded background picture as\n"
    "                     DIR/background.png; DIR is created when missing\n"
    "  --animation FILE   as one lossless animated WebP file that loops, each\n"
    "                     picture shown for K/60 s\n"
    "  --help             print this and exit\n"
    "  --version          print the version and exit\n";

// "wobblet-capture VERSION", the project's version, and a newline.
extern const char* const kCaptureVersion;

// DIR/frame_0001.png for frame 1; more digits once four are not enough.
std::string FrameFileName(const std::string& dir, long frame);
