// A fresh run-time per test (headless platform), and pixels read back.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>
#include <utility>

#include "demo/runtime/PixelBuffer.h"
#include "demo/runtime/runtime.h"

class RuntimeTest : public ::testing::Test {
  protected:
    void SetUp() override { RuntimeStartup(); }
    void TearDown() override { RuntimeShutdown(); }
};

// Blue, green, red (and alpha) of picture pixel (x, y), y counted from the top.
inline std::array<int, 4> PixelOf(ImageHandle image, int x, int y) {
    const std::uint8_t* p = image->Row(y) + x * image->bytesPerPixel;
    return {p[0], p[1], p[2], image->bytesPerPixel == 4 ? p[3] : -1};
}

using Points = std::set<std::pair<int, int>>;

// Every pixel whose colour channels are not all zero.
inline Points LitPixels(ImageHandle image) {
    Points lit;
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const auto p = PixelOf(image, x, y);
            if (p[0] != 0 || p[1] != 0 || p[2] != 0) {
                lit.insert({x, y});
            }
        }
    }
    return lit;
}
