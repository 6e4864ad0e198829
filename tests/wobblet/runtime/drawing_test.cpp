// The pixel routines on images: exact pixels, clipping and the limits of int.
#include <climits>
#include <cstring>
#include <vector>

#include "tests/wobblet/runtime/RuntimeTest.h"

namespace {

constexpr int kImage = 1;
const Color kRed = 0x0000FF;

class DrawingTest : public RuntimeTest {
  protected:
    // A black 10 x 10 image, being drawn on.
    ImageHandle Canvas(int width = 10, int height = 10) {
        ImageHandle image = MakeImage(kImage, width, height);
        EXPECT_NE(image, nullptr);
        EXPECT_NE(BeginDrawing(ImageTarget(kImage)), 0);
        return image;
    }
    Points Line(int x1, int y1, int x2, int y2) {
        ImageHandle image = Canvas();
        DrawLine(x1, y1, x2, y2, kRed);
        EndDrawing();
        return LitPixels(image);
    }
};

TEST_F(DrawingTest, LinesSetTheBresenhamPixelsInEitherDirection) {
    const Points shallow{{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {6, 3}, {7, 4}, {8, 4}};
    EXPECT_EQ(Line(1, 1, 8, 4), shallow);
    EXPECT_EQ(Line(8, 4, 1, 1), shallow);
    const Points steep{{2, 1}, {2, 2}, {3, 3}, {3, 4}, {3, 5}, {4, 6}, {4, 7}};
    EXPECT_EQ(Line(2, 1, 4, 7), steep);
    EXPECT_EQ(Line(4, 7, 2, 1), steep);
    EXPECT_EQ(Line(2, 3, 6, 3), (Points{{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}}));
    EXPECT_EQ(Line(6, 3, 2, 3), Line(2, 3, 6, 3));
    EXPECT_EQ(Line(7, 6, 7, 3), (Points{{7, 3}, {7, 4}, {7, 5}, {7, 6}}));
    EXPECT_EQ(Line(4, 4, 4, 4), (Points{{4, 4}}));
}

TEST_F(DrawingTest, LinePixelsGetTheColourInBlueGreenRedOrder) {
    ImageHandle image = Canvas();
    DrawLine(0, 0, 0, 0, PackColor(0x11, 0x22, 0x33));
    EndDrawing();
    EXPECT_EQ(PackColor(0x11, 0x22, 0x33), 0x332211u);
    const auto p = PixelOf(image, 0, 0);
    EXPECT_EQ(p[0], 0x33);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x11);
}

// The moved end point's other coordinate is b + (limit - a) * s truncated
// toward zero, s taken once per axis from the ends before either moves.
TEST_F(DrawingTest, LinesAreCutAtEachEdgeWithTruncation) {
    // Left: s = 3/6, y = -2 + 3 * 0.5 = -0.5, truncated to 0 (rounding down
    // would give -1 and a further cut at the top edge).
    EXPECT_EQ(Line(-3, -2, 3, 1), (Points{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    // Right: s = 5/9, y = 7 + (9 - 14) * 5/9 = 4.22 -> 4.
    EXPECT_EQ(Line(5, 2, 14, 7), (Points{{5, 2}, {6, 3}, {7, 3}, {8, 4}, {9, 4}}));
    // Top: s = 3/9 (x per y), x = 2 + 4 * 1/3 = 3.33 -> 3.
    EXPECT_EQ(Line(2, -4, 5, 5), (Points{{3, 0}, {3, 1}, {4, 2}, {4, 3}, {5, 4}, {5, 5}}));
    // Bottom: s = 6/9, x = 7 + (9 - 14) * 2/3 = 3.67 -> 3 (rounding would say 4).
    EXPECT_EQ(Line(1, 5, 7, 14), (Points{{1, 5}, {2, 6}, {2, 7}, {3, 8}, {3, 9}}));
    // Both ends cut with the same s = -6/22: y1 = 6 + 9s = 3.55 -> 3 and
    // y2 = 0 - 4s = 1.09 -> 1. A slope taken again after moving the first end
    // (-3/22) would give y2 = 0.55 -> 0.
    EXPECT_EQ(
        Line(-9, 6, 13, 0),
        (Points{{0, 3}, {1, 3}, {2, 3}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 1}, {8, 1}, {9, 1}}));
    EXPECT_EQ(Line(13, 0, -9, 6), Line(-9, 6, 13, 0));
}

TEST_F(DrawingTest, LinesWhollyOutsideDrawNothing) {
    EXPECT_TRUE(Line(-5, 0, -1, 9).empty());
    EXPECT_TRUE(Line(10, 0, 15, 9).empty());
    EXPECT_TRUE(Line(0, -1, 9, -7).empty());
    EXPECT_TRUE(Line(0, 10, 9, 12).empty());
    EXPECT_TRUE(Line(-3, 4, -3, 6).empty());
    EXPECT_TRUE(Line(2, 10, 8, 10).empty());
    // Inside the x range after the first cut, but then above the image.
    EXPECT_TRUE(Line(-5, 3, 3, -5).empty());
}

TEST_F(DrawingTest, LinesAtTheLimitsOfIntAreClippedExactly) {
    // Slope exactly 1: the cuts land on (0, 0) and (9, 9).
    Points diagonal;
    for (int i = 0; i < 10; ++i) {
        diagonal.insert({i, i});
    }
    EXPECT_EQ(Line(INT_MIN, INT_MIN, INT_MAX, INT_MAX), diagonal);
    EXPECT_EQ(Line(INT_MAX, INT_MAX, INT_MIN, INT_MIN), diagonal);
    Points row;
    for (int i = 0; i < 10; ++i) {
        row.insert({i, 5});
    }
    EXPECT_EQ(Line(INT_MIN, 5, INT_MAX, 5), row);
    // y = -x - 1 misses the image.
    EXPECT_TRUE(Line(INT_MAX, INT_MIN, INT_MIN, INT_MAX).empty());
}

// Under the sanitizers this is the test that no coordinate overflows or
// writes outside the buffer; everywhere it checks that a line and its
// reverse agree.
TEST_F(DrawingTest, ExtremeCoordinatesNeverEscapeTheBuffer) {
    const int values[] = {INT_MIN, INT_MIN + 1, -100000, -1,          0,      4,
                          9,       10,          100000,  INT_MAX - 1, INT_MAX};
    ImageHandle image = MakeImage(kImage, 10, 10);
    ASSERT_NE(image, nullptr);
    auto draw = [&](int x1, int y1, int x2, int y2) {
        BeginDrawing(ImageTarget(kImage));
        FillRect(0, 0, 10, 10, 0);
        DrawLine(x1, y1, x2, y2, kRed);
        EndDrawing();
        return LitPixels(image);
    };
    for (int x1 : values) {
        for (int y1 : values) {
            for (int x2 : values) {
                for (int y2 : values) {
                    ASSERT_EQ(draw(x1, y1, x2, y2), draw(x2, y2, x1, y1))
                        << x1 << "," << y1 << " - " << x2 << "," << y2;
                }
            }
            BeginDrawing(ImageTarget(kImage));
            FillRect(x1, y1, values[0], values[10], kRed);
            FillRect(x1, y1, values[10], values[0], kRed);
            BlitImage(image, x1, y1);
            EndDrawing();
        }
    }
}

TEST_F(DrawingTest, FillRectWithNegativeSizesMovesTheCorner) {
    ImageHandle image = Canvas();
    FillRect(6, 5, -3, -2, kRed);
    EndDrawing();
    EXPECT_EQ(LitPixels(image), (Points{{3, 3}, {4, 3}, {5, 3}, {3, 4}, {4, 4}, {5, 4}}));
}

TEST_F(DrawingTest, FillRectIsClippedToTheImage) {
    ImageHandle image = Canvas();
    FillRect(-2, -2, 4, 3, kRed);
    FillRect(8, 9, 5, 5, kRed);
    EndDrawing();
    EXPECT_EQ(LitPixels(image), (Points{{0, 0}, {1, 0}, {8, 9}, {9, 9}}));

    // From INT_MAX leftwards by 2^31 pixels: the whole image.
    image = Canvas(4, 2);
    FillRect(INT_MAX, 0, INT_MIN, 2, kRed);
    EndDrawing();
    EXPECT_EQ(LitPixels(image).size(), 8u);

    image = Canvas(4, 2);
    FillRect(0, 0, INT_MIN, INT_MIN, kRed);
    FillRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX, kRed);
    FillRect(4, 0, INT_MAX, 2, kRed);
    EndDrawing();
    EXPECT_TRUE(LitPixels(image).empty());
}

TEST_F(DrawingTest, XorModeInvertsWhatLiesBelow) {
    ImageHandle image = Canvas();
    FillRect(0, 0, 10, 1, PackColor(255, 255, 255));
    SetDrawMode(DrawModeXor);
    DrawLine(0, 0, 4, 0, kRed);
    DrawLine(3, 0, 5, 0, kRed);
    EndDrawing();
    EXPECT_EQ(PixelOf(image, 0, 0), (std::array<int, 4>{255, 255, 0, -1}));    // cyan
    EXPECT_EQ(PixelOf(image, 3, 0), (std::array<int, 4>{255, 255, 255, -1}));  // twice: restored
    EXPECT_EQ(PixelOf(image, 5, 0), (std::array<int, 4>{255, 255, 0, -1}));
    EXPECT_EQ(PixelOf(image, 6, 0), (std::array<int, 4>{255, 255, 255, -1}));
    // Every drawing pass starts in copy mode again.
    BeginDrawing(ImageTarget(kImage));
    DrawLine(0, 0, 0, 0, kRed);
    EndDrawing();
    EXPECT_EQ(PixelOf(image, 0, 0), (std::array<int, 4>{0, 0, 255, -1}));
}

class BlitTest : public DrawingTest {
  protected:
    // Image 2: 4 x 3, pixel (x, y) has blue x + 1, green y + 1, red 10 * (y * 4 + x + 1).
    void SetUp() override {
        DrawingTest::SetUp();
        source = MakeImage(2, 4, 3);
        BeginDrawing(ImageTarget(2));
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                DrawLine(x, y, x, y, PackColor(10 * (y * 4 + x + 1), y + 1, x + 1));
            }
        }
        EndDrawing();
    }
    static std::array<int, 4> Expected(int x, int y) {
        return {x + 1, y + 1, 10 * (y * 4 + x + 1), -1};
    }
    ImageHandle source = nullptr;
};

TEST_F(BlitTest, BlitIsClippedAtEveryEdge) {
    ImageHandle image = Canvas(5, 4);
    BlitImage(source, -2, -1);  // source columns 2-3, rows 1-2 land at (0, 0)
    BlitImage(source, 3, 2);    // source columns 0-1, rows 0-1 land at (3, 2)
    EndDrawing();
    EXPECT_EQ(PixelOf(image, 0, 0), Expected(2, 1));
    EXPECT_EQ(PixelOf(image, 1, 1), Expected(3, 2));
    EXPECT_EQ(PixelOf(image, 3, 2), Expected(0, 0));
    EXPECT_EQ(PixelOf(image, 4, 3), Expected(1, 1));
    EXPECT_EQ(LitPixels(image),
              (Points{{0, 0}, {1, 0}, {0, 1}, {1, 1}, {3, 2}, {4, 2}, {3, 3}, {4, 3}}));
}

TEST_F(BlitTest, XorTwiceRestoresAndBlackChangesNothing) {
    ImageHandle image = Canvas(6, 5);
    FillRect(0, 0, 6, 5, PackColor(200, 100, 50));
    EndDrawing();
    const std::vector<std::uint8_t> before(image->bits.get(),
                                           image->bits.get() + image->stride * image->height);
    ImageHandle black = MakeImage(3, 6, 5);
    BeginDrawing(ImageTarget(kImage));
    SetDrawMode(DrawModeXor);
    BlitImage(black, 0, 0);
    EndDrawing();
    EXPECT_EQ(0, std::memcmp(before.data(), image->bits.get(), before.size()));

    BeginDrawing(ImageTarget(kImage));
    SetDrawMode(DrawModeXor);
    BlitImage(source, 1, 1);
    EndDrawing();
    EXPECT_EQ(PixelOf(image, 1, 1), (std::array<int, 4>{50 ^ 1, 100 ^ 1, 200 ^ 10, -1}));
    BeginDrawing(ImageTarget(kImage));
    SetDrawMode(DrawModeXor);
    BlitImage(source, 1, 1);
    EndDrawing();
    EXPECT_EQ(0, std::memcmp(before.data(), image->bits.get(), before.size()));
}

TEST_F(BlitTest, AnImageDrawnOntoItselfMovesAsOneBlock) {
    for (int depth : {24, 32}) {
        ImageHandle image = MakeImage(5, 4, 3, depth);
        ASSERT_NE(image, nullptr);
        BeginDrawing(ImageTarget(5));
        BlitImage(source, 0, 0);
        BlitImage(image, 1, 1);  // every pixel one step right and down
        EndDrawing();
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                const bool moved = x >= 1 && y >= 1;
                auto want = moved ? Expected(x - 1, y - 1) : Expected(x, y);
                auto got = PixelOf(image, x, y);
                got[3] = -1;
                EXPECT_EQ(got, want) << depth << " bits, pixel " << x << ", " << y;
            }
        }
    }
}

TEST_F(BlitTest, ThirtyTwoBitSourcesGiveTheirColourChannelsOnly) {
    ImageHandle rgba = MakeImage(4, 2, 1, 32, PackColor(1, 2, 3));
    ASSERT_NE(rgba, nullptr);
    EXPECT_EQ(PixelOf(rgba, 1, 0), (std::array<int, 4>{3, 2, 1, 255}));
    ImageHandle image = Canvas(3, 1);
    BlitImage(rgba, 1, 0);
    EndDrawing();
    EXPECT_EQ(PixelOf(image, 0, 0), (std::array<int, 4>{0, 0, 0, -1}));
    EXPECT_EQ(PixelOf(image, 2, 0), (std::array<int, 4>{3, 2, 1, -1}));
}

TEST_F(BlitTest, CopyImageRectCopiesWhatOverlapsAndLeavesTheRestBlack) {
    ImageHandle part = CopyImageRect(2, 17, 1, 1, 4, 4);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->width, 4);
    EXPECT_EQ(part->height, 4);
    EXPECT_EQ(PixelOf(part, 0, 0), Expected(1, 1));
    EXPECT_EQ(PixelOf(part, 2, 1), Expected(3, 2));
    Points expectedLit;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            expectedLit.insert({x, y});
        }
    }
    EXPECT_EQ(LitPixels(part), expectedLit);

    // Wholly below: an all-black strip, and drawing it changes nothing.
    ImageHandle below = CopyImageRect(2, 17, 0, 3, 4, 2);
    ASSERT_NE(below, nullptr);
    EXPECT_TRUE(LitPixels(below).empty());
    ImageHandle image = Canvas(4, 3);
    BlitImage(source, 0, 0);
    BlitImage(below, 0, 3);
    BlitImage(below, 0, INT_MAX);
    EndDrawing();
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(PixelOf(image, x, y), Expected(x, y));
        }
    }
    EXPECT_EQ(CopyImageRect(99, 17, 0, 0, 1, 1), nullptr);
    EXPECT_EQ(CopyImageRect(2, 17, 0, 0, 0, 1), nullptr);
    EXPECT_EQ(NativeImageHandle(17), below);
}

TEST_F(DrawingTest, ImagesAreBottomUpWithPaddedRows) {
    ImageHandle demo = MakeImage(0, 320, 360);
    ASSERT_NE(demo, nullptr);
    EXPECT_EQ(demo->stride, 960);
    EXPECT_EQ(demo->bytesPerPixel, 3);
    ImageHandle odd = MakeImage(1, 5, 3);
    EXPECT_EQ(odd->stride, 16);
    EXPECT_EQ(MakeImage(2, 5, 3, 32)->stride, 20);
    EXPECT_EQ(MakeImage(3, 5, 3, 8)->bytesPerPixel, 3);  // below 24 gives 24
    BeginDrawing(ImageTarget(1));
    DrawLine(0, 0, 0, 0, kRed);  // top-left pixel
    EndDrawing();
    // The top row is the last one in memory.
    EXPECT_EQ(odd->bits[2 * 16 + 2], 255);
    EXPECT_EQ(odd->bits[2], 0);
    EXPECT_EQ(MakeImage(4, 0, 3), nullptr);
    EXPECT_EQ(MakeImage(4, 3, -1), nullptr);
    EXPECT_EQ(MakeImage(4, 40000, 1), nullptr);
    EXPECT_EQ(MakeImage(-1, 3, 3), nullptr);
}

TEST_F(DrawingTest, MakeImageFillsWithTheBackground) {
    ImageHandle opaque = MakeImage(1, 2, 2, 24, PackColor(9, 8, 7));
    EXPECT_EQ(PixelOf(opaque, 1, 1), (std::array<int, 4>{7, 8, 9, -1}));
    ImageHandle clear = MakeImage(2, 2, 2, 32, 0xFFFFFFFFu);
    EXPECT_EQ(PixelOf(clear, 0, 0), (std::array<int, 4>{0, 0, 0, 0}));
}

TEST_F(DrawingTest, WithoutACurrentOutputNothingIsWritten) {
    ImageHandle image = MakeImage(kImage, 4, 4);
    FillRect(0, 0, 4, 4, kRed);
    DrawLine(0, 0, 3, 3, kRed);
    BlitImage(image, 0, 0);
    EXPECT_EQ(BeginDrawing(nullptr), 0);
    // An output made but never begun.
    ImageTarget(kImage);
    FillRect(0, 0, 4, 4, kRed);
    // A missing image gives no output, and the one before it is gone too.
    BeginDrawing(ImageTarget(kImage));
    EXPECT_EQ(ImageTarget(42), nullptr);
    EXPECT_EQ(BeginDrawing(ImageTarget(42)), 0);
    FillRect(0, 0, 4, 4, kRed);
    EXPECT_TRUE(LitPixels(image).empty());
}

TEST_F(DrawingTest, AnImageReleasedWhileDrawnOnIsNoLongerWritten) {
    MakeImage(kImage, 4, 4);
    ImageHandle other = MakeImage(2, 4, 4);
    BeginDrawing(ImageTarget(kImage));
    MakeImage(kImage, 8, 8);  // releases the buffer being drawn on
    FillRect(0, 0, 8, 8, kRed);
    BlitImage(other, 0, 0);
    EndDrawing();
    EXPECT_TRUE(LitPixels(NativeImageHandle(kImage)).empty());
}

TEST_F(DrawingTest, HandlesOfReleasedImagesAreIgnored) {
    MakeImage(2, 2, 2, 24, kRed);
    ImageHandle stale = CopyImageRect(2, 17, 0, 0, 2, 2);
    ASSERT_NE(CopyImageRect(2, 17, 0, 0, 1, 1), nullptr);  // releases the first copy
    ImageHandle image = Canvas(2, 2);
    BlitImage(stale, 0, 0);
    EndDrawing();
    EXPECT_TRUE(LitPixels(image).empty());
}

}  // namespace
