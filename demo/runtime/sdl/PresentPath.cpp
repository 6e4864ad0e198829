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

bool PreferRenderer(const RendererTraits& traits, bool wantRetrace) {
    if (!traits.accelerated || traits.name == "software") {
        return false;
    }
    if (wantRetrace && !traits.waitsForRetrace) {
        return false;
    }
    return !RasterisesOnTheCpu(traits.rasteriser);
}
