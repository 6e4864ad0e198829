#include "render/OffscreenBitmap.h"

#include <gtest/gtest.h>

namespace {

TEST(OffscreenBitmap, RowsAre24BitPaddedToFourBytesTopRowFirst) {
    OffscreenBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(293, 7, 24));
    const MemoryDC dc = bitmap.GetMemoryDC();
    EXPECT_EQ(dc.width, 293);
    EXPECT_EQ(dc.height, 7);
    EXPECT_EQ(dc.stride, 880);  // 293 * 3 = 879, padded to 880
    EXPECT_EQ(bitmap.BitsPerPixel(), 24);
    EXPECT_EQ(OffscreenBitmap::StrideFor(300), 900);
    EXPECT_EQ(OffscreenBitmap::StrideFor(1), 4);
    EXPECT_EQ(OffscreenBitmap::StrideFor(4), 12);

    // A new bitmap is black, and the view shows the renderer's memory.
    ASSERT_NE(dc.pixels, nullptr);
    for (int k = 0; k < 880 * 7; ++k) {
        ASSERT_EQ(dc.pixels[k], 0) << k;
    }
    bitmap.Pixels()[879 + 880 * 6] = 9;
    EXPECT_EQ(dc.pixels[879 + 880 * 6], 9);
}

TEST(OffscreenBitmap, CreateRefusesEmptyOrNegativeSizes) {
    for (const auto& [w, h] : {std::pair{0, 10}, {10, 0}, {-1, 10}, {10, -5}, {0, 0}}) {
        OffscreenBitmap bitmap;
        EXPECT_FALSE(bitmap.Create(w, h, 24)) << w << " x " << h;
        EXPECT_FALSE(bitmap.IsCreated());
        EXPECT_EQ(bitmap.GetMemoryDC().pixels, nullptr);
    }
}

TEST(OffscreenBitmap, CreateRefusesWidthsWhoseRowsCannotBeCounted) {
    // 3 * width + 3 must fit an int, or the row length would wrap around.
    OffscreenBitmap bitmap;
    EXPECT_FALSE(bitmap.Create(0x7fffffff, 1, 24));
    EXPECT_FALSE(bitmap.Create(715827882, 1, 24));
    EXPECT_FALSE(bitmap.IsCreated());
}

TEST(OffscreenBitmap, ResizeBeforeCreateFailsAndTouchesNothing) {
    OffscreenBitmap bitmap;
    EXPECT_FALSE(bitmap.Resize(300, 200));
    EXPECT_FALSE(bitmap.IsCreated());
    int w = -1;
    int h = -1;
    bitmap.GetSize(w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    // A later Create still works.
    EXPECT_TRUE(bitmap.Create(300, 200, 24));
}

TEST(OffscreenBitmap, ResizeToTheSameSizeKeepsThePixels) {
    OffscreenBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(300, 200, 24));
    bitmap.Pixels()[5] = 77;
    const std::uint8_t* before = bitmap.GetMemoryDC().pixels;
    EXPECT_TRUE(bitmap.Resize(300, 200));
    EXPECT_EQ(bitmap.GetMemoryDC().pixels, before);
    EXPECT_EQ(bitmap.GetMemoryDC().pixels[5], 77);
}

TEST(OffscreenBitmap, FailedResizeKeepsBitmapAndSizeAndLaterResizesCompareWithIt) {
    OffscreenBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(300, 200, 24));
    bitmap.Pixels()[0] = 42;
    const std::uint8_t* before = bitmap.GetMemoryDC().pixels;
    for (const auto& [w, h] : {std::pair{0, 200}, {300, 0}, {-300, 200}, {0x7fffffff, 2}}) {
        EXPECT_FALSE(bitmap.Resize(w, h)) << w << " x " << h;
        const MemoryDC dc = bitmap.GetMemoryDC();
        EXPECT_EQ(dc.pixels, before);
        EXPECT_EQ(dc.width, 300);
        EXPECT_EQ(dc.height, 200);
        EXPECT_EQ(dc.pixels[0], 42);
    }
    // The kept size is the current one: resizing to it costs nothing.
    EXPECT_TRUE(bitmap.Resize(300, 200));
    EXPECT_EQ(bitmap.GetMemoryDC().pixels, before);
}

TEST(OffscreenBitmap, ResizeChangesSizeAndLayoutButNotBitsPerPixel) {
    OffscreenBitmap bitmap;
    ASSERT_TRUE(bitmap.Create(300, 200, 24));
    ASSERT_TRUE(bitmap.Resize(293, 3));
    int w = 0;
    int h = 0;
    bitmap.GetSize(w, h);
    EXPECT_EQ(w, 293);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(bitmap.GetMemoryDC().stride, 880);
    EXPECT_EQ(bitmap.BitsPerPixel(), 24);
    // The whole new picture is writable (the sanitizers check the bounds).
    std::fill(bitmap.Pixels(), bitmap.Pixels() + 880 * 3, 1);
}

}  // namespace
