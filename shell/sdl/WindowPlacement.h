// Where the client area of velmora's window goes so that the whole window,
// frame included, is 300 x 200 and centred on the screen, as a window
// system that sizes windows from the outside would place it.
#pragma once

// The frame the window manager puts around the client area, in pixels; all
// zero when there is no window manager or it reports nothing.
struct FrameBorders {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
};

struct ClientRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The outer window at the centred origin, less the borders. A frame as big
// as the window itself still leaves a client area of one pixel, since a
// window of no size cannot be created.
ClientRect CentredClientRect(int screenWidth, int screenHeight, const FrameBorders& borders);
