// The Win32 window and screen on a real display (under Wine in the tests):
// the window the demo asks for, what its close box does, how PollEvent and
// WaitEvent behave, and the screen's life with its window.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>

#include "demo/runtime/runtime.h"

namespace {

constexpr unsigned kDemoFlags = WindowCaption | WindowSystemMenu;

class Win32WindowTest : public ::testing::Test {
  protected:
    void SetUp() override { RuntimeStartup(); }
    void TearDown() override { RuntimeShutdown(); }

    static HWND DemoWindow() {
        return static_cast<HWND>(MakeWindow(0, 0, 0, 800, 600, "Wobblet", kDemoFlags));
    }
    static void Drain() {
        for (int i = 0; i < 1000 && PollEvent() != 0; ++i) {
        }
    }
};

double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST_F(Win32WindowTest, TheDemosWindowIsFixedSizeWithAnExactClientAreaAtTheDesktopCorner) {
    const HWND window = DemoWindow();
    ASSERT_NE(window, nullptr);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 800);
    EXPECT_EQ(client.bottom, 600);
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, 0);
    char title[16] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Wobblet");
    // A close box, and no sizing border, minimise or maximise box.
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(NativeWindowHandle(0), window);
}

TEST_F(Win32WindowTest, CloseQueuesOneCloseEventAndLeavesTheWindow) {
    const HWND window = DemoWindow();
    ASSERT_NE(window, nullptr);
    Drain();
    // Two closes handled before the program looks: one event.
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(PollEvent(), EventWindowClosed);
    int closes = 0;
    for (int i = 0; i < 1000; ++i) {
        const int code = PollEvent();
        if (code == 0) {
            break;
        }
        closes += code == EventWindowClosed;
    }
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(IsWindow(window));
    // A posted close reaches the program one call after the one that handled it.
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(PollEvent(), WM_CLOSE);
    EXPECT_EQ(PollEvent(), EventWindowClosed);
}

TEST_F(Win32WindowTest, PollReturnsAtOnceAndWaitSleepsInTheSystem) {
    ASSERT_NE(DemoWindow(), nullptr);
    Drain();
    using Clock = std::chrono::steady_clock;
    // With nothing queued a poll says so at once. The display may still hand
    // the new window a pointer move of its own after the drain, so poll until
    // it is quiet, timing every poll.
    int code = -1;
    for (int i = 0; i < 100 && code != 0; ++i) {
        const Clock::time_point polled = Clock::now();
        code = PollEvent();
        EXPECT_LT(Clock::now() - polled, std::chrono::milliseconds(50));
    }
    EXPECT_EQ(code, 0);

    // A wait may end early when something arrives (and then reports it, or
    // 0); what it must not do is keep the processor busy while nothing does.
    const Clock::time_point start = Clock::now();
    const double cpu = CpuSeconds();
    int calls = 0;
    while (Clock::now() - start < std::chrono::seconds(1)) {
        WaitEvent(300);
        ++calls;
    }
    const double waited = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_LT(CpuSeconds() - cpu, 0.2 * waited) << calls << " waits spun";
}

TEST_F(Win32WindowTest, ASecondScreenReplacesTheFirstAndGoesWithItsWindow) {
    ASSERT_EQ(LoadScreenSystem(), 1);
    const HWND window = DemoWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(MakeWindowScreen(nullptr, 0, 0, 800, 600, 0, 0, 0), 0);
    ASSERT_EQ(MakeWindowScreen(window, 0, 0, 800, 600, 0, 0, 0), 1);
    ASSERT_EQ(MakeWindowScreen(window, 0, 0, 800, 600, 0, 0, 0), 1);
    int children = 0;
    EnumChildWindows(window, CountWindow, reinterpret_cast<LPARAM>(&children));
    EXPECT_EQ(children, 1);
    ASSERT_NE(ScreenTarget(), nullptr);
    EndDrawing();
    EXPECT_EQ(PresentScreen(), 1);

    // Window 0 made again: the old one goes, and the screen inside it.
    ASSERT_NE(DemoWindow(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(ScreenTarget(), nullptr);
    EXPECT_EQ(PresentScreen(), 0);
}

}  // namespace
