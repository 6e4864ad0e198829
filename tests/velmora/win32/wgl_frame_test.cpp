// The frames velmora draws through WGL, read back from OpenGL in the
// program's own process and compared with the CPU's projection of the mesh,
// at the start size and after resizes; and the same frames as the program's
// DIB section holds them, where the system draws OpenGL into such bitmaps as
// documented.
#include <windows.h>
// After windows.h, which the OpenGL header needs.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "render/DrawGL.h"
#include "shell/App.h"
#include "shell/Platform.h"
#include "tests/velmora/FakePlatform.h"
#include "tests/velmora/FrameProjection.h"
#include "tests/velmora/win32/WineCheck.h"

namespace {

// The covered pixels of the frame OpenGL holds, top row first.
Mask ReadBackMask() {
    int width = 0;
    int height = 0;
    GetClientSize(width, height);
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    Mask mask(static_cast<std::size_t>(width) * height, false);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = &rgba[static_cast<std::size_t>(height - 1 - y) * width * 4];
        for (int x = 0; x < width; ++x) {
            mask[static_cast<std::size_t>(y) * width + x] =
                row[4 * x] + row[4 * x + 1] + row[4 * x + 2] > 0;
        }
    }
    return mask;
}

// The covered pixels of what the tick copied out of the DIB section.
Mask BitmapMask() {
    const int width = fakePlatform.clientWidth;
    const int height = fakePlatform.clientHeight;
    Mask mask(static_cast<std::size_t>(width) * height, false);
    for (std::size_t k = 0; k < mask.size(); ++k) {
        const std::uint8_t* p = &fakePlatform.window[k * 3];
        mask[k] = p[0] + p[1] + p[2] > 0;
    }
    return mask;
}

void Resize(int width, int height) {
    fakePlatform.SetClientSize(width, height);
    OnSize(width, height);
}

class WglFrames : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        OnCreate();
        InitApp();
        HandleKey('g');  // the tumble adds motion from tick to tick
    }
    void SetUp() override { ASSERT_TRUE(theDrawGL.HasContext()); }
    void TearDown() override { EXPECT_TRUE(fakePlatform.messages.empty()); }
};

TEST_F(WglFrames, ReadBackMatchesTheProjectionAtEverySize) {
    if (RunningUnderWine()) {
        GTEST_SKIP() << "Wine draws OpenGL over a 24-bit DIB section at the wrong pixel size, "
                        "in the context's own buffer too, and the drawing context keeps its "
                        "own context current, so no other bitmap can stand in for it. The same "
                        "DrawGL calls are checked against the projection on Linux.";
    }
    struct Run {
        int width, height, first, last;
        std::initializer_list<int> checked;
    };
    for (const Run& run : {Run{300, 200, 1, 40, {1, 2, 17, 40}}, Run{480, 160, 41, 60, {41, 60}},
                           Run{180, 260, 61, 70, {61, 70}}}) {
        Resize(run.width, run.height);
        CompareFrames(run.first, run.last, run.checked, ReadBackMask, 0.99);
    }
}

TEST_F(WglFrames, BitmapHoldsTheFrameTheRightWayUp) {
    if (RunningUnderWine()) {
        GTEST_SKIP() << "Wine writes OpenGL into a 24-bit DIB section with the wrong pixel size "
                        "and into a top-down one upside down; real Windows does neither. The "
                        "read-back test checks the frames instead.";
    }
    Resize(300, 200);
    CompareFrames(101, 110, {101, 110}, BitmapMask, 0.97);
    Resize(480, 160);
    CompareFrames(111, 120, {111, 120}, BitmapMask, 0.97);
}

// A failed system call is shown with the system's text for its error, in a
// box that belongs to the focused window; an error the system has no text
// for still says which it was.
TEST(WglMessages, LastErrorIsShownWithTheSystemsTextAndTheCallAsCaption) {
    fakePlatform.messages.clear();
    SetLastError(ERROR_INVALID_PARAMETER);
    ShowLastError("SetPixelFormat");
    SetLastError(0x2000FFFF);  // a customer code: no system text
    ShowLastError("wglCreateContext");
    ASSERT_EQ(fakePlatform.messages.size(), 2u);
    const ShownMessage& known = fakePlatform.messages[0];
    EXPECT_EQ(known.caption, "SetPixelFormat");
    EXPECT_EQ(known.owner, MessageOwner::kFocusWindow);
    char expected[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_INVALID_PARAMETER,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), expected, sizeof expected, nullptr);
    EXPECT_NE(expected[0], '\0');
    EXPECT_EQ(known.text, expected);
    EXPECT_EQ(fakePlatform.messages[1].caption, "wglCreateContext");
    EXPECT_EQ(fakePlatform.messages[1].text, "system error 536936447");
    fakePlatform.messages.clear();
}

}  // namespace
