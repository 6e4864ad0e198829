// An LD_PRELOAD library that counts the frames a program presents through
// SDL_RenderPresent or, through a window surface, SDL_UpdateWindowSurfaceRects
// (SDL_UpdateWindowSurface only hands an uncovered window what its surface
// already holds, and is no frame), so that the real wobblet can be measured as it is, with
// no option or code added to it. With WOBBLET_PRESENT_LOG=FILE set, FILE is
// kept up to date (at most every 100 ms, and at exit) with one line:
//   presents N first_ns T1 last_ns T2
// where T1 and T2 are the CLOCK_REALTIME nanoseconds at which the first and
// the latest presentation returned. Without the variable it does nothing but
// pass the call on.
//
// With WOBBLET_HIDE_WINDOW_SYSTEM=1 the program is also told that its window
// belongs to no window system it knows (SDL_GetWindowWMInfo), so that it
// takes the way it shows its screen on any other video driver, the SDL
// renderer, and what that costs can be measured on an X or Wayland display.
#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

using PresentFunction = void (*)(SDL_Renderer*);
using UpdateFunction = int (*)(SDL_Window*);
using UpdateRectsFunction = int (*)(SDL_Window*, const SDL_Rect*, int);
using WindowInfoFunction = SDL_bool (*)(SDL_Window*, SDL_SysWMinfo*);

constexpr std::int64_t kReportEveryNs = 100'000'000;

std::int64_t presents = 0;
std::int64_t firstNs = 0;
std::int64_t lastNs = 0;
std::int64_t reportedNs = 0;

std::int64_t NowNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

// Written to a temporary name and renamed, so a reader never sees half a line.
void Report() {
    const char* path = std::getenv("WOBBLET_PRESENT_LOG");
    if (path == nullptr || path[0] == '\0') {
        return;
    }
    const std::string temporary = std::string(path) + ".part";
    FILE* file = std::fopen(temporary.c_str(), "w");
    if (file == nullptr) {
        return;
    }
    std::fprintf(file, "presents %lld first_ns %lld last_ns %lld\n",
                 static_cast<long long>(presents), static_cast<long long>(firstNs),
                 static_cast<long long>(lastNs));
    if (std::fclose(file) == 0) {
        std::rename(temporary.c_str(), path);
    }
}

struct ReportAtExit {
    ~ReportAtExit() { Report(); }
} reportAtExit;

void Counted() {
    lastNs = NowNs();
    if (presents++ == 0) {
        firstNs = lastNs;
    }
    if (presents == 1 || lastNs - reportedNs >= kReportEveryNs) {
        reportedNs = lastNs;
        Report();
    }
}

}  // namespace

extern "C" void SDL_RenderPresent(SDL_Renderer* renderer) {
    static const auto real =
        reinterpret_cast<PresentFunction>(dlsym(RTLD_NEXT, "SDL_RenderPresent"));
    if (real != nullptr) {
        real(renderer);
    }
    Counted();
}

extern "C" int SDL_UpdateWindowSurface(SDL_Window* window) {
    static const auto real =
        reinterpret_cast<UpdateFunction>(dlsym(RTLD_NEXT, "SDL_UpdateWindowSurface"));
    const int result = real != nullptr ? real(window) : -1;
    return result;
}

extern "C" int SDL_UpdateWindowSurfaceRects(SDL_Window* window, const SDL_Rect* rects, int count) {
    static const auto real =
        reinterpret_cast<UpdateRectsFunction>(dlsym(RTLD_NEXT, "SDL_UpdateWindowSurfaceRects"));
    const int result = real != nullptr ? real(window, rects, count) : -1;
    Counted();
    return result;
}

extern "C" SDL_bool SDL_GetWindowWMInfo(SDL_Window* window, SDL_SysWMinfo* info) {
    static const auto real =
        reinterpret_cast<WindowInfoFunction>(dlsym(RTLD_NEXT, "SDL_GetWindowWMInfo"));
    const SDL_bool result = real != nullptr ? real(window, info) : SDL_FALSE;
    const char* hide = std::getenv("WOBBLET_HIDE_WINDOW_SYSTEM");
    if (result == SDL_TRUE && hide != nullptr && std::strcmp(hide, "1") == 0) {
        info->subsystem = SDL_SYSWM_UNKNOWN;
    }
    return result;
}
