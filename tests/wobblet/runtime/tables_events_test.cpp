// Numbered object tables, the event queue and the headless window and screen.
#include <climits>
#include <vector>

#include "demo/runtime/Events.h"
#include "demo/runtime/ObjectTable.h"
#include "demo/runtime/WindowTable.h"
#include "demo/runtime/headless/FrameSink.h"
#include "tests/wobblet/runtime/RuntimeTest.h"

namespace {

struct Thing {
    int handle = 0;
    int payload = 0;
};

std::vector<int> freed;
ObjectTable<Thing>* things = nullptr;

void FreeThing(int number) {
    freed.push_back(number);
    things->Release(number);
}

class ObjectTableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        freed.clear();
        things = &table;
    }
    ObjectTable<Thing> table{16, FreeThing};
};

TEST_F(ObjectTableTest, ReusingANumberReleasesWhatHeldItAndKeepsTheRecord) {
    Thing* first = table.Take(3);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(table.Find(3), nullptr);  // no handle yet: still empty
    first->handle = 7;
    first->payload = 42;
    EXPECT_EQ(table.Find(3), first);
    EXPECT_TRUE(freed.empty());

    Thing* second = table.Take(3);
    EXPECT_EQ(freed, std::vector<int>{3});
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->payload, 0);  // zeroed
    EXPECT_EQ(table.Find(3), nullptr);
}

TEST_F(ObjectTableTest, GrowsPastTheCapacityByTheGrowthStep) {
    EXPECT_EQ(table.Capacity(), 16);
    EXPECT_EQ(table.Find(40), nullptr);
    table.Take(40)->handle = 1;
    EXPECT_EQ(table.Capacity(), 56);
    EXPECT_NE(table.Find(40), nullptr);
    EXPECT_EQ(table.Take(-1), nullptr);
    EXPECT_EQ(table.Take(INT_MAX), nullptr);
    EXPECT_EQ(table.Find(INT_MIN), nullptr);
    table.Take(2)->handle = 1;
    table.ReleaseAll();
    EXPECT_EQ(freed, (std::vector<int>{2, 40}));
    EXPECT_EQ(table.Find(40), nullptr);
}

class EventTest : public RuntimeTest {};

TEST_F(EventTest, EventsComeOutInOrderAndRepeatsAreQueuedOnce) {
    EXPECT_EQ(PollEvent(), 0);
    QueueWindowEvent(EventWindowMoved, 0);
    QueueWindowEvent(EventWindowClosed, 0);
    QueueWindowEvent(EventWindowClosed, 0);  // same as the newest: dropped
    QueueWindowEvent(EventWindowClosed, 1);  // another window: kept
    QueueWindowEvent(EventWindowMoved, 0);   // not the newest: kept
    EXPECT_EQ(QueuedEventCount(), 4);
    EXPECT_EQ(PollEvent(), EventWindowMoved);
    EXPECT_EQ(PollEvent(), EventWindowClosed);
    EXPECT_EQ(PollEvent(), EventWindowClosed);
    EXPECT_EQ(PollEvent(), EventWindowMoved);
    EXPECT_EQ(PollEvent(), 0);
    // Large codes carry payloads: every one counts.
    QueueEvent(70000, 0, 0, 0);
    QueueEvent(70000, 0, 0, 0);
    EXPECT_EQ(QueuedEventCount(), 2);
}

TEST_F(EventTest, ReleasingAWindowForgetsItsEvents) {
    ASSERT_NE(MakeWindow(0, 0, 0, 800, 600, "Wobblet", WindowCaption | WindowSystemMenu), nullptr);
    ASSERT_NE(MakeWindow(1, 0, 0, 10, 10, "other", WindowCaption | WindowSystemMenu), nullptr);
    QueueWindowEvent(EventWindowMoved, 0);
    QueueWindowEvent(EventWindowMoved, 1);
    QueueWindowEvent(EventWindowClosed, 0);
    MakeWindow(0, 0, 0, 800, 600, "again", WindowCaption | WindowSystemMenu);  // releases window 0
    EXPECT_EQ(QueuedEventCount(), 1);
    EXPECT_EQ(PollEvent(), EventWindowMoved);
}

// Every platform reports size changes through the window table, which
// remembers a minimise or maximise until the restore that undoes it.
TEST_F(EventTest, ARestoreSaysSoOnlyAfterAMinimiseOrAMaximise) {
    ASSERT_NE(MakeWindow(0, 0, 0, 800, 600, "Wobblet", WindowCaption | WindowSystemMenu), nullptr);
    ReportWindowSized(0, WindowSizeChange::kRestored);
    ReportWindowSized(0, WindowSizeChange::kMinimised);
    ReportWindowSized(0, WindowSizeChange::kRestored);
    ReportWindowSized(0, WindowSizeChange::kMaximised);
    ReportWindowSized(0, WindowSizeChange::kOther);
    ReportWindowSized(0, WindowSizeChange::kRestored);
    ReportWindowSized(7, WindowSizeChange::kMinimised);  // no such window
    const int expected[] = {EventWindowSized,    EventWindowMinimised, EventWindowRestored,
                            EventWindowSized,    EventWindowMaximised, EventWindowSized,
                            EventWindowRestored, EventWindowSized,     0};
    for (int code : expected) {
        EXPECT_EQ(PollEvent(), code);
    }
}

// The screen draws into its window: releasing the window must close it.
TEST_F(EventTest, ReleasingTheScreensWindowClosesTheScreen) {
    ASSERT_EQ(LoadScreenSystem(), 1);
    ASSERT_NE(MakeWindow(0, 0, 0, 800, 600, "Wobblet", WindowCaption | WindowSystemMenu), nullptr);
    ASSERT_EQ(MakeWindowScreen(NativeWindowHandle(0), 0, 0, 800, 600, 0, 0, 0), 1);
    MakeWindow(0, 0, 0, 800, 600, "again", WindowCaption | WindowSystemMenu);
    EXPECT_EQ(ScreenTarget(), nullptr);
    EXPECT_EQ(PresentScreen(), 0);
}

TEST_F(EventTest, TheHeadlessScreenHandsFramesToTheSinkUntilItSaysStop) {
    int presented = 0;
    std::vector<std::uint8_t> topLeft;
    SetFrameSink([&](const PresentedScreen& frame) {
        ++presented;
        EXPECT_EQ(frame.width, 800);
        EXPECT_EQ(frame.height, 600);
        EXPECT_EQ(frame.stride, 3200);
        topLeft.assign(frame.pixels, frame.pixels + 4);
        return presented < 2;
    });
    ASSERT_EQ(LoadScreenSystem(), 1);
    ASSERT_NE(MakeWindow(0, 0, 0, 800, 600, "Wobblet", WindowCaption | WindowSystemMenu), nullptr);
    EXPECT_EQ(MakeWindowScreen(nullptr, 0, 0, 800, 600, 0, 0, 0), 0);
    ASSERT_EQ(MakeWindowScreen(NativeWindowHandle(0), 0, 0, 800, 600, 0, 0, 0), 1);

    // The screen copies colour channels: white over the background...
    ImageHandle white = MakeImage(18, 800, 600, 32, PackColor(255, 255, 255));
    MakeImage(16, 320, 360);
    BeginDrawing(ImageTarget(16));
    DrawLine(0, 0, 0, 0, PackColor(255, 0, 0));
    EndDrawing();
    BeginDrawing(ScreenTarget());
    BlitImage(white, 0, 0);
    // ... and exclusive-ors them: red over white is cyan.
    SetDrawMode(DrawModeXor);
    BlitImage(NativeImageHandle(16), 0, 0);
    SetDrawMode(DrawModeCopy);
    EndDrawing();

    EXPECT_EQ(PresentScreen(), 1);
    EXPECT_EQ(topLeft, (std::vector<std::uint8_t>{255, 255, 0, 0}));
    EXPECT_EQ(PollEvent(), 0);
    // The back buffer keeps its contents; the second frame is refused.
    EXPECT_EQ(PresentScreen(), 1);
    EXPECT_EQ(topLeft, (std::vector<std::uint8_t>{255, 255, 0, 0}));
    EXPECT_EQ(PollEvent(), EventWindowClosed);
    EXPECT_EQ(PollEvent(), 0);
    EXPECT_NE(NativeWindowHandle(0), nullptr);  // closing is the program's business

    FreeWindowScreen();
    EXPECT_EQ(ScreenTarget(), nullptr);
    EXPECT_EQ(PresentScreen(), 0);
    SetFrameSink(nullptr);
}

}  // namespace
