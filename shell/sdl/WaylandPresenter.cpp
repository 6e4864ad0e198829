// Shared-memory buffers of our own on the window's Wayland surface, for
// SDL's Wayland driver, which has no window surface. SDL keeps the surface,
// its role and its decorations; velmora only attaches a buffer to it, damages
// it whole (every pixel changes every tick) and commits.
//
// wl_shm is bound on a private event queue through a wrapper of the display,
// so the buffers' release events are handled here and SDL's own dispatch
// never sees them. Two buffers share one memory-file pool; a buffer is
// written only after the compositor has released it. When neither is free
// the tick is not shown: the next one is.
//
// Whether anyone sees the window is learnt from frame callbacks on the same
// surface: a compositor calls for the next frame of a surface it shows, and
// stops calling while it shows it nowhere (minimised, suspended, on a screen
// that sleeps). A call outstanding for longer than a seen window ever waits
// for one means the window is unseen until it comes. Nothing waits for the
// calls: every tick of a seen window is committed, whatever the
// compositor's rate. The calls come on the display's default queue, which
// SDL dispatches as it waits for events: a call ending an unseen spell
// wakes the event loop (WakeForSeenWindow), which sleeps through the ticks
// of a window nobody sees.
#include <SDL.h>
#include <SDL_syswm.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstring>

#include "render/PixelRows.h"
#include "shell/sdl/Presenter.h"
#include "shell/sdl/TickTimer.h"

namespace {

// Longer than a compositor showing the window takes to call for a frame
// after a commit, even at a low rate and late: at 47 Hz that is under 45 ms.
constexpr Uint64 kUnseenAfterMs = 100;

class WaylandPresenter final : public Presenter {
  public:
    WaylandPresenter(wl_display* display, wl_surface* surface)
        : display(display), surface(surface) {}

    ~WaylandPresenter() override {
        if (frameDue != nullptr) {
            wl_callback_destroy(frameDue);
        }
        if (frameSurface != nullptr) {
            wl_proxy_wrapper_destroy(frameSurface);
        }
        DropBuffers();
        if (shm != nullptr) {
            wl_shm_destroy(shm);
        }
        if (registry != nullptr) {
            wl_registry_destroy(registry);
        }
        if (wrapper != nullptr) {
            wl_proxy_wrapper_destroy(wrapper);
        }
        if (queue != nullptr) {
            wl_event_queue_destroy(queue);
        }
    }

    // Binds wl_shm; false with the reason in why when the compositor has
    // none.
    bool Bind(std::string& why) {
        queue = wl_display_create_queue(display);
        wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
        if (queue == nullptr || wrapper == nullptr) {
            why = "no Wayland event queue";
            return false;
        }
        wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue);
        frameSurface = static_cast<wl_surface*>(wl_proxy_create_wrapper(surface));
        if (frameSurface == nullptr) {
            why = "no Wayland event queue";
            return false;
        }
        wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(frameSurface), nullptr);
        registry = wl_display_get_registry(wrapper);
        static const wl_registry_listener listener = {Global, GlobalRemove};
        wl_registry_add_listener(registry, &listener, this);
        if (wl_display_roundtrip_queue(display, queue) < 0 || shm == nullptr) {
            why = "the Wayland compositor offers no shared memory";
            return false;
        }
        return true;
    }

    void Show(const MemoryDC& source, int width, int height) override {
        if (source.pixels == nullptr) {
            return;
        }
        Buffer* buffer = FreeBuffer(width, height);
        if (buffer == nullptr) {
            return;
        }
        CopyBgrIntoXrgb(source, buffer->pixels, stride, width, height, 0);
        Commit(*buffer);
    }

    void Black(int width, int height) override {
        Buffer* buffer = FreeBuffer(width, height);
        if (buffer == nullptr) {
            return;
        }
        std::memset(buffer->pixels, 0, static_cast<std::size_t>(stride) * height);
        Commit(*buffer);
    }

    const char* Name() const override { return "Wayland shared memory"; }

    // As of SDL's last dispatch, which comes before each event it returns.
    bool CanBeSeen() override { return frameDue == nullptr || !Overdue(); }

  private:
    struct Buffer {
        wl_buffer* buffer = nullptr;
        std::uint8_t* pixels = nullptr;
        bool busy = false;
    };

    static void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                       std::uint32_t) {
        auto* self = static_cast<WaylandPresenter*>(data);
        if (self->shm == nullptr && std::strcmp(interface, wl_shm_interface.name) == 0) {
            self->shm =
                static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
        }
    }
    static void GlobalRemove(void*, wl_registry*, std::uint32_t) {}

    static void Released(void* data, wl_buffer*) { static_cast<Buffer*>(data)->busy = false; }

    static void FrameCalled(void* data, wl_callback* callback, std::uint32_t) {
        wl_callback_destroy(callback);
        auto* self = static_cast<WaylandPresenter*>(data);
        self->frameDue = nullptr;
        if (self->Overdue()) {
            WakeForSeenWindow();
        }
    }

    // The frame asked for has kept the compositor waiting longer than a
    // window it shows ever does.
    bool Overdue() const { return SDL_GetTicks64() - frameAskedMs >= kUnseenAfterMs; }

    // A buffer of width x height the compositor is done with, after handling
    // the release events SDL's reading has queued for us; null when there is
    // none or the size cannot be had.
    Buffer* FreeBuffer(int width, int height) {
        if (width <= 0 || height <= 0) {
            return nullptr;
        }
        if (width != bufferWidth || height != bufferHeight) {
            DropBuffers();
            if (!MakeBuffers(width, height)) {
                return nullptr;
            }
        }
        wl_display_dispatch_queue_pending(display, queue);
        for (Buffer& buffer : buffers) {
            if (!buffer.busy) {
                return &buffer;
            }
        }
        return nullptr;
    }

    bool MakeBuffers(int width, int height) {
        if (width > (1 << 14) || height > (1 << 14)) {
            return false;
        }
        stride = width * 4;
        const std::size_t bufferBytes = static_cast<std::size_t>(stride) * height;
        poolBytes = 2 * bufferBytes;
        const int fd = memfd_create("velmora", MFD_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        if (ftruncate(fd, static_cast<off_t>(poolBytes)) != 0) {
            close(fd);
            return false;
        }
        void* memory = mmap(nullptr, poolBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (memory == MAP_FAILED) {
            close(fd);
            return false;
        }
        poolMemory = static_cast<std::uint8_t*>(memory);
        wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<std::int32_t>(poolBytes));
        close(fd);  // the pool holds its own
        static const wl_buffer_listener listener = {Released};
        for (int i = 0; i < 2; ++i) {
            Buffer& buffer = buffers[i];
            buffer.pixels = poolMemory + i * bufferBytes;
            buffer.busy = false;
            buffer.buffer =
                wl_shm_pool_create_buffer(pool, static_cast<std::int32_t>(i * bufferBytes), width,
                                          height, stride, WL_SHM_FORMAT_XRGB8888);
            wl_buffer_add_listener(buffer.buffer, &listener, &buffer);
        }
        wl_shm_pool_destroy(pool);  // the buffers keep the memory
        bufferWidth = width;
        bufferHeight = height;
        return true;
    }

    // The compositor may still be showing one of them: it keeps what it
    // needs of a destroyed buffer.
    void DropBuffers() {
        for (Buffer& buffer : buffers) {
            if (buffer.buffer != nullptr) {
                wl_buffer_destroy(buffer.buffer);
            }
            buffer = Buffer{};
        }
        if (poolMemory != nullptr) {
            munmap(poolMemory, poolBytes);
            poolMemory = nullptr;
        }
        bufferWidth = bufferHeight = 0;
    }

    void Commit(Buffer& buffer) {
        buffer.busy = true;
        // One call asked for at a time: it comes at the compositor's next
        // frame that shows the window, however many commits come first.
        if (frameDue == nullptr) {
            static const wl_callback_listener listener = {FrameCalled};
            frameDue = wl_surface_frame(frameSurface);
            wl_callback_add_listener(frameDue, &listener, this);
            frameAskedMs = SDL_GetTicks64();
        }
        wl_surface_attach(surface, buffer.buffer, 0, 0);
        if (wl_proxy_get_version(reinterpret_cast<wl_proxy*>(surface)) >=
            WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION) {
            wl_surface_damage_buffer(surface, 0, 0, bufferWidth, bufferHeight);
        } else {
            wl_surface_damage(surface, 0, 0, bufferWidth, bufferHeight);
        }
        wl_surface_commit(surface);
        wl_display_flush(display);
    }

    wl_display* display;
    wl_surface* surface;
    wl_event_queue* queue = nullptr;
    wl_display* wrapper = nullptr;
    // The window's surface, its frame callbacks sent to the default queue
    // whatever queue SDL gives the surface itself.
    wl_surface* frameSurface = nullptr;
    // Asked for with a commit and not called yet, and since when.
    wl_callback* frameDue = nullptr;
    Uint64 frameAskedMs = 0;
    wl_registry* registry = nullptr;
    wl_shm* shm = nullptr;
    Buffer buffers[2];
    std::uint8_t* poolMemory = nullptr;
    std::size_t poolBytes = 0;
    int bufferWidth = 0;
    int bufferHeight = 0;
    int stride = 0;
};

}  // namespace

std::unique_ptr<Presenter> MakeWaylandPresenter(SDL_Window* window, std::string& why) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND ||
        info.info.wl.display == nullptr || info.info.wl.surface == nullptr) {
        why = "no Wayland surface";
        SDL_ClearError();
        return nullptr;
    }
    auto presenter = std::make_unique<WaylandPresenter>(info.info.wl.display, info.info.wl.surface);
    if (!presenter->Bind(why)) {
        return nullptr;
    }
    return presenter;
}
