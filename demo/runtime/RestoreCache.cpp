#include "demo/runtime/RestoreCache.h"

#include <algorithm>

void RestoreCache::Fit(int bufferWidth, int bufferHeight) {
    if (!copies.empty() && width == bufferWidth && height == bufferHeight) {
        return;
    }
    width = std::max(bufferWidth, 0);
    height = std::max(bufferHeight, 0);
    const int bandHeight = ScreenDamage::kBandHeight;
    copies.assign(static_cast<std::size_t>((height + bandHeight - 1) / bandHeight), Copy{});
    drawn.SetWidth(width);
    drawn.StartBlank(height);
}

void RestoreCache::DrawnOver(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    drawn.Mark(std::max<std::int64_t>(x0, 0), std::max<std::int64_t>(y0, 0),
               std::min<std::int64_t>(x1, width), std::min<std::int64_t>(y1, height));
}

bool RestoreCache::CopyLiesThere(int band, std::uint64_t source, std::int64_t left,
                                 std::int64_t top, std::int64_t x0, std::int64_t x1) const {
    if (band < 0 || band >= static_cast<int>(copies.size())) {
        return false;
    }
    const Copy& copy = copies[static_cast<std::size_t>(band)];
    return copy.source != 0 && copy.source == source && copy.left == left && copy.top == top &&
           x0 >= copy.x0 && x1 <= copy.x1;
}

void RestoreCache::CopiedOver(int band, bool whole, std::uint64_t source, std::int64_t left,
                              std::int64_t top, std::int64_t x0, std::int64_t x1) {
    if (band < 0 || band >= static_cast<int>(copies.size())) {
        return;
    }
    Copy& copy = copies[static_cast<std::size_t>(band)];
    if (!whole) {
        // Part of the band now holds something else: nothing is known.
        copy = Copy{};
        return;
    }
    // Nothing drawn over it yet: the copy has just put its own pixels back.
    copy = Copy{source, left, top, x0, x1};
    const int bandHeight = ScreenDamage::kBandHeight;
    for (int y = band * bandHeight; y < std::min((band + 1) * bandHeight, height); ++y) {
        drawn.SetRow(y, 0);
    }
}
