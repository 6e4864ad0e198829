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
    // A box a tick shows (a drawing error) runs a message loop of its own,
    // which hands on the timer's messages too. A tick begun there would
    // overlap the one that showed the box, and a lasting error would pile
    // boxes up 50 a second: until the box is closed, the timer runs nothing.
    static bool ticking = false;
    if (ticking) {
        return;
    }
    ticking = true;
    AnimateFrame();
    RenderFrame();
    ticking = false;
}
