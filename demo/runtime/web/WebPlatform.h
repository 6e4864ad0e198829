// What the web file set's parts share: the page's side (page.js) and the
// program's frame loop, which the page's refresh drives.
#pragma once

#include <cstdint>

extern "C" {
int wobblet_page_open_window(const char* title, int width, int height);
void wobblet_page_close_window();
void wobblet_page_put(const std::uint8_t* rgba, int x, int y, int width, int height);
int wobblet_page_frames_held();
// 1, once, after the browser gave the canvas back empty (it may take a 2D
// canvas's pixels away with the graphics processor that held them).
int wobblet_page_take_emptied();
}
