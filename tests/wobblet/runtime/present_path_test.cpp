// Which way the SDL screen presents, from what its renderer says of itself.
#include "demo/runtime/sdl/PresentPath.h"

#include <gtest/gtest.h>

TEST(PresentPath, OnlyAGraphicsProcessorThatWaitsForTheRetraceKeepsTheRenderer) {
    const RendererTraits gpu{"opengl", "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)", true,
                             true};
    EXPECT_TRUE(PreferRenderer(gpu, true));
    // Mesa's CPU rasterisers claim acceleration and a retrace wait alike.
    for (const char* cpu : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Software Rasterizer",
                            "SWR (LLVM 6.0, 256 bits)"}) {
        EXPECT_FALSE(PreferRenderer({"opengl", cpu, true, true}, true)) << cpu;
    }
    EXPECT_FALSE(PreferRenderer({"software", "", false, true}, true));
    // Asked for a retrace wait it cannot give, the renderer would spin.
    EXPECT_FALSE(PreferRenderer({"opengl", gpu.rasteriser, true, false}, true));
    EXPECT_TRUE(PreferRenderer({"opengl", gpu.rasteriser, true, false}, false));
}

TEST(PresentPath, AWaylandWindowTriesItsOwnBuffersBeforeAnyRenderer) {
    // A renderer's context on the surface would fight the buffers for it: no
    // graphics processor's renderer is tried first there, unlike elsewhere.
    EXPECT_EQ(PresentSteps(WindowSystem::kWayland, false),
              (std::vector<PresentStep>{PresentStep::kWaylandBuffers, PresentStep::kAnyRenderer}));
    EXPECT_EQ(PresentSteps(WindowSystem::kX11, false),
              (std::vector<PresentStep>{PresentStep::kGpuRenderer, PresentStep::kWindowSurface,
                                        PresentStep::kAnyRenderer}));
    // Without a surface of its own to copy into, a renderer of any kind.
    EXPECT_EQ(PresentSteps(WindowSystem::kOther, false),
              (std::vector<PresentStep>{PresentStep::kGpuRenderer, PresentStep::kAnyRenderer}));
}

TEST(PresentPath, OnlyARendererStretchesOnEveryWindowSystem) {
    for (WindowSystem system : {WindowSystem::kX11, WindowSystem::kWayland, WindowSystem::kOther}) {
        EXPECT_EQ(PresentSteps(system, true),
                  std::vector<PresentStep>{PresentStep::kStretchingRenderer});
    }
}
