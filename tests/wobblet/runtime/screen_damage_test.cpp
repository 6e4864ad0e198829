// The screen's damage: whatever is drawn on it, the pixels are those the
// same drawing gives on an image (which keeps no damage and takes no short
// cuts), and every pixel that changed between two presentations lies inside
// the rectangles handed on with the second.
#include <random>
#include <vector>

#include "demo/runtime/headless/FrameSink.h"
#include "tests/wobblet/runtime/RuntimeTest.h"

namespace {

constexpr int kWidth = 203;
constexpr int kHeight = 141;

struct Presented {
    std::vector<std::uint8_t> pixels;  // 4 bytes a pixel, top row first
    std::vector<DamageRect> changed;
};

class ScreenDamageTest : public RuntimeTest {
  protected:
    void SetUp() override {
        SetFrameSink([this](const PresentedScreen& screen) {
            Presented p;
            for (int y = 0; y < screen.height; ++y) {
                const std::uint8_t* row = screen.pixels + y * screen.stride;
                p.pixels.insert(p.pixels.end(), row, row + screen.width * 4);
            }
            p.changed = *screen.changed;
            presented.push_back(std::move(p));
            return true;
        });
        RuntimeTest::SetUp();
        ASSERT_NE(MakeWindow(0, 0, 0, kWidth, kHeight, "t", 0), nullptr);
        ASSERT_EQ(MakeWindowScreen(NativeWindowHandle(0), 0, 0, kWidth, kHeight, 0, 0, 0), 1);
    }
    void TearDown() override {
        RuntimeTest::TearDown();
        SetFrameSink(nullptr);
    }

    static bool Inside(const std::vector<DamageRect>& rects, int x, int y) {
        for (const DamageRect& r : rects) {
            if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) {
                return true;
            }
        }
        return false;
    }

    std::vector<Presented> presented;
};

TEST_F(ScreenDamageTest, RandomDrawingMatchesAnImageAndDamageHoldsEveryChange) {
    std::mt19937 random(12);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    // A background and a second picture (32 bits), a sparse overlay (24).
    constexpr int kBackground = 1;
    constexpr int kOther = 2;
    constexpr int kOverlay = 3;
    constexpr int kReference = 4;
    ASSERT_NE(MakeImage(kBackground, kWidth + 20, kHeight + 20, 32), nullptr);
    ASSERT_NE(MakeImage(kOther, 60, 50, 32), nullptr);
    ASSERT_NE(MakeImage(kOverlay, 90, 70, 24), nullptr);
    ASSERT_NE(MakeImage(kReference, kWidth, kHeight, 32, 0xFFFFFFFFu), nullptr);
    const auto scribble = [&](int image, int lines) {
        ASSERT_EQ(BeginDrawing(ImageTarget(image)), 1);
        for (int i = 0; i < lines; ++i) {
            DrawLine(below(240) - 20, below(200) - 20, below(240) - 20, below(200) - 20,
                     random() & 0xFFFFFF);
        }
        EndDrawing();
    };
    ASSERT_EQ(BeginDrawing(ImageTarget(kBackground)), 1);
    for (int i = 0; i < 40; ++i) {
        FillRect(below(kWidth), below(kHeight), below(60), below(60), random() & 0xFFFFFF);
    }
    EndDrawing();
    scribble(kOther, 30);
    scribble(kOverlay, 12);

    // One frame's drawing, onto the screen or the reference image alike.
    struct Op {
        int kind;
        int a, b, c, d;
        Color color;
    };
    const auto draw = [&](const std::vector<Op>& ops) {
        for (const Op& op : ops) {
            switch (op.kind) {
                case 0:
                    BlitImage(NativeImageHandle(kBackground), op.a, op.b);
                    break;
                case 1:
                    BlitImage(NativeImageHandle(kOther), op.a, op.b);
                    break;
                case 2:
                    SetDrawMode(DrawModeXor);
                    BlitImage(NativeImageHandle(kOverlay), op.a, op.b);
                    SetDrawMode(DrawModeCopy);
                    break;
                case 3:
                    FillRect(op.a, op.b, op.c, op.d, op.color);
                    break;
                default:
                    DrawLine(op.a, op.b, op.c, op.d, op.color);
                    break;
            }
        }
    };

    for (int frame = 0; frame < 300; ++frame) {
        // Mostly the same background at the same place, as a frame loop does;
        // now and then somewhere else, or changed in between.
        if (frame % 37 == 5) {
            scribble(kBackground, 3);
        }
        std::vector<Op> ops;
        const bool moved = frame % 23 == 7;
        ops.push_back({0, moved ? -below(20) : -10, moved ? -below(20) : -7, 0, 0, 0});
        const int extra = below(4);
        for (int i = 0; i < extra; ++i) {
            const int kind = 1 + below(4);
            ops.push_back({kind, below(kWidth + 40) - 20, below(kHeight + 40) - 20,
                           below(kWidth + 40) - 20, below(kHeight + 40) - 20,
                           static_cast<Color>(random() & 0xFFFFFF)});
        }
        ASSERT_EQ(BeginDrawing(ScreenTarget()), 1);
        draw(ops);
        EndDrawing();
        PresentScreen();
        ASSERT_EQ(BeginDrawing(ImageTarget(kReference)), 1);
        draw(ops);
        EndDrawing();

        ASSERT_EQ(presented.size(), static_cast<std::size_t>(frame + 1));
        const Presented& now = presented.back();
        const ImageHandle reference = NativeImageHandle(kReference);
        int wrong = 0;
        int unreported = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const std::uint8_t* p = &now.pixels[(y * kWidth + x) * 4];
                const auto r = PixelOf(reference, x, y);
                wrong += p[0] != r[0] || p[1] != r[1] || p[2] != r[2];
                if (frame == 0) {
                    // Nothing was shown before: all of it is new.
                    unreported += !Inside(now.changed, x, y);
                } else {
                    const std::uint8_t* q = &presented[frame - 1].pixels[(y * kWidth + x) * 4];
                    const bool changed = p[0] != q[0] || p[1] != q[1] || p[2] != q[2];
                    unreported += changed && !Inside(now.changed, x, y);
                }
            }
        }
        ASSERT_EQ(wrong, 0) << "frame " << frame;
        ASSERT_EQ(unreported, 0) << "frame " << frame;
    }
}

TEST_F(ScreenDamageTest, AnUnchangedBackgroundSendsOnlyWhatWasDrawnOverIt) {
    ASSERT_NE(MakeImage(1, kWidth, kHeight, 32, PackColor(10, 20, 30)), nullptr);
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_EQ(BeginDrawing(ScreenTarget()), 1);
        BlitImage(NativeImageHandle(1), 0, 0);
        DrawLine(50, 40 + frame, 60, 40 + frame, PackColor(255, 0, 0));
        EndDrawing();
        PresentScreen();
    }
    ASSERT_EQ(presented.size(), 3u);
    // The last frame moved an 11-pixel line down by one: the old row goes
    // back to the background, the new row is drawn; both lie in one band,
    // and pixels are compared 16 at a time, so at most two such blocks of it.
    std::int64_t pixels = DamageBytes(presented[2].changed) / 4;
    EXPECT_GE(pixels, 22);
    EXPECT_LE(pixels, 2 * 16 * ScreenDamage::kBandHeight);
}

// Two frames' changes, as a buffer two frames behind lacks them: taken by band,
// every changed pixel is inside exactly one rectangle, and the corners that
// joining the bands adds are left out.
TEST(ScreenDamageBands, TwoFramesChangesAreTakenOnceEachWithoutTheJoinedCorners) {
    ScreenDamage damage;
    damage.Reset(kWidth, kHeight);
    std::vector<DamageRect> rects;
    damage.TakeJoined(rects);
    const DamageRect frames[] = {{40, 8, 60, 40}, {50, 16, 60, 40}, {10, 64, 30, 8}};
    for (const DamageRect& f : frames) {
        damage.Add(f.x, f.y, f.x + f.width, f.y + f.height);
    }
    damage.TakeBands(rects);
    std::int64_t covered = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            int in = 0;
            for (const DamageRect& r : rects) {
                in += x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
            }
            bool changed = false;
            for (const DamageRect& f : frames) {
                changed |= x >= f.x && x < f.x + f.width && y >= f.y && y < f.y + f.height;
            }
            ASSERT_LE(in, 1) << x << "," << y;
            ASSERT_TRUE(!changed || in == 1) << x << "," << y;
            covered += in;
        }
    }
    // Bands 1-6: 60 wide alone, 70 where the frames overlap; band 8: 30.
    EXPECT_EQ(covered, (60 + 4 * 70 + 60) * 8 + 30 * 8);
    damage.TakeBands(rects);
    EXPECT_TRUE(rects.empty());
}

}  // namespace
