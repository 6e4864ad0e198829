// The word-wide blits, row-copied fills and unzeroed grabs that make a frame
// cheap, held to the rule stated byte by byte: colour channels copied or
// combined by exclusive-or, a 32-bit target's alpha kept, nothing outside
// the clipped box touched, row padding left zero. Widths run through every
// remainder of the four-pixel groups.
#include <cstring>
#include <vector>

#include "tests/wobblet/runtime/RuntimeTest.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Every byte of every pixel different, alpha included, padding left alone.
// Written behind the drawing routines' back, so the image's ink map is told.
void Scribble(ImageHandle image, int seed) {
    image->ink.MarkAll();
    for (int y = 0; y < image->height; ++y) {
        std::uint8_t* row = image->Row(y);
        for (int i = 0; i < image->width * image->bytesPerPixel; ++i) {
            row[i] = static_cast<std::uint8_t>(seed + 37 * y + 11 * i);
        }
    }
}

Bytes Snapshot(ImageHandle image) {
    return Bytes(image->bits.get(), image->bits.get() + image->stride * image->height);
}

std::uint8_t& At(Bytes& bytes, ImageHandle image, int x, int y, int channel) {
    const int memoryRow = image->bottomUp ? image->height - 1 - y : y;
    return bytes[memoryRow * image->stride + x * image->bytesPerPixel + channel];
}

// What blitting source at (left, 0) in mode does to target, one byte at a
// time: the rule the fast routines must keep.
Bytes ExpectedBlit(ImageHandle target, ImageHandle source, int left, bool xorMode) {
    Bytes expected = Snapshot(target);
    Bytes from = Snapshot(source);
    for (int y = 0; y < source->height && y < target->height; ++y) {
        for (int x = 0; x < source->width; ++x) {
            const int tx = left + x;
            if (tx < 0 || tx >= target->width) {
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                const std::uint8_t s = At(from, source, x, y, c);
                std::uint8_t& d = At(expected, target, tx, y, c);
                d = xorMode ? static_cast<std::uint8_t>(d ^ s) : s;
            }
        }
    }
    return expected;
}

class FastPathTest : public RuntimeTest {
  protected:
    void CheckBlit(int sourceDepth, int targetDepth, bool xorMode) {
        for (int width = 1; width <= 9; ++width) {
            for (int left : {0, 3, -2, 11 - width}) {
                SCOPED_TRACE(::testing::Message() << "width " << width << " at " << left);
                ImageHandle source = MakeImage(1, width, 3, sourceDepth);
                ImageHandle target = MakeImage(2, 11, 4, targetDepth);
                ASSERT_NE(source, nullptr);
                ASSERT_NE(target, nullptr);
                Scribble(source, 5);
                Scribble(target, 200);
                const Bytes expected = ExpectedBlit(target, source, left, xorMode);
                ASSERT_NE(BeginDrawing(ImageTarget(2)), 0);
                SetDrawMode(xorMode ? DrawModeXor : DrawModeCopy);
                BlitImage(source, left, 0);
                EndDrawing();
                EXPECT_EQ(Snapshot(target), expected);
            }
        }
    }
};

TEST_F(FastPathTest, BlitsKeepTheByteRuleForEveryDepthModeAndWidth) {
    for (int sourceDepth : {24, 32}) {
        for (int targetDepth : {24, 32}) {
            for (bool xorMode : {false, true}) {
                SCOPED_TRACE(::testing::Message() << sourceDepth << " onto " << targetDepth
                                                  << (xorMode ? " xor" : " copy"));
                CheckBlit(sourceDepth, targetDepth, xorMode);
            }
        }
    }
}

TEST_F(FastPathTest, FillsSetEveryRowOfTheBoxAndKeepAlphaAndPadding) {
    const Color colours[] = {PackColor(1, 2, 3), PackColor(9, 9, 9), 0};
    for (int depth : {24, 32}) {
        for (Color colour : colours) {
            for (bool xorMode : {false, true}) {
                SCOPED_TRACE(::testing::Message()
                             << depth << " colour " << colour << (xorMode ? " xor" : " copy"));
                ImageHandle image = MakeImage(1, 7, 6, depth);  // 21-byte rows at 24 bits
                ASSERT_NE(image, nullptr);
                Scribble(image, 77);
                Bytes expected = Snapshot(image);
                // Clipped to columns 0-4, rows 2-5.
                for (int y = 2; y < 6; ++y) {
                    for (int x = 0; x < 5; ++x) {
                        const std::uint8_t bgr[3] = {static_cast<std::uint8_t>(colour >> 16),
                                                     static_cast<std::uint8_t>(colour >> 8),
                                                     static_cast<std::uint8_t>(colour)};
                        for (int c = 0; c < 3; ++c) {
                            std::uint8_t& d = At(expected, image, x, y, c);
                            d = xorMode ? static_cast<std::uint8_t>(d ^ bgr[c]) : bgr[c];
                        }
                    }
                }
                ASSERT_NE(BeginDrawing(ImageTarget(1)), 0);
                SetDrawMode(xorMode ? DrawModeXor : DrawModeCopy);
                FillRect(-3, 2, 8, 100, colour);
                EndDrawing();
                EXPECT_EQ(Snapshot(image), expected);
            }
        }
    }
}

TEST_F(FastPathTest, GrabsWhollyInsideTheSourceAreExactWithZeroPadding) {
    for (int depth : {24, 32}) {
        ImageHandle source = MakeImage(1, 12, 9, depth);
        ASSERT_NE(source, nullptr);
        Scribble(source, 3);
        // 4 pixels fill their rows exactly at 24 bits; 5 and 6 leave padding.
        for (int width : {4, 5, 6}) {
            SCOPED_TRACE(::testing::Message() << depth << " bits, width " << width);
            ImageHandle part = CopyImageRect(1, 2, 3, 2, width, 5);
            ASSERT_NE(part, nullptr);
            for (int y = 0; y < 5; ++y) {
                EXPECT_EQ(0, std::memcmp(part->Row(y), source->Row(y + 2) + 3 * part->bytesPerPixel,
                                         static_cast<std::size_t>(width) * part->bytesPerPixel));
                for (std::ptrdiff_t i = width * part->bytesPerPixel; i < part->stride; ++i) {
                    EXPECT_EQ(part->Row(y)[i], 0) << "padding byte " << i << " of row " << y;
                }
            }
        }
    }
}

}  // namespace
