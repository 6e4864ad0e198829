// The screen of runtime.h, the same on every platform: the platform shows
// it (Platform.h), everything else is here.
#include <chrono>
#include <memory>
#include <vector>

#include "demo/runtime/DrawTarget.h"
#include "demo/runtime/Events.h"
#include "demo/runtime/FramePacer.h"
#include "demo/runtime/Platform.h"
#include "demo/runtime/RuntimeCore.h"
#include "demo/runtime/ScreenDamage.h"
#include "demo/runtime/WindowTable.h"

namespace {

struct Screen {
    bool open = false;
    // False once showing has failed for good: presenting then shows nothing
    // and says so no more.
    bool usable = false;
    ScreenPlacement placement;
    PlatformScreen traits;
    // Null when the platform keeps the back buffer (traits.ownBackBuffer).
    std::unique_ptr<PixelBuffer> backBuffer;
    ScreenDamage damage;
    std::vector<DamageRect> changed;
    FramePacer pacer;
};

Screen screen;

// After a presentation that took `took`: keeps the beat where the platform
// does not leave it to something else.
void Pace(FramePacer::Clock::duration took) {
    if (screen.traits.paced) {
        screen.pacer.AfterPresent(took);
    }
}

// How long a wait for the system's messages lasts while nothing can be seen
// before the screen is asked again: a bound, not a beat, for a system that
// changes its mind without saying so.
constexpr int kUnseenWaitMs = 250;

// Sleeps while the screen cannot be seen. False when a close is queued: the
// loop must hear of it now. Other events wait in the queue, so that the loop
// draws no frames nobody sees and goes on with the one it drew last.
bool WaitUntilSeen() {
    while (!PlatformScreenSeen()) {
        if (EventQueued(EventWindowClosed)) {
            return false;
        }
        TakePlatformMessage(kUnseenWaitMs);
    }
    return true;
}

// Between a frame that could not be shown and the next try: about a display
// period, while the system's messages are taken, so that a way of showing
// that fails at once, and for as long as it likes, costs what showing would
// and never spins, and a close is heard at once. The full period is waited
// however many messages come meanwhile: a flood of them must not turn the
// wait into a spin. The beat starts afresh with the next frame shown.
void WaitBeforeNextTry() {
    using Clock = FramePacer::Clock;
    const Clock::time_point until = Clock::now() + screen.pacer.Period();
    while (!EventQueued(EventWindowClosed)) {
        const Clock::duration left = until - Clock::now();
        if (left <= Clock::duration::zero()) {
            break;
        }
        const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
        // None came: the wait ran out, or this system cannot wait (a page,
        // whose own refresh calls the frames).
        if (TakePlatformMessage(static_cast<int>(ms)) == 0) {
            break;
        }
    }
    screen.pacer.Start(screen.traits.refreshHz);
}

}  // namespace

int MakeWindowScreen(WindowHandle parent, int x, int y, int width, int height, int autoStretch,
                     int rightOffset, int bottomOffset, int flipMode) {
    FreeWindowScreen();
    if (WindowNumberOf(parent) < 0 || width <= 0 || height <= 0) {
        return 0;
    }
    ScreenPlacement& placement = screen.placement;
    placement.parent = parent;
    placement.x = x;
    placement.y = y;
    placement.width = width;
    placement.height = height;
    placement.autoStretch = autoStretch != 0;
    placement.rightOffset = rightOffset;
    placement.bottomOffset = bottomOffset;
    placement.atRetrace = flipMode != 0;
    if (!OpenPlatformScreen(placement, screen.traits)) {
        screen = Screen{};
        return 0;
    }
    if (!screen.traits.ownBackBuffer) {
        screen.backBuffer = NewPixelBuffer(width, height, 32, false);
        if (!screen.backBuffer) {
            ClosePlatformScreen();
            screen = Screen{};
            return 0;
        }
        screen.damage.Reset(width, height);
    }
    screen.pacer.Start(screen.traits.refreshHz);
    screen.open = true;
    screen.usable = true;
    return 1;
}

DrawTarget* ScreenTarget() {
    if (screen.open && screen.backBuffer) {
        return MakeScreenTarget(screen.backBuffer.get(), &screen.damage);
    }
    DrawTarget* target = screen.open ? PlatformScreenTarget() : nullptr;
    if (target == nullptr) {
        // No output: none is current either.
        EndDrawing();
    }
    return target;
}

int PresentScreen() {
    if (!screen.open) {
        return 0;
    }
    if (!screen.usable) {
        // Nothing is shown any more, but the loop it paces must not spin.
        WaitBeforeNextTry();
        return 1;
    }
    if (!WaitUntilSeen()) {
        // What the frame changed stays recorded for the presentation that
        // shows it.
        return 1;
    }
    screen.changed.clear();
    if (screen.backBuffer) {
        screen.damage.TakeJoined(screen.changed);
    }
    const FramePacer::Clock::time_point start = FramePacer::Clock::now();
    const ScreenShown shown =
        ShowPlatformScreen(screen.placement, screen.backBuffer.get(), screen.changed);
    const FramePacer::Clock::duration took = FramePacer::Clock::now() - start;
    if (shown == ScreenShown::kLost) {
        screen.usable = false;
        Pace(FramePacer::Clock::duration::zero());
        return 0;
    }
    if (shown == ScreenShown::kNotShown) {
        // The next presentation shows the whole screen. Paced or not, the
        // loop waits before it tries again.
        DamageWholeScreen();
        WaitBeforeNextTry();
        return 1;
    }
    // Only a presentation that can wait for the retrace sets the beat; one
    // that took long otherwise was held up by the machine, not the display.
    Pace(shown == ScreenShown::kMayWaitForRetrace ? took : FramePacer::Clock::duration::zero());
    return 1;
}

void FreeWindowScreen() {
    if (!screen.open) {
        return;
    }
    if (screen.backBuffer) {
        DetachDrawingFrom(screen.backBuffer.get());
    }
    ClosePlatformScreen();
    screen = Screen{};
}

WindowHandle ScreenParentWindow() {
    return screen.open ? screen.placement.parent : nullptr;
}

void DamageWholeScreen() {
    if (screen.backBuffer) {
        screen.damage.AddAll();
    }
}
