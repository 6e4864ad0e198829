// The cost of presenting wobblet's frames through a window surface: what
// the real program does with each frame once drawn. The frames are the
// demo's own (headless platform); each is handed to an SDL window with its
// changed rectangles, and set against a memcpy of as many bytes, measured in
// the same run. BM_PresentChanged sends what changed, BM_PresentWhole the
// whole screen every frame, as presenting did before damage was tracked.
// With DISPLAY set the window is a real X window (run it under Xvfb to count
// the display's transfer); without, SDL's offscreen driver keeps it in memory.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "demo/Wobblet.h"
#include "demo/runtime/headless/FrameSink.h"
#include "demo/runtime/runtime.h"
#include "demo/runtime/sdl/SurfacePresent.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kScreenBytes = std::size_t{kScreenWidth} * kScreenHeight * 4;

struct Window {
    SDL_Window* window = nullptr;
    bool Open() {
        const char* display = std::getenv("DISPLAY");
        if (display == nullptr || display[0] == '\0') {
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
        }
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            return false;
        }
        window = SDL_CreateWindow("present bench", 0, 0, kScreenWidth, kScreenHeight, 0);
        return window != nullptr;
    }
    ~Window() {
        if (window != nullptr) {
            SDL_DestroyWindow(window);
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
};

// The latest frame the demo presented on the headless screen.
PresentedScreen latest;
std::vector<DamageRect> latestChanged;

void Run(benchmark::State& state, bool whole) {
    Window window;
    if (!window.Open()) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    SetFrameSink([](const PresentedScreen& screen) {
        latest = screen;
        latestChanged = *screen.changed;
        return true;
    });
    if (StartWobblet() != nullptr) {
        state.SkipWithError("wobblet did not start on the headless screen");
        SetFrameSink(nullptr);
        return;
    }
    const std::vector<DamageRect> everything{DamageRect{0, 0, kScreenWidth, kScreenHeight}};
    SurfacePresenter presenter;
    // Past the first sixteen frames every strip of the composite is drawn.
    for (int i = 0; i < 20; ++i) {
        RunFrame();
        presenter.Present(window.window, 0, 0, latest.pixels, latest.stride, latest.width,
                          latest.height, latestChanged);
    }
    std::vector<std::uint8_t> from(kScreenBytes, 1);
    std::vector<std::uint8_t> to(kScreenBytes);
    double presents = 0.0;
    double copies = 0.0;
    double bytes = 0.0;
    bool failed = false;
    for (auto _ : state) {
        state.PauseTiming();
        RunFrame();
        const std::vector<DamageRect>& rects = whole ? everything : latestChanged;
        const std::size_t frameBytes = static_cast<std::size_t>(DamageBytes(rects));
        bytes += static_cast<double>(frameBytes);
        state.ResumeTiming();
        const auto start = Clock::now();
        failed |= !presenter.Present(window.window, 0, 0, latest.pixels, latest.stride,
                                     latest.width, latest.height, rects);
        presents += std::chrono::duration<double>(Clock::now() - start).count();
        state.PauseTiming();
        const auto copyStart = Clock::now();
        std::memcpy(to.data(), from.data(), frameBytes);
        benchmark::ClobberMemory();
        copies += std::chrono::duration<double>(Clock::now() - copyStart).count();
        state.ResumeTiming();
    }
    StopWobblet();
    SetFrameSink(nullptr);
    if (failed) {
        state.SkipWithError("the window surface refused a frame");
        return;
    }
    const double n = static_cast<double>(state.iterations());
    state.SetLabel(SDL_GetCurrentVideoDriver());
    state.counters["bytes_per_frame"] = bytes / n;
    state.counters["present_us"] = presents / n * 1e6;
    state.counters["memcpy_us"] = copies / n * 1e6;
    state.counters["present_per_memcpy"] = presents / copies;
}

void BM_PresentChanged(benchmark::State& state) {
    Run(state, false);
}
BENCHMARK(BM_PresentChanged)->Unit(benchmark::kMicrosecond);

void BM_PresentWhole(benchmark::State& state) {
    Run(state, true);
}
BENCHMARK(BM_PresentWhole)->Unit(benchmark::kMicrosecond);

}  // namespace
