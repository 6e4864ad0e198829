// The parts of velmora's SDL window that need no window system: where the
// window goes, the rule for pending ticks, and the icon's picture.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <set>
#include <thread>

#include "shell/icon/Icon.h"
#include "shell/sdl/PendingTick.h"
#include "shell/sdl/TickSchedule.h"
#include "shell/sdl/WindowPlacement.h"

namespace {

void ExpectRect(const ClientRect& rect, int x, int y, int width, int height) {
    EXPECT_EQ(rect.x, x);
    EXPECT_EQ(rect.y, y);
    EXPECT_EQ(rect.width, width);
    EXPECT_EQ(rect.height, height);
}

TEST(WindowPlacement, WholeWindowIsThreeHundredByTwoHundredAndCentred) {
    // No window manager: the client area is the window.
    ExpectRect(CentredClientRect(1024, 768, FrameBorders{}), 362, 284, 300, 200);
    // A frame of 20 above, 1 at the sides and 5 below: the outer corner stays
    // at (362, 284) and the client area gives up the frame's share.
    ExpectRect(CentredClientRect(1024, 768, FrameBorders{20, 1, 5, 1}), 363, 304, 298, 175);
    // Odd differences truncate: (1025 - 300) / 2 = 362, (769 - 200) / 2 = 284.
    ExpectRect(CentredClientRect(1025, 769, FrameBorders{}), 362, 284, 300, 200);
}

TEST(WindowPlacement, ScreenSmallerThanWindowTruncatesTowardZero) {
    // (299 - 300) / 2 is 0, not -1; (150 - 200) / 2 is -25.
    ExpectRect(CentredClientRect(299, 150, FrameBorders{}), 0, -25, 300, 200);
    // (297 - 300) / 2 is -1, and the frame moves the client area right by 2.
    ExpectRect(CentredClientRect(297, 199, FrameBorders{10, 2, 0, 2}), 1, 10, 296, 190);
}

TEST(WindowPlacement, AbsurdFramesStillLeaveAWindow) {
    ExpectRect(CentredClientRect(1024, 768, FrameBorders{150, 200, 150, 200}), 562, 434, 1, 1);
    // Negative borders are read as none.
    ExpectRect(CentredClientRect(1024, 768, FrameBorders{-20, -1, -5, -1}), 362, 284, 300, 200);
}

TEST(PendingTick, AtMostOneTickWaits) {
    PendingTick tick;
    EXPECT_TRUE(tick.Claim());
    // The loop is late: later expiries post nothing.
    EXPECT_FALSE(tick.Claim());
    EXPECT_FALSE(tick.Claim());
    tick.Release();
    EXPECT_TRUE(tick.Claim());
    EXPECT_FALSE(tick.Claim());
}

TEST(PendingTick, PostsNeverOutnumberTakesAcrossThreads) {
    PendingTick tick;
    std::atomic<int> posted{0};
    std::atomic<bool> stop{false};
    std::thread timer([&] {
        while (!stop.load()) {
            if (tick.Claim()) {
                posted.fetch_add(1);
            }
        }
    });
    int taken = 0;
    while (taken < 2000) {
        // Take a tick only when one was posted, as the event loop does.
        if (posted.load() > taken) {
            ++taken;
            EXPECT_LE(posted.load(), taken) << "a second tick was posted while one waited";
            tick.Release();
        }
    }
    stop.store(true);
    timer.join();
    EXPECT_LE(posted.load(), taken + 1);
}

TEST(TickSchedule, LateWakeUpsDoNotSlowTheTicks) {
    TickSchedule schedule;
    schedule.Start(1000, 20);
    // Each callback runs 3 ms after its grid point: the delays make up for
    // it, so the expiries stay at 1020, 1040, 1060, ...
    EXPECT_EQ(schedule.Next(1023), 17u);
    EXPECT_EQ(schedule.Next(1043), 17u);
    // On time: a whole period.
    EXPECT_EQ(schedule.Next(1060), 20u);
    // 1 ms before the point (SDL's clock is coarse): the next one is 21 away.
    EXPECT_EQ(schedule.Next(1079), 21u);
    // A 19 ms late callback still waits 1 ms, never 0.
    EXPECT_EQ(schedule.Next(1119), 1u);
}

TEST(TickSchedule, MissedTicksAreDroppedNotMadeUp) {
    TickSchedule schedule;
    schedule.Start(0, 20);
    // The callback for 20 runs at 105: 40, 60, 80 and 100 are gone; the
    // next is 120, not a burst of four.
    EXPECT_EQ(schedule.Next(105), 15u);
    EXPECT_EQ(schedule.Next(120), 20u);
    // Exactly on a later grid point: that point is taken as missed too.
    EXPECT_EQ(schedule.Next(180), 20u);
}

TEST(TickSchedule, ThousandTicksTakeTwentySecondsWhateverTheLateness) {
    TickSchedule schedule;
    schedule.Start(0, 20);
    std::uint64_t due = 20;
    for (std::uint64_t k = 0; k < 1000; ++k) {
        const std::uint64_t late = (k * 7) % 19;
        due += late + schedule.Next(due + late);
    }
    EXPECT_EQ(due, 20u + 1000u * 20u);
}

// The loop sleeping through a window nobody sees makes up every grid point
// it slept through, none twice, and only a stall's excess is dropped.
TEST(TickSchedule, ASleeperTakesEveryGridPointItSleptThroughOnce) {
    TickSchedule schedule;
    schedule.Start(0, 20);
    EXPECT_EQ(schedule.TakeDue(19, 100), 0u);
    EXPECT_EQ(schedule.TakeDue(20, 100), 1u);
    EXPECT_EQ(schedule.TakeDue(39, 100), 0u);
    // 40 to 1000: 49 points, then the grid goes on at 1020.
    EXPECT_EQ(schedule.TakeDue(1005, 100), 49u);
    EXPECT_EQ(schedule.Due(), 1020u);
    // A stall of a minute: a hundred made up, the rest dropped.
    EXPECT_EQ(schedule.TakeDue(61030, 100), 100u);
    EXPECT_EQ(schedule.Due(), 61040u);
    // The timer's thread takes the grid on from there.
    EXPECT_EQ(schedule.Next(61040), 20u);
}

TEST(Icon, EveryPixelHasAColourAndTheFacesDiffer) {
    std::set<char> used;
    for (int y = 0; y < kIconSize; ++y) {
        ASSERT_EQ(std::strlen(kIconPicture[y]), static_cast<std::size_t>(kIconSize)) << "row " << y;
        for (int x = 0; x < kIconSize; ++x) {
            const char c = kIconPicture[y][x];
            EXPECT_NE(std::strchr(kIconKeys, c), nullptr) << "'" << c << "' at " << x << ", " << y;
            used.insert(c);
        }
    }
    EXPECT_LE(used.size(), static_cast<std::size_t>(kIconColours));
    EXPECT_EQ(std::strlen(kIconKeys), static_cast<std::size_t>(kIconColours));

    const auto pixels = IconPixels();
    // The background shows through; the cube is opaque, one colour per key.
    EXPECT_EQ(pixels[0] >> 24, 0u);
    EXPECT_EQ(pixels[kIconSize * kIconSize - 1] >> 24, 0u);
    std::set<std::uint32_t> colours;
    int opaque = 0;
    for (std::uint32_t p : pixels) {
        if (p >> 24 == 0xFF) {
            ++opaque;
            colours.insert(p);
        } else {
            EXPECT_EQ(p, 0u);
        }
    }
    EXPECT_EQ(colours.size(), used.size() - 1);  // all but the background
    EXPECT_GT(opaque, kIconSize * kIconSize / 2);
}

}  // namespace
