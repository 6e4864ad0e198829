// Presenting on a Wayland window through two shared-memory buffers of our own.
#include "demo/runtime/sdl/WaylandPresent.h"

#include <SDL_syswm.h>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "demo/runtime/Events.h"
#include "demo/runtime/sdl/SdlPlatform.h"
#include "demo/runtime/sdl/WindowClip.h"

namespace {

// While waiting for the compositor, the window's own events are looked at
// at least this often, whatever else wakes the wait.
constexpr int kWaitSliceMs = 50;
// Damage rectangles beyond this many are sent as the whole window instead.
constexpr std::size_t kMostDamage = 256;

struct Buffer {
    wl_buffer* buffer = nullptr;
    std::uint8_t* pixels = nullptr;
    // Held by the compositor from its attach until its release event.
    bool busy = false;
    // What the back buffer has that this buffer has not, in the screen's
    // coordinates. Kept by band, as the back buffer's own damage is, so that
    // what two frames changed is copied once where they overlap.
    ScreenDamage stale;
};

}  // namespace

struct WaylandScreen {
    wl_display* display = nullptr;
    wl_surface* surface = nullptr;
    // The same surface, with what it makes (its frame callbacks) dispatched
    // on our queue.
    wl_surface* ownSurface = nullptr;
    // Asked for with the last commit; null once the compositor has called
    // it, that is, wants the next frame.
    wl_callback* frameDue = nullptr;
    // Our own event queue: the buffers' releases are dispatched here, by us,
    // and SDL's dispatch of its queue is left as it is.
    wl_event_queue* queue = nullptr;
    wl_shm* shm = nullptr;
    int fd = -1;
    void* memory = nullptr;
    std::size_t bytes = 0;
    wl_shm_pool* pool = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    // Where the screen lies in the window the buffers were made for.
    DamageRect placement;
    Buffer buffers[2];
    int attached = -1;
    // What the next commit tells the compositor changed, in window
    // coordinates: all that changed since the last commit, frames skipped
    // while both buffers were held included.
    std::vector<DamageRect> damageToCommit;
    // Where the buffer drawn now is brought up to date; a member only so
    // that its memory serves every frame.
    std::vector<DamageRect> bandsToCopy;
    // The buffers could not be made at the last try: said once, not at
    // every frame that tries again.
    bool noBuffers = false;
};

namespace {

void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
            std::uint32_t /*version*/) {
    auto* screen = static_cast<WaylandScreen*>(data);
    if (std::strcmp(interface, wl_shm_interface.name) == 0 && screen->shm == nullptr) {
        screen->shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    }
}

void GlobalRemoved(void* /*data*/, wl_registry* /*registry*/, std::uint32_t /*name*/) {}

const wl_registry_listener kRegistryListener{Global, GlobalRemoved};

void Released(void* data, wl_buffer* /*buffer*/) {
    static_cast<Buffer*>(data)->busy = false;
}

const wl_buffer_listener kBufferListener{Released};

void FrameDone(void* data, wl_callback* callback, std::uint32_t /*time*/) {
    wl_callback_destroy(callback);
    static_cast<WaylandScreen*>(data)->frameDue = nullptr;
}

const wl_callback_listener kFrameListener{FrameDone};

void FreeBuffers(WaylandScreen& screen) {
    for (Buffer& b : screen.buffers) {
        if (b.buffer != nullptr) {
            wl_buffer_destroy(b.buffer);
        }
        b = Buffer{};
    }
    if (screen.pool != nullptr) {
        wl_shm_pool_destroy(screen.pool);
    }
    if (screen.memory != nullptr) {
        munmap(screen.memory, screen.bytes);
    }
    if (screen.fd >= 0) {
        close(screen.fd);
    }
    screen.pool = nullptr;
    screen.memory = nullptr;
    screen.fd = -1;
    screen.width = screen.height = screen.stride = 0;
    screen.placement = DamageRect{};
    screen.attached = -1;
}

// Two black buffers of the window's size from one pool, each stale over the whole
// screen, which lies at placement in the window.
bool MakeBuffers(WaylandScreen& screen, int width, int height, const DamageRect& placement) {
    FreeBuffers(screen);
    const int stride = width * 4;
    const std::size_t bufferBytes = static_cast<std::size_t>(stride) * height;
    screen.fd = waylandPoolCalls.makeMemory("wobblet-screen", MFD_CLOEXEC);
    if (screen.fd < 0 || ftruncate(screen.fd, static_cast<off_t>(2 * bufferBytes)) != 0) {
        FreeBuffers(screen);
        return false;
    }
    screen.bytes = 2 * bufferBytes;
    void* memory = mmap(nullptr, screen.bytes, PROT_READ | PROT_WRITE, MAP_SHARED, screen.fd, 0);
    if (memory == MAP_FAILED) {
        FreeBuffers(screen);
        return false;
    }
    screen.memory = memory;
    screen.pool =
        wl_shm_create_pool(screen.shm, screen.fd, static_cast<std::int32_t>(screen.bytes));
    for (int i = 0; i < 2; ++i) {
        Buffer& b = screen.buffers[i];
        b.buffer =
            wl_shm_pool_create_buffer(screen.pool, static_cast<std::int32_t>(i * bufferBytes),
                                      width, height, stride, WL_SHM_FORMAT_XRGB8888);
        b.pixels = static_cast<std::uint8_t*>(memory) + i * bufferBytes;
        wl_buffer_add_listener(b.buffer, &kBufferListener, &b);
    }
    screen.width = width;
    screen.height = height;
    screen.stride = stride;
    screen.placement = placement;
    ForgetWaylandScreen(&screen);
    return true;
}

// A buffer free to write: not the one on the screen, not held.
int FreeBuffer(WaylandScreen& screen) {
    for (int i = 0; i < 2; ++i) {
        if (i != screen.attached && !screen.buffers[i].busy) {
            return i;
        }
    }
    return -1;
}

// What a frame that reached the compositor, or was skipped for it, comes to:
// lost for good once the connection broke on the way.
ScreenShown ShownUnlessBroken(const WaylandScreen& screen, ScreenShown shown) {
    return wl_display_get_error(screen.display) == 0 ? shown : ScreenShown::kLost;
}

enum class Waited { kReady, kCloseQueued, kBroken };

// Waits until the compositor has called for a frame and given back a buffer
// to draw it in. A window it does not show (minimised, covered, on another
// desk) is called for no more, and the wait sleeps for as long as that lasts;
// the window's events meanwhile reach the run-time's queue, and a close ends
// the wait.
Waited WaitForCompositor(WaylandScreen& screen) {
    for (;;) {
        if (wl_display_dispatch_queue_pending(screen.display, screen.queue) < 0) {
            return Waited::kBroken;
        }
        if (screen.frameDue == nullptr && FreeBuffer(screen) >= 0) {
            return Waited::kReady;
        }
        if (EventQueued(EventWindowClosed)) {
            return Waited::kCloseQueued;
        }
        if (wl_display_prepare_read_queue(screen.display, screen.queue) != 0) {
            continue;  // something came for our queue: dispatch it first
        }
        wl_display_flush(screen.display);
        pollfd ready{wl_display_get_fd(screen.display), POLLIN, 0};
        if (poll(&ready, 1, kWaitSliceMs) > 0) {
            if (wl_display_read_events(screen.display) < 0) {
                return Waited::kBroken;
            }
        } else {
            wl_display_cancel_read(screen.display);
        }
        // What was read for SDL's queue, the window's close among it.
        TakeWindowEvents();
        if (wl_display_get_error(screen.display) != 0) {
            return Waited::kBroken;
        }
    }
}

}  // namespace

WaylandPoolCalls waylandPoolCalls{memfd_create};

WaylandScreen* OpenWaylandScreen(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_WAYLAND) {
        return nullptr;
    }
    auto* screen = new (std::nothrow) WaylandScreen;
    if (screen == nullptr) {
        return nullptr;
    }
    screen->display = info.info.wl.display;
    screen->surface = info.info.wl.surface;
    screen->queue = wl_display_create_queue(screen->display);
    // The registry is asked through a wrapper of the display that sends its
    // events to our queue, and so is everything made from what it gives.
    auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(screen->display));
    if (screen->queue == nullptr || wrapper == nullptr) {
        if (wrapper != nullptr) {
            wl_proxy_wrapper_destroy(wrapper);
        }
        CloseWaylandScreen(screen);
        return nullptr;
    }
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), screen->queue);
    screen->ownSurface = static_cast<wl_surface*>(wl_proxy_create_wrapper(screen->surface));
    if (screen->ownSurface == nullptr) {
        wl_proxy_wrapper_destroy(wrapper);
        CloseWaylandScreen(screen);
        return nullptr;
    }
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(screen->ownSurface), screen->queue);
    wl_registry* registry = wl_display_get_registry(wrapper);
    wl_proxy_wrapper_destroy(wrapper);
    wl_registry_add_listener(registry, &kRegistryListener, screen);
    wl_display_roundtrip_queue(screen->display, screen->queue);
    wl_registry_destroy(registry);
    if (screen->shm == nullptr) {
        std::fprintf(stderr, "wobblet: the Wayland compositor offers no shared memory (wl_shm)\n");
        CloseWaylandScreen(screen);
        return nullptr;
    }
    return screen;
}

ScreenShown PresentOnWayland(WaylandScreen* screen, SDL_Window* window, int x, int y,
                             const std::uint8_t* topRow, std::ptrdiff_t stride, int width,
                             int height, const std::vector<DamageRect>& changed) {
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window, &windowWidth, &windowHeight);
    if (windowWidth <= 0 || windowHeight <= 0) {
        return ScreenShown::kNotShown;
    }
    const DamageRect placement{x, y, width, height};
    if (windowWidth != screen->width || windowHeight != screen->height ||
        placement != screen->placement) {
        if (!MakeBuffers(*screen, windowWidth, windowHeight, placement)) {
            if (!screen->noBuffers) {
                std::fprintf(stderr,
                             "wobblet: no shared memory for the window's buffers (%s);"
                             " trying again\n",
                             std::strerror(errno));
            }
            screen->noBuffers = true;
            return ScreenShown::kNotShown;
        }
        screen->noBuffers = false;
    }
    for (const DamageRect& r : changed) {
        for (Buffer& b : screen->buffers) {
            b.stale.Add(r.x, r.y, std::int64_t{r.x} + r.width, std::int64_t{r.y} + r.height);
        }
        // The compositor is told of the window's changes, cut to it.
        DamageRect inWindow;
        if (ClipToWindow(r, x, y, windowWidth, windowHeight, inWindow)) {
            screen->damageToCommit.push_back(inWindow);
        }
    }
    if (screen->damageToCommit.size() > kMostDamage) {
        screen->damageToCommit.assign(1, DamageRect{0, 0, windowWidth, windowHeight});
    }

    switch (WaitForCompositor(*screen)) {
        case Waited::kBroken:
            return ScreenShown::kLost;
        case Waited::kCloseQueued:
            // This frame is skipped; what it changed stays stale in both
            // buffers.
            return ShownUnlessBroken(*screen, ScreenShown::kAtOnce);
        case Waited::kReady:
            break;
    }
    const int next = FreeBuffer(*screen);
    Buffer& b = screen->buffers[next];
    b.stale.TakeBands(screen->bandsToCopy);
    for (const DamageRect& r : screen->bandsToCopy) {
        // Only what lies in the window; the rest of the window stays black.
        DamageRect inWindow;
        if (!ClipToWindow(r, x, y, windowWidth, windowHeight, inWindow)) {
            continue;
        }
        for (int row = inWindow.y; row < inWindow.y + inWindow.height; ++row) {
            std::memcpy(b.pixels + row * screen->stride + inWindow.x * 4,
                        topRow + (row - y) * stride + (inWindow.x - x) * 4,
                        static_cast<std::size_t>(inWindow.width) * 4);
        }
    }
    wl_surface_attach(screen->surface, b.buffer, 0, 0);
    const bool bufferDamage = wl_proxy_get_version(reinterpret_cast<wl_proxy*>(screen->surface)) >=
                              WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION;
    for (const DamageRect& r : screen->damageToCommit) {
        // Without a buffer scale the surface's coordinates are the buffer's.
        (bufferDamage ? wl_surface_damage_buffer : wl_surface_damage)(screen->surface, r.x, r.y,
                                                                      r.width, r.height);
    }
    screen->damageToCommit.clear();
    screen->frameDue = wl_surface_frame(screen->ownSurface);
    wl_callback_add_listener(screen->frameDue, &kFrameListener, screen);
    wl_surface_commit(screen->surface);
    b.busy = true;
    screen->attached = next;
    wl_display_flush(screen->display);
    return ShownUnlessBroken(*screen, ScreenShown::kMayWaitForRetrace);
}

void ForgetWaylandScreen(WaylandScreen* screen) {
    for (Buffer& b : screen->buffers) {
        b.stale.Reset(screen->placement.width, screen->placement.height);
    }
    screen->damageToCommit.assign(1, DamageRect{0, 0, screen->width, screen->height});
}

void DamageWaylandWindow(WaylandScreen* screen) {
    screen->damageToCommit.assign(1, DamageRect{0, 0, screen->width, screen->height});
}

void CloseWaylandScreen(WaylandScreen* screen) {
    if (screen == nullptr) {
        return;
    }
    if (screen->frameDue != nullptr) {
        wl_callback_destroy(screen->frameDue);
    }
    if (screen->ownSurface != nullptr) {
        wl_proxy_wrapper_destroy(screen->ownSurface);
    }
    FreeBuffers(*screen);
    if (screen->shm != nullptr) {
        wl_shm_destroy(screen->shm);
    }
    if (screen->queue != nullptr) {
        wl_event_queue_destroy(screen->queue);
    }
    delete screen;
}
