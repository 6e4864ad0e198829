// What a user can throw at velmora: the window dragged to every size,
// including none at all and more than OpenGL can render, and any key held
// down for a long time. The drawing context must keep a usable picture
// through the first, and the second must change only what the key table
// says.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "model/Warps.h"
#include "shell/App.h"
#include "tests/velmora/FakePlatform.h"

namespace {

// ---------------------------------------------------------------------------
// Resizes

// A cube that fills a good part of any window: warped, zoomed, turned.
struct Subject {
    CubeMesh mesh;
    Scene scene;

    Subject() {
        mesh.Create(20);
        WarpMesh(0.7, &mesh, 3);
        scene.ZoomBy(0.2097152);
        scene.Rotate(30.0, 40.0, 10.0);
        scene.SetMesh(&mesh);
    }
};

void SetUpLikeTheProgram(DrawGL& drawGL) {
    drawGL.SetMaterial(kFaceFront, 0);
    drawGL.SetMaterial(kFaceBack, 11);
    drawGL.SetColorMaterial(true);
    drawGL.SetSmoothing(true);
}

void DrawFrame(DrawGL& drawGL, Subject& subject) {
    drawGL.StartDraw();
    subject.scene.Draw(drawGL);
    drawGL.FinishDraw();
}

std::vector<std::uint8_t> Snapshot(const MemoryDC& dc) {
    return std::vector<std::uint8_t>(dc.pixels,
                                     dc.pixels + static_cast<std::size_t>(dc.stride) * dc.height);
}

std::size_t LitPixels(const MemoryDC& dc) {
    std::size_t lit = 0;
    for (int y = 0; y < dc.height; ++y) {
        const std::uint8_t* row = dc.pixels + static_cast<std::size_t>(y) * dc.stride;
        for (int x = 0; x < dc.width; ++x) {
            lit += row[3 * x] + row[3 * x + 1] + row[3 * x + 2] > 0;
        }
    }
    return lit;
}

// Sizes a window system or a careless caller can hand over: none, a line,
// the renderbuffer limit and just past it, negative, and the ends of int.
std::vector<std::pair<int, int>> OddSizes(int limit) {
    return {{0, 0},
            {1, 1},
            {1, 5000},
            {5000, 1},
            {0, 200},
            {300, 0},
            {limit, 1},
            {1, limit},
            {limit + 1, 10},
            {10, limit + 1},
            {limit + 1, limit + 1},
            {65535, 65535},
            {-1, -1},
            {-5, 100},
            {100, -5},
            {INT_MAX, 1},
            {1, INT_MAX},
            {INT_MAX, INT_MAX},
            {INT_MIN, 1},
            {1, INT_MIN},
            {INT_MIN, INT_MIN}};
}

TEST(ResizeAbuse, ThousandRandomResizesKeepTheLastGoodPictureAndRenderRight) {
    fakePlatform.messages.clear();
    Subject subject;
    std::vector<std::uint8_t> finalFrame;
    int width = 300;
    int height = 200;
    {
        DrawGL drawGL;
        ASSERT_TRUE(drawGL.Create(width, height));
        SetUpLikeTheProgram(drawGL);
        GLint limit = 0;
        glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &limit);
        ASSERT_GT(limit, 5000);
        const std::vector<std::pair<int, int>> odd = OddSizes(limit);

        std::mt19937 random(20250611);
        std::uniform_int_distribution<int> percent(0, 99);
        std::uniform_int_distribution<int> side(1, 640);
        std::uniform_int_distribution<std::size_t> pick(0, odd.size() - 1);
        int failures = 0;
        for (int step = 0; step < 1000; ++step) {
            int w = width;
            int h = height;
            const int roll = percent(random);
            if (roll < 20) {
                std::tie(w, h) = odd[pick(random)];
            } else if (roll < 25) {
                // the same size again
            } else {
                w = percent(random) < 5 ? 0 : side(random);
                h = percent(random) < 5 ? 0 : side(random);
            }
            SCOPED_TRACE(testing::Message() << "step " << step << ": " << w << " x " << h);
            const bool fits = w >= 1 && h >= 1 && w <= limit && h <= limit;
            const MemoryDC before = drawGL.GetMemoryDC();
            const std::vector<std::uint8_t> picture =
                fits ? std::vector<std::uint8_t>{} : Snapshot(before);

            ASSERT_EQ(drawGL.Resize(w, h), fits);

            const MemoryDC after = drawGL.GetMemoryDC();
            if (fits) {
                width = w;
                height = h;
            } else {
                ++failures;
                ASSERT_EQ(after.pixels, before.pixels);
                ASSERT_TRUE(Snapshot(after) == picture);
            }
            ASSERT_EQ(after.width, width);
            ASSERT_EQ(after.height, height);
            ASSERT_EQ(after.stride, (width * 3 + 3) / 4 * 4);
            GLint viewport[4] = {};
            glGetIntegerv(GL_VIEWPORT, viewport);
            ASSERT_EQ(viewport[2], width);
            ASSERT_EQ(viewport[3], height);
            if (step % 20 == 0) {
                DrawFrame(drawGL, subject);
                // A cube 0.21 of the way zoomed fills a visible share of any
                // window that is not a mere line.
                if (width >= 32 && height >= 32) {
                    ASSERT_GT(LitPixels(drawGL.GetMemoryDC()), 0u);
                }
            }
        }
        EXPECT_GT(failures, 100);

        // End on an ordinary odd-sized window, then refuse two more sizes.
        width = 293;
        height = 187;
        ASSERT_TRUE(drawGL.Resize(width, height));
        ASSERT_FALSE(drawGL.Resize(0, 0));
        ASSERT_FALSE(drawGL.Resize(limit + 1, 1));

        const double clock = colorTime;
        DrawFrame(drawGL, subject);
        colorTime = clock;
        finalFrame = Snapshot(drawGL.GetMemoryDC());
    }  // the abused context goes before the fresh one is made current

    // A context that never saw a resize draws the same frame, byte for byte.
    DrawGL fresh;
    ASSERT_TRUE(fresh.Create(width, height));
    SetUpLikeTheProgram(fresh);
    DrawFrame(fresh, subject);
    const MemoryDC dc = fresh.GetMemoryDC();
    ASSERT_EQ(dc.width, width);
    ASSERT_EQ(dc.height, height);
    EXPECT_TRUE(Snapshot(dc) == finalFrame);
    // And that frame is a cube, not an empty or flooded window.
    const std::size_t lit = LitPixels(dc);
    EXPECT_GT(lit, static_cast<std::size_t>(width * height / 20));
    EXPECT_LT(lit, static_cast<std::size_t>(width * height * 9 / 10));
    EXPECT_TRUE(fakePlatform.messages.empty());
}

// The read-back hands on blue, green, red with the top row first and leaves
// the padding of each row alone, at a width whose rows need padding and
// whose pixel count is no multiple of any vector width.
TEST(ReadBack, PutsBlueGreenRedTopRowFirstAndLeavesThePadding) {
    DrawGL drawGL;
    ASSERT_TRUE(drawGL.Create(293, 101));
    drawGL.StartDraw();
    glDisable(GL_LIGHTING);  // the colours as given
    drawGL.SetModelTransform(Matrix4x4());
    auto quad = [&](double x0, double y0, double x1, double y1) {
        drawGL.BeginPolygon();
        drawGL.Vertex(Vector3(x0, y0, 0));
        drawGL.Vertex(Vector3(x1, y0, 0));
        drawGL.Vertex(Vector3(x1, y1, 0));
        drawGL.Vertex(Vector3(x0, y1, 0));
        drawGL.EndPolygon();
    };
    drawGL.SetColor(255, 0, 0, 255);
    quad(-4.0, 0.5, -1.0, 1.8);  // upper left: red
    drawGL.SetColor(0, 0, 255, 255);
    quad(1.0, -1.8, 4.0, -0.5);  // lower right: blue
    drawGL.SetColor(0, 255, 0, 255);
    quad(-6.3, -2.2, -5.0, -1.5);  // the lower left corner: green
    drawGL.FinishDraw();

    const MemoryDC dc = drawGL.GetMemoryDC();
    ASSERT_EQ(dc.stride, 880);
    auto pixel = [&](int x, int y) {
        const std::uint8_t* p = dc.pixels + static_cast<std::size_t>(y) * dc.stride + 3 * x;
        return std::vector<int>{p[0], p[1], p[2]};
    };
    // Centres of the quads through the 30 degree perspective at aspect 293/101.
    EXPECT_EQ(pixel(88, 23), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(pixel(205, 77), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(pixel(0, 100), (std::vector<int>{0, 255, 0}));
    EXPECT_EQ(pixel(292, 0), (std::vector<int>{0, 0, 0}));
    for (int y = 0; y < dc.height; ++y) {
        ASSERT_EQ(dc.pixels[static_cast<std::size_t>(y) * dc.stride + 879], 0) << y;
    }
}

// ---------------------------------------------------------------------------
// Held keys

// Everything a key could touch.
struct AppState {
    int warpIndex;
    unsigned char warpOn;
    unsigned char spinOn;
    double warpTime;
    double colorTime;
    double orientation[16];
    double zoom;
    bool tumbling;
    double tumblePhase;
    std::vector<double> mesh;
    bool timerRunning;
    bool quitPosted;
    int showCount;
    int copies;
    std::size_t messages;
    std::vector<std::uint8_t> window;
    int frontMaterial;
    int backMaterial;

    static AppState Take() {
        AppState s{};
        s.warpIndex = ::warpIndex;
        s.warpOn = ::warpOn;
        s.spinOn = ::spinOn;
        s.warpTime = ::warpTime;
        s.colorTime = ::colorTime;
        theScene.GetOrientation().GetValues(s.orientation);
        s.zoom = theScene.GetZoom();
        s.tumbling = theScene.IsTumbling();
        s.tumblePhase = theScene.GetTumblePhase();
        const int count = 6 * theMesh.GridSize() * theMesh.GridSize();
        for (int k = 0; k < count; ++k) {
            const Vector3& p = theMesh.WarpedPoints()[k];
            s.mesh.insert(s.mesh.end(), {p.X(), p.Y(), p.Z()});
        }
        s.timerRunning = fakePlatform.timerRunning;
        s.quitPosted = fakePlatform.quitPosted;
        s.showCount = fakePlatform.showCount;
        s.copies = fakePlatform.copies;
        s.messages = fakePlatform.messages.size();
        s.window = fakePlatform.window;
        s.frontMaterial = theDrawGL.FrontMaterial();
        s.backMaterial = theDrawGL.BackMaterial();
        return s;
    }
};

// Compares field by field, so a failure names what moved. Orientation and
// zoom are compared by the caller where a key is meant to change them.
void ExpectSameExceptView(const AppState& a, const AppState& b) {
    EXPECT_EQ(a.warpIndex, b.warpIndex);
    EXPECT_EQ(a.warpOn, b.warpOn);
    EXPECT_EQ(a.spinOn, b.spinOn);
    EXPECT_EQ(a.warpTime, b.warpTime);
    EXPECT_EQ(a.colorTime, b.colorTime);
    EXPECT_EQ(a.tumbling, b.tumbling);
    EXPECT_EQ(a.tumblePhase, b.tumblePhase);
    EXPECT_TRUE(a.mesh == b.mesh);
    EXPECT_EQ(a.timerRunning, b.timerRunning);
    EXPECT_EQ(a.quitPosted, b.quitPosted);
    EXPECT_EQ(a.showCount, b.showCount);
    EXPECT_EQ(a.copies, b.copies);
    EXPECT_EQ(a.messages, b.messages);
    EXPECT_TRUE(a.window == b.window);
    EXPECT_EQ(a.frontMaterial, b.frontMaterial);
    EXPECT_EQ(a.backMaterial, b.backMaterial);
}

void ExpectSameView(const AppState& a, const AppState& b) {
    EXPECT_EQ(a.zoom, b.zoom);
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(a.orientation[k], b.orientation[k]) << k;
    }
}

class HeldKeys : public testing::Test {
  protected:
    static constexpr int kRepeats = 10000;

    static void SetUpTestSuite() {
        // The program's state after start-up, without a drawing context: no
        // key reaches OpenGL. The mesh is built and warped so that a key
        // that touched it would show.
        OnCreate();
        theMesh.Create(20);
        WarpMesh(0.3, &theMesh, 1);
        warpIndex = 1;
        warpOn = 1;
        spinOn = 1;
        for (int k = 0; k < 3; ++k) {
            theScene.ZoomBy(theScene.GetZoom() * 0.8);
        }
        theScene.Rotate(10.0, 20.0, 30.0);
        fakePlatform.Smear(0x21);
    }
    void SetUp() override {
        fakePlatform.timerRunning = true;
        fakePlatform.quitPosted = false;
        fakePlatform.messages.clear();
    }
    static void Hold(char key, int times) {
        for (int k = 0; k < times; ++k) {
            OnChar(key);
        }
    }
};

// Every byte, as the window hands it over: the low byte of the character
// taken as a signed char, so 128 to 255 arrive negative.
TEST_F(HeldKeys, EveryByteHeldTenThousandTimesChangesOnlyItsOwnEntry) {
    const std::string acting = "+-<>gGqQsSwWxXyYzZ";
    for (int byte = 0; byte < 256; ++byte) {
        const char key = static_cast<char>(static_cast<unsigned char>(byte));
        if (acting.find(key) != std::string::npos) {
            continue;  // each has its own test below
        }
        SCOPED_TRACE(testing::Message() << "byte " << byte);
        const AppState before = AppState::Take();
        Hold(key, kRepeats);
        const AppState after = AppState::Take();
        ExpectSameExceptView(after, before);
        ExpectSameView(after, before);
        if (HasFailure()) {
            return;
        }
    }
}

TEST_F(HeldKeys, PlusCountsWithoutLimitAndMinusStopsAtZero) {
    warpIndex = 1;
    AppState expected = AppState::Take();
    Hold('+', kRepeats);
    expected.warpIndex = 10001;
    const AppState afterPlus = AppState::Take();
    ExpectSameExceptView(afterPlus, expected);
    ExpectSameView(afterPlus, expected);

    warpIndex = 1;
    Hold('-', kRepeats);
    EXPECT_EQ(warpIndex, 0);
    warpIndex = 12345;
    Hold('-', kRepeats);
    EXPECT_EQ(warpIndex, 2345);
    expected.warpIndex = 2345;
    const AppState afterMinus = AppState::Take();
    ExpectSameExceptView(afterMinus, expected);
    ExpectSameView(afterMinus, expected);
    warpIndex = 1;
}

// Each press switches; an even number of presses comes back to the start.
TEST_F(HeldKeys, ToggleKeysSwitchOnEveryPress) {
    struct Toggle {
        char key;
        bool (*read)();
    };
    const Toggle toggles[] = {
        {'s', [] { return spinOn == 1; }},           {'S', [] { return spinOn == 1; }},
        {'w', [] { return warpOn == 1; }},           {'W', [] { return warpOn == 1; }},
        {'g', [] { return theScene.IsTumbling(); }}, {'G', [] { return theScene.IsTumbling(); }},
    };
    for (const Toggle& t : toggles) {
        SCOPED_TRACE(testing::Message() << "key " << t.key);
        const AppState before = AppState::Take();
        bool on = t.read();
        for (int k = 0; k < kRepeats; ++k) {
            OnChar(t.key);
            on = !on;
            ASSERT_EQ(t.read(), on) << "press " << k + 1;
        }
        const AppState after = AppState::Take();
        ExpectSameExceptView(after, before);
        ExpectSameView(after, before);
    }
}

// Ten thousand turns of 4 degrees are 111 whole turns and 40 degrees, and
// the rows keep the zoom as their length.
TEST_F(HeldKeys, RotationKeysTurnByFortyDegreesNetAndKeepTheScale) {
    struct Turn {
        char key;
        double ax, ay, az;
    };
    for (const Turn t : {Turn{'x', 40, 0, 0}, Turn{'X', -40, 0, 0}, Turn{'y', 0, 40, 0},
                         Turn{'Y', 0, -40, 0}, Turn{'z', 0, 0, 40}, Turn{'Z', 0, 0, -40}}) {
        SCOPED_TRACE(testing::Message() << "key " << t.key);
        const AppState before = AppState::Take();
        Matrix4x4 expected = theScene.GetOrientation();
        expected.Rotate(t.ax, t.ay, t.az);
        Hold(t.key, kRepeats);
        const AppState after = AppState::Take();
        ExpectSameExceptView(after, before);
        EXPECT_EQ(after.zoom, before.zoom);
        const Matrix4x4& m = theScene.GetOrientation();
        for (int i = 0; i < 4; ++i) {
            double length = 0.0;
            for (int j = 0; j < 4; ++j) {
                EXPECT_NEAR(m.At(i, j), expected.At(i, j), 1e-9) << i << ", " << j;
                length += m.At(i, j) * m.At(i, j);
            }
            EXPECT_NEAR(std::sqrt(length), i < 3 ? before.zoom : 1.0, 1e-9) << "row " << i;
        }
    }
}

// Each press ends the program as the close box does: once per press, and
// the presses after the first do no harm.
TEST_F(HeldKeys, QuitKeysPostQuitOncePerPress) {
    for (char key : {'q', 'Q'}) {
        SCOPED_TRACE(testing::Message() << "key " << key);
        fakePlatform.timerRunning = true;
        fakePlatform.quitPosted = false;
        AppState expected = AppState::Take();
        for (int k = 0; k < kRepeats; ++k) {
            fakePlatform.quitPosted = false;
            fakePlatform.quitCode = -1;
            OnChar(key);
            ASSERT_TRUE(fakePlatform.quitPosted) << "press " << k + 1;
            ASSERT_EQ(fakePlatform.quitCode, 0);
            ASSERT_FALSE(fakePlatform.timerRunning);
        }
        expected.timerRunning = false;
        expected.quitPosted = true;
        const AppState after = AppState::Take();
        ExpectSameExceptView(after, expected);
        ExpectSameView(after, expected);
    }
}

// The zoom keys for as long as the zoom stays an ordinary double (a
// thousand presses scale by 0.9^1000, about 1.7e-46): the zoom is the
// product of the factors and the rotation inside the orientation stays.
TEST_F(HeldKeys, ZoomKeysMultiplyTheZoomAndLeaveTheRotation) {
    for (const auto& [key, factor] : {std::pair{'>', 0.9}, std::pair{'<', 1.1111111111111112}}) {
        SCOPED_TRACE(testing::Message() << "key " << key);
        const AppState before = AppState::Take();
        Hold(key, 1000);
        const AppState after = AppState::Take();
        ExpectSameExceptView(after, before);
        const double expected = before.zoom * std::pow(factor, 1000);
        EXPECT_NEAR(after.zoom / expected, 1.0, 1e-9);
        for (int k = 0; k < 12; ++k) {
            EXPECT_NEAR(after.orientation[k] / after.zoom, before.orientation[k] / before.zoom,
                        1e-9)
                << k;
        }
        // And the other key brings it back.
        Hold(key == '>' ? '<' : '>', 1000);
        EXPECT_NEAR(theScene.GetZoom() / before.zoom, 1.0, 1e-9);
    }
}

// Held for 10,000 presses, a zoom key would drive the zoom past what a
// double holds: 0.9^10000 underflows to 0 and 1.11^10000 overflows, and a
// press after that would divide by the zoom and fill the orientation with
// infinities and NaNs for good. ZoomBy refuses such a step, so the view
// must stay usable.
TEST_F(HeldKeys, ZoomKeysHeldTenThousandTimesKeepTheViewUsable) {
    for (const auto& [key, factor] : {std::pair{'>', 0.9}, std::pair{'<', 1.1111111111111112}}) {
        SCOPED_TRACE(testing::Message() << "key " << key);
        const AppState before = AppState::Take();
        Hold(key, kRepeats);
        const AppState after = AppState::Take();
        ExpectSameExceptView(after, before);
        EXPECT_TRUE(std::isnormal(after.zoom));
        EXPECT_GT(after.zoom, 0.0);
        for (int k = 0; k < 12; ++k) {
            EXPECT_TRUE(std::isfinite(after.orientation[k])) << k;
            EXPECT_NEAR(after.orientation[k] / after.zoom, before.orientation[k] / before.zoom,
                        1e-6)
                << k;
        }
        // The other key still answers at once.
        OnChar(key == '>' ? '<' : '>');
        EXPECT_NEAR(theScene.GetZoom() * factor / after.zoom, 1.0, 1e-9);
        // Back to where the test found it, for the tests that follow.
        for (int k = 0;
             k < 2 * kRepeats && std::fabs(std::log(theScene.GetZoom() / before.zoom)) > 0.06;
             ++k) {
            OnChar(theScene.GetZoom() < before.zoom ? '<' : '>');
        }
    }
}

}  // namespace
