// ShowMessage of render/Message.h on SDL: SDL's message box, or standard
// error where no box can be shown.
#include <SDL.h>

#include <cstdio>

#include "render/Message.h"
#include "shell/sdl/SdlWindow.h"

void ShowMessage(const std::string& text, const std::string& caption, MessageOwner) {
    // Modal over the window, as the program's message boxes are; with no
    // window (or when SDL cannot show a box) the message still gets out.
    // Before the window is shown (start-up) the box stands on its own: a
    // hidden parent would place it off the screen.
    SDL_Window* window = MainWindow();
    SDL_Window* parent = window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) != 0
                             ? window
                             : nullptr;
    if (window != nullptr && SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(),
                                                      text.c_str(), parent) == 0) {
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}
