// velmora's window in a web page: the canvas is the client area, the 20 ms
// tick comes from the page's interval timer, characters from keypress
// events, and each frame is put into the canvas as an image. A page the
// browser hides (another tab, a minimised window) cannot be seen.
#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "render/Message.h"
#include "render/PixelRows.h"
#include "shell/App.h"
#include "shell/Platform.h"
#include "shell/web/WebWindow.h"

extern "C" {
void velmora_page_open(const char* title, int width, int height);
void velmora_page_fill_black(int width, int height);
void velmora_page_put(const std::uint8_t* rgba, int width, int height);
void velmora_page_ended();
void velmora_page_no_drawing();
void velmora_page_message(const char* text, const char* caption);
int velmora_page_ticks_held();
}

namespace {

int clientWidth = kWindowWidth;
int clientHeight = kWindowHeight;
long timerHandle = 0;
bool timerRunning = false;
int ticksRun = 0;
// As the page's visibilitychange events last told.
bool pageHidden = false;
// The frame in the canvas's own order, red-green-blue-alpha.
std::vector<std::uint8_t> rgbaFrame;

void Tick(void*) {
    ++ticksRun;
    OnTimer();
}

EM_BOOL KeyPress(int, const EmscriptenKeyboardEvent* event, void*) {
    // A window's characters are bytes; a character past Latin-1 has none,
    // and its low byte must not pass for one of the keys.
    const unsigned long code = event->charCode;
    if (code == 0 || code > 255) {
        return EM_FALSE;
    }
    OnChar(static_cast<char>(static_cast<unsigned char>(code)));
    return EM_FALSE;
}

EM_BOOL VisibilityChanged(int, const EmscriptenVisibilityChangeEvent* event, void*) {
    pageHidden = event->hidden != 0;
    return EM_FALSE;
}

}  // namespace

void OpenPageWindow() {
    velmora_page_open(kWindowTitle, kWindowWidth, kWindowHeight);
    emscripten_set_keypress_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, KeyPress);
    EmscriptenVisibilityChangeEvent visibility{};
    if (emscripten_get_visibility_status(&visibility) == EMSCRIPTEN_RESULT_SUCCESS) {
        pageHidden = visibility.hidden != 0;
    }
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, VisibilityChanged);
}

void ShowNoDrawingNote() {
    velmora_page_no_drawing();
}

extern "C" {

EMSCRIPTEN_KEEPALIVE void velmora_window_resized(int width, int height) {
    clientWidth = std::max(width, 0);
    clientHeight = std::max(height, 0);
    OnSize(clientWidth, clientHeight);
    OnPaint();
}

// For the tests: ticks run so far, by the timer or by velmora_test_ticks.
EMSCRIPTEN_KEEPALIVE int velmora_tick_count() {
    return ticksRun;
}

// For the tests, with the timer held: runs up to count ticks as the timer
// would, stopping when the program stops it; returns how many ran.
EMSCRIPTEN_KEEPALIVE int velmora_test_ticks(int count) {
    int ran = 0;
    while (ran < count && timerRunning) {
        Tick(nullptr);
        ++ran;
    }
    return ran;
}

}  // extern "C"

void StartTimer(int, int milliseconds) {
    if (timerRunning) {
        return;
    }
    timerRunning = true;
    if (velmora_page_ticks_held() == 0) {
        timerHandle = emscripten_set_interval(Tick, milliseconds, nullptr);
    }
}

void StopTimer(int) {
    if (timerHandle != 0) {
        emscripten_clear_interval(timerHandle);
        timerHandle = 0;
    }
    timerRunning = false;
}

void PostQuit(int) {
    // A page does not end: the ticks have stopped, and the page says so.
    velmora_page_ended();
}

void ShowMainWindow() {}

void GetClientSize(int& width, int& height) {
    width = clientWidth;
    height = clientHeight;
}

void FillClientBlack(int width, int height) {
    if (width > 0 && height > 0) {
        velmora_page_fill_black(width, height);
    }
}

void CopyToWindow(const MemoryDC& source, int width, int height) {
    if (source.pixels == nullptr) {
        return;
    }
    const int columns = std::min({width, source.width, clientWidth});
    const int rows = std::min({height, source.height, clientHeight});
    if (columns <= 0 || rows <= 0) {
        return;
    }
    rgbaFrame.resize(static_cast<std::size_t>(columns) * 4 * static_cast<std::size_t>(rows));
    CopyBgrIntoRgba(source, rgbaFrame.data(), columns, rows);
    velmora_page_put(rgbaFrame.data(), columns, rows);
}

void ShowMessage(const std::string& text, const std::string& caption, MessageOwner) {
    velmora_page_message(text.c_str(), caption.c_str());
}

bool MainWindowCanBeSeen() {
    return !pageHidden;
}
