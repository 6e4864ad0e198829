// The choice of how the SDL screen presents (PresentPath.h).
#include "demo/runtime/sdl/PresentPath.h"

#include <algorithm>
#include <cctype>

namespace {

// How Mesa's and other CPU rasterisers name themselves in GL_RENDERER.
bool RasterisesOnTheCpu(std::string rasteriser) {
    std::transform(rasteriser.begin(), rasteriser.end(), rasteriser.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* name : {"llvmpipe", "softpipe", "software", "swrast", "swr "}) {
        if (rasteriser.find(name) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<PresentStep> PresentSteps(WindowSystem system, bool stretch) {
    if (stretch) {
        return {PresentStep::kStretchingRenderer};
    }
    switch (system) {
        case WindowSystem::kWayland:
            return {PresentStep::kWaylandBuffers, PresentStep::kAnyRenderer};
        case WindowSystem::kX11:
            return {PresentStep::kGpuRenderer, PresentStep::kWindowSurface,
                    PresentStep::kAnyRenderer};
        case WindowSystem::kOther:
            break;
    }
    return {PresentStep::kGpuRenderer, PresentStep::kAnyRenderer};
}

bool PreferRenderer(const RendererTraits& traits, bool wantRetrace) {
    if (!traits.accelerated || traits.name == "software") {
        return false;
    }
    if (wantRetrace && !traits.waitsForRetrace) {
        return false;
    }
    return !RasterisesOnTheCpu(traits.rasteriser);
}
