#include "demo/Wobblet.h"

#include <cstdio>
#include <string_view>

#include "demo/BackgroundPicture.h"
#include "demo/runtime/runtime.h"

Corner vertices[9];
Corner transformed[9];
std::int8_t faces[25];
std::int32_t halfSize;

float angleZ;
float angleY;
float angleX;
std::uint8_t frameSlot;
std::uint8_t stripBase;
std::uint8_t stripSlot;

namespace {

// A fixed-size window with a title bar and a close box, nothing else.
constexpr unsigned kWindowFlags = WindowCaption | WindowSystemMenu;
static_assert(kWindowFlags == 0xC80000);

constexpr float kStepZ = 1.0f;
constexpr float kStepY = 2.0f;
constexpr float kStepX = 3.0f;

// Corners of each face in cyclic order, 0-based as written at start-up.
constexpr std::int8_t kFacesZeroBased[24] = {
    0, 1, 3, 2,  // z = -100
    1, 5, 7, 3,  // x = +100
    4, 6, 7, 5,  // z = +100
    0, 2, 6, 4,  // x = -100
    0, 4, 5, 1,  // y = -100
    2, 3, 7, 6,  // y = +100
};

void ClearState() {
    for (int n = 0; n < 9; ++n) {
        vertices[n] = {};
        transformed[n] = {};
    }
    for (std::int8_t& entry : faces) {
        entry = 0;
    }
    halfSize = 0;
    angleZ = angleY = angleX = 0;
    frameSlot = stripBase = stripSlot = 0;
}

void FillTables() {
    halfSize = 100;
    for (int e = 0; e < 24; ++e) {
        faces[e + 1] = kFacesZeroBased[e];
    }
    const float h = static_cast<float>(halfSize);
    // Corner n (1..8) takes x from bit 0, y from bit 1 and z from bit 2 of n - 1.
    for (int n = 1; n <= 8; ++n) {
        const int bits = n - 1;
        vertices[n] = {(bits & 1) != 0 ? h : -h, (bits & 2) != 0 ? h : -h,
                       (bits & 4) != 0 ? h : -h};
    }
}

void DrawCube() {
    for (int n = 1; n <= 8; ++n) {
        transformed[n] = TransformCorner(vertices[n], angleZ, angleY, angleX);
    }
    const Color red = PackColor(255, 0, 0);
    for (int f = 1; f <= 6; ++f) {
        const int e = 4 * f - 3;
        const ImagePoint p1 = ImageCoordinates(transformed[faces[e]]);
        const ImagePoint p2 = ImageCoordinates(transformed[faces[e + 1]]);
        const ImagePoint p3 = ImageCoordinates(transformed[faces[e + 2]]);
        const ImagePoint p4 = ImageCoordinates(transformed[faces[e + 3]]);
        if (!FaceVisible(p1, p2, p3)) {
            continue;
        }
        DrawLine(p1.x, p1.y, p2.x, p2.y, red);
        DrawLine(p1.x, p1.y, p4.x, p4.y, red);
        DrawLine(p2.x, p2.y, p3.x, p3.y, red);
        DrawLine(p3.x, p3.y, p4.x, p4.y, red);
    }
}

// Set when presenting has failed: the window can no longer show the cube,
// and a run nobody can see must not go on as if it could.
bool screenLost = false;

const char* WhatFailed(std::string_view call) {
    if (call == "LoadScreenSystem") {
        return "no display, or no way to present on it";
    }
    if (call == "MakeWindow") {
        return "the 800 x 600 window could not be created";
    }
    if (call == "PresentScreen") {
        return "the picture can no longer be shown in the window: the display device is gone and"
               " could not be brought back";
    }
    return "the window's screen could not be created";
}

}  // namespace

const char* StartWobblet() {
    ClearState();
    screenLost = false;
    RuntimeStartup();  // registers the PNG decoder too
    FillTables();
    angleZ = angleY = angleX = 0;

    const char* failed = nullptr;
    if (LoadScreenSystem() == 0) {
        failed = "LoadScreenSystem";
    } else if (MakeWindow(0, 0, 0, kScreenWidth, kScreenHeight, "Wobblet", kWindowFlags) ==
               nullptr) {
        failed = "MakeWindow";
    } else if (MakeWindowScreen(NativeWindowHandle(0), 0, 0, kScreenWidth, kScreenHeight, 0, 0,
                                0) == 0) {
        failed = "MakeWindowScreen";
    }
    if (failed != nullptr) {
        RuntimeShutdown();
        return failed;
    }

    // The picture's real size bounds the decoder's reads.
    DecodeImageMemory(kBackgroundImage, kBackgroundPng, kBackgroundPngSize);
    stripBase = frameSlot = stripSlot = 0;
    for (int n = 0; n <= kCompositeImage; ++n) {
        MakeImage(n, kFrameWidth, kFrameHeight);
    }
    for (int e = 1; e <= 24; ++e) {
        ++faces[e];
    }
    return nullptr;
}

bool RunFrame() {
    angleZ = AdvanceAngle(angleZ, kStepZ);
    angleY = AdvanceAngle(angleY, kStepY);
    angleX = AdvanceAngle(angleX, kStepX);

    BeginDrawing(ImageTarget(frameSlot));
    FillRect(0, 0, kFrameWidth, kFrameHeight, 0);
    DrawCube();
    EndDrawing();

    stripBase = NextSlot(stripBase);
    stripSlot = stripBase;

    // Strip i comes from the frame 15 - i frames old. The last strip lies
    // below the images and adds nothing: the frame just drawn is not shown yet.
    BeginDrawing(ImageTarget(kCompositeImage));
    for (int i = 0; i < kRingSize; ++i) {
        CopyImageRect(stripSlot & 15, kStripImage, 0, kStripHeight * i, kFrameWidth, kStripHeight);
        ++stripSlot;
        BlitImage(NativeImageHandle(kStripImage), 0, kStripHeight * i);
    }
    EndDrawing();

    BeginDrawing(ScreenTarget());
    BlitImage(NativeImageHandle(kBackgroundImage), 0, 0);
    SetDrawMode(DrawModeXor);
    BlitImage(NativeImageHandle(kCompositeImage), kCompositeX, kCompositeY);
    SetDrawMode(DrawModeCopy);
    frameSlot = NextSlot(frameSlot);
    EndDrawing();

    if (PresentScreen() == 0) {
        screenLost = true;
        return false;
    }
    return PollEvent() != EventWindowClosed;
}

void StopWobblet() {
    RuntimeShutdown();
}

int RunWobblet(const char* programName, void (*tellUser)(const char* reason)) {
    if (const char* failed = StartWobblet(); failed != nullptr) {
        std::fprintf(stderr, "%s: %s failed: %s\n", programName, failed, WhatFailed(failed));
        return 1;
    }
    while (RunFrame()) {
    }
    StopWobblet();
    if (screenLost) {
        std::fprintf(stderr, "%s: PresentScreen failed: %s\n", programName,
                     WhatFailed("PresentScreen"));
        if (tellUser != nullptr) {
            tellUser(WhatFailed("PresentScreen"));
        }
        return 1;
    }
    return 0;
}
