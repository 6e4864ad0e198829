// How velmora's picture reaches its SDL window. Video drivers differ in what
// they offer for a picture made by the program itself, so the way is chosen
// by asking, in this order: the window's own surface (X11: shared memory),
// buffers of our own on the window's Wayland surface, an SDL renderer with a
// streaming texture. A window that offers none of them cannot show velmora.
//
// The contract every way keeps: Show copies width x height pixels from the
// top-left of the bitmap to the top-left of the client area (what lies
// outside the bitmap is left as it is) and puts them on the screen at once;
// Black fills width x height with black the same way. Neither calls OpenGL
// while velmora's context is current: a way that needs an OpenGL context of
// its own makes it current and lets it go again around its own calls, so
// velmora's drawing and SDL's never land in each other's context.
//
// Unlike the seams picked at link time (shell/Platform.h, render/GLContext.h),
// this one is a class with virtual members: one binary holds all three ways,
// and which one a window gets is known only once the video driver is asked.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

#include "render/OffscreenBitmap.h"

class Presenter {
  public:
    virtual ~Presenter() = default;
    virtual void Show(const MemoryDC& source, int width, int height) = 0;
    virtual void Black(int width, int height) = 0;
    // What the way is called, for messages and measurements.
    virtual const char* Name() const = 0;
    // Whether the compositor shows the window, where the way itself learns
    // it; true where it learns nothing (the window's flags tell the rest).
    // A way that learns it must wake a loop sleeping through an unseen
    // window when the window is seen again (WakeForSeenWindow, TickTimer.h).
    virtual bool CanBeSeen() { return true; }
};

// Each way on its own, for a window that offers it; null otherwise, with the
// reason in why.
std::unique_ptr<Presenter> MakeSurfacePresenter(SDL_Window* window, std::string& why);
std::unique_ptr<Presenter> MakeWaylandPresenter(SDL_Window* window, std::string& why);
std::unique_ptr<Presenter> MakeRendererPresenter(SDL_Window* window, std::string& why);

// What a renderer presenter last showed, width x height from the top-left,
// as RGB888 words; false for another way or when the renderer cannot say.
bool ReadRendererPixels(Presenter& presenter, int width, int height, std::uint32_t* xrgb);

// A way, or a choice among them, for a window: null when there is none, with
// the reason in the string.
using PresenterChoice = std::unique_ptr<Presenter> (*)(SDL_Window*, std::string&);

// The first way the window offers, before anything is drawn with OpenGL; null
// with every refusal in error when there is none.
std::unique_ptr<Presenter> ChoosePresenter(SDL_Window* window, std::string& error);
