// The application core driven through the fake platform: start-up, the key
// table, the tick order and the window messages. The globals live for the
// whole binary, so every test states what it needs and compares relative to
// what it found.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <limits>

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/Warps.h"
#include "shell/App.h"
#include "tests/velmora/FakePlatform.h"

namespace {

void ExpectMatrixNear(const Matrix4x4& actual, const Matrix4x4& expected, double tolerance) {
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_NEAR(actual.At(i, j), expected.At(i, j), tolerance) << i << ", " << j;
        }
    }
}

bool WindowIsBlack() {
    return std::all_of(fakePlatform.window.begin(), fakePlatform.window.end(),
                       [](std::uint8_t b) { return b == 0; });
}

class App : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        OnCreate();
        ASSERT_EQ(InitApp(), 1);
    }
    void SetUp() override {
        fakePlatform.quitPosted = false;
        fakePlatform.timerRunning = true;
        fakePlatform.messages.clear();
    }
};

TEST_F(App, StartUpLeavesTheDescribedState) {
    // OnCreate started timer 5 at 20 ms.
    EXPECT_EQ(fakePlatform.timerId, 5);
    EXPECT_EQ(fakePlatform.timerMilliseconds, 20);
    // The window is shown once, after the drawing context exists.
    EXPECT_EQ(fakePlatform.showCount, 1);
    EXPECT_TRUE(fakePlatform.contextExistedWhenShown);
    EXPECT_TRUE(theDrawGL.HasContext());
    // Smoothing does not show on filled polygons, so no frame would tell.
    // The materials, warp, flags and zoom do: golden_frame_test.cpp.
    EXPECT_TRUE(theDrawGL.Smoothing());
    EXPECT_TRUE(fakePlatform.messages.empty());
    EXPECT_EQ(fakePlatform.copies, 0);  // no frame before the loop runs
}

TEST_F(App, PlusAndMinusChooseTheWarpAndMinusStopsAtZero) {
    warpIndex = 1;
    for (int k = 0; k < 5; ++k) {
        HandleKey('+');
    }
    EXPECT_EQ(warpIndex, 6);  // warp 6 mod 4 = 2
    warpIndex = 0;
    HandleKey('-');
    EXPECT_EQ(warpIndex, 0);
    warpIndex = 3;
    HandleKey('-');
    EXPECT_EQ(warpIndex, 2);
    // Past the largest int there is nothing to add to.
    warpIndex = std::numeric_limits<int>::max();
    HandleKey('+');
    EXPECT_EQ(warpIndex, std::numeric_limits<int>::max());
    warpIndex = 1;
}

TEST_F(App, LessThanGrowsAndGreaterThanShrinksBackWithinRounding) {
    const double zoom = theScene.GetZoom();
    const Matrix4x4 orientation = theScene.GetOrientation();
    HandleKey('<');
    EXPECT_DOUBLE_EQ(theScene.GetZoom(), zoom * 1.1111111111111112);
    HandleKey('>');
    EXPECT_NEAR(theScene.GetZoom(), zoom, 1e-15);
    ExpectMatrixNear(theScene.GetOrientation(), orientation, 1e-15);
}

TEST_F(App, RotationKeysTurnByFourDegreesAboutTheirAxis) {
    // cos 4 degrees and sin 4 degrees, worked out by hand.
    constexpr double c = 0.9975640502598242;
    constexpr double s = 0.0697564737441253;
    // x and y turn the cube about its own axes (from the right), z about the
    // viewer's (from the left); capitals turn the other way.
    struct Case {
        char key;
        bool fromTheLeft;
        double turn[16];
    };
    const Case cases[] = {
        {'x', false, {1, 0, 0, 0, 0, c, -s, 0, 0, s, c, 0, 0, 0, 0, 1}},
        {'X', false, {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1}},
        {'y', false, {c, 0, s, 0, 0, 1, 0, 0, -s, 0, c, 0, 0, 0, 0, 1}},
        {'Y', false, {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1}},
        {'z', true, {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
        {'Z', true, {c, -s, 0, 0, s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
    };
    // Turned about every axis first: from the identity, or from a turn about
    // one axis, a turn from the wrong side would go unnoticed.
    HandleKey('x');
    HandleKey('y');
    HandleKey('z');
    for (const Case& k : cases) {
        SCOPED_TRACE(k.key);
        const Matrix4x4 before = theScene.GetOrientation();
        const Matrix4x4 turn(k.turn);
        const Matrix4x4& left = k.fromTheLeft ? turn : before;
        const Matrix4x4& right = k.fromTheLeft ? before : turn;
        double product[16];
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                product[i * 4 + j] = 0.0;
                for (int n = 0; n < 4; ++n) {
                    product[i * 4 + j] += left.At(i, n) * right.At(n, j);
                }
            }
        }
        HandleKey(k.key);
        ExpectMatrixNear(theScene.GetOrientation(), Matrix4x4(product), 1e-15);
    }
}

TEST_F(App, ToggleKeysWorkInEitherCase) {
    const unsigned char spin = spinOn;
    const unsigned char warp = warpOn;
    const bool tumbling = theScene.IsTumbling();
    HandleKey('s');
    EXPECT_EQ(spinOn, !spin);
    HandleKey('S');
    EXPECT_EQ(spinOn, spin);
    HandleKey('W');
    EXPECT_EQ(warpOn, !warp);
    HandleKey('w');
    EXPECT_EQ(warpOn, warp);
    HandleKey('g');
    EXPECT_EQ(theScene.IsTumbling(), !tumbling);
    HandleKey('G');
    EXPECT_EQ(theScene.IsTumbling(), tumbling);
}

TEST_F(App, OtherCharactersDoNothing) {
    const Matrix4x4 orientation = theScene.GetOrientation();
    const double zoom = theScene.GetZoom();
    const int index = warpIndex;
    const unsigned char spin = spinOn;
    const unsigned char warp = warpOn;
    const bool tumbling = theScene.IsTumbling();
    for (char c : {'p', 'P', 'a', '0', ' ', '=', '_', 'r', static_cast<char>(0xFC),
                   static_cast<char>(0x80), '\0'}) {
        HandleKey(c);
    }
    ExpectMatrixNear(theScene.GetOrientation(), orientation, 0.0);
    EXPECT_EQ(theScene.GetZoom(), zoom);
    EXPECT_EQ(warpIndex, index);
    EXPECT_EQ(spinOn, spin);
    EXPECT_EQ(warpOn, warp);
    EXPECT_EQ(theScene.IsTumbling(), tumbling);
    EXPECT_FALSE(fakePlatform.quitPosted);
}

TEST_F(App, QuitKeysEndTheProgramAsTheCloseBoxDoes) {
    for (char key : {'q', 'Q'}) {
        fakePlatform.timerRunning = true;
        fakePlatform.quitPosted = false;
        fakePlatform.quitCode = -1;
        OnChar(key);
        EXPECT_FALSE(fakePlatform.timerRunning) << key;
        EXPECT_TRUE(fakePlatform.quitPosted) << key;
        EXPECT_EQ(fakePlatform.quitCode, 0) << key;
    }
    fakePlatform.timerRunning = true;
    fakePlatform.quitPosted = false;
    OnClose();
    EXPECT_FALSE(fakePlatform.timerRunning);
    EXPECT_TRUE(fakePlatform.quitPosted);
    EXPECT_EQ(fakePlatform.quitCode, 0);
}

TEST_F(App, AnimateFrameStepsThenWarpsAtTheOldTimeThenSpins) {
    theScene.ToggleTumble();
    warpOn = 1;
    spinOn = 1;
    const double phase = theScene.GetTumblePhase();
    const double time = warpTime;
    Matrix4x4 expected = theScene.GetOrientation();
    expected.Rotate(10.0 * std::sin(phase + 1.2), 10.0 * std::cos(1.2 * phase + 3.0),
                    10.0 * std::sin(std::cos(phase) / 10.0 + phase));
    expected.Rotate(4.0, 4.0, 4.0);

    AnimateFrame();
    theScene.ToggleTumble();

    ExpectMatrixNear(theScene.GetOrientation(), expected, 1e-14);
    EXPECT_EQ(warpTime, time + 0.05);
    CubeMesh reference;
    reference.Create(20);
    WarpMesh(time, &reference, warpIndex);
    for (int k = 0; k < 6 * 20 * 20; ++k) {
        ASSERT_EQ(theMesh.WarpedPoints()[k].X(), reference.WarpedPoints()[k].X()) << k;
        ASSERT_EQ(theMesh.WarpedPoints()[k].Y(), reference.WarpedPoints()[k].Y()) << k;
        ASSERT_EQ(theMesh.WarpedPoints()[k].Z(), reference.WarpedPoints()[k].Z()) << k;
    }
}

TEST_F(App, WarpKeyStopsTheWarpTimeAndTheShape) {
    HandleKey('w');
    ASSERT_EQ(warpOn, 0);
    const double time = warpTime;
    const std::vector<Vector3> shape(theMesh.WarpedPoints(), theMesh.WarpedPoints() + 2400);
    OnTimer();
    OnTimer();
    EXPECT_EQ(warpTime, time);
    for (int k = 0; k < 2400; ++k) {
        ASSERT_EQ(theMesh.WarpedPoints()[k].X(), shape[k].X()) << k;
    }
    HandleKey('w');
    OnTimer();
    EXPECT_EQ(warpTime, time + 0.05);  // continues where it stopped
}

TEST_F(App, WithEverythingStoppedTheColoursStillMove) {
    HandleKey('w');
    HandleKey('s');
    ASSERT_FALSE(theScene.IsTumbling());
    OnTimer();
    const std::vector<std::uint8_t> first = fakePlatform.window;
    OnTimer();
    HandleKey('w');
    HandleKey('s');
    EXPECT_FALSE(WindowIsBlack());
    EXPECT_NE(fakePlatform.window, first);
}

TEST_F(App, EachTickCopiesTheWholeClientAreaAndPaintOnlyBlackens) {
    const int copies = fakePlatform.copies;
    fakePlatform.Smear(0x55);
    OnTimer();
    EXPECT_EQ(fakePlatform.copies, copies + 1);
    // Every pixel was overwritten: the background is black, not the smear.
    const auto smeared = std::count(fakePlatform.window.begin(), fakePlatform.window.end(), 0x55);
    EXPECT_LT(smeared, 300);  // only where the picture happens to hold 0x55
    EXPECT_FALSE(WindowIsBlack());
    OnPaint();
    EXPECT_TRUE(WindowIsBlack());
}

// While nobody can see the window nothing is drawn into it, yet the ticks
// and keys go on as if it were: the colours too, to the bit, so the first
// tick seen again draws the picture of that tick. Ticks passed over (the
// SDL loop's, slept through unseen) are the same undrawn ticks, seen window
// or not.
TEST_F(App, AWindowNobodySeesIsNotDrawnButItsTicksAndKeysGoOn) {
    warpIndex = 1;
    warpOn = 1;
    spinOn = 1;
    // Four ticks drawn, then the same four from the same colours unseen.
    const double colorsFrom = colorTime;
    for (int k = 0; k < 4; ++k) {
        OnTimer();
    }
    const double colorsDrawn = colorTime;
    const std::vector<std::uint8_t> shown = fakePlatform.window;
    const int copies = fakePlatform.copies;
    const double warpFrom = warpTime;
    Matrix4x4 turned = theScene.GetOrientation();

    colorTime = colorsFrom;
    fakePlatform.seen = false;
    double lastWarpTime = 0.0;
    for (int k = 0; k < 4; ++k) {
        if (k == 3) {
            HandleKey('+');
            lastWarpTime = warpTime;
        }
        if (k < 2) {
            OnTimer();
        } else {
            fakePlatform.seen = true;
            PassOverTick();
        }
        turned.Rotate(4.0, 4.0, 4.0);
    }

    EXPECT_EQ(fakePlatform.copies, copies);
    EXPECT_TRUE(fakePlatform.window == shown);
    EXPECT_EQ(colorTime, colorsDrawn);
    EXPECT_GT(warpTime, warpFrom + 0.19);
    ExpectMatrixNear(theScene.GetOrientation(), turned, 1e-12);
    // The key typed unseen chose the warp of the last tick.
    EXPECT_EQ(warpIndex, 2);
    CubeMesh reference;
    reference.Create(20);
    WarpMesh(lastWarpTime, &reference, 2);
    for (int k = 0; k < 6 * 20 * 20; ++k) {
        ASSERT_EQ(theMesh.WarpedPoints()[k].X(), reference.WarpedPoints()[k].X()) << k;
    }

    OnTimer();
    EXPECT_EQ(fakePlatform.copies, copies + 1);
    EXPECT_FALSE(fakePlatform.window == shown);
    EXPECT_FALSE(WindowIsBlack());
    warpIndex = 1;
}

// The timer's messages the loop of a box hands on while the tick that showed
// it is still running.
double warpTimeInTheBox = 0.0;
void TimerMessagesInTheBox() {
    OnTimer();
    OnTimer();
    warpTimeInTheBox = warpTime;
}

TEST_F(App, WhileATicksErrorBoxIsUpTheTimerRunsNoTickAndAfterwardsItDoes) {
    warpOn = 1;
    theDrawGL.Resize(300, 200);  // its context current
    glEnable(0x7fff);            // not a capability: the tick's first check finds it
    const double before = warpTime;
    fakePlatform.whileShown = TimerMessagesInTheBox;
    OnTimer();
    fakePlatform.whileShown = nullptr;
    ASSERT_EQ(fakePlatform.messages.size(), 1u);
    EXPECT_DOUBLE_EQ(warpTimeInTheBox, before + 0.05);  // only the tick that showed it
    OnTimer();
    EXPECT_DOUBLE_EQ(warpTime, before + 0.10);
    EXPECT_EQ(fakePlatform.messages.size(), 1u);
}

TEST_F(App, SizeMessageResizesTheDrawingBeforeTheNextTick) {
    fakePlatform.SetClientSize(420, 150);
    OnSize(420, 150);
    fakePlatform.Smear(0x55);
    OnTimer();
    const MemoryDC dc = theDrawGL.GetMemoryDC();
    EXPECT_EQ(dc.width, 420);
    EXPECT_EQ(dc.height, 150);
    // The corners are black: the new bitmap covers the whole client area.
    EXPECT_EQ(fakePlatform.window[0], 0);
    EXPECT_EQ(fakePlatform.window.back(), 0);

    // A minimised window (0 x 0) keeps the drawing as it was.
    OnSize(0, 0);
    EXPECT_EQ(theDrawGL.GetMemoryDC().width, 420);
    fakePlatform.SetClientSize(300, 200);
    OnSize(300, 200);
    EXPECT_EQ(theDrawGL.GetMemoryDC().width, 300);
    EXPECT_TRUE(fakePlatform.messages.empty());
}

}  // namespace
