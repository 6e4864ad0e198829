// velmora in a web page. The page cannot wait in a loop: start-up runs
// here, and afterwards the page's timer and key events call into the
// application core until q stops the ticks.
#include "shell/App.h"
#include "shell/web/WebWindow.h"

int main() {
    // The window exists (its timer starts), then start-up, then the first
    // paint of the shown window, in the order of the desktop programs.
    OpenPageWindow();
    OnCreate();
    InitApp();
    // The message box named the failed call; a visitor also needs to read
    // on the page why the window stays black.
    if (!theDrawGL.HasContext()) {
        ShowNoDrawingNote();
    }
    OnPaint();
    return 0;
}
