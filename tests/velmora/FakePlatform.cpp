#include "tests/velmora/FakePlatform.h"

#include <algorithm>
#include <cstring>

#include "render/Message.h"
#include "shell/App.h"
#include "shell/Platform.h"

FakePlatform fakePlatform;

void FakePlatform::SetClientSize(int width, int height) {
    clientWidth = width;
    clientHeight = height;
    window.assign(static_cast<std::size_t>(width) * height * 3, 0);
}

void FakePlatform::Smear(std::uint8_t value) {
    std::fill(window.begin(), window.end(), value);
}

void StartTimer(int id, int milliseconds) {
    fakePlatform.timerRunning = true;
    fakePlatform.timerId = id;
    fakePlatform.timerMilliseconds = milliseconds;
}

void StopTimer(int id) {
    if (id == fakePlatform.timerId) {
        fakePlatform.timerRunning = false;
    }
}

void PostQuit(int exitCode) {
    fakePlatform.quitPosted = true;
    fakePlatform.quitCode = exitCode;
}

void ShowMainWindow() {
    ++fakePlatform.showCount;
    fakePlatform.contextExistedWhenShown = theDrawGL.HasContext();
}

bool MainWindowCanBeSeen() {
    return fakePlatform.seen;
}

void GetClientSize(int& width, int& height) {
    width = fakePlatform.clientWidth;
    height = fakePlatform.clientHeight;
}

void FillClientBlack(int width, int height) {
    const int rows = std::min(height, fakePlatform.clientHeight);
    const int columns = std::min(width, fakePlatform.clientWidth);
    for (int y = 0; y < rows; ++y) {
        std::memset(
            &fakePlatform.window[static_cast<std::size_t>(y) * fakePlatform.clientWidth * 3], 0,
            static_cast<std::size_t>(columns) * 3);
    }
}

void CopyToWindow(const MemoryDC& source, int width, int height) {
    ++fakePlatform.copies;
    const int rows = std::min({height, source.height, fakePlatform.clientHeight});
    const int columns = std::min({width, source.width, fakePlatform.clientWidth});
    for (int y = 0; y < rows; ++y) {
        std::memcpy(
            &fakePlatform.window[static_cast<std::size_t>(y) * fakePlatform.clientWidth * 3],
            source.pixels + static_cast<std::size_t>(y) * source.stride,
            static_cast<std::size_t>(columns) * 3);
    }
}

void ShowMessage(const std::string& text, const std::string& caption, MessageOwner owner) {
    fakePlatform.messages.push_back({text, caption, owner});
    if (fakePlatform.whileShown != nullptr) {
        fakePlatform.whileShown();
    }
}
