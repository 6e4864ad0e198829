// Images made blank remember where they may hold ink, and clearing, copying
// and grabbing them touch only that. Whatever is drawn, the pixels must be
// those of the same images keeping no such map, and every part a map calls
// blank must really be zero.
#include <cstring>
#include <random>
#include <vector>

#include "tests/wobblet/runtime/RuntimeTest.h"

namespace {

// Sizes that give several chunks a row, a last chunk cut short, and (at
// 1100 wide) chunks of more than 16 columns. The 32-bit one starts as a grab
// hanging off an opaque picture: mapped, yet with alpha bytes that drawing in
// colour never clears.
constexpr int kSizes[][3] = {{150, 40, 24}, {97, 33, 24}, {1100, 9, 24}, {130, 30, 32}};
constexpr int kImages = 4;
constexpr int kPlain = 10;   // the images that keep no map: kPlain + n
constexpr int kOpaque = 30;  // an opaque black 32-bit picture

bool SameBytes(ImageHandle a, ImageHandle b) {
    return a->stride == b->stride && a->height == b->height &&
           std::memcmp(a->bits.get(), b->bits.get(), a->stride * a->height) == 0;
}

// The number of chunks the map calls blank that hold a byte other than zero.
int FalselyBlank(ImageHandle image) {
    const InkMap& ink = image->ink;
    int wrong = 0;
    for (int y = 0; y < image->height; ++y) {
        const std::uint8_t* row = image->Row(y);
        for (int c = 0; ink.ChunkStart(c) < image->width; ++c) {
            if ((ink.Row(y) >> c & 1) != 0) {
                continue;
            }
            for (auto x = ink.ChunkStart(c) * image->bytesPerPixel;
                 x < ink.ChunkEnd(c) * image->bytesPerPixel; ++x) {
                if (row[x] != 0) {
                    ++wrong;
                    break;
                }
            }
        }
    }
    return wrong;
}

class InkMapTest : public RuntimeTest {};

TEST_F(InkMapTest, BlankImagesDrawExactlyAsImagesWithoutAMap) {
    ASSERT_NE(MakeImage(kOpaque, 90, 20, 32, 0), nullptr);
    for (int n = 0; n < kImages; ++n) {
        const auto& size = kSizes[n];
        for (int world : {0, kPlain}) {
            if (size[2] == 32) {
                ASSERT_NE(CopyImageRect(kOpaque, world + n, -30, -4, size[0], size[1]), nullptr);
            } else {
                ASSERT_NE(MakeImage(world + n, size[0], size[1], size[2], 0), nullptr);
            }
        }
        ASSERT_TRUE(NativeImageHandle(n)->ink.Tracked()) << "image " << n;
        NativeImageHandle(kPlain + n)->ink.MarkAll();
    }
    std::mt19937 random(7);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    // Black half the time: that is what clears, and what the maps shrink on.
    const auto colour = [&]() { return below(2) == 0 ? Color{0} : Color(random() & 0xFFFFFF); };

    for (int step = 0; step < 3000; ++step) {
        const int target = below(kImages);
        const int source = below(kImages);
        const int kind = below(10);
        const int mode = below(4) == 0 ? DrawModeXor : DrawModeCopy;
        const int w = kSizes[target][0];
        const int h = kSizes[target][1];
        const int x1 = below(w + 40) - 20;
        const int y1 = below(h + 40) - 20;
        const int x2 = below(w + 40) - 20;
        const int y2 = below(h + 40) - 20;
        const Color c = colour();
        // The same step in both worlds: offset 0 the mapped images, kPlain
        // the others.
        for (int world : {0, kPlain}) {
            if (kind == 9) {
                // A grab, partly off the source now and then.
                CopyImageRect(world + source, world + target, x1 / 2, y1 / 2, w, h);
                continue;
            }
            ASSERT_EQ(BeginDrawing(ImageTarget(world + target)), 1);
            SetDrawMode(mode);
            if (kind < 3) {
                FillRect(x1, y1, x2 - x1, y2 - y1, kind == 0 ? Color{0} : c);
            } else if (kind < 6) {
                DrawLine(x1, y1, x2, y2, c);
            } else {
                BlitImage(NativeImageHandle(world + source), x1, y1);
            }
            EndDrawing();
        }
        // A grab changes the image's size to the one asked for: both worlds
        // alike, so sizes still match.
        ImageHandle mapped = NativeImageHandle(target);
        ImageHandle plain = NativeImageHandle(kPlain + target);
        ASSERT_TRUE(SameBytes(mapped, plain)) << "step " << step << ", kind " << kind;
        ASSERT_EQ(FalselyBlank(mapped), 0) << "step " << step << ", kind " << kind;
    }
    // The maps were in use to the end, not given up along the way.
    for (int n = 0; n < kImages; ++n) {
        EXPECT_TRUE(NativeImageHandle(n)->ink.Tracked()) << "image " << n;
    }
}

// The smallest case of the above: black over an opaque grab keeps its alpha,
// and a grab of that must still carry it.
TEST_F(InkMapTest, BlackOverOpaquePixelsKeepsTheirAlphaThroughAGrab) {
    ASSERT_NE(MakeImage(kOpaque, 40, 20, 32, PackColor(10, 20, 30)), nullptr);
    ASSERT_NE(CopyImageRect(kOpaque, 1, -8, -2, 40, 20), nullptr);
    ASSERT_EQ(BeginDrawing(ImageTarget(1)), 1);
    FillRect(0, 0, 40, 20, 0);
    EndDrawing();
    ASSERT_NE(CopyImageRect(1, 2, 0, 0, 40, 20), nullptr);
    EXPECT_EQ(PixelOf(NativeImageHandle(2), 20, 10), (std::array<int, 4>{0, 0, 0, 255}));
    EXPECT_EQ(PixelOf(NativeImageHandle(2), 2, 1), (std::array<int, 4>{0, 0, 0, 0}));
}

}  // namespace
