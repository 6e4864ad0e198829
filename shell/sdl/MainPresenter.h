// The one presenter the main window's picture goes through. MainPresenter.cpp
// defines FillClientBlack and CopyToWindow of shell/Platform.h over it.
#pragma once

#include <SDL.h>

#include <string>

#include "shell/sdl/Presenter.h"

// The presenter choose gives for window, kept until ReleaseMainPresenter;
// false, with the reason in why, when it gives none.
bool ChooseMainPresenter(SDL_Window* window, PresenterChoice choose, std::string& why);
// Before its window goes; nothing when there is none.
void ReleaseMainPresenter();
// The way chosen, by its name; "none" before a choice.
const char* PresenterName();
// What the way chosen learns of whether the window is shown (Presenter.h);
// true before a choice.
bool MainPresenterCanBeSeen();
