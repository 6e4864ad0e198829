// The background picture, an 800 x 600 PNG stream built into the program from
// assets/background.png.
#pragma once

#include <cstddef>

extern const unsigned char kBackgroundPng[];
extern const std::size_t kBackgroundPngSize;
