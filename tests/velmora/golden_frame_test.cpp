// Stored frames of the running program, to catch what a changed material,
// light or lighting switch does to the picture: the core runs through the
// same window messages the capture tool sends, and chosen frames at two
// window sizes, twisted and bulged, are compared with PNG files in golden/.
// Drivers round differently, so a frame passes when its outline overlaps
// the stored one almost entirely (intersection over union at least 0.99)
// and its colours differ by at most one level on average. The stored frames
// were looked at, and each must itself agree with the CPU projection of the
// warped mesh, so they cannot drift into a wrong picture unnoticed.
//
// VELMORA_GOLDEN_UPDATE=1 writes the frames into golden/ instead; look at
// every one before committing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "shell/App.h"
#include "tests/velmora/FakePlatform.h"
#include "tests/velmora/FrameProjection.h"
#include "tools/png/png_file.h"

namespace {

// Any channel above this is the cube; its darkest lit colour is far above.
constexpr int kLit = 16;

struct Step {
    int tick;   // keys go in before this tick, the frame is taken after it
    int width;  // the window resized first to width x height, when not 0
    int height;
    const char* keys;    // typed before the tick
    const char* golden;  // file name of the frame after the tick, or null
};

// Twist from the start ('+' twice gives the bulge, twice more the twist
// again), the tumble on at the larger size; warp time and spin run on across
// the whole list. The whole cube has one normal, so a specular highlight
// covers a face or nothing: at tick 117 it lies on the front faces, and
// between them the frames show both materials, lit and in shadow.
// clang-format off
constexpr Step kSteps[] = {
    {20,  0,   0,   "",    "twist_300x200_t20.png"},
    {21,  0,   0,   "++",  nullptr},
    {70,  0,   0,   "",    "bulge_300x200_t70.png"},
    {71,  480, 270, "g++", nullptr},
    {90,  0,   0,   "",    "twist_480x270_t90.png"},
    {91,  0,   0,   "++",  nullptr},
    {117, 0,   0,   "",    "bulge_480x270_t117.png"},
};
// clang-format on

bool Covered(const std::uint8_t* bgr) {
    return bgr[0] > kLit || bgr[1] > kLit || bgr[2] > kLit;
}

Mask CoveredMask(const std::uint8_t* rows, int width, int height) {
    Mask mask(static_cast<std::size_t>(width) * height);
    for (std::size_t k = 0; k < mask.size(); ++k) {
        mask[k] = Covered(rows + 3 * k);
    }
    return mask;
}

// The mean absolute difference of the colour channels over the pixels
// either picture covers (the shared black background would water it down).
double MeanColourDifference(const std::uint8_t* a, const std::uint8_t* b, std::size_t pixels) {
    double sum = 0;
    std::size_t counted = 0;
    for (std::size_t k = 0; k < pixels; ++k) {
        const std::uint8_t* p = a + 3 * k;
        const std::uint8_t* q = b + 3 * k;
        if (!Covered(p) && !Covered(q)) {
            continue;
        }
        ++counted;
        for (int c = 0; c < 3; ++c) {
            sum += std::abs(p[c] - q[c]);
        }
    }
    return counted == 0 ? 0.0 : sum / (3.0 * counted);
}

void CheckFrame(const std::string& name) {
    const int width = fakePlatform.clientWidth;
    const int height = fakePlatform.clientHeight;
    const std::string path = std::string(VELMORA_GOLDEN_DIR) + "/" + name;
    const std::uint8_t* frame = fakePlatform.window.data();
    if (std::getenv("VELMORA_GOLDEN_UPDATE") != nullptr) {
        std::string error;
        ASSERT_TRUE(
            png_file::Write(path, width, height, png_file::Layout::kBgr, frame, width * 3, &error))
            << error;
    }
    png_file::Picture golden;
    std::string error;
    ASSERT_TRUE(png_file::Read(path, png_file::Layout::kBgr, golden, &error)) << error;
    ASSERT_EQ(golden.width, width);
    ASSERT_EQ(golden.height, height);

    const Mask stored = CoveredMask(golden.pixels.data(), width, height);
    const Mask projected = ProjectedMask(CurrentFrameState(), width, height);
    EXPECT_GE(IntersectionOverUnion(stored, projected), 0.97) << "the stored frame";

    EXPECT_GE(IntersectionOverUnion(CoveredMask(frame, width, height), stored), 0.99);
    EXPECT_LE(
        MeanColourDifference(frame, golden.pixels.data(), static_cast<std::size_t>(width) * height),
        1.0);
}

TEST(GoldenFrames, TwistAndBulgeAtTwoSizesMatchTheStoredFrames) {
    OnCreate();
    InitApp();
    ASSERT_TRUE(theDrawGL.HasContext());
    OnPaint();
    int tick = 1;
    for (const Step& step : kSteps) {
        for (; tick < step.tick; ++tick) {
            OnTimer();
        }
        if (step.width != 0) {
            fakePlatform.SetClientSize(step.width, step.height);
            OnSize(step.width, step.height);
            OnPaint();
        }
        for (const char* key = step.keys; *key != '\0'; ++key) {
            OnChar(*key);
        }
        OnTimer();
        ++tick;
        if (step.golden != nullptr) {
            SCOPED_TRACE(step.golden);
            CheckFrame(step.golden);
        }
    }
    EXPECT_TRUE(fakePlatform.messages.empty());
}

}  // namespace
