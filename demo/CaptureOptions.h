// The command line of wobblet-capture: --frames N [--every K] --out DIR.
#pragma once

#include <string>

struct CaptureOptions {
    long frames = 0;
    long every = 1;
    std::string outDir;
};

// Fills options from argv[1..argc-1]. Returns false with a message naming the
// faulty argument when the line is not usable.
bool ParseCaptureOptions(int argc, const char* const* argv, CaptureOptions& options,
                         std::string& error);

inline constexpr const char* kCaptureUsage =
    "usage: wobblet-capture --frames N [--every K] --out DIR\n"
    "  Runs wobblet on an invisible screen for N frames and writes every K-th\n"
    "  presented screen (K = 1 when not given) as DIR/frame_0001.png, ...\n"
    "  (numbered from 1, the first frame), and the decoded background picture\n"
    "  as DIR/background.png. DIR is created when missing.\n";

// DIR/frame_0001.png for frame 1; more digits once four are not enough.
std::string FrameFileName(const std::string& dir, long frame);
