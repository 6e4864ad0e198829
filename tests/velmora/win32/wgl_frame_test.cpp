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

// A 32-bit bottom-up DIB section with a WGL context of its own, made current
// in place of the program's while it lives: every OpenGL call of the drawing
// context then draws here. Such a bitmap is drawn right wherever OpenGL into
// bitmaps works at all, so the frames can be checked even where the
// program's own 24-bit top-down bitmap is not (see the skipped test below).
class ReadBackTarget {
  public:
    ReadBackTarget(int width, int height)
        : programDC(wglGetCurrentDC()), programContext(wglGetCurrentContext()) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        dc = CreateCompatibleDC(nullptr);
        if (bitmap == nullptr || dc == nullptr) {
            return;
        }
        previous = SelectObject(dc, bitmap);
        PIXELFORMATDESCRIPTOR descriptor{};
        descriptor.nSize = sizeof descriptor;
        descriptor.nVersion = 1;
        descriptor.dwFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI;
        descriptor.iPixelType = PFD_TYPE_RGBA;
        descriptor.cColorBits = 32;
        descriptor.cDepthBits = 32;
        descriptor.iLayerType = PFD_MAIN_PLANE;
        if (SetPixelFormat(dc, ChoosePixelFormat(dc, &descriptor), &descriptor)) {
            context = wglCreateContext(dc);
        }
        made = context != nullptr && wglMakeCurrent(dc, context);
    }
    ~ReadBackTarget() {
        wglMakeCurrent(programDC, programContext);
        if (context != nullptr) {
            wglDeleteContext(context);
        }
        if (dc != nullptr) {
            SelectObject(dc, previous);
            DeleteDC(dc);
        }
        if (bitmap != nullptr) {
            DeleteObject(bitmap);
        }
    }
    bool Made() const { return made; }

  private:
    HDC programDC;
    HGLRC programContext;
    HBITMAP bitmap = nullptr;
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
    HGLRC context = nullptr;
    bool made = false;
};

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
    struct Run {
        int width, height, first, last;
        std::initializer_list<int> checked;
    };
    for (const Run& run : {Run{300, 200, 1, 40, {1, 2, 17, 40}}, Run{480, 160, 41, 60, {41, 60}},
                           Run{180, 260, 61, 70, {61, 70}}}) {
        Resize(run.width, run.height);
        ReadBackTarget target(run.width, run.height);
        ASSERT_TRUE(target.Made());
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
