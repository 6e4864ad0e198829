// wobblet-soak [FRAMES]: runs the demo's own start-up and frame loop on the
// headless screen for FRAMES frames (20,000 when not given) and compares the
// process's resident memory after frame 1,000 with that after the last frame.
// Every frame makes and releases seventeen images, so anything kept by
// mistake grows here. Exits 1 when the two differ by 1 MiB or more. It also
// reports the time from main to the first presented frame: the headless
// start-up (the background picture's decoding, the images) and one frame.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "demo/Wobblet.h"
#include "demo/runtime/headless/FrameSink.h"

namespace {

constexpr const char* kProgram = "wobblet-soak";
constexpr long kDefaultFrames = 20000;
constexpr long kFirstSample = 1000;
constexpr long kLimitBytes = 1L << 20;

// Resident bytes from /proc/self/statm (its second field, in pages); -1 when
// it cannot be read.
long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long sizePages = 0;
    long residentPages = 0;
    if (!(statm >> sizePages >> residentPages)) {
        return -1;
    }
    return residentPages * sysconf(_SC_PAGESIZE);
}

double Mib(long bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    long frames = kDefaultFrames;
    if (argc > 2 || (argc == 2 && ((frames = std::strtol(argv[1], nullptr, 10)) <= kFirstSample ||
                                   frames > 100'000'000))) {
        std::fprintf(stderr, "usage: %s [FRAMES]   (more than %ld; %ld when not given)\n", kProgram,
                     kFirstSample, kDefaultFrames);
        return 2;
    }

    long frame = 0;
    long residentEarly = -1;
    long residentLate = -1;
    Clock::time_point firstFrame;
    SetFrameSink([&](const PresentedScreen&) {
        ++frame;
        if (frame == 1) {
            firstFrame = Clock::now();
        }
        if (frame == kFirstSample) {
            residentEarly = ResidentBytes();
        }
        if (frame == frames) {
            residentLate = ResidentBytes();
        }
        return frame < frames;
    });

    if (const char* failed = StartWobblet(); failed != nullptr) {
        std::fprintf(stderr, "%s: %s failed on the headless screen\n", kProgram, failed);
        return 1;
    }
    while (RunFrame()) {
    }
    StopWobblet();
    SetFrameSink(nullptr);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double startupMs = std::chrono::duration<double, std::milli>(firstFrame - start).count();

    if (residentEarly < 0 || residentLate < 0) {
        std::fprintf(stderr, "%s: cannot read /proc/self/statm\n", kProgram);
        return 1;
    }
    const long growth = residentLate - residentEarly;
    std::printf("%s: start-up to the first presented frame %.1f ms\n", kProgram, startupMs);
    std::printf(
        "%s: %ld frames in %.1f s (%.0f us a frame); resident memory %.2f MiB after frame %ld, "
        "%.2f MiB after frame %ld: %+ld KiB\n",
        kProgram, frame, seconds, seconds / static_cast<double>(frame) * 1e6, Mib(residentEarly),
        kFirstSample, Mib(residentLate), frames, growth / 1024);
    if (std::labs(growth) >= kLimitBytes) {
        std::fprintf(stderr, "%s: FAIL: resident memory changed by 1 MiB or more\n", kProgram);
        return 1;
    }
    std::printf("%s: ok, resident memory flat (within 1 MiB)\n", kProgram);
    return 0;
}
