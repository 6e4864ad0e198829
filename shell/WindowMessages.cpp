// One handler per window message; a platform's event loop only translates
// its events into these calls.
#include "shell/App.h"
#include "shell/Platform.h"

void OnCreate() {
    StartTimer(kTimerId, kTickMilliseconds);
}

void OnDestroy() {
    StopTimer(kTimerId);
    PostQuit(0);
}

void OnSize(int width, int height) {
    theDrawGL.Resize(width, height);
}

void OnPaint() {
    // Uncovered parts stay black until the next tick draws over them.
    int width = 0;
    int height = 0;
    GetClientSize(width, height);
    FillClientBlack(width, height);
}

void OnClose() {
    // The window is not destroyed here; it goes with the process.
    OnDestroy();
}

void OnChar(char character) {
    HandleKey(character);
}

void OnTimer() {
    AnimateFrame();
    RenderFrame();
}
