// wobblet-soak [FRAMES]: runs the demo's own start-up and frame loop on the
// headless screen for FRAMES frames (60,000 or more, 60,000 by default),
// reading the process's resident memory after frames 5,000 and 20,000,
// halfway from there to the end and at the end. Every frame makes and
// releases seventeen images, so anything kept by mistake grows here.
// Exits 1 when the memory rises in each of the last two stretches: a leak
// grows with the frames, a plateau does not. It also reports the time from
// main to the first presented frame: the headless start-up (the background
// picture's decoding, the images) and one frame.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/soak/ResidentTrend.h"
#include "demo/Wobblet.h"
#include "demo/runtime/headless/FrameSink.h"

namespace {

constexpr const char* kProgram = "wobblet-soak";
constexpr long kDefaultFrames = ResidentTrend::kShortestRun;

}  // namespace

int main(int argc, char** argv) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    long frames = kDefaultFrames;
    if (argc > 1) {
        char* end = nullptr;
        frames = std::strtol(argv[1], &end, 10);
        if (argc > 2 || *end != '\0' || frames < ResidentTrend::kShortestRun ||
            frames > 100'000'000) {
            std::fprintf(stderr, "usage: %s [FRAMES]   (from %ld; %ld when not given)\n", kProgram,
                         ResidentTrend::kShortestRun, kDefaultFrames);
            return 2;
        }
    }

    ResidentTrend trend(frames);
    long frame = 0;
    Clock::time_point firstFrame;
    SetFrameSink([&](const PresentedScreen&) {
        ++frame;
        if (frame == 1) {
            firstFrame = Clock::now();
        }
        trend.Sample(frame);
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

    std::printf("%s: start-up to the first presented frame %.1f ms\n", kProgram, startupMs);
    std::printf("%s: %ld frames in %.1f s (%.0f us a frame)\n", kProgram, frame, seconds,
                seconds / static_cast<double>(frame) * 1e6);
    return trend.Report(stdout, kProgram, "frame") ? 0 : 1;
}
