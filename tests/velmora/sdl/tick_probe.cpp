// velmora's SDL window with every tick timed: the program's start-up over
// the same window functions, and the program's event loop noting the time
// of each tick before it runs. At exit it prints the intervals to
// standard error (tests/velmora/TickLog.h), with the way its picture took to
// the window. With --renderer it takes the fallback way, an SDL renderer,
// whatever the window offers. The program itself stays without options;
// this is a separate test build.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/App.h"
#include "shell/Platform.h"
#include "shell/sdl/EventTranslation.h"
#include "shell/sdl/MainPresenter.h"
#include "shell/sdl/SdlWindow.h"
#include "shell/sdl/TickTimer.h"
#include "tests/velmora/TickLog.h"

namespace {

TickLog ticks;

}  // namespace

int main(int argc, char** argv) {
    const bool renderer = argc > 1 && std::strcmp(argv[1], "--renderer") == 0;
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    setenv("SDL_VIDEO_X11_WMCLASS", kWindowTitle, 1);
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "velmora-tick-probe: %s\n", SDL_GetError());
        return 1;
    }
    std::string error;
    if (!CreateMainWindow(error, renderer ? MakeRendererPresenter : ChoosePresenter)) {
        std::fprintf(stderr, "velmora-tick-probe: %s\n", error.c_str());
        return 1;
    }
    OnCreate();
    if (InitApp() == 0) {
        return 1;
    }
    const int exitCode = RunEventLoop([] { ticks.Record(); });
    StopTimer(kTimerId);
    ticks.Report(stderr);
    std::fprintf(stderr, "way: %s\n", PresenterName());
    return exitCode;
}
