// velmora on Win32 with every tick timed: the program's start-up over the same
// window functions, and a message loop of its own that notes the time of
// each WM_TIMER before dispatching it. What the smoke test cannot see from
// outside it prints to standard error:
//   class NAME / window X Y W H / client X Y W H / screen W H   after start-up
//   ticks N mean M ms p99 P ms max X ms                         at exit
// Options (the program itself has none):
//   --poll      the loop as first described, polling with PeekMessageA and
//               never waiting, to measure what waiting saves
//   --hold N    after tick N stop the timer and write the bitmap's bytes to
//               the file named by the next argument, as a binary PPM, so the
//               window can be compared with them
//   --gl-errors N  an OpenGL error before every tick the loop hands on, so
//               each shows its error box; every box is closed 100 ms after
//               it opens, and after the N-th the window is closed. At exit:
//     boxes N deepest D ticks-under-a-box T
//               D the most boxes up at once, T the ticks that ran while one
//               was up (the scene's warp time moved)
#include <windows.h>
// After windows.h, which it needs.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "render/DrawGL.h"
#include "shell/App.h"
#include "shell/Platform.h"
#include "shell/win32/TimerPeriod.h"
#include "shell/win32/Win32Window.h"
#include "tests/velmora/TickLog.h"

namespace {

void Describe() {
    char name[256] = "";
    GetClassNameA(mainWindow, name, sizeof name);
    RECT window{};
    GetWindowRect(mainWindow, &window);
    RECT client{};
    GetClientRect(mainWindow, &client);
    POINT origin{0, 0};
    ClientToScreen(mainWindow, &origin);
    std::fprintf(stderr, "class %s\nwindow %ld %ld %ld %ld\nclient %ld %ld %ld %ld\nscreen %d %d\n",
                 name, window.left, window.top, window.right - window.left,
                 window.bottom - window.top, origin.x, origin.y, client.right, client.bottom,
                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    std::fflush(stderr);
}

// The bitmap's bytes as they are, blue-green-red rows turned into a PPM's
// red-green-blue.
bool WriteBitmap(const std::string& path) {
    const MemoryDC dc = theDrawGL.GetMemoryDC();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || dc.pixels == nullptr) {
        return false;
    }
    std::fprintf(file, "P6 %d %d 255\n", dc.width, dc.height);
    for (int y = 0; y < dc.height; ++y) {
        for (int x = 0; x < dc.width; ++x) {
            const std::uint8_t* p = dc.pixels + static_cast<std::size_t>(y) * dc.stride + x * 3;
            const unsigned char rgb[3] = {p[2], p[1], p[0]};
            std::fwrite(rgb, 1, 3, file);
        }
    }
    return std::fclose(file) == 0;
}

// The error boxes the program shows, watched through a hook on this thread's
// window creation.
struct BoxWatch {
    int wanted = 0;
    int shown = 0;
    int up = 0;
    int deepest = 0;
    int ticksUnderABox = 0;
    HWND box = nullptr;
    double warpTimeAtOpen = 0.0;
    HHOOK hook = nullptr;
};
BoxWatch boxes;

bool IsDialog(HWND window) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, "#32770") == 0;
}

void CALLBACK CloseBox(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (boxes.box != nullptr) {
        PostMessageA(boxes.box, WM_COMMAND, IDOK, 0);
    }
}

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND && IsDialog(window)) {
        ++boxes.shown;
        boxes.deepest = std::max(boxes.deepest, ++boxes.up);
        if (boxes.up == 1) {
            boxes.box = window;
            boxes.warpTimeAtOpen = warpTime;
            SetTimer(nullptr, 0, 100, CloseBox);
        }
    } else if (code == HCBT_DESTROYWND && IsDialog(window)) {
        if (--boxes.up == 0) {
            boxes.box = nullptr;
            boxes.ticksUnderABox +=
                static_cast<int>(std::lround((warpTime - boxes.warpTimeAtOpen) / 0.05));
            if (boxes.shown >= boxes.wanted) {
                PostMessageA(mainWindow, WM_CLOSE, 0, 0);
            }
        }
    }
    return CallNextHookEx(boxes.hook, code, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine,
                   int showCommand) {
    const std::string options = commandLine;
    const bool poll = options.find("--poll") != std::string::npos;
    int holdTick = 0;
    std::string holdPath;
    const std::size_t hold = options.find("--hold ");
    if (hold != std::string::npos) {
        char path[MAX_PATH] = "";
        if (std::sscanf(options.c_str() + hold, "--hold %d %259s", &holdTick, path) != 2) {
            std::fprintf(stderr, "velmora-tick-probe: --hold N FILE\n");
            return 2;
        }
        holdPath = path;
    }
    const std::size_t errors = options.find("--gl-errors ");
    if (errors != std::string::npos) {
        boxes.wanted = std::atoi(options.c_str() + errors + std::strlen("--gl-errors "));
        boxes.hook = SetWindowsHookExA(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
    }

    // As the program holds it, so that the ticks timed are the program's.
    const TimerPeriod fineTimers;
    if (InitApp(instance, previousInstance, showCommand) == 0) {
        return 1;
    }
    Describe();
    TickLog ticks;
    int tickCount = 0;
    MSG message{};
    for (;;) {
        if (poll) {
            if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                continue;
            }
            if (message.message == WM_QUIT) {
                break;
            }
        } else if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            break;
        }
        const bool tick = message.message == WM_TIMER && message.hwnd == mainWindow;
        if (tick) {
            ticks.Record();
        }
        if (tick && boxes.wanted > 0) {
            // An enum no OpenGL knows: the tick's first check finds it.
            glEnable(0x7FFF);
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (message.message == WM_TIMER && ++tickCount == holdTick) {
            StopTimer(kTimerId);
            std::fprintf(stderr, "held at tick %d: %s\n", tickCount,
                         WriteBitmap(holdPath) ? "written" : "not written");
            std::fflush(stderr);
        }
    }
    EndApp();
    ticks.Report(stderr);
    if (boxes.hook != nullptr) {
        UnhookWindowsHookEx(boxes.hook);
        std::fprintf(stderr, "boxes %d deepest %d ticks-under-a-box %d\n", boxes.shown,
                     boxes.deepest, boxes.ticksUnderABox);
    }
    return static_cast<int>(message.wParam);
}
