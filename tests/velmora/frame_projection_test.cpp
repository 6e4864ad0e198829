// The frames the application core copies into the window, compared with an
// independent projection of the warped mesh on the CPU: the covered pixels
// must agree (intersection over union at least 0.97). The same comparison
// against the tick before and against the picture turned upside down must
// fail, so a late, flipped or black frame cannot pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "shell/App.h"
#include "tests/velmora/FakePlatform.h"
#include "tests/velmora/FrameProjection.h"

namespace {

Mask WindowMask() {
    const int width = fakePlatform.clientWidth;
    const int height = fakePlatform.clientHeight;
    Mask mask(static_cast<std::size_t>(width) * height, false);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p =
                &fakePlatform.window[(static_cast<std::size_t>(y) * width + x) * 3];
            mask[static_cast<std::size_t>(y) * width + x] = p[0] + p[1] + p[2] > 0;
        }
    }
    return mask;
}

TEST(FrameProjection, CoveredPixelsMatchTheProjectedMesh) {
    OnCreate();
    InitApp();
    ASSERT_TRUE(theDrawGL.HasContext());
    HandleKey('g');  // the tumble adds motion from tick to tick
    CompareFrames(1, 60, {1, 2, 17, 40, 60}, WindowMask, 0.97);

    // A window that is wide and flat, then one that is tall: the cube keeps
    // its shape and stays whole.
    fakePlatform.SetClientSize(480, 160);
    OnSize(480, 160);
    HandleKey('+');
    CompareFrames(61, 90, {61, 75, 90}, WindowMask, 0.97);
    fakePlatform.SetClientSize(180, 260);
    OnSize(180, 260);
    HandleKey('<');
    CompareFrames(91, 110, {91, 110}, WindowMask, 0.97);
    EXPECT_TRUE(fakePlatform.messages.empty());
}

}  // namespace
