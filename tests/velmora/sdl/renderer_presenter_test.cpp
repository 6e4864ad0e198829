// velmora's window through the fallback way, an SDL renderer with a
// streaming texture, forced on SDL's offscreen driver (no machine here takes
// it by itself). The renderer has an OpenGL context of its own on velmora's
// thread: each tick must still draw velmora's picture in velmora's context,
// pixel for pixel what a second context that SDL never touched draws from
// the same state, and the renderer must show exactly that picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "scene/Scene.h"
#include "shell/App.h"
#include "shell/Platform.h"
#include "shell/sdl/EventTranslation.h"
#include "shell/sdl/Presenter.h"
#include "shell/sdl/SdlWindow.h"
#include "shell/sdl/TickTimer.h"

namespace {

// The presenter the window was made with, kept to read back what it shows.
Presenter* shown = nullptr;

std::unique_ptr<Presenter> ForceRenderer(SDL_Window* window, std::string& why) {
    auto presenter = MakeRendererPresenter(window, why);
    shown = presenter.get();
    return presenter;
}

bool RunNextTick() {
    const Uint32 deadline = SDL_GetTicks() + 2000;
    SDL_Event event;
    while (SDL_GetTicks() < deadline) {
        if (SDL_WaitEventTimeout(&event, 100) == 1) {
            DispatchEvent(event);
            if (IsTickEvent(event)) {
                return true;
            }
        }
    }
    return false;
}

// The current state drawn by a context of its own, set up as start-up sets
// up velmora's.
std::vector<std::uint8_t> DrawAlone(int width, int height) {
    DrawGL alone;
    if (!alone.Create(width, height)) {
        return {};
    }
    alone.SetMaterial(kFaceFront, 0);
    alone.SetMaterial(kFaceBack, 11);
    alone.SetColorMaterial(true);
    alone.SetSmoothing(true);
    // Drawing moves the colours on: the frame after this one starts where
    // this one did.
    const double colorsAt = colorTime;
    alone.StartDraw();
    theScene.SetMesh(&theMesh);
    theScene.Draw(alone);
    alone.FinishDraw();
    colorTime = colorsAt;
    const MemoryDC dc = alone.GetMemoryDC();
    return {dc.pixels, dc.pixels + static_cast<std::size_t>(dc.stride) * dc.height};
}

TEST(RendererPresenter, TicksDrawInVelmorasOwnContextAndTheRendererShowsThem) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        GTEST_SKIP() << "no SDL offscreen driver: " << SDL_GetError();
    }
    std::string error;
    if (!CreateMainWindow(error, ForceRenderer)) {
        SDL_Quit();
        GTEST_SKIP() << "no renderer on the offscreen driver: " << error;
    }
    OnCreate();
    ASSERT_EQ(InitApp(), 1);
    ASSERT_TRUE(theDrawGL.HasContext());

    for (const auto& [width, height] : {std::pair{300, 200}, std::pair{257, 171}}) {
        SDL_SetWindowSize(MainWindow(), width, height);
        for (int tick = 0; tick < 3; ++tick) {
            ASSERT_TRUE(RunNextTick());
        }
        // The same state drawn alone first: a renderer that drew into
        // velmora's context, or velmora into the renderer's, shows here.
        const std::vector<std::uint8_t> alone = DrawAlone(width, height);
        RenderFrame();
        const MemoryDC dc = theDrawGL.GetMemoryDC();
        ASSERT_EQ(dc.width, width);
        ASSERT_EQ(dc.height, height);
        ASSERT_EQ(alone.size(), static_cast<std::size_t>(dc.stride) * height);
        EXPECT_EQ(std::memcmp(alone.data(), dc.pixels, alone.size()), 0)
            << "velmora's picture differs from its own context's at " << width << "x" << height;

        std::vector<std::uint32_t> window(static_cast<std::size_t>(width) * height);
        ASSERT_TRUE(ReadRendererPixels(*shown, width, height, window.data()));
        int wrong = 0;
        int lit = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* p = dc.pixels + y * dc.stride + 3 * x;
                const std::uint32_t want = p[0] | p[1] << 8 | p[2] << 16;
                wrong += (window[y * width + x] & 0xFFFFFF) != want;
                lit += want != 0;
            }
        }
        EXPECT_EQ(wrong, 0) << "of " << width * height << " pixels";
        EXPECT_GT(lit, width * height / 20) << "no cube";
    }
    DestroyMainWindow();
    SDL_Quit();
}

}  // namespace
