// The cost of one wobblet frame up to and including PresentScreen on the
// headless screen (its frame sink does nothing), set against a memcpy of the
// bytes a frame cannot avoid writing, measured in the same run:
//   - the 800 x 600 screen at 4 bytes a pixel, which the background covers
//     whole every frame (1,920,000 bytes);
//   - the 320 x 360 composite at 3 bytes a pixel, assembled from the ring
//     (345,600 bytes);
//   - the ring slot of the frame, cleared before the cube is drawn on it
//     (345,600 bytes).
// Anything the frame does beyond that (the second copy of each strip through
// image 17, the exclusive-or pass, the lines, the corner arithmetic, the
// bookkeeping) is what the ratio shows.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

#include "demo/Wobblet.h"
#include "demo/runtime/headless/FrameSink.h"
#include "demo/runtime/runtime.h"

namespace {

constexpr std::size_t kScreenBytes = std::size_t{kScreenWidth} * kScreenHeight * 4;
constexpr std::size_t kImageBytes = std::size_t{kFrameWidth} * kFrameHeight * 3;

// The baseline's own buffers: a source and a destination for each region, so
// that the copy meets memory as the frame does, not a cache-hot block.
struct Baseline {
    std::vector<std::uint8_t> screenFrom = std::vector<std::uint8_t>(kScreenBytes, 1);
    std::vector<std::uint8_t> screenTo = std::vector<std::uint8_t>(kScreenBytes);
    std::vector<std::uint8_t> compositeFrom = std::vector<std::uint8_t>(kImageBytes, 2);
    std::vector<std::uint8_t> compositeTo = std::vector<std::uint8_t>(kImageBytes);
    std::vector<std::uint8_t> zeros = std::vector<std::uint8_t>(kImageBytes);
    std::vector<std::uint8_t> ringSlot = std::vector<std::uint8_t>(kImageBytes);

    void Copy() {
        std::memcpy(screenTo.data(), screenFrom.data(), kScreenBytes);
        std::memcpy(compositeTo.data(), compositeFrom.data(), kImageBytes);
        std::memcpy(ringSlot.data(), zeros.data(), kImageBytes);
        benchmark::ClobberMemory();
    }
    static constexpr std::size_t Bytes() { return kScreenBytes + 2 * kImageBytes; }
};

// Starts the demo on the headless screen with a sink that keeps nothing.
bool StartDemo() {
    SetFrameSink([](const PresentedScreen&) { return true; });
    return StartWobblet() == nullptr;
}

// Started and run past the first sixteen frames, after which every strip of
// the composite is drawn; false (the benchmark skipped) if it did not start.
bool StartWarmDemo(benchmark::State& state) {
    if (!StartDemo()) {
        state.SkipWithError("wobblet did not start on the headless screen");
        return false;
    }
    for (int i = 0; i < 20; ++i) {
        RunFrame();
    }
    return true;
}

void StopDemo() {
    StopWobblet();
    SetFrameSink(nullptr);
}

// Frames and baseline copies alternate, so both meet the same caches, clock
// and neighbours on a shared machine; the benchmark's own time is the frame's.
void BM_Frame(benchmark::State& state) {
    if (!StartWarmDemo(state)) {
        return;
    }
    Baseline baseline;
    baseline.Copy();

    using Clock = std::chrono::steady_clock;
    double frames = 0.0;
    double copies = 0.0;
    for (auto _ : state) {
        const auto start = Clock::now();
        bool open = RunFrame();  // DoNotOptimize takes no const reference
        frames += std::chrono::duration<double>(Clock::now() - start).count();
        benchmark::DoNotOptimize(open);
        state.PauseTiming();
        const auto copyStart = Clock::now();
        baseline.Copy();
        copies += std::chrono::duration<double>(Clock::now() - copyStart).count();
        state.ResumeTiming();
    }
    StopDemo();
    const double n = static_cast<double>(state.iterations());
    state.counters["frame_us"] = frames / n * 1e6;
    state.counters["memcpy_us"] = copies / n * 1e6;
    state.counters["memcpy_bytes"] = static_cast<double>(Baseline::Bytes());
    state.counters["frame_per_memcpy"] = frames / copies;
    state.counters["share_of_60Hz"] = frames / n * 60.0;
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMicrosecond);

// The frame as a window runs it: the display server and everything else run
// in the 16.7 ms between two frames, so the frame finds little of its memory
// in the caches. Here a 64 MB sweep between frames leaves none of it there;
// only the frames are timed.
void BM_FrameCold(benchmark::State& state) {
    if (!StartWarmDemo(state)) {
        return;
    }
    std::vector<std::uint8_t> sweep(std::size_t{64} << 20, 1);
    for (auto _ : state) {
        state.PauseTiming();
        for (std::size_t i = 0; i < sweep.size(); i += 64) {
            ++sweep[i];
        }
        benchmark::ClobberMemory();
        state.ResumeTiming();
        benchmark::DoNotOptimize(RunFrame());
    }
    StopDemo();
}
// A fixed count: each sweep takes far longer than the frame it precedes.
BENCHMARK(BM_FrameCold)->Iterations(400)->Unit(benchmark::kMicrosecond);

// Step 7 of the frame on its own: sixteen strips grabbed from the ring into
// image 17 and laid into the composite, with the calls the demo makes.
void BM_StripComposite(benchmark::State& state) {
    if (!StartWarmDemo(state)) {
        return;
    }
    std::uint8_t slot = 0;
    for (auto _ : state) {
        BeginDrawing(ImageTarget(kCompositeImage));
        for (int i = 0; i < kRingSize; ++i) {
            CopyImageRect(slot & 15, kStripImage, 0, kStripHeight * i, kFrameWidth, kStripHeight);
            ++slot;
            BlitImage(NativeImageHandle(kStripImage), 0, kStripHeight * i);
        }
        EndDrawing();
        slot = static_cast<std::uint8_t>(slot + 1);
    }
    StopDemo();
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kImageBytes);
}
BENCHMARK(BM_StripComposite)->Unit(benchmark::kMicrosecond);

// The baseline alone, for reference next to the ratio.
void BM_MemcpyBaseline(benchmark::State& state) {
    Baseline baseline;
    for (auto _ : state) {
        baseline.Copy();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * Baseline::Bytes());
}
BENCHMARK(BM_MemcpyBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace
