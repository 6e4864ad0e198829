#include "shell/headless/HeadlessWindow.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "render/Message.h"
#include "shell/App.h"
#include "shell/Platform.h"

namespace {

// Without a window manager there are no borders: the client area is the
// whole window.
int clientWidth = kWindowWidth;
int clientHeight = kWindowHeight;
std::vector<std::uint8_t> clientPixels(static_cast<std::size_t>(kWindowWidth) * 3 * kWindowHeight);
bool timerRunning = false;
bool quitPosted = false;
int quitCode = 0;

}  // namespace

bool HeadlessSetClientSize(int width, int height) {
    const int newWidth = std::max(width, 0);
    const int newHeight = std::max(height, 0);
    std::vector<std::uint8_t> pixels;
    try {
        pixels.assign(static_cast<std::size_t>(newWidth) * 3 * newHeight, 0);
    } catch (const std::bad_alloc&) {
        return false;  // the client area stays as it was
    }
    clientPixels = std::move(pixels);
    clientWidth = newWidth;
    clientHeight = newHeight;
    return true;
}

const std::uint8_t* HeadlessClientPixels() {
    return clientPixels.data();
}

int HeadlessClientStride() {
    return clientWidth * 3;
}

bool HeadlessTimerRunning() {
    return timerRunning;
}

bool HeadlessQuitPosted(int& exitCode) {
    exitCode = quitCode;
    return quitPosted;
}

void StartTimer(int, int) {
    timerRunning = true;
}

void StopTimer(int) {
    timerRunning = false;
}

void PostQuit(int exitCode) {
    quitPosted = true;
    quitCode = exitCode;
}

void ShowMainWindow() {}

// The capture tool's window is there to be looked at: every tick is drawn.
bool MainWindowCanBeSeen() {
    return true;
}

void GetClientSize(int& width, int& height) {
    width = clientWidth;
    height = clientHeight;
}

void FillClientBlack(int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    const int rows = std::min(height, clientHeight);
    const std::size_t bytes = static_cast<std::size_t>(std::min(width, clientWidth)) * 3;
    for (int y = 0; y < rows; ++y) {
        std::memset(clientPixels.data() + static_cast<std::size_t>(y) * HeadlessClientStride(), 0,
                    bytes);
    }
}

void CopyToWindow(const MemoryDC& source, int width, int height) {
    if (source.pixels == nullptr) {
        return;
    }
    const int rows = std::min({height, source.height, clientHeight});
    const int columns = std::min({width, source.width, clientWidth});
    if (rows <= 0 || columns <= 0) {
        return;
    }
    for (int y = 0; y < rows; ++y) {
        std::memcpy(clientPixels.data() + static_cast<std::size_t>(y) * HeadlessClientStride(),
                    source.pixels + static_cast<std::size_t>(y) * source.stride,
                    static_cast<std::size_t>(columns) * 3);
    }
}

void ShowMessage(const std::string& text, const std::string& caption, MessageOwner) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}
